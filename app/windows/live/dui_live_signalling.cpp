// CDuiLive's handlers of the signalling channel: the participants' records and avatars, the room
// record, the user operations, the chat, the requests between participants and the connection.
// The decisions are ZuvraKestrum::Live's (meeting_roster.h, meeting_events.h); these handlers
// apply them to the controls, the panels and the engine.

#include <algorithm>
#include <map>
#include <mutex>

#include "app/windows/chat/dui_chat_list.h"
#include "app/windows/live/dui_live.h"
#include "app/windows/live/meeting_results.h"
#include "app/windows/meeting/meeting_host.h"
#include "app/windows/participants/dui_user_list.h"
#include "app/windows/settings/settings_host.h"
#include "app/windows/tiles/dui_remote_item.h"
#include "app/windows/tiles/dui_remote_tool_bar.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/core/msgbox_ansy_manager.h"
#include "kestrum/core/room_roles.h"
#include "kestrum/core/util_text.h"
#include "ui/base/lang/lang_table.h"

using ZuvraKestrum::Live::InvitationAnswer;
using ZuvraKestrum::Live::InvitationTimers;
using ZuvraKestrum::Live::OperationPlan;
using ZuvraKestrum::Live::ReconnectRoad;
using ZuvraKestrum::Live::RosterActions;
using ZuvraKestrum::Util::Utf8ToCString;

namespace {

std::string NicknameOf(CKestrumData& data, const std::string& uid) {
    std::string name;
    data.getUserNickName(uid, name);
    return name;
}

// The wait for an answer, from the meeting data's time-out in seconds; a time-out the service
// did not give still leaves the other side a second.
UINT RequestWaitMs(const CKestrumData& data) {
    return static_cast<UINT>(std::max(data.unmuteRequestTimeout, 1)) * 1000;
}

// Why the meeting ended without the server, from the language file of the meeting's language
// beside the skins.
std::wstring ConnectionEndText(ReconnectRoad::GiveUp why) {
    const std::wstring file = std::wstring(DuiLib::CPaintManagerUI::GetResourcePath()) +
                              L"..\\lang\\" + (g_language ? L"zh_CN" : L"en_US") + L"\\strings.ini";
    return ui::LangTable::LookupInFile(file, why == ReconnectRoad::GiveUp::kRefused
                                                 ? L"STRID_LIVE_SIGNAL_REFUSED"
                                                 : L"STRID_LIVE_SIGNAL_LOST");
}

// The invitation timers are process-wide, like the manager's pending list they index: an
// entry left by an earlier window never shares its id with a new one.
InvitationTimers& Timers() {
    static InvitationTimers timers;
    return timers;
}

}  // namespace

// ---- Participants ---------------------------------------------------------------------------

void CDuiLive::OnSocketJoinSuccess(std::unique_ptr<PayloadOf<WM_SOCKET_JOIN_SUCCESS>> own) {
    KESTRUM_LOG(Level_Info, "(%s)", own->uid);
    const bool sharing = roster_->ownUser().shareId > 0;
    applyRoster(roster_->onOwnJoin(*own));
    media_.showBigView();
    KeepOwnShare(sharing);
}

void CDuiLive::OnSocketUserJoin(std::unique_ptr<PayloadOf<WM_SOCKET_USER_JOIN>> record) {
    KESTRUM_LOG(Level_Info, "(%s,%s,%d)", record->uid, record->name, record->streamId);
    applyRoster(roster_->onUserJoin(*record));
}

void CDuiLive::OnSocketUserLeave(std::unique_ptr<PayloadOf<WM_SOCKET_USER_LEAVE>> uid) {
    KESTRUM_LOG(Level_Info, "(%s)", uid->c_str());
    applyRoster(roster_->onUserLeave(*uid));
    if (strip_) strip_->socketNotifyDisable(*uid);
}

// The server's list on each (re)connection is the meeting as it stands: the records' statuses
// reach every view, the own ones included.
void CDuiLive::OnSocketUserList(std::unique_ptr<PayloadOf<WM_SOCKET_USER_LIST>> records) {
    KESTRUM_LOG(Level_Info, "(%d)", static_cast<int>(records->size()));
    const bool sharing = roster_->ownUser().shareId > 0;
    const RosterActions actions = roster_->onUserList(std::move(*records));
    applyRoster(actions);
    RefreshStatus(ZuvraKestrum::Live::ChangedInPlace(actions));
    KeepOwnShare(sharing);
    shareToRestore_ = false;
}

