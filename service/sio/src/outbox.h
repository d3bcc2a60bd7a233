#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace ksio {

// Frames waiting to be sent, in emit order, and the greeting that opens every namespace
// connection. Filled from any thread, emptied by the network thread once the namespace is
// connected, a little at a time, so that what the connection must answer at once (a pong) never
// waits behind all of it.
class Outbox {
public:
    // The frame sent first on every namespace connection; empty: none.
    void SetGreeting(std::string frame);
    std::string Greeting();
    // True when the outbox was empty before, i.e. when the caller must get a drain scheduled.
    bool Push(std::string frame);
    // Moves the oldest waiting frames out, as many as fit in bytes, and at least one if any wait.
    std::vector<std::string> TakeUpTo(size_t bytes);

private:
    std::mutex mutex_;
    std::deque<std::string> frames_;
    std::string greeting_;
};

}  // namespace ksio
