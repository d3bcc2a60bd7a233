#pragma once

#include <functional>
#include <utility>

// A registration a window made on another object (a target window, a receiver, an observer),
// as a maker returns it: the maker does the registering, this object the undoing, once, when it
// is reset, replaced by another or destroyed. Empty, it undoes nothing.
//
// Makers have the shape
//     [[nodiscard]] CWindowRegistration AttachWindow(CObserverRelay& relay, HWND window);
// and a window hands them to its frame (CDuiFrameWindow::registerWith), which keeps what they
// return and undoes it as the window goes; no window resets one by hand.
//
// Threads: made, reset and destroyed on the window's thread. Move-only.
class CWindowRegistration {
public:
    CWindowRegistration() = default;
    explicit CWindowRegistration(std::function<void()> undo) : undo_(std::move(undo)) {}
    ~CWindowRegistration() { reset(); }
    CWindowRegistration(CWindowRegistration&& other) noexcept : undo_(std::move(other.undo_)) {
        other.undo_ = nullptr;
    }
    CWindowRegistration& operator=(CWindowRegistration&& other) noexcept {
        if (this == &other) return *this;
        reset();
        undo_ = std::move(other.undo_);
        other.undo_ = nullptr;
        return *this;
    }
    CWindowRegistration(const CWindowRegistration&) = delete;
    CWindowRegistration& operator=(const CWindowRegistration&) = delete;

    // Undoes the registration now; later resets do nothing.
    void reset() {
        std::function<void()> undo = std::move(undo_);
        undo_ = nullptr;
        if (undo) undo();
    }
    explicit operator bool() const { return static_cast<bool>(undo_); }

private:
    std::function<void()> undo_;
};
