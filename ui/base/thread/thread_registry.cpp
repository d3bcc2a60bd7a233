#include "ui/base/thread/thread_registry.h"

#include <utility>

#include "ui/base/loop/message_loop_proxy.h"
#include "ui/base/thread/framework_thread.h"
#include "ui/base/thread/framework_thread_record.h"

namespace kbase {

ThreadRegistry& ThreadRegistry::Instance() {
  // Never destroyed: threads that outlive main (a detached framework thread) may still post
  // while static destructors run.
  static ThreadRegistry* const registry = new ThreadRegistry();
  return *registry;
}

bool ThreadRegistry::RegisterCurrentThread(int identifier) {
  if (identifier < 0) return false;
  FrameworkThreadRecord* record = FrameworkThread::CurrentRecord();
  if (!record) return false;
  // A second identifier would leave the first behind at unregistration, pointing at a thread
  // that may be gone.
  if (record->registration_count > 0 && record->registered_id != identifier) return false;
  ThreadRegistry& registry = Instance();
  {
    AutoLock hold(registry.lock_);
    auto inserted = registry.threads_.emplace(identifier, record->thread);
    if (!inserted.second && inserted.first->second != record->thread) return false;
  }
  ++record->registration_count;
  record->registered_id = identifier;
  return true;
}

bool ThreadRegistry::UnregisterCurrentThread() {
  FrameworkThreadRecord* record = FrameworkThread::CurrentRecord();
  if (!record || record->registration_count < 1) return false;
  if (--record->registration_count > 0) return true;
  ThreadRegistry& registry = Instance();
  {
    AutoLock hold(registry.lock_);
    auto it = registry.threads_.find(record->registered_id);
    if (it != registry.threads_.end() && it->second == record->thread) registry.threads_.erase(it);
  }
  record->registered_id = -1;
  return true;
}

bool ThreadRegistry::PostTask(int identifier, Task task) {
  std::shared_ptr<MessageLoopProxy> proxy = GetLoopProxy(identifier);
  return proxy && proxy->Post(std::move(task));
}

bool ThreadRegistry::PostDelayedTask(int identifier, Task task, int64_t delay) {
  std::shared_ptr<MessageLoopProxy> proxy = GetLoopProxy(identifier);
  return proxy && proxy->PostAfter(std::move(task), delay);
}

std::shared_ptr<MessageLoopProxy> ThreadRegistry::GetLoopProxy(int identifier) {
  ThreadRegistry& registry = Instance();
  // Look-up and copy under the lock: the thread cannot unregister (and die) in between.
  AutoLock hold(registry.lock_);
  auto it = registry.threads_.find(identifier);
  if (it == registry.threads_.end()) return nullptr;
  return it->second->LoopProxy();
}

void ThreadRegistry::Forget(FrameworkThread* thread) {
  ThreadRegistry& registry = Instance();
  AutoLock hold(registry.lock_);
  for (auto it = registry.threads_.begin(); it != registry.threads_.end();) {
    it = it->second == thread ? registry.threads_.erase(it) : std::next(it);
  }
}

}  // namespace kbase
