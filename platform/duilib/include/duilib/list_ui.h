#pragma once

#include <windows.h>

#include "duilib/list_owner_ui.h"
#include "duilib/vertical_layout_ui.h"

namespace DuiLib {

// A scrolling vertical list with at most one selected item (over the framework's list box).
// Selecting an item, by the user or by SelectItem with notification, notifies "itemselect"
// (wParam the new index, lParam the old). Subclasses may take over events in DoEvent; the
// list's own handling (wheel scrolling among it) runs only through CListUI::DoEvent.
//
// Threads: the UI thread. Ownership: as CContainerUI.
class CListUI : public CVerticalLayoutUI, public IListOwnerUI {
 public:
  CListUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
  void DoEvent(TEventUI& event) override;

  int GetCurSel() const override;
  bool SelectItem(int index, bool take_focus = false, bool notify = true) override;

  SIZE GetScrollPos() const override;
  SIZE GetScrollRange() const override;
  void SetScrollPos(SIZE pos) override;
  // Scrolls to the end of the list (after laying it out).
  void EndDown();
  void HomeUp();

 protected:
  const wchar_t* NotificationFor(int framework_event) const override;
};

}  // namespace DuiLib
