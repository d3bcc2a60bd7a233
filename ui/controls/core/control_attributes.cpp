// The markup attribute setter of Control and the class and attribute-list helpers.
#include <algorithm>
#include <cwchar>

#include "kestrum/common/scope_exit.h"
#include "ui/base/dpi/display_scale.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/util/text_util.h"
#include "ui/base/xml/attribute_numbers.h"
#include "ui/controls/core/control.h"
#include "ui/controls/core/window_link.h"

namespace ui {

namespace {

bool IsTrue(const std::wstring& value) { return value == L"true"; }

int ReadInt(const std::wstring& value) {
  return static_cast<int>(wcstol(value.c_str(), nullptr, 10));
}

SIZE ReadPair(const std::wstring& value) {
  long numbers[2] = {0, 0};
  ReadNumbers(value.c_str(), numbers, 2);
  return {static_cast<int>(numbers[0]), static_cast<int>(numbers[1])};
}

RECT ReadRectValue(const std::wstring& value) {
  RECT rect = {0, 0, 0, 0};
  ReadRect(value.c_str(), rect);
  return rect;
}

// Index of value in names, or -1.
template <std::size_t N>
int IndexOf(const std::wstring& value, const wchar_t* const (&names)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    if (value == names[i]) return static_cast<int>(i);
  }
  return -1;
}

constexpr const wchar_t* kStateNames[] = {L"normal", L"hot", L"pushed", L"disabled"};

}  // namespace

int Control::ParseSizeValue(const std::wstring& value, bool* is_keyword) {
  *is_keyword = true;
  if (value == L"stretch") return kSizeStretch;
  if (value == L"auto") return kSizeAuto;
  *is_keyword = false;
  return ReadInt(value);
}

void Control::SetFixedWidthKeyword(int value) {
  if (value == fixed_width_) return;
  fixed_width_ = value;
  ArrangeAncestor();
}

void Control::SetFixedHeightKeyword(int value) {
  if (value == fixed_height_) return;
  fixed_height_ = value;
  ArrangeAncestor();
}

void Control::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (SetLayoutAttribute(name, value)) return;
  if (SetLookAttribute(name, value)) return;
  if (SetImageAttribute(name, value)) return;
  if (SetBehaviourAttribute(name, value)) return;
  SetFadeAttribute(name, value);
}

bool Control::SetLayoutAttribute(const std::wstring& name, const std::wstring& value) {
  bool keyword = false;
  if (name == L"class") {
    SetClass(value);
  } else if (name == L"halign") {
    const int align = IndexOf(value, {L"left", L"center", L"right"});
    if (align >= 0) SetHorAlign(align);
  } else if (name == L"valign") {
    const int align = IndexOf(value, {L"top", L"center", L"bottom"});
    if (align >= 0) SetVerAlign(align);
  } else if (name == L"margin") {
    SetMargin(ReadRectValue(value), true);
  } else if (name == L"width") {
    const int width = ParseSizeValue(value, &keyword);
    if (keyword) {
      SetFixedWidthKeyword(width);
    } else {
      SetFixedWidth(width, true, true);
    }
  } else if (name == L"height") {
    const int height = ParseSizeValue(value, &keyword);
    if (keyword) {
      SetFixedHeightKeyword(height);
    } else {
      SetFixedHeight(height, true);
    }
  } else if (name == L"maxwidth") {
    SetMaxWidth(ParseSizeValue(value, &keyword));
  } else if (name == L"maxheight") {
    SetMaxHeight(ParseSizeValue(value, &keyword));
  } else if (name == L"minwidth") {
    SetMinWidth(ReadInt(value));
  } else if (name == L"minheight") {
    SetMinHeight(ReadInt(value));
  } else if (name == L"float") {
    const bool is_float = IsTrue(value);
    if (is_float != is_float_) {
      is_float_ = is_float;
      ArrangeAncestor();
    }
  } else if (name == L"renderoffset") {
    const SIZE offset = ReadPair(value);
    int x = offset.cx;
    int y = offset.cy;
    DisplayScale::Instance().ScaleValue(x);
    DisplayScale::Instance().ScaleValue(y);
    render_offset_ = {x, y};
    Invalidate();
  } else if (name == L"cache") {
    use_cache_ = IsTrue(value);
  } else {
    return false;
  }
  return true;
}

bool Control::SetLookAttribute(const std::wstring& name, const std::wstring& value) {
  const int color_state =
      IndexOf(name, {L"normalcolor", L"hotcolor", L"pushedcolor", L"disabledcolor"});
  if (color_state >= 0) {
    SetStateColor(static_cast<ControlState>(color_state), value);
  } else if (name == L"bkcolor" || name == L"bkcolor1") {
    std::size_t start = 0;
    while (start < value.size() && value[start] <= L' ') ++start;
    SetBkColor(value.substr(start));
  } else if (name == L"bordercolor") {
    SetBorderColor(value);
  } else if (name == L"bordersize") {
    if (value.find(L',') != std::wstring::npos) {
      SetBorderSize(ReadRectValue(value));
    } else {
      SetBorderSize(ReadInt(value));
      border_sizes_ = {0, 0, 0, 0};
    }
  } else if (name == L"leftbordersize") {
    SetLeftBorderSize(ReadInt(value));
  } else if (name == L"topbordersize") {
    SetTopBorderSize(ReadInt(value));
  } else if (name == L"rightbordersize") {
    SetRightBorderSize(ReadInt(value));
  } else if (name == L"bottombordersize") {
    SetBottomBorderSize(ReadInt(value));
  } else if (name == L"borderround") {
    const SIZE round = ReadPair(value);
    SetBorderRound(round.cx, round.cy);
  } else if (name == L"state") {
    const int state = IndexOf(value, kStateNames);
    if (state >= 0) SetState(static_cast<ControlState>(state));
  } else if (name == L"cursortype") {
    const int cursor = IndexOf(value, {L"arrow", L"hand", L"ibeam"});
    if (cursor >= 0) cursor_type_ = static_cast<CursorType>(cursor);
  } else if (name == L"alpha") {
    SetAlpha(ReadInt(value));
  } else {
    return false;
  }
  return true;
}

