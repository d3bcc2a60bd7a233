#include "ui/windowing/toast/notice_slot.h"

#include <algorithm>
#include <utility>

namespace shared {

void NoticeSlot::Put(Notice notice, int64_t now) {
  shown_ = std::move(notice);
  shown_since_ = now;
  waiting_.reset();
}

int64_t NoticeSlot::Offer(Notice notice, int64_t now) {
  waiting_ = std::move(notice);
  return WaitFrom(now);
}

bool NoticeSlot::TakeWaiting(int64_t now) {
  if (!waiting_ || WaitFrom(now) > 0) return false;
  Notice next = std::move(*waiting_);
  Put(std::move(next), now);
  return true;
}

int64_t NoticeSlot::WaitFrom(int64_t now) const {
  return std::max<int64_t>(0, shown_since_ + kMinShownMs - now);
}

}  // namespace shared
