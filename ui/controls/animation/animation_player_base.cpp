#include "ui/controls/animation/animation_player_base.h"

#include <cstdlib>
#include <utility>

namespace ui {

AnimationPlayerBase::AnimationPlayerBase(AnimationClock* clock)
    : clock_(clock ? clock : AnimationClock::System()) {}

AnimationPlayerBase::~AnimationPlayerBase() = default;

void AnimationPlayerBase::Reset() {
  // A reset player is idle: ticks still pending would drive the cleared values.
  CancelTicks();
  start_value_ = 0;
  end_value_ = 0;
  current_value_ = 0;
  total_time_ = kTimeNotSet;
  elapsed_ = 0;
  tick_period_ = 0;
  last_counter_ = 0;
  frequency_ = 0;
  playing_ = false;
  reversed_ = false;
}

void AnimationPlayerBase::PlayFromStart() {
  CancelTicks();
  elapsed_ = 0;
  reversed_ = false;
  Run();
}

void AnimationPlayerBase::Pause() {
  CancelTicks();
  playing_ = false;
}

void AnimationPlayerBase::PlayForward() {
  CancelTicks();
  if (reversed_) TurnRound();
  reversed_ = false;
  first_run_ = false;
  Run();
}

void AnimationPlayerBase::PlayBackward() {
  CancelTicks();
  if (!reversed_) TurnRound();
  if (first_run_) elapsed_ = 0;
  reversed_ = true;
  first_run_ = false;
  Run();
}

void AnimationPlayerBase::Run() {
  frequency_ = clock_->Frequency();
  last_counter_ = clock_->Counter();
  playing_ = true;
  if (start_value_ == end_value_) {
    Finish();
    return;
  }
  tick_period_ = total_time_ / std::abs(end_value_ - start_value_);
  if (tick_period_ <= 0) tick_period_ = 1;
  Tick();
  // The first tick may already have arrived (or a callback may have paused the player); ticks
  // scheduled after that would report the end again and again.
  if (!playing_) return;
  clock_->SchedulePeriodic(
      tick_guard_.AcquireWeakFlag(), [this] { Tick(); }, tick_period_);
}

void AnimationPlayerBase::Tick() {
  const int64_t now = clock_->Counter();
  elapsed_ += static_cast<double>(now - last_counter_) * 1000.0 / static_cast<double>(frequency_);
  last_counter_ = now;

  const int value = GetCurrentValue();
  if (!value_callback_) {
    current_value_ = value;
    return;
  }
  if (Arrived(value)) {
    current_value_ = end_value_;
    value_callback_(end_value_);
    Finish();
    return;
  }
  if (value == current_value_) return;
  current_value_ = value;
  value_callback_(value);
}

bool AnimationPlayerBase::Arrived(int value) const {
  if (end_value_ > start_value_) return value >= end_value_;
  if (end_value_ < start_value_) return value <= end_value_;
  return false;
}

void AnimationPlayerBase::Finish() {
  // Stopped before the callback runs, so that a callback that plays the player again (a loop,
  // or a turn back) is not cancelled right after it started.
  CancelTicks();
  playing_ = false;
  if (!finish_callback_) return;
  std::function<void()> callback = finish_callback_;
  callback();
}

void AnimationPlayerBase::TurnRound() {
  std::swap(start_value_, end_value_);
  current_value_ = start_value_;
  elapsed_ = total_time_ - elapsed_;
  if (elapsed_ < 0) elapsed_ = 0;
}

void AnimationPlayerBase::CancelTicks() { tick_guard_.Cancel(); }

}  // namespace ui
