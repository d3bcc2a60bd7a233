// The skinned window's life: creation from its skin, message dispatch, the standard buttons and
// self-deletion.
#include "ui/windowing/window_impl/window_impl_base.h"

#include <memory>

#include "ui/base/resource/resource_hub.h"
#include "ui/controls/button/button.h"
#include "ui/controls/core/control.h"
#include "ui/controls/core/event_args.h"
#include "ui/windowing/markup/markup_builder.h"

namespace ui {

namespace {

// The failure text is bounded like the fixed buffer it has always been shown from.
constexpr size_t kMostErrorChars = MAX_PATH - 1;
constexpr wchar_t kErrorCaption[] = L"UI Framework";
constexpr const wchar_t* kStandardButtons[] = {L"closebtn", L"minbtn", L"maxbtn", L"restorebtn"};

}  // namespace

HWND WindowImplBase::Create(HWND parent, const wchar_t* name, DWORD style, DWORD ex_style,
                            bool layered, const RECT& rect) {
  std::weak_ptr<kbase::WeakFlag> alive = AcquireWeakFlag();
  HWND hwnd = Window::Create(parent, name, style, ex_style, layered, rect);
  if (hwnd) return hwnd;
  // A failed WM_CREATE ends in WM_NCDESTROY, which deleted the object already; a window that
  // never got that far is deleted here, so the caller's contract is the same either way.
  if (!alive.expired()) delete this;
  return nullptr;
}

std::wstring WindowImplBase::BaseClassName() const { return std::wstring(); }

UINT WindowImplBase::RegisteredClassStyle() const { return CS_DBLCLKS; }

LONG_PTR WindowImplBase::CreateStyle() const {
  return GetWindowLongPtrW(GetHWND(), GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CAPTION);
}

Control* WindowImplBase::CreateCustomControl(const std::wstring& /*class_name*/) { return nullptr; }

void WindowImplBase::ReportSkinError(const std::wstring& text) {
  MessageBoxW(nullptr, text.c_str(), kErrorCaption, MB_ICONHAND);
}

LRESULT WindowImplBase::MessageFilter(UINT /*message*/, WPARAM /*wparam*/, LPARAM /*lparam*/,
                                      bool& /*handled*/) {
  return 0;
}

WindowImplBase::Handler WindowImplBase::HandlerFor(UINT message) {
  static const struct {
    UINT message;
    Handler handler;
  } kHandlers[] = {
      {WM_CLOSE, &WindowImplBase::OnClose},
      {WM_DESTROY, &WindowImplBase::OnDestroy},
      {WM_NCACTIVATE, &WindowImplBase::OnNcActivate},
      {WM_NCCALCSIZE, &WindowImplBase::OnNcCalcSize},
      {WM_WINDOWPOSCHANGING, &WindowImplBase::OnWindowPosChanging},
      {WM_NCPAINT, &WindowImplBase::OnNcPaint},
      {WM_NCLBUTTONDBLCLK, &WindowImplBase::OnNcLButtonDblClk},
      {WM_NCHITTEST, &WindowImplBase::OnNcHitTest},
      {WM_GETMINMAXINFO, &WindowImplBase::OnGetMinMaxInfo},
      {WM_MOUSEWHEEL, &WindowImplBase::OnMouseWheel},
      {WM_MOUSEHOVER, &WindowImplBase::OnMouseHover},
      {WM_DPICHANGED, &WindowImplBase::OnDpiChanged},
      {WM_SIZE, &WindowImplBase::OnSize},
      {WM_CHAR, &WindowImplBase::OnChar},
      {WM_SYSCOMMAND, &WindowImplBase::OnSysCommand},
      {WM_KEYDOWN, &WindowImplBase::OnKeyDown},
      {WM_KILLFOCUS, &WindowImplBase::OnKillFocus},
      {WM_SETFOCUS, &WindowImplBase::OnSetFocus},
      {WM_LBUTTONDOWN, &WindowImplBase::OnLButtonDown},
      {WM_LBUTTONUP, &WindowImplBase::OnLButtonUp},
      {WM_MOUSEMOVE, &WindowImplBase::OnMouseMove},
  };
  for (const auto& entry : kHandlers) {
    if (entry.message == message) return entry.handler;
  }
  return nullptr;
}

LRESULT WindowImplBase::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  bool handled = true;
  LRESULT result = 0;
  if (message == WM_CREATE) {
    result = OnCreate();
  } else if (Handler handler = HandlerFor(message)) {
    result = (this->*handler)(message, wparam, lparam, handled);
  } else {
    handled = false;
  }
  if (handled) return result;
  return Window::OnMessage(message, wparam, lparam);
}

