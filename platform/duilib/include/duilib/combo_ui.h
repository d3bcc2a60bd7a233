#pragma once

#include "duilib/container_ui.h"

namespace DuiLib {

// A drop-down choice (over the framework's combo). Its items (usually CListLabelElementUI) live
// in the drop-down list; a choice by the user, or SelectItem with notification, notifies
// "itemselect" (wParam the new index, lParam the old).
class CComboUI : public CContainerUI {
 public:
  CComboUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
  // The selected item's text.
  CDuiString GetText() const override;

  CControlUI* GetItemAt(int index) const override;
  int GetCurSel() const;
  // False for an index out of range or the current selection.
  bool SelectItem(int index, bool take_focus = false, bool notify = true);

 protected:
  const wchar_t* NotificationFor(int framework_event) const override;
};

}  // namespace DuiLib
