#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/controls/animation/animation_player.h"
#include "ui/controls/box/box.h"
#include "ui/controls/scroll/scroll_bar_owner.h"

namespace ui {

class AnimationClock;
class ScrollBar;

// A box whose content may be larger than itself. A vertical and a horizontal scroll bar are
// made on demand; their ranges follow the size the layout reports for the children on every
// SetPos. Children are laid out in unscrolled content coordinates and are painted and
// hit-tested shifted by GetScrollOffset: the scroll position and, when the first children of a
// column went while the others stayed where they stood, the layout's lead. Vertical line steps
// and the slide to the end are animated. Children far outside the view (kImageMargin above or
// below) have their images unloaded, and loaded again when they come near. While the layout
// keeps its children in a column, a scroll touches only the children that came near or went
// away, and a paint or a hit test only those at the painted rows or at the point.
//
// Threads: the window's thread only.
// Ownership: the box owns both bars. Animation ticks are bound through the box's weak flag, so
// a tick after the box is gone does nothing. The clock (when given) must outlive the box.
class ScrollableBox : public Box, public ScrollBarOwner {
 public:
  static constexpr int kDefaultScrollUnit = 30;
  // A unit of 0 means this many pixels.
  static constexpr int kFallbackScrollUnit = 20;
  static constexpr int kImageMargin = 730;
  static constexpr int kEndSlideMaxMilliseconds = 650;

  // Takes ownership of layout (a plain Layout when null). clock null means the real clock.
  explicit ScrollableBox(Layout* layout = nullptr, AnimationClock* clock = nullptr);
  ~ScrollableBox() override;

  // Control and Box overrides.
  void SetWindow(Window* window, Box* parent, bool init) override;
  void SetPos(RECT rect) override;
  void SetMouseEnabled(bool enabled) override;
  Control* FindControl(FindProc proc, void* data, UINT flags, int scroll_x = 0,
                       int scroll_y = 0) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintChild(IRenderContext* render, const RECT& paint_rect) override;
  void LoadImages() override;
  void UnloadImages() override;
  void ClearImages() override;
  void HandleEvent(EventArgs& args) override;
  bool MouseEnter(EventArgs& args) override;
  bool MouseLeave(EventArgs& args) override;
  // The scroll position and, vertically, how far the children stand below the content's start.
  SIZE GetScrollOffset() const override { return ContentOffset(); }
  bool HasScrollRange(bool vertical_only) const override;

  // ScrollBarOwner.
  Control* OwnerControl() override { return this; }
  // Position of each bar that has a range, else 0 (low 32 bits).
  SIZE GetScrollPos() override { return ScrollPos(); }
  // Range of each bar that has a range, else 0 (low 32 bits).
  virtual SIZE GetScrollRange() const;
  // Clamps into 0..range; on a change runs the image pass, repaints and, with a window,
  // dispatches "scrollchange" to the box. A vertical clamp stops the line animation.
  void SetScrollPos(SIZE pos) override;
  virtual void SetScrollPosY(int y);
  virtual void SetScrollPosX(int x);
  // One line (delta -1) or min(line, delta); animated steps extend a running one.
  void LineUp(int delta, bool with_animation) override;
  void LineDown(int delta, bool with_animation) override;
  void LineLeft(int delta) override;
  void LineRight(int delta) override;
  // One view height (less a ranged horizontal bar) or view width.
  void PageUp() override;
  void PageDown() override;
  void PageLeft() override;
  void PageRight() override;
  virtual void HomeUp();
  // To the vertical end; arrange lays the children out first, with_animation slides the
  // content into place through the render offset.
  virtual void EndDown(bool arrange, bool with_animation);
  virtual void HomeLeft();
  virtual void EndRight();
  // Touch drags: the content follows the finger.
  virtual void TouchUp(int delta);
  virtual void TouchDown(int delta);
  // Creates or deletes each bar, then re-lays out.
  virtual void EnableScrollBar(bool vertical, bool horizontal);
  ScrollBar* GetVerticalScrollBar() const { return vertical_bar_.get(); }
  ScrollBar* GetHorizontalScrollBar() const { return horizontal_bar_.get(); }
  // Places the bar and sets its range from the required content size (rect: the box's own).
  virtual void ProcessVScrollBar(RECT rect, int required_height);
  virtual void ProcessHScrollBar(RECT rect, int required_width);
  // Lays the children out in inner (less non-floating ranged bars); their total size.
  virtual SIZE CalcRequiredSize(RECT inner);

