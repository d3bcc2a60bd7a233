#include "app/windows/live/dui_live.h"

#include <windowsx.h>

#include <cwchar>
#include <utility>

#include "app/windows/chat/dui_chat_list.h"
#include "app/windows/meeting/meeting_host.h"
#include "app/windows/participants/dui_user_list.h"
#include "app/windows/settings/settings_host.h"
#include "app/windows/share/dui_screen_share.h"
#include "app/windows/skeleton/frame_geometry.h"
#include "app/windows/skeleton/message_families.h"
#include "app/windows/skeleton/window_messages.h"
#include "app/windows/tiles/dui_remote_item.h"
#include "app/windows/tiles/dui_remote_tool_bar.h"
#include "app/windows/tiles/tile_rules.h"
#include "kestrum/common/utf.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/engine_messages.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/core/msgbox_ansy_manager.h"
#include "kestrum/core/room_roles.h"
#include "kestrum/core/util_display.h"
#include "kestrum/core/util_lock_guard.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/util_text.h"

using ZuvraKestrum::Live::MarkPlace;
using ZuvraKestrum::Live::MeetingRoster;
using ZuvraKestrum::Live::RosterAction;
using ZuvraKestrum::Live::RosterActions;
using ZuvraKestrum::Util::CStringToUtf8;
using ZuvraKestrum::Util::Utf8ToCString;

namespace {

// The engine renders the big view scaled to fit.
constexpr int kRenderFit = 2;
constexpr int kToastMs = 3000;
// The panels' windows: visible children that clip, with a frame the skins paint over.
constexpr DWORD kPanelStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
// Where the big view's video shows when nothing is drawn into it.
constexpr COLORREF kVideoBackground = RGB(0, 0, 0);
// The side of the big view's picture when it shows no video.
constexpr int kNoVideoPicture = 96;

DuiLib::COptionUI* FindOption(DuiLib::CPaintManagerUI& manager, const wchar_t* name) {
    return static_cast<DuiLib::COptionUI*>(manager.FindControl(name));
}

void MoveTo(HWND window, const RECT& place) {
    if (window) {
        MoveWindow(window, place.left, place.top, place.right - place.left,
                   place.bottom - place.top, TRUE);
    }
}

template <class Window>
HWND HandleOf(Window* window) {
    return window ? window->GetHWND() : nullptr;
}

// Creates window as a child panel of parent; the object is deleted again when it has no
// window, so a failed creation leaves nothing behind.
template <class Window>
Window* CreatePanel(Window* window, HWND parent, const wchar_t* name, int width, int height) {
    if (window->Create(parent, name, kPanelStyle, 0, 0, 0, width, height)) return window;
    delete window;
    return nullptr;
}

std::vector<std::string> Only(const std::string& uid) { return {uid}; }

}  // namespace

