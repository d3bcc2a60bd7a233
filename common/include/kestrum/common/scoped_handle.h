#pragma once

#include <windows.h>

#include <utility>

// ScopedHandle: the one owner of a Win32 kernel HANDLE (file, event, thread, process, snapshot,
// pipe, completion port), closed with CloseHandle when the owner goes, on every path.
//
// Both null and INVALID_HANDLE_VALUE mean "no handle", because the Win32 functions fail with one
// or the other (CreateFileW and CreateToolhelp32Snapshot with INVALID_HANDLE_VALUE, CreateEventW
// and OpenProcess with null): wrap the result as it comes and test the owner with its bool.
// get() returns the value as it was given. The pseudo-handle of GetCurrentProcess() equals
// INVALID_HANDLE_VALUE and is therefore never owned, which is right: it needs no closing.
//
// Move-only; a moved-from owner holds nothing. Not for GDI objects, window handles or FindFirstFile
// handles, which have their own release functions. Threads: like a plain pointer, one owner is used
// by one thread at a time; the handle itself may be used on any thread.

namespace kestrum::common {

class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() { Close(handle_); }

    // True for a value that names a handle (neither null nor INVALID_HANDLE_VALUE).
    static bool IsValid(HANDLE handle) {
        return handle != nullptr && handle != INVALID_HANDLE_VALUE;
    }

    explicit operator bool() const { return IsValid(handle_); }
    HANDLE get() const { return handle_; }

    // Closes the owned handle and owns handle instead; resetting to the handle already owned
    // keeps it open.
    void reset(HANDLE handle = nullptr) {
        if (handle == handle_) return;
        Close(std::exchange(handle_, handle));
    }

    // Gives the handle up without closing it; the caller closes it.
    [[nodiscard]] HANDLE release() { return std::exchange(handle_, nullptr); }

private:
    static void Close(HANDLE handle) {
        if (IsValid(handle)) CloseHandle(handle);
    }

    HANDLE handle_ = nullptr;
};

}  // namespace kestrum::common
