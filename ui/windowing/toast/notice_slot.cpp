#include "ui/windowing/toast/notice_slot.h"

#include <algorithm>
#include <utility>

namespace shared {

void NoticeSlot::Put(Notice notice, int64_t now) {
  shown_ = std::move(notice);
  shown_since_ = now;
  waiting_.clear();
}

int64_t NoticeSlot::Offer(Notice notice, int64_t now) {
  if (notice.passing) {
    waiting_.erase(std::remove_if(waiting_.begin(), waiting_.end(),
                                  [](const Notice& waiting) { return waiting.passing; }),
                   waiting_.end());
  }
  waiting_.push_back(std::move(notice));
  return WaitFrom(now);
}

bool NoticeSlot::TakeWaiting(int64_t now) {
  if (waiting_.empty() || WaitFrom(now) > 0) return false;
  shown_ = std::move(waiting_.front());
  shown_since_ = now;
  waiting_.pop_front();
  return true;
}

int64_t NoticeSlot::WaitFrom(int64_t now) const {
  return std::max<int64_t>(0, shown_since_ + kMinShownMs - now);
}

}  // namespace shared
