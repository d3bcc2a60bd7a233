#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

#include "ui/base/image/image_ref.h"
#include "ui/controls/button/label.h"

namespace ui {

// A label that also paints how far a value has come between a minimum and a maximum: a bar
// filled from the left (horizontal) or from the bottom (vertical), with a colour, an image
// stretched or cropped to the fill, or both. The text is drawn on top, centred on one line.
// Configured through markup ("Progress").
//
// Threads: the window's thread only.
// Ownership: as Control; the colour is a name of the resource manager's colour table.
class Progress : public Label {
 public:
  Progress();

  // Control overrides.
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void ClearImages() override;
  void PaintStateImages(IRenderContext* render) override;

  // The fill, relative to the control's top-left corner.
  virtual RECT GetProgressPos();

  bool IsHorizontal() const { return horizontal_; }
  int GetMinValue() const { return min_; }
  int GetMaxValue() const { return max_; }
  double GetValue() const { return value_; }
  void SetValue(double value);
  bool IsStretchForeImage() const { return stretch_fore_; }
  std::wstring GetProgressColor() const { return progress_color_; }
  // Repaints when the name changed.
  void SetProgressColor(const std::wstring& name);

 protected:
  // Makes the range non-empty (max at least min + 1) and brings the value into it; both are
  // stored, so the fill arithmetic never divides by zero.
  void ClampValue();
  // The range as a double, at least 1 so that geometry asked for before the first paint (which
  // repairs an empty range) never divides by zero.
  double Range() const { return std::max(1.0, static_cast<double>(max_) - min_); }
  // The image attribute text that draws an image into dest (relative to the control) as it is.
  static std::wstring DestModify(const RECT& dest);
  // Stores *field = value and repaints.
  void SetNumberAndRepaint(int* field, int value);

  bool horizontal_ = true;
  bool stretch_fore_ = true;
  int max_ = 100;
  int min_ = 0;
  double value_ = 0.0;
  ImageRef progress_image_;
  std::wstring progress_color_;
  std::wstring progress_image_modify_;
};

}  // namespace ui
