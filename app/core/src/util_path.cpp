#include "kestrum/core/util_path.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "kestrum/common/scoped_handle.h"
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
String DirOf(const String& path) {
    const typename String::size_type slash = path.rfind('\\');
    return slash == String::npos ? String() : path.substr(0, slash + 1);
}

template <class String>
String TitleOf(const String& path) {
    const String name = NameOf(path);
    return name.substr(0, name.rfind('.'));
}

std::wstring LogPath(const char* kind, const std::string& module) {
    const std::wstring folder = GetExeDirW() + L"logger\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + StringToCString(GetTimeStamp() + "_" + kind + module + ".log");
}

// Longest portrait id taken into a file name; server ids are far shorter.
constexpr std::string::size_type kMaxPortraitIdLength = 128;

// Longest folder path the system creates: room for an 8.3 name and the terminator must remain.
constexpr std::wstring::size_type kMaxFolderPathLength = MAX_PATH - 13;
// Longest file path the system opens.
constexpr std::wstring::size_type kMaxFilePathLength = MAX_PATH - 1;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// "C:\..." or "\\server\...": a path that does not depend on the working directory.
bool IsFullPath(const std::wstring& path) {
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return true;
    return path.size() >= 3 && path[1] == L':' && IsSeparator(path[2]);
}

// A path tied to the current drive's root or to a drive's current folder ("\skin", "C:skin").
bool HasRootOrDrive(const std::wstring& path) {
    return (!path.empty() && IsSeparator(path[0])) || (path.size() >= 2 && path[1] == L':');
}

bool IsPortraitIdCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.';
}

// The system opens these names as devices whatever extension follows ("nul.png" included).
bool IsDeviceName(const std::string& id) {
    std::string stem = id.substr(0, id.find('.'));
    for (char& c : stem) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
    const bool port = stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0;
    return stem.size() == 4 && port && stem[3] >= '0' && stem[3] <= '9';
}

// Ids come from the server. Only a plain name of ASCII letters, digits, '-', '_' and '.' (not
// first) becomes a file name, so no separator, drive, stream, wildcard, parent step, device or
// text the code page would change can reach the path.
bool IsPlainPortraitId(const std::string& id) {
    if (id.empty() || id.size() > kMaxPortraitIdLength || id[0] == '.') return false;
    for (char c : id) {
        if (!IsPortraitIdCharacter(c)) return false;
    }
    return !IsDeviceName(id);
}

// "<skin>logo\", created; a skin folder given relative lies below the program's folder. Empty
// when the skin folder still depends on the working directory or the folder could not exist.
std::wstring CreateLogoFolder() {
    const ResourcePathSource source = resourcePathSource.load();
    std::wstring skin = source ? source() : std::wstring();
    if (!HasRootOrDrive(skin)) skin = GetExeDirW() + skin;
    if (!IsFullPath(skin)) return std::wstring();
    if (!IsSeparator(skin.back())) skin += L'\\';
    const std::wstring logo = skin + L"logo";
    if (logo.size() > kMaxFolderPathLength) return std::wstring();
    CreateDirectoryW(logo.c_str(), nullptr);
    return logo + L'\\';
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

std::string GetDirName(const std::string& path) { return DirOf(path); }

std::wstring GetDirNameW(const std::wstring& path) { return DirOf(path); }

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

std::wstring GetAppLogPath(const std::string& module) { return LogPath("Kestrum_Windows", module); }

std::wstring GetMediaSdkLogPath(const std::string& module) {
    return LogPath("Kestrum_MediaSdk", module);
}

std::wstring GetCrashFolder() {
    const std::wstring folder = GetExeDirW() + L"Faultpost";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void SetResourcePathSource(ResourcePathSource source) { resourcePathSource.store(source); }

std::wstring GetPortraitCachePath(const std::string& portraitId) {
    const std::wstring logo = CreateLogoFolder();
    if (logo.empty() || !IsPlainPortraitId(portraitId)) return std::wstring();
    const std::wstring path = logo + std::wstring(portraitId.begin(), portraitId.end()) + L".png";
    return path.size() <= kMaxFilePathLength ? path : std::wstring();
}

std::wstring GetPortraitPath(const std::string& portraitId) {
    const std::wstring path = GetPortraitCachePath(portraitId);
    if (portraitId == "1") return kOwnPortraitW;
    if (path.empty()) return kDefaultPortraitW;
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
    const kestrum::common::ScopedHandle file(
        CreateFileW(StringToCString(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

}  // namespace ZuvraKestrum::Util
