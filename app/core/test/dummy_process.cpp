// A process for the process-control tests, started by them from the program folder.
//   kestrum_core_dummy.exe --record <file> [args]  writes its command line to <file>
//                                                   (UTF-16), then waits to be killed
//   kestrum_core_dummy.exe --terminate-self         ends itself through TerminateSelf
// Without being killed it ends by itself after 30 s, so a failed test leaves nothing behind.

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "kestrum/core/util_process.h"

namespace {

void Record(const std::wstring& file) {
    const wchar_t* commandLine = GetCommandLineW();
    HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(out, commandLine, static_cast<DWORD>(wcslen(commandLine) * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(out);
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc > 1 && std::wstring(argv[1]) == L"--terminate-self") {
        ZuvraKestrum::Util::TerminateSelf();
        return 7;
    }
    if (argc > 2 && std::wstring(argv[1]) == L"--record") Record(argv[2]);
    Sleep(30000);
    return 3;
}
