#include "ui/windowing/toast/toast.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <utility>

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
constexpr UINT_PTR kNextNoticeTimerId = 2;
constexpr UINT kCloseCode = 1;

// The toast of this thread that takes further notices, null while none does.
thread_local Toast* t_on_screen = nullptr;

WPARAM NextSerial() {
  static std::atomic<WPARAM> serial{0};
  return ++serial;
}

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

Toast::Toast() : serial_(NextSerial()) {}

Toast::~Toast() {
  if (t_on_screen == this) t_on_screen = nullptr;
}

void Toast::Show(const std::wstring& content, int duration, HWND parent) {
  ShowNotice(Notice{content, duration, false}, parent);
}

void Toast::ShowPassing(const std::wstring& content, int duration, HWND parent) {
  ShowNotice(Notice{content, duration, true}, parent);
}

void Toast::ShowNotice(Notice notice, HWND parent) {
  if (Toast* shown = t_on_screen) {
    if (shown->parent_ == parent) {
      shown->Offer(std::move(notice));
      return;
    }
    DestroyWindow(shown->GetHWND());  // deletes it, and t_on_screen with it
  }
  auto* toast = new Toast;
  // A failed Create has deleted the toast already.
  if (!toast->Create(parent, L"", kToastStyle, 0, true, RECT{0, 0, 0, 0})) return;
  toast->parent_ = parent;
  t_on_screen = toast;
  toast->notices_.Put(std::move(notice), NowMs());
  toast->Present();
}

void Toast::Present() {
  const Notice& notice = notices_.shown();
  serial_ = NextSerial();
  KillTimer(GetHWND(), kCloseTimerId);
  SetContent(notice.text);
  SetDuration(notice.duration_ms);
  FitAutoSizedRoot();  // so that it is centred at the size the text gives it
  CenterWindow();
  Show(true, false);
}

void Toast::Offer(Notice notice) {
  const int64_t wait = notices_.Offer(std::move(notice), NowMs());
  if (wait == 0) {
    ShowWaiting();
    return;
  }
  SetTimer(GetHWND(), kNextNoticeTimerId, static_cast<UINT>(wait), nullptr);
}

void Toast::ShowWaiting() {
  if (notices_.TakeWaiting(NowMs())) Present();
}

void Toast::OnNoticeTimedOut() {
  // A waiting notice not yet due comes with the timer its offer set.
  if (notices_.waiting()) {
    ShowWaiting();
    return;
  }
  Close(kCloseCode);
}

void Toast::Close(UINT code) {
  // Closing, it takes no more notices, and the one waiting goes with it.
  if (t_on_screen == this) t_on_screen = nullptr;
  KillTimer(GetHWND(), kNextNoticeTimerId);
  WindowImplBase::Close(code);
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
      if (wparam == serial_) OnNoticeTimedOut();
      return 0;
    case WM_TIMER:
      if (wparam != kCloseTimerId && wparam != kNextNoticeTimerId) break;
      KillTimer(GetHWND(), wparam);
      if (wparam == kCloseTimerId) OnNoticeTimedOut();
      if (wparam == kNextNoticeTimerId) ShowWaiting();
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
