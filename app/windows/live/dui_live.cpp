// CDuiLive's frame: its tables, creation and set-up, layout, sizing and the bars, the tool bar,
// and leave and close. The signalling's handlers are in dui_live_signalling.cpp; the engine's,
// the big view and the screen share are the media part's (live_media.cpp), whose window side is
// in dui_live_media.cpp.

#include "app/windows/live/dui_live.h"

#include <cwchar>
#include <utility>

#include "app/windows/chat/dui_chat_list.h"
#include "app/windows/live/dui_live_parts.h"
#include "app/windows/meeting/meeting_host.h"
#include "app/windows/participants/dui_user_list.h"
#include "app/windows/settings/settings_host.h"
#include "app/windows/skeleton/control_binding.h"
#include "app/windows/skeleton/event_receivers.h"
#include "app/windows/skeleton/frame_geometry.h"
#include "app/windows/skeleton/message_families.h"
#include "app/windows/tiles/dui_remote_item.h"
#include "app/windows/tiles/dui_remote_tool_bar.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/core/msgbox_ansy_manager.h"
#include "kestrum/core/room_roles.h"

using ZuvraKestrum::Live::CreatePanel;
using ZuvraKestrum::Live::HandleOf;
using ZuvraKestrum::Live::MeetingRoster;
using ZuvraKestrum::Live::MoveTo;
using ZuvraKestrum::Live::Only;

CDuiLive::CDuiLive(IMeetingHost& host)
    : CKestrumDump("CDuiLive", true, false, false, L""), host_(host), meeting_(host.meeting()) {}

CDuiLive::~CDuiLive() = default;