CDuiLive::CDuiLive(IMeetingHost& host, const LiveServices& services)
    : CKestrumDump("CDuiLive", true, false, false, ""), host_(host), services_(services) {}

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
        .on<WM_ACCOUNT_ERROR>(&CDuiLive::OnAccountError, RowMode::kEvent)
        .on<WM_GET_PHOTO>(&CDuiLive::OnGetPhoto, RowMode::kEvent)
        .on<WM_SOCKET_USER_ERROR>(&CDuiLive::OnSocketUserError)
        .on<WM_SOCKET_JOIN_SUCCESS>(&CDuiLive::OnSocketJoinSuccess, RowMode::kEvent)
        .on<WM_SOCKET_USER_JOIN>(&CDuiLive::OnSocketUserJoin, RowMode::kEvent)
        .on<WM_SOCKET_USER_LEAVE>(&CDuiLive::OnSocketUserLeave, RowMode::kEvent)
        .on<WM_SOCKET_USER_LIST>(&CDuiLive::OnSocketUserList, RowMode::kEvent)
        .on<WM_SOCKET_ROOM_INFO>(&CDuiLive::OnSocketRoomInfo, RowMode::kEvent)
        .on<WM_SOCKET_USER_INFO>(&CDuiLive::OnSocketUserInfo)
        .on<WM_SOCKET_USER_OPERATOR>(&CDuiLive::OnSocketUserOperator, RowMode::kEvent)
        .on<WM_SOCKET_USER_MSG>(&CDuiLive::OnSocketUserMsg, RowMode::kEvent)
        .on<WM_SOCKET_REQUEST_RESULT>(&CDuiLive::OnSocketRequestResult, RowMode::kEvent)
        .on<WM_SOCKET_USER_REQUEST>(&CDuiLive::OnSocketUserRequest, RowMode::kEvent)
        .on<WM_SOCKET_USER_RESPONSE>(&CDuiLive::OnSocketUserResponse, RowMode::kEvent)
        .on<WM_SOCKET_OPEN>(&CDuiLive::OnSocketStatusOpen, RowMode::kEvent)
        .on<WM_SOCKET_RECONNECT>(&CDuiLive::OnSocketStatusReconnect, RowMode::kEvent)
        .on<WM_SOCKET_FAIL>(&CDuiLive::OnSocketStatusFail, RowMode::kEvent)
        .on<WM_ROOM_CTRL>(&CDuiLive::OnMeetingRoomCtrl, RowMode::kEvent)
        .on<WM_ENGINE_JOIN_CHANNEL_SUCCESS>(&CDuiLive::OnMediaJoinChannelSuccess, RowMode::kEvent)
        .on<WM_ENGINE_LEAVE_CHANNEL>(&CDuiLive::OnMediaLeaveChannel)
        .on<WM_ENGINE_NETWORK_QUALITY>(&CDuiLive::OnMediaNetworkQuality, RowMode::kEvent)
        .on<WM_ENGINE_USER_JOINED>(&CDuiLive::OnMediaUserJoined, RowMode::kEvent)
        .on<WM_ENGINE_USER_OFFLINE>(&CDuiLive::OnMediaUserLeave, RowMode::kEvent)
        .on<WM_ENGINE_FIRST_LOCAL_VIDEO_FRAME>(&CDuiLive::OnMediaFirstLocalVideoFrame)
        .on<WM_ENGINE_FIRST_REMOTE_VIDEO_FRAME>(&CDuiLive::OnMediaFirstRemoteVideoFrame,
                                                RowMode::kEvent)
        .on<WM_ENGINE_AUDIO_VOLUME_INDICATION>(&CDuiLive::OnMediaAudioVolumeIndication,
                                               RowMode::kEvent)
        .on<WM_ENGINE_USER_ENABLE_VIDEO>(&CDuiLive::OnMediaEnableVideo)
        .on<WM_ENGINE_USER_ENABLE_LOCAL_VIDEO>(&CDuiLive::OnMediaEnableLocalVideo)
        .on<WM_ENGINE_ACTIVE_SPEAKER>(&CDuiLive::OnMediaActiveSpeaker, RowMode::kEvent)
        .on<WM_ENGINE_USER_MUTE_AUDIO>(&CDuiLive::OnMediaMuteAudio)
        .on<WM_ENGINE_USER_MUTE_VIDEO>(&CDuiLive::OnMediaMuteVideo)
        .on<WM_EXCHANGE_BIG>(&CDuiLive::OnExchangeBig, RowMode::kEvent)
        .on<WM_USERLIST_CLOSED>(&CDuiLive::OnUserListHide)
        .on<WM_CHATLIST_CLOSED>(&CDuiLive::OnChatListHide)
        .on<WM_SCREENSHARE_CHOSEN>(&CDuiLive::OnScreenShareChosen)
        .on<WM_MSGBOX_REQUEST_MIC_RET>(&CDuiLive::OnMsgBoxRequestMic)
        .on<WM_MSGBOX_REQUEST_CAMERA_RET>(&CDuiLive::OnMsgBoxRequestCamera)
        .on<kReconnectNoticeMessage>(&CDuiLive::OnReconnectNotice, RowMode::kEvent)
        // Every other message of the families only has its payload freed: what the window does
        // not act on (yet) never leaks.
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

CKestrumZuvra* CDuiLive::Engine() const { return host_.engine(); }

// ---- Frame --------------------------------------------------------------------------------

void CDuiLive::OnCreate() {
    roster_ = std::make_unique<MeetingRoster>(g_language != 0 ? 1 : 0, g_kestrumData->streamId);
    const int status = g_kestrumData->status;
    localAudioMuted_ = (status & kStatusMicOff) != 0;
    localVideoMuted_ = (status & kStatusCameraOff) != 0;

    const wchar_t* const skin = L"Live";
    if (!BuildLanguageSkin(skin, nullptr, *this)) return;
    DuiLib::CPaintManagerUI& pm = paintManager_;
    Controls& c = controls_;
    c.roomId = pm.FindControl(L"roomid");
    c.bigView = pm.FindControl(L"ncclientwnd");
    c.title = pm.FindControl(L"title");
    c.toolBar = pm.FindControl(L"tagHor");
    c.remoteName = pm.FindControl(L"remotename");
    c.remoteMicMute = FindOption(pm, L"remoteMicMuteOpt");
    c.remoteSpeech = FindOption(pm, L"remoteSpeechOpt");
    c.remoteNet = pm.FindControl(L"remoteNet");
    c.hostMark = pm.FindControl(L"ScreenHostLab");
    c.collapse = pm.FindControl(L"collapseLayoutbtn");
    c.expand = pm.FindControl(L"expandLayoutbtn");
    c.badge = pm.FindControl(L"bubbleMsg");
    c.chat = FindOption(pm, L"msgOpt");
    c.userList = FindOption(pm, L"userlistOpt");
    c.mic = FindOption(pm, L"micopt");
    c.camera = FindOption(pm, L"cameraopt");
    c.share = FindOption(pm, L"shareOpt");
    c.maximise = pm.FindControl(L"maxbtn");
    c.restore = pm.FindControl(L"restorebtn");
    ready_ = c.roomId && c.bigView && c.title && c.toolBar && c.remoteName && c.remoteMicMute &&
             c.remoteSpeech && c.remoteNet && c.hostMark && c.collapse && c.expand && c.badge &&
             c.chat && c.userList && c.mic && c.camera && c.share && c.maximise && c.restore;
    setAcceptingEvents(ready_);
    if (!ready_) {
        // The handlers rely on every control: a skin without them leaves the window inert.
        KESTRUM_LOG(Level_Error, "(%s) controls missing", CStringToUtf8(SkinFile(skin)).c_str());
        paintManager_.RemoveNotifier(this);
        return;
    }
    c.mic->Selected(localAudioMuted_, false);
    c.camera->Selected(localVideoMuted_, false);
    SetUp();
}

