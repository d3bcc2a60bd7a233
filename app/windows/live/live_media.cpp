#include "app/windows/live/live_media.h"

#include "app/windows/live/dui_live_parts.h"
#include "app/windows/live/meeting_results.h"
#include "app/windows/meeting/meeting_host.h"
#include "app/windows/participants/dui_user_list.h"
#include "app/windows/share/dui_screen_share.h"
#include "app/windows/tiles/dui_remote_item.h"
#include "app/windows/tiles/dui_remote_tool_bar.h"
#include "app/windows/tiles/tile_rules.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/core/room_roles.h"
#include "kestrum/core/util_display.h"
#include "kestrum/core/util_text.h"
#include "kestrum/core/video_source_transfer.h"

using ZuvraKestrum::Live::HandleOf;
using ZuvraKestrum::Live::MarkPlace;
using ZuvraKestrum::Live::MoveTo;
using ZuvraKestrum::Live::Only;
using ZuvraKestrum::Live::ShareChannelStep;
using ZuvraKestrum::Live::ShareStop;
using ZuvraKestrum::Util::Utf8ToCString;

namespace {

// The engine renders the big view scaled to fit.
constexpr int kRenderFit = 2;
// Where the big view's video shows when nothing is drawn into it.
constexpr COLORREF kVideoBackground = RGB(0, 0, 0);

// The picker: a window of its own above the meeting, owned by it.
constexpr DWORD kPickerStyle = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
constexpr int kPickerWidth = 662;
constexpr int kPickerHeight = 500;

}  // namespace

// ---- Set-up ---------------------------------------------------------------------------------

// Not visible: it shows once the big view has video (showBigView).
void CLiveMedia::createVideoWindow(const BigViewControls& controls) {
    controls_ = controls;
    video_.create(window(), controls_.view->GetPos(), WS_CLIPSIBLINGS, &VideoWndProc, this);
}

LRESULT CALLBACK CLiveMedia::VideoWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CLiveMedia*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_MOUSEMOVE:
        if (self) self->delegate_.onVideoMouseMove();
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

void CLiveMedia::setUpEngine(bool audioMuted, bool videoMuted) {
    CKestrumZuvra* engine = host_.engine();
    if (!engine) return;
    engine->MuteLocalAudio(audioMuted);
    engine->MuteLocalVideo(videoMuted);
    engine->EnableAudioVolumeIndication(true);
    engine->SetLocalViewMirror(false);
    engine->SetVideoQuality(meeting_.videoQuality);
    engine->SelectConfiguredCamera();
}

void CLiveMedia::joinEngineChannel(const RoomInfoRecord& room) {
    const SdkConfigsRecord& configs = room.sdkConfigs;
    KESTRUM_LOG(Level_Info, "(channelProfile:%d)", configs.channelProfile);
    CKestrumZuvra* engine = host_.engine();
    const ZuvraKestrum::Live::ChannelPlan plan =
        ZuvraKestrum::Live::PlanChannel(configs.channelProfile, joinAsked_);
    if (!plan.configure || !engine) return;
    CVideoSourceTransfer* source = host_.videoSource();
    engine->SetChannelProfile(configs.channelProfile);
    if (source) source->setChannelProfile(configs.channelProfile);
    for (const std::string& parameters : configs.parameters)
        engine->SetParameters(parameters.c_str());
    if (!plan.join) return;
    joinAsked_ = true;
    engine->JoinChannel(meeting_.roomName, static_cast<uint32_t>(meeting_.streamId),
                        meeting_.mediaToken);
    if (source) source->setParameters(configs.shareParameters);
}

// ---- Big view -------------------------------------------------------------------------------

// A participant leaving the big view hands it to the next; a group leaving in a burst hands it
// on many times, and only the last hand-over is to be seen.
void CLiveMedia::showBigViewSoon() {
    if (!bigViewSoon_.ask(window())) OnBigViewTimer();
}

void CLiveMedia::OnBigViewTimer() {
    bigViewSoon_.fired(window());
    if (!frame_.acceptingEvents()) return;
    const ZuvraKestrum::Live::MeetingRoster& roster = delegate_.meetingRoster();
    const UserInfoRecord& big = roster.bigViewUser();
    if (CKestrumZuvra* engine = host_.engine()) {
        if (big == roster.ownUser()) {
            engine->SetupLocalVideo(video_.handle(), true, kRenderFit);
        } else {
            engine->SetupRemoteVideo(static_cast<uint32_t>(big.streamId), video_.handle(),
                                     kRenderFit);
        }
    }
    showBigView();
}

