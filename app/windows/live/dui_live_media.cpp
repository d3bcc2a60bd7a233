// CDuiLive's media: the big view's video window and the self tile, the engine's set-up and
// events, the roster's decisions of who is shown where, and the screen share with its picker.

#include <cwchar>

#include "app/windows/live/dui_live.h"
#include "app/windows/live/dui_live_parts.h"
#include "app/windows/live/meeting_results.h"
#include "app/windows/meeting/meeting_host.h"
#include "app/windows/participants/dui_user_list.h"
#include "app/windows/share/dui_screen_share.h"
#include "app/windows/tiles/dui_remote_item.h"
#include "app/windows/tiles/dui_remote_tool_bar.h"
#include "app/windows/tiles/tile_rules.h"
#include "kestrum/core/engine_messages.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/core/room_roles.h"
#include "kestrum/core/util_display.h"
#include "kestrum/core/util_text.h"
#include "kestrum/core/video_source_transfer.h"

using ZuvraKestrum::Live::CreatePanel;
using ZuvraKestrum::Live::HandleOf;
using ZuvraKestrum::Live::MarkPlace;
using ZuvraKestrum::Live::MoveTo;
using ZuvraKestrum::Live::Only;
using ZuvraKestrum::Live::RosterAction;
using ZuvraKestrum::Live::RosterActions;
using ZuvraKestrum::Live::ShareChannelStep;
using ZuvraKestrum::Util::Utf8ToCString;

namespace {

// The engine renders the big view scaled to fit.
constexpr int kRenderFit = 2;
constexpr int kToastMs = 3000;
// Where the big view's video shows when nothing is drawn into it.
constexpr COLORREF kVideoBackground = RGB(0, 0, 0);
// The side of the big view's picture when it shows no video.
constexpr int kNoVideoPicture = 96;

// The picker: a window of its own above the meeting, owned by it.
constexpr DWORD kPickerStyle = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
constexpr int kPickerWidth = 662;
constexpr int kPickerHeight = 500;

}  // namespace

// ---- Set-up ---------------------------------------------------------------------------------

