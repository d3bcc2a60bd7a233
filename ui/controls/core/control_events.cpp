// Event dispatch, the control's own event handling, the mouse state machine and hit testing.
#include "ui/controls/animation/animation_player.h"
#include "ui/controls/box/box.h"
#include "ui/controls/core/control.h"
#include "ui/controls/core/window_link.h"

namespace ui {

namespace {

bool IsInternalEvent(EventType type) { return type <= kEventInternalKillFocus; }

// Whether control is ancestor itself or lies below it.
bool IsSelfOrDescendant(const Control* ancestor, const Control* control) {
  for (const PlaceHolder* node = control; node; node = node->GetParent()) {
    if (node == ancestor) return true;
  }
  return false;
}

}  // namespace

void Control::AttachEvent(EventType type, EventCallback handler) {
  events_[type].Add(std::move(handler));
}

void Control::AttachXmlEvent(EventType type, EventCallback handler) {
  xml_events_[type].Add(std::move(handler));
}

void Control::AttachImagePlayEnd(EventCallback handler) {
  image_play_end_handlers_[1].Add(std::move(handler));
}

void Control::SendEvent(EventType type, WPARAM wParam, LPARAM lParam, wchar_t key, float pressure,
                        int x, int y) {
  EventArgs args;
  args.type = type;
  args.sender = this;
  args.timeStamp = GetTickCount();
  args.ptMouse = {x, y};
  args.chKey = key;
  args.wParam = wParam;
  args.lParam = lParam;
  args.pressure = pressure;
  DispatchEvent(args);
}

bool Control::RunChains(EventMap& map, EventType type, EventArgs& args,
                        const std::weak_ptr<kbase::WeakFlag>& alive, bool* result) {
  for (EventType key : {type, kEventAll}) {
    auto chain = map.find(key);
    if (chain == map.end()) continue;
    // A copy: a handler may destroy this control, and the map with it.
    const HandlerChain handlers = chain->second;
    const bool chain_result = handlers.Invoke(&args);
    if (alive.expired()) return false;
    // A false ends the event: a later chain that answers true must not revive it.
    *result = *result && chain_result;
  }
  return true;
}

void Control::DispatchEvent(EventArgs& args) {
  if (IsInternalEvent(args.type) || (args.sender && args.sender != this)) {
    HandleEvent(args);
    return;
  }
  const std::weak_ptr<kbase::WeakFlag> alive = AcquireWeakFlag();
  bool result = true;
  if (!RunChains(events_, args.type, args, alive, &result)) return;
  if (result && !RunChains(xml_events_, args.type, args, alive, &result)) return;
  if (result) HandleEvent(args);
}

void Control::PassUp(EventArgs& args) {
  if (parent_) parent_->DispatchEvent(args);
}

void Control::HandleEvent(EventArgs& args) {
  const EventType type = args.type;
  if (!mouse_enabled_ && IsMouseEvent(type)) {
    PassUp(args);
    return;
  }
  switch (type) {
    case kEventSetCursor: {
      const wchar_t* cursor = IDC_ARROW;
      if (cursor_type_ == kCursorHand && IsEnabled()) cursor = IDC_HAND;
      if (cursor_type_ == kCursorIBeam) cursor = IDC_IBEAM;
      ::SetCursor(LoadCursorW(nullptr, cursor));
      return;
    }
    case kEventInternalSetFocus:
    case kEventInternalKillFocus:
      focused_ = type == kEventInternalSetFocus;
      Invalidate();
      return;
    case kEventInternalMenu:
      if (IsEnabled() && context_menu_used_ && window_) {
        window_link::DeliverEvent(window_, this, kEventMouseMenu, args.wParam, args.lParam);
        return;
      }
      break;
    case kEventMouseEnter:
      if (args.sender == this || !window_ ||
          IsSelfOrDescendant(this, window_link::HoverControl(window_))) {
        MouseEnter(args);
        break;
      }
      return;
    case kEventMouseLeave:
      if (args.sender != this && window_ &&
          IsSelfOrDescendant(this, window_link::HoverControl(window_))) {
        return;  // the mouse is still inside
      }
      MouseLeave(args);
      break;
    case kEventMouseButtonDown:
    case kEventInternalDoubleClick:
      ButtonDown(args);
      return;
    case kEventMouseButtonUp:
      ButtonUp(args);
      return;
    case kEventPointDown:
    case kEventPointUp:
      if (!receive_pointer_) break;
      if (type == kEventPointDown) {
        ButtonDown(args);
      } else {
        ButtonUp(args);
      }
      return;
    default:
      break;
  }
  PassUp(args);
}

bool Control::MouseEnter(EventArgs& /*args*/) {
  if (!IsEnabled() || state_ != kControlStateNormal) return false;
  state_ = kControlStateHot;
  if (HasHotState()) {
    if (AnimationPlayer* player = HotPlayer()) player->PlayForward();
    Invalidate();
  }
  return true;
}

bool Control::MouseLeave(EventArgs& /*args*/) {
  if (!IsEnabled() || state_ != kControlStateHot) return false;
  state_ = kControlStateNormal;
  if (HasHotState()) {
    if (AnimationPlayer* player = HotPlayer()) player->PlayBackward();
    Invalidate();
  }
  return true;
}

bool Control::ButtonDown(EventArgs& /*args*/) {
  if (!IsEnabled()) return false;
  state_ = kControlStatePushed;
  mouse_focused_ = true;
  Invalidate();
  return true;
}

bool Control::ButtonUp(EventArgs& args) {
  if (!mouse_focused_) return false;
  mouse_focused_ = false;
  if (AnimationPlayer* player = HotPlayer()) player->Pause();
  Invalidate();
  const bool inside = IsPointInWithScrollOffset(args.ptMouse);
  // After a touch no mouse hovers over the control, so it does not stay hot.
  const bool hot = inside && args.type != kEventPointUp;
  state_ = hot ? kControlStateHot : kControlStateNormal;
  hot_alpha_ = hot ? 255 : 0;
  if (!inside) return false;
  Activate();
  return true;
}

Control* Control::FindControl(FindProc proc, void* data, UINT flags, int /*scroll_x*/,
                              int /*scroll_y*/) {
  if ((flags & kFindVisible) && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabled()) return nullptr;
  if (flags & kFindHitTest) {
    const POINT* point = static_cast<const POINT*>(data);
    if (!mouse_enabled_ || !PtInRect(&pos_, *point)) return nullptr;
  }
  return proc(this, data);
}

bool Control::IsPointInWithScrollOffset(POINT point) const {
  const SIZE scroll = GetAncestorScrollPos();
  point.x += scroll.cx;
  point.y += scroll.cy;
  return PtInRect(&pos_, point) != FALSE;
}

}  // namespace ui
