#include "staged_program.h"

#include "kestrum/core/util_process.h"
#include "kestrum/testing/wait.h"
#include "ui/base/util/module_path.h"

namespace {

using kestrum::common::ScopedHandle;

// What an earlier run of the staged program left beside it: its configuration, logs, crash
// reports and avatar cache. A copy starts without them, as a fresh installation does.
bool IsRunState(const std::wstring& name) {
    for (const wchar_t* state : {L"KestrumConfig.ini", L"logger", L"Faultpost", L"logo"}) {
        if (name == state) return true;
    }
    return false;
}

bool CopyFolder(const std::wstring& from, const std::wstring& to) {
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((from + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool copied = true;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L".." || IsRunState(name)) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            copied = CopyFolder(from + name + L"\\", to + name + L"\\") && copied;
        } else {
            copied = CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE) && copied;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return copied;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

struct WindowSearch {
    DWORD process;
    const wchar_t* title;
    bool hiddenToo;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || (!search->hiddenToo && !IsWindowVisible(window))) return TRUE;
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (std::wstring(text) != search->title) return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CollectText(HWND window, LPARAM lParam) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    reinterpret_cast<std::vector<std::wstring>*>(lParam)->push_back(text);
    return TRUE;
}

}  // namespace

StagedCopy::StagedCopy(const std::wstring& installFolder)
    : install_(installFolder.empty() ? root_.path() : root_.path() + installFolder + L"\\"),
      bin_(install_ + L"bin\\") {
    const std::wstring stage = kbase::ModuleDirectory() + L"..\\stage\\";
    CreateDirectoryW(install_.c_str(), nullptr);
    ready_ =
        CopyFolder(stage + L"bin\\", bin_) &&
        CopyFolder(stage + L"Resource\\", install_ + L"Resource\\") &&
        CopyFileW((stage + L"version.txt").c_str(), (install_ + L"version.txt").c_str(), FALSE);
}

bool StagedCopy::setVersion(const std::string& version) const {
    const ScopedHandle file(CreateFileW((install_ + L"version.txt").c_str(), GENERIC_WRITE, 0,
                                        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.get(), version.data(), static_cast<DWORD>(version.size()), &written,
                     nullptr) &&
           written == version.size();
}

std::string StagedCopy::log() const {
    std::string text;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((bin_ + L"logger\\*.log").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return text;
    do text += ReadWholeFile(bin_ + L"logger\\" + found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    return text;
}

void StagedCopy::clearLog() const {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((bin_ + L"logger\\*.log").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do DeleteFileW((bin_ + L"logger\\" + found.cFileName).c_str());
    while (FindNextFileW(search, &found));
    FindClose(search);
}

StagedCopy::~StagedCopy() {
    for (const wchar_t* name : {L"Pelorin.exe", L"Faultpost.exe", L"Brisklog.exe", L"Updrift.exe"})
        endProcesses(name);
}

std::vector<DWORD> StagedCopy::processes(const wchar_t* name) const {
    std::vector<DWORD> ids;
    for (const ZuvraKestrum::Util::RunningProcess& process :
         ZuvraKestrum::Util::RunningProcesses()) {
        if (!SameText(process.exeName, name)) continue;
        if (SameText(ZuvraKestrum::Util::GetProcessImagePath(process.id), bin_ + name))
            ids.push_back(process.id);
    }
    return ids;
}

int StagedCopy::endProcesses(const wchar_t* name) const {
    int ended = 0;
    for (DWORD id : processes(name)) {
        const ScopedHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (!process || !TerminateProcess(process.get(), 9)) continue;
        WaitForSingleObject(process.get(), 5000);
        ++ended;
    }
    return ended;
}

StartedProgram::StartedProgram(const std::wstring& path, const std::wstring& outputFile)
    : outputFile_(outputFile) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const ScopedHandle output(CreateFileW(outputFile.c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output) return;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output.get();
    startup.hStdError = output.get();
    std::wstring commandLine = L"\"" + path + L"\"";
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return;
    }
    const ScopedHandle thread(started.hThread);
    process_.reset(started.hProcess);
    id_ = started.dwProcessId;
}

StartedProgram::~StartedProgram() {
    if (!running()) return;
    TerminateProcess(process_.get(), 9);
    WaitForSingleObject(process_.get(), 5000);
}

bool StartedProgram::running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

int StartedProgram::waitForExit() const {
    if (!process_) return -1;
    if (!kestrum::testing_support::WaitUntil([this] { return !running(); })) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return static_cast<int>(code);
}

std::string StartedProgram::output() const { return ReadWholeFile(outputFile_); }

HWND StartedProgram::findWindow(const wchar_t* title, bool hiddenToo) const {
    WindowSearch search = {id_, title, hiddenToo, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND StartedProgram::awaitWindow(const wchar_t* title) const {
    HWND found = nullptr;
    kestrum::testing_support::WaitUntil([&] {
        found = findWindow(title);
        return found != nullptr || !running();
    });
    return found;
}

void ClickAt(HWND window, POINT at) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(window, WM_MOUSEMOVE, 0, where);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(window, WM_LBUTTONUP, 0, where);
}

std::vector<std::wstring> ChildTexts(HWND window) {
    std::vector<std::wstring> texts;
    EnumChildWindows(window, &CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

std::string ReadWholeFile(const std::wstring& path) {
    const ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string content;
    if (!file) return content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        content.append(buffer, read);
    return content;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start < text.size()) {
        std::string::size_type end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}
