#include "app/windows/participants/user_list.h"

#include <algorithm>
#include <utility>

#include "app/windows/skeleton/dui_frame_window.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/room_roles.h"
#include "kestrum/core/util_lock_guard.h"
#include "kestrum/core/util_path.h"

namespace {

using ZuvraKestrum::Util::CLockGuard;
namespace Rules = ZuvraKestrum::Participants;

DuiLib::COptionUI* AsOption(DuiLib::CControlUI* control) {
    return control ? static_cast<DuiLib::COptionUI*>(control->GetInterface(L"Option")) : nullptr;
}

DuiLib::CButtonUI* AsButton(DuiLib::CControlUI* control) {
    return control ? static_cast<DuiLib::CButtonUI*>(control->GetInterface(L"Button")) : nullptr;
}

// The waiting look in place of a device option, or the option itself.
void ShowWaiting(DuiLib::CControlUI* option, DuiLib::CControlUI* anim, bool waiting) {
    if (option) option->SetVisible(!waiting);
    if (anim) anim->SetVisible(waiting);
}

// A new row's look: the option, not its waiting look. A visible option has its waiting look
// hidden already: the two always change together.
void EndWaiting(DuiLib::CControlUI* option, DuiLib::CControlUI* anim) {
    if (!option || !option->IsVisible()) ShowWaiting(option, anim, false);
}

// Touched rows beyond these make the next list look at every row: each is found by a walk.
constexpr size_t kFewTouched = 4;

void Enable(DuiLib::CControlUI* control, bool enabled) {
    if (control && control->IsEnabled() != enabled) control->SetEnabled(enabled);
}

}  // namespace

CUserList::CUserList(DuiLib::CPaintManagerUI* manager, CKestrumData& meeting)
    : CKestrumDump("CUserList", true, false, false, L""), manager_(manager), meeting_(meeting) {}

CUserList::~CUserList() { removeAllItems(); }

CUserList::Viewer CUserList::CurrentViewer() const {
    return {meeting_.uid, ZuvraKestrum::Roles::FirstHostOf(meeting_), g_language};
}

void CUserList::DoEvent(DuiLib::TEventUI& event) {
    if (HandleKineticScrollEvent(*this, scroll_, event, kScrollTimer)) return;
    CListUI::DoEvent(event);
}

const UserListItemInfo* CUserList::RecordOf(DuiLib::CControlUI* control) {
    return control ? reinterpret_cast<const UserListItemInfo*>(control->GetTag()) : nullptr;
}

const UserListItemInfo* CUserList::findItem(const std::string& uid) const {
    return roster_.find(uid);
}

DuiLib::CControlUI* CUserList::buildRow() {
    // The markup is parsed once; every later row comes from the kept copy.
    if (rowBuilder_.GetMarkup()->IsValid()) return rowBuilder_.Create(nullptr, manager_);
    const std::wstring file = CDuiFrameWindow::SkinFile(L"UserListItem");
    return rowBuilder_.Create(file.c_str(), 0u, nullptr, manager_);
}

void CUserList::CreateListItem(const UserInfoRecord& record) {
    CLockGuard guard(&listLock_);
    insertRow(roster_.end(), itemCount(), record);
}

bool CUserList::insertRow(Item before, int index, const UserInfoRecord& record) {
    DuiLib::CControlUI* row = buildRow();
    if (!row) {
        KESTRUM_LOG(Level_Error, "(%s) no row layout", record.uid);
        return false;
    }
    const Item item = roster_.insert(
        before,
        UserListItemInfo{record.uid, record.name, record.portraitId, record.status, row, {}});
    row->SetFixedWidth(kItemWidth);
    row->SetFixedHeight(kItemHeight);
    row->SetVisible(true);
    row->SetTag(reinterpret_cast<UINT_PTR>(&*item));
    if (!AddAt(row, index)) {
        delete row;
        roster_.erase(item);
        return false;
    }
    findParts(*item);
    fillListItem(*item);
    const Viewer viewer = CurrentViewer();
    rowsViewer_.noteNewRow(viewer, itemCount());
    updateItemStatus(*item,
                     ZuvraKestrum::Roles::ManagesParticipants(viewer.hostUid, viewer.ownUid));
    return true;
}

bool CUserList::moveRow(Item item, Item before, int index) {
    roster_.move(item, before);
    Remove(item->row, true);
    if (AddAt(item->row, index)) return true;
    delete item->row;
    roster_.erase(item);
    return false;
}

void CUserList::findParts(UserListItemInfo& item) {
    const auto sub = [this, &item](const wchar_t* name) {
        return manager_ ? manager_->FindSubControlByName(item.row, name) : nullptr;
    };
    UserListItemInfo::Parts& parts = item.parts;
    parts.photo = sub(L"userphoto");
    parts.nick = sub(L"nick");
    parts.hostMark = sub(L"hostmark");
    parts.tick = AsButton(sub(L"tick"));
    parts.mic = AsOption(sub(L"micStatusOpt"));
    parts.micAnim = sub(L"micanim");
    parts.camera = AsOption(sub(L"cameraStatusOpt"));
    parts.cameraAnim = sub(L"cameraanim");
}

