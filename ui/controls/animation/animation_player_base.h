#pragma once

#include <cstdint>
#include <functional>

#include "ui/base/callback/weak_callback.h"
#include "ui/controls/animation/animation_clock.h"

namespace ui {

// Moves one integer from a start value to an end value over time, reporting each change through
// the value callback and the arrival through the finish callback. Can be paused, resumed and
// turned round mid-way; while turned round (reversed) the start and end values are swapped.
// Subclasses give the value curve (GetCurrentValue) as a function of the elapsed time.
//
// UI thread only. Owned by whoever made it; pending ticks are guarded, so a destroyed or paused
// player is never ticked. Callbacks may pause, replay or reset the player, but must not destroy
// it while it runs them.
class AnimationPlayerBase : public kbase::SupportWeakCallback {
 public:
  static constexpr int kTimeNotSet = -1;

  // clock null means the real clock.
  explicit AnimationPlayerBase(AnimationClock* clock = nullptr);
  ~AnimationPlayerBase() override;
  AnimationPlayerBase(const AnimationPlayerBase&) = delete;
  AnimationPlayerBase& operator=(const AnimationPlayerBase&) = delete;

  // Stops, and clears values and times (the callbacks and the first-run flag stay).
  virtual void Reset();
  // Plays forward from the start value.
  virtual void PlayFromStart();
  // Stops where it is; a later PlayForward or PlayBackward resumes from there.
  virtual void Pause();
  // Plays towards the end value, turning round when running backwards.
  virtual void PlayForward();
  // Plays towards the start value. As the very first command it plays the whole way back from
  // the end value.
  virtual void PlayBackward();
  // Starts ticking in the current direction; finishes at once when start equals end.
  virtual void Run();
  // The curve's value at the elapsed time.
  virtual int GetCurrentValue() = 0;

  void SetValueCallback(std::function<void(int)> callback) {
    value_callback_ = std::move(callback);
  }
  void SetFinishCallback(std::function<void()> callback) { finish_callback_ = std::move(callback); }
  void SetStartValue(int value) { start_value_ = value; }
  void SetEndValue(int value) { end_value_ = value; }
  void SetTotalMilliseconds(int total) { total_time_ = total; }

  int GetStartValue() const { return start_value_; }
  int GetEndValue() const { return end_value_; }
  // The last value reported.
  int GetLastValue() const { return current_value_; }
  int GetTotalMilliseconds() const { return total_time_; }
  double GetElapsedMilliseconds() const { return elapsed_; }
  int GetTickPeriodMilliseconds() const { return tick_period_; }
  bool IsPlaying() const { return playing_; }
  bool IsReversed() const { return reversed_; }
  bool IsFirstRun() const { return first_run_; }

 private:
  void Tick();
  void Finish();
  void TurnRound();
  void CancelTicks();
  bool Arrived(int value) const;

  AnimationClock* clock_;
  int start_value_ = 0;
  int end_value_ = 0;
  int current_value_ = 0;
  int total_time_ = kTimeNotSet;
  double elapsed_ = 0;
  int tick_period_ = 0;
  bool first_run_ = true;
  bool playing_ = false;
  bool reversed_ = false;
  std::function<void(int)> value_callback_;
  std::function<void()> finish_callback_;
  int64_t last_counter_ = 0;
  int64_t frequency_ = 0;
  kbase::WeakCallbackFlag tick_guard_;
};

}  // namespace ui