// Not visible: it shows once the big view has video (AdjustLayout).
void CDuiLive::CreateVideoWindow() {
    video_.create(GetHWND(), bigView_->GetPos(), WS_CLIPSIBLINGS, &VideoWndProc, this);
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

// ---- Roster decisions -----------------------------------------------------------------------

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
        if (!ZuvraKestrum::Roles::FirstHostOf(*g_kestrumData).empty())
            userList_->updateHostStatus();
        break;
    case RosterAction::kMirror:
        ZuvraKestrum::Live::ApplyParticipants(roster_->participants(), *g_kestrumData);
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
    case RosterAction::kBigViewLocal:
        ShowBigViewSoon();
        break;
    case RosterAction::kShowStrip:
        toolBarState_.setStripOpen(true);
        ShowSidePanels();
        break;
    case RosterAction::kDisableShare:
    case RosterAction::kEnableShare:
        shareOpt_->SetEnabled(action.kind == RosterAction::kEnableShare);
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

// ---- Big view and self tile -----------------------------------------------------------------

// A participant leaving the big view hands it to the next; a group leaving in a burst hands it
// on many times, and only the last hand-over is to be seen.
void CDuiLive::ShowBigViewSoon() {
    if (bigViewPending_) return;
    bigViewPending_ = SetTimer(GetHWND(), kBigViewTimer, USER_TIMER_MINIMUM, nullptr) != 0;
    if (!bigViewPending_) OnBigViewTimer();
}

void CDuiLive::OnBigViewTimer() {
    KillTimer(GetHWND(), kBigViewTimer);
    bigViewPending_ = false;
    if (leaving_) return;
    const UserInfoRecord& big = roster_->bigViewUser();
    if (CKestrumZuvra* engine = Engine()) {
        if (big == roster_->ownUser()) {
            engine->SetupLocalVideo(video_.handle(), true, kRenderFit);
        } else {
            engine->SetupRemoteVideo(static_cast<uint32_t>(big.streamId), video_.handle(),
                                     kRenderFit);
        }
    }
    AdjustLayout();
}

// The big view's overlay and video window for the big-view user.
void CDuiLive::AdjustLayout() {
    const UserInfoRecord& big = roster_->bigViewUser();
    const std::wstring name = Utf8ToCString(big.name);
    remoteName_->SetVisible(true);
    remoteName_->SetText(name.c_str());
    remoteName_->SetToolTip(name.c_str());
    remoteMicMute_->SetVisible(true);
    remoteMicMute_->Selected((big.status & kStatusMicOff) != 0, false);
    const bool videoOn = (big.status & kStatusCameraOff) == 0;
    // Below its siblings (the strip, the panels and the self tile), so that they stay on top
    // of the video.
    if (video_) {
        const RECT& video = bars_.barsShown() ? layout_.video : RECT{0, 0, client_.cx, client_.cy};
        SetWindowPos(video_.handle(), HWND_BOTTOM, video.left, video.top, video.right - video.left,
                     video.bottom - video.top, videoOn ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    }
    MoveTo(HandleOf(selfTile_), layout_.selfTile);
    UpdateHostMark();
    ShowNoVideoPicture();
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
    bigView_->SetBkImage(image);
}

void CDuiLive::UpdateHostMark() {
    const bool host = ZuvraKestrum::Roles::IsHost(ZuvraKestrum::Roles::FirstHostOf(*g_kestrumData),
                                                  roster_->bigViewUser().uid);
    hostMark_->SetBkImage(host ? L"live/host.png" : L"");
}

void CDuiLive::SetBigViewSignal(int level) {
    const std::wstring icon = ZuvraKestrum::Tiles::NetworkIcon(level);
    if (icon.empty()) return;
    remoteNet_->SetVisible(true);
    remoteNet_->SetBkImage(icon.c_str());
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
        if (video_) UpdateWindow(video_.handle());
        if (CKestrumZuvra* engine = Engine())
            engine->SetupLocalVideo(video_.handle(), true, kRenderFit);
        AdjustLayout();
        ApplyOwnStatus();
    }
    host_.reportJoinChannel();
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
    if (video_ && static_cast<int32_t>(frame->uid) == big.streamId &&
        (big.status & kStatusCameraOff) == 0) {
        video_.show(true);
    }
}

void CDuiLive::OnMediaAudioVolumeIndication(
    std::unique_ptr<PayloadOf<WM_ENGINE_AUDIO_VOLUME_INDICATION>> volumes) {
    KillTimer(GetHWND(), kVolumeTimer);
    speakingBatch_.onVolumeIndication(volumes->speakers.get(), volumes->count);
    SetTimer(GetHWND(), kVolumeTimer, kVolumePeriodMs, nullptr);
}

void CDuiLive::OnVolumeTimer() {
    KillTimer(GetHWND(), kVolumeTimer);
    for (int32_t stream : speakingBatch_.take(*roster_)) {
        if (userList_) userList_->updateAudioStatusByStream(stream, false);
    }
}

void CDuiLive::OnMediaActiveSpeaker(std::unique_ptr<PayloadOf<WM_ENGINE_ACTIVE_SPEAKER>> speaker) {
    KESTRUM_LOG(Level_Info, "(%d)", static_cast<int>(speaker->uid));
    KillTimer(GetHWND(), kSpeakerTimer);
    SetTimer(GetHWND(), kSpeakerTimer, kSpeakerPeriodMs, nullptr);
    speakerMark_.onActiveSpeaker(*roster_, speaker->uid);
}

void CDuiLive::OnSpeakerTimer() {
    for (const ZuvraKestrum::Live::SpeechMark& mark : speakerMark_.onTick(*roster_)) {
        if (mark.place == MarkPlace::kBigView) {
            remoteSpeech_->SetVisible(mark.speaking);
            remoteSpeech_->Selected(mark.speaking);
        } else if (mark.place == MarkPlace::kSelfTile) {
            if (selfTile_) selfTile_->setSpeechStatus(mark.speaking);
        } else if (strip_) {
            strip_->updateSpeechStatus(mark.streamId, mark.speaking);
        }
    }
}

void CDuiLive::OnMediaEnableVideo(std::unique_ptr<PayloadOf<WM_ENGINE_USER_ENABLE_VIDEO>> flag) {
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(flag->uid), flag->flag);
}

void CDuiLive::OnMediaEnableLocalVideo(
    std::unique_ptr<PayloadOf<WM_ENGINE_USER_ENABLE_LOCAL_VIDEO>> flag) {
    if (!userList_) return;
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(flag->uid), flag->flag);
    userList_->updateVideoStatusByStream(static_cast<int>(flag->uid), flag->flag);
}

void CDuiLive::OnMediaMuteAudio(std::unique_ptr<PayloadOf<WM_ENGINE_USER_MUTE_AUDIO>> flag) {
    if (!userList_) return;
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(flag->uid), flag->flag);
    userList_->updateAudioStatusByStream(static_cast<int>(flag->uid), flag->flag);
}

void CDuiLive::OnMediaMuteVideo(std::unique_ptr<PayloadOf<WM_ENGINE_USER_MUTE_VIDEO>> flag) {
    if (!userList_) return;
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(flag->uid), flag->flag);
    userList_->updateVideoStatusByStream(static_cast<int>(flag->uid), !flag->flag);
}

