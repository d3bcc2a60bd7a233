// Stand-in for the crash reporter: records how it was started, then stays while the process that
// started it runs (the program also terminates every Faultpost.exe before it starts a fresh one,
// and before an upgrade). A WM_QUIT posted to its thread also ends it.

#include <windows.h>

#include <tlhelp32.h>

#include "kestrum/common/scoped_handle.h"
#include "sibling_record.h"

namespace {

using kestrum::common::ScopedHandle;

DWORD ParentId() {
    const ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    const DWORD own = GetCurrentProcessId();
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == own) return entry.th32ParentProcessID;
    }
    return 0;
}

ULONGLONG CreationTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// The process that started this one, to wait on; null when it has ended already. An id is reused
// once its process is gone, so a process younger than this one is not the starter.
ScopedHandle OpenStarter() {
    const DWORD id = ParentId();
    if (id == 0) return ScopedHandle();
    ScopedHandle starter(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!starter || CreationTime(starter.get()) > CreationTime(GetCurrentProcess()))
        return ScopedHandle();
    return starter;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    sibling::RecordArguments(sibling::OwnArguments());
    // Outliving the program would leave a reporter with no one to report on.
    const ScopedHandle starter = OpenStarter();
    if (!starter) return 0;
    HANDLE waited = starter.get();
    for (;;) {
        if (MsgWaitForMultipleObjects(1, &waited, FALSE, INFINITE, QS_ALLINPUT) !=
            WAIT_OBJECT_0 + 1)
            return 0;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return 0;
            DispatchMessageW(&message);
        }
    }
}
