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
#include "app/windows/live/media_marks.h"
#include "app/windows/live/meeting_events.h"
#include "app/windows/live/meeting_roster.h"
#include "app/windows/live/tool_bar_state.h"
#include "app/windows/skeleton/dui_window.h"
#include "app/windows/skeleton/timer_table.h"
#include "app/windows/skeleton/video_surface.h"
#include "app/windows/skeleton/window_messages.h"
#include "duilib/option_ui.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/engine_messages.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/records/room_info_record.h"

class IMeetingHost;
class CKestrumCourse;
class CKestrumZuvra;
class CDuiRemoteToolBar;
class CDuiRemoteItem;
class CDuiUserList;
class CDuiChatList;
class CDuiScreenShare;
class CVideoSourceTransfer;
struct MsgBoxRequestInfo;

// The in-meeting window (dialog 6): title bar, the big view with its overlay, the tool bar, the
// tile strip on the left, the chat and participants panels on the right, and the self tile.
// It receives the engine's events (0x601-0x625) and the course bridge's signalling events and
// results (0x509-0x52C) and applies them: the roster (MeetingRoster) decides who is shown where,
// the media marks decide signal and speaker marks, this class only moves windows and controls.
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
// Its members are defined by concern: the frame, set-up, tool bar and leave in dui_live.cpp, the
// signalling's handlers in dui_live_signalling.cpp, the engine's, the big view and the screen
// share in dui_live_media.cpp.
class CDuiLive : public CDuiWindow<CDuiLive>, public CKestrumDump {
public:
    // Timers of the window.
    static constexpr UINT_PTR kBarTimer = 10;
    static constexpr UINT_PTR kSpeakerTimer = 12;
    static constexpr UINT_PTR kAvatarTimer = 13;
    static constexpr UINT_PTR kVolumeTimer = 14;
    static constexpr UINT kSpeakerPeriodMs = 2000;
    static constexpr UINT kAvatarPeriodMs = 1000;
    static constexpr UINT kVolumePeriodMs = 1500;
    // Invitations this user sent: ZuvraKestrum::Live::InvitationTimers (1000-1199); requests
    // to this user: the invitation box manager's 1201 and 1202.
    static constexpr UINT_PTR kShareRestopTimer = 1401;
    static constexpr UINT kShareRestopMs = 10000;
    // The stop is sent again this many times at most: a server that never reports the end (the
    // share itself was refused, say) has no share to end.
    static constexpr int kShareRestopLimit = 6;
    static constexpr UINT kInterruptToastMs = 10000;
    static constexpr UINT kHostToastMs = 5000;
    // The own toggles' wait for the server's echo; the reconnect road's give-up.
    static constexpr UINT_PTR kToggleWaitTimer = 1402;
    static constexpr UINT_PTR kReconnectDeadlineTimer = 1403;
    // The big view shows its participant once the messages queued now are handled.
    static constexpr UINT_PTR kBigViewTimer = 1404;

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
    void setShareRestopMs(UINT ms) { shareRestopMs_ = ms; }
    void setToggleWaitMs(UINT ms) { toggleWaitMs_ = ms; }
    void setReconnectLimits(const ZuvraKestrum::Live::ReconnectRoad::Limits& limits) {
        reconnectRoad_ = ZuvraKestrum::Live::ReconnectRoad(limits);
    }

    // What tests read.
    const ZuvraKestrum::Live::MeetingRoster& roster() const { return *roster_; }
    HWND videoWindow() const { return video_.handle(); }
    const ZuvraKestrum::Live::ToolBarState& toolBar() const { return toolBarState_; }
    const ZuvraKestrum::Live::BarHiding& barHiding() const { return bars_; }
    bool engineJoined() const { return joined_; }
    CDuiRemoteToolBar* tileStrip() const { return strip_; }
    CDuiUserList* participantsPanel() const { return userList_; }
    CDuiChatList* chatPanel() const { return chatList_; }
    CDuiRemoteItem* selfTile() const { return selfTile_; }
    CDuiScreenShare* sharePicker() const { return screenShare_; }
    const ZuvraKestrum::Live::ReconnectRoad& reconnectRoad() const { return reconnectRoad_; }
    bool stopShareRequested() const { return stopShareRequested_; }

private:
    // Frame.
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
    void OnBarTimer();
    void OnMouseMove();
    void OnNcLButtonDown();
    void OnUserListHide();
    void OnChatListHide();

