#pragma once

#include <cstdint>

namespace kbase {

// The wait-and-dispatch engine under a MessageLoop. A pump is owned by its loop and, apart from
// WakeUp, used only on the loop's thread.
class MessagePump {
 public:
  // Implemented by the loop: the pump calls back for work between its waits, on the loop's thread.
  class Delegate {
   public:
    virtual ~Delegate() = default;
    // Runs at most one immediate task; true if one ran (more may be waiting).
    virtual bool RunPendingWork() = 0;
    // Runs at most one due delayed task; true if one ran. Sets *next_run_time to the run time of
    // the earliest remaining delayed task (microseconds), or 0 when there is none.
    virtual bool RunDelayedWork(int64_t* next_run_time) = 0;
    // Runs idle-time work; true if something ran. This is where a requested quit is passed on.
    virtual bool RunIdleWork() = 0;
  };

  virtual ~MessagePump() = default;

  // Runs until Quit is called from inside one of the delegate's callbacks.
  virtual void Run(Delegate* delegate) = 0;
  // Ends the innermost Run after the current step. Loop thread only.
  virtual void Quit() = 0;
  // Makes the pump call RunPendingWork soon. Safe on any thread.
  virtual void WakeUp() = 0;
  // Makes the pump call RunDelayedWork at the given time (microseconds on NowMicroseconds).
  // Loop thread only.
  virtual void WakeUpAt(int64_t run_time) = 0;
};

}  // namespace kbase

namespace kbase {

// Milliseconds from now until run_time, rounded up, 0 when run_time has passed.
int64_t DelayMilliseconds(int64_t run_time, int64_t now);

// A wait time in milliseconds for the Win32 waits: at most 4294967294, one below INFINITE.
unsigned long ClampWaitMilliseconds(int64_t milliseconds);

}  // namespace kbase
