#include "app/windows/notice/dui_message_box.h"

#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_process.h"

namespace {

using ZuvraKestrum::Notice::CloseStep;

constexpr const wchar_t* kSkin = L"ErrorTips.xml";

// A text of the box's own in the user's language.
const wchar_t* InLanguage(const wchar_t* english, const wchar_t* chinese) {
    return g_language != 0 ? chinese : english;
}

const wchar_t* IconOf(int type) {
    if (type == ZuvraKestrum::Notice::kError) return L"notice/error.png";
    if (ZuvraKestrum::Notice::ShowsUpdateButton(type)) return L"notice/upgrade.png";
    return L"notice/warning.png";
}

// The bottom button closes the box; what that means depends on the offer.
const wchar_t* CloseTextOf(int type) {
    switch (ZuvraKestrum::Notice::StepAfterClose(type)) {
    case CloseStep::kQuit:
        return InLanguage(L"Quit", L"退出");
    case CloseStep::kShowJoinWindow:
        return InLanguage(L"Later", L"以后再说");
    default:
        return InLanguage(L"OK", L"确定");
    }
}

}  // namespace

void NoticeBoxExits::QuitMessageLoop() { PostQuitMessage(0); }

void NoticeBoxExits::TerminateProcess() { ZuvraKestrum::Util::TerminateSelf(); }

CDuiMessageBox::CDuiMessageBox(NoticeBoxExits exits, ZuvraKestrum::Notice::UpgradeRoad road)
    : exits_(exits), road_(std::move(road)) {}

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
    DuiLib::CPaintManagerUI& manager = paintManager();
    title_ = manager.FindControl(L"TxtType");
    tips_ = manager.FindControl(L"tipsTxt");
    update_ = manager.FindControl(L"update");
    icon_ = manager.FindControl(L"icon");
    if (DuiLib::CControlUI* buttons = manager.FindControl(L"buttons")) {
        bottomClose_ = manager.FindSubControlByName(buttons, L"closebtn");
    }
    if (update_) update_->SetText(InLanguage(L"Update now", L"立即升级"));
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
    if (update_) update_->SetVisible(ZuvraKestrum::Notice::ShowsUpdateButton(type_));
    if (bottomClose_) bottomClose_->SetText(CloseTextOf(type_));
    if (icon_) icon_->SetBkImage(IconOf(type_));
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
        CSingleton<CKestrumConfig>::getInstance()->setUpdateOption("1");
        break;
    case CloseStep::kNothing:
        break;
    }
}

void CDuiMessageBox::DoUpdate(DuiLib::TNotifyUI&) {
    if (!ZuvraKestrum::Notice::RunsUpgrade(type_)) return;
    if (ZuvraKestrum::Notice::RunUpgrade(road_, argument_) != 0) {
        exits_.quit();
        return;
    }
    // Quitting now would leave the user with neither the program nor an upgrade: the offer
    // stays, to be tried again or declined.
    SetTips(InLanguage(L"The update could not be started. Please try again later.",
                       L"无法启动升级程序，请稍后重试。"));
}

bool CDuiMessageBox::RunOnThreadOf(HWND box, const std::function<void()>& task) {
    if (!IsWindow(box)) return false;
    if (GetWindowThreadProcessId(box, nullptr) == GetCurrentThreadId()) {
        task();
        return true;
    }
    return ::SendMessageW(box, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(&task)) == 1;
}
