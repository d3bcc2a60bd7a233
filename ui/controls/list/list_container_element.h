#pragma once

#include "ui/controls/box/box.h"
#include "ui/controls/button/option.h"

namespace ui {

class IListOwner;

// A list item: an option box that knows its list (the owner) and its index there. Selecting it
// goes through the list, which deselects the previous item and keeps the selected one in view;
// deselecting happens only through the list. Return raises "return" (45), a double click
// "doubleclick" (22) and a context-menu request selects the item and raises "menu" (23).
// Subclasses override HandleEvent for their own input and pass the rest on to this class.
//
// Threads: the window's thread only.
// Ownership: owned by its list like any child; the owner pointer is not owned and is cleared
// when the list lets the element go.
class ListContainerElement : public OptionTemplate<Box> {
 public:
  ListContainerElement();

  IListOwner* GetOwner() const { return owner_; }
  // Set before SetIndex: the index is kept counted from the owner's origin.
  void SetOwner(IListOwner* owner) { owner_ = owner; }
  // Position in the owning list, -1 outside one.
  int GetIndex() const;
  void SetIndex(int index);

  // Base overrides.
  bool IsSelectableItem() const override { return true; }
  // Plays the show or hide animation; an element that is hidden while selected takes the list's
  // selection with it (without a select event).
  void SetFadeVisible(bool visible) override;
  void HandleEvent(EventArgs& args) override;
  // Selecting asks the owner to select this index; deselecting does nothing here.
  void Selected(bool select, bool trigger) override;
  // Clicks, then selects through the list even when already selected, so the list raises
  // "select" again (a combo closes its drop-down on a click on the current item).
  void Activate() override;

 private:
  // Raises type at this element through the window; nothing without a window.
  void Deliver(EventType type, WPARAM wParam = 0, LPARAM lParam = 0);

  int index_ = -1;  // counted from the owner's index origin
  IListOwner* owner_ = nullptr;
};

}  // namespace ui
