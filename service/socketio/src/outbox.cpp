#include "outbox.h"

#include <utility>

namespace ksio {

bool Outbox::Push(std::string frame) {
    std::lock_guard<std::mutex> lock(mutex_);
    frames_.push_back(std::move(frame));
    return frames_.size() == 1;
}

std::vector<std::string> Outbox::TakeAll() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> frames;
    frames.swap(frames_);
    return frames;
}

}  // namespace ksio