// A share of this user that the room no longer lists: a new connection the server did not
// carry it over to announces it again, once (the own record, the first news of the new
// connection, shows it); otherwise it ends here too, the way the user ends it.
void CDuiLive::KeepOwnShare(bool sharing) {
    if (!sharing || roster_->ownUser().shareId > 0) return;
    KESTRUM_LOG(Level_Info, " the own share is not listed any more (%d)", shareToRestore_);
    if (shareToRestore_) {
        shareToRestore_ = false;
        media_.announceShareAgain();
        return;
    }
    shareOpt_->Selected(false, false);
    media_.stopSharing();
}

void CDuiLive::OnSocketUserInfo(std::unique_ptr<PayloadOf<WM_SOCKET_USER_INFO>> record) {
    ZuvraKestrum::Live::ApplyOwnInfo(*record, meeting_);
}

void CDuiLive::OnExchangeBig(std::unique_ptr<PayloadOf<WM_EXCHANGE_BIG>> record) {
    applyRoster(roster_->onExchangeBig(*record));
}

// ---- Avatars and failed requests ------------------------------------------------------------

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

// An avatar arrived: its rows and bubbles show it.
void CDuiLive::OnGetPhoto(std::unique_ptr<PayloadOf<WM_GET_PHOTO>> portraitId) {
    const std::string uid = roster_->onAvatarArrived(*portraitId);
    if (uid.empty()) return;
    if (uid == meeting_.uid) {
        ZuvraKestrum::Live::ApplyOwnAvatar(meeting_, host_.config());
    }
    for (const UserInfoRecord& record : roster_->socketList()) {
        if (uid != record.uid) continue;
        if (userList_) userList_->updateUserPhoto(record);
        break;
    }
    if (chatList_) chatList_->updateChatLogo(uid);
}

// A failed request of the bridge; a failed avatar download ends it, so the queue moves on, and
// says nothing: the default picture stays.
void CDuiLive::OnAccountError(std::unique_ptr<PayloadOf<WM_ACCOUNT_ERROR>> error) {
    KESTRUM_LOG(Level_Info, "(%s,%s,%d)", error->text1.c_str(), error->text2.c_str(), error->code);
    static_cast<void>(roster_->onRequestFailed(error->text1));
    if (ownToggles_.requestFailed(error->text1)) FreeOwnToggles();
    if (error->text1 == "room/ctrl" && userList_) userList_->roomControlFailed();
    if (ZuvraKestrum::Live::IsAvatarRequest(error->text1)) return;
    // A failed request the service explained: the box is modal and pumps messages, so it is the
    // last thing the handler does.
    if (!error->text1.empty() && !error->text2.empty() && error->code == 0) {
        host_.dialogs().showMsgBox(GetHWND(), Utf8ToCString(error->text2), 0,
                                   ProgramDialogs::kErrorBox);
    }
}

// ---- Room record ----------------------------------------------------------------------------

void CDuiLive::OnSocketRoomInfo(std::unique_ptr<PayloadOf<WM_SOCKET_ROOM_INFO>> room) {
    const bool hostsChanged = meeting_.updateRoomInfo(*room);
    const std::string host = ZuvraKestrum::Roles::FirstHost(room->hosts);
    KESTRUM_LOG(Level_Info, "(%s,%d)", host.c_str(), room->initialStatus);
    roomId_->SetText(Utf8ToCString(room->rid).c_str());
    if (hostsChanged && userList_) userList_->updateHostStatus();
    // The record may change the room's mode, which the tiles show.
    tilesBehind_ = true;
    ShowHostNotice(host);
    if (selfTile_) selfTile_->updateHostStatus(host);
    if (strip_) strip_->updateHostStatus(host);
    media_.showHostMark();
    media_.joinEngineChannel(*room);
    RefreshRoomSettings();
}

