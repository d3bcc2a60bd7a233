#include "app/windows/notice/dui_message_box.h"

#include "app/windows/skeleton/control_binding.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_process.h"

namespace {

using ZuvraKestrum::Notice::CloseStep;
using ZuvraKestrum::Notice::UpdateStep;

constexpr const wchar_t* kSkin = L"ErrorTips.xml";

}  // namespace

void NoticeBoxExits::QuitMessageLoop() { PostQuitMessage(0); }

void NoticeBoxExits::TerminateProcess() { ZuvraKestrum::Util::TerminateSelf(); }

CDuiMessageBox::CDuiMessageBox(CKestrumConfig& config, NoticeBoxExits exits,
                               ZuvraKestrum::Notice::UpgradeRoad road)
    : config_(config), exits_(exits), road_(std::move(road)) {}

CDuiMessageMap<CDuiMessageBox> CDuiMessageBox::MessageMap() {
    auto table = StandardMessageMap(&CDuiMessageBox::OnCreate);
    table.on<WM_DESTROY>(&CDuiMessageBox::OnDestroy, RowMode::kPassOn)
        .on<kRunTaskMessage>(&CDuiMessageBox::OnRunTask);
    return table;
}

CDuiNotifyMap<CDuiMessageBox> CDuiMessageBox::NotifyMap() {
    CDuiNotifyMap<CDuiMessageBox> table;
    table.add(L"windowinit", L"MainFrame", &CDuiMessageBox::DoInitWnd)
        .add(L"click", L"closebtn", &CDuiMessageBox::DoClose)
        .add(L"click", L"update", &CDuiMessageBox::DoUpdate);
    return table;
}

void CDuiMessageBox::OnCreate() {
    if (!BuildSkin(kSkin, nullptr)) return;
    // Every row is optional: an inert box could not be closed, and its modal loop would hold
    // the program. The bottom button shares its name with the title bar's cross.
    CKestrumDump log("CDuiMessageBox", true, false, false, L"");
    constexpr ControlNeed kOptional = ControlNeed::kOptional;
    BindControls(*this,
                 {{L"TxtType", &CDuiMessageBox::title_, kOptional},
                  {L"tipsTxt", &CDuiMessageBox::tips_, kOptional},
                  {L"update", &CDuiMessageBox::update_, kOptional},
                  {L"icon", &CDuiMessageBox::icon_, kOptional},
                  {L"buttons", L"closebtn", &CDuiMessageBox::bottomClose_, kOptional}},
                 log);
    if (update_) update_->SetText(ZuvraKestrum::Notice::UpdateText(g_language));
    ShowTypeDecor();
}

void CDuiMessageBox::OnDestroy() {
    // The box goes only when the program closes every window on its way out.
    exits_.endProcess();
}

LRESULT CDuiMessageBox::OnRunTask(const std::function<void()>* task) {
    (*task)();
    return 1;
}

void CDuiMessageBox::DoInitWnd(DuiLib::TNotifyUI&) {}

void CDuiMessageBox::SetTitle(const wchar_t* text) {
    if (title_) title_->SetText(text ? text : L"");
}

void CDuiMessageBox::SetTips(const wchar_t* text) {
    if (tips_) tips_->SetText(text ? text : L"");
}

void CDuiMessageBox::SetType(int type, const wchar_t* argument) {
    type_ = type;
    argument_ = argument ? argument : L"";
    ShowTypeDecor();
}

void CDuiMessageBox::ShowTypeDecor() {
    const ZuvraKestrum::Notice::BoxDecor decor = ZuvraKestrum::Notice::DecorOf(type_, g_language);
    if (update_) update_->SetVisible(decor.showsUpdate);
    if (bottomClose_) bottomClose_->SetText(decor.closeText);
    if (icon_) icon_->SetBkImage(decor.icon);
}

void CDuiMessageBox::CenterOnWindow(HWND owner) {
    if (!IsWindow(owner)) return;
    RECT area;
    RECT client;
    GetWindowRect(owner, &area);
    GetClientRect(GetHWND(), &client);
    const SIZE size{client.right, client.bottom};
    const POINT at = ZuvraKestrum::Notice::CentreOver(area, size);
    SetWindowPos(GetHWND(), HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_SHOWWINDOW);
}

void CDuiMessageBox::DoClose(DuiLib::TNotifyUI&) {
    ShowWindow(false, true);
    switch (ZuvraKestrum::Notice::StepAfterClose(type_)) {
    case CloseStep::kQuit:
        exits_.quit();
        break;
    case CloseStep::kShowJoinWindow:
        if (openJoinWindow_) openJoinWindow_();
        // The join window does not offer this version again.
        config_.setUpdateOption("1");
        break;
    case CloseStep::kNothing:
        break;
    }
}

void CDuiMessageBox::DoUpdate(DuiLib::TNotifyUI&) {
    switch (ZuvraKestrum::Notice::PressUpdate(type_, road_, argument_)) {
    case UpdateStep::kQuit:
        exits_.quit();
        break;
    case UpdateStep::kSayNotStarted:
        SetTips(ZuvraKestrum::Notice::UpgradeNotStartedText(g_language));
        break;
    case UpdateStep::kNothing:
        break;
    }
}

bool CDuiMessageBox::RunOnThreadOf(HWND box, const std::function<void()>& task) {
    if (!IsWindow(box)) return false;
    if (GetWindowThreadProcessId(box, nullptr) == GetCurrentThreadId()) {
        task();
        return true;
    }
    return ::SendMessageW(box, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(&task)) == 1;
}
