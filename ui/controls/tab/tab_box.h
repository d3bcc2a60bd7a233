#pragma once

#include <functional>
#include <string>

#include "ui/controls/box/box.h"

namespace ui {

// A box that shows one child at a time. The selected child is shown (mouse input on, opaque);
// the others are hidden (mouse input off, transparent). Without "fadeswitch" the children's
// visible flags follow the selection through their show and hide animations; with it every
// child keeps its visible flag and a switch slides the new child in and the old one out
// sideways, the old one being hidden when its slide ends.
//
// Selecting a different child dispatches a select event (wParam the new index, lParam the old
// one) to the box itself while it belongs to a window.
//
// Threads: the window's thread only.
// Ownership: as Box. A slide that ends after the box is gone does nothing.
class TabBox : public Box {
 public:
  static constexpr double kSlideAcceleration = 0.015;

  TabBox();

  // "selectedid" (SelectItem) and "fadeswitch"; other names go to Box.
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  // The first visible child added to an empty selection becomes selected; every other new
  // child is hidden.
  bool Add(Control* control) override;
  bool AddAt(Control* control, int index) override;
  // Removing the selected child selects child 0 (none when no child is left).
  bool Remove(Control* control) override;
  void RemoveAll() override;

  // False for an index out of range; true without effect for the current index.
  bool SelectItem(int index);
  int GetCurSel() const { return cur_sel_; }
  bool IsFadeSwitch() const { return fade_switch_; }
  void SetFadeSwitch(bool fade_switch) { fade_switch_ = fade_switch; }

 protected:
  // Mouse input on and opaque (or off and transparent) for the child at index, and a repaint;
  // the visible flag is left alone. Nothing for an index out of range.
  void ShowItem(int index);
  void HideItem(int index);

 private:
  static void SetShown(Control* child, bool shown);
  // Hides a child that does not become the selection, through its animation without a slide.
  void HideNewChild(Control* control);
  // Slides the new child in from the side it comes from, and the old one out to the other;
  // the old one is hidden when its slide ends (unless the box is gone by then).
  void SlideIn(int index, int old);
  void SlideOut(int old, int index);
  static void Slide(Control* child, int start, int end, std::function<void()> finished);
  int Width() const;
  void NotifySelect(int index, int old);

  int cur_sel_ = -1;
  bool fade_switch_ = false;
};

}  // namespace ui
