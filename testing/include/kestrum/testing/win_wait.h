#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

#include "kestrum/testing/wait.h"

// The waits of the Windows builds, on the tests' timeout policy (wait.h).
//
// PumpUntil waits for what the calling thread's own window messages do: a window that closes, a
// timer that fires, a control that reaches a state. The thread runs its messages while it waits
// (a plain wait would block the very messages it waits for).
//
//     ASSERT_TRUE(kestrum::testing_support::PumpUntil([hwnd] { return !IsWindow(hwnd); }));
//
// WaitForHandle waits for a thread, a process or an event that another thread sets.

namespace kestrum::testing_support {

// A look at each message before it is translated and dispatched: true when it took the message,
// which is then neither translated nor dispatched (a window library's own translation, or a
// message the test keeps for itself).
using MessageFilter = std::function<bool(MSG&)>;

// Translates and dispatches the messages queued for this thread now, each through filter first
// when there is one, and returns.
void PumpPending(const MessageFilter& filter = nullptr);

// Runs this thread's messages (PumpPending) until done() holds; false when it still does not
// once timeout has passed. done() is asked on this thread after each round of messages.
bool PumpUntil(const std::function<bool()>& done, const MessageFilter& filter = nullptr,
               std::chrono::milliseconds timeout = TestTimeout());

// Waits until handle is signalled, without running messages; false when it is not once timeout
// has passed (or the handle cannot be waited on).
bool WaitForHandle(HANDLE handle, std::chrono::milliseconds timeout = TestTimeout());

}  // namespace kestrum::testing_support
