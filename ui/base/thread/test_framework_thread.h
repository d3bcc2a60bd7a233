#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "ui/base/thread/framework_thread.h"

namespace kbase {

// A framework thread whose hooks are set by the test, run on its own OS thread.
class TestFrameworkThread : public FrameworkThread {
 public:
  explicit TestFrameworkThread(std::shared_ptr<MessageLoopFactory> factory = nullptr)
      : FrameworkThread("TestThread", std::move(factory)) {}
  ~TestFrameworkThread() override { Join(); }

  // Starts the body on a new OS thread and waits until BeforeRun has returned.
  bool Start(int loop_kind) {
    os_thread_ = std::thread([this, loop_kind] { RunLoopHere(loop_kind, nullptr); });
    return WaitUntilStarted(5000);
  }

  void StopAndJoin() {
    RequestStop();
    Join();
  }

  void Join() {
    if (os_thread_.joinable()) os_thread_.join();
  }

  std::function<void()> before_run;
  std::function<void()> after_run;

 protected:
  void BeforeRun() override {
    if (before_run) before_run();
  }
  void AfterRun() override {
    if (after_run) after_run();
  }

 private:
  std::thread os_thread_;
};

}  // namespace kbase
