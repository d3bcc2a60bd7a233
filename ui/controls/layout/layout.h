#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

class Box;
class Control;

// Places the children of one box. The base layout (markup "Box") places every visible child on
// its own against the whole content rectangle, so children may overlap. The layout also keeps
// the box's padding and child margin.
//
// Threads: the window's thread only. Ownership: owned by its box (Box takes it in its
// constructor and sets the owner); the layout holds no children, the box hands them over on
// each call.
class Layout {
 public:
  Layout() = default;
  virtual ~Layout() = default;
  Layout(const Layout&) = delete;
  Layout& operator=(const Layout&) = delete;

  // "padding" and "childmargin"; false for every other name.
  virtual bool SetAttribute(const std::wstring& name, const std::wstring& value);
  // Positions the children inside rect (the box less its padding); the size the content takes.
  virtual SIZE ArrangeChild(const std::vector<Control*>& items, RECT rect);
  // The size the box needs for its children, padding included; available is already less the
  // padding.
  virtual SIZE EstimateSizeByChild(const std::vector<Control*>& items, SIZE available);
  virtual RECT GetPadding() const { return padding_; }
  // DPI-scaled as a rectangle when scale; re-arranges the owner.
  virtual void SetPadding(RECT padding, bool scale);
  virtual int GetChildMargin() const { return child_margin_; }
  // Always DPI-scaled; re-arranges the owner.
  virtual void SetChildMargin(int margin);

  // Children already placed may now land elsewhere (one left or moved, or changed its size
  // rules, margin, alignment or visibility): the next ArrangeChild places them all again.
  void ForgetPlacement() { ++placement_generation_; }
  // Changes whenever children already placed may have moved; placing appended children alone
  // keeps it.
  unsigned GetPlacementGeneration() const { return placement_generation_; }
  // Whether the visible, non-floating children, as last placed, stand in list order down the
  // owner, no top or bottom above the one before: those meeting a band across the owner are
  // then neighbours in the list.
  virtual bool IsColumn() const { return false; }
  // Takes the first of items out of what the last pass placed, leaving the others where they
  // stand, when it and they are as that pass left them: the content then starts at the next
  // child's outer edge, GetLead grows by the length returned, and children appended later follow
  // the others as before. -1 when the others must be placed again (this layout keeps no
  // placement, they changed since, or the length would reach limit): nothing changes then.
  virtual int DropFirst(const std::vector<Control*>& /*items*/, int /*limit*/) { return -1; }
  // How far past the start of the last pass's rectangle the children stand along the main axis
  // (what DropFirst took away); 0 after every pass that placed them all.
  virtual int GetLead() const { return 0; }

  Box* GetOwner() const { return owner_; }
  void SetOwner(Box* owner) { owner_ = owner; }

  // Places one child on its own inside rect by its margin, size and alignment; the size it got.
  static SIZE PlaceChild(Control* child, RECT rect);

 protected:
  // Clamps by the child's minimum, then maximum (a negative maximum means no limit).
  static int ClampWidth(const Control* child, int width);
  static int ClampHeight(const Control* child, int height);

  RECT padding_ = {0, 0, 0, 0};
  int child_margin_ = 0;
  Box* owner_ = nullptr;
  unsigned placement_generation_ = 0;
};

}  // namespace ui
