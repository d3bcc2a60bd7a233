#pragma once

#include <windows.h>

#include <deque>
#include <memory>
#include <string>

#include "app/windows/chat/chat_backlog.h"
#include "app/windows/chat/chat_message.h"
#include "app/windows/skeleton/kinetic_scroll.h"
#include "duilib/dialog_builder.h"
#include "duilib/list_ui.h"
#include "kestrum/common/thread_affinity.h"
#include "kestrum/core/kestrum_dump.h"

class CKestrumData;

namespace DuiLib {
class CPaintManagerUI;
}

// The chat panel's list of messages as bubbles: other participants' on the left with their
// avatar and name, the user's own on the right. Each bubble is built from "ChatListItem-en.xml"
// (one markup for both languages, parsed once), filled as chat_message.h says and sized by
// bubble_layout.h; the list scrolls with the kinetic wheel motion of the meeting's lists on
// control timer kScrollTimer.
//
// Messages join the list on control timer kArrivalTimer, in batches of the chat's backlog
// (chat_backlog.h): each batch is laid out and brought into view once, and the window's input
// and paint come between batches. The list keeps the newest ChatBacklog::kMaxKept messages.
//
// Texts arrive as UTF-8 and are shown as plain text: nothing in a message is read as markup or
// formatting. Names come from the meeting data (UTF-8).
//
// Threads: the UI thread of the chat window only, every member (checked in test builds);
// avatars that arrive on other threads are handed to that thread before SetUserLogo.
// Ownership: made by the chat window's builder callback, owned by the control tree and
// destroyed with it; it owns its records. Cost: adding a message and a scroll step do not
// grow with the number of messages already shown.
class CChatList : public DuiLib::CListUI, public CKestrumDump {
public:
    static constexpr UINT kScrollTimer = 11;
    static constexpr UINT kArrivalTimer = 12;

    // manager: the chat window's, which builds the bubbles and runs the scroll timer; meeting:
    // the window's meeting data, which names the senders and outlives the list.
    CChatList(DuiLib::CPaintManagerUI& manager, CKestrumData& meeting);
    ~CChatList() override;

    // A bubble for a message of uid (UTF-8 text; portraitId names the sender's avatar): another
    // participant's on the left, the user's own on the right, added with the next batch. An empty
    // uid or text still adds an item, as the markup made it, without bubble. Nothing is added
    // when the bubble markup cannot be built.
    void AddRemoteMsg(const std::string& uid, const std::string& text,
                      const std::string& portraitId);
    void AddSelfMsg(const std::string& uid, const std::string& text, const std::string& portraitId);

    // Shows the current avatar of uid (ZuvraKestrum::Util::GetPortraitPath of its portrait id)
    // in every bubble of uid, e.g. once the picture has been downloaded.
    void SetUserLogo(const std::string& uid);

    // Wheel and timer events run the kinetic scroll; mouse events of a list that takes no mouse
    // input go to its parent; everything else to the list. A wheel event followed by timer
    // events with id kScrollTimer is one scroll step each.
    void DoEvent(DuiLib::TEventUI& event) override;

    // Messages in the list, with or without bubble; those still waiting for their batch are not
    // counted.
    int messageCount() const { return static_cast<int>(records_.size()); }

private:
    struct ChatMsgRecord : ZuvraKestrum::Chat::ChatMessage {
        DuiLib::CControlUI* item = nullptr;  // owned by the list
    };

    void arrive(ZuvraKestrum::Chat::Arrival arrival);
    // The next batch joins the list, and the newest bubble comes into view.
    void showArrivals();
    void addMessage(const ZuvraKestrum::Chat::Arrival& arrival);
    void dropOldest(size_t count);
    DuiLib::CControlUI* buildItem();
    void fillBubble(const ChatMsgRecord& record);
    void showAvatar(const ChatMsgRecord& record);
    bool onBubbleEvent(void* param);

    DuiLib::CPaintManagerUI& manager_;
    CKestrumData& meeting_;
    DuiLib::CDialogBuilder itemBuilder_;
    KineticScroll scroll_;
    ZuvraKestrum::Chat::ChatBacklog backlog_;
    bool arrivalTimerSet_ = false;
    int arrived_ = 0;  // messages received, for their index
    std::deque<std::unique_ptr<ChatMsgRecord>> records_;
    kestrum::common::ThreadAffinity thread_;
};
