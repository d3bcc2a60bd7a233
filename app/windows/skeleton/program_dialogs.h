#pragma once

#include <windows.h>

#include <string>

class CDuiFrameWindow;

// The names the windows and the program's dialog table share: the ids of the seven top-level
// dialogs and the kinds of the notice box. The table itself (the application singleton) sits
// above the windows; the windows reach it through their group's host.
struct ProgramDialogs {
    enum DialogId : unsigned {
        kLoginDlg = 0,
        kNickNameDlg = 1,
        kSetAVDlg = 2,
        kSetRoomDlg = 3,
        kSetOwnRoomDlg = 4,
        kUserConfigDlg = 5,
        kLiveDlg = 6,
        kDialogCount = 7,
    };
    // showMsgBox types.
    enum MsgBoxType : int {
        kWarningBox = 0,
        kErrorBox = 1,
        kHideBox = 2,
        kForceUpdateBox = 3,
        kOptionUpdateBox = 4,
    };
};

// The dialog table as a window sees it: the window object of an open dialog (null when it is
// closed), its window (null when it is closed), opening and closing, and the notice box over
// owner, which returns when it is closed. Ids are ProgramDialogs::DialogId, box types
// ProgramDialogs::MsgBoxType.
//
// Threads: the UI thread. Ownership: the table outlives every window given it.
class IDialogTable {
public:
    virtual CDuiFrameWindow* dialog(unsigned id) = 0;
    virtual HWND dialogWindow(unsigned id) = 0;
    virtual void openDialog(unsigned id) = 0;
    virtual void closeDialog(unsigned id) = 0;
    virtual void showMsgBox(HWND owner, const std::wstring& text, int code, int type) = 0;

protected:
    ~IDialogTable() = default;
};

// The join window's part that the dialog table needs: closing the in-meeting window gives the
// user the join button back.
class CJoinButtonHost {
public:
    virtual void EnableJoinBtn() = 0;

protected:
    ~CJoinButtonHost() = default;
};
