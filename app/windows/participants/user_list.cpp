#include "app/windows/participants/user_list.h"

#include <utility>

#include "app/windows/participants/participant_rules.h"
#include "app/windows/skeleton/dui_frame_window.h"
#include "duilib/button_ui.h"
#include "duilib/option_ui.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_lock_guard.h"
#include "kestrum/core/util_path.h"

namespace {

using ZuvraKestrum::Util::CLockGuard;
namespace Rules = ZuvraKestrum::Participants;

struct Viewer {
    std::string ownUid;
    std::string hostUid;
};

// Who looks at the list: the own uid and the room's first host, as the meeting data has them.
Viewer CurrentViewer() {
    if (!g_kestrumData) return {};
    return {g_kestrumData->uid, g_kestrumData->firstHostUid};
}

DuiLib::COptionUI* AsOption(DuiLib::CControlUI* control) {
    return control ? static_cast<DuiLib::COptionUI*>(control->GetInterface(L"Option")) : nullptr;
}

DuiLib::CButtonUI* AsButton(DuiLib::CControlUI* control) {
    return control ? static_cast<DuiLib::CButtonUI*>(control->GetInterface(L"Button")) : nullptr;
}

}  // namespace

CUserList::CUserList(DuiLib::CPaintManagerUI* manager)
    : CKestrumDump("CUserList", true, false, false, ""), manager_(manager) {}

CUserList::~CUserList() { removeAllItems(); }

void CUserList::DoEvent(DuiLib::TEventUI& event) {
    if (HandleKineticScrollEvent(*this, scroll_, event, kScrollTimer)) return;
    CListUI::DoEvent(event);
}

const UserListItemInfo* CUserList::RecordOf(DuiLib::CControlUI* control) {
    return control ? reinterpret_cast<const UserListItemInfo*>(control->GetTag()) : nullptr;
}

UserListItemInfo* CUserList::find(const std::string& uid) {
    const auto found = byUid_.find(uid);
    return found == byUid_.end() ? nullptr : &*found->second.first;
}

const UserListItemInfo* CUserList::findItem(const std::string& uid) const {
    const auto found = byUid_.find(uid);
    return found == byUid_.end() ? nullptr : &*found->second.first;
}

DuiLib::CControlUI* CUserList::sub(const UserListItemInfo& item, const wchar_t* name) const {
    return manager_ ? manager_->FindSubControlByName(item.row, name) : nullptr;
}

DuiLib::CControlUI* CUserList::buildRow() {
    // The markup is parsed once; every later row comes from the kept copy.
    if (rowBuilder_.GetMarkup()->IsValid()) return rowBuilder_.Create(nullptr, manager_);
    const std::wstring file = CDuiFrameWindow::SkinFile(L"UserListItem");
    return rowBuilder_.Create(file.c_str(), 0u, nullptr, manager_);
}

void CUserList::CreateListItem(const UserInfoRecord& record) {
    CLockGuard guard(&listLock_);
    DuiLib::CControlUI* row = buildRow();
    if (!row) {
        KESTRUM_LOG(Level_Error, "(%s) no row layout", record.uid);
        return;
    }
    appendItem(UserListItemInfo{record.uid, record.name, record.portraitId, record.status, row});
    UserListItemInfo& item = items_.back();
    const int index = itemCount() - 1;
    row->SetFixedWidth(kItemWidth);
    row->SetFixedHeight(kItemHeight);
    row->SetVisible(true);
    row->SetTag(reinterpret_cast<UINT_PTR>(&item));
    if (!AddAt(row, index)) {
        delete row;
        deleteItem(std::prev(items_.end()));
        return;
    }
    fillListItem(item);
    updateItemStatus(item, Rules::IsHost(CurrentViewer().hostUid, CurrentViewer().ownUid));
}

void CUserList::fillListItem(UserListItemInfo& item) {
    const UINT_PTR tag = reinterpret_cast<UINT_PTR>(&item);
    showPhoto(item);
    if (DuiLib::CControlUI* tick = sub(item, L"tick")) tick->SetTag(tag);
    if (DuiLib::COptionUI* mic = AsOption(sub(item, L"micStatusOpt"))) {
        mic->Selected((item.status & kStatusMicOff) != 0);
        mic->SetTag(tag);
    }
    if (DuiLib::COptionUI* camera = AsOption(sub(item, L"cameraStatusOpt"))) {
        camera->Selected((item.status & kStatusCameraOff) != 0);
        camera->SetTag(tag);
    }
}

void CUserList::updateItemStatus(UserListItemInfo& item, bool isHost) {
    const Viewer viewer = CurrentViewer();
    const Rules::RowView view = Rules::ComputeRowView(item.uid, item.nickname, viewer.ownUid,
                                                      viewer.hostUid, isHost, g_language);
    if (DuiLib::CButtonUI* tick = AsButton(sub(item, L"tick"))) {
        tick->SetEnabled(view.tickEnabled);
        tick->SetNormalImage(view.tickImage);
        tick->SetDisabledImage(view.tickImage);
    }
    if (DuiLib::CControlUI* mic = sub(item, L"micStatusOpt")) mic->SetEnabled(view.optionsEnabled);
    if (DuiLib::CControlUI* camera = sub(item, L"cameraStatusOpt"))
        camera->SetEnabled(view.optionsEnabled);
    if (DuiLib::CControlUI* nick = sub(item, L"nick")) {
        nick->SetText(view.nickText.c_str());
        nick->SetToolTip(view.nickText.c_str());
    }
}

