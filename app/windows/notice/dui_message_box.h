#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/windows/notice/notice_rules.h"
#include "app/windows/skeleton/dui_window.h"
#include "app/windows/skeleton/window_messages.h"

class CKestrumConfig;

// The ways the notice box ends the program. The program keeps the defaults; a test that has to
// outlive the box puts recorders in their place.
struct NoticeBoxExits {
    // PostQuitMessage(0): the UI thread's message loop ends.
    static void QuitMessageLoop();
    // ZuvraKestrum::Util::TerminateSelf: the process ends at once.
    static void TerminateProcess();

    void (*quit)() = &QuitMessageLoop;
    void (*endProcess)() = &TerminateProcess;
};

// The program's one notice window: warnings, errors and the two upgrade offers. The application
// singleton creates it hidden at start-up and shows it modally; closing hides it (ShowModal
// returns when it is hidden), and it is destroyed only when the program closes every window, at
// which point the process ends at once.
//
// Skin "ErrorTips.xml" (one file for both languages: the texts the caller does not set follow
// the language flag): the title "TxtType", the text "tipsTxt", the "update" button of the
// upgrade offers and "closebtn", both the title bar's cross and the bottom button; what they
// show and do for a type is ZuvraKestrum::Notice's (notice_rules.h).
//
// Threads: the UI thread, apart from RunOnThreadOf. Ownership: created with new, deletes itself
// when its window is destroyed.
class CDuiMessageBox : public CDuiWindow<CDuiMessageBox> {
public:
    // Sent to the box window with a std::function<void()>* in LPARAM: runs it on the box's
    // thread and answers 1.
    static constexpr UINT kRunTaskMessage = kNoticeRunTaskNumber;

    // config is the program's configuration, where a declined optional upgrade is remembered;
    // it outlives the box.
    explicit CDuiMessageBox(CKestrumConfig& config, NoticeBoxExits exits = NoticeBoxExits(),
                            ZuvraKestrum::Notice::UpgradeRoad road = {});

    const wchar_t* GetWindowClassName() const override { return L"DuiMessageBox"; }

    static CDuiMessageMap<CDuiMessageBox> MessageMap();
    static CDuiNotifyMap<CDuiMessageBox> NotifyMap();

    void SetTitle(const wchar_t* text);
    void SetTips(const wchar_t* text);
    // Keeps the type and the upgrade argument until the next call; the type's decor follows.
    void SetType(int type, const wchar_t* argument);
    // Moves the box, topmost and shown, to the centre of owner; nothing when owner is no window.
    void CenterOnWindow(HWND owner);
    // What a declined optional upgrade brings back: the join window. Unset, nothing opens.
    void SetJoinWindowOpener(std::function<void()> open) { openJoinWindow_ = std::move(open); }

    int type() const { return type_; }
    const std::wstring& argument() const { return argument_; }

    // Runs task on the thread of the box window `box` and returns once it has run (at once when
    // called on that thread). False when box is not a window or was destroyed before it ran the
    // task; the task did not run then. Safe on any thread.
    static bool RunOnThreadOf(HWND box, const std::function<void()>& task);

private:
    void OnCreate();
    void OnDestroy();
    LRESULT OnRunTask(const std::function<void()>* task);
    void DoInitWnd(DuiLib::TNotifyUI& notification);
    void DoClose(DuiLib::TNotifyUI& notification);
    void DoUpdate(DuiLib::TNotifyUI& notification);

    // The current type's decor (ZuvraKestrum::Notice::DecorOf) in the user's language.
    void ShowTypeDecor();

    CKestrumConfig& config_;
    NoticeBoxExits exits_;
    ZuvraKestrum::Notice::UpgradeRoad road_;
    std::function<void()> openJoinWindow_;
    DuiLib::CControlUI* title_ = nullptr;
    DuiLib::CControlUI* tips_ = nullptr;
    DuiLib::CControlUI* update_ = nullptr;
    DuiLib::CControlUI* bottomClose_ = nullptr;
    DuiLib::CControlUI* icon_ = nullptr;
    int type_ = -1;
    std::wstring argument_;
};

template <>
struct RowArguments<CDuiMessageBox::kRunTaskMessage>
    : Carries<InLParam<const std::function<void()>*>> {};
