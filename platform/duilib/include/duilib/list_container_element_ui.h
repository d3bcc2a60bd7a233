#pragma once

#include "duilib/container_ui.h"

namespace DuiLib {

class IListOwnerUI;

// An item of a list or combo that holds other controls. A click notifies "itemclick" (before
// the list selects it), a double click "itemactivate".
class CListContainerElementUI : public CContainerUI {
 public:
  CListContainerElementUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;

  // The position in the owning list; -1 outside one. The list renumbers its items itself.
  int GetIndex() const;
  void SetIndex(int index);
  // The list holding the item; null outside one.
  IListOwnerUI* GetOwner() const;
  bool IsSelected() const;
  // Asks the owning list to select this item.
  bool Select(bool select = true);

 protected:
  explicit CListContainerElementUI(ui::Control* peer);
  const wchar_t* NotificationFor(int framework_event) const override;
};

}  // namespace DuiLib