Control* WindowImplBase::BuildSkin() {
  MarkupBuilder builder;
  CreateControlCallback callback = [this](const std::wstring& class_name) {
    return CreateCustomControl(class_name);
  };
  return builder.Load(ResourceFolder() + SkinFile(), callback, this, nullptr);
}

LRESULT WindowImplBase::OnCreate() {
  SetWindowLongPtrW(GetHWND(), GWL_STYLE, CreateStyle());
  BindHandle(GetHWND());
  AddMessageFilter(this);
  SetResourceFolder(SkinFolder());
  Control* root = BuildSkin();
  if (!root) {
    std::wstring text =
        L"Failed to load xml file " + ResourceHub::ResourcePath() + ResourceFolder() + SkinFile();
    if (text.size() > kMostErrorChars) text.resize(kMostErrorChars);
    ReportSkinError(text);
    return -1;  // the system fails the creation
  }
  InstallRoot(GetShadow().AttachShadow(root));
  OnSkinLoaded();
  FitAutoSizedRoot();
  WireStandardButtons();
  return 0;
}

void WindowImplBase::FitAutoSizedRoot() {
  SIZE size = {};
  // At the screen origin: the subclass places the window afterwards.
  if (EstimateAutoRootSize(size)) MoveWindow(GetHWND(), 0, 0, size.cx, size.cy, FALSE);
}

void WindowImplBase::WireStandardButtons() {
  for (const wchar_t* name : kStandardButtons) {
    auto* button = dynamic_cast<Button*>(ControlByName(name));
    if (!button) continue;
    button->AttachEvent(kEventClick,
                        ToWeakCallback([this](EventArgs* args) { return OnButtonClick(args); }));
  }
}

void WindowImplBase::SwapMaximizeButtons(bool maximizing) {
  Control* max_button = ControlByName(L"maxbtn");
  Control* restore_button = ControlByName(L"restorebtn");
  if (!max_button || !restore_button) return;
  max_button->SetFadeVisible(!maximizing);
  restore_button->SetFadeVisible(maximizing);
}

bool WindowImplBase::OnButtonClick(EventArgs* args) {
  const std::wstring name = args->sender ? args->sender->GetName() : std::wstring();
  if (name == L"closebtn") {
    Close(1);
  } else if (name == L"minbtn") {
    SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else if (name == L"maxbtn") {
    SwapMaximizeButtons(true);
    SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  } else if (name == L"restorebtn") {
    SwapMaximizeButtons(false);
    SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_RESTORE, 0);
  }
  return true;
}

void WindowImplBase::OnDestroyed(HWND hwnd) {
  Window::OnDestroyed(hwnd);
  RemoveMessageFilter(this);
  ForgetControl(GetRoot());
  delete this;
}

void WindowImplBase::SetTitle(const std::wstring& text) { SetWindowTextW(GetHWND(), text.c_str()); }

void WindowImplBase::Activate() {
  HWND hwnd = GetHWND();
  if (!IsWindow(hwnd)) return;
  if (IsIconic(hwnd)) {
    ShowWindow(hwnd, SW_RESTORE);
    return;
  }
  if (!IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
}

}  // namespace ui
