#include "ui/base/thread/framework_thread.h"

#include <utility>

#include "ui/base/loop/io_message_loop.h"
#include "ui/base/loop/message_loop.h"
#include "ui/base/loop/message_loop_factory.h"
#include "ui/base/loop/message_loop_proxy.h"
#include "ui/base/loop/ui_message_loop.h"
#include "ui/base/thread/framework_thread_record.h"
#include "ui/base/thread/thread_local_slot.h"
#include "ui/base/thread/thread_registry.h"

namespace kbase {

namespace {
ThreadLocalSlot g_current_record;
}  // namespace

FrameworkThread::FrameworkThread(std::string name, std::shared_ptr<MessageLoopFactory> factory)
    : factory_(std::move(factory)),
      start_event_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      name_(std::move(name)) {}

FrameworkThread::~FrameworkThread() {
  if (running_) {
    RequestStop();
    JoinAndCloseHandle();
    running_ = false;
    stop_requested_ = false;
  }
}

ThreadLocalSlot& FrameworkThread::CurrentThreadSlot() { return g_current_record; }

FrameworkThreadRecord* FrameworkThread::CurrentRecord() {
  return static_cast<FrameworkThreadRecord*>(g_current_record.Get());
}

void FrameworkThread::MarkExitedCleanly(bool exited_cleanly) {
  if (FrameworkThreadRecord* record = CurrentRecord()) record->exited_cleanly = exited_cleanly;
}

void FrameworkThread::RunLoopHere(int loop_kind, Dispatcher* dispatcher) {
  loop_kind_ = loop_kind;
  dispatcher_ = dispatcher;
  running_ = true;
  Run();
}

void FrameworkThread::Run() {
  // A body started inside another body on the same OS thread shares the outer record; only the
  // body that created the record deletes it.
  std::unique_ptr<FrameworkThreadRecord> own_record;
  FrameworkThreadRecord* record = CurrentRecord();
  if (!record) {
    own_record = std::make_unique<FrameworkThreadRecord>();
    own_record->thread = this;
    record = own_record.get();
    CurrentThreadSlot().Set(record);
  }
  record->exited_cleanly = false;
  set_thread_id(GetCurrentThreadId());

  InstallLoop(CreateLoop());
  BeforeRun();
  SetEvent(start_event_.get());
  message_loop_->Run(dispatcher_);
  AfterRun();
  RemoveLoop().reset();
  if (loop_kind_ == kCustomLoop) factory_.reset();

  set_thread_id(0);
  if (own_record) {
    // The registry holds a plain pointer to this object: never leave it behind.
    ThreadRegistry::Forget(this);
    CurrentThreadSlot().Set(nullptr);
  }
}

std::unique_ptr<MessageLoop> FrameworkThread::CreateLoop() {
  switch (loop_kind_) {
    case kCustomLoop:
      if (factory_) {
        if (std::unique_ptr<MessageLoop> loop = factory_->CreateMessageLoop()) return loop;
      }
      return std::make_unique<MessageLoop>();  // no usable factory: a plain loop
    case kIOLoop:
      return std::make_unique<IOMessageLoop>();
    case kUILoop:
      return std::make_unique<UIMessageLoop>();
    default:
      return std::make_unique<MessageLoop>();
  }
}

void FrameworkThread::InstallLoop(std::unique_ptr<MessageLoop> loop) {
  std::shared_ptr<MessageLoopProxy> proxy = loop->proxy();
  AutoLock hold(loop_lock_);
  message_loop_ = std::move(loop);
  loop_proxy_ = std::move(proxy);
}

std::unique_ptr<MessageLoop> FrameworkThread::RemoveLoop() {
  AutoLock hold(loop_lock_);
  loop_proxy_.reset();
  return std::move(message_loop_);
}

std::shared_ptr<MessageLoopProxy> FrameworkThread::LoopProxy() {
  AutoLock hold(loop_lock_);
  return loop_proxy_;
}

bool FrameworkThread::WaitUntilStarted(DWORD timeout_ms) {
  return start_event_ && WaitForSingleObject(start_event_.get(), timeout_ms) == WAIT_OBJECT_0;
}

void FrameworkThread::RequestStop() {
  std::shared_ptr<MessageLoopProxy> proxy;
  {
    AutoLock hold(loop_lock_);
    if (stop_requested_ || !loop_proxy_) return;
    stop_requested_ = true;
    proxy = loop_proxy_;
  }
  // Through the proxy rather than the loop pointer: a stop racing the end of the body is then
  // dropped instead of reaching a destroyed loop.
  proxy->PostNonNested(ToWeakCallback(&FrameworkThread::QuitCurrentLoop));
}

void FrameworkThread::QuitCurrentLoop() {
  if (MessageLoop* loop = MessageLoop::Current()) loop->Quit();
  MarkExitedCleanly(true);
}

}  // namespace kbase