void CLiveMedia::showBigView() {
    const UserInfoRecord& big = delegate_.meetingRoster().bigViewUser();
    const std::wstring name = Utf8ToCString(big.name);
    controls_.name->SetVisible(true);
    controls_.name->SetText(name.c_str());
    controls_.name->SetToolTip(name.c_str());
    controls_.micMute->SetVisible(true);
    const ZuvraKestrum::Live::BigViewLook look =
        ZuvraKestrum::Live::BigViewLookOf(big.status, delegate_.layout().video);
    controls_.micMute->Selected(look.micMuted, false);
    // Below its siblings (the strip, the panels and the self tile), so that they stay on top
    // of the video.
    if (video_) {
        const RECT video = delegate_.videoPlace();
        SetWindowPos(video_.handle(), HWND_BOTTOM, video.left, video.top, video.right - video.left,
                     video.bottom - video.top, look.video ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    }
    MoveTo(HandleOf(delegate_.selfTile()), delegate_.layout().selfTile);
    showHostMark();
    showNoVideoPicture();
}

// The picture keeps its size in the middle of the big view, whatever the window's size. Set
// again only when it changes: setting it repaints the whole big view, and every frame paint and
// layout asks for it.
void CLiveMedia::showNoVideoPicture() {
    const std::wstring image =
        ZuvraKestrum::Live::BigViewLookOf(delegate_.meetingRoster().bigViewUser().status,
                                          delegate_.layout().video)
            .picture;
    if (noVideoPicture_ == image) return;
    noVideoPicture_ = image;
    controls_.view->SetBkImage(image.c_str());
}

void CLiveMedia::showHostMark() {
    const bool host = ZuvraKestrum::Roles::IsHost(ZuvraKestrum::Roles::FirstHostOf(meeting_),
                                                  delegate_.meetingRoster().bigViewUser().uid);
    controls_.hostMark->SetBkImage(host ? L"live/host.png" : L"");
}

void CLiveMedia::SetBigViewSignal(int level) {
    const std::wstring icon = ZuvraKestrum::Tiles::NetworkIcon(level);
    if (icon.empty()) return;
    controls_.signal->SetVisible(true);
    controls_.signal->SetBkImage(icon.c_str());
}

// ---- Engine ---------------------------------------------------------------------------------

void CLiveMedia::OnMediaJoinChannelSuccess(
    std::unique_ptr<PayloadOf<WM_ENGINE_JOIN_CHANNEL_SUCCESS>> joined) {
    joined_ = true;
    if (joined) {
        KESTRUM_LOG(Level_Info, "(%s,%d,%d)", joined->channel.get(), static_cast<int>(joined->uid),
                    joined->elapsed);
        delegate_.meetingRoster().onOwnEngineJoin(static_cast<int32_t>(joined->uid));
        // The video window's dark background is painted now, before the engine draws into it,
        // so that the pending erase does not wipe the engine's first picture.
        if (video_) UpdateWindow(video_.handle());
        if (CKestrumZuvra* engine = host_.engine())
            engine->SetupLocalVideo(video_.handle(), true, kRenderFit);
        showBigView();
        delegate_.onChannelJoined();
    }
    host_.reportJoinChannel();
}

void CLiveMedia::OnMediaLeaveChannel(std::unique_ptr<PayloadOf<WM_ENGINE_LEAVE_CHANNEL>>) {
    KillTimer(window(), kSpeakerTimer);
    if (CKestrumZuvra* engine = host_.engine()) engine->SetupLocalVideo(nullptr, false, kRenderFit);
}

void CLiveMedia::OnMediaNetworkQuality(
    std::unique_ptr<PayloadOf<WM_ENGINE_NETWORK_QUALITY>> quality) {
    CDuiRemoteToolBar* strip = delegate_.tileStrip();
    if (!strip) return;
    KESTRUM_LOG(Level_Info, "(%d,%d,%d)", static_cast<int>(quality->uid), quality->txQuality,
                quality->rxQuality);
    const int level = ZuvraKestrum::Util::QualityToSignalLevel(quality->rxQuality);
    const ZuvraKestrum::Live::MeetingRoster& roster = delegate_.meetingRoster();
    switch (ZuvraKestrum::Live::NetworkQualityPlace(roster, quality->uid)) {
    case MarkPlace::kBigView:
        SetBigViewSignal(level);
        break;
    case MarkPlace::kSelfTile:
        if (CDuiRemoteItem* self = delegate_.selfTile()) self->setNetworkQuality(level);
        break;
    case MarkPlace::kStrip:
        strip->updateNetworkQuality(roster.streamOf(static_cast<int32_t>(quality->uid)), level);
        break;
    }
}

void CLiveMedia::OnMediaUserJoined(std::unique_ptr<PayloadOf<WM_ENGINE_USER_JOINED>> user) {
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(user->uid), user->elapsed);
    delegate_.applyRoster(delegate_.meetingRoster().onEngineUserJoined(
        static_cast<int32_t>(user->uid), user->elapsed));
}

