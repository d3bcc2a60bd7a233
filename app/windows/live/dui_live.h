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
#include "app/windows/live/live_services.h"
#include "app/windows/live/media_marks.h"
#include "app/windows/live/meeting_events.h"
#include "app/windows/live/meeting_roster.h"
#include "app/windows/live/tool_bar_state.h"
#include "app/windows/skeleton/dui_window.h"
#include "app/windows/skeleton/window_messages.h"
#include "duilib/option_ui.h"
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
// owns when it is destroyed, so no thread outlives it; none shows a box (the reconnect notice is
// shown by the UI thread itself), so a join never waits on one.
//
// Modal boxes (the reconnect notice, the notice of a meeting's end) pump messages: the window may
// be gone when one returns, so what follows a box reads only what it copied before, or checks the
// window's alive token first.
//
// Payloads: every course and engine message that reaches the window has its record freed on
// every path: handled, ignored, while the window is leaving, and (queued) when it is destroyed,
// after it stopped being the bridge's target and the engine's receiver.
//
// Observers: the window never registers itself with the service library (avatars come through
// the course bridge), so neither leave nor close has to release any observer.
//
// Ownership: created by the dialog table (new), deletes itself in OnFinalMessage.
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
    static constexpr UINT kInterruptToastMs = 10000;
    static constexpr UINT kHostToastMs = 5000;
    // The own toggles' wait for the server's echo; the reconnect road's give-up.
    static constexpr UINT_PTR kToggleWaitTimer = 1402;
    static constexpr UINT_PTR kReconnectDeadlineTimer = 1403;
    // The window's own message: show the reconnect notice (posted by the reconnect road).
    static constexpr UINT kReconnectNoticeMessage = WM_APP + 0x130;

    // The program's window: the program's meeting host and services.
    CDuiLive();
    // A window over the given host and services (tests); both outlive the window.
    CDuiLive(IMeetingHost& host, const LiveServices& services);
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
    HWND videoWindow() const { return videoWnd_; }
    const live::ToolBarState& toolBar() const { return toolBarState_; }
    const live::BarHiding& barHiding() const { return bars_; }
    bool engineJoined() const { return joined_; }
    CDuiRemoteToolBar* tileStrip() const { return strip_; }
    CDuiUserList* participantsPanel() const { return userList_; }
    CDuiChatList* chatPanel() const { return chatList_; }
    CDuiRemoteItem* selfTile() const { return selfTile_; }
    CDuiScreenShare* sharePicker() const { return screenShare_; }
    const ZuvraKestrum::Live::ReconnectRoad& reconnectRoad() const { return reconnectRoad_; }
    bool stopShareRequested() const { return stopShareRequested_; }

