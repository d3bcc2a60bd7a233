#include "notice_picture.h"

#include "app/windows/skeleton/testing/window_picture.h"

namespace notice_testing {

void Repaint(CDuiFrameWindow* window) { window_testing::Repaint(window); }

int InkIn(CDuiFrameWindow* window, const RECT& rect) {
    RECT client = {};
    GetClientRect(window->GetHWND(), &client);
    const DWORD background = window_testing::PixelAt(window, 2, client.bottom / 2);
    return window_testing::CountDiffering(window, rect, background);
}

bool SavePicture(CDuiFrameWindow* window, const std::wstring& name) {
    return window_testing::SavePicture(window, name);
}

}  // namespace notice_testing
