#pragma once

#include <windows.h>

#include <string>

#include "ui/controls/list/list_owner.h"
#include "ui/controls/scrollbox/scrollable_box.h"

namespace ui {

class ListContainerElement;

// A scrollable box of list items with at most one selected item. Items that are
// ListContainerElements know the list as their owner and their own index in it; other controls
// may sit between them but are never selected. The arrow keys, Home and End (and the wheel with
// "scrollselect") move the selection; the selected item is scrolled into view and the list
// raises "select" (42) with the new index in wParam and the old one in lParam.
//
// Threads: the window's thread only. Select handlers may destroy the list; it touches nothing of
// itself afterwards.
// Ownership: as ScrollableBox; the list owns its items.
class ListBox : public ScrollableBox, public IListOwner {
 public:
  // Takes ownership of layout (a plain Layout when null). clock null means the real clock.
  explicit ListBox(Layout* layout = nullptr, AnimationClock* clock = nullptr);

  // IListOwner.
  int GetCurSel() const override { return cur_sel_; }
  // Deselects the old item first, so a failed selection leaves the list without one. The select
  // event is raised (with trigger and a window) even when the index did not change.
  bool SelectItem(int index, bool take_focus, bool trigger) override;
  void HandleItemEvent(EventArgs& args) override;
  void EnsureVisible(RECT rect) override;
  void StopScroll() override;
  int GetIndexOrigin() const override { return index_origin_; }

  // Scrolls the first child named name to the top of the view; false when there is none, the
  // list cannot scroll or the child cannot reach the top.
  virtual bool ScrollItemToTop(const std::wstring& name);
  // The first visible, non-floating child that reaches into the view; null when none.
  virtual Control* GetTopItem();

  // Control, Box and ScrollableBox overrides.
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void DispatchEvent(EventArgs& args) override;
  void HandleEvent(EventArgs& args) override;
  bool ButtonDown(EventArgs& args) override;
  // Keeps the same element selected and the elements' indexes in order.
  bool SetItemIndex(Control* control, int new_index) override;
  bool Add(Control* control) override;
  // Inserting renumbers the elements after the place and keeps the same item selected.
  bool AddAt(Control* control, int index) override;
  bool Remove(Control* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;

  // Removes the item at index and renumbers the elements after it (all at once, through the
  // index origin, when it is the first). Removing the selected item selects the item that moved
  // into its place (or the nearest selectable one before it) when SelectNextWhenActiveRemoved is
  // set, else leaves the list without selection.
  bool RemoveItemAt(int index);

  bool IsScrollSelect() const { return scroll_select_; }
  bool IsSelectNextWhenActiveRemoved() const { return select_next_when_active_removed_; }
  void SetSelectNextWhenActiveRemoved(bool value) { select_next_when_active_removed_ = value; }

 protected:
  // A list that takes no mouse input hands mouse events on to its parent (or, at the top, to
  // its own scrolling); true when args went that way.
  bool ForwardMouseEventWhenDisabled(EventArgs& args);
  // The element at index, or null when there is none or it is another kind of control.
  ListContainerElement* ElementAt(int index) const;
  // Gives every element from first to last (inclusive, clamped) its position as index.
  void RenumberElements(int first, int last);
  // The target of one step down: the next selectable item, or the current one when nothing
  // selectable follows it (a hidden last item must not clear the selection).
  int NextSelectable() const;
  int PreviousSelectable() const;

  bool scroll_select_ = false;
  int cur_sel_ = -1;
  bool select_next_when_active_removed_ = true;
  int index_origin_ = 0;

 private:
  // Clears the element's link to this list before it leaves.
  void ReleaseElement(Control* control);
};

}  // namespace ui
