#include "outbox.h"

#include <iterator>
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

void Outbox::SetGreeting(std::string frame) {
    std::lock_guard<std::mutex> lock(mutex_);
    greeting_ = std::move(frame);
}

std::vector<std::string> Outbox::TakeForConnect() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> frames;
    if (!greeting_.empty()) frames.push_back(greeting_);
    frames.insert(frames.end(), std::make_move_iterator(frames_.begin()),
                  std::make_move_iterator(frames_.end()));
    frames_.clear();
    return frames;
}

}  // namespace ksio
