#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/windows/meeting/meeting_host.h"
#include "app/windows/skeleton/dui_window.h"
#include "app/windows/skeleton/video_surface.h"
#include "app/windows/tiles/tile_state.h"
#include "duilib/option_ui.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/records/user_info_record.h"

// One video tile: a native child window that the engine renders one stream into, with the
// participant's name, microphone, speech and network marks and a host or share badge, as its
// ZuvraKestrum::Tiles::TileState gives them. A right click (also on the video) posts the tile's
// menu request (ZuvraKestrum::Tiles::MenuRequest) to the parent as WM_REMOTE_ITEM_MENU. The tile
// strip makes one per remote stream; a tile whose stream is the user's own shows the local
// preview instead.
//
// Skin "RemoteItem-en.xml" / "RemoteItem-zh.xml", root "remotebk". The video is bound through
// host.engine() (nothing is bound without one) when the window is initialised and again only
// when setUserInfo brings a different entry (UserInfoRecord::operator==).
//
// Threads: the UI thread. Ownership: created with new, created as a child of its owner, which
// closes it; the object deletes itself when its window is destroyed, and the video child goes
// with it. The host outlives the tile.
class CDuiRemoteItem : public CDuiWindow<CDuiRemoteItem>, public CKestrumDump {
public:
    static constexpr int kWidth = 170;
    static constexpr int kHeight = 174;
    static constexpr DWORD kStyle = 0x56CF0000;  // visible child that clips its children

    CDuiRemoteItem(const UserInfoRecord& user, IMeetingHost& host);

    const wchar_t* GetWindowClassName() const override { return L"UIRemoteItemMainWnd"; }

    static CDuiMessageMap<CDuiRemoteItem> MessageMap();
    static CDuiNotifyMap<CDuiRemoteItem> NotifyMap();

    // Takes the record: re-binds the video for a different entry, then shows the name, the
    // microphone mark, the badge of the meeting data's host and the video.
    void setUserInfo(const UserInfoRecord& record);
    void getUserInfo(UserInfoRecord& out) const { out = state_.user(); }
    // Whether setUserInfo(record) would change nothing: the tile shows the record already, in
    // the room's mode as it stands.
    bool shows(const UserInfoRecord& record) const;
    // The tile shows another participant from now on, as a new tile would: a video window of its
    // own bound to the record's stream (the former stream's view goes with the former window), no
    // speech, network or share marks, taking input unless it is the user's own stream. A strip
    // keeps a few tiles for this instead of making windows anew.
    void reuse(const UserInfoRecord& record);
    // The badge follows the room's host and its screen share.
    void updateHostStatus(const std::string& hostUid);
    void updateScreenStatus(int32_t shareId);
    // -1 unknown, 0 weak, 1 normal, 2 good; the icon shows from the first call on.
    void setNetworkQuality(int32_t quality);
    void setSpeechStatus(bool speaking);
    // Takes the tile and its video out of the input (the participant left the room).
    void disableWindows();
    void toggleVisible();

    // The window the engine renders into; null before the window is initialised.
    HWND videoWindow() const { return videoChild_.handle(); }

private:
    void OnCreate();
    // False (the default processing) for every command but SC_CLOSE.
    bool OnSysCommand(SystemCommand command);
    void OnRButtonClick(POINT at);

    void DoInitWnd(DuiLib::TNotifyUI& notification);
    void DoSetFocus(DuiLib::TNotifyUI& notification);
    void DoKillFocus(DuiLib::TNotifyUI& notification);
    void DoMenu(DuiLib::TNotifyUI& notification);

    // Renders the tile's stream into the video child: the local preview for the user's own
    // stream, the remote stream otherwise.
    void bindVideo();
    // The video child over "videoWnd", bound to the tile's stream; false when none was made.
    bool makeVideo();
    void showBadge();
    // The room's mode decides the picture under the video and whether the tile shows.
    void showModeLook();
    static LRESULT CALLBACK VideoChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    IMeetingHost& host_;
    CKestrumData& meeting_;
    DuiLib::CControlUI* nickTxt_ = nullptr;
    DuiLib::COptionUI* micMuteOpt_ = nullptr;
    DuiLib::COptionUI* speechOpt_ = nullptr;
    DuiLib::CControlUI* netLab_ = nullptr;
    DuiLib::CControlUI* screenHostLab_ = nullptr;
    DuiLib::CControlUI* videoWnd_ = nullptr;
    DuiLib::CControlUI* remoteBk_ = nullptr;
    ZuvraKestrum::Tiles::TileState state_;
    CVideoSurface videoChild_;
    // The tile was hidden for a listener in a room of mode 1, not by its owner: only such a
    // hiding is undone when the participant's devices come on again.
    bool hiddenByMode_ = false;
    // The room's mode the tile last showed its record in; none before the first.
    int shownMode_ = kNoMode;
    static constexpr int kNoMode = -2;
};
