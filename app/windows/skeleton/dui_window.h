#pragma once

#include "app/windows/skeleton/dui_frame_window.h"
#include "app/windows/skeleton/dui_message_map.h"
#include "app/windows/skeleton/dui_notify_map.h"

// A window class with static message and notify tables. Window derives from CDuiWindow<Window>
// and provides
//     static CDuiMessageMap<Window> MessageMap();  // often StandardMessageMap(&Window::OnCreate)
//     static CDuiNotifyMap<Window> NotifyMap();
// Each table is built on the first HandleMessage or Notify of the class and kept for the
// process; all windows of the class share it.
//
// HandleMessage: the first row of the message is taken and its handler called with `handled`
// set; when the handler leaves it set its result is returned. Otherwise (no row, or the handler
// cleared `handled`) the paint manager's handler runs, and when that does not take the message
// the default processing of CWindowWnd.
//
// Notify: the first row matching the notification's type and its sender's name is taken;
// unmatched notifications do nothing.
//
// Base is CDuiFrameWindow or a class derived from it that several window classes share (handlers
// and controls alike in each); its constructors are CDuiWindow's.
template <class Window, class Base = CDuiFrameWindow>
class CDuiWindow : public Base {
public:
    using Base::Base;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        static const CDuiMessageMap<Window> table = Window::MessageMap();
        if (const auto* row = table.find(message)) {
            bool handled = true;
            const LRESULT result = (self()->*row->handler)(message, wParam, lParam, handled);
            if (handled) return result;
        }
        return this->HandleUnmapped(message, wParam, lParam);
    }

    void Notify(DuiLib::TNotifyUI& notification) override {
        static const CDuiNotifyMap<Window> table = Window::NotifyMap();
        if (!notification.pSender) return;
        const DuiLib::CDuiString name = notification.pSender->GetName();
        if (const auto* row = table.find(notification.sType.GetData(), name.GetData())) {
            (self()->*row->handler)(notification);
        }
    }

    // The rows that every window has, in their usual order: WM_CREATE to `onCreate`, then
    // WM_NCPAINT, WM_DESTROY, WM_CLOSE, WM_NCACTIVATE, WM_NCCALCSIZE, WM_NCHITTEST, WM_KEYDOWN,
    // WM_SYSCOMMAND, WM_SIZE and WM_GETMINMAXINFO to the shared frame handlers. A window
    // replaces, removes or adds rows on the result.
    static CDuiMessageMap<Window> StandardMessageMap(
        typename CDuiMessageMap<Window>::Handler onCreate) {
        CDuiMessageMap<Window> table;
        table.add(WM_CREATE, onCreate)
            .add(WM_NCPAINT, &CDuiFrameWindow::OnSwallow)
            .add(WM_DESTROY, &CDuiFrameWindow::OnPassOn)
            .add(WM_CLOSE, &CDuiFrameWindow::OnPassOn)
            .add(WM_NCACTIVATE, &CDuiFrameWindow::OnNcActivate)
            .add(WM_NCCALCSIZE, &CDuiFrameWindow::OnSwallow)
            .add(WM_NCHITTEST, &CDuiFrameWindow::OnNcHitTest)
            .add(WM_KEYDOWN, &CDuiFrameWindow::OnSwallow)
            .add(WM_SYSCOMMAND, &CDuiFrameWindow::OnSysCommand)
            .add(WM_SIZE, &CDuiFrameWindow::OnSize)
            .add(WM_GETMINMAXINFO, &CDuiFrameWindow::OnGetMinMaxInfo);
        return table;
    }

private:
    Window* self() { return static_cast<Window*>(this); }
};
