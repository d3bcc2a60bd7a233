#include "app/windows/tiles/dui_remote_tool_bar.h"

#include "app/windows/skeleton/window_creation.h"
#include "app/windows/tiles/dui_menu_ver.h"
#include "app/windows/tiles/dui_remote_item.h"
#include "app/windows/tiles/tile_state.h"

namespace {

using ZuvraKestrum::Tiles::KeyOf;

constexpr DWORD kMenuStyle = 0x10CF0000;

}  // namespace

CDuiRemoteToolBar::CDuiRemoteToolBar(IMeetingHost& host)
    : CKestrumDump("CDuiRemoteToolBar", true, false, false, ""), host_(host) {}

CDuiMessageMap<CDuiRemoteToolBar> CDuiRemoteToolBar::MessageMap() {
    auto table = StandardMessageMap(&CDuiRemoteToolBar::OnCreate);
    table.on<WM_SIZE>(&CDuiRemoteToolBar::OnSize, RowMode::kPassOn)
        .on<WM_DESTROY>(&CDuiRemoteToolBar::OnDestroy, RowMode::kPassOn)
        .on<WM_CLOSE>(&CDuiRemoteToolBar::OnClose, RowMode::kPassOn)
        .on<WM_REMOTE_ITEM_MENU>(&CDuiRemoteToolBar::OnShowUserMenu);
    return table;
}

CDuiNotifyMap<CDuiRemoteToolBar> CDuiRemoteToolBar::NotifyMap() {
    CDuiNotifyMap<CDuiRemoteToolBar> table;
    table.add(L"windowinit", L"MainFrame", &CDuiRemoteToolBar::DoInitWnd)
        .add(L"click", L"upbtn", &CDuiRemoteToolBar::DoUp)
        .add(L"click", L"downbtn", &CDuiRemoteToolBar::DoDown);
    return table;
}

void CDuiRemoteToolBar::OnCreate() { BuildLanguageSkin(L"RemoteToolBar", nullptr, *this); }

void CDuiRemoteToolBar::OnClose() { closeRemoteItem(); }

// A taller strip shows tiles that were out of sight.
void CDuiRemoteToolBar::OnSize(SizeChange size) {
    CDuiFrameWindow::OnSize(size);
    placeTiles();
}

void CDuiRemoteToolBar::OnDestroy() {
    if (menu_) menu_->Close(1);
    menu_ = nullptr;
    // The tiles go with the window as its children.
    layout_.clear();
    placed_.clear();
}

template <class Shows>
void CDuiRemoteToolBar::dismissMenuIf(Shows shows) {
    if (!menu_ || !shows(menuUser_)) return;
    menuUser_ = UserInfoRecord();
    menu_->dismiss();
}

void CDuiRemoteToolBar::OnShowUserMenu(std::unique_ptr<RemoteItemMenuBlock> block) {
    if (block->show == 0) {
        if (menu_) menu_->ShowWindow(false, false);
        return;
    }
    if (!menu_) {
        auto* menu = new CDuiMenuVer(host_);
        // A tool window: a pop-up menu has no place in the taskbar.
        if (!ZuvraKestrum::Frame::CreateOrDelete(menu, nullptr, L"DuiMenuVer", kMenuStyle,
                                                 WS_EX_TOOLWINDOW, 0, 0, CDuiMenuVer::kWidth,
                                                 CDuiMenuVer::kHeight)) {
            KESTRUM_LOG(Level_Error, " menu not created (%lu)", GetLastError());
            return;
        }
        menu->CenterWindow();
        menu_ = menu;
    }
    menuUser_ = block->user;
    menu_->setUser(menuUser_);
    SetWindowPos(menu_->GetHWND(), HWND_TOPMOST, block->at.x, block->at.y, CDuiMenuVer::kWidth,
                 CDuiMenuVer::kHeight, SWP_SHOWWINDOW);
}

void CDuiRemoteToolBar::DoInitWnd(DuiLib::TNotifyUI&) { KESTRUM_LOG(Level_Info, ""); }

void CDuiRemoteToolBar::DoUp(DuiLib::TNotifyUI&) {
    if (layout_.scrollUp()) placeTiles();
}

void CDuiRemoteToolBar::DoDown(DuiLib::TNotifyUI&) {
    RECT client;
    GetClientRect(GetHWND(), &client);
    if (layout_.scrollDown(client.bottom)) placeTiles();
}

// Only what the user could see moves: a tile out of sight both where it stands and where it
// belongs stays until it comes into sight, so that a participant leaving a long column does not
// move every tile below it (each move is a trip to the window system).
void CDuiRemoteToolBar::placeTiles() {
    RECT client;
    GetClientRect(GetHWND(), &client);
    for (int i = 0; i < layout_.count(); ++i) {
        CDuiRemoteItem* tile = layout_.tiles()[i].item;
        const RECT slot = layout_.slot(i);
        RECT& placed = placed_[tile];
        RECT seen;
        if (EqualRect(&placed, &slot) ||
            (!IntersectRect(&seen, &slot, &client) && !IntersectRect(&seen, &placed, &client))) {
            continue;
        }
        placed = slot;
        MoveWindow(tile->GetHWND(), slot.left, slot.top, slot.right - slot.left,
                   slot.bottom - slot.top, TRUE);
    }
}

