#pragma once

#include "duilib/button_ui.h"

namespace DuiLib {

// A button with a selected state. A click notifies "click" first, so a handler reading
// IsSelected sees the state before the click; then an option in a group is selected (the
// group's others are deselected) and an option in no group toggles. Each change of the
// selection notifies "selectchanged" unless the change was made without notification.
class COptionUI : public CButtonUI {
 public:
  COptionUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;

  bool IsSelected() const;
  // Nothing when unchanged. notify false changes the state silently.
  virtual void Selected(bool selected, bool notify = true);
  CDuiString GetGroup() const;
  void SetGroup(const wchar_t* group);
  void SetSelectedImage(const wchar_t* image);

 protected:
  explicit COptionUI(ui::Control* peer);
  const wchar_t* NotificationFor(int framework_event) const override;

 private:
  bool silent_ = false;
};

}  // namespace DuiLib
