#pragma once

#include <string>

#include "ui/base/image/state_color_map.h"
#include "ui/controls/button/button.h"

namespace ui {

// A button that toggles a selected state instead of clicking. While selected it paints the
// selected state colours, the selected images (kinds 2 and 3) and the selected text colour.
//
// Threads: the window's thread only. The "select"/"unselect" handlers may destroy the control;
// nothing of it is touched afterwards.
template <typename Base>
class CheckBoxTemplate : public ButtonTemplate<Base> {
 public:
  CheckBoxTemplate();

  // An unchanged value does nothing. Otherwise stores it and, when attached and trigger is set,
  // has the window deliver "select" (42) or "unselect" (43) from this control; then repaints.
  virtual void Selected(bool select, bool trigger);
  bool IsSelected() const { return selected_; }

  // Base overrides.
  ImageRef* GetEstimateImage() override;
  // Toggles the selection; raises no click.
  void Activate() override;
  bool HasHotState() override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintStateColors(IRenderContext* render) override;
  void PaintStateImages(IRenderContext* render) override;
  void PaintText(IRenderContext* render) override;

  // None of these switches the hot fade on. The images re-lay out an "auto" control.
  void SetSelectedStateColor(ControlState state, const std::wstring& name);
  std::wstring GetSelectedStateColor(ControlState state) const {
    return selected_state_colors_.Color(state);
  }
  void SetSelectedStateImage(ControlState state, const std::wstring& spec);
  void SetSelectedForeStateImage(ControlState state, const std::wstring& spec);
  std::wstring GetSelectedTextColor() const { return selected_text_color_; }
  void SetSelectedTextColor(const std::wstring& name);

 protected:
  // The colour name the selected text is drawn in.
  std::wstring SelectedTextColorName() const;

  bool selected_ = false;
  std::wstring selected_text_color_;
  StateColorMap selected_state_colors_;
};

using CheckBox = CheckBoxTemplate<Control>;
using CheckBoxBox = CheckBoxTemplate<Box>;

extern template class CheckBoxTemplate<Control>;
extern template class CheckBoxTemplate<Box>;

}  // namespace ui
