#include "app/windows/tiles/dui_remote_item.h"

#include <windowsx.h>

#include <memory>
#include <vector>

#include "app/windows/skeleton/control_binding.h"
#include "app/windows/skeleton/window_messages.h"
#include "app/windows/tiles/tile_rules.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"

namespace {

constexpr DWORD kFocusedColour = 0xFF05BCF5;
constexpr DWORD kUnfocusedColour = 0xFFDDDDDD;
// The engine scales the stream to fill the tile's video.
constexpr int kTileRenderMode = 1;
// What the skin shows before anything is reported: the network icon's picture, the video area's.
constexpr const wchar_t* kUnknownNetwork = L"unknown.png";
constexpr const wchar_t* kNoVideoPicture = L"file='tiles/No signal.png' dest='59,36,107,84'";

}  // namespace

CDuiRemoteItem::CDuiRemoteItem(const UserInfoRecord& user, IMeetingHost& host)
    : CKestrumDump("CDuiRemoteItem", true, false, false, L""),
      host_(host),
      meeting_(host.meeting()),
      state_(user) {}

CDuiMessageMap<CDuiRemoteItem> CDuiRemoteItem::MessageMap() {
    auto table = StandardMessageMap(&CDuiRemoteItem::OnCreate);
    table.on<WM_SYSCOMMAND>(&CDuiRemoteItem::OnSysCommand)
        .on<WM_RBUTTONDOWN>(&CDuiRemoteItem::OnRButtonClick, RowMode::kPassOn);
    return table;
}

CDuiNotifyMap<CDuiRemoteItem> CDuiRemoteItem::NotifyMap() {
    CDuiNotifyMap<CDuiRemoteItem> table;
    table.add(L"windowinit", L"remotebk", &CDuiRemoteItem::DoInitWnd)
        .add(L"setfocus", L"remotebk", &CDuiRemoteItem::DoSetFocus)
        .add(L"killfocus", L"remotebk", &CDuiRemoteItem::DoKillFocus)
        .add(L"menu", L"remotebk", &CDuiRemoteItem::DoMenu);
    return table;
}

void CDuiRemoteItem::OnCreate() {
    if (!BuildLanguageSkin(L"RemoteItem", nullptr, *this)) return;
    if (!BindControls(*this,
                      {{L"netlab", &CDuiRemoteItem::netLab_},
                       {L"micmuteOpt", &CDuiRemoteItem::micMuteOpt_},
                       {L"speechOpt", &CDuiRemoteItem::speechOpt_},
                       {L"ScreenHostLab", &CDuiRemoteItem::screenHostLab_},
                       {L"nicktxt", &CDuiRemoteItem::nickTxt_},
                       {L"remotebk", &CDuiRemoteItem::remoteBk_},
                       {L"videoWnd", &CDuiRemoteItem::videoWnd_}},
                      *this)) {
        return;
    }
    // Marks, not switches: clicks on them belong to the tile.
    micMuteOpt_->SetMouseEnabled(false);
    speechOpt_->SetMouseEnabled(false);
}

bool CDuiRemoteItem::OnSysCommand(SystemCommand command) {
    // Only the owner closes a tile.
    return command.kind() == SC_CLOSE;
}

void CDuiRemoteItem::OnRButtonClick(POINT at) {
    ClientToScreen(GetHWND(), &at);
    auto block =
        ZuvraKestrum::Tiles::MenuRequest(state_, ZuvraKestrum::Tiles::OwnStreamOf(&meeting_), at);
    // Without an owner, or when the post fails, the block is freed here.
    if (block) PostPayload<WM_REMOTE_ITEM_MENU>(GetParent(GetHWND()), std::move(block));
}

void CDuiRemoteItem::DoInitWnd(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "(%s,%d)", state_.user().uid, state_.user().streamId);
    if (!videoWnd_ || !makeVideo()) return;
    if (state_.isOwnStream(ZuvraKestrum::Tiles::OwnStreamOf(&meeting_)))
        EnableWindow(GetHWND(), FALSE);
    setUserInfo(state_.user());
}

bool CDuiRemoteItem::makeVideo() {
    if (!videoChild_.create(GetHWND(), videoWnd_->GetPos(), 0, &VideoChildProc, this)) {
        KESTRUM_LOG(Level_Error, " video window not created (%lu)", GetLastError());
        return false;
    }
    videoChild_.show(true);
    bindVideo();
    // Clicks on the video reach the tile itself.
    EnableWindow(videoChild_.handle(), FALSE);
    return true;
}

