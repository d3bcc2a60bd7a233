#pragma once

#include <windows.h>

#include <string>

#include "app/windows/skeleton/dui_window.h"
#include "duilib/rich_edit_ui.h"
#include "kestrum/core/kestrum_dump.h"

class CChatList;
class CKestrumData;
class IMeetingHost;

// The chat panel of the in-meeting window: the bubble list (CChatList), an input with a hint,
// a send button and a close button. What the user sends goes to the whole room through the
// host's broadcastMsg (UTF-8); the own message is not shown here but when the room echoes it
// back to AddChatMsg. Closing asks the in-meeting window to hide the panel (WM_CHATLIST_CLOSED).
//
// Skin "ChatList-en.xml" / "ChatList-zh.xml" (class "UIChatListMainWnd"), a child window of the
// in-meeting window, which places, shows and hides it.
//
// Threads: the UI thread, every member; avatars downloaded on another thread reach
// updateChatLogo only after being handed to the UI thread. Ownership: created with new by the
// in-meeting window, deletes itself when its window is destroyed; the host outlives it.
class CDuiChatList : public CDuiWindow<CDuiChatList>,
                     public DuiLib::IDialogBuilderCallback,
                     public CKestrumDump {
public:
    explicit CDuiChatList(IMeetingHost& host);

    const wchar_t* GetWindowClassName() const override { return L"UIChatListMainWnd"; }

    static CDuiMessageMap<CDuiChatList> MessageMap();
    static CDuiNotifyMap<CDuiChatList> NotifyMap();

    // A CChatList for the skin's element "ChatList" (any case); null for other names.
    DuiLib::CControlUI* CreateControl(const wchar_t* className) override;

    // A chat message of the room (UTF-8): on the right when uid is the user's own, else on
    // the left. A hidden panel lays itself out first, so that the message is placed at the
    // panel's size when it joins the list, not again at the panel's first show.
    void AddChatMsg(const std::string& uid, const std::string& text, const std::string& portraitId);
    // The avatar of uid has changed (its picture arrived): its bubbles show it.
    void updateChatLogo(const std::string& uid);

    // The bubble list; null when the skin did not build.
    CChatList* chatList() const { return chatList_; }

private:
    void OnCreate();

    void DoInitWnd(DuiLib::TNotifyUI& notification);
    void DoClose(DuiLib::TNotifyUI& notification);
    void DoInputEditSetFocus(DuiLib::TNotifyUI& notification);
    void DoSendMsg(DuiLib::TNotifyUI& notification);
    void DoInputEditReturn(DuiLib::TNotifyUI& notification);
    void DoInputEditChanged(DuiLib::TNotifyUI& notification);

    IMeetingHost& host_;
    CKestrumData& meeting_;
    const std::string ownUid_;  // the meeting data's at creation
    CChatList* chatList_ = nullptr;
    DuiLib::CRichEditUI* inputEdit_ = nullptr;
};