void CDuiLive::ShowHostNotice(const std::string& firstHost) {
    const std::string text = hostNotice_.onRoomRecord(
        firstHost, meeting_.uid, g_language,
        [this](const std::string& uid) { return NicknameOf(meeting_, uid); });
    if (!text.empty()) host_.toast(GetHWND(), Utf8ToCString(text), kHostToastMs);
}

// An open room settings window shows the record just stored.
void CDuiLive::RefreshRoomSettings() {
    for (unsigned dialog : {ProgramDialogs::kSetRoomDlg, ProgramDialogs::kSetOwnRoomDlg}) {
        if (auto* view = dynamic_cast<IRoomSettingsView*>(host_.dialogs().dialog(dialog))) {
            view->updateRoomInfo();
        }
    }
}

// ---- User operations ------------------------------------------------------------------------

// A user operation carries the room's list after the change; the own mute changes confirmed
// by the server free the microphone and camera toggles again.
void CDuiLive::OnSocketUserOperator(std::unique_ptr<PayloadOf<WM_SOCKET_USER_OPERATOR>> operation) {
    KESTRUM_LOG(Level_Info, "(%s,%s,%s)", operation->operatorUid.c_str(), operation->target.c_str(),
                operation->type.c_str());
    const OperationPlan plan = ZuvraKestrum::Live::PlanOperation(
        operation->operatorUid, operation->target, operation->type, meeting_.uid);
    if (plan.enableOwnToggles && ownToggles_.settle()) FreeOwnToggles();
    const RosterActions actions = roster_->onUserList(std::move(operation->users));
    applyRoster(actions);
    if (plan.removed) {
        LeaveWithNotice(Utf8ToCString(ZuvraKestrum::Live::RemovedText(
            g_language, NicknameOf(meeting_, operation->operatorUid))));
        return;  // the window may be gone
    }
    if (plan.shareButton != OperationPlan::kShareAsIs) {
        shareOpt_->SetEnabled(plan.shareButton == OperationPlan::kShareEnable);
    }
    if (plan.ownShareEnded) {
        roster_->setOwnShareId(-1);
        shareOpt_->Selected(false, false);
        media_.endShareStop();
    }
    if (plan.interruptNotice) {
        const std::string text = ZuvraKestrum::Live::InterruptText(
            g_language, NicknameOf(meeting_, operation->operatorUid));
        host_.toast(media_.video() ? media_.video().handle() : GetHWND(), Utf8ToCString(text),
                    kInterruptToastMs);
    }
    if (plan.refreshStatus) RefreshStatus(ZuvraKestrum::Live::ChangedInPlace(actions));
    tilesBehind_ = tilesBehind_ || !plan.refreshStatus;
}

// The participants' records as listed last reach the big view, the self tile and the tiles;
// a view that shows its record already is left alone, so that a list of the whole room changes
// only what changed. Share records follow their streams, not the list. A list kept in place
// reaches only the tiles of its changed records, unless the tiles missed a list or the room's
// mode since: comparing every tile with its record is what a list of hundreds cannot afford.
void CDuiLive::RefreshStatus(const std::vector<size_t>* places) {
    const std::vector<UserInfoRecord>& list = roster_->socketList();
    const bool everyTile = !places || tilesBehind_;
    tilesBehind_ = false;
    for (size_t at = 0; at < list.size(); ++at) {
        const UserInfoRecord& user = list[at];
        if (user.isShareStream) continue;
        const bool changed = !SameRecord(user, roster_->bigViewUser());
        const bool big = roster_->refreshBigViewUser(user);
        const bool self = roster_->refreshOwnUser(user);
        if (big && changed) media_.showBigView();
        if (self && !big && selfTile_ && !selfTile_->shows(user)) selfTile_->setUserInfo(user);
        if (self) ApplyOwnStatus();
        if (big || self || !strip_) continue;
        if (everyTile || std::binary_search(places->begin(), places->end(), at))
            strip_->socketNotifyStatus(user);
    }
}

// The toggles wait for the echo of the change just sent, at most a bounded time.
void CDuiLive::WaitForOwnEcho() {
    ownToggles_.sent();
    SetTimer(GetHWND(), kToggleWaitTimer, toggleWaitMs_, nullptr);
}

