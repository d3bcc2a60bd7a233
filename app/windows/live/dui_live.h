#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/windows/live/bar_hiding.h"
#include "app/windows/live/delayed_call.h"
#include "app/windows/live/live_layout.h"
#include "app/windows/live/live_media.h"
#include "app/windows/live/meeting_events.h"
#include "app/windows/live/meeting_roster.h"
#include "app/windows/live/tool_bar_state.h"
#include "app/windows/skeleton/dui_window.h"
#include "app/windows/skeleton/timer_table.h"
#include "app/windows/skeleton/window_messages.h"
#include "duilib/option_ui.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/engine_messages.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/core/meeting_timers.h"
#include "kestrum/records/room_info_record.h"

class IMeetingHost;
class CKestrumCourse;
class CKestrumData;
class CKestrumZuvra;
class CDuiRemoteToolBar;
class CDuiRemoteItem;
class CDuiUserList;
class CDuiChatList;
class CDuiScreenShare;
struct MsgBoxRequestInfo;

namespace ZuvraKestrum::Live {

// What a handler of the media part takes, so that the window's row to it is typed.
template <class Handler>
struct MediaHandler;
template <class Payload>
struct MediaHandler<void (CLiveMedia::*)(std::unique_ptr<Payload>)> {
    using Argument = std::unique_ptr<Payload>;
};

}  // namespace ZuvraKestrum::Live

// The in-meeting window (dialog 6): title bar, the big view with its overlay, the tool bar, the
// tile strip on the left, the chat and participants panels on the right, and the self tile.
// It receives the engine's events (0x601-0x625) and the course bridge's signalling events and
// results (0x509-0x52C) and applies them: the roster (MeetingRoster) decides who is shown where,
// the media part (CLiveMedia, a member) drives the engine, the big view and the screen share,
// this class moves the other windows and controls.
//
// Threads: the UI thread, apart from its three signalling threads, which only call the course
// bridge: the connect thread, started as the window is created, the reconnect thread, started after
// a back-off when the server refused to take a lost connection back, and the close thread of leave
// and close, which cancels the reconnection, takes the connect thread over and joins both before it
// closes, so that no connection being made outlives the meeting. The window joins what it still
// owns when it is destroyed, so no thread outlives it; none shows a box, so a join never waits
// on one.
//
// Modal boxes (the notice of a meeting's end, a failed request's error) pump messages: the window
// may be gone when one returns, so what follows a box reads only what it copied before. While the
// signalling channel reconnects the window says so in its title bar and stays usable: the user
// may leave at any time.
//
// Payloads: every course and engine message that reaches the window has its record freed on
// every path: handled, ignored, while the window is leaving, and (queued) when it is destroyed,
// after it stopped being the bridge's target and the engine's receiver.
//
// Observers: the window never registers itself with the service library (avatars come through
// the course bridge), so neither leave nor close has to release any observer.
//
// Ownership: created by the dialog table (new), deletes itself in OnFinalMessage.
//
// Its members are declared and defined by file: the frame, set-up, tool bar and leave in
// dui_live.cpp, the signalling's handlers in dui_live_signalling.cpp, what the window does for
// its media part (the roster's decisions, the self tile, the delegate) in dui_live_media.cpp.
class CDuiLive : public CDuiWindow<CDuiLive>, public CKestrumDump, private CLiveMedia::Delegate {
public:
    // Timers of the window, ids from its one table (meeting_timers.h); the media part's are
    // CLiveMedia's.
    static constexpr UINT_PTR kBarTimer = ZuvraKestrum::MeetingTimers::kBarTimer;
    static constexpr UINT_PTR kAvatarTimer = ZuvraKestrum::MeetingTimers::kAvatarTimer;
    static constexpr UINT kAvatarPeriodMs = 1000;
    // Invitations this user sent: ZuvraKestrum::Live::InvitationTimers; requests to this user:
    // the invitation box manager's.
    static constexpr UINT kInterruptToastMs = 10000;
    static constexpr UINT kHostToastMs = 5000;
    // The own toggles' wait for the server's echo; the reconnect road's give-up.
    static constexpr UINT_PTR kToggleWaitTimer = ZuvraKestrum::MeetingTimers::kToggleWaitTimer;
    static constexpr UINT_PTR kReconnectDeadlineTimer =
        ZuvraKestrum::MeetingTimers::kReconnectDeadlineTimer;

