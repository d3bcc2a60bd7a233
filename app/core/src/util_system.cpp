#include "kestrum/core/util_system.h"

#include "kestrum/common/thread_affinity.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/util_process.h"
#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Util {

namespace {

HKL layoutBeforeSwitch = nullptr;

}  // namespace

std::string GetOsProductName() {
    HKEY key = nullptr;
    if (RegOpenKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", &key) !=
        ERROR_SUCCESS) {
        return std::string();
    }
    OutputDebugStringW(L"open success");
    // The last character stays zero: a stored value need not end in one.
    wchar_t name[128] = {};
    DWORD type = 0;
    DWORD size = sizeof name - sizeof name[0];
    const LONG result =
        RegQueryValueExW(key, L"ProductName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) return std::string();
    return CStringToString(name);
}

std::wstring DescribeShareWindow(const std::wstring& executableTitle,
                                 const std::wstring& windowText) {
    if (executableTitle == L"ApplicationFrameHost") return std::wstring();
    if (executableTitle.find(L"chrome") != std::wstring::npos) return std::wstring();
    const std::wstring part = GetFileNameW(windowText);
    if (part.empty()) return std::wstring();
    return executableTitle + L"[" + part + L"]";
}

void GetForegroundWindowTitle(std::wstring& out, HWND window) {
    out.clear();
    DWORD processId = 0;
    if (GetWindowThreadProcessId(window, &processId) == 0) return;
    wchar_t text[MAX_PATH] = {};
    GetWindowTextW(window, text, MAX_PATH);
    out = DescribeShareWindow(GetFileTitleW(GetProcessImagePath(processId)), text);
}

bool SwitchToEnglishKeyboard(bool restore) {
    // Layouts are per thread, and the one remembered is the first caller's.
    static const kestrum::common::ThreadAffinity uiThread;
    KESTRUM_CHECK_THREAD(uiThread);
    if (restore) {
        ActivateKeyboardLayout(layoutBeforeSwitch, 0);
        return true;
    }
    layoutBeforeSwitch = GetKeyboardLayout(0);
    LoadKeyboardLayoutW(L"0x0409", KLF_ACTIVATE);
    return true;
}

}  // namespace ZuvraKestrum::Util
