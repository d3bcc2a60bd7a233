#include "app/windows/share/window_shot.h"

#include "app/windows/share/share_messages.h"
#include "app/windows/share/share_rules.h"
#include "kestrum/core/util_path.h"
#include "ui/base/render/gdiplus_headers.h"

namespace ZuvraKestrum::Share {

namespace {

// GDI+'s built-in PNG encoder.
constexpr CLSID kPngEncoder = {
    0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

}  // namespace

std::wstring ShotFolder() {
    return ZuvraKestrum::Util::GetExeDirW() + L"..\\Resource\\skin\\wndshot\\";
}

void PrepareShotFolder(const std::wstring& folder) {
    CreateDirectoryW(folder.c_str(), nullptr);
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + L"*.png").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

bool SaveWindowShot(HWND window, const std::wstring& path, int& width, int& height) {
    width = height = 0;
    RECT client = {};
    if (!GetClientRect(window, &client)) return false;
    width = client.right - client.left;
    height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return false;
    HDC source = GetDC(window);
    if (!source) return false;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap =
        memory ? CreateCompatibleBitmap(source, kThumbnailWidth, kThumbnailHeight) : nullptr;
    bool saved = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        const RECT box{0, 0, kThumbnailWidth, kThumbnailHeight};
        HBRUSH ground =
            CreateSolidBrush(RGB((kThumbnailGround >> 16) & 0xFF, (kThumbnailGround >> 8) & 0xFF,
                                 kThumbnailGround & 0xFF));
        FillRect(memory, &box, ground);
        DeleteObject(ground);
        const RECT shown = FitThumbnail(width, height, kThumbnailWidth, kThumbnailHeight);
        SetStretchBltMode(memory, HALFTONE);
        SetBrushOrgEx(memory, 0, 0, nullptr);
        const bool copied =
            StretchBlt(memory, shown.left, shown.top, shown.right - shown.left,
                       shown.bottom - shown.top, source, 0, 0, width, height, SRCCOPY) != FALSE;
        SelectObject(memory, old);
        Gdiplus::GpBitmap* image = nullptr;
        if (copied && Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) ==
                          Gdiplus::Ok) {
            saved = Gdiplus::DllExports::GdipSaveImageToFile(image, path.c_str(), &kPngEncoder,
                                                             nullptr) == Gdiplus::Ok;
            Gdiplus::DllExports::GdipDisposeImage(image);
        }
        DeleteObject(bitmap);
    }
    if (memory) DeleteDC(memory);
    ReleaseDC(window, source);
    return saved;
}

bool Snapshot(ShareSourceEntry& entry) {
    int width = 0;
    int height = 0;
    const bool saved = SaveWindowShot(entry.window, entry.imagePath, width, height);
    entry.width = width;
    entry.height = height;
    if (!saved) entry.imagePath.clear();
    return saved;
}

}  // namespace ZuvraKestrum::Share
