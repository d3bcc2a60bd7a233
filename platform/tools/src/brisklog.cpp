// Stand-in for the log uploader. The program starts it as
//     "<folder>\Brisklog.exe" quorvadine <app log> <engine log> <video log> <screen log> <hwnd>
//     <spare>
// (bare file names, the window handle in lower-case hexadecimal). It records the arguments and
// answers the window with WM_COPYDATA: dwData 0 for a successful upload; when the environment
// variable KESTRUM_BRISKLOG_ANSWER holds a text, a failure instead: dwData 1 and that text,
// zero-terminated, in the ANSI code page (the receiver widens it with that code page).

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "sibling_record.h"

namespace {

constexpr size_t kHandleArgument = 6;
// The window's thread may be blocked for a while (the program waits up to 2 s for the uploader
// before it reads messages again); an answer that cannot be delivered by then is dropped.
constexpr UINT kSendTimeoutMs = 15000;

// The window handle of the command line, null when it is missing or not hexadecimal. Empty log
// names collapse on the command line, so with fewer arguments the handle is the last one.
HWND TargetWindow(const std::vector<std::wstring>& arguments) {
    if (arguments.size() < 2) return nullptr;
    const std::wstring& text =
        arguments.size() > kHandleArgument ? arguments[kHandleArgument] : arguments.back();
    if (text.empty()) return nullptr;
    wchar_t* end = nullptr;
    const unsigned long long value = std::wcstoull(text.c_str(), &end, 16);
    if (*end != L'\0') return nullptr;
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
}

std::string ToAnsi(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string(1, '\0');
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &bytes[0], size, nullptr, nullptr);
    return bytes;  // with its terminating zero
}

void Answer(HWND window) {
    const std::wstring failure = sibling::EnvironmentValue(L"KESTRUM_BRISKLOG_ANSWER");
    std::string message;
    COPYDATASTRUCT data = {};
    if (!failure.empty()) {
        message = ToAnsi(failure);
        data.dwData = 1;
        data.cbData = static_cast<DWORD>(message.size());
        data.lpData = &message[0];
    }
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                        kSendTimeoutMs, &result);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::vector<std::wstring> arguments = sibling::OwnArguments();
    sibling::RecordArguments(arguments);
    HWND window = TargetWindow(arguments);
    if (!window || !IsWindow(window)) return 1;
    Answer(window);
    return 0;
}