void CDuiLive::OnToggleWaitTimer() {
    if (ownToggles_.settle()) FreeOwnToggles();
}

// No echo is coming: both toggles are free and show the devices as the engine has them.
void CDuiLive::FreeOwnToggles() {
    KillTimer(GetHWND(), kToggleWaitTimer);
    micOpt_->SetEnabled(true);
    cameraOpt_->SetEnabled(true);
    micOpt_->Selected(localAudioMuted_, false);
    cameraOpt_->Selected(localVideoMuted_, false);
}

// The meeting ends for this user (removed by the host, or the server gone for good), and the
// notice says why over the join window. The box pumps messages while the window is being
// destroyed, so everything it needs is copied first and nothing of the window is touched after it.
void CDuiLive::LeaveWithNotice(const std::wstring& text) {
    IMeetingHost& host = host_;
    IDialogTable& dialogs = host.dialogs();
    LeaveMeeting();
    host.dropInvitationBoxes();
    dialogs.showMsgBox(dialogs.dialogWindow(ProgramDialogs::kLoginDlg), text, 0,
                       ProgramDialogs::kWarningBox);
}

// The own status bits as the server reports them reach the toggles and the engine.
void CDuiLive::ApplyOwnStatus() {
    const int status = roster_->ownUser().status;
    const int profile = meeting_.getChannelProfile();
    const ZuvraKestrum::Live::OwnStatusPlan plan =
        ZuvraKestrum::Live::PlanOwnStatus(status, localAudioMuted_, localVideoMuted_, profile);
    CKestrumZuvra* engine = Engine();
    if (plan.changeAudio) {
        localAudioMuted_ = plan.audioMuted;
        micOpt_->Selected(plan.audioMuted, false);
        if (engine) engine->MuteLocalAudio(plan.audioMuted);
    }
    if (plan.changeVideo) {
        localVideoMuted_ = plan.videoMuted;
        cameraOpt_->Selected(plan.videoMuted, false);
        if (engine) engine->MuteLocalVideo(plan.videoMuted);
    }
    if (plan.engineMode != -1 && engine) engine->SetEngineMode(plan.engineMode);
    PublishOwnStatus(status);
}

// A reconnection announces the devices as they are, not as they were at the first connect:
// the room then lists a muted user as muted.
void CDuiLive::PublishOwnStatus(int status) {
    ZuvraKestrum::Live::ApplyOwnStatus(status, meeting_);
    Course()->updateSocketStatus(status);
}

int CDuiLive::LocalStatus() const {
    return (localAudioMuted_ ? kStatusMicOff : 0) | (localVideoMuted_ ? kStatusCameraOff : 0);
}

// ---- Chat -----------------------------------------------------------------------------------

// The message and the rest of its batch (the lines that came while it waited in the queue).
void CDuiLive::OnSocketUserMsg(std::unique_ptr<PayloadOf<WM_SOCKET_USER_MSG>> message) {
    ShowChatMessage(message->text1, message->text2);
    if (CKestrumCourse* course = Course()) {
        for (const CKestrumCourse::ChatLine& line : course->takeChat(message->code)) {
            ShowChatMessage(line.uid, line.text);
        }
    }
    ShowBadge();
}

void CDuiLive::ShowChatMessage(const std::string& uid, const std::string& text) {
    if (chatList_) {
        std::string portraitId;
        meeting_.getUserPortraitId(portraitId, uid);
        chatList_->AddChatMsg(uid, text, portraitId);
    }
    toolBarState_.chatMessageArrived(uid == meeting_.uid);
}

// The server refused something this user sent: an invitation it has not passed on is not
// coming.
void CDuiLive::OnSocketUserError(std::unique_ptr<PayloadOf<WM_SOCKET_USER_ERROR>> error) {
    KESTRUM_LOG(Level_Info, "(%d,%s)", error->code, error->text.c_str());
    if (userList_) userList_->invitationsRefused();
}

// ---- Invitations this user sent -------------------------------------------------------------

