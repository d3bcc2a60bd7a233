#include "ui/base/toast/toast.h"

#include <atomic>
#include <cstdint>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/thread/thread_registry.h"
#include "ui/controls/box/box.h"
#include "ui/controls/core/control.h"
#include "ui/controls/core/event_args.h"
#include "ui/controls/richedit/rich_edit.h"

namespace shared {

namespace {

// The framework's UI thread in the thread registry.
constexpr int kFrameworkUiThread = 0;
// WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX; the base strips the caption.
constexpr DWORD kToastStyle = 0xCE0000;
constexpr UINT_PTR kCloseTimerId = 1;
constexpr UINT kCloseCode = 1;

WPARAM NextSerial() {
  static std::atomic<WPARAM> serial{0};
  return ++serial;
}

}  // namespace

Toast::Toast() : serial_(NextSerial()) {}

void Toast::Show(const std::wstring& content, int duration, HWND parent) {
  auto* toast = new Toast;
  // A failed Create has deleted the toast already.
  if (!toast->Create(parent, L"", kToastStyle, 0, true, RECT{0, 0, 0, 0})) return;
  toast->SetContent(content);
  toast->SetDuration(duration);
  toast->FitAutoSizedRoot();  // so that it is centred at the size the text gives it
  toast->CenterWindow();
  toast->Show(true, true);
}

std::wstring Toast::RegisteredClassName() const { return L"Toast"; }

UINT Toast::RegisteredClassStyle() const { return CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS; }

std::wstring Toast::SkinFolder() const { return L"toast"; }

std::wstring Toast::SkinFile() const { return L"toast.xml"; }

void Toast::OnSkinLoaded() {
  if (auto* root = dynamic_cast<ui::Box*>(GetRoot())) {
    root->AttachBubbledEvent(ui::kEventClick,
                             ToWeakCallback([this](ui::EventArgs* args) { return OnClick(args); }));
  }
  content_ = dynamic_cast<ui::RichEdit*>(ControlByName(L"content"));
  close_button_ = ControlByName(L"close_btn");
}

bool Toast::OnClick(ui::EventArgs* args) {
  if (args->sender && args->sender->GetName() == L"close_btn") Close(kCloseCode);
  return true;
}

void Toast::SetContent(const std::wstring& text) {
  if (!content_) return;
  content_->SetText(text);
  int height = content_->GetNaturalSize(content_->GetFixedWidth()).cy;
  if (height > 0) ui::DisplayScale::Instance().ScaleValue(height);
  content_->SetFixedHeight(height, false);
}

void Toast::SetDuration(int milliseconds) {
  if (milliseconds <= 0) return;
  HWND hwnd = GetHWND();
  const WPARAM serial = serial_;
  // This runs on the framework's UI thread, not the toast's: it touches nothing of the toast and
  // only posts the close to the toast's own thread.
  auto post_close =
      ToWeakCallback([hwnd, serial] { PostMessageW(hwnd, kTimedCloseMessage, serial, 0); });
  const int64_t delay = static_cast<int64_t>(milliseconds) * 1000;
  if (kbase::ThreadRegistry::PostDelayedTask(kFrameworkUiThread, post_close, delay)) return;
  SetTimer(hwnd, kCloseTimerId, static_cast<UINT>(milliseconds), nullptr);
}

void Toast::ShowCloseButton() {
  if (close_button_ && !close_button_->IsVisible()) close_button_->SetFadeVisible(true);
}

void Toast::HideCloseButtonOutside() {
  if (!close_button_) return;
  POINT cursor = {};
  GetCursorPos(&cursor);
  ScreenToClient(GetHWND(), &cursor);
  RECT inner = {};
  GetClientRect(GetHWND(), &inner);
  InflateRect(&inner, -1, -1);
  if (!PtInRect(&inner, cursor)) close_button_->SetFadeVisible(false);
}

LRESULT Toast::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kTimedCloseMessage:
      if (wparam == serial_) Close(kCloseCode);
      return 0;
    case WM_TIMER:
      if (wparam != kCloseTimerId) break;
      KillTimer(GetHWND(), kCloseTimerId);
      Close(kCloseCode);
      return 0;
    case WM_KEYDOWN:
      if (wparam == VK_ESCAPE) Close(kCloseCode);
      break;
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK:
      Close(kCloseCode);
      break;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      if (lparam != -1) ShowCloseButton();
      break;
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
      HideCloseButtonOutside();
      break;
    default:
      break;
  }
  return WindowImplBase::OnMessage(message, wparam, lparam);
}

}  // namespace shared