// Each change of the strip is logged in the one line that names it: a room whose participants
// come and go must not fill the log with the strip's whole order.
void CDuiRemoteToolBar::mediaNotifyAddUser(const UserInfoRecord& record) {
    KESTRUM_LOG(Level_Info, "(%s,%d,%d)", record.uid, record.streamId, record.shareId);
    const RECT slot = layout_.slot(layout_.count());
    auto* tile = new CDuiRemoteItem(record, host_);
    if (!ZuvraKestrum::Frame::CreateOrDelete(tile, GetHWND(), L"", CDuiRemoteItem::kStyle, 0,
                                             slot.left, slot.top, slot.right - slot.left,
                                             slot.bottom - slot.top)) {
        KESTRUM_LOG(Level_Error, " tile not created (%lu)", GetLastError());
        return;
    }
    // Shown without the focus: a participant joining must not take the keyboard from the chat.
    tile->ShowWindow(true, false);
    layout_.add(KeyOf(record), tile);
    placed_[tile] = slot;
}

void CDuiRemoteToolBar::mediaNotifyRemoveUser(int32_t streamId) {
    KESTRUM_LOG(Level_Info, "(%d)", streamId);
    CDuiRemoteItem* removed = nullptr;
    if (!layout_.remove(streamId, removed)) return;
    dismissMenuIf([streamId](const UserInfoRecord& user) { return user.streamId == streamId; });
    // Out of sight at once: the tile below moves into its place before the window is gone.
    removed->ShowWindow(false, false);
    removed->Close(1);
    placed_.erase(removed);
    placeTiles();
}

bool CDuiRemoteToolBar::getFirstUser(UserInfoRecord& out) {
    if (layout_.count() == 0) return false;
    layout_.tiles().front().item->getUserInfo(out);
    return true;
}

void CDuiRemoteToolBar::socketNotifyDisable(const std::string& uid) {
    KESTRUM_LOG(Level_Info, "(%s)", uid.c_str());
    if (const Layout::Tile* tile = layout_.findUid(uid)) tile->item->disableWindows();
    dismissMenuIf([&uid](const UserInfoRecord& user) { return uid == user.uid; });
}

// Every full list of the room comes here participant by participant: a tile whose participant
// is as it shows it is left alone, and says nothing in the log.
void CDuiRemoteToolBar::socketNotifyStatus(const UserInfoRecord& record) {
    const Layout::Tile* tile = layout_.find(record.streamId);
    if (tile && !tile->item->shows(record)) {
        KESTRUM_LOG(Level_Info, "(%s,%d,%d)", record.uid, record.streamId, record.status);
        tile->item->setUserInfo(record);
        layout_.rekey(record.streamId, KeyOf(record));
    }
    if (menu_ && menuUser_ == record) {
        menuUser_ = record;
        menu_->setUser(menuUser_);
    }
}

void CDuiRemoteToolBar::switchUserInfo(const UserInfoRecord& old, const UserInfoRecord& now) {
    KESTRUM_LOG(Level_Info, "(%d,%d)", old.streamId, now.streamId);
    if (const Layout::Tile* tile = layout_.find(old.streamId)) {
        tile->item->setUserInfo(now);
        layout_.rekey(old.streamId, KeyOf(now));
    }
}

void CDuiRemoteToolBar::adjustPos() {
    KESTRUM_LOG(Level_Info, "() %d tiles", layout_.count());
    layout_.placeSharesAfterOwners();
    placeTiles();
}

void CDuiRemoteToolBar::updateHostStatus(const std::string& hostUid) {
    KESTRUM_LOG(Level_Info, "(%s)", hostUid.c_str());
    for (const Layout::Tile& tile : layout_.tiles()) tile.item->updateHostStatus(hostUid);
}

void CDuiRemoteToolBar::updateScreenStatus(int32_t shareId) {
    KESTRUM_LOG(Level_Info, "(%d)", shareId);
    for (const Layout::Tile& tile : layout_.tiles()) tile.item->updateScreenStatus(shareId);
}

void CDuiRemoteToolBar::updateNetworkQuality(int32_t streamId, int32_t quality) {
    KESTRUM_LOG(Level_Info, "(%d,%d)", streamId, quality);
    if (const Layout::Tile* tile = layout_.find(streamId)) tile->item->setNetworkQuality(quality);
}

void CDuiRemoteToolBar::updateSpeechStatus(int32_t streamId, bool speaking) {
    KESTRUM_LOG(Level_Info, "(%d,%d)", streamId, speaking);
    if (const Layout::Tile* tile = layout_.find(streamId)) tile->item->setSpeechStatus(speaking);
}

void CDuiRemoteToolBar::closeRemoteItem() {
    KESTRUM_LOG(Level_Info, "");
    dismissMenuIf([](const UserInfoRecord&) { return true; });
    for (CDuiRemoteItem* tile : layout_.clear()) tile->Close(1);
    placed_.clear();
}
