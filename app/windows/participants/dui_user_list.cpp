#include "app/windows/participants/dui_user_list.h"

#include <algorithm>
#include <cwchar>

#include "app/windows/participants/participant_rules.h"
#include "app/windows/skeleton/control_binding.h"
#include "app/windows/skeleton/message_families.h"
#include "duilib/option_ui.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/room_roles.h"
#include "kestrum/core/util_text.h"

namespace {

namespace Rules = ZuvraKestrum::Participants;

std::string RowUid(DuiLib::CControlUI* control) {
    const UserListItemInfo* item = CUserList::RecordOf(control);
    return item ? item->uid : std::string();
}

// "Mute all" is a room control, which the service takes from the room's host only: unlike the
// rows' options it is nobody's while the room has no host.
bool OwnUserIsHost(CKestrumData& data) {
    return ZuvraKestrum::Roles::IsHost(ZuvraKestrum::Roles::FirstHostOf(data), data.uid);
}

// The invited device of an invitation request's op; false for another op.
bool DeviceOfRequest(const std::string& op, Rules::Device& device) {
    for (Rules::Device candidate : {Rules::Device::kMicrophone, Rules::Device::kCamera}) {
        if (op != Rules::InviteRequest(candidate)) continue;
        device = candidate;
        return true;
    }
    return false;
}

}  // namespace

CDuiUserList::CDuiUserList(IMeetingHost& host)
    : CKestrumDump("CDuiUserList", true, false, false, L""),
      host_(host),
      meeting_(host.meeting()) {}

DuiLib::CControlUI* CDuiUserList::CreateControl(const wchar_t* className) {
    if (className && std::wcscmp(className, L"UserList") == 0)
        return new CUserList(&paintManager_, meeting_);
    return nullptr;
}

CDuiMessageMap<CDuiUserList> CDuiUserList::MessageMap() {
    CDuiMessageMap<CDuiUserList> table = StandardMessageMap(&CDuiUserList::OnCreate);
    table.on<WM_TIMER>(&CDuiUserList::OnTimer)
        .on<WM_MSGBOX_INVITE_MIC_RET>(&CDuiUserList::OnMsgBoxRequestmic, RowMode::kPassOn)
        .on<WM_MSGBOX_INVITE_CAMERA_RET>(&CDuiUserList::OnMsgBoxRequestcamera, RowMode::kPassOn);
    return table;
}

CTimerTable<CDuiUserList> CDuiUserList::TimerTable() {
    CTimerTable<CDuiUserList> table;
    table.on(kOptionWaitTimer, &CDuiUserList::OnOptionWaitTimer)
        .on(kInvitationWaitTimer, &CDuiUserList::OnInvitationWaitTimer)
        .on(kAddTimer, &CDuiUserList::OnAddTimer);
    return table;
}

bool CDuiUserList::OnTimer(UINT_PTR timer) {
    static const CTimerTable<CDuiUserList> table = TimerTable();
    return table.dispatch(*this, timer);
}

CDuiNotifyMap<CDuiUserList> CDuiUserList::NotifyMap() {
    CDuiNotifyMap<CDuiUserList> table;
    // Rows are list elements named "userlistitem"; they send the item notifications.
    table.add(L"windowinit", L"MainFrame", &CDuiUserList::DoInitWnd)
        .add(L"click", L"closebtn", &CDuiUserList::DoClose)
        .add(L"click", L"CanBanned", &CDuiUserList::DoCanBanned)
        .add(L"click", L"AllBanned", &CDuiUserList::DoAllBanned)
        .add(L"itemclick", L"userlistitem", &CDuiUserList::DoItemClick)
        .add(L"itemactivate", L"userlistitem", &CDuiUserList::DoItemActive)
        .add(L"click", L"tick", &CDuiUserList::DoTickBtn)
        .add(L"click", L"cameraStatusOpt", &CDuiUserList::DoCameraStatusOpt)
        .add(L"click", L"micStatusOpt", &CDuiUserList::DoMicStatusOpt);
    return table;
}

