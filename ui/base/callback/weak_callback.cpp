#include "ui/base/callback/weak_callback.h"

namespace kbase {

SupportWeakCallback::~SupportWeakCallback() = default;

std::weak_ptr<WeakFlag> SupportWeakCallback::AcquireWeakFlag() {
  // Atomic accesses: another thread may acquire the flag (to post a task bound to this object)
  // at the same moment as the owner's thread; both must end up with the same flag.
  std::shared_ptr<WeakFlag> current = std::atomic_load(&weak_flag_);
  if (current) return current;
  // One allocation holds the counts and the empty flag; a non-null pointer keeps "has a flag"
  // a plain test.
  std::shared_ptr<WeakFlag> fresh = std::make_shared<WeakFlag>();
  if (std::atomic_compare_exchange_strong(&weak_flag_, &current, fresh)) return fresh;
  return current;  // another thread installed one first; current now holds it
}

void SupportWeakCallback::ReleaseWeakFlag() {
  std::atomic_store(&weak_flag_, std::shared_ptr<WeakFlag>());
}

}  // namespace kbase
