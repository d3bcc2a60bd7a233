#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/controls/box/box.h"

namespace ui {

class CComboWnd;
class ListBox;

// A box that shows the text of the selected item and, when activated, opens a drop-down window
// (CComboWnd) with a list of the items under the combo, or over it when there is no room below
// or "popuptop" asks for it. Choosing an item or moving the focus away closes the drop-down;
// choosing raises "select" (42) at the combo with the index in wParam and -1 in lParam. The
// drop-down is as tall as its items (at most the drop box height); an item that leaves its height
// to the list is as tall as the combo there.
//
// Threads: the window's thread only.
// Ownership: the combo owns its list and, through it, its items: items removed through the
// combo (unless its auto-destroy of children is off) and those left at its destruction are
// destroyed. The drop-down window deletes itself; a combo destroyed while it is open closes it
// first. Handlers of the combo's events may destroy the combo; it touches nothing of itself
// afterwards.
class Combo : public Box {
 public:
  Combo();
  ~Combo() override;

  // Control and Box overrides.
  // Opens the drop-down (when the combo is activatable, attached to a window and not open yet)
  // and raises "click" (41).
  void Activate() override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintText(IRenderContext* render) override;
  // The items live in the list, not among the combo's own children.
  int GetCount() const override;
  // Appends an item to the list; false for null.
  bool Add(Control* control) override;
  bool Remove(Control* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;

  int GetCurSel() const { return cur_sel_; }
  // The text of the selected item; "" without selection.
  std::wstring GetText() const;
  // Selects without raising "select"; false for an index out of range or the current one.
  bool SelectItem(int index);

  ListBox* GetListBox() const { return list_.get(); }
  // The open drop-down window, or null.
  CComboWnd* GetDropWindow() const { return drop_window_; }
  // Width (0: the combo's width) and greatest height of the drop-down; DPI-scaled when stored.
  SIZE GetDropBoxSize() const { return drop_box_size_; }
  void SetDropBoxSize(SIZE size);
  bool IsPopupTop() const { return popup_top_; }
  std::wstring GetDropBoxAttributeList() const { return drop_box_attributes_; }

  // For the drop-down window: it is gone (WM_NCDESTROY).
  void OnDropWindowDestroyed(CComboWnd* window);

 private:
  bool OnListSelect(EventArgs* args);
  // Runs a removal on the list with the removed items destroyed (the list alone only unlinks
  // them).
  template <typename Removal>
  bool DestroyingRemoved(Removal removal);
  void Notify(EventType type, WPARAM wparam, LPARAM lparam);

  CComboWnd* drop_window_ = nullptr;
  std::unique_ptr<ListBox> list_;
  int cur_sel_ = -1;
  SIZE drop_box_size_ = {0, 150};
  std::wstring drop_box_attributes_;
  bool popup_top_ = false;
};

}  // namespace ui