CDuiMessageMap<CDuiLive> CDuiLive::MessageMap() {
    CDuiMessageMap<CDuiLive> table = StandardMessageMap(&CDuiLive::OnCreate);
    table.on<WM_NCPAINT>(&CDuiLive::OnNcPaint)
        .on<WM_DESTROY>(&CDuiLive::OnDestroy, RowMode::kPassOn)
        .on<WM_CLOSE>(&CDuiLive::OnClose, RowMode::kPassOn)
        .on<WM_NCHITTEST>(&CDuiLive::OnNcHitTest)
        .on<WM_SYSCOMMAND>(&CDuiLive::OnSysCommand)
        .on<WM_SIZE>(&CDuiLive::OnSize, RowMode::kPassOn)
        .on<WM_TIMER>(&CDuiLive::OnTimer)
        .on<WM_MOUSEMOVE>(&CDuiLive::OnMouseMove, RowMode::kPassOn)
        .on<WM_NCLBUTTONDOWN>(&CDuiLive::OnNcLButtonDown, RowMode::kPassOn)
        .on<WM_LBUTTONDBLCLK>(&CDuiFrameWindow::OnPassOn, RowMode::kPassOn)
        .on<WM_ACCOUNT_ERROR>(&CDuiLive::OnAccountError)
        .on<WM_GET_PHOTO>(&CDuiLive::OnGetPhoto)
        .on<WM_SOCKET_USER_ERROR>(&CDuiLive::OnSocketUserError)
        .on<WM_SOCKET_JOIN_SUCCESS>(&CDuiLive::OnSocketJoinSuccess)
        .on<WM_SOCKET_USER_JOIN>(&CDuiLive::OnSocketUserJoin)
        .on<WM_SOCKET_USER_LEAVE>(&CDuiLive::OnSocketUserLeave)
        .on<WM_SOCKET_USER_LIST>(&CDuiLive::OnSocketUserList)
        .on<WM_SOCKET_ROOM_INFO>(&CDuiLive::OnSocketRoomInfo)
        .on<WM_SOCKET_USER_INFO>(&CDuiLive::OnSocketUserInfo)
        .on<WM_SOCKET_USER_OPERATOR>(&CDuiLive::OnSocketUserOperator)
        .on<WM_SOCKET_USER_MSG>(&CDuiLive::OnSocketUserMsg)
        .on<WM_SOCKET_REQUEST_RESULT>(&CDuiLive::OnSocketRequestResult)
        .on<WM_SOCKET_USER_REQUEST>(&CDuiLive::OnSocketUserRequest)
        .on<WM_SOCKET_USER_RESPONSE>(&CDuiLive::OnSocketUserResponse)
        .on<WM_SOCKET_OPEN>(&CDuiLive::OnSocketStatusOpen)
        .on<WM_SOCKET_RECONNECT>(&CDuiLive::OnSocketStatusReconnect)
        .on<WM_SOCKET_FAIL>(&CDuiLive::OnSocketStatusFail)
        .on<WM_ROOM_CTRL>(&CDuiLive::ToMedia<&CLiveMedia::OnMeetingRoomCtrl>)
        .on<WM_ENGINE_JOIN_CHANNEL_SUCCESS>(
            &CDuiLive::ToMedia<&CLiveMedia::OnMediaJoinChannelSuccess>)
        .on<WM_ENGINE_LEAVE_CHANNEL>(&CDuiLive::OnMediaLeaveChannel, RowMode::kHandled)
        .on<WM_ENGINE_NETWORK_QUALITY>(&CDuiLive::ToMedia<&CLiveMedia::OnMediaNetworkQuality>)
        .on<WM_ENGINE_USER_JOINED>(&CDuiLive::ToMedia<&CLiveMedia::OnMediaUserJoined>)
        .on<WM_ENGINE_USER_OFFLINE>(&CDuiLive::ToMedia<&CLiveMedia::OnMediaUserLeave>)
        .on<WM_ENGINE_FIRST_LOCAL_VIDEO_FRAME>(
            &CDuiLive::ToMedia<&CLiveMedia::OnMediaFirstLocalVideoFrame>)
        .on<WM_ENGINE_FIRST_REMOTE_VIDEO_FRAME>(
            &CDuiLive::ToMedia<&CLiveMedia::OnMediaFirstRemoteVideoFrame>)
        .on<WM_ENGINE_AUDIO_VOLUME_INDICATION>(
            &CDuiLive::ToMedia<&CLiveMedia::OnMediaAudioVolumeIndication>)
        .on<WM_ENGINE_USER_ENABLE_VIDEO>(&CDuiLive::ToMedia<&CLiveMedia::OnMediaEnableVideo>)
        .on<WM_ENGINE_USER_ENABLE_LOCAL_VIDEO>(
            &CDuiLive::ToMedia<&CLiveMedia::OnMediaEnableLocalVideo>)
        .on<WM_ENGINE_ACTIVE_SPEAKER>(&CDuiLive::ToMedia<&CLiveMedia::OnMediaActiveSpeaker>)
        .on<WM_ENGINE_USER_MUTE_AUDIO>(&CDuiLive::ToMedia<&CLiveMedia::OnMediaMuteAudio>)
        .on<WM_ENGINE_USER_MUTE_VIDEO>(&CDuiLive::ToMedia<&CLiveMedia::OnMediaMuteVideo>)
        .on<WM_EXCHANGE_BIG>(&CDuiLive::OnExchangeBig)
        .on<WM_USERLIST_CLOSED>(&CDuiLive::OnUserListHide)
        .on<WM_CHATLIST_CLOSED>(&CDuiLive::OnChatListHide)
        .on<WM_SCREENSHARE_CHOSEN>(&CDuiLive::ToMedia<&CLiveMedia::OnScreenShareChosen>,
                                   RowMode::kHandled)
        .on<WM_MSGBOX_REQUEST_MIC_RET>(&CDuiLive::OnMsgBoxRequestMic)
        .on<WM_MSGBOX_REQUEST_CAMERA_RET>(&CDuiLive::OnMsgBoxRequestCamera)
        // The rows above of the families are event rows, but for the two that must run while the
        // window leaves: the engine's leave stops the local video, and the picker's answer
        // closes the picker and gives the window back. Every other message of the families only
        // has its payload freed: what the window does not act on (yet) never leaks.
        .receives(kCourseMessages)
        .receives(kEngineMessages)
        .receives(kWindowMessages);
    return table;
}

