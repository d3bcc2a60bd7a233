#include "app/windows/chat/chat_backlog.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace ZuvraKestrum::Chat {

void ChatBacklog::arrive(Arrival arrival) {
    waiting_.push_back(std::move(arrival));
    if (waiting_.size() > kMaxKept) waiting_.pop_front();
}

ChatBacklog::Batch ChatBacklog::take(size_t kept) {
    Batch batch;
    const size_t count = std::min(waiting_.size(), kMaxBatch);
    const auto end = waiting_.begin() + static_cast<std::ptrdiff_t>(count);
    batch.add.assign(std::make_move_iterator(waiting_.begin()), std::make_move_iterator(end));
    waiting_.erase(waiting_.begin(), end);
    if (kept + count > kMaxKept) batch.dropOldest = std::min(kept, kept + count - kMaxKept);
    return batch;
}

}  // namespace ZuvraKestrum::Chat
