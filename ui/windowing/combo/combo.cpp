#include "ui/windowing/combo/combo.h"

#include "ui/base/dpi/display_scale.h"
#include "ui/base/render/render_context.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/xml/attribute_numbers.h"
#include "ui/controls/core/window_link.h"
#include "ui/controls/layout/layout.h"
#include "ui/controls/layout/v_layout.h"
#include "ui/controls/list/list_box.h"
#include "ui/controls/list/list_container_element.h"
#include "ui/windowing/combo/combo_wnd.h"

namespace ui {
namespace {

constexpr UINT kComboTextStyle = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;

}  // namespace

Combo::Combo() : Box(new Layout), list_(std::make_unique<ListBox>(new VLayout)) {
  list_->GetLayout()->SetPadding({1, 1, 1, 1}, true);
  list_->SetBkColor(L"bk_wnd_lightcolor");
  list_->SetBorderColor(L"combobox_border");
  list_->SetBorderSize(RECT{1, 1, 1, 1});
  // The list only lends its items to the drop-down; removing them goes through the combo.
  list_->SetAutoDestroyChild(false);
  list_->EnableScrollBar(true, false);
  list_->ApplyAttributeList(drop_box_attributes_);
  list_->AttachEvent(kEventSelect,
                     ToWeakCallback([this](EventArgs* args) { return OnListSelect(args); }));
}

Combo::~Combo() {
  if (drop_window_) drop_window_->OwnerGone();
  drop_window_ = nullptr;
  list_->SetAutoDestroyChild(true);
  list_.reset();
}

void Combo::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"dropbox") {
    drop_box_attributes_ = value;
    // Applied when given: the list exists from the start, so the attributes are not lost.
    list_->ApplyAttributeList(value);
  } else if (name == L"vscrollbar") {
    // The list always scrolls vertically.
  } else if (name == L"dropboxsize") {
    long size[2] = {0, 0};
    ReadNumbers(value.c_str(), size, 2);
    SetDropBoxSize({size[0], size[1]});
  } else if (name == L"popuptop") {
    popup_top_ = value == L"true";
  } else {
    Box::SetAttribute(name, value);
  }
}

void Combo::SetDropBoxSize(SIZE size) {
  int cx = static_cast<int>(size.cx);
  int cy = static_cast<int>(size.cy);
  DisplayScale::Instance().ScaleValue(cx);
  DisplayScale::Instance().ScaleValue(cy);
  drop_box_size_ = {cx, cy};
}

void Combo::Activate() {
  if (!IsActivatable() || drop_window_) return;
  if (!window_ || !window_link::Handle(window_)) return;
  auto* window = new CComboWnd;
  drop_window_ = window;
  if (!window->Init(this)) return;  // the window is gone again and drop_window_ cleared
  const std::weak_ptr<kbase::WeakFlag> alive = AcquireWeakFlag();
  Notify(kEventClick, 0, 0);
  if (alive.expired()) return;
  Invalidate();
}

void Combo::Notify(EventType type, WPARAM wparam, LPARAM lparam) {
  EventArgs args;
  args.type = type;
  args.sender = this;
  args.wParam = wparam;
  args.lParam = lparam;
  args.ptMouse = drop_window_ ? drop_window_->LastMousePoint() : POINT{0, 0};
  args.timeStamp = GetTickCount();
  DispatchEvent(args);
}

void Combo::OnDropWindowDestroyed(CComboWnd* window) {
  if (drop_window_ != window) return;
  drop_window_ = nullptr;
  Invalidate();
}

bool Combo::OnListSelect(EventArgs* /*args*/) {
  if (drop_window_) PostMessageW(drop_window_->GetHWND(), WM_KILLFOCUS, 0, 0);
  cur_sel_ = list_->GetCurSel();
  if (Control* item = list_->GetItemAt(cur_sel_)) {
    // It was hot under the mouse when chosen; the next opening must not show it so.
    item->SetState(kControlStateNormal);
    item->SetHotAlpha(0);
    item->Invalidate();
  }
  if (drop_window_) Notify(kEventSelect, static_cast<WPARAM>(cur_sel_), -1);
  return true;
}

int Combo::GetCount() const { return list_->GetCount(); }

bool Combo::Add(Control* control) {
  if (!list_->Add(control)) return false;
  control->SetAttribute(L"receivepointer", L"true");
  cur_sel_ = list_->GetCurSel();
  return true;
}

template <typename Removal>
bool Combo::DestroyingRemoved(Removal removal) {
  // Removing the selected item may select another one, whose handlers may destroy the combo.
  const std::weak_ptr<kbase::WeakFlag> alive = AcquireWeakFlag();
  // The combo's own setting decides: a caller that turns it off to take an item back (as the
  // container layer's "do not destroy" removal does) must get the item alive.
  list_->SetAutoDestroyChild(IsAutoDestroyChild());
  const bool removed = removal();
  if (alive.expired()) return removed;
  list_->SetAutoDestroyChild(false);
  cur_sel_ = list_->GetCurSel();
  return removed;
}

bool Combo::Remove(Control* control) {
  return DestroyingRemoved([&] { return list_->Remove(control); });
}

bool Combo::RemoveAt(int index) {
  return DestroyingRemoved([&] { return list_->RemoveItemAt(index); });
}

void Combo::RemoveAll() {
  DestroyingRemoved([&] {
    list_->RemoveAll();
    return true;
  });
}

std::wstring Combo::GetText() const {
  if (cur_sel_ < 0) return std::wstring();
  const auto* element = dynamic_cast<ListContainerElement*>(list_->GetItemAt(cur_sel_));
  return element ? element->GetText() : std::wstring();
}

bool Combo::SelectItem(int index) {
  if (index < 0 || index >= GetCount() || index == cur_sel_) return false;
  cur_sel_ = index;
  list_->SelectItem(index, false, false);
  return true;
}

void Combo::PaintText(IRenderContext* render) {
  if (cur_sel_ < 0) return;
  auto* element = dynamic_cast<ListContainerElement*>(list_->GetItemAt(cur_sel_));
  if (!element) return;
  const RECT padding = element->GetTextPadding();
  RECT rect = pos_;
  rect.left += padding.left;
  rect.top += padding.top;
  rect.right -= padding.right;
  rect.bottom -= padding.bottom;
  const std::wstring text = GetText();
  if (text.empty() || !element->GetOwner()) return;
  const std::wstring color = element->GetStateTextColor(kControlStateNormal);
  render->DrawText(rect, text, static_cast<Gdiplus::ARGB>(ResourceHub::ColorValue(color)),
                   element->GetFont(), kComboTextStyle, 255);
}

}  // namespace ui
