#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace kbase {

// Something that tidies up lazily once no iteration over it is in progress.
class LazyEraser {
 public:
  virtual ~LazyEraser() = default;
  virtual void Compact() = 0;
};

// A list of non-owned observers that tolerates changes while it notifies: an observer removed
// during a notification leaves a hole that is compacted once the outermost notification ends,
// and an observer added meanwhile is notified in the same pass. Single-threaded: used only on
// the thread that owns the list.
template <typename T>
class ObserverList : public LazyEraser {
 public:
  // Null and already listed observers are ignored.
  void AddObserver(T* observer) {
    if (!observer || std::find(observers_.begin(), observers_.end(), observer) != observers_.end())
      return;
    observers_.push_back(observer);
  }

  void RemoveObserver(T* observer) {
    auto it = std::find(observers_.begin(), observers_.end(), observer);
    if (it == observers_.end()) return;
    if (notify_depth_ > 0) {
      *it = nullptr;
    } else {
      observers_.erase(it);
    }
  }

  bool HasObservers() const {
    return std::any_of(observers_.begin(), observers_.end(), [](T* o) { return o != nullptr; });
  }

  // Calls (observer->*method)(args...) on every listed observer, in the order they were added.
  template <typename Method, typename... Args>
  void Notify(Method method, const Args&... args) {
    ++notify_depth_;
    for (std::size_t i = 0; i < observers_.size(); ++i) {  // size re-read: additions are seen
      if (T* observer = observers_[i]) (observer->*method)(args...);
    }
    if (--notify_depth_ < 1) Compact();
  }

  void Compact() override {
    if (notify_depth_ != 0) return;
    observers_.erase(std::remove(observers_.begin(), observers_.end(), nullptr), observers_.end());
  }

 private:
  int notify_depth_ = 0;
  std::vector<T*> observers_;
};

}  // namespace kbase
