#pragma once

#include <utility>

// ScopeExit: runs an action when the scope ends, on every path out of it (return or exception),
// for the one-off clean-up that has no owning type of its own:
//
//     nestable_tasks_allowed_ = false;
//     const kestrum::common::ScopeExit reallow([this] { nestable_tasks_allowed_ = true; });
//
// To put a variable's earlier value back, ScopedRestore (scoped_restore.h) says it better. The
// action runs in a destructor and must not throw (that would end the process). Not copyable or
// movable: the action runs once, for the scope that made it.

namespace kestrum::common {

template <class Action>
class ScopeExit {
public:
    explicit ScopeExit(Action action) : action_(std::move(action)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { action_(); }

private:
    Action action_;
};

template <class Action>
ScopeExit(Action) -> ScopeExit<Action>;

}  // namespace kestrum::common
