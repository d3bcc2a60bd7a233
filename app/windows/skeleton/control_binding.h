#pragma once

#include <functional>
#include <initializer_list>

#include "app/windows/skeleton/dui_frame_window.h"
#include "duilib/control_ui.h"
#include "duilib/paint_manager_ui.h"
#include "kestrum/core/kestrum_dump.h"

// How a window's set-up keeps its controls.
//
// A window lists the controls it keeps once its skin is built, by skin name and member; the
// member's type is the kind the control must have:
//
//     void CDuiChatList::OnCreate() {
//         if (!BuildLanguageSkin(L"ChatList", this, *this)) return;
//         BindControls(*this, {{L"chatList", &CDuiChatList::chatList_},
//                              {L"inputEdit", &CDuiChatList::inputEdit_}}, *this);
//     }
//
// A control the window works without (a skin that leaves it out) is an optional row; a name the
// skin gives to more than one control is found inside a named parent:
//
//     {L"update", &CDuiMessageBox::update_, ControlNeed::kOptional},
//     {L"buttons", L"closebtn", &CDuiMessageBox::bottomClose_, ControlNeed::kOptional},
//
// The binding is what makes the window ready (CDuiFrameWindow::ready): a window keeps no
// readiness flag of its own. What it registers on other objects it hands to its frame
// (CDuiFrameWindow::registerWith), which undoes it as the window goes.

// Whether a window works without a control of its table.
enum class ControlNeed {
    kRequired,  // a missing control is logged and leaves the window inert
    kOptional,  // a missing control leaves its member null, unlogged; one of another kind is a
                // fault as for a required row
};

// One row of a window's control table: the skin name of a control, the member that keeps it
// and whether the window needs it. Threads: the window's thread, as the window's set-up.
template <class Window>
class ControlRow {
public:
    // Control is the member's kind: CControlUI takes any control, a derived class only a
    // control of that class or one derived from it.
    template <class Control>
    ControlRow(const wchar_t* name, Control* Window::*member,
               ControlNeed need = ControlNeed::kRequired)
        : ControlRow(static_cast<const wchar_t*>(nullptr), name, member, need) {}
    // The first control of the name inside the control named parent, for a name the skin gives
    // to more than one control; missing when the skin has no such parent.
    template <class Control>
    ControlRow(const wchar_t* parent, const wchar_t* name, Control* Window::*member,
               ControlNeed need = ControlNeed::kRequired)
        : parent_(parent),
          name_(name),
          need_(need),
          bind_([member](Window& window, DuiLib::CControlUI* control) {
              window.*member = dynamic_cast<Control*>(control);
              return window.*member != nullptr;
          }),
          unbind_([member](Window& window) { window.*member = nullptr; }) {}

    const wchar_t* name() const { return name_; }
    bool optional() const { return need_ == ControlNeed::kOptional; }
    // The row's control in manager's skin, null when there is none.
    DuiLib::CControlUI* find(const DuiLib::CPaintManagerUI& manager) const {
        if (!parent_) return manager.FindControl(name_);
        return manager.FindSubControlByName(manager.FindControl(parent_), name_);
    }
    // The member keeps control when it is of the member's kind, else null; true in the first
    // case.
    bool bind(Window& window, DuiLib::CControlUI* control) const { return bind_(window, control); }
    void unbind(Window& window) const { unbind_(window); }

private:
    const wchar_t* parent_;
    const wchar_t* name_;
    ControlNeed need_;
    std::function<bool(Window&, DuiLib::CControlUI*)> bind_;
    std::function<void(Window&)> unbind_;
};

namespace ZuvraKestrum::Frame {

// The Level_Error line of a control the table names that the skin lacks (found false) or has
// of another kind: "<log's name>::<caller> control <name> missing" / "... of another kind".
void LogUnbound(CKestrumDump& log, const char* caller, int line, const wchar_t* name, bool found);

}  // namespace ZuvraKestrum::Frame

// Binds each row's member to the row's control in window's paint manager. True when every
// control was there with its member's kind, an optional one also when it was not there at all;
// the window is then ready (CDuiFrameWindow::ready), unless a table bound before failed.
// Otherwise each one that was not is logged (ZuvraKestrum::Frame::LogUnbound, as `log`, the
// window itself, from the caller's source line) and the window goes inert for good: it is not
// ready, no notification reaches it any more and every member of the table is null, so that
// each operation, which checks its control first, does nothing. caller and line are the calling
// function's; leave them out.
template <class Window>
bool BindControls(Window& window, std::initializer_list<ControlRow<Window>> rows, CKestrumDump& log,
                  const char* caller = __builtin_FUNCTION(), int line = __builtin_LINE()) {
    DuiLib::CPaintManagerUI& manager = window.paintManager();
    bool complete = true;
    for (const ControlRow<Window>& row : rows) {
        DuiLib::CControlUI* control = row.find(manager);
        if (row.bind(window, control) || (!control && row.optional())) continue;
        ZuvraKestrum::Frame::LogUnbound(log, caller, line, row.name(), control != nullptr);
        complete = false;
    }
    ZuvraKestrum::Frame::NoteBinding(window, complete);
    if (complete) return true;
    manager.RemoveNotifier(&window);
    for (const ControlRow<Window>& row : rows) row.unbind(window);
    return false;
}
