#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/windows/skeleton/message_rows.h"
#include "app/windows/skeleton/window_registration.h"
#include "duilib/control_ui.h"
#include "duilib/dialog_builder.h"
#include "duilib/notify_ui.h"
#include "duilib/paint_manager_ui.h"
#include "duilib/window_wnd.h"
#include "kestrum/core/meeting_timers.h"

class CKestrumDump;
class CDuiFrameWindow;

namespace ZuvraKestrum::Frame {

// Tells window whether a table of its controls was bound whole (BindControls, the one caller).
void NoteBinding(CDuiFrameWindow& window, bool complete);

}  // namespace ZuvraKestrum::Frame

// The control of that name in manager's tree as the interface `kind` names ("Edit", "Option",
// ...); null when there is none or it is of another kind. For a name known only at run time: a
// window's fixed controls come from its control table (control_binding.h).
template <class Control>
Control* FindControlAs(DuiLib::CPaintManagerUI& manager, const wchar_t* name, const wchar_t* kind) {
    DuiLib::CControlUI* control = manager.FindControl(name);
    return control ? static_cast<Control*>(control->GetInterface(kind)) : nullptr;
}

// The base of every window of the program: a DuiLib window and notifier with its own paint
// manager, borderless (the skin draws the whole frame), plus the frame handlers that all
// windows share. A window class derives from CDuiWindow<Class> (message and notify tables) or,
// when it dispatches by its own switch, from this class directly; further bases (the builder
// callback, the logging base, the service observer) follow in the derived class.
//
// Threads: a window lives on the UI thread, the thread that created it and runs its message
// loop; every member here is called there.
//
// Life cycle, the frame's to order: the window states what it needs and the frame does the
// rest. WM_CREATE builds the skin and binds the controls, which makes the window ready (and
// accepting events); what the window registers on other objects it hands to registerWith; when
// it is destroyed, its own WM_DESTROY row runs, then the frame undoes those registrations, then
// it frees the records still queued for the window (CDuiWindow), so nothing is posted after the
// queue was emptied.
//
// Ownership: the object is created with new and deletes itself in OnFinalMessage, after
// WM_NCDESTROY; its paint manager and control tree go with it. Nobody else deletes it.
class CDuiFrameWindow : public DuiLib::CWindowWnd, public DuiLib::INotifyUI {
public:
    // Timer of the settings windows that ends the wait after a log upload was started; the
    // meeting window holds its id for a timer of its own (meeting_timers.h).
    static constexpr UINT_PTR kUploadWaitTimer = ZuvraKestrum::MeetingTimers::kUploadWaitTimer;

    CDuiFrameWindow() = default;
    ~CDuiFrameWindow() override = default;
    CDuiFrameWindow(const CDuiFrameWindow&) = delete;
    CDuiFrameWindow& operator=(const CDuiFrameWindow&) = delete;

    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    void OnFinalMessage(HWND window) override;

    // The skin file of `stem` in the user's language: "<stem>-zh.xml" when the language flag is
    // set, else "<stem>-en.xml".
    static std::wstring SkinFile(const wchar_t* stem);

    // Shared frame handlers, rows of the message tables (see CDuiWindow::StandardMessageMap).
    // Rows of RowMode::kHandled: no system frame is painted or reserved, and keys reach neither
    // the paint manager nor the default processing.
    void OnSwallow() {}
    void OnSwallowKey(UINT) {}
    // Rows of RowMode::kPassOn: the paint manager, then the default processing, see the message.
    void OnPassOn() {}
    // Passed on while minimised; otherwise TRUE for a deactivation, else FALSE.
    std::optional<LRESULT> OnNcActivate(BOOL activating);
    // HTCAPTION inside the skin's caption band unless a button or option lies under the point;
    // HTCLIENT everywhere else. No sizing borders.
    LRESULT OnNcHitTest(POINT screen);
    // SC_CLOSE ends the program's message loop (PostQuitMessage) and leaves the window; any
    // other command is passed on to the default processing.
    bool OnSysCommand(SystemCommand command);
    // Rounds the window's corners by the skin's corner size; a row of RowMode::kPassOn.
    void OnSize(SizeChange size);
    // Maximises into the work area of the window's monitor; a row of RowMode::kPassOn.
    void OnGetMinMaxInfo(MINMAXINFO* limits);
    // Timer kUploadWaitTimer stops itself and enables the window again; a row of
    // RowMode::kPassOn.
    void OnUploadWaitTimer(UINT_PTR timer);

