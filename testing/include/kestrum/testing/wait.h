#pragma once

#include <chrono>
#include <functional>

// The one timeout policy of the tests, and the plain wait for a result that another thread
// produces.
//
// A test waits for something asynchronous (a reply from the back-end, a window that closes, a
// call on a worker) until it has happened or TestTimeout() has passed, and reports a failure
// then. The timeout is a guard against hanging, never a timing expectation: a passing test does
// not wait for it, so it is generous. A test that does pin a time (how soon something must
// happen, or that nothing happens for a while) states its own duration beside its assertion.
//
// Where a test waits:
//   - for lines written down on other threads: LineRecorder (line_recorder.h);
//   - for what this thread's window messages do: PumpUntil (win_wait.h, Windows builds);
//   - for anything else it can ask about: WaitUntil (below).
// All three use TestTimeout() unless told otherwise.

namespace kestrum::testing_support {

// The default bound of every wait, before scaling.
inline constexpr std::chrono::milliseconds kTestTimeout{15000};

// The variable that stretches the bound on a slow machine: a positive factor ("3", "2.5").
inline constexpr char kTestTimeoutScaleVariable[] = "KESTRUM_TEST_TIMEOUT_SCALE";

// kTestTimeout multiplied by scale, a positive decimal number; kTestTimeout itself when scale is
// null, empty, not a number or not positive.
std::chrono::milliseconds ScaledTestTimeout(const char* scale);

// kTestTimeout scaled by the environment's KESTRUM_TEST_TIMEOUT_SCALE, read once. Any thread.
std::chrono::milliseconds TestTimeout();

// Asks done() on the calling thread, about every 10 ms, until it holds; false when it still does
// not once timeout has passed. For results that need no message loop on this thread.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = TestTimeout());

}  // namespace kestrum::testing_support
