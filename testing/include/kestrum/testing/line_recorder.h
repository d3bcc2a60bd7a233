#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "kestrum/testing/wait.h"

namespace kestrum::testing_support {

// What a fake observer, listener or handler was told, written down as one line per call in the
// order the calls came, for a test that waits on them:
//
//     void onUserLeave(const char* uid) override { lines_.Add(std::string("leave(") + uid + ")"); }
//     ...
//     ASSERT_TRUE(observer.lines_.WaitForPrefix("leave("));
//     EXPECT_EQ(observer.lines_.Lines(), (std::vector<std::string>{"open", "leave(7)"}));
//
// Threads: any thread may call any member; the calls usually arrive on the code's own threads
// and the waits block the test thread. A caller that keeps more than the line (arguments, say)
// stores it before Add, so that a wait that returns finds it. Not copyable: the lines belong to
// one recorder (share a recorder through a shared_ptr when the calls may outlive its owner).
class LineRecorder {
public:
    LineRecorder() = default;
    LineRecorder(const LineRecorder&) = delete;
    LineRecorder& operator=(const LineRecorder&) = delete;

    void Add(std::string line);

    // Every line so far, in order.
    std::vector<std::string> Lines() const;
    // How many lines equal line / start with prefix ("" counts every line).
    size_t Count(const std::string& line) const;
    size_t CountPrefix(const std::string& prefix) const;

    // Each waits until count lines equal line / start with prefix; false when fewer did by the
    // timeout (TestTimeout() unless given).
    bool WaitFor(const std::string& line, size_t count = 1,
                 std::chrono::milliseconds timeout = TestTimeout()) const;
    bool WaitForPrefix(const std::string& prefix, size_t count = 1,
                       std::chrono::milliseconds timeout = TestTimeout()) const;
    // Waits until done(lines) holds; false when it still did not at the timeout. done runs with
    // the recorder locked: it must not call the recorder.
    bool WaitUntil(const std::function<bool(const std::vector<std::string>&)>& done,
                   std::chrono::milliseconds timeout = TestTimeout()) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::string> lines_;
};

}  // namespace kestrum::testing_support