void CLiveMedia::OnMediaUserLeave(std::unique_ptr<PayloadOf<WM_ENGINE_USER_OFFLINE>> user) {
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(user->uid), static_cast<int>(user->reason));
    delegate_.applyRoster(
        delegate_.meetingRoster().onEngineUserOffline(static_cast<int32_t>(user->uid)));
}

void CLiveMedia::OnMediaFirstLocalVideoFrame(
    std::unique_ptr<PayloadOf<WM_ENGINE_FIRST_LOCAL_VIDEO_FRAME>> frame) {
    KESTRUM_LOG(Level_Info, "(%d,%d,%d)", frame->width, frame->height, frame->elapsed);
}

void CLiveMedia::OnMediaFirstRemoteVideoFrame(
    std::unique_ptr<PayloadOf<WM_ENGINE_FIRST_REMOTE_VIDEO_FRAME>> frame) {
    KESTRUM_LOG(Level_Info, "(%d,%d,%d,%d)", static_cast<int>(frame->uid), frame->width,
                frame->height, frame->elapsed);
    if (video_ && ZuvraKestrum::Live::FirstFrameShowsBigView(
                      delegate_.meetingRoster().bigViewUser(), static_cast<int32_t>(frame->uid))) {
        video_.show(true);
    }
}

void CLiveMedia::OnMediaAudioVolumeIndication(
    std::unique_ptr<PayloadOf<WM_ENGINE_AUDIO_VOLUME_INDICATION>> volumes) {
    KillTimer(window(), kVolumeTimer);
    speakingBatch_.onVolumeIndication(volumes->speakers.get(), volumes->count);
    SetTimer(window(), kVolumeTimer, kVolumePeriodMs, nullptr);
}

void CLiveMedia::OnVolumeTimer() {
    KillTimer(window(), kVolumeTimer);
    for (int32_t stream : speakingBatch_.take(delegate_.meetingRoster())) {
        if (CDuiUserList* list = delegate_.participantsPanel())
            list->updateAudioStatusByStream(stream, false);
    }
}

void CLiveMedia::OnMediaActiveSpeaker(
    std::unique_ptr<PayloadOf<WM_ENGINE_ACTIVE_SPEAKER>> speaker) {
    KESTRUM_LOG(Level_Info, "(%d)", static_cast<int>(speaker->uid));
    KillTimer(window(), kSpeakerTimer);
    SetTimer(window(), kSpeakerTimer, kSpeakerPeriodMs, nullptr);
    speakerMark_.onActiveSpeaker(delegate_.meetingRoster(), speaker->uid);
}

void CLiveMedia::OnSpeakerTimer() {
    for (const ZuvraKestrum::Live::SpeechMark& mark :
         speakerMark_.onTick(delegate_.meetingRoster())) {
        if (mark.place == MarkPlace::kBigView) {
            controls_.speech->SetVisible(mark.speaking);
            controls_.speech->Selected(mark.speaking);
        } else if (mark.place == MarkPlace::kSelfTile) {
            if (CDuiRemoteItem* self = delegate_.selfTile()) self->setSpeechStatus(mark.speaking);
        } else if (CDuiRemoteToolBar* strip = delegate_.tileStrip()) {
            strip->updateSpeechStatus(mark.streamId, mark.speaking);
        }
    }
}

void CLiveMedia::OnMediaEnableVideo(std::unique_ptr<PayloadOf<WM_ENGINE_USER_ENABLE_VIDEO>> flag) {
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(flag->uid), flag->flag);
}

void CLiveMedia::OnMediaEnableLocalVideo(
    std::unique_ptr<PayloadOf<WM_ENGINE_USER_ENABLE_LOCAL_VIDEO>> flag) {
    CDuiUserList* list = delegate_.participantsPanel();
    if (!list) return;
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(flag->uid), flag->flag);
    list->updateVideoStatusByStream(static_cast<int>(flag->uid), flag->flag);
}

void CLiveMedia::OnMediaMuteAudio(std::unique_ptr<PayloadOf<WM_ENGINE_USER_MUTE_AUDIO>> flag) {
    CDuiUserList* list = delegate_.participantsPanel();
    if (!list) return;
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(flag->uid), flag->flag);
    list->updateAudioStatusByStream(static_cast<int>(flag->uid), flag->flag);
}