    // Signalling (course bridge).
    void OnSocketJoinSuccess(std::unique_ptr<PayloadOf<WM_SOCKET_JOIN_SUCCESS>>);
    void OnSocketUserJoin(std::unique_ptr<PayloadOf<WM_SOCKET_USER_JOIN>>);
    void OnSocketUserLeave(std::unique_ptr<PayloadOf<WM_SOCKET_USER_LEAVE>>);
    void OnSocketUserList(std::unique_ptr<PayloadOf<WM_SOCKET_USER_LIST>>);
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
    void OnMeetingRoomCtrl(std::unique_ptr<PayloadOf<WM_ROOM_CTRL>>);
    void OnScreenShareChosen(std::unique_ptr<ScreenShareChosen> chosen);
    void OnGetPhoto(std::unique_ptr<PayloadOf<WM_GET_PHOTO>>);
    void OnAccountError(std::unique_ptr<PayloadOf<WM_ACCOUNT_ERROR>>);
    void OnExchangeBig(std::unique_ptr<PayloadOf<WM_EXCHANGE_BIG>>);

    // Engine.
    void OnMediaJoinChannelSuccess(std::unique_ptr<PayloadOf<WM_ENGINE_JOIN_CHANNEL_SUCCESS>>);
    void OnMediaLeaveChannel(std::unique_ptr<PayloadOf<WM_ENGINE_LEAVE_CHANNEL>> stats);
    void OnMediaNetworkQuality(std::unique_ptr<PayloadOf<WM_ENGINE_NETWORK_QUALITY>> quality);
    void OnMediaUserJoined(std::unique_ptr<PayloadOf<WM_ENGINE_USER_JOINED>>);
    void OnMediaUserLeave(std::unique_ptr<PayloadOf<WM_ENGINE_USER_OFFLINE>>);
    void OnMediaFirstLocalVideoFrame(std::unique_ptr<PayloadOf<WM_ENGINE_FIRST_LOCAL_VIDEO_FRAME>>);
    void OnMediaFirstRemoteVideoFrame(
        std::unique_ptr<PayloadOf<WM_ENGINE_FIRST_REMOTE_VIDEO_FRAME>>);
    void OnMediaAudioVolumeIndication(
        std::unique_ptr<PayloadOf<WM_ENGINE_AUDIO_VOLUME_INDICATION>>);
    void OnMediaEnableVideo(std::unique_ptr<PayloadOf<WM_ENGINE_USER_ENABLE_VIDEO>>);
    void OnMediaEnableLocalVideo(std::unique_ptr<PayloadOf<WM_ENGINE_USER_ENABLE_LOCAL_VIDEO>>);
    void OnMediaActiveSpeaker(std::unique_ptr<PayloadOf<WM_ENGINE_ACTIVE_SPEAKER>>);
    void OnMediaMuteAudio(std::unique_ptr<PayloadOf<WM_ENGINE_USER_MUTE_AUDIO>>);
    void OnMediaMuteVideo(std::unique_ptr<PayloadOf<WM_ENGINE_USER_MUTE_VIDEO>>);

    // Notifications.
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
    void DoScreenShare(DuiLib::TNotifyUI&);
    void DoMsg(DuiLib::TNotifyUI&);
    void DoBubbleMsg(DuiLib::TNotifyUI&);
    void DoUserList(DuiLib::TNotifyUI&);
    void DoSmallLocal(DuiLib::TNotifyUI&);

    // Set-up at creation, and its steps.
    void SetUp();
    void CreateVideoWindow();
    void CreatePanels();
    void SetUpEngine();
    static LRESULT CALLBACK VideoWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Roads.
    void LeaveMeeting();
    void TargetThisWindow(CKestrumCourse& course);

