#include "app/windows/chat/chat_list.h"

#include <utility>

#include "duilib/paint_manager_ui.h"
#include "duilib/rich_edit_ui.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/util_text.h"

namespace {

using ZuvraKestrum::Chat::BubbleSide;

constexpr const wchar_t* kItemMarkup = L"ChatListItem-en.xml";
// The next batch waits for the window's input and paint (a timer comes after both).
constexpr UINT kArrivalDelayMs = 10;

// The first control of that name in the tree under control (itself included); the bubble is
// filled before it joins the window, so the window's look-ups cannot reach it yet.
DuiLib::CControlUI* FindByName(DuiLib::CControlUI* control, const wchar_t* name) {
    if (control->GetName() == name) return control;
    auto* box = static_cast<DuiLib::CContainerUI*>(control->GetInterface(L"Container"));
    if (!box) return nullptr;
    for (int i = 0; i < box->GetCount(); ++i) {
        DuiLib::CControlUI* child = box->GetItemAt(i);
        if (!child) continue;
        if (DuiLib::CControlUI* found = FindByName(child, name)) return found;
    }
    return nullptr;
}

// Takes a side of the bubble out of the layout: hidden and of no width.
void Collapse(DuiLib::CControlUI* control) {
    if (!control) return;
    control->SetVisible(false);
    control->SetFixedWidth(0);
}

}  // namespace

CChatList::CChatList(DuiLib::CPaintManagerUI& manager, CKestrumData& meeting)
    : CKestrumDump("CChatList", true, false, false, L""), manager_(manager), meeting_(meeting) {}

CChatList::~CChatList() {
    // The items go with the list's tree; the records only pointed at them.
    records_.clear();
}

DuiLib::CControlUI* CChatList::buildItem() {
    if (itemBuilder_.GetMarkup()->IsValid()) return itemBuilder_.Create(nullptr, &manager_);
    return itemBuilder_.Create(kItemMarkup, 0u, nullptr, &manager_);
}

void CChatList::AddRemoteMsg(const std::string& uid, const std::string& text,
                             const std::string& portraitId) {
    arrive({BubbleSide::kRemote, uid, text, portraitId});
}

void CChatList::AddSelfMsg(const std::string& uid, const std::string& text,
                           const std::string& portraitId) {
    arrive({BubbleSide::kOwn, uid, text, portraitId});
}

void CChatList::arrive(ZuvraKestrum::Chat::Arrival arrival) {
    KESTRUM_CHECK_THREAD(thread_);
    backlog_.arrive(std::move(arrival));
    if (arrivalTimerSet_) return;
    arrivalTimerSet_ = manager_.SetTimer(this, kArrivalTimer, kArrivalDelayMs);
    // Without a window to time it, the message joins at once.
    if (!arrivalTimerSet_) showArrivals();
}

void CChatList::showArrivals() {
    if (arrivalTimerSet_) manager_.KillTimer(this, kArrivalTimer);
    arrivalTimerSet_ = false;
    ZuvraKestrum::Chat::ChatBacklog::Batch batch = backlog_.take(records_.size());
    dropOldest(batch.dropOldest);
    for (const ZuvraKestrum::Chat::Arrival& arrival : batch.add) addMessage(arrival);
    if (!batch.add.empty()) EndDown();
    if (backlog_.waiting())
        arrivalTimerSet_ = manager_.SetTimer(this, kArrivalTimer, kArrivalDelayMs);
}

void CChatList::dropOldest(size_t count) {
    for (; count > 0 && !records_.empty(); --count) {
        Remove(records_.front()->item);
        records_.pop_front();
    }
}

void CChatList::addMessage(const ZuvraKestrum::Chat::Arrival& arrival) {
    DuiLib::CControlUI* item = buildItem();
    if (!item) {
        KESTRUM_LOG(Level_Error, "(%s) the bubble markup does not build", arrival.uid.c_str());
        return;
    }
    auto record = std::make_unique<ChatMsgRecord>();
    record->index = arrived_++;
    record->uid = arrival.uid;
    record->portraitId = arrival.portraitId;
    record->text = ZuvraKestrum::Chat::ShownTextOfUtf8(arrival.text);
    record->side = arrival.side;
    record->item = item;
    meeting_.getUserNickName(arrival.uid, record->nick);

    if (!ZuvraKestrum::Chat::HasBubble(arrival.uid, arrival.text)) {
        Add(item);
    } else {
        // Filled before it joins the list, so that scrolling to the end sees its real height.
        fillBubble(*record);
        item->SetVisible(true);
        item->SetTag(reinterpret_cast<UINT_PTR>(record.get()));
        AddAt(item, GetCount());
    }
    records_.push_back(std::move(record));
}

void CChatList::fillBubble(const ChatMsgRecord& record) {
    const ZuvraKestrum::Chat::BubbleLook look = ZuvraKestrum::Chat::LookOf(record);
    DuiLib::CControlUI* item = record.item;
    Collapse(FindByName(item, look.otherBox));
    if (DuiLib::CControlUI* side = FindByName(item, look.sideBox)) side->SetVisible(true);
    showAvatar(record);
    item->OnEvent += DuiLib::MakeDelegate(this, &CChatList::onBubbleEvent);
    if (DuiLib::CControlUI* nick = FindByName(item, L"nick")) {
        nick->SetText(look.nick.c_str());
        nick->SetAttribute(L"align", look.nickAlign);
    }
    DuiLib::CControlUI* textControl = FindByName(item, L"chat_text");
    auto* text = textControl
                     ? static_cast<DuiLib::CRichEditUI*>(textControl->GetInterface(L"RichEdit"))
                     : nullptr;
    if (!text) return;
    text->SetFixedWidth(look.size.textWidth);
    text->SetFixedHeight(look.size.textHeight);
    item->SetFixedHeight(look.size.itemHeight);
    if (look.padded) {
        using ZuvraKestrum::Chat::kOwnTextPadding;
        text->SetPadding(RECT{look.size.leftPadding, 0, 0, 0});
        text->SetTextPadding(RECT{kOwnTextPadding, 0, kOwnTextPadding, 0});
    }
    if (look.size.scrolls) text->SetAttribute(L"vscrollbar", L"true");
    text->SetBkImage(look.size.image);
    text->SetTextColor(look.textColor);
    text->SetText(look.text.c_str());
}

void CChatList::showAvatar(const ChatMsgRecord& record) {
    if (DuiLib::CControlUI* avatar =
            FindByName(record.item, ZuvraKestrum::Chat::AvatarBox(record.side))) {
        avatar->SetBkImage(ZuvraKestrum::Util::GetPortraitPath(record.portraitId).c_str());
    }
}

void CChatList::SetUserLogo(const std::string& uid) {
    KESTRUM_CHECK_THREAD(thread_);
    for (const auto& record : records_) {
        if (ZuvraKestrum::Chat::ShowsAvatarOf(*record, uid)) showAvatar(*record);
    }
}

void CChatList::DoEvent(DuiLib::TEventUI& event) {
    if (event.Type == DuiLib::UIEVENT_TIMER && event.wParam == kArrivalTimer) {
        showArrivals();
        return;
    }
    if (HandleKineticScrollEvent(*this, scroll_, event, kScrollTimer)) return;
    DuiLib::CListUI::DoEvent(event);
}

bool CChatList::onBubbleEvent(void* param) {
    auto* event = static_cast<DuiLib::TEventUI*>(param);
    if (event->Type == DuiLib::UIEVENT_BUTTONDOWN && event->pSender &&
        event->pSender->GetParent()) {
        event->pSender->GetParent()->DoEvent(*event);
    }
    return true;
}
