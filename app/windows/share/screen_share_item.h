#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "app/windows/share/share_messages.h"
#include "app/windows/skeleton/kinetic_scroll.h"
#include "duilib/dialog_builder.h"
#include "duilib/list_ui.h"
#include "kestrum/common/thread_affinity.h"
#include "kestrum/core/kestrum_dump.h"

namespace DuiLib {
class CPaintManagerUI;
}

// One row of the share-source list: up to three entries side by side in one item built from
// "ScreenShareItem-en.xml". Owned by the list; its address is the tag of the row's thumbnail and
// title controls, whose user data is the slot number "1".."3".
struct ShareSourceRow {
    std::array<ShareSourceEntry, 3> slots;
    int used = 0;                        // filled slots, 1..3
    DuiLib::CControlUI* item = nullptr;  // in the list, which owns it
};

// The thumbnail list of the screen-share picker: rows of three sources, each a snapshot with
// its title under it. Slot containers "shot1".."shot3" each hold "wndshot" (the thumbnail file
// as background image, or the box's plain ground for a source without one) and "wndShotName"
// (the title); a slot shows once filled. The list scrolls with the meeting's kinetic wheel motion
// on control timer kScrollTimer.
//
// Threads: the UI thread of the picker only, every member (checked in test builds); the
// picker's snapshot thread hands its entries to that thread first. Ownership: made by the
// picker's builder callback, owned by the control tree and destroyed with it; it owns its rows.
class CScreenShareItem : public DuiLib::CListUI, public CKestrumDump {
public:
    static constexpr UINT kScrollTimer = 11;
    static constexpr int kRowWidth = 662;
    static constexpr int kRowHeight = 160;

    // manager: the picker's, which builds the rows and runs the scroll timer.
    explicit CScreenShareItem(DuiLib::CPaintManagerUI& manager);
    ~CScreenShareItem() override;

    // Places a copy of entry in the next free slot (ZuvraKestrum::Share::PlaceShareEntry) and
    // shows it. Returns the placed copy, which lives as long as the list, with its row and slot
    // filled in; null when the row markup cannot be built (the entry is dropped and does not
    // count).
    const ShareSourceEntry* AddItem(const ShareSourceEntry& entry);

    // The entry in slot (0..2) of row, null when that slot is empty or row is not one of this
    // list's rows.
    const ShareSourceEntry* entryAt(const ShareSourceRow* row, int slot) const;
    // The slot container "shot1".."shot3" of an entry's slot; null when it has none.
    DuiLib::CControlUI* slotControl(const ShareSourceRow& row, int slot) const;
    // Frames a placed entry's card and its title in blue (chosen) or plain.
    void markChosen(const ShareSourceEntry& entry, bool chosen);

    // Entries placed so far, in order.
    std::vector<const ShareSourceEntry*> entries() const;
    int rowCount() const { return static_cast<int>(rows_.size()); }

    void DoEvent(DuiLib::TEventUI& event) override;

private:
    DuiLib::CControlUI* buildItem();
    bool newRow(const ShareSourceEntry& entry);
    void fillSlot(ShareSourceRow& row, int slot, const ShareSourceEntry& entry);

    DuiLib::CPaintManagerUI& manager_;
    DuiLib::CDialogBuilder itemBuilder_;
    KineticScroll scroll_;
    int placed_ = 0;
    std::vector<std::unique_ptr<ShareSourceRow>> rows_;
    kestrum::common::ThreadAffinity thread_;
};