    // Roster decisions and the big view.
    void Apply(const ZuvraKestrum::Live::RosterActions& actions);
    void ApplyOne(const ZuvraKestrum::Live::RosterAction& action);
    // Avatars: the next download the queue asks for.
    void FetchNextAvatar();
    void OpenSelfTile(const UserInfoRecord& own);
    void CloseSelfTile();
    void AdjustLayout();
    void ShowNoVideoPicture();
    void UpdateHostMark();
    void SetBigViewSignal(int level);
    void ApplyOwnStatus();
    // The own status bits: the meeting data's, and those every connection of the signalling
    // channel announces from now on (the library's reconnections included).
    void PublishOwnStatus(int status);
    int LocalStatus() const;
    void JoinEngineChannel(const RoomInfoRecord& room);
    void ShowHostNotice(const std::string& firstHost);
    void RefreshRoomSettings();
    // The socket list's records reach the views that show them (after every full list).
    void RefreshStatus();
    void LeaveWithNotice(const std::wstring& text);
    void OnInvitationTimer(UINT_PTR timer);
    void OnRequestTimer(UINT_PTR timer);
    void OnToggleWaitTimer();
    void OnReconnectDeadline();
    // The roster's big-view user in the big view: its video bound, its overlay laid out. Soon:
    // once the messages queued now are handled, so that a burst of hand-overs binds one.
    void ShowBigViewSoon();
    void OnBigViewTimer();
    void OnSpeakerTimer();
    void OnVolumeTimer();
    void StopWaiting(int kind, const std::string& uid);
    void AnswerRequestBox(bool microphone, MsgBoxRequestInfo* record, bool accept);
    void SendMicrophone(bool mute);
    void SendCamera(bool mute);
    void WaitForOwnEcho();
    void FreeOwnToggles();
    void OnShareRestopTimer();
    void StopSharing();
    void EndShareStop();
    void ApplyReconnectStep(const ZuvraKestrum::Live::ReconnectRoad::Step& step);
    void ClosePicker();
    void LayOutChildren();
    void ApplyBars(ZuvraKestrum::Live::BarHiding::Step step);
    void ShowSidePanels(const DuiLib::COptionUI* clicked = nullptr);
    // The unread-chat badge as the tool-bar state counts it.
    void ShowBadge();
    // A chat message reaches the chat and the badge's count.
    void ShowChatMessage(const std::string& uid, const std::string& text);

    CKestrumZuvra* Engine() const;
    CKestrumCourse* Course() const;
    CVideoSourceTransfer* VideoSource() const;

    IMeetingHost& host_;
    // The skin's controls the window drives (OnCreate binds them; all null when one is missing).
    DuiLib::CControlUI* roomId_ = nullptr;
    DuiLib::CControlUI* reconnecting_ = nullptr;  // the title bar's reconnecting notice
    DuiLib::CControlUI* bigView_ = nullptr;       // "ncclientwnd"
    DuiLib::CControlUI* title_ = nullptr;
    DuiLib::CControlUI* toolBar_ = nullptr;  // "tagHor"
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
    ZuvraKestrum::Live::ActiveSpeakerMark speakerMark_;
    ZuvraKestrum::Live::SpeakingBatch speakingBatch_;
    ZuvraKestrum::Live::ToolBarState toolBarState_;
    ZuvraKestrum::Live::BarHiding bars_;
    ZuvraKestrum::Live::LiveLayout layout_{};
    UINT barRestMs_ = ZuvraKestrum::Live::BarHiding::kDefaultRestMs;
    bool leaving_ = false;    // leave or close ran: events are only freed from now on
    bool joinAsked_ = false;  // the engine was asked to join the channel (once per window)
    bool joined_ = false;
    bool bigViewPending_ = false;  // the engine reports it joined
    bool localAudioMuted_ = false;
    bool localVideoMuted_ = false;
    SIZE client_{};                // the client size of the last layout
    std::wstring noVideoPicture_;  // the big view's background as last set
    CVideoSurface video_;          // the big view's video, below the panels
    CDuiRemoteToolBar* strip_ = nullptr;
    CDuiUserList* userList_ = nullptr;
    CDuiChatList* chatList_ = nullptr;
    CDuiRemoteItem* selfTile_ = nullptr;
    CDuiScreenShare* screenShare_ = nullptr;  // the picker while it is open
    bool stopShareRequested_ = false;  // the user stopped sharing, the server has not said so
    UINT shareRestopMs_ = kShareRestopMs;
    int shareRestops_ = 0;  // stops sent again since the user stopped
    ZuvraKestrum::Live::OwnToggleWait ownToggles_;
    UINT toggleWaitMs_ = ZuvraKestrum::Live::OwnToggleWait::kWaitMs;
    ZuvraKestrum::Live::HostNotice hostNotice_;
    ZuvraKestrum::Live::ReconnectRoad reconnectRoad_;
    std::thread connectThread_;
    ZuvraKestrum::Live::DelayedCall reconnect_;
    std::thread closeThread_;
};
