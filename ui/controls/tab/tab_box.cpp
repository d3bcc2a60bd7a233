#include "ui/controls/tab/tab_box.h"

#include <cwchar>
#include <utility>

#include "ui/controls/animation/animation_player.h"
#include "ui/controls/core/window_link.h"

namespace ui {

TabBox::TabBox() : Box(nullptr) {}

void TabBox::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"selectedid") {
    SelectItem(static_cast<int>(wcstol(value.c_str(), nullptr, 10)));
  } else if (name == L"fadeswitch") {
    fade_switch_ = value == L"true";
  } else {
    Box::SetAttribute(name, value);
  }
}

bool TabBox::SelectItem(int index) {
  if (index < 0 || index >= GetCount()) return false;
  if (index == cur_sel_) return true;
  const int old = cur_sel_;
  cur_sel_ = index;
  for (int i = 0; i < GetCount(); ++i) {
    if (i == index) {
      ShowItem(i);
      if (fade_switch_) {
        SlideIn(i, old);
      } else {
        items_[i]->SetFadeVisible(true);
      }
    } else if (i == old && fade_switch_) {
      SlideOut(i, index);
    } else {
      HideItem(i);
      if (!fade_switch_) items_[i]->SetFadeVisible(false);
    }
  }
  NotifySelect(index, old);
  return true;
}

void TabBox::NotifySelect(int index, int old) {
  if (!window_) return;
  EventArgs args;
  args.type = kEventSelect;
  args.sender = this;
  args.wParam = static_cast<WPARAM>(index);
  args.lParam = static_cast<LPARAM>(old);
  args.ptMouse = window_link::LastMousePos(window_);
  args.timeStamp = GetTickCount();
  DispatchEvent(args);
}

void TabBox::SlideIn(int index, int old) {
  const int width = Width();
  Slide(items_[index], index < old ? width : -width, 0, nullptr);
}

void TabBox::SlideOut(int old, int index) {
  const int width = Width();
  Slide(items_[old], 0, index < old ? -width : width,
        ToWeakCallback([this, old] { HideItem(old); }));
}

void TabBox::Slide(Control* child, int start, int end, std::function<void()> finished) {
  AnimationPlayer* player = child->GetAnimationManager().SetFadeInOutX(true, true);
  player->SetAccelerationFactor(kSlideAcceleration);
  player->SetStartValue(start);
  player->SetEndValue(end);
  player->SetFinishCallback(std::move(finished));
  player->PlayFromStart();
}

int TabBox::Width() const {
  const RECT pos = GetPos(true);
  return pos.right - pos.left;
}

void TabBox::SetShown(Control* child, bool shown) {
  child->SetMouseEnabled(shown);
  if (auto* box = dynamic_cast<Box*>(child)) box->SetMouseChildEnabled(shown);
  child->SetAlpha(shown ? 255 : 0);
  child->Invalidate();
}

void TabBox::ShowItem(int index) {
  if (Control* child = GetItemAt(index)) SetShown(child, true);
}

void TabBox::HideItem(int index) {
  if (Control* child = GetItemAt(index)) SetShown(child, false);
}

void TabBox::HideNewChild(Control* control) {
  if (!fade_switch_) control->SetFadeVisible(false);
  SetShown(control, false);
}

bool TabBox::Add(Control* control) {
  if (!Box::Add(control)) return false;
  if (cur_sel_ == -1 && control->IsVisible()) {
    cur_sel_ = GetItemIndex(control);
    return true;
  }
  HideNewChild(control);
  return true;
}

bool TabBox::AddAt(Control* control, int index) {
  if (!Box::AddAt(control, index)) return false;
  if (cur_sel_ == -1 && control->IsVisible()) {
    cur_sel_ = index;
    return true;
  }
  // An insertion at or before the selection moves it on; the new child is hidden like any
  // other, so that two tabs never show at once.
  if (cur_sel_ != -1 && index <= cur_sel_) ++cur_sel_;
  HideNewChild(control);
  return true;
}

bool TabBox::Remove(Control* control) {
  if (!control) return false;
  const int index = GetItemIndex(control);
  // The control may be destroyed by this call; only its old index is used below.
  if (!Box::Remove(control)) return false;
  if (index != cur_sel_) {
    if (index < cur_sel_) --cur_sel_;
    return true;
  }
  if (GetCount() == 0) {
    cur_sel_ = -1;
    ArrangeAncestor();
    return true;
  }
  cur_sel_ = 0;
  if (!fade_switch_) items_[0]->SetFadeVisible(true);
  ShowItem(0);
  ArrangeAncestor();
  return true;
}

void TabBox::RemoveAll() {
  cur_sel_ = -1;
  Box::RemoveAll();
  ArrangeAncestor();
}

}  // namespace ui
