#include "app/windows/share/dui_screen_share.h"

#include <cstdio>
#include <memory>
#include <string>

#include "app/windows/meeting/meeting_host.h"
#include "app/windows/share/screen_share_item.h"
#include "app/windows/share/share_candidates.h"
#include "app/windows/share/share_rules.h"
#include "app/windows/share/window_shot.h"
#include "app/windows/skeleton/control_binding.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_text.h"

namespace {

// An entry as the log lines of its choice show it, after the logging function's name.
std::string Describe(const ShareSourceEntry& entry) {
    char text[1024];
    std::snprintf(
        text, sizeof text, "(wnd[%p],name[%s],path[%s],width[%d],height[%d])",
        static_cast<void*>(entry.window), ZuvraKestrum::Util::CStringToUtf8(entry.title).c_str(),
        ZuvraKestrum::Util::CStringToUtf8(entry.imagePath).c_str(), entry.width, entry.height);
    return text;
}

}  // namespace

CDuiScreenShare::CDuiScreenShare(IMeetingHost& host)
    : CKestrumDump("CDuiScreenShare", true, false, false, L""),
      host_(host),
      meeting_(host.meeting()) {}

CDuiScreenShare::~CDuiScreenShare() = default;

CDuiMessageMap<CDuiScreenShare> CDuiScreenShare::MessageMap() {
    CDuiMessageMap<CDuiScreenShare> table = StandardMessageMap(&CDuiScreenShare::OnCreate);
    table.on<WM_DESTROY>(&CDuiScreenShare::OnDestroy, RowMode::kPassOn)
        .on<WM_SHARE_SOURCE_FOUND>(&CDuiScreenShare::OnShareSourceFound);
    return table;
}

CDuiNotifyMap<CDuiScreenShare> CDuiScreenShare::NotifyMap() {
    CDuiNotifyMap<CDuiScreenShare> table;
    table.add(L"windowinit", L"MainFrame", &CDuiScreenShare::DoInitWnd)
        .add(L"click", L"closebtn", &CDuiScreenShare::DoClose)
        .add(L"click", L"beginshare", &CDuiScreenShare::DoBeginStart)
        .add(L"setfocus", L"wndshot", &CDuiScreenShare::DoItemSetFocus)
        .add(L"setfocus", L"wndShotName", &CDuiScreenShare::DoItemSetFocus);
    return table;
}

DuiLib::CControlUI* CDuiScreenShare::CreateControl(const wchar_t* className) {
    if (className && _wcsicmp(className, L"screenshare") == 0) {
        return new CScreenShareItem(paintManager_);
    }
    return nullptr;
}

void CDuiScreenShare::OnCreate() {
    if (!BuildLanguageSkin(L"ScreenShare", this, *this)) return;
    BindControls(*this, {{L"screenlist", &CDuiScreenShare::screenList_}}, *this);
}

void CDuiScreenShare::OnDestroy() {
    // The thread ends here, before the window empties its queue, so that nothing is posted after.
    shots_.stop();
    chosen_ = nullptr;
}

void CDuiScreenShare::OnShareSourceFound(std::unique_ptr<ShareSourceEntry> entry) {
    if (!screenList_) return;
    KESTRUM_LOG(Level_Debug, "(wnd[%p],name[%s])", static_cast<void*>(entry->window),
                ZuvraKestrum::Util::CStringToUtf8(entry->title).c_str());
    screenList_->AddItem(*entry);
}

void CDuiScreenShare::DoInitWnd(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    if (!screenList_) return;
    const std::wstring folder = ZuvraKestrum::Share::ShotFolder();
    ZuvraKestrum::Share::PrepareShotFolder(folder);

    ShareSourceEntry desktop;
    desktop.window = GetDesktopWindow();
    desktop.title = L"Desktop";
    desktop.imagePath = folder + L"desktop.png";
    if (!ZuvraKestrum::Share::Snapshot(desktop))
        KESTRUM_LOG(Level_Warning, "(desktop) no snapshot");
    screenList_->AddItem(desktop);
    shots_.start(ZuvraKestrum::Share::FindShareCandidates(GetCurrentProcessId()), folder,
                 GetHWND());
}

void CDuiScreenShare::DoItemSetFocus(DuiLib::TNotifyUI& notification) {
    if (!screenList_) return;
    const auto* row = reinterpret_cast<const ShareSourceRow*>(notification.pSender->GetTag());
    const int slot =
        ZuvraKestrum::Util::CStringToInt(notification.pSender->GetUserData().GetData()) - 1;
    const ShareSourceEntry* entry = screenList_->entryAt(row, slot);
    if (!entry || entry == chosen_) return;
    if (chosen_) unchoose(*chosen_);
    choose(*entry);
}

void CDuiScreenShare::choose(const ShareSourceEntry& entry) {
    chosen_ = &entry;
    screenList_->markChosen(entry, true);
    KESTRUM_LOG(Level_Info, "%s", Describe(entry).c_str());
}

void CDuiScreenShare::unchoose(const ShareSourceEntry& entry) {
    chosen_ = nullptr;
    screenList_->markChosen(entry, false);
    KESTRUM_LOG(Level_Info, "%s", Describe(entry).c_str());
}

void CDuiScreenShare::DoBeginStart(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    if (!chosen_) {
        // The box is modal: nothing of the picker is touched after it.
        host_.dialogs().showMsgBox(GetHWND(), ZuvraKestrum::Share::ChooseFirstText(g_language), 0,
                                   ProgramDialogs::kErrorBox);
        return;
    }
    auto source = NewRecord<ScreenShareChosen>(chosen_->window, chosen_->width, chosen_->height);
    host_.roomctrlShare(true, {meeting_.uid});
    HWND meeting = host_.meetingWindow();
    if (!meeting || !IsWindow(meeting)) return;
    PostPayload<WM_SCREENSHARE_CHOSEN>(meeting, std::move(source));
}

void CDuiScreenShare::DoClose(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    HWND meeting = host_.meetingWindow();
    if (meeting && IsWindow(meeting)) PostPayload<WM_SCREENSHARE_CHOSEN>(meeting, nullptr);
}
