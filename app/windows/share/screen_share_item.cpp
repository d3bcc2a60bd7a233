#include "app/windows/share/screen_share_item.h"

#include <string>

#include "app/windows/share/share_rules.h"
#include "duilib/label_ui.h"
#include "duilib/list_container_element_ui.h"
#include "duilib/paint_manager_ui.h"
#include "kestrum/core/util_text.h"

namespace {

constexpr const wchar_t* kItemMarkup = L"ScreenShareItem-en.xml";

constexpr DWORD kChosenBorder = 0xFF007AFF;
constexpr DWORD kChosenNameBack = 0xFF007AFF;
constexpr DWORD kChosenNameText = 0xFFFFFFFF;
constexpr DWORD kPlainBorder = 0xFFF5F5F5;
constexpr DWORD kPlainNameBack = 0xFFFFFFFF;
constexpr DWORD kPlainNameText = 0xFF000000;

std::wstring SlotName(int slot) { return L"shot" + std::to_wstring(slot + 1); }

}  // namespace

CScreenShareItem::CScreenShareItem(DuiLib::CPaintManagerUI& manager)
    : CKestrumDump("CScreenShareItem", true, false, false, L""), manager_(manager) {}

CScreenShareItem::~CScreenShareItem() {
    // The items go with the list's tree; the rows only pointed at them.
    scroll_.stop();
    rows_.clear();
}

DuiLib::CControlUI* CScreenShareItem::buildItem() {
    if (itemBuilder_.GetMarkup()->IsValid()) return itemBuilder_.Create(nullptr, &manager_);
    return itemBuilder_.Create(kItemMarkup, 0u, nullptr, &manager_);
}

const ShareSourceEntry* CScreenShareItem::AddItem(const ShareSourceEntry& entry) {
    KESTRUM_CHECK_THREAD(thread_);
    const ZuvraKestrum::Share::SharePlacement place = ZuvraKestrum::Share::PlaceShareEntry(placed_);
    if (place.startsRow) {
        if (!newRow(entry)) {
            KESTRUM_LOG(Level_Error, "(%s) the row markup does not build",
                        ZuvraKestrum::Util::CStringToUtf8(entry.title).c_str());
            return nullptr;
        }
    } else {
        fillSlot(*rows_.back(), place.slot, entry);
    }
    ++placed_;
    return &rows_.back()->slots[place.slot];
}

bool CScreenShareItem::newRow(const ShareSourceEntry& entry) {
    DuiLib::CControlUI* item = buildItem();
    if (!item) return false;
    auto row = std::make_unique<ShareSourceRow>();
    row->item = item;
    const int index = static_cast<int>(rows_.size());
    item->SetFixedWidth(kRowWidth);
    item->SetFixedHeight(kRowHeight);
    if (auto* element = static_cast<DuiLib::CListContainerElementUI*>(
            item->GetInterface(L"ListContainerElement"))) {
        element->SetIndex(index);
    }
    item->SetVisible(true);
    item->SetTag(reinterpret_cast<UINT_PTR>(row.get()));
    AddAt(item, index);
    rows_.push_back(std::move(row));
    fillSlot(*rows_.back(), 0, entry);
    return true;
}

void CScreenShareItem::fillSlot(ShareSourceRow& row, int slot, const ShareSourceEntry& entry) {
    ShareSourceEntry& placed = row.slots[slot];
    placed = entry;
    placed.row = &row;
    placed.slot = slot;
    row.used = slot + 1;

    const std::wstring number = std::to_wstring(slot + 1);
    const auto tag = reinterpret_cast<UINT_PTR>(&row);
    DuiLib::CControlUI* box = slotControl(row, slot);
    if (!box) return;
    box->SetVisible(true);
    if (DuiLib::CControlUI* shot = manager_.FindSubControlByName(box, L"wndshot")) {
        shot->SetBkColor(ZuvraKestrum::Share::kThumbnailGround);
        // The file as it is, not a descriptor: a path may hold the quote that would end one.
        shot->SetBkImage(placed.imagePath.c_str());
        shot->SetTag(tag);
        shot->SetUserData(number.c_str());
    }
    if (DuiLib::CControlUI* name = manager_.FindSubControlByName(box, L"wndShotName")) {
        name->SetText(placed.title.c_str());
        name->SetToolTip(placed.title.c_str());
        name->SetTag(tag);
        name->SetUserData(number.c_str());
    }
    markChosen(placed, false);
}

void CScreenShareItem::markChosen(const ShareSourceEntry& entry, bool chosen) {
    KESTRUM_CHECK_THREAD(thread_);
    DuiLib::CControlUI* box = entry.row ? slotControl(*entry.row, entry.slot) : nullptr;
    if (!box) return;
    box->SetBorderColor(chosen ? kChosenBorder : kPlainBorder);
    DuiLib::CControlUI* found = manager_.FindSubControlByName(box, L"wndShotName");
    auto* name = found ? static_cast<DuiLib::CLabelUI*>(found->GetInterface(L"Label")) : nullptr;
    if (!name) return;
    name->SetBkColor(chosen ? kChosenNameBack : kPlainNameBack);
    name->SetTextColor(chosen ? kChosenNameText : kPlainNameText);
}

const ShareSourceEntry* CScreenShareItem::entryAt(const ShareSourceRow* row, int slot) const {
    KESTRUM_CHECK_THREAD(thread_);
    if (slot < 0 || slot >= ZuvraKestrum::Share::kSlotsPerRow) return nullptr;
    for (const auto& own : rows_) {
        if (own.get() == row) return slot < own->used ? &own->slots[slot] : nullptr;
    }
    return nullptr;
}

DuiLib::CControlUI* CScreenShareItem::slotControl(const ShareSourceRow& row, int slot) const {
    return manager_.FindSubControlByName(row.item, SlotName(slot).c_str());
}

std::vector<const ShareSourceEntry*> CScreenShareItem::entries() const {
    std::vector<const ShareSourceEntry*> all;
    for (const auto& row : rows_) {
        for (int slot = 0; slot < row->used; ++slot) all.push_back(&row->slots[slot]);
    }
    return all;
}

void CScreenShareItem::DoEvent(DuiLib::TEventUI& event) {
    if (HandleKineticScrollEvent(*this, scroll_, event, kScrollTimer)) return;
    DuiLib::CListUI::DoEvent(event);
}