void CDuiRemoteItem::reuse(const UserInfoRecord& record) {
    KESTRUM_LOG(Level_Info, "(%s,%d)", record.uid, record.streamId);
    state_ = ZuvraKestrum::Tiles::TileState(record);
    shownMode_ = kNoMode;
    hiddenByMode_ = false;
    EnableWindow(GetHWND(), !state_.isOwnStream(ZuvraKestrum::Tiles::OwnStreamOf(&meeting_)));
    if (netLab_) {
        netLab_->SetVisible(false);
        netLab_->SetBkImage(kUnknownNetwork);
    }
    setSpeechStatus(false);
    showBadge();
    if (videoWnd_) videoWnd_->SetBkImage(kNoVideoPicture);
    // A tile not yet initialised makes its video window then.
    if (videoChild_) {
        videoChild_.reset();
        if (!makeVideo()) return;
    }
    setUserInfo(record);
}

void CDuiRemoteItem::DoSetFocus(DuiLib::TNotifyUI&) {
    if (remoteBk_) remoteBk_->SetBkColor(kFocusedColour);
}

void CDuiRemoteItem::DoKillFocus(DuiLib::TNotifyUI&) {
    if (remoteBk_) remoteBk_->SetBkColor(kUnfocusedColour);
}

void CDuiRemoteItem::DoMenu(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "(%s)", state_.user().uid);
}

void CDuiRemoteItem::bindVideo() {
    CKestrumZuvra* engine = host_.engine();
    if (!engine || !videoChild_) return;
    if (state_.isOwnStream(ZuvraKestrum::Tiles::OwnStreamOf(&meeting_))) {
        engine->SetupLocalVideo(videoChild_.handle(), true, kTileRenderMode);
    } else {
        engine->SetupRemoteVideo(static_cast<uint32_t>(state_.user().streamId),
                                 videoChild_.handle(), kTileRenderMode);
    }
}

void CDuiRemoteItem::setUserInfo(const UserInfoRecord& record) {
    if (state_.takeUser(record)) bindVideo();
    if (!nickTxt_) return;
    const std::wstring name = state_.name();
    nickTxt_->SetVisible(true);
    nickTxt_->SetText(name.c_str());
    nickTxt_->SetToolTip(name.c_str());
    micMuteOpt_->SetVisible(true);
    micMuteOpt_->Selected(state_.micMarked(), true);
    updateHostStatus(ZuvraKestrum::Tiles::RoomHostOf(&meeting_));
    videoChild_.show(state_.videoShown());
    showModeLook();
}

bool CDuiRemoteItem::shows(const UserInfoRecord& record) const {
    return SameRecord(state_.user(), record) &&
           shownMode_ == ZuvraKestrum::Tiles::RoomModeOf(&meeting_);
}

void CDuiRemoteItem::showModeLook() {
    shownMode_ = ZuvraKestrum::Tiles::RoomModeOf(&meeting_);
    const ZuvraKestrum::Tiles::ModeLook look = state_.modeLook(shownMode_);
    if (!look.applies || !videoWnd_) return;
    videoWnd_->SetBkImage(look.picture);
    HWND tile = GetHWND();
    // Its own visibility: the strip holding it may be hidden itself.
    const bool shown = (GetWindowLongPtrW(tile, GWL_STYLE) & WS_VISIBLE) != 0;
    if (look.hidden && shown) {
        hiddenByMode_ = true;
        ::ShowWindow(tile, SW_HIDE);
    } else if (!look.hidden && hiddenByMode_) {
        hiddenByMode_ = false;
        ::ShowWindow(tile, SW_SHOWNA);
    }
}

void CDuiRemoteItem::updateHostStatus(const std::string& hostUid) {
    state_.setHost(hostUid);
    showBadge();
}

void CDuiRemoteItem::updateScreenStatus(int32_t shareId) {
    state_.setRoomShare(shareId);
    showBadge();
}

void CDuiRemoteItem::showBadge() {
    if (screenHostLab_) screenHostLab_->SetBkImage(state_.badge().c_str());
}

void CDuiRemoteItem::setNetworkQuality(int32_t quality) {
    if (!netLab_) return;
    netLab_->SetVisible(true);
    const std::wstring icon = ZuvraKestrum::Tiles::NetworkIcon(quality);
    if (!icon.empty()) netLab_->SetBkImage(icon.c_str());
}

void CDuiRemoteItem::setSpeechStatus(bool speaking) {
    if (!speechOpt_) return;
    speechOpt_->SetVisible(speaking);
    speechOpt_->Selected(speaking, true);
}

void CDuiRemoteItem::disableWindows() {
    EnableWindow(GetHWND(), FALSE);
    if (videoChild_) EnableWindow(videoChild_.handle(), FALSE);
}

void CDuiRemoteItem::toggleVisible() {
    ::ShowWindow(GetHWND(), IsWindowVisible(GetHWND()) ? SW_HIDE : SW_SHOW);
}

LRESULT CALLBACK CDuiRemoteItem::VideoChildProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN) {
        // The tile takes the clicks on its video, at the same place in its own coordinates.
        HWND tile = GetParent(window);
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        MapWindowPoints(window, tile, &point, 1);
        ::PostMessageW(tile, message, wParam, MAKELPARAM(point.x, point.y));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
