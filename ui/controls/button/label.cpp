#include "ui/controls/button/label.h"

#include <algorithm>
#include <cwchar>
#include <type_traits>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/lang/lang_table.h"
#include "ui/base/render/render_context.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/util/text_util.h"
#include "ui/base/xml/attribute_numbers.h"
#include "ui/controls/core/window_link.h"

namespace ui {

namespace {

std::wstring FromUtf8(const std::string& text) {
  std::wstring wide;
  TextUtil::Utf8ToWide(text.c_str(), wide);
  return wide;
}

bool Contains(const std::wstring& text, const wchar_t* word) {
  return text.find(word) != std::wstring::npos;
}

LONG Width(const RECT& rect) { return rect.right - rect.left; }
LONG Height(const RECT& rect) { return rect.bottom - rect.top; }

}  // namespace

int StateAttribute(const std::wstring& name, const wchar_t* prefix, const wchar_t* suffix) {
  static const wchar_t* const kStates[] = {L"normal", L"hot", L"pushed", L"disabled"};
  for (int state = 0; state < 4; ++state) {
    if (name == std::wstring(prefix) + kStates[state] + suffix) return state;
  }
  return -1;
}

template <typename Base>
LabelTemplate<Base>::LabelTemplate() {
  text_colors_.SetColor(kControlStateNormal, ResourceHub::DefaultTextColor());
  text_colors_.SetColor(kControlStateDisabled, ResourceHub::DefaultDisabledTextColor());
  // A plain label is as large as its text; a label box is sized by its layout.
  if constexpr (std::is_same_v<Base, Control>) {
    this->fixed_width_ = kSizeAuto;
    this->fixed_height_ = kSizeAuto;
  }
}

template <typename Base>
std::wstring LabelTemplate<Base>::GetText() const {
  if (text_.empty() && !text_id_.empty()) return LangTable::Instance().Lookup(text_id_);
  return text_;
}

template <typename Base>
std::string LabelTemplate<Base>::GetUTF8Text() const {
  std::string narrow;
  TextUtil::WideToUtf8(GetText(), narrow);
  return narrow;
}

template <typename Base>
void LabelTemplate<Base>::SetText(const std::wstring& text) {
  if (text == text_) return;
  text_ = text;
  this->RelayoutIfAuto();
}

template <typename Base>
void LabelTemplate<Base>::SetUTF8Text(const std::string& text) {
  SetText(FromUtf8(text));
}

template <typename Base>
void LabelTemplate<Base>::SetTextId(const std::wstring& id) {
  if (id == text_id_) return;
  text_id_ = id;
  this->RelayoutIfAuto();
}

template <typename Base>
void LabelTemplate<Base>::SetUTF8TextId(const std::string& id) {
  SetTextId(FromUtf8(id));
}

template <typename Base>
void LabelTemplate<Base>::SetStateTextColor(ControlState state, const std::wstring& name) {
  if (state == kControlStateHot) this->animation_manager_.SetFadeHot(true);
  text_colors_.SetColor(state, name);
  this->Invalidate();
}

template <typename Base>
void LabelTemplate<Base>::SetTextPadding(RECT padding) {
  DisplayScale::Instance().ScaleRectangle(padding);
  text_padding_ = padding;
  this->RelayoutIfAuto();
}

template <typename Base>
bool LabelTemplate<Base>::HasHotState() {
  return !text_colors_.Color(kControlStateHot).empty() || Control::HasHotState();
}

template <typename Base>
SIZE LabelTemplate<Base>::EstimateText(SIZE available, bool* re_estimate) {
  SyncSingleLine();
  SIZE result = {0, 0};
  const std::wstring text = GetText();
  Window* window = this->GetWindow();
  IRenderContext* render = window ? window_link::RenderContext(window) : nullptr;
  // Without the window's render context nothing can be measured yet.
  if (text.empty() || !render) return result;
  const LONG pad_x = text_padding_.left + text_padding_.right;
  const LONG pad_y = text_padding_.top + text_padding_.bottom;
  const int width = this->fixed_width_ < 0 ? 0 : this->fixed_width_;
  const RECT measured = render->MeasureText(text, font_, text_style_, width);
  if (this->fixed_width_ == kSizeAuto) result.cx = Width(measured) + pad_x;
  if (this->fixed_height_ != kSizeAuto) return result;
  LONG text_width = Width(measured);
  LONG text_height = Height(measured);
  if (!single_line_ && this->fixed_width_ == kSizeAuto && this->max_width_ == kSizeStretch) {
    // The wrap width follows the available width, so every layout must measure again.
    if (re_estimate) *re_estimate = true;
    // A space narrower than the padding must not become a negative wrap width.
    const LONG limit = std::max<LONG>(available.cx - pad_x, 0);
    if (text_width > limit) {
      const RECT wrapped = render->MeasureText(text, font_, text_style_, limit);
      text_width = limit;
      text_height = Height(wrapped);
    }
  }
  result.cx = text_width + pad_x;
  result.cy = text_height + pad_y;
  return result;
}

template <typename Base>
void LabelTemplate<Base>::SyncSingleLine() {
  if (single_line_) {
    text_style_ |= DT_SINGLELINE;
  } else {
    text_style_ &= ~static_cast<UINT>(DT_SINGLELINE);
  }
}

template <typename Base>
void LabelTemplate<Base>::ApplyAlign(const std::wstring& value) {
  UINT& style = text_style_;
  if (Contains(value, L"left")) {
    style &= ~static_cast<UINT>(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  }
  if (Contains(value, L"center")) style = (style & ~static_cast<UINT>(DT_RIGHT)) | DT_CENTER;
  if (Contains(value, L"right")) {
    style = (style & ~static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_SINGLELINE)) | DT_RIGHT;
  }
  if (Contains(value, L"top")) {
    style = (style & ~static_cast<UINT>(DT_VCENTER | DT_BOTTOM)) | DT_SINGLELINE;
  }
  if (Contains(value, L"vcenter")) {
    style = (style & ~static_cast<UINT>(DT_BOTTOM)) | DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  }
  if (Contains(value, L"bottom")) {
    style = (style & ~static_cast<UINT>(DT_VCENTER)) | DT_BOTTOM | DT_SINGLELINE;
  }
}

template <typename Base>
void LabelTemplate<Base>::SetFlagAndRepaint(bool* field, bool value) {
  if (*field == value) return;
  *field = value;
  this->Invalidate();
}

template <typename Base>
void LabelTemplate<Base>::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const bool on = value == L"true";
  const int color_state = StateAttribute(name, L"", L"textcolor");
  if (name == L"align") {
    ApplyAlign(value);
  } else if (name == L"endellipsis") {
    text_style_ =
        on ? (text_style_ | DT_END_ELLIPSIS) : (text_style_ & ~static_cast<UINT>(DT_END_ELLIPSIS));
  } else if (name == L"linelimit") {
    SetFlagAndRepaint(&line_limit_, on);
  } else if (name == L"singleline") {
    SetFlagAndRepaint(&single_line_, on);
  } else if (name == L"text") {
    SetText(value);
  } else if (name == L"textid") {
    SetTextId(value);
  } else if (name == L"font") {
    font_ = _wtoi(value.c_str());
    this->Invalidate();
  } else if (color_state >= 0) {
    SetStateTextColor(static_cast<ControlState>(color_state), value);
  } else if (name == L"textpadding") {
    RECT padding = {0, 0, 0, 0};
    ReadRect(value.c_str(), padding);
    SetTextPadding(padding);
  } else {
    Base::SetAttribute(name, value);
  }
}

