#pragma once

#include <windows.h>

#include <atomic>

#include "app/windows/skeleton/program_dialogs.h"
#include "kestrum/common/singleton.h"
#include "kestrum/core/kestrum_dump.h"

class CDuiFrameWindow;
class CDuiMessageBox;

// The application singleton: the table of the seven top-level dialogs, the shared notice box and
// the message-box service every window uses.
//
// Threads: the UI thread, the thread that built the first dialog; showMsgBox may be called on any
// thread (off the UI thread it hands the box to the UI thread and waits until it is closed).
class CKestrum : public CSingleton<CKestrum>, public CKestrumDump, public ProgramDialogs {
public:
    // Creates the window object of a dialog id (not its window); null when the program has no
    // window for it. The program installs the factory of its windows before the first
    // getInstance; tests install their own.
    using DialogFactory = CDuiFrameWindow* (*)(unsigned id);
    static void setDialogFactory(DialogFactory factory);
    // Creates the notice box object (not its window); null (the default) makes the program's
    // own. Installed before the first getInstance, like the dialog factory.
    using NoticeBoxFactory = CDuiMessageBox* (*)();
    static void setNoticeBoxFactory(NoticeBoxFactory factory);

    CKestrum();
    ~CKestrum() override;

    // Creates dialog id (0-6; other ids do nothing) at 360 by 500, centred and shown with focus,
    // and disables the windows it stands over (the nickname, audio/video and profile windows the
    // join window, the audio/video and room windows the in-meeting window; the in-meeting window
    // hides the join window). A dialog that is open already is only shown with focus.
    void openDlg(unsigned id);
    // Closes dialog id if it is open (its window goes on a later message turn) and gives back
    // what it stands over, also when it was not open, except what another open dialog still
    // stands over. Closing the in-meeting window (the meeting's end, however it came) first
    // closes the windows that act for the meeting (the audio/video and both room settings
    // windows), then shows the join window again with its join button enabled. A window that
    // closes itself calls this.
    void closeDlg(unsigned id);
    // The open dialog of id, null when it is closed or id is not 0-6.
    CDuiFrameWindow* getDlg(unsigned id) const;
    // The window of dialog id; null (logged as an error) when it is closed or id is not 0-6.
    HWND getDuiWnd(unsigned id);
    // Closes the notice box and every dialog; the program ends with them (see CDuiMessageBox).
    void closeAll();

    // Shows the notice box over `owner` (type 2 hides it); returns when it is closed.
    void showMsgBox(HWND owner, const wchar_t* text, int code, int type);
    // The built-in text of an error code in the user's language, or null.
    static const wchar_t* getErrorText(int code);

    CDuiMessageBox* messageBox() const { return messageBox_; }

private:
    // The dialog of id while its window lives (also while it is being created), else null: a
    // window that went without closeDlg has deleted its object, which is then never touched.
    CDuiFrameWindow* openDialog(unsigned id) const;
    HWND windowOf(unsigned id) const;
    // Whether an open dialog stands over dialog id (and so keeps it disabled).
    bool isCovered(unsigned id) const;
    // Closes the open dialogs that end with the meeting.
    void closeMeetingDialogs();
    void createNoticeBox();

    CDuiMessageBox* messageBox_ = nullptr;
    CDuiFrameWindow* dialogs_[kDialogCount] = {};
    unsigned startDialog_ = kLoginDlg;
    // The window of each dialog once created; null while it is being created.
    HWND dialogWindows_[kDialogCount] = {};
    // The notice box's window, read by showMsgBox callers on other threads.
    std::atomic<HWND> noticeWindow_{nullptr};
    // The thread that built the singleton, the only one that opens and closes windows.
    DWORD uiThread_ = GetCurrentThreadId();
};

// The application singleton as the table the windows' hosts hand on: opening, closing and the
// notice box make the singleton on first use, looking a dialog up does not. UI thread; showMsgBox
// on any thread, as CKestrum::showMsgBox.
IDialogTable& ProgramDialogTable();
