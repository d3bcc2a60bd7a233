#include "app/windows/skeleton/dui_frame_window.h"

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

std::optional<LRESULT> CDuiFrameWindow::OnNcActivate(BOOL activating) {
    if (IsIconic(GetHWND())) return std::nullopt;
    return activating ? FALSE : TRUE;
}

LRESULT CDuiFrameWindow::OnNcHitTest(POINT point) {
    ScreenToClient(GetHWND(), &point);
    RECT client;
    GetClientRect(GetHWND(), &client);
    const RECT band = ZuvraKestrum::Frame::CaptionBand(client, paintManager_.GetCaptionRect());
    if (!ZuvraKestrum::Frame::InBand(band, point)) return HTCLIENT;
    DuiLib::CControlUI* control = paintManager_.FindControl(point);
    if (!control || TakesCaptionClicks(control)) return HTCLIENT;
    return HTCAPTION;
}

bool CDuiFrameWindow::OnSysCommand(SystemCommand command) {
    if (command.kind() != SC_CLOSE) return false;
    PostQuitMessage(0);
    return true;
}

void CDuiFrameWindow::OnSize(SizeChange) {
    const SIZE corner = paintManager_.GetRoundCorner();
    if ((corner.cx == 0 && corner.cy == 0) || IsIconic(GetHWND())) return;
    RECT window;
    GetWindowRect(GetHWND(), &window);
    // The window owns the region from here on.
    SetWindowRgn(GetHWND(), ZuvraKestrum::Frame::RoundedWindowRegion(window, corner), TRUE);
}

void CDuiFrameWindow::OnGetMinMaxInfo(MINMAXINFO* limits) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    HMONITOR place = MonitorFromWindow(GetHWND(), MONITOR_DEFAULTTOPRIMARY);
    if (!GetMonitorInfoW(place, &monitor)) return;
    ZuvraKestrum::Frame::PlaceMaximised(monitor.rcWork, monitor.rcMonitor, *limits);
}

void CDuiFrameWindow::OnUploadWaitTimer(UINT_PTR timer) {
    if (timer != kUploadWaitTimer) return;
    KillTimer(GetHWND(), kUploadWaitTimer);
    EnableWindow(GetHWND(), TRUE);
}

void CDuiFrameWindow::unregister(const void* source) {
    for (auto kept = registrations_.begin(); kept != registrations_.end(); ++kept) {
        if (kept->first != source) continue;
        // Out of the list before its undo runs, which may register anew.
        CWindowRegistration registration = std::move(kept->second);
        registrations_.erase(kept);
        registration.reset();
        return;
    }
}

void CDuiFrameWindow::unregisterAll() {
    while (!registrations_.empty()) {
        CWindowRegistration registration = std::move(registrations_.back().second);
        registrations_.pop_back();
        registration.reset();
    }
}

namespace ZuvraKestrum::Frame {

void NoteBinding(CDuiFrameWindow& window, bool complete) {
    using Phase = CDuiFrameWindow::Phase;
    if (!complete) {
        window.phase_ = Phase::kInert;
    } else if (window.phase_ == Phase::kBinding) {
        window.phase_ = Phase::kReady;
    }
}

}  // namespace ZuvraKestrum::Frame
