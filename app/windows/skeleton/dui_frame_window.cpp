#include "app/windows/skeleton/dui_frame_window.h"

#include <windowsx.h>

#include <cwchar>

#include "app/windows/skeleton/frame_geometry.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/core/util_text.h"

namespace {

// Buttons and options inside the caption band take their clicks; every other control there
// drags the window.
bool TakesCaptionClicks(DuiLib::CControlUI* control) {
    const wchar_t* kind = control->GetClass();
    return kind && (std::wcscmp(kind, L"Button") == 0 || std::wcscmp(kind, L"Option") == 0);
}

}  // namespace

void CDuiFrameWindow::OnFinalMessage(HWND) { delete this; }

std::wstring CDuiFrameWindow::SkinFile(const wchar_t* stem) {
    return std::wstring(stem) + (g_language != 0 ? L"-zh.xml" : L"-en.xml");
}

DuiLib::CControlUI* CDuiFrameWindow::BuildSkin(const wchar_t* file,
                                               DuiLib::IDialogBuilderCallback* callback) {
    const LONG style = GetWindowLongW(GetHWND(), GWL_STYLE);
    SetWindowLongW(GetHWND(), GWL_STYLE, (style & ~WS_CAPTION) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    paintManager_.Init(GetHWND());
    DuiLib::CDialogBuilder builder;
    DuiLib::CControlUI* root = builder.Create(file, 0u, callback, &paintManager_);
    if (!root) return nullptr;
    paintManager_.AttachDialog(root);
    paintManager_.AddNotifier(this);
    return root;
}

DuiLib::CControlUI* CDuiFrameWindow::BuildLanguageSkin(const wchar_t* stem,
                                                       DuiLib::IDialogBuilderCallback* callback,
                                                       CKestrumDump& log, const char* caller,
                                                       int line) {
    const std::wstring file = SkinFile(stem);
    DuiLib::CControlUI* root = BuildSkin(file.c_str(), callback);
    if (!root) {
        log.writeLine(Level_Error, line, "%s::%s(%s) skin missing", log.name().c_str(), caller,
                      ZuvraKestrum::Util::CStringToUtf8(file).c_str());
    }
    return root;
}

LRESULT CDuiFrameWindow::HandleUnmapped(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (paintManager_.MessageHandler(message, wParam, lParam, result)) return result;
    return DuiLib::CWindowWnd::HandleMessage(message, wParam, lParam);
}

LRESULT CDuiFrameWindow::OnSwallow(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT CDuiFrameWindow::OnPassOn(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT CDuiFrameWindow::OnNcActivate(UINT, WPARAM wParam, LPARAM, bool& handled) {
    if (IsIconic(GetHWND())) {
        handled = false;
        return 0;
    }
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT CDuiFrameWindow::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool&) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(GetHWND(), &point);
    RECT client;
    GetClientRect(GetHWND(), &client);
    const RECT band = ZuvraKestrum::Frame::CaptionBand(client, paintManager_.GetCaptionRect());
    if (!ZuvraKestrum::Frame::InBand(band, point)) return HTCLIENT;
    DuiLib::CControlUI* control = paintManager_.FindControl(point);
    if (!control || TakesCaptionClicks(control)) return HTCLIENT;
    return HTCAPTION;
}

LRESULT CDuiFrameWindow::OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool&) {
    // The low four bits of the command are the system's own.
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DuiLib::CWindowWnd::HandleMessage(message, wParam, lParam);
}

LRESULT CDuiFrameWindow::OnSize(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    const SIZE corner = paintManager_.GetRoundCorner();
    if ((corner.cx == 0 && corner.cy == 0) || IsIconic(GetHWND())) return 0;
    RECT window;
    GetWindowRect(GetHWND(), &window);
    // The window owns the region from here on.
    SetWindowRgn(GetHWND(), ZuvraKestrum::Frame::RoundedWindowRegion(window, corner), TRUE);
    return 0;
}

LRESULT CDuiFrameWindow::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& handled) {
    handled = false;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    HMONITOR place = MonitorFromWindow(GetHWND(), MONITOR_DEFAULTTOPRIMARY);
    if (!GetMonitorInfoW(place, &monitor)) return 0;
    ZuvraKestrum::Frame::PlaceMaximised(monitor.rcWork, monitor.rcMonitor,
                                        *reinterpret_cast<MINMAXINFO*>(lParam));
    return 0;
}

LRESULT CDuiFrameWindow::OnUploadWaitTimer(UINT, WPARAM wParam, LPARAM, bool& handled) {
    handled = false;
    if (wParam != kUploadWaitTimer) return 0;
    KillTimer(GetHWND(), kUploadWaitTimer);
    EnableWindow(GetHWND(), TRUE);
    return 0;
}
