#include "app/windows/tiles/dui_menu_ver.h"

#include <memory>
#include <string>
#include <vector>

#include "app/windows/skeleton/control_binding.h"
#include "app/windows/skeleton/window_messages.h"
#include "app/windows/tiles/tile_rules.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_text.h"

namespace {

using ZuvraKestrum::Tiles::MenuItemStates;

void SetUsable(DuiLib::CControlUI* control, bool usable) {
    control->SetEnabled(usable);
    control->SetMouseEnabled(usable);
}

}  // namespace

CDuiMenuVer::CDuiMenuVer(IMeetingHost& host)
    : CKestrumDump("CDuiMenuVer", true, false, false, L""), host_(host), meeting_(host.meeting()) {}

CDuiMessageMap<CDuiMenuVer> CDuiMenuVer::MessageMap() {
    auto table = StandardMessageMap(&CDuiMenuVer::OnCreate);
    table.remove(WM_KEYDOWN).on<WM_KILLFOCUS>(&CDuiMenuVer::OnKillFocus, RowMode::kPassOn);
    return table;
}

CDuiNotifyMap<CDuiMenuVer> CDuiMenuVer::NotifyMap() {
    CDuiNotifyMap<CDuiMenuVer> table;
    table.add(L"windowinit", L"MainFrame", &CDuiMenuVer::DoInitWnd)
        .add(L"click", L"exchangeBig", &CDuiMenuVer::DoExchangeBigBtn)
        .add(L"click", L"tickout", &CDuiMenuVer::DoTickOutBtn)
        .add(L"click", L"cameraOpt", &CDuiMenuVer::DoCameraOpt)
        .add(L"click", L"micOpt", &CDuiMenuVer::DoMicOpt);
    return table;
}

void CDuiMenuVer::OnCreate() {
    if (!BuildLanguageSkin(L"MenuVer", nullptr, *this)) return;
    BindControls(*this,
                 {{L"exchangeBig", &CDuiMenuVer::exchangeBig_},
                  {L"tickout", &CDuiMenuVer::tickout_},
                  {L"cameraOpt", &CDuiMenuVer::cameraOpt_},
                  {L"micOpt", &CDuiMenuVer::micOpt_},
                  {L"MenuList", &CDuiMenuVer::menuList_}},
                 *this);
}

void CDuiMenuVer::OnKillFocus() {
    writeLine(Level_Debug, __LINE__, "%s", "CDuiMenuVer::OnKillFocus");
    hide();
}

void CDuiMenuVer::setUser(const UserInfoRecord& record) {
    user_ = record;
    if (!micOpt_) return;
    const MenuItemStates states =
        ZuvraKestrum::Tiles::MenuStatesFor(ZuvraKestrum::Tiles::OwnUserControls(&meeting_), user_);
    micOpt_->Selected(states.micSelected, true);
    SetUsable(micOpt_, states.micEnabled);
    cameraOpt_->Selected(states.cameraSelected, true);
    SetUsable(cameraOpt_, states.cameraEnabled);
    SetUsable(tickout_, states.removeEnabled);
}

void CDuiMenuVer::dismiss() {
    KESTRUM_LOG(Level_Info, "(%s)", user_.uid);
    lifetime_ = std::make_shared<const bool>(true);
    hide();
    user_ = UserInfoRecord();
    // The items that act on the participant; a hidden menu offers nothing until setUser.
    for (DuiLib::CControlUI* item : {tickout_, static_cast<DuiLib::CControlUI*>(micOpt_),
                                     static_cast<DuiLib::CControlUI*>(cameraOpt_)}) {
        if (item) SetUsable(item, false);
    }
}

void CDuiMenuVer::DoInitWnd(DuiLib::TNotifyUI&) { KESTRUM_LOG(Level_Info, "()"); }

void CDuiMenuVer::DoExchangeBigBtn(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, ",%s", user_.name);
    // Without an in-meeting window the copy is freed here.
    PostPayload<WM_EXCHANGE_BIG>(host_.meetingWindow(), std::make_unique<UserInfoRecord>(user_));
    hide();
}

void CDuiMenuVer::DoMicOpt(DuiLib::TNotifyUI& notification) {
    switchDeviceOff(notification, micOpt_, &IMeetingHost::roomctrlAudio);
}

void CDuiMenuVer::DoCameraOpt(DuiLib::TNotifyUI& notification) {
    switchDeviceOff(notification, cameraOpt_, &IMeetingHost::roomctrlVideo);
}

void CDuiMenuVer::switchDeviceOff(DuiLib::TNotifyUI& notification, DuiLib::COptionUI* option,
                                  void (IMeetingHost::*request)(bool,
                                                                const std::vector<std::string>&)) {
    KESTRUM_LOG(Level_Info, ",%s", user_.name);
    const ZuvraKestrum::Tiles::DeviceSwitch choice =
        ZuvraKestrum::Tiles::SwitchDevice(user_, option->IsSelected());
    (host_.*request)(choice.mute, choice.uids);
    notification.pSender->SetEnabled(choice.itemEnabled);
    hide();
}

void CDuiMenuVer::DoTickOutBtn(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, ",%s", user_.name);
    // The question pumps messages: the strip may give the menu another participant meanwhile,
    // the participant may leave (the strip dismisses the menu), and leaving, being removed or
    // the meeting's end close the strip and this menu with it. So only these copies are used
    // after it, and nobody is removed once the menu is gone or was dismissed.
    const std::string uid = user_.uid;
    const std::wstring question = ZuvraKestrum::Tiles::RemoveQuestion(
        g_language, ZuvraKestrum::Util::Utf8ToCString(user_.name));
    const std::weak_ptr<const bool> alive = lifetime_;
    IMeetingHost& host = host_;
    hide();
    // Over the meeting window, which the question holds still while it is open.
    const bool remove = host.confirm(host.meetingWindow(), question);
    if (remove && !alive.expired()) host.roomctrlBan({uid});
}

void CDuiMenuVer::hide() { ShowWindow(false, false); }