CDuiNotifyMap<CDuiLive> CDuiLive::NotifyMap() {
    CDuiNotifyMap<CDuiLive> table;
    table.add(L"windowinit", L"MainFrame", &CDuiLive::DoInitWnd)
        .add(L"click", L"minbtn", &CDuiLive::DoMinimise)
        .add(L"click", L"closebtn", &CDuiLive::DoClose)
        .add(L"click", L"maxbtn", &CDuiLive::DoMax)
        .add(L"click", L"restorebtn", &CDuiLive::DoRestore)
        .add(L"click", L"collapseLayoutbtn", &CDuiLive::DoCollapse)
        .add(L"click", L"expandLayoutbtn", &CDuiLive::DoExpand)
        .add(L"click", L"micopt", &CDuiLive::DoMicOpt)
        .add(L"click", L"cameraopt", &CDuiLive::DoCameraOpt)
        .add(L"click", L"leavebtn", &CDuiLive::DoLeave)
        .add(L"click", L"roomconfigbtn", &CDuiLive::DoConfig)
        .add(L"click", L"shareOpt", &CDuiLive::DoScreenShare)
        .add(L"click", L"msgOpt", &CDuiLive::DoMsg)
        .add(L"click", L"bubbleMsg", &CDuiLive::DoBubbleMsg)
        .add(L"click", L"userlistOpt", &CDuiLive::DoUserList)
        .add(L"click", L"smallLocalOpt", &CDuiLive::DoSmallLocal);
    return table;
}

CTimerTable<CDuiLive> CDuiLive::TimerTable() {
    CTimerTable<CDuiLive> table;
    table.on(kBarTimer, &CDuiLive::OnBarTimer)
        .on(CLiveMedia::kSpeakerTimer, &CDuiLive::MediaTick<&CLiveMedia::OnSpeakerTimer>)
        .on(CLiveMedia::kVolumeTimer, &CDuiLive::MediaTick<&CLiveMedia::OnVolumeTimer>)
        .on(kAvatarTimer, &CDuiLive::FetchNextAvatar)
        .on(CMsgBoxAnsyManager::kMicRequestTimer, &CDuiLive::OnRequestTimer)
        .on(CMsgBoxAnsyManager::kCameraRequestTimer, &CDuiLive::OnRequestTimer)
        .on(CLiveMedia::kShareRestopTimer, &CDuiLive::MediaTick<&CLiveMedia::OnShareRestopTimer>)
        .on(kToggleWaitTimer, &CDuiLive::OnToggleWaitTimer)
        .on(kReconnectDeadlineTimer, &CDuiLive::OnReconnectDeadline, RowMode::kHandled)
        .on(CLiveMedia::kBigViewTimer, &CDuiLive::MediaTick<&CLiveMedia::OnBigViewTimer>)
        .range(ZuvraKestrum::Live::InvitationTimers::kFirst,
               ZuvraKestrum::Live::InvitationTimers::kLast, &CDuiLive::OnInvitationTimer);
    return table;
}

bool CDuiLive::OnTimer(UINT_PTR timer) {
    static const CTimerTable<CDuiLive> table = TimerTable();
    return table.dispatch(*this, timer);
}

CKestrumZuvra* CDuiLive::Engine() const { return host_.engine(); }
CKestrumCourse* CDuiLive::Course() const { return host_.course(); }

// ---- Frame ----------------------------------------------------------------------------------

