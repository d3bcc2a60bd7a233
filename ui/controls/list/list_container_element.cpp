#include "ui/controls/list/list_container_element.h"

#include "ui/controls/button/label.h"
#include "ui/controls/core/window_link.h"
#include "ui/controls/list/list_owner.h"

namespace ui {

ListContainerElement::ListContainerElement() {
  text_style_ = kTextStyleLabel | DT_VCENTER;
  receive_pointer_ = false;
}

int ListContainerElement::GetIndex() const {
  return owner_ && index_ >= 0 ? index_ - owner_->GetIndexOrigin() : index_;
}

void ListContainerElement::SetIndex(int index) {
  index_ = owner_ && index >= 0 ? index + owner_->GetIndexOrigin() : index;
}

void ListContainerElement::Deliver(EventType type, WPARAM wParam, LPARAM lParam) {
  if (GetWindow()) window_link::DeliverEvent(GetWindow(), this, type, wParam, lParam);
}

void ListContainerElement::Selected(bool select, bool trigger) {
  if (!IsEnabled() || !select || !owner_) return;
  owner_->SelectItem(GetIndex(), false, trigger);
}

void ListContainerElement::Activate() {
  const std::weak_ptr<kbase::WeakFlag> alive = AcquireWeakFlag();
  // The button's click only: a plain option selects on the first click alone.
  ButtonTemplate<Box>::Activate();
  if (alive.expired()) return;
  if (IsActivatable()) Selected(true, true);
}

void ListContainerElement::SetFadeVisible(bool visible) {
  Control::SetFadeVisible(visible);
  if (IsVisible() || !selected_) return;
  selected_ = false;
  if (owner_) owner_->SelectItem(-1, false, true);
}

void ListContainerElement::HandleEvent(EventArgs& args) {
  if (!IsMouseEnabled() && IsMouseEvent(args.type)) {
    if (owner_) {
      owner_->HandleItemEvent(args);
    } else {
      Control::HandleEvent(args);
    }
    return;
  }
  switch (args.type) {
    case kEventInternalDoubleClick:
      if (IsActivatable() && GetWindow()) DispatchStamped(kEventMouseDoubleClick);
      return;
    case kEventKeyDown:
      if (IsEnabled() && args.chKey == VK_RETURN) {
        if (IsActivatable()) Deliver(kEventReturn);
        return;
      }
      break;
    case kEventInternalMenu:
      if (!IsEnabled()) break;
      {
        const std::weak_ptr<kbase::WeakFlag> alive = AcquireWeakFlag();
        Selected(true, true);
        if (alive.expired()) return;
        Deliver(kEventMouseMenu, args.wParam, args.lParam);
        if (alive.expired()) return;
        Invalidate();
      }
      return;
    default:
      break;
  }
  ButtonTemplate<Box>::HandleEvent(args);
}

}  // namespace ui