bool Control::SetImageAttribute(const std::wstring& name, const std::wstring& value) {
  const int state = IndexOf(name, {L"normalimage", L"hotimage", L"pushedimage", L"disabledimage"});
  const int fore_state = IndexOf(
      name, {L"forenormalimage", L"forehotimage", L"forepushedimage", L"foredisabledimage"});
  if (state >= 0) {
    SetStateImage(static_cast<ControlState>(state), value);
  } else if (fore_state >= 0) {
    SetForeStateImage(static_cast<ControlState>(fore_state), value);
  } else if (name == L"bkimage") {
    SetBkImage(value);
  } else {
    return false;
  }
  return true;
}

bool Control::SetBehaviourAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"name") {
    name_ = value;
  } else if (name == L"tooltiptext") {
    SetToolTipText(value);
  } else if (name == L"tooltiptextid") {
    SetToolTipTextId(value);
  } else if (name == L"dataid") {
    SetDataID(value);
  } else if (name == L"enabled") {
    SetEnabled(IsTrue(value));
  } else if (name == L"mouse") {
    SetMouseEnabled(IsTrue(value));
  } else if (name == L"keyboard") {
    SetKeyboardEnabled(IsTrue(value));
  } else if (name == L"visible") {
    SetVisible(IsTrue(value));
  } else if (name == L"fadevisible") {
    SetFadeVisible(IsTrue(value));
  } else if (name == L"menu") {
    SetContextMenuUsed(IsTrue(value));
  } else if (name == L"nofocus") {
    no_focus_ = true;  // the attribute's presence is what counts
  } else if (name == L"receivepointer") {
    receive_pointer_ = IsTrue(value);
  } else {
    return false;
  }
  return true;
}

bool Control::SetFadeAttribute(const std::wstring& name, const std::wstring& value) {
  const bool on = IsTrue(value);
  if (name == L"fadealpha") {
    animation_manager_.SetFadeAlpha(on);
  } else if (name == L"fadehot") {
    animation_manager_.SetFadeHot(on);
  } else if (name == L"fadewidth") {
    animation_manager_.SetFadeWidth(on);
  } else if (name == L"fadeheight") {
    animation_manager_.SetFadeHeight(on);
  } else if (name == L"fadeinoutxfromleft" || name == L"fadeinoutxfromright") {
    animation_manager_.SetFadeInOutX(on, name == L"fadeinoutxfromright");
  } else if (name == L"fadeinoutyfromtop" || name == L"fadeinoutyfrombottom") {
    animation_manager_.SetFadeInOutY(on, name == L"fadeinoutyfrombottom");
  } else {
    return false;
  }
  return true;
}

void Control::SetClass(const std::wstring& names) {
  if (classes_expanding_.empty()) class_expansions_left_ = kMostClassExpansions;
  for (const std::wstring& class_name : TextUtil::Split(names, L" ")) {
    if (class_expansions_left_ == 0) return;
    if (std::find(classes_expanding_.begin(), classes_expanding_.end(), class_name) !=
        classes_expanding_.end()) {
      continue;
    }
    std::wstring attributes = ResourceHub::ClassAttributes(class_name);
    if (attributes.empty() && window_) {
      attributes = window_link::ClassAttributes(window_, class_name);
    }
    if (!attributes.empty()) ExpandClass(class_name, attributes);
  }
}

void Control::ExpandClass(const std::wstring& name, const std::wstring& attributes) {
  --class_expansions_left_;
  classes_expanding_.push_back(name);
  const kestrum::common::ScopeExit expanded([this] { classes_expanding_.pop_back(); });
  ApplyAttributeList(attributes);
}

void Control::ApplyAttributeList(const std::wstring& text) {
  // Character positions are UTF-16 units; the delimiters searched for are all ASCII, so
  // stepping by code unit finds the same places as stepping by character would.
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t equals = text.find(L'=', at);
    if (equals == std::wstring::npos) return;
    const std::wstring name = text.substr(at, equals - at);
    if (equals + 1 >= text.size() || text[equals + 1] != L'"') return;
    const std::size_t value_start = equals + 2;
    const std::size_t quote = text.find(L'"', value_start);
    if (quote == std::wstring::npos) return;
    SetAttribute(name, text.substr(value_start, quote - value_start));
    if (quote + 2 >= text.size() || text[quote + 1] != L' ') return;
    at = quote + 2;
  }
}

namespace {

Control* MatchName(Control* control, void* data) {
  const std::wstring* name = static_cast<const std::wstring*>(data);
  return control->GetName() == *name ? control : nullptr;
}

}  // namespace

bool Control::OnApplyAttributeList(const std::wstring& receiver, const std::wstring& attribute_list,
                                   EventArgs* /*args*/) {
  Control* target = nullptr;
  if (receiver.compare(0, 2, L".\\") == 0 || receiver.compare(0, 2, L"./") == 0) {
    std::wstring name = receiver.substr(2);
    target = FindControl(MatchName, &name, 0);
  } else if (window_) {
    target = window_link::ControlByName(window_, receiver);
  }
  if (target) target->ApplyAttributeList(attribute_list);
  return true;
}

}  // namespace ui
