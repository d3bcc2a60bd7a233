#include "ui/windowing/combo/combo_wnd.h"

#include "ui/controls/box/box.h"
#include "ui/controls/core/window_link.h"
#include "ui/controls/layout/layout.h"
#include "ui/controls/list/list_box.h"
#include "ui/windowing/combo/combo.h"

namespace ui {
namespace {

// The list's border and padding around the items.
constexpr int kListFrame = 2;

// Clears every pointer window keeps into control and its descendants.
void ForgetTree(Window* window, Control* control) {
  window->ForgetControl(control);
  if (auto* box = dynamic_cast<Box*>(control)) {
    for (Control* child : box->items()) ForgetTree(window, child);
  }
}

// The height an item takes in the drop-down. One that leaves its height to the list (stretch)
// has none to add up: it counts as tall as the combo, and the list shares the height among such
// items equally, so each gets that much.
int DropItemHeight(Control* item, SIZE available, int combo_height) {
  const int height = item->EstimateSize(available).cy;
  return height == kSizeStretch ? combo_height : height;
}

HWND TopLevelAncestor(HWND hwnd) {
  HWND top = hwnd;
  while (HWND parent = GetParent(top)) top = parent;
  return top;
}

// Whether rect (screen coordinates) reaches below the work area of its monitor.
bool ReachesBelowWorkArea(const RECT& rect) {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) return false;
  return rect.bottom > info.rcWork.bottom;
}

}  // namespace

std::wstring CComboWnd::RegisteredClassName() const { return L"ComboWnd"; }

RECT CComboWnd::PlaceDropRect() const {
  RECT combo = owner_->GetPos(true);
  const SIZE scroll = owner_->GetAncestorScrollPos();
  OffsetRect(&combo, -scroll.cx, -scroll.cy);
  const SIZE size = owner_->GetDropBoxSize();
  const LONG right = size.cx > 0 ? combo.left + size.cx : combo.right;
  RECT drop = {combo.left, combo.bottom + 1, right, 0};
  int height = size.cy;
  int content = 0;
  for (Control* item : owner_->GetListBox()->items()) {
    if (!item->IsVisible()) continue;
    content += DropItemHeight(item, {drop.right - drop.left, height}, combo.bottom - combo.top);
  }
  if (content + kListFrame < height) height = content + kListFrame;
  drop.bottom = drop.top + height;

  HWND parent = window_link::Handle(owner_->GetWindow());
  MapWindowPoints(parent, HWND_DESKTOP, reinterpret_cast<POINT*>(&drop), 2);
  if (!ReachesBelowWorkArea(drop) && !owner_->IsPopupTop()) return drop;
  drop = {combo.left, combo.top - height, right, combo.top};
  MapWindowPoints(parent, HWND_DESKTOP, reinterpret_cast<POINT*>(&drop), 2);
  return drop;
}

bool CComboWnd::Init(Combo* combo) {
  owner_ = combo;
  const RECT drop = PlaceDropRect();
  HWND parent = window_link::Handle(combo->GetWindow());
  const std::weak_ptr<kbase::WeakFlag> alive = AcquireWeakFlag();
  HWND hwnd = Create(parent, L"", WS_POPUP, WS_EX_TOOLWINDOW, true, drop);
  if (!hwnd) {
    // A window that got as far as WM_NCCREATE has already gone through OnDestroyed.
    if (alive.expired()) return false;
    ReleaseList();
    combo->OnDropWindowDestroyed(this);
    delete this;
    return false;
  }
  ShowWindow(hwnd, SW_SHOW);
  // The popup takes the activation; the owner's caption must not look inactive meanwhile.
  SendMessageW(TopLevelAncestor(hwnd), WM_NCACTIVATE, TRUE, 0);
  return true;
}

void CComboWnd::OwnerGone() {
  ReleaseList();
  owner_ = nullptr;
  if (closing_) return;  // WM_CLOSE is on its way
  closing_ = true;
  PostMessageW(GetHWND(), WM_CLOSE, 0, 0);
}

void CComboWnd::OnCreate() {
  BindHandle(GetHWND());
  root_box_ = new Box(new Layout);
  root_box_->SetAutoDestroyChild(false);
  root_box_->Add(owner_->GetListBox());
  InstallRoot(root_box_);
  SetResourceFolder(window_link::ResourceFolder(owner_->GetWindow()));
  GetShadow().SetAttached(false);
}

void CComboWnd::ReleaseList() {
  if (!owner_ || !root_box_) return;
  ListBox* list = owner_->GetListBox();
  if (root_box_->GetItemIndex(list) < 0) return;
  root_box_->Remove(list);
  ForgetTree(this, list);
  list->SetWindow(nullptr, nullptr, false);
}

void CComboWnd::OnLoseFocus() {
  closing_ = true;
  PostMessageW(GetHWND(), WM_CLOSE, 0, 0);
  if (!owner_) return;
  const std::weak_ptr<kbase::WeakFlag> alive = AcquireWeakFlag();
  owner_->SelectItem(owner_->GetListBox()->GetCurSel());
  if (alive.expired()) return;
  ReleaseList();
}

void CComboWnd::OnCloseMessage() {
  if (!owner_) return;
  Combo* combo = owner_;
  combo->SetWindow(combo->GetWindow(), combo->GetParent(), false);
  combo->SetPos(combo->GetPos(true));
  combo->SetFocus();
}

LRESULT CComboWnd::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_KILLFOCUS:
      if (reinterpret_cast<HWND>(wparam) == GetHWND()) break;
      if (!closing_) OnLoseFocus();
      return CallChainedProc(message, wparam, lparam);
    case WM_CLOSE:
      OnCloseMessage();
      return CallChainedProc(message, wparam, lparam);
    default:
      break;
  }
  if (closing_) return CallChainedProc(message, wparam, lparam);
  bool handled = false;
  const LRESULT result = RouteMessage(message, wparam, lparam, handled);
  if (handled) return result;
  return CallChainedProc(message, wparam, lparam);
}

void CComboWnd::OnDestroyed(HWND hwnd) {
  Window::OnDestroyed(hwnd);
  // Destroyed without losing the focus first (its owner window went): the list must not stay
  // in a window that no longer exists.
  ReleaseList();
  if (owner_) owner_->OnDropWindowDestroyed(this);
  delete this;
}

}  // namespace ui