void CDuiUserList::OnCreate() {
    if (!BuildLanguageSkin(L"UserList", this, *this)) return;
    if (!BindControls(
            *this, {{L"userlist", &CDuiUserList::list_}, {L"Participants", &CDuiUserList::title_}},
            *this)) {
        return;
    }
    muteAll_ = paintManager_.FindControl(L"AllBanned");
    updateUserCount();
    refreshRoomButtons();
}

void CDuiUserList::DoInitWnd(DuiLib::TNotifyUI&) { KESTRUM_LOG(Level_Info, "()"); }

void CDuiUserList::DoClose(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    PostEmpty<WM_USERLIST_CLOSED>(host_.meetingWindow());
}

void CDuiUserList::DoCanBanned(DuiLib::TNotifyUI&) { KESTRUM_LOG(Level_Info, "()"); }

// Every other participant whose microphone the room lists as on, in one queued request.
void CDuiUserList::DoAllBanned(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    if (!list_ || !OwnUserIsHost(meeting_)) return;
    addWaitingRows();
    const std::vector<std::string> uids = list_->othersWithMicrophoneOn();
    if (!uids.empty()) host_.roomctrlAudio(true, uids);
}

void CDuiUserList::refreshRoomButtons() {
    if (muteAll_) muteAll_->SetEnabled(OwnUserIsHost(meeting_));
}

void CDuiUserList::DoItemClick(DuiLib::TNotifyUI& notification) {
    KESTRUM_LOG(Level_Info, "(%s)", RowUid(notification.pSender).c_str());
}

void CDuiUserList::DoItemActive(DuiLib::TNotifyUI& notification) {
    KESTRUM_LOG(Level_Info, "(%s)", RowUid(notification.pSender).c_str());
}

void CDuiUserList::DoTickBtn(DuiLib::TNotifyUI& notification) {
    const UserListItemInfo* item = CUserList::RecordOf(notification.pSender);
    if (!item) return;
    // The question pumps messages: a new participant list arriving meanwhile may remove the row
    // and free this record, so everything needed afterwards is copied now.
    const std::string uid = item->uid;
    const std::wstring question = Rules::RemoveQuestion(item->nickname, g_language);
    item = nullptr;
    KESTRUM_LOG(Level_Info, "(%s)", uid.c_str());
    if (!host_.confirm(GetHWND(), question)) return;
    host_.roomctrlBan({uid});
}

void CDuiUserList::DoMicStatusOpt(DuiLib::TNotifyUI& notification) {
    onOptionClick(notification, Device::kMicrophone);
}

void CDuiUserList::DoCameraStatusOpt(DuiLib::TNotifyUI& notification) {
    onOptionClick(notification, Device::kCamera);
}

void CDuiUserList::onOptionClick(DuiLib::TNotifyUI& notification, Device device) {
    auto* option = static_cast<DuiLib::COptionUI*>(
        notification.pSender ? notification.pSender->GetInterface(L"Option") : nullptr);
    const UserListItemInfo* item = CUserList::RecordOf(notification.pSender);
    if (!option || !item) return;
    // The host's calls may end in a new list that removes the row: it is done with before them.
    const std::vector<std::string> uids{item->uid};
    const std::string& uid = uids.front();
    const bool microphone = device == Device::kMicrophone;
    const bool ownRow = uid == meeting_.uid;
    // The click comes before the option toggles: selected still means the device is off.
    const bool off = option->IsSelected();
    const bool supported = ownRow || !off || meeting_.isFeatureSupported(uid);
    const Rules::OptionClick click = Rules::PlanOptionClick(device, ownRow, off, supported);
    // The click changes the row (the option toggles itself after this, too).
    if (list_) list_->touch(uid);
    if (click.disablesOption) option->SetEnabled(false);
    if (click.clearsSelection) option->Selected(false);
    // A switch shows its new state (or waits disabled) until the room answers, at most a while.
    if (click.action == Rules::OptionAction::kSwitchOwn ||
        click.action == Rules::OptionAction::kMuteOther) {
        SetTimer(GetHWND(), kOptionWaitTimer, optionWaitMs_, nullptr);
    }
    switch (click.action) {
    case Rules::OptionAction::kSwitchOwn:
    case Rules::OptionAction::kMuteOther:
        microphone ? host_.roomctrlAudio(click.mute, uids) : host_.roomctrlVideo(click.mute, uids);
        break;
    case Rules::OptionAction::kNotSupported:
        host_.toast(host_.meetingWindow(), Rules::NotSupportedText(g_language),
                    kNotSupportedToastMs);
        break;
    case Rules::OptionAction::kInviteOther: {
        MsgBoxInviteInfo info;
        info.type = microphone ? 0 : 1;
        info.uid = uid;
        info.notifyWnd = GetHWND();
        info.parentWnd = host_.meetingWindow();
        microphone ? host_.inviteMic(info) : host_.inviteCamera(info);
        break;
    }
    }
}