void CLiveMedia::OnMediaMuteVideo(std::unique_ptr<PayloadOf<WM_ENGINE_USER_MUTE_VIDEO>> flag) {
    CDuiUserList* list = delegate_.participantsPanel();
    if (!list) return;
    KESTRUM_LOG(Level_Info, "(%d,%d)", static_cast<int>(flag->uid), flag->flag);
    list->updateVideoStatusByStream(static_cast<int>(flag->uid), !flag->flag);
}

// ---- Screen share ---------------------------------------------------------------------------

void CLiveMedia::onShareClicked(bool sharing) {
    if (sharing) {
        stopSharing();
        return;
    }
    endShareStop();
    CVideoSourceTransfer* source = host_.videoSource();
    EnableWindow(window(), FALSE);
    if (screenShare_) return;
    if (source) source->initialize();
    auto* picker = new CDuiScreenShare(host_);
    if (!ZuvraKestrum::Frame::CreateOrDelete(picker, window(), L"ScreenShare", kPickerStyle, 0, 160,
                                             100, kPickerWidth, kPickerHeight)) {
        // As if the picker had been closed at once.
        PostPayload<WM_SCREENSHARE_CHOSEN>(window(), nullptr);
        return;
    }
    screenShare_ = picker;
    picker->CenterWindow();
}

void CLiveMedia::OnScreenShareChosen(std::unique_ptr<ScreenShareChosen> chosen) {
    closePicker();
    EnableWindow(window(), TRUE);
    if (!frame_.acceptingEvents()) return;
    if (!chosen) {
        delegate_.onShareCancelled();
        return;
    }
    KESTRUM_LOG(Level_Info, "(%s)", "Choose Wnd");
    if (CVideoSourceTransfer* source = host_.videoSource()) {
        source->setShareTarget(chosen->window, 5, chosen->width, chosen->height, 0);
    }
}

void CLiveMedia::closePicker() {
    if (!screenShare_) return;
    HWND picker = screenShare_->GetHWND();
    screenShare_ = nullptr;
    // The picker deletes itself with its window.
    if (picker) DestroyWindow(picker);
}

// The token is the share stream's own: the meeting's media token stays for the engine.
void CLiveMedia::OnMeetingRoomCtrl(std::unique_ptr<PayloadOf<WM_ROOM_CTRL>> result) {
    KESTRUM_LOG(Level_Info, "(%s,%d)", ZuvraKestrum::Util::MaskSecret(result->mediaToken).c_str(),
                result->shareId);
    ZuvraKestrum::Live::ApplyShareResult(*result, meeting_, host_.config());
    CVideoSourceTransfer* source = host_.videoSource();
    switch (ZuvraKestrum::Live::ShareChannelStepOf(result->shareId)) {
    case ShareChannelStep::kJoin:
        if (source) {
            source->joinChannel(result->mediaToken, meeting_.roomName, nullptr,
                                static_cast<uint32_t>(result->shareId));
        }
        break;
    case ShareChannelStep::kLeave:
        if (source) source->leaveChannel();
        break;
    case ShareChannelStep::kNone:
        break;
    }
    if (CDuiRemoteToolBar* strip = delegate_.tileStrip())
        strip->updateScreenStatus(result->shareId);
    if (CDuiRemoteItem* self = delegate_.selfTile()) self->updateScreenStatus(result->shareId);
}

void CLiveMedia::announceShareAgain() {
    if (CVideoSourceTransfer* source = host_.videoSource()) {
        source->leaveChannel();
        source->initialize();
    }
    host_.roomctrlShare(true, Only(meeting_.uid));
}

void CLiveMedia::stopSharing() {
    host_.roomctrlShare(false, Only(meeting_.uid));
    shareStop_.start();
    SetTimer(window(), kShareRestopTimer, shareRestopMs_, nullptr);
    if (CVideoSourceTransfer* source = host_.videoSource()) source->stopShare();
}

// A timer row has no event mode: a tick queued before the leave still ends the timer here.
void CLiveMedia::OnShareRestopTimer() {
    switch (shareStop_.onTick(!frame_.acceptingEvents())) {
    case ShareStop::Tick::kEndTimer:
        KillTimer(window(), kShareRestopTimer);
        break;
    case ShareStop::Tick::kGiveUp:
        KESTRUM_LOG(Level_Warning, "(ReStop ScreenShare: no end reported after %d stops)",
                    ShareStop::kLimit);
        endShareStop();
        break;
    case ShareStop::Tick::kSendAgain:
        KESTRUM_LOG(Level_Info, "(ReStop ScreenShare)");
        host_.roomctrlShare(false, Only(meeting_.uid));
        break;
    }
}

void CLiveMedia::endShareStop() {
    shareStop_.end();
    KillTimer(window(), kShareRestopTimer);
}

void CLiveMedia::leave() {
    KillTimer(window(), kShareRestopTimer);
    closePicker();
}
