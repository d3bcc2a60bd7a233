#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace DuiLib {

// One handler of an event source: a callable taking the event (as void*) and answering whether
// handling goes on.
class CDelegate {
 public:
  explicit CDelegate(std::function<bool(void*)> call) : call_(std::move(call)) {}
  bool operator()(void* param) const { return call_ ? call_(param) : true; }

 private:
  std::function<bool(void*)> call_;
};

template <typename O, typename T>
CDelegate MakeDelegate(O* object, bool (T::*method)(void*)) {
  return CDelegate([object, method](void* param) { return (object->*method)(param); });
}

inline CDelegate MakeDelegate(bool (*function)(void*)) { return CDelegate(function); }

// A list of delegates run in the order they were added. Calling runs them all and answers false
// when any answered false. Threads: the UI thread; a delegate may not add to the source it runs
// from.
class CEventSource {
 public:
  void operator+=(const CDelegate& delegate) { delegates_.push_back(delegate); }
  bool IsEmpty() const { return delegates_.empty(); }
  bool operator()(void* param) const {
    bool go_on = true;
    for (const CDelegate& delegate : std::vector<CDelegate>(delegates_)) {
      if (!delegate(param)) go_on = false;
    }
    return go_on;
  }

 private:
  std::vector<CDelegate> delegates_;
};

}  // namespace DuiLib