void CDuiLive::OnCreate() {
    roster_ = std::make_unique<MeetingRoster>(g_language != 0 ? 1 : 0, meeting_.streamId);
    const int status = meeting_.status;
    localAudioMuted_ = (status & kStatusMicOff) != 0;
    localVideoMuted_ = (status & kStatusCameraOff) != 0;

    if (!BuildLanguageSkin(L"Live", nullptr, *this)) return;
    // The handlers rely on every control: a skin without them leaves the window inert.
    BindControls(*this,
                 {{L"roomid", &CDuiLive::roomId_},
                  {L"reconnecting", &CDuiLive::reconnecting_},
                  {L"ncclientwnd", &CDuiLive::bigView_},
                  {L"title", &CDuiLive::title_},
                  {L"tagHor", &CDuiLive::toolBar_},
                  {L"remotename", &CDuiLive::remoteName_},
                  {L"remoteMicMuteOpt", &CDuiLive::remoteMicMute_},
                  {L"remoteSpeechOpt", &CDuiLive::remoteSpeech_},
                  {L"remoteNet", &CDuiLive::remoteNet_},
                  {L"ScreenHostLab", &CDuiLive::hostMark_},
                  {L"collapseLayoutbtn", &CDuiLive::collapse_},
                  {L"expandLayoutbtn", &CDuiLive::expand_},
                  {L"bubbleMsg", &CDuiLive::badge_},
                  {L"msgOpt", &CDuiLive::chatOpt_},
                  {L"userlistOpt", &CDuiLive::userListOpt_},
                  {L"micopt", &CDuiLive::micOpt_},
                  {L"cameraopt", &CDuiLive::cameraOpt_},
                  {L"shareOpt", &CDuiLive::shareOpt_},
                  {L"maxbtn", &CDuiLive::maximise_},
                  {L"restorebtn", &CDuiLive::restore_}},
                 *this);
    if (!ready()) return;
    micOpt_->Selected(localAudioMuted_, false);
    cameraOpt_->Selected(localVideoMuted_, false);
    SetUp();
}

void CDuiLive::OnNcPaint() {
    if (ready()) media_.showNoVideoPicture();
}

void CDuiLive::OnClose() {
    KESTRUM_LOG(Level_Info, "");
    CloseSelfTile();
    media_.closePicker();
    // The panels are children: they go with this window; only the pointers are forgotten.
    strip_ = nullptr;
    userList_ = nullptr;
    chatList_ = nullptr;
}

// The frame stops the bridge and the engine posting here after this row.
void CDuiLive::OnDestroy() {
    // The threads only call the bridge, which never waits for this thread: the joins end. The
    // close thread joins the reconnection itself, so it goes first: one joiner at a time.
    if (closeThread_.joinable()) closeThread_.join();
    reconnect_.join();
    if (connectThread_.joinable()) connectThread_.join();
    KillTimer(GetHWND(), kBarTimer);
    if (!bars_.barsShown()) ShowCursor(TRUE);
}

LRESULT CDuiLive::OnNcHitTest(POINT point) {
    ScreenToClient(GetHWND(), &point);
    RECT client;
    GetClientRect(GetHWND(), &client);
    const RECT band = ZuvraKestrum::Frame::CaptionBand(client, paintManager_.GetCaptionRect());
    DuiLib::CControlUI* under = paintManager_.FindControl(point);
    const wchar_t* kind = under ? under->GetClass() : nullptr;
    const bool clickable =
        kind && (std::wcscmp(kind, L"Button") == 0 || std::wcscmp(kind, L"Option") == 0);
    return ZuvraKestrum::Live::HitTest(point, SIZE{client.right, client.bottom},
                                       paintManager_.GetSizeBox(), band,
                                       IsZoomed(GetHWND()) != FALSE, clickable);
}

