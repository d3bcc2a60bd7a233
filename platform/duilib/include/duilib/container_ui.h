#pragma once

#include <windows.h>

#include "duilib/control_ui.h"

namespace DuiLib {

// A control that holds others (over a framework box). Children are controls of this layer;
// the container owns them.
//
// Threads: the UI thread. Ownership: a removed child is destroyed unless the caller asks to
// keep it; while the container is in a window the destruction waits for the window's next
// message turn, so a child may be removed from inside its own notification.
class CContainerUI : public CControlUI {
 public:
  CContainerUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;

  // Null for an index out of range or a child made without this layer.
  virtual CControlUI* GetItemAt(int index) const;
  // -1 when control is not a child.
  int GetItemIndex(CControlUI* control) const;
  int GetCount() const;
  // The container takes control; false for null. Called off the window's thread the adding is
  // posted to it (true; a control that cannot be added there is deleted).
  virtual bool Add(CControlUI* control);
  // index == GetCount() appends; false for null or an index beyond that. Threads as Add.
  virtual bool AddAt(CControlUI* control, int index);
  // False when control is not a child. With do_not_destroy the child is only unlinked and
  // belongs to the caller again.
  virtual bool Remove(CControlUI* control, bool do_not_destroy = false);
  virtual void RemoveAll();

  // Scrolling, for containers that scroll (lists); {0, 0} and nothing for the others.
  virtual SIZE GetScrollPos() const;
  virtual SIZE GetScrollRange() const;
  virtual void SetScrollPos(SIZE pos);

 protected:
  explicit CContainerUI(ui::Control* peer);

 private:
  void AdoptOrDelete(CControlUI* control, int index);
};

}  // namespace DuiLib