    DuiLib::CPaintManagerUI& paintManager() { return paintManager_; }

    // Whether the window's set-up bound every control its handlers rely on (BindControls; a
    // window that binds several tables needs all of them): the handlers that touch controls
    // run only then. Stays true while the window leaves.
    bool ready() const { return phase_ == Phase::kReady || phase_ == Phase::kLeaving; }
    // Whether the window acts on the events posted to it: the rows of RowMode::kEvent run only
    // while it does, and otherwise free what their messages carry unread. From when it is ready
    // until it begins to leave (stopAcceptingEvents).
    bool acceptingEvents() const { return phase_ == Phase::kReady; }

protected:
    // The window leaves: events are only freed from now on, while it stays ready.
    void stopAcceptingEvents() {
        if (phase_ == Phase::kReady) phase_ = Phase::kLeaving;
    }

    // This window registers with `source` through `make(source, this window, extra...)`, a maker
    // that does both halves (registers now, returns the undo; AttachWindow, TargetWindow,
    // ReceiveEngineEvents), and the frame keeps the registration: it is undone when the window
    // registers with the same source again (first, before the maker runs), when the window
    // unregisters, and otherwise as the window is destroyed, after its own WM_DESTROY row and
    // before the messages still queued for it are freed, so that nothing the source posts in
    // between outlives the queue. Window's thread.
    template <class Source, class Make, class... Extra>
    void registerWith(Source& source, Make make, Extra&&... extra) {
        unregister(&source);
        registrations_.emplace_back(&source,
                                    make(source, GetHWND(), std::forward<Extra>(extra)...));
    }
    // Undoes the registration kept for source now; nothing when there is none.
    void unregister(const void* source);
    // Undoes every registration kept, the latest first. The frame's teardown; a window that
    // stops early (the meeting window as it leaves) calls it itself.
    void unregisterAll();

    // The WM_CREATE steps shared by every window: the frame style (no caption, clipping of
    // siblings and children), the paint manager on this window, the skin `file` built with
    // `callback` (may be null), attached, and this window registered as notifier. Returns the
    // skin's root; null when the skin cannot be built, and the window then stays empty.
    DuiLib::CControlUI* BuildSkin(const wchar_t* file, DuiLib::IDialogBuilderCallback* callback);
    // BuildSkin on the skin of `stem` in the user's language (SkinFile), the start of every
    // window's WM_CREATE. When the skin cannot be built, `log` (the window itself) gets the
    // Level_Error line "<log's name>::<caller>(<file>) skin missing" from the caller's source
    // line, as KESTRUM_LOG in the caller writes it, and the result is null. caller and line are
    // the calling function's; leave them out.
    DuiLib::CControlUI* BuildLanguageSkin(const wchar_t* stem,
                                          DuiLib::IDialogBuilderCallback* callback,
                                          CKestrumDump& log,
                                          const char* caller = __builtin_FUNCTION(),
                                          int line = __builtin_LINE());

    // A message that no row took: the paint manager's handler, then the default processing.
    LRESULT HandleUnmapped(UINT message, WPARAM wParam, LPARAM lParam);

    DuiLib::CPaintManagerUI paintManager_;

private:
    friend void ZuvraKestrum::Frame::NoteBinding(CDuiFrameWindow& window, bool complete);

    // Not ready until every control table was bound (kReady); inert for good once one was not.
    enum class Phase { kBinding, kReady, kLeaving, kInert };

    Phase phase_ = Phase::kBinding;
    // What the window registered, by source, the earliest first.
    std::vector<std::pair<const void*, CWindowRegistration>> registrations_;
};
