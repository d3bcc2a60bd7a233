// CDuiLive's side of its media part (CLiveMedia, live_media.cpp): the roster's decisions of who
// is shown where, the self tile, the share toggle's click, and what the media part asks of the
// window as its delegate.

#include "app/windows/live/dui_live.h"
#include "app/windows/live/dui_live_parts.h"
#include "app/windows/live/meeting_results.h"
#include "app/windows/meeting/meeting_host.h"
#include "app/windows/participants/dui_user_list.h"
#include "app/windows/tiles/dui_remote_item.h"
#include "app/windows/tiles/dui_remote_tool_bar.h"
#include "kestrum/core/engine_messages.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/room_roles.h"
#include "kestrum/core/util_text.h"

using ZuvraKestrum::Live::CreatePanel;
using ZuvraKestrum::Live::MoveTo;
using ZuvraKestrum::Live::RosterAction;
using ZuvraKestrum::Live::RosterActions;
using ZuvraKestrum::Util::Utf8ToCString;

namespace {

constexpr int kToastMs = 3000;

}  // namespace

// ---- Roster decisions -----------------------------------------------------------------------

void CDuiLive::applyRoster(const RosterActions& actions) {
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
        userList_->updateUserList(roster_->participants(),
                                  action.inPlace ? &action.places : nullptr);
        if (!ZuvraKestrum::Roles::FirstHostOf(meeting_).empty()) userList_->updateHostStatus();
        break;
    case RosterAction::kMirror:
        ZuvraKestrum::Live::ApplyParticipants(roster_->participants(), meeting_,
                                              action.inPlace ? &action.places : nullptr);
        break;
    case RosterAction::kToast:
        host_.passingToast(GetHWND(), Utf8ToCString(action.text), kToastMs);
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
        media_.showBigViewSoon();
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

// ---- Self tile ------------------------------------------------------------------------------

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

// ---- Delegate of the media part -------------------------------------------------------------

RECT CDuiLive::videoPlace() const {
    return bars_.barsShown() ? layout_.video : RECT{0, 0, client_.cx, client_.cy};
}

void CDuiLive::onChannelJoined() { ApplyOwnStatus(); }

void CDuiLive::onShareCancelled() { shareOpt_->Selected(false, false); }

void CDuiLive::onVideoMouseMove() { OnMouseMove(); }

void CDuiLive::OnMediaLeaveChannel(std::unique_ptr<PayloadOf<WM_ENGINE_LEAVE_CHANNEL>> stats) {
    KillTimer(GetHWND(), kBarTimer);
    media_.OnMediaLeaveChannel(std::move(stats));
}

// The share toggle before the click: the media part opens the picker or stops the share.
void CDuiLive::DoScreenShare(DuiLib::TNotifyUI&) {
    const bool sharing = shareOpt_->IsSelected();
    KESTRUM_LOG(Level_Info, "(%d)", sharing ? 0 : 1);
    media_.onShareClicked(sharing);
}
