#include "app/windows/chat/dui_chat_list.h"

#include "app/windows/chat/chat_input.h"
#include "app/windows/chat/chat_list.h"
#include "app/windows/meeting/meeting_host.h"
#include "app/windows/skeleton/control_binding.h"
#include "app/windows/skeleton/window_messages.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_text.h"

namespace {

constexpr DWORD kTypedTextColor = 0xFF333333;

}  // namespace

// The own uid is known before the panel is first shown (it starts hidden): a message of the
// user's own uid may arrive before that and must still stand on the right.
CDuiChatList::CDuiChatList(IMeetingHost& host)
    : CKestrumDump("CDuiChatList", true, false, false, L""),
      host_(host),
      meeting_(host.meeting()),
      ownUid_(meeting_.uid) {}

CDuiMessageMap<CDuiChatList> CDuiChatList::MessageMap() {
    return StandardMessageMap(&CDuiChatList::OnCreate);
}

CDuiNotifyMap<CDuiChatList> CDuiChatList::NotifyMap() {
    CDuiNotifyMap<CDuiChatList> table;
    table.add(L"windowinit", L"MainFrame", &CDuiChatList::DoInitWnd)
        .add(L"click", L"closebtn", &CDuiChatList::DoClose)
        .add(L"setfocus", L"inputEdit", &CDuiChatList::DoInputEditSetFocus)
        .add(L"click", L"MsgSend", &CDuiChatList::DoSendMsg)
        .add(L"return", L"inputEdit", &CDuiChatList::DoInputEditReturn)
        .add(L"textchanged", L"inputEdit", &CDuiChatList::DoInputEditChanged);
    return table;
}

DuiLib::CControlUI* CDuiChatList::CreateControl(const wchar_t* className) {
    if (className && _wcsicmp(className, L"ChatList") == 0)
        return new CChatList(paintManager_, meeting_);
    return nullptr;
}

void CDuiChatList::OnCreate() {
    if (!BuildLanguageSkin(L"ChatList", this, *this)) return;
    BindControls(
        *this, {{L"chatList", &CDuiChatList::chatList_}, {L"inputEdit", &CDuiChatList::inputEdit_}},
        *this);
}

void CDuiChatList::DoInitWnd(DuiLib::TNotifyUI&) { KESTRUM_LOG(Level_Info, "()"); }

void CDuiChatList::AddChatMsg(const std::string& uid, const std::string& text,
                              const std::string& portraitId) {
    if (!chatList_) return;
    // Hidden since its creation the panel has never been laid out: its list would place the
    // bubbles in an empty rectangle, and place every one of them again at the first show.
    if (!IsWindowVisible(GetHWND())) paintManager_.LayOutNow();
    if (ZuvraKestrum::Chat::SideOf(uid, ownUid_) == ZuvraKestrum::Chat::BubbleSide::kOwn)
        chatList_->AddSelfMsg(uid, text, portraitId);
    else
        chatList_->AddRemoteMsg(uid, text, portraitId);
}

void CDuiChatList::updateChatLogo(const std::string& uid) {
    if (chatList_) chatList_->SetUserLogo(uid);
}

void CDuiChatList::DoClose(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    PostEmpty<WM_CHATLIST_CLOSED>(host_.meetingWindow());
}

void CDuiChatList::DoInputEditSetFocus(DuiLib::TNotifyUI&) {
    if (inputEdit_->GetText() == ZuvraKestrum::Chat::InputHint(g_language))
        inputEdit_->SetText(L"");
}

void CDuiChatList::DoSendMsg(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    const std::string message = ZuvraKestrum::Chat::MessageToSend(
        inputEdit_->GetText(), ZuvraKestrum::Chat::InputHint(g_language));
    if (!message.empty()) host_.broadcastMsg(message);
    inputEdit_->SetText(L"");
}

void CDuiChatList::DoInputEditReturn(DuiLib::TNotifyUI& notification) { DoSendMsg(notification); }

void CDuiChatList::DoInputEditChanged(DuiLib::TNotifyUI&) {
    inputEdit_->SetTextColor(kTypedTextColor);
}
