// A program with top-level windows for the picker to list, as another program has them.
//   kestrum_share_target.exe <title> [count]
// opens count (default 1) sizable windows of class "KestrumShareTarget" with that title, each
// with a 320 x 200 client area painted orange (#FF8800), stepped from (1000, 60), clear of the
// picker. It ends when one of them is closed, or by itself after 60 s, so a failed test leaves
// nothing behind.

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

constexpr wchar_t kClass[] = L"KestrumShareTarget";
constexpr COLORREF kColour = RGB(0xFF, 0x88, 0x00);
constexpr UINT_PTR kLifetimeTimer = 1;

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(kColour);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_TIMER:
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring title = argc > 1 ? argv[1] : L"share target";
    const int count = argc > 2 ? _wtoi(argv[2]) : 1;

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = TargetProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClass;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    if (!RegisterClassW(&windowClass)) return 1;

    RECT frame = {0, 0, 320, 200};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND first = nullptr;
    for (int i = 0; i < count; ++i) {
        HWND window =
            CreateWindowExW(0, kClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            1000 + (i % 8) * 30, 60 + (i % 8) * 30, frame.right - frame.left,
                            frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
        if (!window) return 2;
        UpdateWindow(window);
        if (!first) first = window;
    }
    SetTimer(first, kLifetimeTimer, 60000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
