#pragma once

#include <windows.h>

namespace ui {

// The process-wide DPI factor. Markup and code give sizes in pixels at 96 DPI; every setter that
// stores a size passes it through ScaleValue or ScaleRectangle once, when it is stored.
//
// Threads: UI thread only (created on first use, lives to process exit). The scale changes only
// at start-up (EnableAdaptation) and when Windows reports a DPI change (SetScaleFromDpi).
class DisplayScale {
 public:
  static constexpr int kDefaultDpi = 96;

  static DisplayScale& Instance();

  DisplayScale(const DisplayScale&) = delete;
  DisplayScale& operator=(const DisplayScale&) = delete;

  int scale() const { return scale_; }  // percent
  bool adapt() const { return adapt_; }

  // When adaptation is on and the scale is not 100, value becomes MulDiv(value, scale, 100);
  // returns the (possibly new) value.
  int ScaleValue(int& value) const;
  // Scales left and top, and adds the separately scaled width and height, so a rectangle keeps
  // its scaled size wherever it sits. Margin-like rectangles go through the same rule.
  void ScaleRectangle(RECT& rect) const;

  // The effective DPI of a monitor; 96 when it cannot be read.
  static int MonitorDpi(HMONITOR monitor);

  // With adaptation on, scale = dpi in percent of 96; otherwise nothing.
  void SetScaleFromDpi(int dpi);

  // Start-up: makes the process DPI-aware (adaptation on when that works, or always before
  // Vista) and takes the scale from the monitor at the screen's top-left corner.
  void EnableAdaptation();

  // Forces both values; for tests that need a scaled display.
  void OverrideForTesting(int scale, bool adapt);

 private:
  DisplayScale() = default;

  bool Scales() const { return adapt_ && scale_ != 100; }

  int scale_ = 100;
  bool adapt_ = false;
};

}  // namespace ui
