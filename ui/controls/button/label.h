#pragma once

#include <windows.h>

#include <string>

#include "ui/base/image/control_state.h"
#include "ui/base/image/state_color_map.h"
#include "ui/controls/box/box.h"
#include "ui/controls/core/control.h"

namespace ui {

// DrawText flags the label uses when it edits its text style.
constexpr UINT kTextStyleLabel = DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS;
constexpr UINT kTextStyleButton = kTextStyleLabel | DT_CENTER | DT_VCENTER;

// The state a markup attribute name selects, for names made of prefix, one of "normal", "hot",
// "pushed", "disabled" and suffix; -1 for any other name.
int StateAttribute(const std::wstring& name, const wchar_t* prefix, const wchar_t* suffix);

// Adds a text with state colours, padding and DrawText alignment to Base (ui::Control or
// ui::Box). Over ui::Control the label is "auto" in both directions and measures its text; over
// ui::Box it keeps "stretch" and is sized by its layout and children.
//
// Threads: the window's thread only.
// Ownership: as Base; the text colours are names looked up in the resource manager when drawn.
template <typename Base>
class LabelTemplate : public Base {
 public:
  LabelTemplate();

  // The text, or the language text of the text id when the text is empty.
  virtual std::wstring GetText() const;
  virtual std::string GetUTF8Text() const;
  // An unchanged value does nothing; otherwise stores it and re-lays out when "auto", else
  // repaints.
  virtual void SetText(const std::wstring& text);
  virtual void SetUTF8Text(const std::string& text);
  virtual void SetTextId(const std::wstring& id);
  virtual void SetUTF8TextId(const std::string& id);

  // Base overrides.
  SIZE EstimateText(SIZE available, bool* re_estimate) override;
  bool HasHotState() override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintText(IRenderContext* render) override;

  // Setting the hot colour switches the hot fade on. Repaints.
  void SetStateTextColor(ControlState state, const std::wstring& name);
  // "" when the state has no colour.
  std::wstring GetStateTextColor(ControlState state) const { return text_colors_.Color(state); }
  // DPI-scaled when stored.
  void SetTextPadding(RECT padding);
  RECT GetTextPadding() const { return text_padding_; }
  UINT GetTextStyle() const { return text_style_; }
  void SetTextStyle(UINT style) { text_style_ = style; }
  int GetFont() const { return font_; }
  bool IsSingleLine() const { return single_line_; }
  bool IsLineLimit() const { return line_limit_; }

 protected:
  // Applies each alignment word found in value, in the fixed order of the words.
  void ApplyAlign(const std::wstring& value);
  // The state whose text colour is drawn: missing pushed, hot and disabled colours fall back.
  ControlState TextColorState() const;
  // DT_SINGLELINE of the text style follows singleLine before each measure and draw.
  void SyncSingleLine();
  // The padded text rectangle, with DT_SINGLELINE following singleLine.
  RECT TextRect();
  void DrawTextIn(IRenderContext* render, const RECT& rect, const std::wstring& color, BYTE alpha,
                  bool line_limit);
  // Stores *field = value and repaints when it changed.
  void SetFlagAndRepaint(bool* field, bool value);

  int font_ = 1;
  UINT text_style_ = kTextStyleLabel;
  bool single_line_ = true;
  bool line_limit_ = false;
  RECT text_padding_ = {0, 0, 0, 0};
  std::wstring text_;
  std::wstring text_id_;
  StateColorMap text_colors_;
};

using Label = LabelTemplate<Control>;
using LabelBox = LabelTemplate<Box>;

extern template class LabelTemplate<Control>;
extern template class LabelTemplate<Box>;

}  // namespace ui