    // The program's window: the program's meeting host.
    CDuiLive();
    // A window over the given host (tests), which outlives the window.
    explicit CDuiLive(IMeetingHost& host);
    ~CDuiLive() override;

    const wchar_t* GetWindowClassName() const override { return L"UILiveMainWnd"; }
    static CDuiMessageMap<CDuiLive> MessageMap();
    static CDuiNotifyMap<CDuiLive> NotifyMap();

    // Tests shorten the bar-hiding rest (default BarHiding::kDefaultRestMs).
    void setBarRestMs(UINT ms) { barRestMs_ = ms; }
    // Tests shorten the signalling's waits: the re-stop period, the toggles' wait for the echo,
    // the reconnect road's bounds.
    void setShareRestopMs(UINT ms) { media_.setShareRestopMs(ms); }
    void setToggleWaitMs(UINT ms) { toggleWaitMs_ = ms; }
    void setReconnectLimits(const ZuvraKestrum::Live::ReconnectRoad::Limits& limits) {
        reconnectRoad_ = ZuvraKestrum::Live::ReconnectRoad(limits);
    }

    // What tests read.
    const ZuvraKestrum::Live::MeetingRoster& roster() const { return *roster_; }
    HWND videoWindow() const { return media_.video().handle(); }
    const ZuvraKestrum::Live::ToolBarState& toolBar() const { return toolBarState_; }
    const ZuvraKestrum::Live::BarHiding& barHiding() const { return bars_; }
    bool engineJoined() const { return media_.engineJoined(); }
    CDuiRemoteToolBar* tileStrip() const override { return strip_; }
    CDuiUserList* participantsPanel() const override { return userList_; }
    CDuiChatList* chatPanel() const { return chatList_; }
    CDuiRemoteItem* selfTile() const override { return selfTile_; }
    CDuiScreenShare* sharePicker() const { return media_.sharePicker(); }
    const ZuvraKestrum::Live::ReconnectRoad& reconnectRoad() const { return reconnectRoad_; }
    bool stopShareRequested() const { return media_.stopShareRequested(); }

private:
    // ---- dui_live.cpp: the frame, set-up, tool bar and leave.
    void OnCreate();
    void OnNcPaint();
    void OnClose();
    void OnDestroy();
    LRESULT OnNcHitTest(POINT screen);
    LRESULT OnSysCommand(SystemCommand command);
    // A row of RowMode::kPassOn.
    void OnSize(SizeChange size);
    // Through the timer table: passes the message on, apart from the reconnect road's deadline,
    // after which the window may be gone.
    bool OnTimer(UINT_PTR timer);
    static CTimerTable<CDuiLive> TimerTable();
    // The rows of the media part's handlers and timers.
    template <auto kHandler>
    void ToMedia(typename ZuvraKestrum::Live::MediaHandler<decltype(kHandler)>::Argument payload) {
        (media_.*kHandler)(std::move(payload));
    }
    template <void (CLiveMedia::*kTick)()>
    void MediaTick() {
        (media_.*kTick)();
    }
    void OnBarTimer();
    void OnMouseMove();
    void OnNcLButtonDown();
    void OnUserListHide();
    void OnChatListHide();
    void LayOutChildren();
    void ApplyBars(ZuvraKestrum::Live::BarHiding::Step step);
    void DoInitWnd(DuiLib::TNotifyUI&);
    void DoMinimise(DuiLib::TNotifyUI&);
    void DoClose(DuiLib::TNotifyUI&);
    void DoMax(DuiLib::TNotifyUI&);
    void DoRestore(DuiLib::TNotifyUI&);
    void DoCollapse(DuiLib::TNotifyUI&);
    void DoExpand(DuiLib::TNotifyUI&);
    void DoMicOpt(DuiLib::TNotifyUI&);
    void DoCameraOpt(DuiLib::TNotifyUI&);
    void DoLeave(DuiLib::TNotifyUI&);
    void DoConfig(DuiLib::TNotifyUI&);
    void DoMsg(DuiLib::TNotifyUI&);
    void DoBubbleMsg(DuiLib::TNotifyUI&);
    void DoUserList(DuiLib::TNotifyUI&);
    void DoSmallLocal(DuiLib::TNotifyUI&);
    // Set-up at creation, and its steps.
    void SetUp();
    void CreatePanels();
    void TargetThisWindow(CKestrumCourse& course);
    void ShowSidePanels(const DuiLib::COptionUI* clicked = nullptr);
    // The unread-chat badge as the tool-bar state counts it.
    void ShowBadge();
    void SendMicrophone(bool mute);
    void SendCamera(bool mute);
    void LeaveMeeting();
    CKestrumZuvra* Engine() const;
    CKestrumCourse* Course() const;

