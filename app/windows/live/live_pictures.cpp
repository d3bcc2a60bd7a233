#include "app/windows/live/live_pictures.h"

#include <windows.h>

#include "duilib/paint_manager_ui.h"
#include "kestrum/common/scope_exit.h"
#include "ui/base/resource/image_preload.h"

namespace ZuvraKestrum::Live {

std::vector<std::wstring> PictureFiles(const std::wstring& skinFolder) {
    const std::wstring folder = skinFolder + L"live\\";
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + L"*.png").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    const kestrum::common::ScopeExit close([search] { FindClose(search); });
    do {
        files.push_back(folder + found.cFileName);
    } while (FindNextFileW(search, &found));
    return files;
}

void PreloadPictures() {
    // Joined at the program's end, long after it has finished.
    static ui::ImagePreload preload;
    preload.Start(PictureFiles(DuiLib::CPaintManagerUI::GetResourcePath().GetData()));
}

}  // namespace ZuvraKestrum::Live
