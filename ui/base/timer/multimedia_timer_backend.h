#pragma once

#include <windows.h>

#include <memory>

#include "ui/base/pump/message_window.h"
#include "ui/base/timer/timer_manager.h"

namespace ui {

// The TimerManager's real clock and tick: the performance counter, and a periodic multimedia
// timer whose thread only posts a message to a hidden window of the owning thread, where the
// manager's tick runs. When no multimedia timer can be had, a window timer of the same period
// stands in. Created, used and destroyed on the owning thread; destruction stops the tick.
class MultimediaTimerBackend : public TimerManager::Backend {
 public:
  static constexpr UINT kMsgTick = WM_USER + 9999;

  MultimediaTimerBackend();
  ~MultimediaTimerBackend() override;

  int64_t Now() override;
  int64_t Frequency() override;
  bool StartTicking(UINT period_ms) override;
  void StopTicking() override;

 private:
  static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  static void CALLBACK OnMultimediaTick(UINT timer_id, UINT message, DWORD_PTR user,
                                        DWORD_PTR reserved1, DWORD_PTR reserved2);

  std::unique_ptr<kbase::MessageWindow> window_;
  UINT multimedia_timer_ = 0;
  bool window_timer_ = false;
};

}  // namespace ui
