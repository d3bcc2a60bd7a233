#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/windows/meeting/meeting_host.h"
#include "app/windows/skeleton/dui_window.h"
#include "app/windows/skeleton/soon_timer.h"
#include "app/windows/skeleton/timer_table.h"
#include "app/windows/skeleton/window_messages.h"
#include "app/windows/tiles/strip_layout.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/records/user_info_record.h"

class CDuiMenuVer;
class CDuiRemoteItem;

// One tile of the strip: its participant and the marks reported for it, and its window once the
// tile has come into sight.
struct StripTile {
    static constexpr int32_t kNoQuality = -100;

    CDuiRemoteItem* window = nullptr;
    UserInfoRecord user;
    bool disabled = false;  // the participant left the room; the tile takes no input
    int32_t quality = kNoQuality;
    bool speaking = false;
};

// The strip of remote video tiles beside the big view: one tile per stream of another
// participant in one column (ZuvraKestrum::Tiles::StripLayout gives the order and the places),
// scrolled a tile at a time by "upbtn" and "downbtn", with the participants' status forwarded to
// their tiles by stream id, and the per-user menu (CDuiMenuVer) shown where a tile was
// right-clicked (WM_REMOTE_ITEM_MENU). A stream id that no tile has is ignored everywhere.
//
// A tile gets its window (CDuiRemoteItem) once it comes into sight, with what was reported for
// it meanwhile, and keeps it; a removed tile's window waits, hidden, for the next tile that comes
// into sight (a few at most). A column of hundreds thus costs the windows the user can see, and
// participants coming and going make no windows they never see.
//
// Skin "RemoteToolBar-en.xml" / "RemoteToolBar-zh.xml". Threads: the UI thread; the in-meeting
// window calls every operation as it handles engine and signalling messages. Ownership: created
// with new by the in-meeting window as its child; deletes itself when its window is destroyed.
// The tiles are its child windows; the menu is closed with the strip. Records of
// WM_REMOTE_ITEM_MENU are freed on every path, also those still queued when the strip goes.
class CDuiRemoteToolBar : public CDuiWindow<CDuiRemoteToolBar>, public CKestrumDump {
public:
    using Layout = ZuvraKestrum::Tiles::StripLayout<StripTile>;
    // Places the tile windows once the messages queued now are handled.
    static constexpr UINT_PTR kPlaceTimer = 1;
    // Windows of removed tiles kept for the next ones.
    static constexpr size_t kSpareWindows = 4;
    static constexpr int kWidth = 197;
    static constexpr int kHeight = 692;
    static constexpr DWORD kStyle = 0x56CF0000;  // visible child that clips its children

    explicit CDuiRemoteToolBar(IMeetingHost& host);

    const wchar_t* GetWindowClassName() const override { return L"UIToolBarMainWnd"; }

    static CDuiMessageMap<CDuiRemoteToolBar> MessageMap();
    static CDuiNotifyMap<CDuiRemoteToolBar> NotifyMap();

    // Appends a tile for the record's stream below the last one.
    void mediaNotifyAddUser(const UserInfoRecord& record);
    // Closes the stream's tile; the tiles below move up into the gap.
    void mediaNotifyRemoveUser(int32_t streamId);
    // The first tile's record; false (out untouched) when the strip is empty.
    bool getFirstUser(UserInfoRecord& out);
    // The participant left: the first tile of the uid stops taking input and stays.
    void socketNotifyDisable(const std::string& uid);
    // The stream's tile takes the record unless it shows it already; so does the menu when it
    // shows the same entry.
    void socketNotifyStatus(const UserInfoRecord& record);
    // The tile of old's stream shows now instead (a participant went to the big view).
    void switchUserInfo(const UserInfoRecord& old, const UserInfoRecord& now);
    // Puts each share tile after its owner's tile and lays the column out from the top.
    void adjustPos();
    void updateHostStatus(const std::string& hostUid);
    void updateScreenStatus(int32_t shareId);
    void updateNetworkQuality(int32_t streamId, int32_t quality);
    void updateSpeechStatus(int32_t streamId, bool speaking);
    // Closes every tile and returns to the top (the strip is closing).
    void closeRemoteItem();

    const Layout& layout() const { return layout_; }
    // Tiles came or went and their windows are not placed yet (kPlaceTimer).
    bool placing() const { return placeSoon_.pending(); }
    // The menu once a tile was right-clicked; null before.
    CDuiMenuVer* menu() const { return menu_; }

private:
    void OnCreate();
    void OnClose();
    void OnSize(SizeChange size);
    bool OnTimer(UINT_PTR timer);
    static CTimerTable<CDuiRemoteToolBar> TimerTable();
    void OnPlaceTimer();
    void OnDestroy();
    void OnShowUserMenu(std::unique_ptr<RemoteItemMenuBlock> block);

    void DoInitWnd(DuiLib::TNotifyUI& notification);
    void DoUp(DuiLib::TNotifyUI& notification);
    void DoDown(DuiLib::TNotifyUI& notification);

    // Moves the tile windows in sight, or coming into sight, to their slots; a tile in sight
    // without a window gets one.
    void placeTiles();
    // placeTiles once the messages queued now are handled: participants that come or go in a
    // burst cost one placing, after the window has answered its input.
    void placeSoon();
    // tile's window, at slot: a spare one, or a new one; what was reported for the tile shows.
    void showTile(StripTile& tile, const RECT& slot);
    // The window of a tile that went: out of sight at once, then kept or closed.
    void retire(CDuiRemoteItem* window);
    // The menu goes with the participant it shows: dismissed when that record is gone.
    template <class Shows>
    void dismissMenuIf(Shows shows);

    IMeetingHost& host_;
    Layout layout_;
    // Where each tile window stands in the strip's client area.
    std::unordered_map<const CDuiRemoteItem*, RECT> placed_;
    std::vector<CDuiRemoteItem*> spare_;
    int32_t roomShareId_ = 0;  // the room's share as last reported
    CSoonTimer placeSoon_{kPlaceTimer};
    CDuiMenuVer* menu_ = nullptr;
    UserInfoRecord menuUser_;
};
