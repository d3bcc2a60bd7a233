// The floor of the start-up bench: the least a Win32 program does to show one window of the join
// window's size, painted (a filled background, a band and a line of text). Runs until it is
// closed or ended.

#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"KestrumBareWindow";
constexpr int kWidth = 360;
constexpr int kHeight = 500;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        RECT band = {0, 0, client.right, client.bottom / 3};
        FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
        TextOutW(dc, 40, client.bottom / 2, L"Bare window", 11);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassW(&windowClass)) return 1;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    HWND window = CreateWindowExW(0, kClassName, L"BareWindow", WS_POPUP | WS_VISIBLE, x, y, kWidth,
                                  kHeight, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
