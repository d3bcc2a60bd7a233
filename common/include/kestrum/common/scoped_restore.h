#pragma once

#include <utility>

// ScopedRestore<T>: gives a variable a new value for the rest of the scope and puts the saved
// value back when the scope ends, also when it ends by an exception. The typical use is state
// that a nested run replaces and its end must bring back:
//
//     kestrum::common::ScopedRestore restore(run_state_, &state);
//
// The variable must outlive the restorer. Restoring assigns the saved value whatever the variable
// holds by then, so nested restorers of one variable unwind in order. Not copyable or movable:
// the restore belongs to the scope that made it.

namespace kestrum::common {

template <class T>
class ScopedRestore {
public:
    ScopedRestore(T& variable, T value)
        : variable_(variable), saved_(std::exchange(variable, std::move(value))) {}
    ScopedRestore(const ScopedRestore&) = delete;
    ScopedRestore& operator=(const ScopedRestore&) = delete;
    ~ScopedRestore() { variable_ = std::move(saved_); }

private:
    T& variable_;
    T saved_;
};

// The variable alone decides T: ScopedRestore restore(pointer, nullptr) restores a pointer.
template <class T, class U>
ScopedRestore(T&, U&&) -> ScopedRestore<T>;

}  // namespace kestrum::common