void CDuiUserList::OnMsgBoxRequestmic(MsgBoxInviteInfo* info, bool yes) {
    onInviteAnswer(Device::kMicrophone, info, yes);
}

void CDuiUserList::OnMsgBoxRequestcamera(MsgBoxInviteInfo* info, bool yes) {
    onInviteAnswer(Device::kCamera, info, yes);
}

void CDuiUserList::onInviteAnswer(Device device, const MsgBoxInviteInfo* info, bool yes) {
    // The record lives in the invitation box manager: read in place, never freed here.
    if (!info || !yes) return;
    const std::string uid = info->uid;
    const char* op = Rules::InviteRequest(device);
    KESTRUM_LOG(Level_Info, " (%s %s)", op, uid.c_str());
    setWaiting(device, uid, true);
    const int timeoutSeconds = std::max(meeting_.unmuteRequestTimeout, 1);
    waits_.add(device, uid,
               Rules::WaitEntry::Clock::now() +
                   std::chrono::milliseconds(timeoutSeconds * 1000 + answerGraceMs_));
    SetTimer(GetHWND(), kInvitationWaitTimer, kInvitationTickMs, nullptr);
    host_.sendRequest(op, uid, meeting_.roomName);
}

void CDuiUserList::setWaiting(Device device, const std::string& uid, bool waiting) {
    if (list_) addWaitingRows();
    if (!list_) return;
    if (device == Device::kMicrophone)
        list_->setMicAnim(uid, waiting);
    else
        list_->setCameraAnim(uid, waiting);
}

void CDuiUserList::endWaits(const std::vector<Rules::WaitEntry>& ended) {
    for (const Rules::WaitEntry& entry : ended) {
        KESTRUM_LOG(Level_Info, "(%d,%s)", static_cast<int>(entry.device), entry.uid.c_str());
        setWaiting(entry.device, entry.uid, false);
    }
    if (waits_.entries().empty()) KillTimer(GetHWND(), kInvitationWaitTimer);
}

void CDuiUserList::OnInvitationWaitTimer() {
    endWaits(waits_.expire(Rules::WaitEntry::Clock::now()));
}

void CDuiUserList::invitationPassedOn(const std::string& op, const std::string& uid) {
    Device device;
    if (DeviceOfRequest(op, device)) waits_.passedOn(device, uid);
}

void CDuiUserList::invitationsRefused() { endWaits(waits_.dropNotPassedOn()); }

void CDuiUserList::OnOptionWaitTimer() {
    if (list_) addWaitingRows();
    KillTimer(GetHWND(), kOptionWaitTimer);
    if (list_) list_->restoreDevices();
}

void CDuiUserList::roomControlFailed() {
    KESTRUM_LOG(Level_Info, "()");
    OnOptionWaitTimer();
}

