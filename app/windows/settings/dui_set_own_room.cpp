#include "app/windows/settings/dui_set_own_room.h"

#include <vector>

#include "app/kestrum/kestrum.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_text.h"

namespace {

using ZuvraKestrum::Settings::RoomOption;
using ZuvraKestrum::Util::CStringToUtf8;

}  // namespace

CDuiSetOwnRoom::CDuiSetOwnRoom(ISettingsHost& host)
    : CKestrumDump("CDuiSetOwnRoom", true, false, false, ""),
      host_(host),
      page_(host, CKestrum::kSetOwnRoomDlg) {}

CDuiMessageMap<CDuiSetOwnRoom> CDuiSetOwnRoom::MessageMap() {
    return RoomSettingsMessageMap<CDuiSetOwnRoom>(
        &CDuiSetOwnRoom::OnCreate, &CDuiSetOwnRoom::OnDestroy, &CDuiSetOwnRoom::OnRoomUpdated,
        &CDuiSetOwnRoom::OnObserverEvent);
}

CDuiNotifyMap<CDuiSetOwnRoom> CDuiSetOwnRoom::NotifyMap() {
    CDuiNotifyMap<CDuiSetOwnRoom> table;
    table.add(L"windowinit", L"MainFrame", &CDuiSetOwnRoom::DoInitWnd)
        .add(L"click", L"closebtn", &CDuiSetOwnRoom::DoClose)
        .add(L"click", L"tabRoomOpt", &CDuiSetOwnRoom::DoOptTabRoom)
        .add(L"click", L"tabAVOpt", &CDuiSetOwnRoom::DoOptTabAV)
        .add(L"return", L"pwdEdit", &CDuiSetOwnRoom::DoPwdEditReturn)
        .add(L"click", L"enableVideoOp", &CDuiSetOwnRoom::DoOptEnableVideo)
        .add(L"click", L"enableAudioOp", &CDuiSetOwnRoom::DoOptEnableAudio)
        .add(L"click", L"GiveupSpeakerBtn", &CDuiSetOwnRoom::DoGiveupSpeaker)
        .add(L"click", L"uploadLogbtn", &CDuiSetOwnRoom::DoUploadLog)
        .add(L"click", L"surebtn", &CDuiSetOwnRoom::DoSure);
    return table;
}

void CDuiSetOwnRoom::setTabsEnabled(bool enabled) { page_.setTabsEnabled(enabled); }

LRESULT CDuiSetOwnRoom::OnCreate(UINT, WPARAM, LPARAM, bool&) {
    Relay().attach(GetHWND());
    const std::wstring skin = SkinFile(L"Setting-OwnRoom");
    if (!BuildSkin(skin.c_str(), nullptr)) {
        KESTRUM_LOG(Level_Error, "(%s) skin missing", CStringToUtf8(skin).c_str());
        return 0;
    }
    if (!page_.find(paintManager_)) {
        // The handlers rely on every control: a skin without them leaves the window inert.
        KESTRUM_LOG(Level_Error, "(%s) controls missing", CStringToUtf8(skin).c_str());
        paintManager_.RemoveNotifier(this);
    }
    return 0;
}

LRESULT CDuiSetOwnRoom::OnDestroy(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    CRoomSettingsPage::detach(GetHWND(), Relay());
    return 0;
}

LRESULT CDuiSetOwnRoom::OnRoomUpdated(UINT, WPARAM, LPARAM, bool&) {
    // The speaker role was given up: the participant's window takes this one's place.
    ISettingsHost& host = host_;
    host.closeDialog(CKestrum::kSetOwnRoomDlg);
    host.openDialog(CKestrum::kSetRoomDlg);
    return 0;
}

LRESULT CDuiSetOwnRoom::OnObserverEvent(UINT, WPARAM wParam, LPARAM, bool&) {
    const auto event = TakePayload<WM_SETTINGS_OBSERVER_EVENT>(wParam);
    if (!event) return 0;
    switch (event->kind) {
    case ObserverEventPayload::Kind::kUpdateRoom:
        onUpdateRoom(event->code != 0);
        break;
    case ObserverEventPayload::Kind::kError:
        onCallBackError(event->api, event->text, event->code);
        break;
    default:
        break;
    }
    return 0;
}

void CDuiSetOwnRoom::onUpdateRoom(bool success) {
    writeLine(Level_Info, __LINE__, "%s", "CDuiSetOwnRoom::onUpdateRoom");
    if (success) CRoomSettingsPage::storeConfirmed(roomStatus_, roomPassword_);
}

void CDuiSetOwnRoom::onCallBackError(const std::string& api, const std::string& message, int code) {
    writeLine(Level_Info, __LINE__, "%s", "CDuiSetOwnRoom::onCallBackError");
    if (page_.showError(GetHWND(), api, message, code)) updateRoomInfo();
}

void CDuiSetOwnRoom::updateRoomInfo() {
    if (!g_kestrumData || !page_.ready()) return;
    roomPassword_ = page_.showRoomAndPassword();
    const std::vector<std::string> hosts = CRoomSettingsPage::hosts();
    // Without a host the speaker line keeps the skin's text and the options their state.
    if (!hosts.empty()) {
        page_.showSpeaker(hosts.front());
        page_.enableOptions(true);
    }
    page_.showStoredStatus();
}

void CDuiSetOwnRoom::DoInitWnd(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    page_.init(GetHWND());
    updateRoomInfo();
}

void CDuiSetOwnRoom::DoClose(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    host_.closeDialog(CKestrum::kSetOwnRoomDlg);
}

void CDuiSetOwnRoom::DoOptTabRoom(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "(%d)", page_.tabRoomOpt->IsSelected());
}

void CDuiSetOwnRoom::DoOptTabAV(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "(%d)", page_.tabAVOpt->IsSelected());
    page_.switchToAudioVideo();
}

void CDuiSetOwnRoom::DoPwdEditReturn(DuiLib::TNotifyUI& notification) {
    KESTRUM_LOG(Level_Info, "()");
    DoSure(notification);
}

void CDuiSetOwnRoom::DoOptEnableVideo(DuiLib::TNotifyUI&) {
    writeLine(Level_Info, __LINE__, "%s", "CDuiSetOwnRoom::DoOptEnableVideo");
    send(ZuvraKestrum::Settings::RoomStatusAfterClick(page_.shown(), RoomOption::kVideo));
}

void CDuiSetOwnRoom::DoOptEnableAudio(DuiLib::TNotifyUI&) {
    writeLine(Level_Info, __LINE__, "%s", "CDuiSetOwnRoom::DoOptEnableAudio");
    send(ZuvraKestrum::Settings::RoomStatusAfterClick(page_.shown(), RoomOption::kAudio));
}

void CDuiSetOwnRoom::DoSure(DuiLib::TNotifyUI&) {
    send(ZuvraKestrum::Settings::RoomStatusOf(page_.shown()));
}

void CDuiSetOwnRoom::send(int status) {
    roomPassword_ = CStringToUtf8(page_.passwordText());
    roomStatus_ = status;
    page_.sendUpdate(Relay(), CRoomSettingsPage::hosts(), roomStatus_, roomPassword_);
}

void CDuiSetOwnRoom::DoGiveupSpeaker(DuiLib::TNotifyUI&) {
    writeLine(Level_Info, __LINE__, "%s", "CDuiSetOwnRoom::DoGiveupSpeaker");
    host_.giveupSpeaker();
}

void CDuiSetOwnRoom::DoUploadLog(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    if (!CRoomSettingsPage::uploadLogs(GetHWND())) {
        KESTRUM_LOG(Level_Warning, "() uploader not started");
    }
}