    // ---- dui_live_signalling.cpp: the signalling's handlers.
    void OnSocketJoinSuccess(std::unique_ptr<PayloadOf<WM_SOCKET_JOIN_SUCCESS>>);
    void OnSocketUserJoin(std::unique_ptr<PayloadOf<WM_SOCKET_USER_JOIN>>);
    void OnSocketUserLeave(std::unique_ptr<PayloadOf<WM_SOCKET_USER_LEAVE>>);
    void OnSocketUserList(std::unique_ptr<PayloadOf<WM_SOCKET_USER_LIST>>);
    // The own record just taken; sharing: this user shared before it.
    void KeepOwnShare(bool sharing);
    void OnSocketUserInfo(std::unique_ptr<PayloadOf<WM_SOCKET_USER_INFO>>);
    void OnSocketRoomInfo(std::unique_ptr<PayloadOf<WM_SOCKET_ROOM_INFO>>);
    void OnSocketUserOperator(std::unique_ptr<PayloadOf<WM_SOCKET_USER_OPERATOR>>);
    void OnSocketUserMsg(std::unique_ptr<PayloadOf<WM_SOCKET_USER_MSG>>);
    void OnSocketUserError(std::unique_ptr<PayloadOf<WM_SOCKET_USER_ERROR>>);
    void OnSocketRequestResult(std::unique_ptr<PayloadOf<WM_SOCKET_REQUEST_RESULT>>);
    void OnSocketUserRequest(std::unique_ptr<PayloadOf<WM_SOCKET_USER_REQUEST>>);
    void OnSocketUserResponse(std::unique_ptr<PayloadOf<WM_SOCKET_USER_RESPONSE>>);
    void OnMsgBoxRequestMic(MsgBoxRequestInfo* record, bool accept);
    void OnMsgBoxRequestCamera(MsgBoxRequestInfo* record, bool accept);
    void OnSocketStatusOpen();
    void OnSocketStatusReconnect();
    void OnSocketStatusFail();
    void OnGetPhoto(std::unique_ptr<PayloadOf<WM_GET_PHOTO>>);
    void OnAccountError(std::unique_ptr<PayloadOf<WM_ACCOUNT_ERROR>>);
    void OnExchangeBig(std::unique_ptr<PayloadOf<WM_EXCHANGE_BIG>>);
    // Avatars: the next download the queue asks for.
    void FetchNextAvatar();
    void ApplyOwnStatus();
    // The own status bits: the meeting data's, and those every connection of the signalling
    // channel announces from now on (the library's reconnections included).
    void PublishOwnStatus(int status);
    int LocalStatus() const;
    void ShowHostNotice(const std::string& firstHost);
    void RefreshRoomSettings();
    // The socket list's records reach the views that show them (after every full list); places:
    // those of the only records a list kept in place changed.
    void RefreshStatus(const std::vector<size_t>* places = nullptr);
    void LeaveWithNotice(const std::wstring& text);
    void OnInvitationTimer(UINT_PTR timer);
    void OnRequestTimer(UINT_PTR timer);
    void OnToggleWaitTimer();
    void OnReconnectDeadline();
    void StopWaiting(int kind, const std::string& uid);
    void AnswerRequestBox(bool microphone, MsgBoxRequestInfo* record, bool accept);
    void WaitForOwnEcho();
    void FreeOwnToggles();
    void ApplyReconnectStep(const ZuvraKestrum::Live::ReconnectRoad::Step& step);
    // A chat message reaches the chat and the badge's count.
    void ShowChatMessage(const std::string& uid, const std::string& text);

