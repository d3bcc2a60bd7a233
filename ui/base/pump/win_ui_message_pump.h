#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "ui/base/callback/observer_list.h"
#include "ui/base/pump/message_window.h"
#include "ui/base/pump/win_message_pump.h"

namespace kbase {

// The pump of the UI loop: a Windows message loop that also runs the loop's tasks. A hidden
// message-only window receives the pump's own "have work" message and its delayed-work timer.
// Created, run and destroyed on one thread (the window belongs to it); WakeUp is safe on any
// thread and leaves at most one "have work" message in the queue.
class WinUIMessagePump : public WinMessagePump {
 public:
  // Told about every window message the pump dispatches (not about consumed ones).
  class UIObserver {
   public:
    virtual ~UIObserver() = default;
    virtual void WillProcessMessage(const MSG& message) = 0;
    virtual void DidProcessMessage(const MSG& message) = 0;
  };

  static constexpr UINT kMsgHaveWork = WM_USER + 1;
  // The code under which every message is offered to WH_MSGFILTER hooks first.
  static constexpr int kMessageFilterCode = 0x5001;

  WinUIMessagePump();
  ~WinUIMessagePump() override;

  void WakeUpAt(int64_t run_time) override;

  // Observers are not owned and must be removed before they die. Loop thread only.
  void AddObserver(UIObserver* observer);
  void RemoveObserver(UIObserver* observer);

  HWND message_window() const { return window_->hwnd(); }

  // The delayed-work timer period for a delay: window timers below 10 ms are not honoured.
  static UINT TimerPeriod(int64_t delay_ms);

 protected:
  void DoRunLoop() override;
  virtual void WillProcessMessage(const MSG& message);
  virtual void DidProcessMessage(const MSG& message);

 private:
  static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  bool PostWakeUp() override;
  void HandleWorkMessage();
  void HandleTimerMessage();
  bool ProcessNextWindowsMessage();
  bool ProcessMessage(const MSG& message);
  bool ProcessPumpReplacementMessage();
  void WaitForWork();
  UINT_PTR TimerId() const { return reinterpret_cast<UINT_PTR>(this); }

  std::unique_ptr<MessageWindow> window_;
  ObserverList<UIObserver> observers_;
};

}  // namespace kbase
