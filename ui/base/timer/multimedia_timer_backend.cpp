#include "ui/base/timer/multimedia_timer_backend.h"

#include <mmsystem.h>

namespace ui {

namespace {
constexpr wchar_t kWindowClass[] = L"UiAnimationTimerManager";
constexpr UINT_PTR kWindowTimerId = 1;
constexpr UINT kResolutionMs = 1;
}  // namespace

MultimediaTimerBackend::MultimediaTimerBackend()
    : window_(std::make_unique<kbase::MessageWindow>(kWindowClass, &WindowProcedure, this)) {}

MultimediaTimerBackend::~MultimediaTimerBackend() { StopTicking(); }

LRESULT CALLBACK MultimediaTimerBackend::WindowProcedure(HWND hwnd, UINT message, WPARAM wparam,
                                                         LPARAM lparam) {
  auto* backend = kbase::MessageWindow::UserData<MultimediaTimerBackend>(hwnd);
  if (backend && message == kMsgTick) {
    backend->OnTick();
    return 1;
  }
  if (backend && message == WM_TIMER && wparam == kWindowTimerId) {
    backend->OnTick();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

// Runs on the system's timer thread: nothing but a post to the owning thread.
void CALLBACK MultimediaTimerBackend::OnMultimediaTick(UINT, UINT, DWORD_PTR user, DWORD_PTR,
                                                       DWORD_PTR) {
  PostMessageW(reinterpret_cast<HWND>(user), kMsgTick, 0, 0);
}

int64_t MultimediaTimerBackend::Now() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

int64_t MultimediaTimerBackend::Frequency() {
  LARGE_INTEGER frequency;
  return QueryPerformanceFrequency(&frequency) ? frequency.QuadPart : 0;
}

bool MultimediaTimerBackend::StartTicking(UINT period_ms) {
  StopTicking();
  HWND window = window_->hwnd();
  if (!window) return false;
  multimedia_timer_ =
      timeSetEvent(period_ms, kResolutionMs, &OnMultimediaTick, reinterpret_cast<DWORD_PTR>(window),
                   TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
  if (multimedia_timer_ != 0) return true;
  // Multimedia timers are a scarce system resource; a window timer ticks less precisely but
  // keeps the timers running.
  window_timer_ = SetTimer(window, kWindowTimerId, period_ms, nullptr) != 0;
  return window_timer_;
}

void MultimediaTimerBackend::StopTicking() {
  if (multimedia_timer_ != 0) {
    timeKillEvent(multimedia_timer_);
    multimedia_timer_ = 0;
  }
  if (window_timer_) {
    KillTimer(window_->hwnd(), kWindowTimerId);
    window_timer_ = false;
  }
}

}  // namespace ui
