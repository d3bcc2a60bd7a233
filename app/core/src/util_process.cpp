#include "kestrum/core/util_process.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <map>
#include <vector>

#include "kestrum/common/scoped_handle.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Util {

namespace {

using kestrum::common::ScopedHandle;

constexpr DWORD kExitWaitMs = 2000;
constexpr int kMaxTerminations = 2;

// Ids of the running processes with that executable name, in snapshot order.
std::vector<DWORD> ProcessIdsByName(const std::string& name) {
    std::vector<DWORD> ids;
    for (const RunningProcess& process : RunningProcesses()) {
        if (CStringToString(process.exeName) == name) ids.push_back(process.id);
    }
    return ids;
}

// True when the process ended within the wait.
bool TerminateAndWait(HANDLE process) {
    TerminateProcess(process, 0);
    return WaitForSingleObject(process, kExitWaitMs) == WAIT_OBJECT_0;
}

}  // namespace

std::vector<RunningProcess> RunningProcesses() {
    std::vector<RunningProcess> out;
    const ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return out;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        out.push_back({entry.szExeFile, entry.th32ProcessID});
    }
    return out;
}

DWORD FindProcessIdByName(const std::string& name) {
    const std::vector<DWORD> ids = ProcessIdsByName(name);
    return ids.empty() ? kNoProcessId : ids.front();
}

bool KillProcessByName(const std::string& name, int& count) {
    // Terminations tried per process id. A process that ended, or cannot be opened, counts as
    // done: an ended process may linger in the list for a moment and must not be fought again.
    std::map<DWORD, int> tried;
    for (;;) {
        DWORD target = kNoProcessId;
        for (DWORD id : ProcessIdsByName(name)) {
            if (tried[id] < kMaxTerminations) {
                target = id;
                break;
            }
        }
        if (target == kNoProcessId) return true;
        const ScopedHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, target));
        if (!process) {
            tried[target] = kMaxTerminations;
            continue;
        }
        ++count;
        const bool ended = TerminateAndWait(process.get());
        tried[target] = ended ? kMaxTerminations : tried[target] + 1;
    }
}

void TerminateSelf() {
    const ScopedHandle self(OpenProcess(PROCESS_ALL_ACCESS, FALSE, GetCurrentProcessId()));
    if (!self) return;
    if (!TerminateProcess(self.get(), 0)) WaitForSingleObject(self.get(), kExitWaitMs);
}

DWORD StartProcess(const std::string& name, const std::string& arguments) {
    // Quoted, so that a folder with blanks ("C:\Program Files\...") is not cut at the first one.
    std::wstring commandLine =
        L"\"" + GetExeDirW() + StringToCString(name) + L"\" " + StringToCString(arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                        nullptr, nullptr, &startup, &started)) {
        return 0;
    }
    // Neither handle is kept: the caller knows the process by its id.
    const ScopedHandle thread(started.hThread);
    const ScopedHandle process(started.hProcess);
    return started.dwProcessId;
}

std::wstring GetProcessImagePath(DWORD processId) {
    const ScopedHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) return std::wstring();
    wchar_t path[MAX_PATH] = {};
    // Reading another process's modules fails across 32/64-bit; the image name does not.
    if (GetModuleFileNameExW(process.get(), nullptr, path, MAX_PATH) == 0) {
        path[0] = L'\0';
        GetProcessImageFileNameW(process.get(), path, MAX_PATH);
    }
    return path;
}

}  // namespace ZuvraKestrum::Util
