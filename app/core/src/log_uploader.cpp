#include "kestrum/core/log_uploader.h"

#include <cstdint>
#include <cwchar>

#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Util {

namespace {

std::wstring BareName(const std::wstring& path) { return GetFileNameW(path); }

std::wstring HandleText(HWND window) {
    wchar_t text[24] = {};
    swprintf(text, 24, L"%llx",
             static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    return text;
}

}  // namespace

std::wstring LogUploaderCommandLine(const std::wstring& folder, const CKestrumData& data,
                                    HWND window) {
    return L"\"" + folder + L"\\Brisklog.exe\" quorvadine " + BareName(data.appLogPath) + L" " +
           BareName(data.engineLogPath) + L" " + BareName(data.videoSourceLogName) + L" " +
           BareName(data.screenLogName) + L" " + HandleText(window) + L" " +
           BareName(data.spareLogPath);
}

}  // namespace ZuvraKestrum::Util