    // ---- dui_live_media.cpp: the roster's decisions, the self tile, and the window as its media
    // part's delegate.
    void ApplyOne(const ZuvraKestrum::Live::RosterAction& action);
    void OpenSelfTile(const UserInfoRecord& own);
    void CloseSelfTile();
    // The engine left the channel: the bar timer stops, and so do the media part's marks.
    void OnMediaLeaveChannel(std::unique_ptr<PayloadOf<WM_ENGINE_LEAVE_CHANNEL>> stats);
    void DoScreenShare(DuiLib::TNotifyUI&);
    ZuvraKestrum::Live::MeetingRoster& meetingRoster() override { return *roster_; }
    void applyRoster(const ZuvraKestrum::Live::RosterActions& actions) override;
    const ZuvraKestrum::Live::LiveLayout& layout() const override { return layout_; }
    RECT videoPlace() const override;
    void onChannelJoined() override;
    void onShareCancelled() override;
    void onVideoMouseMove() override;

    IMeetingHost& host_;
    CKestrumData& meeting_;
    // The skin's controls the window drives (OnCreate binds them; all null when one is missing).
    DuiLib::CControlUI* roomId_ = nullptr;
    DuiLib::CControlUI* reconnecting_ = nullptr;  // the title bar's reconnecting notice
    DuiLib::CControlUI* bigView_ = nullptr;       // "ncclientwnd"
    DuiLib::CControlUI* title_ = nullptr;
    DuiLib::CControlUI* toolBar_ = nullptr;  // "tagHor"
    // The big view's overlay: with bigView_, the media part's (CLiveMedia::BigViewControls).
    DuiLib::CControlUI* remoteName_ = nullptr;
    DuiLib::COptionUI* remoteMicMute_ = nullptr;
    DuiLib::COptionUI* remoteSpeech_ = nullptr;
    DuiLib::CControlUI* remoteNet_ = nullptr;
    DuiLib::CControlUI* hostMark_ = nullptr;  // "ScreenHostLab"
    DuiLib::CControlUI* collapse_ = nullptr;
    DuiLib::CControlUI* expand_ = nullptr;
    DuiLib::CControlUI* badge_ = nullptr;  // "bubbleMsg"
    DuiLib::COptionUI* chatOpt_ = nullptr;
    DuiLib::COptionUI* userListOpt_ = nullptr;
    DuiLib::COptionUI* micOpt_ = nullptr;
    DuiLib::COptionUI* cameraOpt_ = nullptr;
    DuiLib::COptionUI* shareOpt_ = nullptr;
    DuiLib::CControlUI* maximise_ = nullptr;
    DuiLib::CControlUI* restore_ = nullptr;
    std::unique_ptr<ZuvraKestrum::Live::MeetingRoster> roster_;
    ZuvraKestrum::Live::ToolBarState toolBarState_;
    ZuvraKestrum::Live::BarHiding bars_;
    ZuvraKestrum::Live::LiveLayout layout_{};
    UINT barRestMs_ = ZuvraKestrum::Live::BarHiding::kDefaultRestMs;
    bool leaving_ = false;  // leave or close ran: events are only freed from now on
    // The connection came back while this user shared: the room may have forgotten the share.
    bool shareToRestore_ = false;
    bool tilesBehind_ = true;  // the tiles may not show the last list or the room's mode
    bool localAudioMuted_ = false;
    bool localVideoMuted_ = false;
    SIZE client_{};  // the client size of the last layout
    CDuiRemoteToolBar* strip_ = nullptr;
    CDuiUserList* userList_ = nullptr;
    CDuiChatList* chatList_ = nullptr;
    CDuiRemoteItem* selfTile_ = nullptr;
    ZuvraKestrum::Live::OwnToggleWait ownToggles_;
    UINT toggleWaitMs_ = ZuvraKestrum::Live::OwnToggleWait::kWaitMs;
    ZuvraKestrum::Live::HostNotice hostNotice_;
    ZuvraKestrum::Live::ReconnectRoad reconnectRoad_;
    std::thread connectThread_;
    ZuvraKestrum::Live::DelayedCall reconnect_;
    std::thread closeThread_;
    // After the members it reads through its delegate (the roster, the layout, the panels).
    CLiveMedia media_{*this, host_, meeting_, *this};
};
