// The window's life: binding, the control tree it owns, lookups and the "Window" attributes.
#include "ui/windowing/window/window.h"

#include <algorithm>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/dpi/user32_entry_points.h"
#include "ui/base/lang/lang_table.h"
#include "ui/base/render/render_context.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/controls/core/control.h"
#include "ui/controls/shadow/shadow_box.h"
#include "ui/windowing/window/control_links.h"

namespace ui {

namespace {

Control* RegisterNameVisitor(Control* control, void* data) {
  auto* names = static_cast<std::map<std::wstring, Control*>*>(data);
  const std::wstring name = control->GetName();
  if (!name.empty()) (*names)[name] = control;
  return nullptr;  // never stops the walk
}

}  // namespace

Window::Window() {
  InstallWindowLink();
  InstallMarkupLink();
  MakeDefaultFont();
}

Window::~Window() {
  UnbindHandle();
  DeleteQueuedControls();
  // The root's destructor tells this window to forget its controls, so the slot goes first.
  Control* root = root_;
  root_ = nullptr;
  delete root;
  if (default_font_) DeleteObject(default_font_);
  classes_.clear();
  option_groups_.clear();
  if (tooltip_) DestroyWindow(tooltip_);
  if (hdc_) ReleaseDC(hwnd_, hdc_);
}

void Window::MakeDefaultFont() {
  LOGFONTW font = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  default_font_ = CreateFontIndirectW(&font);
  default_font_face_ = font.lfFaceName;
  default_font_size_ = -font.lfHeight;
  default_font_bold_ = font.lfWeight >= FW_BOLD;
  default_font_underline_ = font.lfUnderline != 0;
  default_font_italic_ = font.lfItalic != 0;
}

void Window::BindHandle(HWND hwnd) {
  // The handle's thread is the window's, whichever thread built the object.
  thread_.Detach();
  KESTRUM_CHECK_THREAD(thread_);
  hwnd_ = hwnd;
  if (!hdc_) hdc_ = GetDC(hwnd);
  render_context_ = ResourceHub::MakeRenderContext();
  User32::RegisterTouchWindow(hwnd, 0);
}

void Window::ClearTargets() {
  under_mouse_ = hovered_ = pressed_ = key_down_ = touch_ = pointer_ = nullptr;
}

void Window::RegisterNames(Control* control) {
  control->FindControl(&RegisterNameVisitor, &names_, 0);
}

bool Window::InstallRoot(Control* root) {
  KESTRUM_CHECK_THREAD(thread_);
  FocusControl(nullptr);
  ClearTargets();
  if (root_) {
    root_->SetWindow(this, nullptr, false);
    AddDelayedDelete(root_);
  }
  root_ = root;
  layout_needed_ = true;
  first_show_ = true;
  picture_kept_ = false;
  if (!root_) return false;
  root_->SetWindow(this, root_->GetParent(), true);
  RegisterNames(root_);
  return true;
}

bool Window::BindControlTree(Control* control, Box* parent) {
  KESTRUM_CHECK_THREAD(thread_);
  if (!control) return false;
  control->SetWindow(this, parent ? parent : control->GetParent(), true);
  RegisterNames(control);
  return true;
}

void Window::ForgetControl(Control* control) {
  KESTRUM_CHECK_THREAD(thread_);
  if (!control) return;
  for (Control** slot :
       {&focus_, &under_mouse_, &hovered_, &pressed_, &key_down_, &touch_, &pointer_}) {
    if (*slot == control) *slot = nullptr;
  }
  const std::wstring name = control->GetName();
  if (!name.empty()) names_.erase(name);
}

void Window::AddDelayedDelete(Control* control) {
  KESTRUM_CHECK_THREAD(thread_);
  delayed_delete_.push_back(control);
  if (hwnd_) PostMessageW(hwnd_, kDelayedDeleteMessage, 0, 0);
}

void Window::DeleteQueuedControls() {
  // A destructor may queue more controls; take the list first so the loop never sees a
  // half-edited vector.
  while (!delayed_delete_.empty()) {
    std::vector<Control*> queued;
    queued.swap(delayed_delete_);
    for (Control* control : queued) delete control;
  }
}

Control* Window::ControlByName(const std::wstring& name) const {
  auto it = names_.find(name);
  return it == names_.end() ? nullptr : it->second;
}

void Window::SetResourceFolder(const std::wstring& folder) {
  resource_folder_ = folder;
  if (folder.empty()) return;
  const wchar_t last = folder.back();
  if (last != L'\\' && last != L'/') resource_folder_ += L'\\';
}

std::wstring Window::ClassAttributes(const std::wstring& name) const {
  auto it = classes_.find(name);
  return it == classes_.end() ? std::wstring() : it->second;
}

void Window::AddClass(const std::wstring& name, const std::wstring& attributes) {
  classes_[name] = attributes;
}

bool Window::JoinOptionGroup(const std::wstring& group, Control* control) {
  std::vector<Control*>& members = option_groups_[group];
  if (std::find(members.begin(), members.end(), control) != members.end()) return false;
  members.push_back(control);
  return true;
}

const std::vector<Control*>* Window::OptionGroupMembers(const std::wstring& group) const {
  auto it = option_groups_.find(group);
  return it == option_groups_.end() ? nullptr : &it->second;
}

void Window::LeaveOptionGroup(const std::wstring& group, Control* control) {
  auto it = option_groups_.find(group);
  if (it == option_groups_.end()) return;
  std::vector<Control*>& members = it->second;
  auto member = std::find(members.begin(), members.end(), control);
  if (member != members.end()) members.erase(member);
  if (members.empty()) option_groups_.erase(it);
}

void Window::AddMessageFilter(IUIMessageFilter* filter) { message_filters_.push_back(filter); }

bool Window::RemoveMessageFilter(IUIMessageFilter* filter) {
  auto it = std::find(message_filters_.begin(), message_filters_.end(), filter);
  if (it == message_filters_.end()) return false;
  message_filters_.erase(it);
  return true;
}

void Window::AttachWindowEvent(EventType type, EventCallback handler) {
  window_events_[type].Add(std::move(handler));
}

RECT Window::ShadowMargin() const { return shadow_.ShadowMargin(); }

ShadowBox* Window::InstalledShadowBox() const {
  ShadowBox* box = shadow_.GetShadowBox();
  // The record keeps a plain pointer: once another root replaced the box, the box may be gone.
  return box && static_cast<Control*>(box) == root_ ? box : nullptr;
}

bool Window::ShadowBoxIsCurrent() const { return !shadow_.GetShadowBox() || InstalledShadowBox(); }

void Window::ScaleSize(int& cx, int& cy) const {
  DisplayScale::Instance().ScaleValue(cx);
  DisplayScale::Instance().ScaleValue(cy);
}

void Window::SetInitSize(int cx, int cy, bool scale) {
  if (scale) ScaleSize(cx, cy);
  const RECT margin = ShadowMargin();
  cx += margin.left + margin.right;
  cy += margin.top + margin.bottom;
  init_size_ = SIZE{cx, cy};
  if (!root_ && hwnd_) {
    SetWindowPos(hwnd_, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  }
}

SIZE Window::GetInitSize() const {
  const RECT margin = ShadowMargin();
  SIZE size = init_size_;
  if (size.cx) size.cx -= margin.left + margin.right;
  if (size.cy) size.cy -= margin.top + margin.bottom;
  return size;
}

SIZE Window::ScaledLimit(int cx, int cy) const {
  ScaleSize(cx, cy);
  // 0 means "no limit" and must stay 0.
  const RECT margin = ShadowMargin();
  if (cx) cx += margin.left + margin.right;
  if (cy) cy += margin.top + margin.bottom;
  return SIZE{cx, cy};
}

void Window::SetMinInfo(int cx, int cy) { min_info_ = ScaledLimit(cx, cy); }

void Window::SetMaxInfo(int cx, int cy) { max_info_ = ScaledLimit(cx, cy); }

void Window::SetCaptionRect(RECT rect) {
  DisplayScale::Instance().ScaleRectangle(rect);
  caption_ = rect;
}

void Window::SetRoundCorner(int cx, int cy) {
  ScaleSize(cx, cy);
  round_corner_ = SIZE{cx, cy};
}

void Window::SetAlphaFixCorner(RECT rect) {
  DisplayScale::Instance().ScaleRectangle(rect);
  alpha_fix_corner_ = rect;
}

void Window::SetTextId(const std::wstring& id) {
  SetWindowTextW(hwnd_, LangTable::Instance().Lookup(id).c_str());
}

}  // namespace ui
