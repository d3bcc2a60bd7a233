#pragma once

namespace kbase {

class FrameworkThread;

// What the framework knows about the OS thread that runs a framework thread body. One per such
// OS thread, in its thread-local slot (FrameworkThread::CurrentThreadSlot); touched only by that
// thread.
struct FrameworkThreadRecord {
  FrameworkThread* thread = nullptr;
  bool exited_cleanly = false;
  int registration_count = 0;
  int registered_id = -1;
};

}  // namespace kbase