void CUserList::showPhoto(UserListItemInfo& item) {
    DuiLib::CControlUI* photo = sub(item, L"userphoto");
    if (!photo) return;
    // Only the validated cache path: a portrait id from the server never names a file itself.
    photo->SetBkImage(ZuvraKestrum::Util::GetPortraitPath(item.portraitId).c_str());
}

void CUserList::appendItem(UserListItemInfo item) {
    CLockGuard guard(&listLock_);
    items_.push_back(std::move(item));
    UidRows& rows = byUid_[items_.back().uid];
    if (rows.count++ == 0) rows.first = std::prev(items_.end());
}

void CUserList::deleteItem(std::list<UserListItemInfo>::iterator item) {
    CLockGuard guard(&listLock_);
    const auto rows = byUid_.find(item->uid);
    if (rows != byUid_.end() && --rows->second.count == 0) {
        byUid_.erase(rows);
    } else if (rows != byUid_.end() && rows->second.first == item) {
        // A later row of the same uid becomes the first.
        for (auto later = std::next(item); later != items_.end(); ++later) {
            if (later->uid == item->uid) {
                rows->second.first = later;
                break;
            }
        }
    }
    items_.erase(item);
}

void CUserList::removeItem(const std::string& uid) {
    CLockGuard guard(&listLock_);
    const auto rows = byUid_.find(uid);
    if (rows == byUid_.end()) return;
    const auto item = rows->second.first;
    Remove(item->row, false);
    deleteItem(item);
}

void CUserList::removeAllItems() {
    CLockGuard guard(&listLock_);
    // The rows go in one step; removing them one by one from the front would cost the same
    // and notify the same.
    RemoveAll();
    items_.clear();
    byUid_.clear();
}

void CUserList::UpdateListItem(const std::vector<UserInfoRecord>& participants) {
    removeAllItems();
    CLockGuard guard(&listLock_);
    for (const UserInfoRecord& participant : participants) {
        writeLine(Level_Info, __LINE__, "[originStatus] %s(%s ,%s,nUserStatus: %d)",
                  "CUserList::UpdateListItem", participant.uid, participant.name,
                  participant.status);
        UserInfoRecord shown = participant;
        shown.status = Rules::RowStatus(participant.status, videoOnMap_, participant.uid);
        if (shown.status != participant.status) {
            writeLine(Level_Info, __LINE__, "[fixStatus] %s(%s,%s,nUserStatus: %d)",
                      "CUserList::UpdateListItem", shown.uid, shown.name, shown.status);
        }
        CreateListItem(shown);
    }
}

void CUserList::refreshHostStatus() {
    CLockGuard guard(&listLock_);
    const Viewer viewer = CurrentViewer();
    const bool isHost = Rules::IsHost(viewer.hostUid, viewer.ownUid);
    for (UserListItemInfo& item : items_) updateItemStatus(item, isHost);
}

void CUserList::updateMicStatus(const std::string& uid, bool muted, bool resetAnim) {
    CLockGuard guard(&listLock_);
    UserListItemInfo* item = find(uid);
    if (!item) return;
    if (DuiLib::COptionUI* mic = AsOption(sub(*item, L"micStatusOpt"))) mic->Selected(muted);
    if (resetAnim) setAnim(uid, L"micStatusOpt", L"micanim", false);
}

void CUserList::updateVideoStatus(const std::string& uid, bool on, bool resetAnim) {
    CLockGuard guard(&listLock_);
    videoOnMap_[uid] = on;
    UserListItemInfo* item = find(uid);
    if (!item) return;
    writeLine(Level_Info, __LINE__, "[updateVideoStatus] %s(%s ,%s,%d)",
              "CUserList::updateVideoStatus", uid.c_str(), item->nickname.c_str(), item->status);
    if (DuiLib::COptionUI* camera = AsOption(sub(*item, L"cameraStatusOpt"))) camera->Selected(!on);
    if (resetAnim) setAnim(uid, L"cameraStatusOpt", L"cameraanim", false);
}

void CUserList::setMicAnim(const std::string& uid, bool waiting) {
    setAnim(uid, L"micStatusOpt", L"micanim", waiting);
}

void CUserList::setCameraAnim(const std::string& uid, bool waiting) {
    setAnim(uid, L"cameraStatusOpt", L"cameraanim", waiting);
}

void CUserList::setAnim(const std::string& uid, const wchar_t* option, const wchar_t* anim,
                        bool waiting) {
    CLockGuard guard(&listLock_);
    UserListItemInfo* item = find(uid);
    if (!item) return;
    if (DuiLib::CControlUI* control = sub(*item, option)) control->SetVisible(!waiting);
    if (DuiLib::CControlUI* control = sub(*item, anim)) control->SetVisible(waiting);
}

void CUserList::updateUserPhoto(const UserInfoRecord& record) {
    CLockGuard guard(&listLock_);
    if (UserListItemInfo* item = find(record.uid)) showPhoto(*item);
}
