#include "outbox.h"

#include <utility>

namespace ksio {

bool Outbox::Push(std::string frame) {
    std::lock_guard<std::mutex> lock(mutex_);
    frames_.push_back(std::move(frame));
    return frames_.size() == 1;
}

std::vector<std::string> Outbox::TakeUpTo(size_t bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> frames;
    size_t taken = 0;
    while (!frames_.empty() && (frames.empty() || taken + frames_.front().size() <= bytes)) {
        taken += frames_.front().size();
        frames.push_back(std::move(frames_.front()));
        frames_.pop_front();
    }
    return frames;
}

void Outbox::SetGreeting(std::string frame) {
    std::lock_guard<std::mutex> lock(mutex_);
    greeting_ = std::move(frame);
}

std::string Outbox::Greeting() {
    std::lock_guard<std::mutex> lock(mutex_);
    return greeting_;
}

}  // namespace ksio