LRESULT CDuiLive::OnSysCommand(SystemCommand command) {
    if (command.kind() == SC_CLOSE) {
        // The system close ends the program; "closebtn" only leaves the meeting.
        PostQuitMessage(0);
        return 0;
    }
    const bool wasZoomed = IsZoomed(GetHWND()) != FALSE;
    const LRESULT result =
        DuiLib::CWindowWnd::HandleMessage(WM_SYSCOMMAND, command.id, command.lParam);
    const bool zoomed = IsZoomed(GetHWND()) != FALSE;
    if (ready() && zoomed != wasZoomed) {
        if (!zoomed) CenterWindow();
        maximise_->SetVisible(!zoomed);
        restore_->SetVisible(zoomed);
    }
    return result;
}

void CDuiLive::OnSize(SizeChange size) {
    // The region needs the corner size; the layout is needed whenever the window shows.
    CDuiFrameWindow::OnSize(size);
    if (!ready() || IsIconic(GetHWND())) return;
    const SIZE client = size.client;
    client_ = client;
    const bool filling = size.kind == SIZE_MAXIMIZED || IsZoomed(GetHWND());
    if (filling && !bars_.maximised()) {
        POINT cursor;
        GetCursorPos(&cursor);
        KESTRUM_LOG(Level_Info, " Max Is Now");
        ApplyBars(bars_.onMaximised(cursor));
    } else if (!filling && bars_.maximised()) {
        KillTimer(GetHWND(), kBarTimer);
        ApplyBars(bars_.onRestored());
    }
    layout_ = ZuvraKestrum::Live::LayOut(client, title_->GetPos(), toolBar_->GetPos());
    LayOutChildren();
    media_.showNoVideoPicture();
}

void CDuiLive::LayOutChildren() {
    media_.video().moveTo(videoPlace());
    MoveTo(HandleOf(strip_), layout_.strip);
    MoveTo(HandleOf(userList_), layout_.panel);
    MoveTo(HandleOf(chatList_), layout_.panel);
    MoveTo(HandleOf(selfTile_), layout_.selfTile);
}

void CDuiLive::ApplyBars(ZuvraKestrum::Live::BarHiding::Step step) {
    using Step = ZuvraKestrum::Live::BarHiding::Step;
    if (step == Step::kNothing || !ready()) return;
    if (step == Step::kHideBars) {
        KillTimer(GetHWND(), kBarTimer);
        ShowCursor(FALSE);
        KESTRUM_LOG(Level_Info, " Hide (%d,%d,%d,%d)", 0, 0, static_cast<int>(client_.cx),
                    static_cast<int>(client_.cy));
        toolBar_->SetVisible(false);
        title_->SetVisible(false);
        media_.video().moveTo(RECT{0, 0, client_.cx, client_.cy});
        return;
    }
    if (bars_.maximised()) SetTimer(GetHWND(), kBarTimer, barRestMs_, nullptr);
    if (step == Step::kShowBars) {
        toolBar_->SetVisible(true);
        title_->SetVisible(true);
        media_.video().moveTo(layout_.video);
        ShowCursor(TRUE);
    }
}

void CDuiLive::OnMouseMove() {
    POINT cursor;
    GetCursorPos(&cursor);
    ApplyBars(bars_.onMouseMoved(cursor));
}

void CDuiLive::OnNcLButtonDown() { SetFocus(GetHWND()); }

void CDuiLive::OnBarTimer() {
    POINT cursor;
    GetCursorPos(&cursor);
    ApplyBars(bars_.onTimerTicked(cursor, toolBarState_.anyPanelOpen()));
}

// ---- Set-up ---------------------------------------------------------------------------------

// Done while the window is created, before its first layout and paint, so that the signalling
// connects while the window lays itself out and paints. The connection is started first: its
// events are posted, and none is handled before this returns, so the child windows and the
// engine's set-up are in place before the first of them, as they were when the set-up waited
// for the first paint.
void CDuiLive::SetUp() {
    KESTRUM_LOG(Level_Info, "()");
    CKestrumCourse* course = Course();
    TargetThisWindow(*course);
    roomId_->SetText(L"");
    // The window joins the thread when it goes.
    connectThread_ = std::thread([course] { course->connectSocket(); });
    media_.createVideoWindow(
        {bigView_, remoteName_, remoteMicMute_, remoteSpeech_, remoteNet_, hostMark_});
    CreatePanels();
    media_.setUpEngine(localAudioMuted_, localVideoMuted_);
    for (HWND panel : {HandleOf(strip_), HandleOf(userList_), HandleOf(chatList_)}) {
        if (panel) ::ShowWindow(panel, SW_HIDE);
    }
}

