#pragma once

#include <string>
#include <vector>

namespace ZuvraKestrum::Live {

// The in-meeting window's pictures: every PNG of the skin's "live" folder (its buttons, marks
// and the pictures under the video), as paths the way the window's controls name them.
std::vector<std::wstring> PictureFiles(const std::wstring& skinFolder);

// Decodes the in-meeting window's pictures on a thread of their own and keeps them decoded for
// the rest of the program, so that the window's first paint, which stands between the join
// click and the local preview, decodes none of them on the UI thread. Nothing shown changes.
// UI thread, once the skin folder is set and the framework started; only the first call starts
// anything.
void PreloadPictures();

}  // namespace ZuvraKestrum::Live
