#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace ksio {

// Frames waiting to be sent, in emit order, and the greeting that opens every namespace
// connection. Filled from any thread, emptied by the network thread once the namespace is
// connected.
class Outbox {
public:
    // The frame sent first on every namespace connection; empty: none.
    void SetGreeting(std::string frame);
    // The greeting (when set), then every waiting frame: what a fresh connection sends.
    std::vector<std::string> TakeForConnect();
    // True when the outbox was empty before, i.e. when the caller must get a drain scheduled.
    bool Push(std::string frame);
    // Moves every waiting frame out, oldest first.
    std::vector<std::string> TakeAll();

private:
    std::mutex mutex_;
    std::vector<std::string> frames_;
    std::string greeting_;
};

}  // namespace ksio
