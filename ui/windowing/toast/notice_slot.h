#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace shared {

// One notice as a toast shows it.
struct Notice {
  std::wstring text;
  int duration_ms = 0;  // zero or less: until the user closes it
  // News of the room, such as a join or a leave: a later passing notice makes it stale. Any
  // other notice answers something the user did and is never dropped.
  bool passing = false;
};

// The notices that share one toast window: the one on screen and those waiting behind it, in
// the order they came. Of the passing notices only the latest waits, since that is what the user
// needs to know, so a burst of them (a room of hundreds joining and leaving) keeps one window
// and one waiting text however long it lasts; the answers to the user's own actions all wait
// their turn, being few. Each notice stays up at least kMinShownMs before the next replaces it,
// so that none flashes by unread.
//
// A plain value without window types; the owner's thread. Times are milliseconds of one steady
// clock.
class NoticeSlot {
 public:
  static constexpr int64_t kMinShownMs = 1500;

  // notice goes on screen at now, and nothing waits.
  void Put(Notice notice, int64_t now);
  // A newer notice at now: the milliseconds until it may go on screen (TakeWaiting); 0 when it
  // may at once. The caller asks again then.
  int64_t Offer(Notice notice, int64_t now);
  // At now, the waiting notice goes on screen when the shown one has been up long enough: true
  // when it did, and shown() is that notice.
  bool TakeWaiting(int64_t now);

  const Notice& shown() const { return shown_; }
  bool waiting() const { return !waiting_.empty(); }

 private:
  int64_t WaitFrom(int64_t now) const;

  Notice shown_;
  int64_t shown_since_ = 0;
  std::deque<Notice> waiting_;
};

}  // namespace shared