// The server passed the invitation on: it waits for the answer until its timer.
void CDuiLive::OnSocketRequestResult(std::unique_ptr<PayloadOf<WM_SOCKET_REQUEST_RESULT>> result) {
    MsgBoxPendingInfo entry;
    entry.type = ZuvraKestrum::Live::PendingKindOf(result->text1);
    entry.requestId = result->text2;
    entry.uid = result->text3;
    entry.nickname = result->nickname;
    entry.eventId = Timers().next();
    KESTRUM_LOG(Level_Info, "(eventId: %d,%s %s)", entry.eventId, result->text1.c_str(),
                entry.nickname.c_str());
    host_.invitations().msgbox_append(entry);
    SetTimer(GetHWND(), static_cast<UINT_PTR>(entry.eventId), RequestWaitMs(meeting_), nullptr);
    if (userList_) userList_->invitationPassedOn(result->text1, entry.uid);
}

// The invited user did not answer in time: the time-out notice, and the participants panel
// stops waiting for that user.
void CDuiLive::OnInvitationTimer(UINT_PTR timer) {
    KillTimer(GetHWND(), timer);
    MsgBoxPendingInfo out;
    host_.invitations().msgbox_noresponse(static_cast<int>(timer), GetHWND(), out);
    if (!out.uid.empty()) StopWaiting(out.type, out.uid);
}

void CDuiLive::OnSocketUserResponse(std::unique_ptr<PayloadOf<WM_SOCKET_USER_RESPONSE>> response) {
    KESTRUM_LOG(Level_Info, "(%s,%s,%s,%d)", response->targetNickname.c_str(),
                response->requestId.c_str(), response->reason.c_str(), response->success);
    CMsgBoxAnsyManager& invitations = host_.invitations();
    MsgBoxPendingInfo out;
    switch (ZuvraKestrum::Live::AnswerOf(response->success, response->reason)) {
    case InvitationAnswer::kAccepted:
        invitations.msgbox_accepted(response->requestId, GetHWND());
        break;
    case InvitationAnswer::kTimedOut:
        // Silent, but the waiting mark goes like after any other end of the wait.
        for (const MsgBoxPendingInfo& entry : invitations.pendingList) {
            if (entry.requestId == response->requestId) out = entry;
        }
        invitations.msgbox_accepted(response->requestId, GetHWND());
        break;
    case InvitationAnswer::kRefused:
        invitations.msgbox_refused(response->requestId, GetHWND(), out);
        break;
    }
    if (!out.uid.empty()) StopWaiting(out.type, out.uid);
}

void CDuiLive::StopWaiting(int kind, const std::string& uid) {
    if (!userList_) return;
    if (kind == ZuvraKestrum::Live::kPendingMicrophone) userList_->stopMicWaiting(uid);
    if (kind == ZuvraKestrum::Live::kPendingCamera) userList_->stopCameraWaiting(uid);
}

// ---- Requests to this user ------------------------------------------------------------------

// Someone asks this user to switch the microphone or camera on: the request box of that kind
// (requests that come while it is open join it) waits for the user until the time-out it got
// when it opened.
void CDuiLive::OnSocketUserRequest(std::unique_ptr<PayloadOf<WM_SOCKET_USER_REQUEST>> request) {
    KESTRUM_LOG(Level_Info, "(%s,%s,%s)", request->nickname.c_str(), request->text1.c_str(),
                request->text3.c_str());
    MsgBoxRequestInfo info;
    info.type = ZuvraKestrum::Live::RequestKindOf(request->text1);
    info.notifyWnd = info.parentWnd = GetHWND();
    info.requesters.push_back({request->text2, request->text3, request->nickname});
    UINT_PTR timer = 0;
    bool opened = false;
    if (info.type == ZuvraKestrum::Live::kRequestCamera) {
        opened = host_.invitations().msgbox_requestcamera(info);
        timer = CMsgBoxAnsyManager::kCameraRequestTimer;
    } else if (info.type == ZuvraKestrum::Live::kRequestMicrophone) {
        opened = host_.invitations().msgbox_requestmic(info);
        timer = CMsgBoxAnsyManager::kMicRequestTimer;
    }
    if (opened) SetTimer(GetHWND(), timer, RequestWaitMs(meeting_), nullptr);
}