  bool IsHoldEnd() const { return hold_end_; }
  bool IsScrollBarFloat() const { return scroll_bar_float_; }
  int GetVerScrollUnit() const { return ver_scroll_unit_; }
  int GetHorScrollUnit() const { return hor_scroll_unit_; }
  RECT GetScrollBarPadding() const { return scroll_bar_padding_; }
  const AnimationPlayer& scroll_animation() const { return scroll_animation_; }
  const AnimationPlayer& render_offset_animation() const { return render_offset_animation_; }

 protected:
  // Ends the animated vertical line step (its pending ticks are dropped).
  void StopScrollAnimation();
  // Box overrides: the others keep their places while the content still overflows the view
  // without the first; the bar then counts from the new start, so the view stays on them.
  bool KeepPlacesWithoutFirst() override;
  std::pair<int, int> ChildrenAt(POINT point) const override;

 private:
  SIZE ScrollPos() const;
  SIZE ContentOffset() const;
  static bool HasRange(const ScrollBar* bar);
  // A new hidden bar of range 0 owned by this box and styled by its markup class.
  std::unique_ptr<ScrollBar> MakeBar(bool horizontal);
  // The layout step of SetPos without the hold-at-end step.
  void ArrangeInner(RECT rect);
  // Range and place of one bar from how far the content exceeds the view (64-bit, so content
  // sizes near INT_MAX cannot wrap it negative).
  void UpdateBar(ScrollBar* bar, const RECT& bar_rect, int64_t diff);
  // Starts (or extends) the animated vertical line step by signed step.
  void AnimateLine(int step);
  // Unloads images of children far outside the view and loads those near it.
  void RunImagePass(bool forward);
  // The band of content coordinates whose children keep their images.
  RECT ImageBand() const;
  // Whether the last pass still describes the children: the layout kept them in a column
  // since, and the band only moved up or down.
  bool ImagePassCarriesOn(const RECT& band) const;
  // The flowing children [first, last) that reach into band, found from the last pass's.
  std::pair<int, int> ReachingBand(const RECT& band) const;
  // Indexes, in order, of the children whose images the pass must look at again: appended
  // ones, and those that entered or left [first, last).
  std::vector<int> ChangedImageChildren(int first, int last) const;
  // The first flowing child from floor on that reaches (reaches is false, then true, down a
  // column), searched from near.
  template <typename Reaches>
  int FirstReaching(int start, int floor, Reaches reaches) const;
  // The same over all children, found by halving (the children must stand in a column); the
  // count when none reaches.
  template <typename Reaches>
  int FirstReachingAnywhere(Reaches reaches) const;
  // The children that may meet the rows [top, bottom) of the content: in a column those between
  // the first ending below top and the first starting at or below bottom, else all.
  std::pair<int, int> ChildrenMeeting(int top, int bottom) const;
  void SendScrollChange();
  bool HandleVerticalEvent(EventArgs& args);
  bool HandleHorizontalEvent(EventArgs& args);
  int LineStep(int unit, int delta) const;

  std::unique_ptr<ScrollBar> vertical_bar_;
  std::unique_ptr<ScrollBar> horizontal_bar_;
  int ver_scroll_unit_ = kDefaultScrollUnit;
  int hor_scroll_unit_ = kDefaultScrollUnit;
  bool scroll_bar_relayout_ = false;
  bool hold_end_ = false;
  bool scroll_bar_float_ = true;
  bool default_display_scroll_bar_ = true;
  RECT scroll_bar_padding_ = {0, 0, 0, 0};
  POINT last_touch_point_ = {-1, -1};
  AnimationPlayer scroll_animation_;
  AnimationPlayer render_offset_animation_;
  // What the last image pass met: the children [first, last) that reach into the band, of the
  // count there were, under the layout's placement generation.
  struct ImagePass {
    bool valid = false;
    unsigned generation = 0;
    int count = 0;
    int first = 0;
    int last = 0;
    RECT band = {0, 0, 0, 0};
  };
  ImagePass image_pass_;
};

}  // namespace ui
