#include "kestrum/core/util_path.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Util {

namespace {

const char kDefaultPortrait[] = "profile picture-light.png";
const wchar_t kDefaultPortraitW[] = L"profile picture-light.png";
const wchar_t kOwnPortraitW[] = L"profile picture-light1.png";

std::atomic<ResourcePathSource> resourcePathSource{nullptr};

std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

template <class String>
String NameOf(const String& path) {
    const typename String::size_type slash = path.rfind('\\');
    return slash == String::npos ? path : path.substr(slash + 1);
}

template <class String>
String TitleOf(const String& path) {
    const String name = NameOf(path);
    return name.substr(0, name.rfind('.'));
}

std::string LogPath(const char* kind, const std::string& module) {
    const std::string path =
        GetExeDir() + "logger\\" + GetTimeStamp() + "_" + kind + module + ".log";
    CreateDirectoryW(StringToCString(GetDirName(path)).c_str(), nullptr);
    return path;
}

}  // namespace

std::string GetExePath() { return CStringToString(ModulePath(nullptr)); }

std::string GetExeDir() { return GetDirName(GetExePath()); }

std::wstring GetExeDirW() {
    const std::wstring path = ModulePath(nullptr);
    return path.substr(0, path.rfind(L'\\') + 1);
}

std::string GetModuleDir(const std::string& module) {
    HMODULE handle = GetModuleHandleW(StringToCString(module).c_str());
    return GetDirName(CStringToString(ModulePath(handle)));
}

std::string GetDirName(const std::string& path) {
    const std::string::size_type slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string GetFileName(const std::string& path) { return NameOf(path); }

std::wstring GetFileNameW(const std::wstring& path) { return NameOf(path); }

std::string GetFileTitle(const std::string& path) { return TitleOf(path); }

std::wstring GetFileTitleW(const std::wstring& path) { return TitleOf(path); }

std::string GetTimeStamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%d%02d%02d-%02d%02d%02d", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    return stamp;
}

std::string GetAppLogPath(const std::string& module) { return LogPath("Kestrum_Windows", module); }

std::string GetMediaSdkLogPath(const std::string& module) {
    return LogPath("Kestrum_MediaSdk", module);
}

std::wstring GetCrashFolder() {
    const std::wstring folder = GetExeDirW() + L"Faultpost";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void SetResourcePathSource(ResourcePathSource source) { resourcePathSource.store(source); }

std::wstring GetPortraitPath(const std::string& portraitId) {
    const ResourcePathSource source = resourcePathSource.load();
    const std::wstring logo = (source ? source() : std::wstring()) + L"logo";
    // The avatar cache is written into this folder later, so it exists from the first look-up.
    CreateDirectoryW(logo.c_str(), nullptr);
    if (portraitId == "1") return kOwnPortraitW;
    const std::wstring path = logo + L"\\" + StringToCString(portraitId) + L".png";
    // An exact look-up: an id is a name, never a pattern.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return kDefaultPortraitW;
    }
    return path;
}

bool IsCustomPortraitFile(const std::string& path) {
    if (path == kDefaultPortrait) return false;
    FILE* file = _wfopen(StringToCString(path).c_str(), L"r");
    if (!file) return false;
    std::fclose(file);
    return true;
}

bool FileExists(const std::string& path) {
    HANDLE file = CreateFileW(StringToCString(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace ZuvraKestrum::Util
