#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace kbase {

// The target of weak references handed out by SupportWeakCallback. It carries no data: only the
// reference counts of the shared pointer that owns it matter.
class WeakFlag {};

// Base of every object that callbacks may outlive (windows, controls, threads, loop proxies...).
// Callbacks made from it hold only a weak reference to its flag and turn into no-ops once the
// object is destroyed (or, for WeakCallbackFlag, cancelled).
//
// Threads: AcquireWeakFlag and the weak references it returns may be used on any thread. The
// object itself is destroyed, and a WeakCallbackFlag cancelled, on the thread that runs its
// callbacks; a weak callback only protects its owner when it runs on that thread, because the
// liveness check and the call are not one atomic step.
class SupportWeakCallback {
 public:
  SupportWeakCallback() = default;
  // A copy is a new owner: it does not share the original's callbacks.
  SupportWeakCallback(const SupportWeakCallback&) {}
  SupportWeakCallback& operator=(const SupportWeakCallback&) { return *this; }
  virtual ~SupportWeakCallback();

  // A weak reference to this object's flag, creating the flag when there is none or it was
  // released (so callbacks made after a cancel are valid again).
  std::weak_ptr<WeakFlag> AcquireWeakFlag();

  // Wraps a callable so that it runs only while this object (and its current flag) lives.
  template <typename F>
  auto ToWeakCallback(F&& callable);

 protected:
  // Releases the flag: every callback made so far expires at once.
  void ReleaseWeakFlag();

 private:
  std::shared_ptr<WeakFlag> weak_flag_;
};

// A member object whose only purpose is to cancel a group of callbacks while its owner lives on.
class WeakCallbackFlag : public SupportWeakCallback {
 public:
  void Cancel() { ReleaseWeakFlag(); }
};

// A callable that runs the wrapped callable only while its flag lives. An expired callback does
// nothing and returns a value-initialised result (false for event handlers answering bool).
template <typename F>
class WeakCallback {
 public:
  WeakCallback(std::weak_ptr<WeakFlag> flag, F callable)
      : flag_(std::move(flag)), callable_(std::move(callable)) {}

  bool Expired() const { return flag_.expired(); }

  template <typename... Args>
  auto operator()(Args&&... args) -> std::invoke_result_t<F&, Args&&...> {
    using Result = std::invoke_result_t<F&, Args&&...>;
    if (flag_.expired()) return Result();
    return std::invoke(callable_, std::forward<Args>(args)...);
  }

  template <typename... Args>
  auto operator()(Args&&... args) const -> std::invoke_result_t<const F&, Args&&...> {
    using Result = std::invoke_result_t<const F&, Args&&...>;
    if (flag_.expired()) return Result();
    return std::invoke(callable_, std::forward<Args>(args)...);
  }

 private:
  std::weak_ptr<WeakFlag> flag_;
  F callable_;
};

template <typename F>
auto SupportWeakCallback::ToWeakCallback(F&& callable) {
  return WeakCallback<std::decay_t<F>>(AcquireWeakFlag(), std::forward<F>(callable));
}

// Binds a member function of an object that supports weak callbacks, with leading arguments
// (std::placeholders allowed), into a weak callback guarded by the object's flag.
template <typename Method, typename Owner, typename... Args>
auto Bind(Method method, Owner* owner, Args&&... args) {
  static_assert(std::is_base_of_v<SupportWeakCallback, Owner>,
                "the owner must derive from kbase::SupportWeakCallback");
  auto bound = std::bind(method, owner, std::forward<Args>(args)...);
  return WeakCallback<decltype(bound)>(owner->AcquireWeakFlag(), std::move(bound));
}

}  // namespace kbase
