#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/base/callback/weak_callback.h"
#include "ui/base/image/state_image.h"
#include "ui/controls/core/control.h"

namespace ui {

class ScrollBarOwner;
class TimerManager;

// A horizontal or vertical scroll bar: an optional button at each end, a rail and a thumb that
// shows the position. With an owner every scrolling action goes to the owner, which writes
// range and position back; without one the bar scrolls its own position. A held button or rail
// repeats from the sixth tick of a 50 ms timer; a thumb drag is applied on the same ticks.
//
// Threads: the window's thread only.
// Ownership: the owner (or the parent box) owns the bar; the owner pointer is not owned. The
// repeat timer is guarded by a weak flag, so a tick after the bar is destroyed does nothing.
class ScrollBar : public Control {
 public:
  static constexpr int kDefaultThickness = 16;
  static constexpr int kRepeatPeriodMs = 50;
  // A held button or rail acts again only after this many ticks.
  static constexpr int kRepeatDelayTicks = 5;

  ScrollBar();
  ~ScrollBar() override;

  ScrollBarOwner* GetOwner() const { return owner_; }
  void SetOwner(ScrollBarOwner* owner) { owner_ = owner; }
  // The timer manager of the repeat timer; null (the default) means TimerManager::Instance().
  // Not owned; it must outlive the bar's pressed buttons.
  void SetTimerManager(TimerManager* manager) { timer_manager_ = manager; }

  bool IsHorizontal() const { return horizontal_; }
  // Swaps the thickness into the other direction when the old one is unset, then re-lays out.
  void SetHorizontal(bool horizontal);
  int64_t GetScrollRange() const { return range_; }
  // Negative ranges become 0, which hides the bar; the position is lowered into the range.
  void SetScrollRange(int64_t range);
  int64_t GetScrollPos() const { return scroll_pos_; }
  // Clamped into 0..range.
  void SetScrollPos(int64_t pos);
  int GetLineSize() const { return line_size_; }
  // DPI-scaled.
  void SetLineSize(int size);
  int GetThumbMinLength() const { return thumb_min_length_; }
  // DPI-scaled.
  void SetThumbMinLength(int length);
  bool IsShowButton1() const { return show_button1_; }
  bool IsShowButton2() const { return show_button2_; }
  bool IsAutoHideScroll() const { return auto_hide_scroll_; }

  // Window coordinates, as placed by the last SetPos. A bar too short for a thumb has an
  // all-zero thumb rect.
  RECT GetButton1Rect() const { return button1_rect_; }
  RECT GetButton2Rect() const { return button2_rect_; }
  RECT GetThumbRect() const { return thumb_rect_; }
  ControlState GetButton1State() const { return button1_state_; }
  ControlState GetButton2State() const { return button2_state_; }
  ControlState GetThumbState() const { return thumb_state_; }

  // One tick of the repeat timer (see the class comment).
  void OnRepeatTick();

  // Control overrides.
  void SetPos(RECT rect) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetFocus() override;
  bool HasHotState() override { return true; }
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintLayers(IRenderContext* render, const RECT& paint_rect) override;
  void ClearImages() override;
  void HandleEvent(EventArgs& args) override;
  bool MouseEnter(EventArgs& args) override;
  bool MouseLeave(EventArgs& args) override;
  // Also hides an auto-hiding owned bar when the point lies outside the owner.
  bool ButtonUp(EventArgs& args) override;

 private:
  // The scroll actions of the parts, forwarded to the owner when there is one.
  void ScrollBackward();  // button 1
  void ScrollForward();   // button 2
  // Pages towards point along the bar's axis; nothing when the point is level with the thumb.
  void PageTowards(POINT point);
  void ApplyDrag();
  void OnButtonDown(EventArgs& args);
  void OnButtonUp(EventArgs& args);
  void OnMouseMove(const EventArgs& args);
  void StartRepeatTimer();
  void SetPartStates(ControlState state);
  // Lays out buttons and thumb in rect (see the geometry rules in scroll_bar.cpp).
  void PlaceParts(const RECT& rect);
  // The image of state for the named image attribute; null for other names.
  StateImage* ImageSetFor(const std::wstring& prefix);
  bool SetPartImageAttribute(const std::wstring& name, const std::wstring& value);
  // Paints the first image of order that draws, at part (window coordinates).
  void PaintPart(IRenderContext* render, StateImage& images, const RECT& part,
                 const ControlState* order, int count);
  void PaintButton(IRenderContext* render, StateImage& images, const RECT& part,
                   ControlState state);
  // Falls back from state towards the normal image: disabled, pushed then hot, hot.
  void PaintByState(IRenderContext* render, StateImage& images, const RECT& part,
                    ControlState state);
  void PaintRail(IRenderContext* render);
  // "destscale='false' dest='l,t,r,b'" with part relative to the bar.
  const std::wstring& DestModify(const RECT& part);
  int ButtonSize() const { return horizontal_ ? fixed_height_ : fixed_width_; }

  bool horizontal_ = false;
  bool show_button1_ = true;
  bool show_button2_ = true;
  bool auto_hide_scroll_ = true;
  int64_t range_ = 100;
  int64_t scroll_pos_ = 0;
  int line_size_ = 8;
  int thumb_min_length_ = 30;
  int drag_start_pos_ = 0;
  int drag_offset_ = 0;
  int repeat_ticks_ = 0;
  ScrollBarOwner* owner_ = nullptr;
  TimerManager* timer_manager_ = nullptr;
  POINT drag_start_point_ = {0, 0};
  RECT button1_rect_ = {0, 0, 0, 0};
  RECT button2_rect_ = {0, 0, 0, 0};
  RECT thumb_rect_ = {0, 0, 0, 0};
  ControlState button1_state_ = kControlStateNormal;
  ControlState button2_state_ = kControlStateNormal;
  ControlState thumb_state_ = kControlStateNormal;
  std::wstring modify_text_;
  StateImage bk_images_;
  StateImage button1_images_;
  StateImage button2_images_;
  StateImage thumb_images_;
  StateImage rail_images_;
  kbase::WeakCallbackFlag repeat_flag_;
};

}  // namespace ui