// The row comes with the next slice; the title counts the participant at once.
void CDuiUserList::socketNotifyAddUser(const UserInfoRecord& record) {
    KESTRUM_LOG(Level_Info, "(%s,%s,%d)", record.uid, record.name, record.streamId);
    if (!list_) return;
    waitingRows_.push_back(record);
    if (waitingRows_.size() == 1 && !SetTimer(GetHWND(), kAddTimer, USER_TIMER_MINIMUM, nullptr)) {
        addWaitingRows();
    }
    updateUserCount();
}

void CDuiUserList::OnAddTimer() { addWaitingRowsFor(std::chrono::milliseconds(kAddSliceMs)); }

// As good as no bound: one that the clock's own unit still holds.
void CDuiUserList::addWaitingRows() { addWaitingRowsFor(std::chrono::hours(1)); }

void CDuiUserList::addWaitingRowsFor(std::chrono::milliseconds slice) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    while (list_ && !waitingRows_.empty() && Clock::now() - start < slice) {
        list_->CreateListItem(waitingRows_.front());
        waitingRows_.pop_front();
    }
    if (!list_) waitingRows_.clear();
    if (waitingRows_.empty()) KillTimer(GetHWND(), kAddTimer);
}

void CDuiUserList::socketNotifyRemoteUser(const std::string& uid) {
    KESTRUM_LOG(Level_Info, "(%s)", uid.c_str());
    if (!list_) return;
    const auto waiting = std::find_if(waitingRows_.begin(), waitingRows_.end(),
                                      [&uid](const UserInfoRecord& r) { return uid == r.uid; });
    if (waiting != waitingRows_.end()) {
        waitingRows_.erase(waiting);
    } else {
        list_->removeItem(uid);
    }
    updateUserCount();
}

void CDuiUserList::updateUserList(const std::vector<UserInfoRecord>& participants,
                                  const std::vector<size_t>* changed) {
    KESTRUM_LOG(Level_Info, "()");
    // The list is the room as it stands: rows still to come for earlier joins are in it.
    waitingRows_.clear();
    KillTimer(GetHWND(), kAddTimer);
    if (list_) list_->UpdateListItem(participants, changed);
    for (const Rules::WaitEntry& entry : waits_.reconcile(participants)) {
        setWaiting(entry.device, entry.uid, true);
    }
    if (waits_.entries().empty()) KillTimer(GetHWND(), kInvitationWaitTimer);
    updateUserCount();
    refreshRoomButtons();
}

void CDuiUserList::updateAudioStatus(const std::string& uid, bool muted) {
    if (list_) addWaitingRows();
    if (list_) list_->updateMicStatus(uid, muted, false);
}

void CDuiUserList::updateAudioStatusByStream(int streamId, bool muted) {
    updateAudioStatus(meeting_.getUidByStreamId(streamId), muted);
}

void CDuiUserList::updateVideoStatusByStream(int streamId, bool on) {
    if (list_) addWaitingRows();
    if (!list_) return;
    list_->updateVideoStatus(meeting_.getUidByStreamId(streamId), on, false);
}

void CDuiUserList::updateHostStatus() {
    if (list_) addWaitingRows();
    if (list_) list_->refreshHostStatus();
    refreshRoomButtons();
}

void CDuiUserList::updateUserPhoto(const UserInfoRecord& record) {
    if (list_) addWaitingRows();
    if (list_) list_->updateUserPhoto(record);
}

void CDuiUserList::stopMicWaiting(const std::string& uid) {
    setWaiting(Device::kMicrophone, uid, false);
    waits_.stop(Device::kMicrophone, uid);
    endWaits({});
}

void CDuiUserList::stopCameraWaiting(const std::string& uid) {
    setWaiting(Device::kCamera, uid, false);
    waits_.stop(Device::kCamera, uid);
    endWaits({});
}

void CDuiUserList::updateUserCount() {
    if (!title_) return;
    const int count = list_ ? list_->itemCount() + static_cast<int>(waitingRows_.size()) : 0;
    title_->SetText(Rules::TitleText(count, g_language).c_str());
}
