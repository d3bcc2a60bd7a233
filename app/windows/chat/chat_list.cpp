#include "app/windows/chat/chat_list.h"

#include "duilib/list_container_element_ui.h"
#include "duilib/paint_manager_ui.h"
#include "duilib/rich_edit_ui.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/util_text.h"

namespace {

using ZuvraKestrum::Chat::BubbleSide;

constexpr const wchar_t* kItemMarkup = L"ChatListItem-en.xml";
// A wheel notch down (delta -240, no keys), the direction of the newest bubble.
constexpr WPARAM kWheelTowardsEnd = 0xFF100000;

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

CChatList::CChatList(DuiLib::CPaintManagerUI& manager)
    : CKestrumDump("CChatList", true, false, false, ""), manager_(manager) {}

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
    addMessage(BubbleSide::kRemote, uid, text, portraitId);
}

void CChatList::AddSelfMsg(const std::string& uid, const std::string& text,
                           const std::string& portraitId) {
    addMessage(BubbleSide::kOwn, uid, text, portraitId);
}

void CChatList::addMessage(BubbleSide side, const std::string& uid, const std::string& text,
                           const std::string& portraitId) {
    KESTRUM_CHECK_THREAD(thread_);
    DuiLib::CControlUI* item = buildItem();
    if (!item) {
        KESTRUM_LOG(Level_Error, "(%s) the bubble markup does not build", uid.c_str());
        return;
    }
    auto record = std::make_unique<ChatMsgRecord>();
    record->index = messageCount();
    record->uid = uid;
    record->portraitId = portraitId;
    record->text = ZuvraKestrum::Chat::ShownTextOfUtf8(text);
    record->side = side;
    record->item = item;
    if (g_kestrumData) g_kestrumData->getUserNickName(uid, record->nick);

    if (!ZuvraKestrum::Chat::HasBubble(uid, text)) {
        Add(item);
    } else {
        // Filled before it joins the list, so that scrolling to the end sees its real height.
        fillBubble(*record);
        if (auto* element = static_cast<DuiLib::CListContainerElementUI*>(
                item->GetInterface(L"ListContainerElement"))) {
            element->SetIndex(record->index);
        }
        item->SetVisible(true);
        item->SetTag(reinterpret_cast<UINT_PTR>(record.get()));
        AddAt(item, GetCount());
        EndDown();
    }
    postWheelTowardsNewest();
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

void CChatList::postWheelTowardsNewest() {
    // At the list's middle rather than under the cursor: the window routes a wheel to the
    // control at its point, and the cursor may be anywhere (over the input, off the window).
    HWND window = manager_.GetPaintWindow();
    const RECT& area = GetPos();
    POINT at = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    if (!window || !ClientToScreen(window, &at)) return;
    const LPARAM point = MAKELPARAM(static_cast<short>(at.x), static_cast<short>(at.y));
    PostMessageW(window, WM_MOUSEWHEEL, kWheelTowardsEnd, point);
    PostMessageW(window, WM_MOUSEWHEEL, kWheelTowardsEnd, point);
}

void CChatList::SetUserLogo(const std::string& uid) {
    KESTRUM_CHECK_THREAD(thread_);
    for (const auto& record : records_) {
        if (ZuvraKestrum::Chat::ShowsAvatarOf(*record, uid)) showAvatar(*record);
    }
}

void CChatList::DoEvent(DuiLib::TEventUI& event) {
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
