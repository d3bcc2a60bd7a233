#pragma once

#include <windows.h>

#include <string>

#include "ui/base/image/state_image.h"
#include "ui/controls/progress/progress.h"

namespace ui {

// A progress bar with a thumb the user moves: a press on the thumb starts a drag, the release
// commits the value under the mouse, and the wheel moves the value by steps. Each committed
// change raises a value-change event (51) through the window; a drag only repaints. Configured
// through markup ("Slider").
//
// A release commits only after a press on this slider, and never for the point-less release the
// window sends to a pressed control when it closes, so closing a window does not move a slider.
// Wheel changes are kept inside the range before the event reports them.
//
// Threads and ownership as Progress.
class Slider : public Progress {
 public:
  static constexpr int kDefaultThumbSize = 10;

  Slider();

  // Control overrides.
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void ClearImages() override;
  void HandleEvent(EventArgs& args) override;
  void PaintStateImages(IRenderContext* render) override;
  // The fill ends at the centre of the thumb.
  RECT GetProgressPos() override;

  // The thumb in window coordinates.
  RECT GetThumbRect() const;
  SIZE GetThumbSize() const { return thumb_size_; }
  // DPI-scaled; no repaint.
  void SetThumbSize(SIZE size);
  int GetChangeStep() const { return step_; }
  void SetChangeStep(int step) { step_ = step; }
  RECT GetProgressBarPadding() const { return bar_padding_; }
  // DPI-scaled; repaints, or re-lays out when the slider is "auto".
  void SetProgressBarPadding(RECT padding);
  void SetThumbStateImage(ControlState state, const std::wstring& text);

 private:
  void OnPress(const EventArgs& args);
  void OnRelease(const EventArgs& args);
  void OnWheel(const EventArgs& args);
  // The value under a point in window coordinates.
  double ValueAt(POINT point) const;
  // The window's clean-up release carries neither a point nor parameters.
  static bool IsCleanUpRelease(const EventArgs& args);
  void NotifyValueChange();

  int step_ = 1;
  SIZE thumb_size_ = {kDefaultThumbSize, kDefaultThumbSize};
  StateImage thumb_images_;
  RECT bar_padding_ = {0, 0, 0, 0};
  std::wstring thumb_image_modify_;
  // Set by a press anywhere on the slider, cleared by the next release.
  bool pressed_ = false;
};

}  // namespace ui
