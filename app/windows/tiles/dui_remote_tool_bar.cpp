#include "app/windows/tiles/dui_remote_tool_bar.h"

#include "app/windows/skeleton/window_creation.h"
#include "app/windows/tiles/dui_menu_ver.h"
#include "app/windows/tiles/dui_remote_item.h"
#include "app/windows/tiles/tile_state.h"

namespace {

using ZuvraKestrum::Tiles::KeyOf;

constexpr DWORD kMenuStyle = 0x10CF0000;

// The tile is painted anew where it goes: copying its old picture along costs the window system
// more than the paint.
void MoveTile(CDuiRemoteItem* tile, const RECT& slot) {
    SetWindowPos(tile->GetHWND(), nullptr, slot.left, slot.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

}  // namespace

CDuiRemoteToolBar::CDuiRemoteToolBar(IMeetingHost& host)
    : CKestrumDump("CDuiRemoteToolBar", true, false, false, L""), host_(host) {}

CDuiMessageMap<CDuiRemoteToolBar> CDuiRemoteToolBar::MessageMap() {
    auto table = StandardMessageMap(&CDuiRemoteToolBar::OnCreate);
    table.on<WM_SIZE>(&CDuiRemoteToolBar::OnSize, RowMode::kPassOn)
        .on<WM_TIMER>(&CDuiRemoteToolBar::OnTimer)
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

CTimerTable<CDuiRemoteToolBar> CDuiRemoteToolBar::TimerTable() {
    CTimerTable<CDuiRemoteToolBar> table;
    table.on(kPlaceTimer, &CDuiRemoteToolBar::OnPlaceTimer);
    return table;
}

bool CDuiRemoteToolBar::OnTimer(UINT_PTR timer) {
    static const CTimerTable<CDuiRemoteToolBar> table = TimerTable();
    return table.dispatch(*this, timer);
}

void CDuiRemoteToolBar::placeSoon() {
    if (!placeSoon_.ask(GetHWND())) placeTiles();
}

void CDuiRemoteToolBar::OnPlaceTimer() {
    placeSoon_.fired(GetHWND());
    placeTiles();
}

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
    spare_.clear();
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
        StripTile& tile = layout_.itemAt(i);
        const RECT slot = layout_.slot(i);
        RECT seen;
        const bool inSight = IntersectRect(&seen, &slot, &client) != FALSE;
        if (!tile.window) {
            if (inSight) showTile(tile, slot);
            continue;
        }
        RECT& placed = placed_[tile.window];
        if (EqualRect(&placed, &slot) || (!inSight && !IntersectRect(&seen, &placed, &client))) {
            continue;
        }
        placed = slot;
        MoveTile(tile.window, slot);
    }
}

void CDuiRemoteToolBar::showTile(StripTile& tile, const RECT& slot) {
    CDuiRemoteItem* window = nullptr;
    const bool reused = !spare_.empty();
    if (reused) {
        window = spare_.back();
        spare_.pop_back();
        MoveTile(window, slot);
    } else {
        window = new CDuiRemoteItem(tile.user, host_);
        if (!ZuvraKestrum::Frame::CreateOrDelete(window, GetHWND(), L"", CDuiRemoteItem::kStyle, 0,
                                                 slot.left, slot.top, slot.right - slot.left,
                                                 slot.bottom - slot.top)) {
            KESTRUM_LOG(Level_Error, " tile not created (%lu)", GetLastError());
            return;
        }
    }
    // Shown without the focus: a participant joining must not take the keyboard from the chat.
    window->ShowWindow(true, false);
    // A reused window takes its participant once shown, as a new one does: the room's mode may
    // hide it again.
    if (reused) window->reuse(tile.user);
    placed_[window] = slot;
    tile.window = window;
    window->updateScreenStatus(roomShareId_);
    if (tile.quality != StripTile::kNoQuality) window->setNetworkQuality(tile.quality);
    if (tile.speaking) window->setSpeechStatus(true);
    if (tile.disabled) window->disableWindows();
}

void CDuiRemoteToolBar::retire(CDuiRemoteItem* window) {
    window->ShowWindow(false, false);
    placed_.erase(window);
    if (spare_.size() < kSpareWindows) {
        spare_.push_back(window);
    } else {
        window->Close(1);
    }
}

// Each change of the strip is logged in the one line that names it: a room whose participants
// come and go must not fill the log with the strip's whole order.
void CDuiRemoteToolBar::mediaNotifyAddUser(const UserInfoRecord& record) {
    KESTRUM_LOG(Level_Info, "(%s,%d,%d)", record.uid, record.streamId, record.shareId);
    StripTile tile;
    tile.user = record;
    layout_.add(KeyOf(record), std::move(tile));
    placeSoon();
}

void CDuiRemoteToolBar::mediaNotifyRemoveUser(int32_t streamId) {
    KESTRUM_LOG(Level_Info, "(%d)", streamId);
    StripTile removed;
    if (!layout_.remove(streamId, removed)) return;
    dismissMenuIf([streamId](const UserInfoRecord& user) { return user.streamId == streamId; });
    // Out of sight at once: the tile below moves into its place before the window is gone.
    if (removed.window) retire(removed.window);
    placeSoon();
}

bool CDuiRemoteToolBar::getFirstUser(UserInfoRecord& out) {
    if (layout_.count() == 0) return false;
    out = layout_.tiles().front().item.user;
    return true;
}

void CDuiRemoteToolBar::socketNotifyDisable(const std::string& uid) {
    KESTRUM_LOG(Level_Info, "(%s)", uid.c_str());
    for (int i = 0; i < layout_.count(); ++i) {
        StripTile& tile = layout_.itemAt(i);
        if (uid != tile.user.uid) continue;
        tile.disabled = true;
        if (tile.window) tile.window->disableWindows();
        break;
    }
    dismissMenuIf([&uid](const UserInfoRecord& user) { return uid == user.uid; });
}

// Every full list of the room comes here participant by participant: a tile whose participant
// is as it shows it is left alone, and says nothing in the log.
void CDuiRemoteToolBar::socketNotifyStatus(const UserInfoRecord& record) {
    StripTile* tile = layout_.itemOf(record.streamId);
    if (tile &&
        (!SameRecord(tile->user, record) || (tile->window && !tile->window->shows(record)))) {
        KESTRUM_LOG(Level_Info, "(%s,%d,%d)", record.uid, record.streamId, record.status);
        tile->user = record;
        if (tile->window) tile->window->setUserInfo(record);
        layout_.rekey(record.streamId, KeyOf(record));
    }
    if (menu_ && menuUser_ == record) {
        menuUser_ = record;
        menu_->setUser(menuUser_);
    }
}

void CDuiRemoteToolBar::switchUserInfo(const UserInfoRecord& old, const UserInfoRecord& now) {
    KESTRUM_LOG(Level_Info, "(%d,%d)", old.streamId, now.streamId);
    if (StripTile* tile = layout_.itemOf(old.streamId)) {
        tile->user = now;
        if (tile->window) tile->window->setUserInfo(now);
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
    for (const Layout::Tile& tile : layout_.tiles()) {
        if (tile.item.window) tile.item.window->updateHostStatus(hostUid);
    }
}

void CDuiRemoteToolBar::updateScreenStatus(int32_t shareId) {
    KESTRUM_LOG(Level_Info, "(%d)", shareId);
    roomShareId_ = shareId;
    for (const Layout::Tile& tile : layout_.tiles()) {
        if (tile.item.window) tile.item.window->updateScreenStatus(shareId);
    }
}

void CDuiRemoteToolBar::updateNetworkQuality(int32_t streamId, int32_t quality) {
    KESTRUM_LOG(Level_Info, "(%d,%d)", streamId, quality);
    StripTile* tile = layout_.itemOf(streamId);
    if (!tile) return;
    tile->quality = quality;
    if (tile->window) tile->window->setNetworkQuality(quality);
}

void CDuiRemoteToolBar::updateSpeechStatus(int32_t streamId, bool speaking) {
    KESTRUM_LOG(Level_Info, "(%d,%d)", streamId, speaking);
    StripTile* tile = layout_.itemOf(streamId);
    if (!tile) return;
    tile->speaking = speaking;
    if (tile->window) tile->window->setSpeechStatus(speaking);
}

void CDuiRemoteToolBar::closeRemoteItem() {
    KESTRUM_LOG(Level_Info, "");
    dismissMenuIf([](const UserInfoRecord&) { return true; });
    for (StripTile& tile : layout_.clear()) {
        if (tile.window) tile.window->Close(1);
    }
    for (CDuiRemoteItem* window : spare_) window->Close(1);
    spare_.clear();
    placed_.clear();
}
