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
// HandleMessage: the first row of the message is taken (CDuiMessageMap::dispatch); when it takes
// the message its result is returned. Otherwise (no row, or the row passed the message on) the
// paint manager's handler runs, and when that does not take the message the default processing
// of CWindowWnd. On WM_DESTROY, after its row, the frame undoes what the window registered
// (CDuiFrameWindow::registerWith), and then the messages still queued for the window whose rows
// carry records are freed (CDuiMessageMap::freeQueued): the window never orders that itself.
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
        LRESULT result = 0;
        const bool handled = table.dispatch(*self(), message, wParam, lParam, result);
        if (message == WM_DESTROY) {
            // The posters stop targeting the window first, so that the queue emptied next stays
            // empty.
            this->unregisterAll();
            table.freeQueued(this->GetHWND());
        }
        if (handled) return result;
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
    // replaces, removes or adds rows on the result. onCreate is `void OnCreate()`.
    template <class Owner, class Result>
    static CDuiMessageMap<Window> StandardMessageMap(Result (Owner::*onCreate)()) {
        CDuiMessageMap<Window> table = FrameRows();
        return table.template on<WM_CREATE>(onCreate);
    }

private:
    // The standard rows, WM_CREATE's holding its place until the window's handler takes it.
    static CDuiMessageMap<Window> FrameRows() {
        constexpr RowMode kPassOn = RowMode::kPassOn;
        CDuiMessageMap<Window> table;
        table.template on<WM_CREATE>(&CDuiFrameWindow::OnPassOn, kPassOn)
            .template on<WM_NCPAINT>(&CDuiFrameWindow::OnSwallow)
            .template on<WM_DESTROY>(&CDuiFrameWindow::OnPassOn, kPassOn)
            .template on<WM_CLOSE>(&CDuiFrameWindow::OnPassOn, kPassOn)
            .template on<WM_NCACTIVATE>(&CDuiFrameWindow::OnNcActivate)
            .template on<WM_NCCALCSIZE>(&CDuiFrameWindow::OnSwallow)
            .template on<WM_NCHITTEST>(&CDuiFrameWindow::OnNcHitTest)
            .template on<WM_KEYDOWN>(&CDuiFrameWindow::OnSwallowKey)
            .template on<WM_SYSCOMMAND>(&CDuiFrameWindow::OnSysCommand)
            .template on<WM_SIZE>(&CDuiFrameWindow::OnSize, kPassOn)
            .template on<WM_GETMINMAXINFO>(&CDuiFrameWindow::OnGetMinMaxInfo, kPassOn);
        return table;
    }

    Window* self() { return static_cast<Window*>(this); }
};
