#include "ui/controls/button/check_box.h"

#include "ui/controls/core/window_link.h"

namespace ui {

template <typename Base>
CheckBoxTemplate<Base>::CheckBoxTemplate() {
  selected_state_colors_.SetOwner(this);
}

template <typename Base>
void CheckBoxTemplate<Base>::Selected(bool select, bool trigger) {
  if (select == selected_) return;
  selected_ = select;
  if (Window* window = this->GetWindow(); window && trigger) {
    const std::weak_ptr<kbase::WeakFlag> alive = this->AcquireWeakFlag();
    window_link::DeliverEvent(window, this, select ? kEventSelect : kEventUnSelect, 0, 0);
    if (alive.expired()) return;
  }
  this->Invalidate();
}

template <typename Base>
ImageRef* CheckBoxTemplate<Base>::GetEstimateImage() {
  if (ImageRef* image = Control::GetEstimateImage()) return image;
  return this->state_images_.FirstPresentOfKind(kStateImageSelectedBackground);
}

template <typename Base>
void CheckBoxTemplate<Base>::Activate() {
  if (this->IsActivatable()) Selected(!selected_, true);
}

template <typename Base>
bool CheckBoxTemplate<Base>::HasHotState() {
  return !selected_state_colors_.Color(kControlStateHot).empty() ||
         LabelTemplate<Base>::HasHotState();
}

template <typename Base>
void CheckBoxTemplate<Base>::SetSelectedStateColor(ControlState state, const std::wstring& name) {
  selected_state_colors_.SetColor(state, name);
  this->Invalidate();
}

template <typename Base>
void CheckBoxTemplate<Base>::SetSelectedStateImage(ControlState state, const std::wstring& spec) {
  this->state_images_.KindFor(kStateImageSelectedBackground).ImageFor(state).SetSpecText(spec);
  this->RelayoutIfAuto();
}

template <typename Base>
void CheckBoxTemplate<Base>::SetSelectedForeStateImage(ControlState state,
                                                       const std::wstring& spec) {
  this->state_images_.KindFor(kStateImageSelectedFore).ImageFor(state).SetSpecText(spec);
  this->RelayoutIfAuto();
}

template <typename Base>
void CheckBoxTemplate<Base>::SetSelectedTextColor(const std::wstring& name) {
  selected_text_color_ = name;
  this->Invalidate();
}

template <typename Base>
void CheckBoxTemplate<Base>::SetAttribute(const std::wstring& name, const std::wstring& value) {
  int state = -1;
  if (name == L"selected") {
    Selected(value == L"true", true);
  } else if ((state = StateAttribute(name, L"selected", L"image")) >= 0) {
    SetSelectedStateImage(static_cast<ControlState>(state), value);
  } else if (name == L"selectedtextcolor") {
    SetSelectedTextColor(value);
  } else if ((state = StateAttribute(name, L"selected", L"color")) >= 0) {
    SetSelectedStateColor(static_cast<ControlState>(state), value);
  } else if ((state = StateAttribute(name, L"selectedfore", L"image")) >= 0) {
    SetSelectedForeStateImage(static_cast<ControlState>(state), value);
  } else {
    ButtonTemplate<Base>::SetAttribute(name, value);
  }
}

template <typename Base>
void CheckBoxTemplate<Base>::PaintStateColors(IRenderContext* render) {
  if (!selected_) {
    Control::PaintStateColors(render);
    return;
  }
  selected_state_colors_.Paint(render, this->paint_rect_, this->state_);
}

template <typename Base>
void CheckBoxTemplate<Base>::PaintStateImages(IRenderContext* render) {
  if (!selected_) {
    Control::PaintStateImages(render);
    return;
  }
  this->state_images_.PaintKind(render, kStateImageSelectedBackground, this->state_, L"");
  this->state_images_.PaintKind(render, kStateImageSelectedFore, this->state_, L"");
}

template <typename Base>
std::wstring CheckBoxTemplate<Base>::SelectedTextColorName() const {
  // A disabled control shows it is disabled even while selected.
  if (!this->IsEnabled()) return this->text_colors_.Color(kControlStateDisabled);
  if (!selected_text_color_.empty()) return selected_text_color_;
  return this->text_colors_.Color(kControlStateNormal);
}

template <typename Base>
void CheckBoxTemplate<Base>::PaintText(IRenderContext* render) {
  if (!selected_) {
    LabelTemplate<Base>::PaintText(render);
    return;
  }
  if (this->GetText().empty()) return;
  const RECT rect = this->TextRect();
  this->DrawTextIn(render, rect, SelectedTextColorName(), 255, false);
}

template class CheckBoxTemplate<Control>;
template class CheckBoxTemplate<Box>;

}  // namespace ui