void CDuiLive::OnNcPaint() {
    if (ready_) ShowNoVideoPicture();
}

// What the big view shows under its video window: a person when the participant has neither
// microphone nor camera on, else a camera that is off. The picture keeps its size in the middle
// of the big view, whatever the window's size. Set again only when it changes: setting it
// repaints the whole big view, and every frame paint and layout asks for it.
void CDuiLive::ShowNoVideoPicture() {
    const int both = kStatusMicOff | kStatusCameraOff;
    const bool silent = (roster_->bigViewUser().status & both) == both;
    const RECT& place = layout_.video;
    const int left = (place.right - place.left - kNoVideoPicture) / 2;
    const int top = (place.bottom - place.top - kNoVideoPicture) / 2;
    wchar_t image[96];
    swprintf(image, 96, L"file='%ls' dest='%d,%d,%d,%d'",
             silent ? L"live/default.png" : L"live/no_signal_bk.png", left, top,
             left + kNoVideoPicture, top + kNoVideoPicture);
    if (noVideoPicture_ == image) return;
    noVideoPicture_ = image;
    controls_.bigView->SetBkImage(image);
}

void CDuiLive::OnClose() {
    KESTRUM_LOG(Level_Info, "");
    CloseSelfTile();
    ClosePicker();
    // The panels are children: they go with this window; only the pointers are forgotten.
    strip_ = nullptr;
    userList_ = nullptr;
    chatList_ = nullptr;
}

void CDuiLive::OnDestroy() {
    *alive_ = false;
    StopTargeting();
    // The threads only call the bridge, which never waits for this thread: the joins end. The
    // close thread joins the reconnection itself, so it goes first: one joiner at a time.
    if (closeThread_.joinable()) closeThread_.join();
    reconnect_.join();
    if (connectThread_.joinable()) connectThread_.join();
    KillTimer(GetHWND(), kBarTimer);
    if (!bars_.barsShown()) ShowCursor(TRUE);
}

