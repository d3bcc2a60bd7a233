#pragma once

#include "duilib/ui_event.h"

namespace DuiLib {

// What list items ask of the list that holds them.
class IListOwnerUI {
 public:
  // -1 without selection.
  virtual int GetCurSel() const = 0;
  // Selects the item at index (notifying "itemselect" when notify); false when nothing is
  // selected afterwards.
  virtual bool SelectItem(int index, bool take_focus = false, bool notify = true) = 0;
  virtual void DoEvent(TEventUI& event) = 0;

 protected:
  ~IListOwnerUI() = default;
};

}  // namespace DuiLib