// The bridge and the engine post here from now on, until the window leaves or goes; the join
// window, which stays, takes the engine's events again then.
void CDuiLive::TargetThisWindow(CKestrumCourse& course) {
    if (CKestrumZuvra* engine = Engine()) {
        registerWith(*engine, &ReceiveEngineEvents,
                     host_.dialogs().dialogWindow(ProgramDialogs::kLoginDlg));
    }
    registerWith(course.targetWindow, &TargetWindow);
}

// The first layout has given the title and tool bars their places.
void CDuiLive::DoInitWnd(DuiLib::TNotifyUI&) {
    RECT client;
    GetClientRect(GetHWND(), &client);
    layout_ = ZuvraKestrum::Live::LayOut(SIZE{client.right, client.bottom}, title_->GetPos(),
                                         toolBar_->GetPos());
    LayOutChildren();
    media_.showNoVideoPicture();
}

void CDuiLive::CreatePanels() {
    strip_ = CreatePanel(new CDuiRemoteToolBar(host_), GetHWND(), L"Slider",
                         ZuvraKestrum::Live::kStripWidth, 692);
    userList_ = CreatePanel(new CDuiUserList(host_), GetHWND(), L"UserList",
                            ZuvraKestrum::Live::kPanelWidth, 692);
    chatList_ = CreatePanel(new CDuiChatList(host_), GetHWND(), L"ChatList",
                            ZuvraKestrum::Live::kPanelWidth, 692);
}

// ---- Tool bar -------------------------------------------------------------------------------

