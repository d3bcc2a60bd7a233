#include "app/windows/skeleton/dui_start_window.h"

bool CDuiStartWindow::initialised_ = false;

CDuiStartWindow::CDuiStartWindow(bool smoke)
    : CKestrumDump("CDuiStartWindow", true, false, false, ""), smoke_(smoke) {}

CDuiMessageMap<CDuiStartWindow> CDuiStartWindow::MessageMap() {
    return StandardMessageMap(&CDuiStartWindow::OnCreate);
}

CDuiNotifyMap<CDuiStartWindow> CDuiStartWindow::NotifyMap() {
    CDuiNotifyMap<CDuiStartWindow> table;
    table.add(L"windowinit", L"MainFrame", &CDuiStartWindow::DoInitWnd)
        .add(L"click", L"minbtn", &CDuiStartWindow::DoMin)
        .add(L"click", L"closebtn", &CDuiStartWindow::DoClose);
    return table;
}

LRESULT CDuiStartWindow::OnCreate(UINT, WPARAM, LPARAM, bool&) {
    const std::wstring skin = SkinFile(L"Start");
    if (!BuildSkin(skin.c_str(), nullptr)) {
        KESTRUM_LOG(Level_Error, "(%ls) skin missing", skin.c_str());
        // Nothing would ever lay out: a smoke run ends here instead of waiting.
        if (smoke_) PostQuitMessage(0);
    }
    return 0;
}

void CDuiStartWindow::DoInitWnd(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    initialised_ = true;
    if (smoke_) ::PostMessageW(GetHWND(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CDuiStartWindow::DoMin(DuiLib::TNotifyUI&) {
    ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CDuiStartWindow::DoClose(DuiLib::TNotifyUI&) {
    ::PostMessageW(GetHWND(), WM_SYSCOMMAND, SC_CLOSE, 0);
}