void CUserList::fillListItem(UserListItemInfo& item) {
    const UINT_PTR tag = reinterpret_cast<UINT_PTR>(&item);
    const UserListItemInfo::Parts& parts = item.parts;
    showPhoto(item);
    if (parts.tick) parts.tick->SetTag(tag);
    if (parts.mic) parts.mic->SetTag(tag);
    if (parts.camera) parts.camera->SetTag(tag);
    showDevices(item);
}

void CUserList::showDevices(UserListItemInfo& item) {
    const UserListItemInfo::Parts& parts = item.parts;
    if (parts.mic) parts.mic->Selected((item.status & kStatusMicOff) != 0);
    if (parts.camera) parts.camera->Selected((item.status & kStatusCameraOff) != 0);
}

void CUserList::refreshRow(UserListItemInfo& item, const UserInfoRecord& participant, int status) {
    if (!item.touched && applyingSameViewer_ && item.status == status &&
        item.nickname == participant.name && item.portraitId == participant.portraitId) {
        return;
    }
    item.touched = false;
    const Viewer& viewer = applyingViewer_;
    const UserListItemInfo::Parts& parts = item.parts;
    const bool renamed = item.nickname != participant.name;
    if (renamed) item.nickname = participant.name;
    if (item.portraitId != participant.portraitId) {
        item.portraitId = participant.portraitId;
        showPhoto(item);
    }
    item.status = status;
    // Only what differs from a new row's look is set: each setter asks for the window's thread,
    // which an unchanged row of a long list should not pay for.
    showDevices(item);
    EndWaiting(parts.mic, parts.micAnim);
    EndWaiting(parts.camera, parts.cameraAnim);
    const bool isHost = ZuvraKestrum::Roles::ManagesParticipants(viewer.hostUid, viewer.ownUid);
    if (renamed || !applyingSameViewer_) {
        updateItemStatus(item, isHost);
        return;
    }
    // An option disabled by its click until the room's echo is enabled again, as on a new row.
    const bool enabled = Rules::OptionsEnabled(item.uid, viewer.ownUid, isHost);
    Enable(parts.mic, enabled);
    Enable(parts.camera, enabled);
}

void CUserList::updateItemStatus(UserListItemInfo& item, bool isHost) {
    const Viewer viewer = CurrentViewer();
    const Rules::RowView view = Rules::ComputeRowView(item.uid, item.nickname, viewer.ownUid,
                                                      viewer.hostUid, isHost, viewer.language);
    const UserListItemInfo::Parts& parts = item.parts;
    if (parts.tick) {
        parts.tick->SetEnabled(view.tickEnabled);
        parts.tick->SetNormalImage(view.tickImage);
        parts.tick->SetDisabledImage(view.tickImage);
    }
    if (parts.mic) parts.mic->SetEnabled(view.optionsEnabled);
    if (parts.camera) parts.camera->SetEnabled(view.optionsEnabled);
    if (parts.nick) {
        parts.nick->SetText(view.nickText.c_str());
        parts.nick->SetToolTip(view.toolTip.c_str());
    }
    if (parts.hostMark) parts.hostMark->SetVisible(view.hostMark);
}

void CUserList::showPhoto(UserListItemInfo& item) {
    if (!item.parts.photo) return;
    // Only the validated cache path: a portrait id from the server never names a file itself.
    item.parts.photo->SetBkImage(ZuvraKestrum::Util::GetPortraitPath(item.portraitId).c_str());
}

void CUserList::removeItem(const std::string& uid) {
    CLockGuard guard(&listLock_);
    const Item item = roster_.first(uid);
    if (item != roster_.end()) removeRow(item);
}

void CUserList::removeRow(Item item) {
    Remove(item->row, false);
    roster_.erase(item);
}

void CUserList::removeAllItems() {
    CLockGuard guard(&listLock_);
    // The rows go in one step; removing them one by one from the front would cost the same
    // and notify the same.
    RemoveAll();
    roster_.clear();
}

void CUserList::UpdateListItem(const std::vector<UserInfoRecord>& participants,
                               const std::vector<size_t>* changed) {
    CLockGuard guard(&listLock_);
    // A new list selects nothing, as when every row was new; cleared first, so that removing
    // the selected row selects no neighbour.
    if (GetCurSel() >= 0) SelectItem(-1, false, false);
    applyingViewer_ = CurrentViewer();
    applyingSameViewer_ = rowsViewer_.allRowsFor(applyingViewer_);
    std::vector<size_t> places;
    const bool inPlace = changed && placesToApply(participants, *changed, places);
    roster_.apply(participants, videoOnMap_, *this, inPlace ? &places : nullptr);
    // Every row the list kept was refreshed: none is touched any more.
    touchedUids_.clear();
    rowsViewer_.noteAllRows(applyingViewer_);
}