private:
    struct Controls {
        DuiLib::CControlUI* roomId = nullptr;
        DuiLib::CControlUI* bigView = nullptr;  // "ncclientwnd"
        DuiLib::CControlUI* title = nullptr;
        DuiLib::CControlUI* toolBar = nullptr;  // "tagHor"
        DuiLib::CControlUI* remoteName = nullptr;
        DuiLib::COptionUI* remoteMicMute = nullptr;
        DuiLib::COptionUI* remoteSpeech = nullptr;
        DuiLib::CControlUI* remoteNet = nullptr;
        DuiLib::CControlUI* hostMark = nullptr;  // "ScreenHostLab"
        DuiLib::CControlUI* collapse = nullptr;
        DuiLib::CControlUI* expand = nullptr;
        DuiLib::CControlUI* badge = nullptr;  // "bubbleMsg"
        DuiLib::COptionUI* chat = nullptr;    // "msgOpt"
        DuiLib::COptionUI* userList = nullptr;
        DuiLib::COptionUI* mic = nullptr;
        DuiLib::COptionUI* camera = nullptr;
        DuiLib::COptionUI* share = nullptr;
        DuiLib::CControlUI* maximise = nullptr;
        DuiLib::CControlUI* restore = nullptr;
    };

    // Frame.
    LRESULT OnCreate(UINT, WPARAM, LPARAM, bool& handled);
    LRESULT OnNcPaint(UINT, WPARAM, LPARAM, bool& handled);
    LRESULT OnClose(UINT, WPARAM, LPARAM, bool& handled);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, bool& handled);
    LRESULT OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool& handled);
    LRESULT OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, bool& handled);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM lParam, bool& handled);
    LRESULT OnNcLButtonDown(UINT, WPARAM, LPARAM, bool& handled);
    LRESULT OnUserListHide(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnChatListHide(UINT, WPARAM, LPARAM, bool&);

    // Signalling (course bridge).
    LRESULT OnSocketJoinSuccess(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnSocketUserJoin(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnSocketUserLeave(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnSocketUserList(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnSocketUserInfo(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnSocketRoomInfo(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnSocketUserOperator(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnSocketUserMsg(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnSocketUserError(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnSocketRequestResult(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnSocketUserRequest(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnSocketUserResponse(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnMsgBoxRequestMic(UINT, WPARAM wParam, LPARAM lParam, bool&);
    LRESULT OnMsgBoxRequestCamera(UINT, WPARAM wParam, LPARAM lParam, bool&);
    LRESULT OnSocketStatusOpen(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnSocketStatusReconnect(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnSocketStatusFail(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnReconnectNotice(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnMeetingRoomCtrl(UINT, WPARAM wParam, LPARAM, bool&);
    void OnScreenShareChosen(std::unique_ptr<ScreenShareChosen> chosen);
    LRESULT OnGetPhoto(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnAccountError(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnExchangeBig(UINT, WPARAM wParam, LPARAM, bool&);

    // Engine.
    LRESULT OnMediaJoinChannelSuccess(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnMediaLeaveChannel(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnMediaNetworkQuality(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnMediaUserJoined(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnMediaUserLeave(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnMediaFirstLocalVideoFrame(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnMediaFirstRemoteVideoFrame(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnMediaAudioVolumeIndication(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnMediaEnableVideo(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnMediaEnableLocalVideo(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnMediaActiveSpeaker(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnMediaMuteAudio(UINT, WPARAM wParam, LPARAM, bool&);
    LRESULT OnMediaMuteVideo(UINT, WPARAM wParam, LPARAM, bool&);
    // Any other course or engine message: its payload is freed, nothing else happens.
    LRESULT OnPayloadIgnored(UINT message, WPARAM wParam, LPARAM, bool&);

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
    void StopTargeting();

    // Roster decisions and the big view.
    void Apply(const ZuvraKestrum::Live::RosterActions& actions);
    void ApplyOne(const ZuvraKestrum::Live::RosterAction& action);
    void MirrorParticipants();
    // Avatars: the next download the queue asks for, and what the own one's arrival changes.
    void FetchNextAvatar();
    void ApplyOwnAvatar();
    void OpenSelfTile(const UserInfoRecord& own);
    void CloseSelfTile();
    void AdjustLayout();
    void ShowNoVideoPicture();
    void UpdateHostMark();
    void SetBigViewSignal(int level);
    void ApplyOwnStatus();
    void JoinEngineChannel(const RoomInfoRecord& room);
    void ShowHostNotice(const std::string& firstHost);
    void RefreshRoomSettings();
    void RefreshStatus(const std::vector<UserInfoRecord>& users);
    void LeaveWithNotice(const std::wstring& text);
    void OnInvitationTimer(int eventId);
    void StopWaiting(int kind, const std::string& uid);
    void AnswerRequestBox(bool microphone, MsgBoxRequestInfo* record, bool accept);
    void SendMicrophone(bool mute);
    void SendCamera(bool mute);
    void WaitForOwnEcho();
    void FreeOwnToggles();
    void OnShareRestopTimer();
    void EndShareStop();
    void ApplyReconnectStep(const ZuvraKestrum::Live::ReconnectRoad::Step& step);
    void ClosePicker();
    void LayOutChildren();
    void ApplyBars(live::BarHiding::Step step);
    void ShowSidePanels(const DuiLib::COptionUI* clicked = nullptr);

    CKestrumZuvra* Engine() const;
    CKestrumCourse* Course() const { return services_.course(); }
    CVideoSourceTransfer* VideoSource() const { return services_.videoSource(); }

    IMeetingHost& host_;
    const LiveServices& services_;
    Controls controls_;
    std::unique_ptr<ZuvraKestrum::Live::MeetingRoster> roster_;
    ZuvraKestrum::Live::ActiveSpeakerMark speakerMark_;
    ZuvraKestrum::Live::SpeakingBatch speakingBatch_;
    live::ToolBarState toolBarState_;
    live::BarHiding bars_;
    live::LiveLayout layout_{};
    UINT barRestMs_ = live::BarHiding::kDefaultRestMs;
    bool ready_ = false;      // the skin has every control the window drives
    bool leaving_ = false;    // leave or close ran: events are only freed from now on
    bool joinAsked_ = false;  // the engine was asked to join the channel (once per window)
    bool joined_ = false;     // the engine reports it joined
    bool localAudioMuted_ = false;
    bool localVideoMuted_ = false;
    SIZE client_{};                // the client size of the last layout
    std::wstring noVideoPicture_;  // the big view's background as last set
    HWND videoWnd_ = nullptr;
    CDuiRemoteToolBar* strip_ = nullptr;
    CDuiUserList* userList_ = nullptr;
    CDuiChatList* chatList_ = nullptr;
    CDuiRemoteItem* selfTile_ = nullptr;
    CDuiScreenShare* screenShare_ = nullptr;  // the picker while it is open
    bool stopShareRequested_ = false;  // the user stopped sharing, the server has not said so
    UINT shareRestopMs_ = kShareRestopMs;
    live::OwnToggleWait ownToggles_;
    UINT toggleWaitMs_ = live::OwnToggleWait::kWaitMs;
    ZuvraKestrum::Live::HostNotice hostNotice_;
    ZuvraKestrum::Live::ReconnectRoad reconnectRoad_;
    // Cleared when the window is destroyed; a copy taken before a modal box says afterwards
    // whether the window is still there.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::thread connectThread_;
    DelayedCall reconnect_;
    std::thread closeThread_;
};