// Neither the bridge nor the engine posts here any longer; the join window, which stays, takes
// the engine's events again.
void CDuiLive::StopTargeting() {
    HWND self = GetHWND();
    if (CKestrumCourse* course = Course())
        course->targetWindow.compare_exchange_strong(self, nullptr);
    HWND join = host_.dialogs().dialogWindow(ProgramDialogs::kLoginDlg);
    if (CKestrumZuvra* engine = Engine()) engine->SetMsgReceiver(join);
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
    return live::HitTest(point, SIZE{client.right, client.bottom}, paintManager_.GetSizeBox(), band,
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
    if (ready_ && zoomed != wasZoomed) {
        if (!zoomed) CenterWindow();
        controls_.maximise->SetVisible(!zoomed);
        controls_.restore->SetVisible(zoomed);
    }
    return result;
}

void CDuiLive::OnSize(SizeChange size) {
    // The region needs the corner size; the layout is needed whenever the window shows.
    CDuiFrameWindow::OnSize(size);
    if (!ready_ || IsIconic(GetHWND())) return;
    const SIZE client = size.client;
    client_ = client;
    const bool filling = size.kind == SIZE_MAXIMIZED || IsZoomed(GetHWND());
    if (filling && !bars_.maximised()) {
        POINT cursor;
        GetCursorPos(&cursor);
        KESTRUM_LOG(Level_Info, " Max Is Now");
        ApplyBars(bars_.Maximised(cursor));
    } else if (!filling && bars_.maximised()) {
        KillTimer(GetHWND(), kBarTimer);
        ApplyBars(bars_.Restored());
    }
    layout_ = live::LayOut(client, controls_.title->GetPos(), controls_.toolBar->GetPos());
    LayOutChildren();
    ShowNoVideoPicture();
}

void CDuiLive::LayOutChildren() {
    if (bars_.barsShown()) {
        MoveTo(videoWnd_, layout_.video);
    } else {
        MoveTo(videoWnd_, RECT{0, 0, client_.cx, client_.cy});
    }
    MoveTo(HandleOf(strip_), layout_.strip);
    MoveTo(HandleOf(userList_), layout_.panel);
    MoveTo(HandleOf(chatList_), layout_.panel);
    MoveTo(HandleOf(selfTile_), layout_.selfTile);
}

void CDuiLive::ApplyBars(live::BarHiding::Step step) {
    using Step = live::BarHiding::Step;
    if (step == Step::kNothing || !ready_) return;
    if (step == Step::kHideBars) {
        KillTimer(GetHWND(), kBarTimer);
        ShowCursor(FALSE);
        KESTRUM_LOG(Level_Info, " Hide (%d,%d,%d,%d)", 0, 0, static_cast<int>(client_.cx),
                    static_cast<int>(client_.cy));
        controls_.toolBar->SetVisible(false);
        controls_.title->SetVisible(false);
        MoveTo(videoWnd_, RECT{0, 0, client_.cx, client_.cy});
        return;
    }
    if (bars_.maximised()) SetTimer(GetHWND(), kBarTimer, barRestMs_, nullptr);
    if (step == Step::kShowBars) {
        controls_.toolBar->SetVisible(true);
        controls_.title->SetVisible(true);
        MoveTo(videoWnd_, layout_.video);
        ShowCursor(TRUE);
    }
}

void CDuiLive::OnMouseMove() {
    POINT cursor;
    GetCursorPos(&cursor);
    ApplyBars(bars_.MouseMoved(cursor));
}

void CDuiLive::OnNcLButtonDown() { SetFocus(GetHWND()); }

bool CDuiLive::OnTimer(UINT_PTR timer) {
    switch (timer) {
    case kBarTimer: {
        POINT cursor;
        GetCursorPos(&cursor);
        ApplyBars(bars_.TimerTicked(cursor, toolBarState_.anyPanelOpen()));
        break;
    }
    case kSpeakerTimer:
        for (const ZuvraKestrum::Live::SpeechMark& mark : speakerMark_.onTick(*roster_)) {
            if (mark.place == MarkPlace::kBigView) {
                controls_.remoteSpeech->SetVisible(mark.speaking);
                controls_.remoteSpeech->Selected(mark.speaking);
            } else if (mark.place == MarkPlace::kSelfTile) {
                if (selfTile_) selfTile_->setSpeechStatus(mark.speaking);
            } else if (strip_) {
                strip_->updateSpeechStatus(mark.streamId, mark.speaking);
            }
        }
        break;
    case kVolumeTimer:
        KillTimer(GetHWND(), kVolumeTimer);
        for (int32_t stream : speakingBatch_.take()) {
            if (userList_) userList_->updateAudioStatusByStream(stream, false);
        }
        break;
    case kAvatarTimer:
        FetchNextAvatar();
        break;
    case CMsgBoxAnsyManager::kMicRequestTimer:
    case CMsgBoxAnsyManager::kCameraRequestTimer:
        KillTimer(GetHWND(), timer);
        CMsgBoxAnsyManager::getInstance()->msgbox_timeout(static_cast<int>(timer), GetHWND());
        break;
    case kShareRestopTimer:
        OnShareRestopTimer();
        break;
    case kToggleWaitTimer:
        if (ownToggles_.Settle()) FreeOwnToggles();
        break;
    case kReconnectDeadlineTimer:
        // The meeting may end here: nothing of the window is touched after it.
        if (!leaving_) ApplyReconnectStep(reconnectRoad_.onDeadline());
        return true;
    default:
        if (ZuvraKestrum::Live::InvitationTimers::Contains(timer)) {
            OnInvitationTimer(static_cast<int>(timer));
        }
        break;
    }
    return false;
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
    if (CKestrumZuvra* engine = Engine()) engine->SetMsgReceiver(GetHWND());
    course->targetWindow = GetHWND();
    controls_.roomId->SetText(L"");
    // The window joins the thread when it goes.
    connectThread_ = std::thread([course] { course->connectSocket(); });
    CreateVideoWindow();
    CreatePanels();
    SetUpEngine();
    for (HWND panel : {HandleOf(strip_), HandleOf(userList_), HandleOf(chatList_)}) {
        if (panel) ::ShowWindow(panel, SW_HIDE);
    }
}

// The first layout has given the title and tool bars their places.
void CDuiLive::DoInitWnd(DuiLib::TNotifyUI&) {
    RECT client;
    GetClientRect(GetHWND(), &client);
    layout_ = live::LayOut(SIZE{client.right, client.bottom}, controls_.title->GetPos(),
                           controls_.toolBar->GetPos());
    LayOutChildren();
    ShowNoVideoPicture();
}

void CDuiLive::CreateVideoWindow() {
    const RECT& place = controls_.bigView->GetPos();
    videoWnd_ =
        CreateWindowExW(0, L"#32770", L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, place.left,
                        place.top, place.right - place.left, place.bottom - place.top, GetHWND(),
                        nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!videoWnd_) return;
    SetWindowLongPtrW(videoWnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(videoWnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&VideoWndProc));
}

LRESULT CALLBACK CDuiLive::VideoWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CDuiLive*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_MOUSEMOVE:
        if (self) {
            self->OnMouseMove();
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        ::PostMessageW(GetParent(window), message, wParam, lParam);
        return 0;
    case WM_ERASEBKGND: {
        // Dark until the engine draws its first frame.
        RECT client;
        GetClientRect(window, &client);
        HBRUSH brush = CreateSolidBrush(kVideoBackground);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        DeleteObject(brush);
        return 1;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void CDuiLive::CreatePanels() {
    strip_ =
        CreatePanel(new CDuiRemoteToolBar(host_), GetHWND(), L"Slider", live::kStripWidth, 692);
    userList_ =
        CreatePanel(new CDuiUserList(host_), GetHWND(), L"UserList", live::kPanelWidth, 692);
    chatList_ =
        CreatePanel(new CDuiChatList(host_), GetHWND(), L"ChatList", live::kPanelWidth, 692);
}

void CDuiLive::SetUpEngine() {
    CKestrumZuvra* engine = Engine();
    if (!engine) return;
    engine->MuteLocalAudio(localAudioMuted_);
    engine->MuteLocalVideo(localVideoMuted_);
    engine->EnableAudioVolumeIndication(true);
    engine->SetLocalViewMirror(false);
    engine->SetVideoQuality(g_kestrumData->videoQuality);
    engine->SelectConfiguredCamera();
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
    toolBarState_.SetStripOpen(true);
    ShowSidePanels();
}

void CDuiLive::DoExpand(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    toolBarState_.SetStripOpen(false);
    ShowSidePanels();
}

// The panels and their toggles as the tool-bar state says.
// A clicked option toggles itself after its handler, so its selection is left to it.
void CDuiLive::ShowSidePanels(const DuiLib::COptionUI* clicked) {
    const live::ToolBarState& state = toolBarState_;
    controls_.expand->SetVisible(state.stripOpen());
    controls_.collapse->SetVisible(!state.stripOpen());
    if (strip_) strip_->ShowWindow(state.stripOpen(), false);
    if (chatList_) chatList_->ShowWindow(state.chatOpen(), state.chatOpen());
    if (userList_) userList_->ShowWindow(state.participantsOpen(), state.participantsOpen());
    if (controls_.chat != clicked) controls_.chat->Selected(state.chatOpen(), false);
    if (controls_.userList != clicked) {
        controls_.userList->Selected(state.participantsOpen(), false);
    }
    controls_.badge->SetText(state.BadgeText().c_str());
    controls_.badge->SetVisible(state.unread() > 0);
}

void CDuiLive::DoMicOpt(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    SendMicrophone(!controls_.mic->IsSelected());
}

void CDuiLive::DoCameraOpt(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    SendCamera(!controls_.camera->IsSelected());
}

// The toggle waits for the server's echo of the change (OnSocketUserOperator frees it, and so
// does whatever means no echo comes: live::OwnToggleWait). A disabled option does not toggle
// itself after the click that disabled it: its selection is set here, for a click and for an
// accepted request alike.
void CDuiLive::SendMicrophone(bool mute) {
    controls_.mic->Selected(mute, false);
    controls_.mic->SetEnabled(false);
    WaitForOwnEcho();
    if (CKestrumZuvra* engine = Engine()) engine->MuteLocalAudio(mute);
    localAudioMuted_ = mute;
    host_.roomctrlAudio(mute, Only(g_kestrumData->uid));
}

void CDuiLive::SendCamera(bool mute) {
    controls_.camera->Selected(mute, false);
    controls_.camera->SetEnabled(false);
    WaitForOwnEcho();
    if (CKestrumZuvra* engine = Engine()) engine->MuteLocalVideo(mute);
    localVideoMuted_ = mute;
    host_.roomctrlVideo(mute, Only(g_kestrumData->uid));
}

void CDuiLive::DoMsg(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    toolBarState_.ToggleChat();
    ShowSidePanels(controls_.chat);
}

// The badge opens the chat like its toggle, whose selection then follows.
void CDuiLive::DoBubbleMsg(DuiLib::TNotifyUI&) {
    toolBarState_.ToggleChat();
    ShowSidePanels();
}

void CDuiLive::DoUserList(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    toolBarState_.ToggleParticipants();
    ShowSidePanels(controls_.userList);
}

void CDuiLive::OnUserListHide() {
    toolBarState_.ParticipantsClosed();
    if (ready_) ShowSidePanels();
}

void CDuiLive::OnChatListHide() {
    toolBarState_.ChatClosed();
    if (ready_) ShowSidePanels();
}

void CDuiLive::DoSmallLocal(DuiLib::TNotifyUI&) {
    if (selfTile_) selfTile_->toggleVisible();
}

void CDuiLive::DoConfig(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    std::string firstHost;
    {
        ZuvraKestrum::Util::CLockGuard guard(&g_kestrumData->lock);
        firstHost = ZuvraKestrum::Roles::FirstHost(g_kestrumData->hosts);
    }
    const bool host = ZuvraKestrum::Roles::IsHost(firstHost, g_kestrumData->uid);
    if (host) {
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
    services_.dropInvitationBoxes();
}

void CDuiLive::DoClose(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    LeaveMeeting();
}

// What leave and close share: the share ends, the window hides, the socket closes on its own
// thread, the engine leaves and the join window comes back (closeDlg destroys this window).
void CDuiLive::LeaveMeeting() {
    if (leaving_) return;
    leaving_ = true;
    setAcceptingEvents(false);
    if (roster_->ownUser().shareId > 0) host_.roomctrlShare(false, Only(g_kestrumData->uid));
    KillTimer(GetHWND(), kShareRestopTimer);
    ClosePicker();
    services_.leaveShareChannel();
    ShowWindow(false);
    StopTargeting();
    // The close waits for a connect still under way, so that no connection outlives the meeting.
    // The reconnection is cancelled first, so that it cannot open a connection after the close.
    CKestrumCourse* course = Course();
    reconnect_.cancel();
    closeThread_ = std::thread([this, course, connect = std::move(connectThread_)]() mutable {
        reconnect_.join();
        if (connect.joinable()) connect.join();
        course->closeSocket();
    });
    if (CKestrumZuvra* engine = Engine()) engine->LeaveChannel();
    host_.dialogs().closeDialog(ProgramDialogs::kLiveDlg);
}

// ---- Participants ---------------------------------------------------------------------------

void CDuiLive::Apply(const RosterActions& actions) {
    for (const RosterAction& action : actions) ApplyOne(action);
}

void CDuiLive::ApplyOne(const RosterAction& action) {
    switch (action.kind) {
    case RosterAction::kPanelAdd:
        if (userList_) userList_->socketNotifyAddUser(action.record);
        break;
    case RosterAction::kPanelRemove:
        if (userList_) userList_->socketNotifyRemoteUser(action.uid);
        break;
    case RosterAction::kPanelRebuild:
        if (!userList_) break;
        userList_->updateUserList(roster_->participants());
        if (!g_kestrumData->firstHostUid.empty()) userList_->updateHostStatus();
        break;
    case RosterAction::kMirror:
        MirrorParticipants();
        break;
    case RosterAction::kToast:
        host_.toast(GetHWND(), Utf8ToCString(action.text), kToastMs);
        break;
    case RosterAction::kReplayEngineUser:
        KESTRUM_LOG(Level_Info, " SocetUserJoin Post MediaUserJoin: %d ", action.streamId);
        PostPayload<WM_ENGINE_USER_JOINED>(
            GetHWND(), NewRecord<EngineUserJoinedEvent>(static_cast<uint32_t>(action.streamId),
                                                        action.elapsed));
        break;
    case RosterAction::kStartAvatarTimer:
        SetTimer(GetHWND(), kAvatarTimer, kAvatarPeriodMs, nullptr);
        break;
    case RosterAction::kOpenSelfTile:
        OpenSelfTile(action.record);
        break;
    case RosterAction::kCloseSelfTile:
        CloseSelfTile();
        break;
    case RosterAction::kBigViewRemote:
        if (CKestrumZuvra* engine = Engine()) {
            engine->SetupRemoteVideo(static_cast<uint32_t>(action.record.streamId), videoWnd_,
                                     kRenderFit);
        }
        AdjustLayout();
        break;
    case RosterAction::kBigViewLocal:
        if (CKestrumZuvra* engine = Engine()) engine->SetupLocalVideo(videoWnd_, true, kRenderFit);
        AdjustLayout();
        break;
    case RosterAction::kShowStrip:
        toolBarState_.SetStripOpen(true);
        ShowSidePanels();
        break;
    case RosterAction::kDisableShare:
        controls_.share->SetEnabled(false);
        break;
    case RosterAction::kStripAdd:
        if (strip_) strip_->mediaNotifyAddUser(action.record);
        break;
    case RosterAction::kStripRemove:
        if (strip_) strip_->mediaNotifyRemoveUser(action.streamId);
        break;
    case RosterAction::kStripSwitch:
        if (strip_) strip_->switchUserInfo(action.record, action.other);
        break;
    case RosterAction::kStripArrange:
        if (strip_) strip_->adjustPos();
        break;
    }
}

void CDuiLive::MirrorParticipants() {
    std::vector<UserInfoRecord> participants = roster_->participants();
    ZuvraKestrum::Util::CLockGuard guard(&g_kestrumData->lock);
    g_kestrumData->userList = std::move(participants);
}

void CDuiLive::OpenSelfTile(const UserInfoRecord& own) {
    if (!selfTile_) {
        selfTile_ = CreatePanel(new CDuiRemoteItem(own, host_), GetHWND(), L"",
                                CDuiRemoteItem::kWidth, CDuiRemoteItem::kHeight);
    }
    if (!selfTile_) return;
    MoveTo(selfTile_->GetHWND(), layout_.selfTile);
    selfTile_->ShowWindow(true, false);
}

void CDuiLive::CloseSelfTile() {
    if (!selfTile_) return;
    // The tile deletes itself with its window.
    DestroyWindow(selfTile_->GetHWND());
    selfTile_ = nullptr;
}

// The big view's overlay and video window for the big-view user.
void CDuiLive::AdjustLayout() {
    const UserInfoRecord& big = roster_->bigViewUser();
    const std::wstring name = Utf8ToCString(big.name);
    controls_.remoteName->SetVisible(true);
    controls_.remoteName->SetText(name.c_str());
    controls_.remoteName->SetToolTip(name.c_str());
    controls_.remoteMicMute->SetVisible(true);
    controls_.remoteMicMute->Selected((big.status & kStatusMicOff) != 0, false);
    const bool videoOn = (big.status & kStatusCameraOff) == 0;
    // Below its siblings (the strip, the panels and the self tile), so that they stay on top
    // of the video.
    if (videoWnd_) {
        const RECT& video = bars_.barsShown() ? layout_.video : RECT{0, 0, client_.cx, client_.cy};
        SetWindowPos(videoWnd_, HWND_BOTTOM, video.left, video.top, video.right - video.left,
                     video.bottom - video.top, videoOn ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    }
    MoveTo(HandleOf(selfTile_), layout_.selfTile);
    UpdateHostMark();
    ShowNoVideoPicture();
}

void CDuiLive::UpdateHostMark() {
    std::string firstHost;
    {
        ZuvraKestrum::Util::CLockGuard guard(&g_kestrumData->lock);
        firstHost = ZuvraKestrum::Roles::FirstHost(g_kestrumData->hosts);
    }
    const bool host = ZuvraKestrum::Roles::IsHost(firstHost, roster_->bigViewUser().uid);
    controls_.hostMark->SetBkImage(host ? L"live/host.png" : L"");
}

void CDuiLive::OnSocketJoinSuccess(std::unique_ptr<PayloadOf<WM_SOCKET_JOIN_SUCCESS>> own) {
    KESTRUM_LOG(Level_Info, "(%s)", own->uid);
    Apply(roster_->onOwnJoin(*own));
    AdjustLayout();
}

void CDuiLive::OnSocketUserJoin(std::unique_ptr<PayloadOf<WM_SOCKET_USER_JOIN>> record) {
    KESTRUM_LOG(Level_Info, "(%s,%s,%d)", record->uid, record->name, record->streamId);
    Apply(roster_->onUserJoin(*record));
}

void CDuiLive::OnSocketUserLeave(std::unique_ptr<PayloadOf<WM_SOCKET_USER_LEAVE>> uid) {
    KESTRUM_LOG(Level_Info, "(%s)", uid->c_str());
    Apply(roster_->onUserLeave(*uid));
    if (strip_) strip_->socketNotifyDisable(*uid);
}

void CDuiLive::OnSocketUserList(std::unique_ptr<PayloadOf<WM_SOCKET_USER_LIST>> records) {
    KESTRUM_LOG(Level_Info, "(%d)", static_cast<int>(records->size()));
    Apply(roster_->onUserList(*records));
}

void CDuiLive::OnSocketUserInfo(std::unique_ptr<PayloadOf<WM_SOCKET_USER_INFO>> record) {
    if (leaving_) return;
    ZuvraKestrum::Util::CLockGuard guard(&g_kestrumData->lock);
    g_kestrumData->ownInfo = *record;
}

void CDuiLive::OnExchangeBig(std::unique_ptr<PayloadOf<WM_EXCHANGE_BIG>> record) {
    Apply(roster_->onExchangeBig(*record));
}

// Avatars already in the cache are skipped at once: only a download waits for the next tick.
void CDuiLive::FetchNextAvatar() {
    using ZuvraKestrum::Live::AvatarTick;
    for (;;) {
        const AvatarTick tick = roster_->onAvatarTick();
        if (tick.kind == AvatarTick::kWait) return;
        if (tick.kind == AvatarTick::kStopTimer) {
            KillTimer(GetHWND(), kAvatarTimer);
            return;
        }
        const std::string target = ZuvraKestrum::Live::AvatarDownloadTarget(tick.portraitId);
        if (!target.empty()) {
            Course()->getPhoto(tick.uid, tick.portraitId, target);
            return;
        }
        KESTRUM_LOG(Level_Info, " Uid: %s logo already exist or no file name (%s)",
                    tick.uid.c_str(), tick.portraitId.c_str());
        roster_->onAvatarSkipped();
    }
}

// The meeting data and the configuration keep their paths in UTF-8.
void CDuiLive::ApplyOwnAvatar() {
    CKestrumData& data = *g_kestrumData;
    data.portraitPath =
        kestrum::common::WideToUtf8(ZuvraKestrum::Util::GetPortraitPath(data.portraitId));
    CSingleton<CKestrumConfig>::getInstance()->setPortraitPath(data.portraitPath);
}

// An avatar arrived: its rows and bubbles show it.
void CDuiLive::OnGetPhoto(std::unique_ptr<PayloadOf<WM_GET_PHOTO>> portraitId) {
    const std::string uid = roster_->onAvatarArrived(*portraitId);
    if (uid.empty()) return;
    if (uid == g_kestrumData->uid) ApplyOwnAvatar();
    for (const UserInfoRecord& record : roster_->socketList()) {
        if (uid != record.uid) continue;
        if (userList_) userList_->updateUserPhoto(record);
        break;
    }
    if (chatList_) chatList_->updateChatLogo(uid);
}

// A failed request of the bridge; a failed avatar download ends it, so the queue moves on.
void CDuiLive::OnAccountError(std::unique_ptr<PayloadOf<WM_ACCOUNT_ERROR>> error) {
    KESTRUM_LOG(Level_Info, "(%s,%s,%d)", error->text1.c_str(), error->text2.c_str(), error->code);
    static_cast<void>(roster_->onRequestFailed(error->text1));
    if (ownToggles_.RequestFailed(error->text1)) FreeOwnToggles();
    // A failed request the service explained: the box is modal and pumps messages, so it is the
    // last thing the handler does.
    if (!error->text1.empty() && !error->text2.empty() && error->code == 0) {
        host_.dialogs().showMsgBox(GetHWND(), Utf8ToCString(error->text2), 0,
                                   ProgramDialogs::kErrorBox);
    }
}

// ---- Engine ---------------------------------------------------------------------------------

void CDuiLive::OnMediaJoinChannelSuccess(
    std::unique_ptr<PayloadOf<WM_ENGINE_JOIN_CHANNEL_SUCCESS>> joined) {
    joined_ = true;
    if (joined) {
        KESTRUM_LOG(Level_Info, "(%s,%d,%d)", joined->channel.get(), static_cast<int>(joined->uid),
                    joined->elapsed);
        roster_->onOwnEngineJoin(static_cast<int32_t>(joined->uid));
        // The video window's dark background is painted now, before the engine draws into it,
        // so that the pending erase does not wipe the engine's first picture.
        if (videoWnd_) UpdateWindow(videoWnd_);
        if (CKestrumZuvra* engine = Engine()) engine->SetupLocalVideo(videoWnd_, true, kRenderFit);
        AdjustLayout();
        ApplyOwnStatus();
    }
    services_.reportJoinChannel();
}

void CDuiLive::OnMediaLeaveChannel(std::unique_ptr<PayloadOf<WM_ENGINE_LEAVE_CHANNEL>>) {
    KillTimer(GetHWND(), kSpeakerTimer);
    KillTimer(GetHWND(), kBarTimer);
    if (CKestrumZuvra* engine = Engine()) engine->SetupLocalVideo(nullptr, false, kRenderFit);
}

void CDuiLive::OnMediaNetworkQuality(
    std::unique_ptr<PayloadOf<WM_ENGINE_NETWORK_QUALITY>> quality) {
    if (!strip_) return;
    KESTRUM_LOG(Level_Info, "(%d,%d,%d)", static_cast<int>(quality->uid), quality->txQuality,
                quality->rxQuality);
    const int level = ZuvraKestrum::Util::QualityToSignalLevel(quality->rxQuality);
    switch (ZuvraKestrum::Live::NetworkQualityPlace(*roster_, quality->uid)) {
    case MarkPlace::kBigView:
        SetBigViewSignal(level);
        break;
    case MarkPlace::kSelfTile:
        if (selfTile_) selfTile_->setNetworkQuality(level);
        break;
    case MarkPlace::kStrip:
        strip_->updateNetworkQuality(roster_->streamOf(static_cast<int32_t>(quality->uid)), level);
        break;
    }
}

void CDuiLive::SetBigViewSignal(int level) {
    const std::wstring icon = ZuvraKestrum::Tiles::NetworkIcon(level);
    if (icon.empty()) return;
    controls_.remoteNet->SetVisible(true);
    controls_.remoteNet->SetBkImage(icon.c_str());
}

void CDuiLive::OnMediaUserJoined(std::unique_ptr<PayloadOf<WM_ENGINE_USER_JOINED>> user) {
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(user->uid), user->elapsed);
    Apply(roster_->onEngineUserJoined(static_cast<int32_t>(user->uid), user->elapsed));
}

void CDuiLive::OnMediaUserLeave(std::unique_ptr<PayloadOf<WM_ENGINE_USER_OFFLINE>> user) {
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(user->uid), static_cast<int>(user->reason));
    Apply(roster_->onEngineUserOffline(static_cast<int32_t>(user->uid)));
}

void CDuiLive::OnMediaFirstLocalVideoFrame(
    std::unique_ptr<PayloadOf<WM_ENGINE_FIRST_LOCAL_VIDEO_FRAME>> frame) {
    KESTRUM_LOG(Level_Info, "(%d,%d,%d)", frame->width, frame->height, frame->elapsed);
}

void CDuiLive::OnMediaFirstRemoteVideoFrame(
    std::unique_ptr<PayloadOf<WM_ENGINE_FIRST_REMOTE_VIDEO_FRAME>> frame) {
    KESTRUM_LOG(Level_Info, "(%d,%d,%d,%d)", static_cast<int>(frame->uid), frame->width,
                frame->height, frame->elapsed);
    const UserInfoRecord& big = roster_->bigViewUser();
    if (videoWnd_ && static_cast<int32_t>(frame->uid) == big.streamId &&
        (big.status & kStatusCameraOff) == 0) {
        ::ShowWindow(videoWnd_, SW_SHOW);
    }
}

void CDuiLive::OnMediaAudioVolumeIndication(
    std::unique_ptr<PayloadOf<WM_ENGINE_AUDIO_VOLUME_INDICATION>> volumes) {
    KillTimer(GetHWND(), kVolumeTimer);
    speakingBatch_.onVolumeIndication(volumes->speakers.get(), volumes->count);
    SetTimer(GetHWND(), kVolumeTimer, kVolumePeriodMs, nullptr);
}

void CDuiLive::OnMediaEnableVideo(std::unique_ptr<PayloadOf<WM_ENGINE_USER_ENABLE_VIDEO>> flag) {
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(flag->uid), flag->flag);
}

void CDuiLive::OnMediaEnableLocalVideo(
    std::unique_ptr<PayloadOf<WM_ENGINE_USER_ENABLE_LOCAL_VIDEO>> flag) {
    if (leaving_ || !userList_) return;
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(flag->uid), flag->flag);
    userList_->updateVideoStatusByStream(static_cast<int>(flag->uid), flag->flag);
}

void CDuiLive::OnMediaMuteAudio(std::unique_ptr<PayloadOf<WM_ENGINE_USER_MUTE_AUDIO>> flag) {
    if (leaving_ || !userList_) return;
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(flag->uid), flag->flag);
    userList_->updateAudioStatusByStream(static_cast<int>(flag->uid), flag->flag);
}

void CDuiLive::OnMediaMuteVideo(std::unique_ptr<PayloadOf<WM_ENGINE_USER_MUTE_VIDEO>> flag) {
    if (leaving_ || !userList_) return;
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(flag->uid), flag->flag);
    userList_->updateVideoStatusByStream(static_cast<int>(flag->uid), !flag->flag);
}

void CDuiLive::OnMediaActiveSpeaker(std::unique_ptr<PayloadOf<WM_ENGINE_ACTIVE_SPEAKER>> speaker) {
    KESTRUM_LOG(Level_Info, "(%d)", static_cast<int>(speaker->uid));
    KillTimer(GetHWND(), kSpeakerTimer);
    SetTimer(GetHWND(), kSpeakerTimer, kSpeakerPeriodMs, nullptr);
    speakerMark_.onActiveSpeaker(*roster_, speaker->uid);
}
