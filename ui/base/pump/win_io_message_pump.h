#pragma once

#include <windows.h>

#include "kestrum/common/scoped_handle.h"
#include "ui/base/callback/observer_list.h"
#include "ui/base/pump/win_message_pump.h"

namespace kbase {

// The pump of the IO loop: sleeps on an I/O completion port and hands each completion to its
// handler between tasks. Created, run and destroyed on one thread; WakeUp is safe on any thread
// and leaves at most one wake-up packet in the port.
class WinIOMessagePump : public WinMessagePump {
 public:
  class IOHandler;

  // One overlapped operation: the OVERLAPPED first, so that the pointer the port returns is the
  // context. A context whose handler was cleared is deleted by the pump when its completion
  // arrives, so such contexts must come from new.
  struct IOContext {
    OVERLAPPED overlapped;
    IOHandler* handler;
  };

  // Receives completions of handles associated with the port under this handler as the key.
  class IOHandler {
   public:
    virtual ~IOHandler() = default;
    // error is the operation's GetLastError code, 0 on success.
    virtual void OnIOCompleted(IOContext* context, DWORD bytes_transferred, DWORD error) = 0;
  };

  class IOObserver {
   public:
    virtual ~IOObserver() = default;
    virtual void WillProcessIOEvent() = 0;
    virtual void DidProcessIOEvent() = 0;
  };

  WinIOMessagePump();

  void WakeUpAt(int64_t run_time) override;

  // Observers are not owned and must be removed before they die. Loop thread only.
  void AddObserver(IOObserver* observer);
  void RemoveObserver(IOObserver* observer);

  // The port that handles are associated with (CreateIoCompletionPort with a handler as the
  // key); null when it could not be created.
  HANDLE completion_port() const { return port_.get(); }

 protected:
  void DoRunLoop() override;

 private:
  bool PostWakeUp() override;
  // Waits up to timeout ms for one completion and handles it; false when none arrived.
  bool WaitForIOCompletion(DWORD timeout);
  DWORD WaitTimeout() const;

  kestrum::common::ScopedHandle port_;
  ObserverList<IOObserver> observers_;
};

}  // namespace kbase
