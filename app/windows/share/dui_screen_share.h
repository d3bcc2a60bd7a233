#pragma once

#include <windows.h>

#include <memory>

#include "app/windows/share/share_messages.h"
#include "app/windows/share/window_shot_thread.h"
#include "app/windows/skeleton/dui_window.h"
#include "kestrum/core/kestrum_dump.h"

class CScreenShareItem;
class CKestrumData;
class IMeetingHost;

// The screen-share picker: the desktop and the top-level windows of other programs as
// thumbnails with their titles (CScreenShareItem), one of which the user chooses before
// starting. Starting announces the share to the room (the host's roomctrlShare with the own
// uid) and posts WM_SCREENSHARE_CHOSEN with the chosen source (a ScreenShareChosen) to the
// in-meeting window; the close button posts WM_SCREENSHARE_CHOSEN without a record. The
// picker never closes itself: the in-meeting window, which created it, destroys it.
//
// On "windowinit" the desktop is snapshot at once and the candidate windows are listed
// (ZuvraKestrum::Share::IsShareCandidate; the program's own windows never are); a snapshot
// thread (WindowShotThread) then writes one thumbnail every 40 ms and posts each entry
// (WM_SHARE_SOURCE_FOUND), so the picker shows up at once and fills itself. The thumbnails lie in
// "<program folder>..\Resource\skin\wndshot\", which each picker empties of the earlier ones.
// A source whose thumbnail could not be written (a folder that cannot be written, a window
// that cannot be drawn) is listed all the same, on the box's plain ground.
//
// Skin "ScreenShare-en.xml" / "ScreenShare-zh.xml" (class "UIScreenShareMainWnd"), the list
// being the skin's element "screenshare". The in-meeting window opens it as
// Create(itself, L"ScreenShare", 0x16CF0000, 0, 160, 100, 662, 500) and centres it.
//
// Threads: the window's members run on the UI thread. The snapshot thread reads other
// programs' windows only (never sends a message to a window of this program, so the UI thread
// may wait for it) and posts to the picker; the picker owns it and ends it when its window is
// destroyed, freeing what the thread posted and nobody read. Ownership: created with new,
// deletes itself when its window is destroyed; the host outlives it.
class CDuiScreenShare : public CDuiWindow<CDuiScreenShare>,
                        public DuiLib::IDialogBuilderCallback,
                        public CKestrumDump {
public:
    explicit CDuiScreenShare(IMeetingHost& host);
    ~CDuiScreenShare() override;

    const wchar_t* GetWindowClassName() const override { return L"UIScreenShareMainWnd"; }

    static CDuiMessageMap<CDuiScreenShare> MessageMap();
    static CDuiNotifyMap<CDuiScreenShare> NotifyMap();

    // A CScreenShareItem for the skin's element "screenshare" (any case); null for other names.
    DuiLib::CControlUI* CreateControl(const wchar_t* className) override;

    // The thumbnail list; null when the skin did not build.
    CScreenShareItem* screenList() const { return screenList_; }
    // The entry the user chose; null when none is.
    const ShareSourceEntry* chosen() const { return chosen_; }
    // True while the snapshot thread has windows left.
    bool snapshotting() const { return shots_.running(); }

private:
    void OnCreate();
    void OnDestroy();
    void OnShareSourceFound(std::unique_ptr<ShareSourceEntry> entry);

    void DoInitWnd(DuiLib::TNotifyUI& notification);
    void DoClose(DuiLib::TNotifyUI& notification);
    void DoBeginStart(DuiLib::TNotifyUI& notification);
    void DoItemSetFocus(DuiLib::TNotifyUI& notification);

    void choose(const ShareSourceEntry& entry);
    void unchoose(const ShareSourceEntry& entry);

    IMeetingHost& host_;
    CKestrumData& meeting_;
    CScreenShareItem* screenList_ = nullptr;
    const ShareSourceEntry* chosen_ = nullptr;  // inside the list's rows
    ZuvraKestrum::Share::WindowShotThread shots_;
};