void CDuiLive::DoMinimise(DuiLib::TNotifyUI&) {
    ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CDuiLive::DoMax(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

void CDuiLive::DoRestore(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_RESTORE, 0);
}

void CDuiLive::DoCollapse(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    toolBarState_.setStripOpen(true);
    ShowSidePanels();
}

void CDuiLive::DoExpand(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    toolBarState_.setStripOpen(false);
    ShowSidePanels();
}

// The panels and their toggles as the tool-bar state says.
// A clicked option toggles itself after its handler, so its selection is left to it.
void CDuiLive::ShowSidePanels(const DuiLib::COptionUI* clicked) {
    const ZuvraKestrum::Live::ToolBarState& state = toolBarState_;
    expand_->SetVisible(state.stripOpen());
    collapse_->SetVisible(!state.stripOpen());
    if (strip_) strip_->ShowWindow(state.stripOpen(), false);
    if (chatList_) chatList_->ShowWindow(state.chatOpen(), state.chatOpen());
    if (userList_) userList_->ShowWindow(state.participantsOpen(), state.participantsOpen());
    if (chatOpt_ != clicked) chatOpt_->Selected(state.chatOpen(), false);
    if (userListOpt_ != clicked) {
        userListOpt_->Selected(state.participantsOpen(), false);
    }
    ShowBadge();
}

void CDuiLive::ShowBadge() {
    badge_->SetText(toolBarState_.badgeText().c_str());
    badge_->SetVisible(toolBarState_.unread() > 0);
}

void CDuiLive::DoMicOpt(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    SendMicrophone(!micOpt_->IsSelected());
}

void CDuiLive::DoCameraOpt(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    SendCamera(!cameraOpt_->IsSelected());
}

// The toggle waits for the server's echo of the change (OnSocketUserOperator frees it, and so
// does whatever means no echo comes: ZuvraKestrum::Live::OwnToggleWait). A disabled option does not
// toggle itself after the click that disabled it: its selection is set here, for a click and for an
// accepted request alike.
void CDuiLive::SendMicrophone(bool mute) {
    micOpt_->Selected(mute, false);
    micOpt_->SetEnabled(false);
    WaitForOwnEcho();
    if (CKestrumZuvra* engine = Engine()) engine->MuteLocalAudio(mute);
    localAudioMuted_ = mute;
    PublishOwnStatus(LocalStatus());
    host_.roomctrlAudio(mute, Only(meeting_.uid));
}

void CDuiLive::SendCamera(bool mute) {
    cameraOpt_->Selected(mute, false);
    cameraOpt_->SetEnabled(false);
    WaitForOwnEcho();
    if (CKestrumZuvra* engine = Engine()) engine->MuteLocalVideo(mute);
    localVideoMuted_ = mute;
    PublishOwnStatus(LocalStatus());
    host_.roomctrlVideo(mute, Only(meeting_.uid));
}

void CDuiLive::DoMsg(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    toolBarState_.toggleChat();
    ShowSidePanels(chatOpt_);
}

// The badge opens the chat like its toggle, whose selection then follows.
void CDuiLive::DoBubbleMsg(DuiLib::TNotifyUI&) {
    toolBarState_.toggleChat();
    ShowSidePanels();
}

void CDuiLive::DoUserList(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    toolBarState_.toggleParticipants();
    ShowSidePanels(userListOpt_);
}

void CDuiLive::OnUserListHide() {
    toolBarState_.participantsClosed();
    ShowSidePanels();
}

void CDuiLive::OnChatListHide() {
    toolBarState_.chatClosed();
    ShowSidePanels();
}

void CDuiLive::DoSmallLocal(DuiLib::TNotifyUI&) {
    if (selfTile_) selfTile_->toggleVisible();
}

void CDuiLive::DoConfig(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    if (ZuvraKestrum::Roles::IsHost(ZuvraKestrum::Roles::FirstHostOf(meeting_), meeting_.uid)) {
        OpenSettingsDialog(host_.dialogs(), ProgramDialogs::kSetOwnRoomDlg);
        return;
    }
    // Opened from the meeting, its tabs lead to the audio and video settings.
    OpenSettingsDialog(host_.dialogs(), ProgramDialogs::kSetRoomDlg, true);
}

// ---- Leave and close ------------------------------------------------------------------------

void CDuiLive::DoLeave(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    LeaveMeeting();
    host_.dropInvitationBoxes();
}

void CDuiLive::DoClose(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    LeaveMeeting();
}

// What leave and close share: the join window comes back, the share ends, the window hides, the
// socket closes on its own thread and the engine leaves. The meeting's room state and its queued
// mutes go with it.
void CDuiLive::LeaveMeeting() {
    if (leaving_) return;
    leaving_ = true;
    stopAcceptingEvents();
    // First, shown over this window and painted: the user waits for the join window, not for
    // the meeting's end below. This window's close is only posted: it goes once this returns.
    host_.dialogs().closeDialog(ProgramDialogs::kLiveDlg);
    if (roster_->ownUser().shareId > 0) host_.roomctrlShare(false, Only(meeting_.uid));
    CKestrumCourse* course = Course();
    course->dropQueuedControls();
    course->forgetSpeakerAsker();
    meeting_.endMeeting();
    media_.leave();
    host_.leaveShareChannel();
    ShowWindow(false);
    // Neither the bridge nor the engine posts here any longer.
    unregisterAll();
    // The close waits for a connect still under way, so that no connection outlives the meeting.
    // The reconnection is cancelled first, so that it cannot open a connection after the close.
    reconnect_.cancel();
    closeThread_ = std::thread([this, course, connect = std::move(connectThread_)]() mutable {
        reconnect_.join();
        if (connect.joinable()) connect.join();
        course->closeSocket();
    });
    if (CKestrumZuvra* engine = Engine()) engine->LeaveChannel();
}