template <typename Base>
ControlState LabelTemplate<Base>::TextColorState() const {
  ControlState state = this->state_;
  const auto missing = [this](ControlState s) { return text_colors_.Color(s).empty(); };
  if (state == kControlStatePushed && missing(kControlStatePushed)) state = kControlStateHot;
  if (state == kControlStateHot && missing(kControlStateHot)) state = kControlStateNormal;
  if (state == kControlStateDisabled && missing(kControlStateDisabled)) {
    state = kControlStateNormal;
  }
  return state;
}

template <typename Base>
RECT LabelTemplate<Base>::TextRect() {
  RECT rect = this->pos_;
  rect.left += text_padding_.left;
  rect.top += text_padding_.top;
  rect.right -= text_padding_.right;
  rect.bottom -= text_padding_.bottom;
  SyncSingleLine();
  return rect;
}

template <typename Base>
void LabelTemplate<Base>::DrawTextIn(IRenderContext* render, const RECT& rect,
                                     const std::wstring& color, BYTE alpha, bool line_limit) {
  // An empty name would enter a transparent colour into the shared table.
  const DWORD value = color.empty() ? 0 : ResourceHub::ColorValue(color);
  render->DrawText(rect, GetText(), value, font_, text_style_, alpha, line_limit);
}

template <typename Base>
void LabelTemplate<Base>::PaintText(IRenderContext* render) {
  if (GetText().empty()) return;
  const RECT rect = TextRect();
  const ControlState state = TextColorState();
  const std::wstring hot = text_colors_.Color(kControlStateHot);
  const bool fading = this->HasHotAnimation() && !hot.empty() &&
                      (state == kControlStateNormal || state == kControlStateHot);
  if (!fading) {
    DrawTextIn(render, rect, text_colors_.Color(state), 255, line_limit_);
    return;
  }
  const std::wstring normal = text_colors_.Color(kControlStateNormal);
  if (!normal.empty()) DrawTextIn(render, rect, normal, 255, line_limit_);
  const int hot_alpha = this->hot_alpha_;
  if (hot_alpha > 0) DrawTextIn(render, rect, hot, static_cast<BYTE>(hot_alpha), line_limit_);
}

template class LabelTemplate<Control>;
template class LabelTemplate<Box>;

}  // namespace ui
