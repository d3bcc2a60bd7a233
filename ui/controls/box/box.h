#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/controls/core/control.h"

namespace ui {

class Layout;

// The container control: an ordered list of children and one layout that places them. Passes
// window, visibility, enabled state and image operations down the tree, hit-tests its
// children, estimates itself from them when "auto", and runs bubbled-event handlers for events
// of its descendants.
//
// Threads: the window's thread only.
// Ownership: the box owns its layout and, while auto-destroy is set (the default), its
// children. A removed child of a box with a window is handed to the window's delayed-delete
// list (deleted when the window handles WM_APP+1), so a child may remove itself from inside its
// own event handler.
class Box : public Control {
 public:
  // Takes ownership of layout (a plain Layout when null).
  explicit Box(Layout* layout = nullptr);
  ~Box() override;

  // Control overrides.
  void SetWindow(Window* window, Box* parent, bool init) override;
  SIZE EstimateSize(SIZE available) override;
  // Lays the children out again only when the rectangle changed, the box was marked, or a
  // child was added, removed or changed since the last pass.
  void SetPos(RECT rect) override;
  // Both make the next pass place every child, except for a child appended at the end (and the
  // first child taken out of a box that keeps the others' places, KeepPlacesWithoutFirst).
  void Arrange() override;
  void ArrangeSelf() override;
  void SetInternVisible(bool visible) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  Control* FindControl(FindProc proc, void* data, UINT flags, int scroll_x = 0,
                       int scroll_y = 0) override;
  void DispatchEvent(EventArgs& args) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintChild(IRenderContext* render, const RECT& paint_rect) override;
  void LoadImages() override;
  void UnloadImages() override;
  void ClearImages() override;

  // The first selectable child (visible, enabled, IsSelectableItem) at or after index
  // (forward), or at or before it (backward, which falls back to the forward search from 0).
  // The index is clamped into the children; -1 when there is none.
  virtual int FindSelectable(int index, bool forward) const;
  // Null when index is out of range (negative included).
  virtual Control* GetItemAt(int index) const;
  // -1 when control is not a child.
  virtual int GetItemIndex(Control* control) const;
  // False when new_index is out of range or control is not a child.
  virtual bool SetItemIndex(Control* control, int new_index);
  virtual int GetCount() const { return static_cast<int>(items_.size()); }
  // Appends control (the box takes it); false for null.
  virtual bool Add(Control* control);
  // Inserts at index (index == count appends); false for null or index > count.
  virtual bool AddAt(Control* control, int index);
  // False for null or a control that is not a child. Destroys it when auto-destroy is set
  // (delayed while a window exists and delayed destroy is set), else only unlinks it. The others
  // are placed again, unless the first child goes and KeepPlacesWithoutFirst keeps them.
  virtual bool Remove(Control* control);
  virtual bool RemoveAt(int index);
  virtual void RemoveAll();
  virtual bool IsAutoDestroyChild() const { return auto_destroy_child_; }
  virtual void SetAutoDestroyChild(bool value) { auto_destroy_child_ = value; }
  virtual bool IsDelayedDestroy() const { return delayed_destroy_; }
  virtual void SetDelayedDestroy(bool value) { delayed_destroy_ = value; }
  virtual bool IsMouseChildEnabled() const { return mouse_child_enabled_; }
  virtual void SetMouseChildEnabled(bool value) { mouse_child_enabled_ = value; }
  virtual Layout* GetLayout() const { return layout_.get(); }
  // Takes ownership of layout and destroys the previous one.
  virtual void ReSetLayout(Layout* layout);
  // GetPos(true) less the padding.
  virtual RECT GetPaddingPos() const;

  // Scrolling boxes override these two: the scroll position, and whether a scroll bar (only
  // the vertical one when vertical_only) has a range. A plain box never scrolls.
  virtual SIZE GetScrollOffset() const { return {0, 0}; }
  virtual bool HasScrollRange(bool /*vertical_only*/) const { return false; }

  // Handlers for events of this box and of its descendants (type "all": every event).
  void AttachBubbledEvent(EventType type, EventCallback handler);
  // The markup "BubbledEvent" handlers; they run after those attached by code.
  void AttachXmlBubbledEvent(EventType type, EventCallback handler);

  const std::vector<Control*>& items() const { return items_; }

  // A child may now land elsewhere than the last pass put it (it changed its rules, or the
  // children were removed or reordered): the next SetPos places every child again.
  void ForgetChildPlacement();

 protected:
  // Whether the children after the first may stay where they stand when it goes, the gap left
  // at the top of the content taken up by the box (the layout told of the change). A plain box
  // fills its rectangle from the top: no.
  virtual bool KeepPlacesWithoutFirst() { return false; }
  // The children that may contain a point of the content (window coordinates, scrolled); a hit
  // test asks only these, in their order. A plain box does not know: all.
  virtual std::pair<int, int> ChildrenAt(POINT /*point*/) const {
    return {0, static_cast<int>(items_.size())};
  }
  // The layout's pass over the children in rect, taking the box's mark of marks below: children
  // the pass left where they stood lay out what they hold. The size the layout reports.
  SIZE ArrangeChildren(RECT rect);
  // Takes a removed child out of the tree: queued at the window or deleted at once.
  void DestroyChild(Control* child);
  // Attaches a new child to the window and applies visibility; shared by Add and AddAt.
  void AdoptChild(Control* control);
  void PropagateInternVisible();
  void ForgetOwnPlacement();

  EventMap xml_bubbled_events_;
  std::unique_ptr<Layout> layout_;
  bool auto_destroy_child_ = true;
  bool delayed_destroy_ = true;
  bool mouse_child_enabled_ = true;
  // The children stand where the last pass put them, and none changed since.
  bool children_placed_ = false;
  // Set while the box arranges itself for a change that leaves the children where they stand
  // (a child appended at the end, or the first taken out while the others keep their places).
  bool keeping_places_ = false;
  std::vector<Control*> items_;
  EventMap bubbled_events_;
};

}  // namespace ui
