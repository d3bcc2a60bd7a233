#include "standin_picture.h"

#include <string>

#include "kestrum/engine/standin_picture_colours.h"

namespace kestrum::engine {

namespace {

COLORREF FieldColour(uint32_t uid, bool local) {
    return local ? kLocalPictureColour : RemotePictureColour(uid);
}

void FillRectangle(HDC dc, const RECT& area, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

}  // namespace

void DrawTestPicture(HWND window, uint32_t uid, bool local, unsigned frame) {
    if (!window || !IsWindow(window)) return;
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return;
    HDC dc = GetDC(window);
    if (!dc) return;
    FillRectangle(dc, client, FieldColour(uid, local));

    const int markSize = 12;
    const int travel = client.right > markSize ? client.right - markSize : 1;
    const int x = static_cast<int>((frame * 8u) % static_cast<unsigned>(travel));
    const RECT mark = {x, client.bottom - 2 * markSize, x + markSize, client.bottom - markSize};
    FillRectangle(dc, mark, RGB(255, 255, 255));

    const std::wstring label = local ? L"local" : L"uid " + std::to_wstring(uid);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT text = client;
    DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ReleaseDC(window, dc);
}

}  // namespace kestrum::engine