bool CUserList::placesToApply(const std::vector<UserInfoRecord>& participants,
                              const std::vector<size_t>& changed,
                              std::vector<size_t>& places) const {
    if (!applyingSameViewer_ || touchedUids_.size() > kFewTouched) return false;
    places = changed;
    for (const std::string& uid : touchedUids_) {
        const auto touched = std::find_if(
            participants.begin(), participants.end(),
            [&uid](const UserInfoRecord& participant) { return uid == participant.uid; });
        if (touched != participants.end()) places.push_back(touched - participants.begin());
    }
    return true;
}

void CUserList::markTouched(UserListItemInfo& item) {
    if (item.touched) return;
    item.touched = true;
    touchedUids_.push_back(item.uid);
}

void CUserList::logRowStatus(const UserInfoRecord& participant, int status) {
    writeLine(Level_Info, __LINE__, "[originStatus] %s(%s ,%s,nUserStatus: %d)",
              "CUserList::UpdateListItem", participant.uid, participant.name, participant.status);
    if (status == participant.status) return;
    writeLine(Level_Info, __LINE__, "[fixStatus] %s(%s,%s,nUserStatus: %d)",
              "CUserList::UpdateListItem", participant.uid, participant.name, status);
}

void CUserList::refreshHostStatus() {
    CLockGuard guard(&listLock_);
    const Viewer viewer = CurrentViewer();
    // Asked after every list the room sends: rows already set for this viewer stay as they are.
    if (rowsViewer_.allRowsFor(viewer)) return;
    const bool isHost = ZuvraKestrum::Roles::ManagesParticipants(viewer.hostUid, viewer.ownUid);
    for (UserListItemInfo& item : roster_) updateItemStatus(item, isHost);
    rowsViewer_.noteAllRows(viewer);
}

void CUserList::restoreDevices() {
    CLockGuard guard(&listLock_);
    const Viewer viewer = CurrentViewer();
    const bool isHost = ZuvraKestrum::Roles::ManagesParticipants(viewer.hostUid, viewer.ownUid);
    for (UserListItemInfo& item : roster_) {
        showDevices(item);
        const bool enabled = Rules::OptionsEnabled(item.uid, viewer.ownUid, isHost);
        Enable(item.parts.mic, enabled);
        Enable(item.parts.camera, enabled);
    }
}

std::vector<std::string> CUserList::othersWithMicrophoneOn() const {
    const std::string& own = meeting_.uid;
    std::vector<std::string> uids;
    for (const UserListItemInfo& item : roster_) {
        if (item.uid != own && (item.status & kStatusMicOff) == 0) uids.push_back(item.uid);
    }
    return uids;
}

void CUserList::updateMicStatus(const std::string& uid, bool muted, bool resetAnim) {
    CLockGuard guard(&listLock_);
    UserListItemInfo* item = roster_.find(uid);
    if (!item) return;
    markTouched(*item);
    if (item->parts.mic) item->parts.mic->Selected(muted);
    if (resetAnim) ShowWaiting(item->parts.mic, item->parts.micAnim, false);
}

void CUserList::updateVideoStatus(const std::string& uid, bool on, bool resetAnim) {
    CLockGuard guard(&listLock_);
    videoOnMap_[uid] = on;
    UserListItemInfo* item = roster_.find(uid);
    if (!item) return;
    markTouched(*item);
    writeLine(Level_Info, __LINE__, "[updateVideoStatus] %s(%s ,%s,%d)",
              "CUserList::updateVideoStatus", uid.c_str(), item->nickname.c_str(), item->status);
    if (item->parts.camera) item->parts.camera->Selected(!on);
    if (resetAnim) ShowWaiting(item->parts.camera, item->parts.cameraAnim, false);
}

void CUserList::setMicAnim(const std::string& uid, bool waiting) {
    CLockGuard guard(&listLock_);
    if (UserListItemInfo* item = roster_.find(uid)) {
        markTouched(*item);
        ShowWaiting(item->parts.mic, item->parts.micAnim, waiting);
    }
}

void CUserList::setCameraAnim(const std::string& uid, bool waiting) {
    CLockGuard guard(&listLock_);
    if (UserListItemInfo* item = roster_.find(uid)) {
        markTouched(*item);
        ShowWaiting(item->parts.camera, item->parts.cameraAnim, waiting);
    }
}

void CUserList::touch(const std::string& uid) {
    CLockGuard guard(&listLock_);
    if (UserListItemInfo* item = roster_.find(uid)) markTouched(*item);
}

void CUserList::updateUserPhoto(const UserInfoRecord& record) {
    CLockGuard guard(&listLock_);
    if (UserListItemInfo* item = roster_.find(record.uid)) showPhoto(*item);
}
