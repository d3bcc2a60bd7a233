// PaintWindow: lays the tree out when needed, draws it into the render context and presents it.
#include <algorithm>

#include "ui/base/render/render_context.h"
#include "ui/controls/box/box.h"
#include "ui/controls/core/control.h"
#include "ui/controls/layout/layout.h"
#include "ui/controls/render/auto_clip.h"
#include "ui/controls/shadow/shadow_box.h"
#include "ui/windowing/window/window.h"

namespace ui {

namespace {

constexpr int kUnboundedEstimate = 99999;

Control* NeedsArrangeVisitor(Control* control, void* /*data*/) {
  return control->IsArrangeNeeded() ? control : nullptr;
}

bool IsEmpty(const RECT& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

bool Contains(const RECT& outer, const RECT& inner) {
  return IsEmpty(inner) || (outer.left <= inner.left && outer.top <= inner.top &&
                            outer.right >= inner.right && outer.bottom >= inner.bottom);
}

}  // namespace

bool Window::EstimateAutoRootSize(SIZE& size) const {
  if (!root_) return false;
  if (root_->GetFixedWidth() != kSizeAuto && root_->GetFixedHeight() != kSizeAuto) return false;
  size = root_->EstimateSize(SIZE{kUnboundedEstimate, kUnboundedEstimate});
  size.cx = std::max<LONG>(size.cx, root_->GetMinWidth());
  if (root_->GetMaxWidth() >= 0) size.cx = std::min<LONG>(size.cx, root_->GetMaxWidth());
  size.cy = std::max<LONG>(size.cy, root_->GetMinHeight());
  // A negative maximum height means no limit, as for the width.
  if (root_->GetMaxHeight() >= 0) size.cy = std::min<LONG>(size.cy, root_->GetMaxHeight());
  return true;
}

void Window::AutoSizeRoot() {
  if (!layout_needed_ || !root_->IsArrangeNeeded()) return;
  SIZE size = {};
  if (!EstimateAutoRootSize(size)) return;
  RECT window_rect = {};
  GetWindowRect(hwnd_, &window_rect);
  MoveWindow(hwnd_, window_rect.left, window_rect.top, size.cx, size.cy, TRUE);
}

void Window::LayOutTree(const RECT& client) {
  if (!layout_needed_) return;
  layout_needed_ = false;
  if (IsEmpty(client)) return;
  if (root_->IsArrangeNeeded()) {
    root_->SetPos(client);
    return;
  }
  // Only down to what was marked: a long list of settled rows is not walked at every paint.
  const UINT flags = Control::kFindVisible | Control::kFindMeFirst | Control::kFindArrangePending;
  while (Control* control = root_->FindControl(&NeedsArrangeVisitor, nullptr, flags)) {
    control->SetPos(control->GetPos(true));
  }
}

void Window::LayoutPass(const RECT& client) {
  LayOutTree(client);
  if (first_show_) {
    first_show_ = false;
    FadeIn();
  }
}

void Window::LayOutNow() {
  if (!hwnd_ || !root_) return;
  RECT client = {};
  GetClientRect(hwnd_, &client);
  // A window not sized yet keeps its pass for the paint.
  if (!IsEmpty(client)) LayOutTree(client);
}

void Window::KeepInsideVirtualScreen(const RECT& window_rect, const RECT& client,
                                     RECT& update) const {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int right = left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int bottom = top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (window_rect.left < left && window_rect.left + update.left == left) update.left = client.left;
  if (window_rect.top < top && window_rect.top + update.top == top) update.top = client.top;
  if (window_rect.right > right && window_rect.left + update.right == right) {
    update.right = client.right;
  }
  if (window_rect.bottom > bottom && window_rect.top + update.bottom == bottom) {
    update.bottom = client.bottom;
  }
}

void Window::RepairAlpha(const RECT& update) {
  RECT inner = {};
  RECT insets = {0, 0, 0, 0};
  if (ShadowBox* shadow = InstalledShadowBox()) {
    // GDI left the body's alpha at 0; the margin keeps what the shadow bitmap painted.
    inner = shadow->GetPaddingPos();
    const RECT padding = shadow->GetLayout()->GetPadding();
    insets = RECT{padding.left + 1, padding.top + 1, padding.right + 1, padding.bottom + 1};
  } else {
    const RECT& fix = alpha_fix_corner_;
    if (fix.left <= 0 && fix.top <= 0 && fix.right <= 0 && fix.bottom <= 0) return;
    auto* box = dynamic_cast<Box*>(root_);
    inner = box ? box->GetPaddingPos() : root_->GetPos(true);
    inner.left += fix.left;
    inner.top += fix.top;
    inner.right -= fix.right;
    inner.bottom -= fix.bottom;
  }
  RECT repair = {};
  if (IntersectRect(&repair, &update, &inner)) render_context_->RestoreAlpha(repair, insets, 0);
}

void Window::PresentLayered(const RECT& update, const RECT& window_rect, const RECT& client) {
  RepairAlpha(update);
  POINT destination = {window_rect.left, window_rect.top};
  SIZE size = {client.right - client.left, client.bottom - client.top};
  POINT source = {0, 0};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(window_alpha_), AC_SRC_ALPHA};
  UpdateLayeredWindow(hwnd_, nullptr, &destination, &size, render_context_->GetDC(), &source, 0,
                      &blend, ULW_ALPHA);
}

void Window::DrawTree(const RECT& rect, const RECT& client) {
  // A change this paint leaves out stays for a later one: the system keeps what lies off the
  // screen out of the update.
  const RECT pending = changed_;
  changed_ = RECT{};
  if (!Contains(rect, pending)) UnionRect(&changed_, &changed_, &pending);
  if (IsEmpty(rect)) return;
  if (layered_) render_context_->ClearAlpha(rect, 0);
  {
    AutoClip clip(render_context_.get(), rect);
    root_->PaintLayers(render_context_.get(), rect);
    root_->PaintChild(render_context_.get(), rect);
  }
  if (Contains(rect, client)) picture_kept_ = true;
}

void Window::PaintWindow() {
  PAINTSTRUCT paint = {};
  if (IsIconic(hwnd_) || !root_ || !render_context_) {
    BeginPaint(hwnd_, &paint);
    EndPaint(hwnd_, &paint);
    return;
  }
  AutoSizeRoot();
  RECT update = {};
  if (!GetUpdateRect(hwnd_, &update, FALSE) && !first_show_) return;
  RECT client = {};
  RECT window_rect = {};
  GetClientRect(hwnd_, &client);
  GetWindowRect(hwnd_, &window_rect);
  if (layered_) KeepInsideVirtualScreen(window_rect, client, update);

  BeginPaint(hwnd_, &paint);
  LayoutPass(client);
  // After the layout pass: what it moved is among the changes.
  RECT draw = shown_again_ ? changed_ : update;
  if (render_context_->Resize(client.right - client.left, client.bottom - client.top)) {
    // Without a shadow the surface is the window itself; with one, the margin is translucent.
    render_context_->SetTransparent(!InstalledShadowBox());
    update = draw = client;
  }
  shown_again_ = false;
  DrawTree(draw, client);
  if (layered_) {
    PresentLayered(draw, window_rect, client);
  } else {
    ::BitBlt(paint.hdc, update.left, update.top, update.right - update.left,
             update.bottom - update.top, render_context_->GetDC(), update.left, update.top,
             SRCCOPY);
  }
  EndPaint(hwnd_, &paint);
}

}  // namespace ui