// ---- Screen share ---------------------------------------------------------------------------

// The share toggle before the click: off opens the picker (the share starts from there), on
// stops the share at once.
void CDuiLive::DoScreenShare(DuiLib::TNotifyUI&) {
    const bool sharing = shareOpt_->IsSelected();
    KESTRUM_LOG(Level_Info, "(%d)", sharing ? 0 : 1);
    if (sharing) {
        StopSharing();
        return;
    }
    EndShareStop();
    CVideoSourceTransfer* source = VideoSource();
    EnableWindow(GetHWND(), FALSE);
    if (screenShare_) return;
    if (source) source->initialize();
    auto* picker = new CDuiScreenShare(host_);
    if (!ZuvraKestrum::Frame::CreateOrDelete(picker, GetHWND(), L"ScreenShare", kPickerStyle, 0,
                                             160, 100, kPickerWidth, kPickerHeight)) {
        // As if the picker had been closed at once.
        PostPayload<WM_SCREENSHARE_CHOSEN>(GetHWND(), nullptr);
        return;
    }
    screenShare_ = picker;
    picker->CenterWindow();
}

// The picker's end: a chosen source is what the video source captures (the room-control
// result then joins it); closed without a choice, the toggle goes off again.
void CDuiLive::OnScreenShareChosen(std::unique_ptr<ScreenShareChosen> chosen) {
    ClosePicker();
    EnableWindow(GetHWND(), TRUE);
    if (!acceptingEvents()) return;
    if (!chosen) {
        shareOpt_->Selected(false, false);
        return;
    }
    KESTRUM_LOG(Level_Info, "(%s)", "Choose Wnd");
    if (CVideoSourceTransfer* source = VideoSource()) {
        source->setShareTarget(chosen->window, 5, chosen->width, chosen->height, 0);
    }
}

void CDuiLive::ClosePicker() {
    if (!screenShare_) return;
    HWND picker = screenShare_->GetHWND();
    screenShare_ = nullptr;
    // The picker deletes itself with its window.
    if (picker) DestroyWindow(picker);
}

// The room-control result of a share or its end: the share stream's id and token. The token
// is the share stream's own: the meeting's media token stays for the engine.
void CDuiLive::OnMeetingRoomCtrl(std::unique_ptr<PayloadOf<WM_ROOM_CTRL>> result) {
    KESTRUM_LOG(Level_Info, "(%s,%d)", ZuvraKestrum::Util::MaskSecret(result->mediaToken).c_str(),
                result->shareId);
    ZuvraKestrum::Live::ApplyShareResult(*result, *g_kestrumData, host_.config());
    CVideoSourceTransfer* source = VideoSource();
    switch (ZuvraKestrum::Live::ShareChannelStepOf(result->shareId)) {
    case ShareChannelStep::kJoin:
        if (source) {
            source->joinChannel(result->mediaToken, g_kestrumData->roomName, nullptr,
                                static_cast<uint32_t>(result->shareId));
        }
        break;
    case ShareChannelStep::kLeave:
        if (source) source->leaveChannel();
        break;
    case ShareChannelStep::kNone:
        break;
    }
    if (strip_) strip_->updateScreenStatus(result->shareId);
    if (selfTile_) selfTile_->updateScreenStatus(result->shareId);
}

// The room learns of the share's end, and the video source stops capturing.
void CDuiLive::StopSharing() {
    host_.roomctrlShare(false, Only(g_kestrumData->uid));
    stopShareRequested_ = true;
    shareRestops_ = 0;
    SetTimer(GetHWND(), kShareRestopTimer, shareRestopMs_, nullptr);
    if (CVideoSourceTransfer* source = VideoSource()) source->stopShare();
}

// A stop of the share is sent again each period until the server says the share is over,
// whatever other requests report meanwhile: a failed stop reports nothing that names it, and a
// later room-control request may cut it off before it reports at all. A server that never
// reports it is not asked for ever.
void CDuiLive::OnShareRestopTimer() {
    // A timer row has no event mode: a tick queued before the leave still ends the timer here.
    if (!stopShareRequested_ || leaving_) {
        KillTimer(GetHWND(), kShareRestopTimer);
        return;
    }
    if (++shareRestops_ > kShareRestopLimit) {
        KESTRUM_LOG(Level_Warning, "(ReStop ScreenShare: no end reported after %d stops)",
                    kShareRestopLimit);
        EndShareStop();
        return;
    }
    KESTRUM_LOG(Level_Info, "(ReStop ScreenShare)");
    host_.roomctrlShare(false, Only(g_kestrumData->uid));
}

void CDuiLive::EndShareStop() {
    stopShareRequested_ = false;
    KillTimer(GetHWND(), kShareRestopTimer);
}