// The user answered a request box (the manager's record, read in place): every request in it
// gets the answer; yes switches the device on when it is off (never off when it is on).
void CDuiLive::OnMsgBoxRequestMic(MsgBoxRequestInfo* record, bool accept) {
    AnswerRequestBox(true, record, accept);
}

void CDuiLive::OnMsgBoxRequestCamera(MsgBoxRequestInfo* record, bool accept) {
    AnswerRequestBox(false, record, accept);
}

// The request box of the timer's kind was not answered in time.
void CDuiLive::OnRequestTimer(UINT_PTR timer) {
    KillTimer(GetHWND(), timer);
    host_.invitations().msgbox_timeout(static_cast<int>(timer), GetHWND());
}

void CDuiLive::AnswerRequestBox(bool microphone, MsgBoxRequestInfo* record, bool accept) {
    KillTimer(GetHWND(), microphone ? CMsgBoxAnsyManager::kMicRequestTimer
                                    : CMsgBoxAnsyManager::kCameraRequestTimer);
    if (!record || !acceptingEvents()) return;
    CMsgBoxAnsyManager& invitations = host_.invitations();
    // Emptied, the record lets the next request open a box of its own.
    std::vector<MsgBoxRequester> requesters;
    {
        std::lock_guard<std::mutex> guard(microphone ? invitations.micRequestLock
                                                     : invitations.cameraRequestLock);
        requesters.swap(record->requesters);
        record->box = nullptr;
        record->boxWnd = nullptr;
    }
    CKestrumCourse* course = Course();
    for (const MsgBoxRequester& requester : requesters) {
        course->sendResponse(requester.requestId, accept, meeting_.roomName);
    }
    if (!accept) return;
    if (microphone && localAudioMuted_) SendMicrophone(false);
    if (!microphone && localVideoMuted_) SendCamera(false);
}

// ---- Signalling connection ------------------------------------------------------------------

// The connection is lost: the library tries again after its own back-off, and the title bar says
// so meanwhile.
void CDuiLive::OnSocketStatusReconnect() {
    KESTRUM_LOG(Level_Info, "");
    ApplyReconnectStep(reconnectRoad_.onReconnecting());
}

// The server refused a new connection (the library never asks again after that): the road
// decides whether the bridge makes another one, and when, or whether the meeting ends.
void CDuiLive::OnSocketStatusFail() {
    KESTRUM_LOG(Level_Info, "");
    ApplyReconnectStep(reconnectRoad_.onRefused());  // the window may be gone
}

// An echo of an own change due while the connection was down is lost.
void CDuiLive::OnSocketStatusOpen() {
    KESTRUM_LOG(Level_Info, "");
    // A connection the library made again itself needs no new one.
    reconnect_.cancel();
    if (ownToggles_.settle()) FreeOwnToggles();
    shareToRestore_ = roster_->ownUser().shareId > 0;
    ApplyReconnectStep(reconnectRoad_.onOpen());
}

// The meeting may end here: nothing of the window is touched after it. A timer row has no event
// mode, and the leave does not stop this timer: a deadline after it must not end the meeting again.
void CDuiLive::OnReconnectDeadline() {
    if (!leaving_) ApplyReconnectStep(reconnectRoad_.onDeadline());
}

// The meeting's end, if the step says so, comes last: the window goes with it.
void CDuiLive::ApplyReconnectStep(const ReconnectRoad::Step& step) {
    HWND self = GetHWND();
    if (step.showNotice) reconnecting_->SetVisible(true);
    if (step.hideNotice) reconnecting_->SetVisible(false);
    if (step.startDeadline) {
        SetTimer(self, kReconnectDeadlineTimer,
                 static_cast<UINT>(reconnectRoad_.limits().giveUpAfter.count()), nullptr);
    }
    if (step.stopDeadline) KillTimer(self, kReconnectDeadlineTimer);
    if (step.reconnectAfter.count() >= 0) {
        CKestrumCourse* course = Course();
        reconnect_.start([course] { course->reconnectSocket(); }, step.reconnectAfter);
    }
    if (step.giveUp != ReconnectRoad::GiveUp::kNo) LeaveWithNotice(ConnectionEndText(step.giveUp));
}
