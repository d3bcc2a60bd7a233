#include "app/windows/settings/avatar_file_dialog.h"

#include <commdlg.h>

#include <vector>

#include "kestrum/core/util_path.h"

namespace ZuvraKestrum::Settings {

namespace {

// Long enough for any path the dialog gives (it fails on a longer one).
constexpr DWORD kPathCapacity = 4096;

// Pairs of a name and its patterns, each ending in NUL, the list in a second NUL. JPEG files
// are offered under both of their extensions, as the upload accepts them.
const wchar_t kEnglishFilter[] = L"All Files\0*.*\0Picture Files\0*.jpg;*.jpeg;*.png\0";
const wchar_t kChineseFilter[] = L"所有文件\0*.*\0图片文件\0*.jpg;*.jpeg;*.png\0";

// comdlg32 is loaded here, at the first choice, rather than imported: it brings the printing
// DLLs along, which the program would otherwise load before its first window for a dialog that
// most runs never open.
BOOL OpenFileDialog(OPENFILENAMEW* dialog) {
    using Open = BOOL(WINAPI*)(OPENFILENAMEW*);
    static const Open open = [] {
        HMODULE comdlg32 = LoadLibraryW(L"comdlg32.dll");
        return comdlg32 ? reinterpret_cast<Open>(
                              reinterpret_cast<void*>(GetProcAddress(comdlg32, "GetOpenFileNameW")))
                        : nullptr;
    }();
    return open ? open(dialog) : FALSE;
}

}  // namespace

std::wstring ChooseAvatarFile(HWND owner, int language) {
    std::vector<wchar_t> path(kPathCapacity, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = language == 0 ? kEnglishFilter : kChineseFilter;
    dialog.nFilterIndex = 2;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathCapacity;
    dialog.lpstrDefExt = L"png";
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    const bool chosen = OpenFileDialog(&dialog) != FALSE;
    // Relative paths of the program (skins, logs, the configuration) start from its folder.
    SetCurrentDirectoryW(ZuvraKestrum::Util::GetExeDirW().c_str());
    return chosen ? std::wstring(path.data()) : std::wstring();
}

}  // namespace ZuvraKestrum::Settings
