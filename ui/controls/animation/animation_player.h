#pragma once

#include "ui/controls/animation/animation_player_base.h"

namespace ui {

// The framework's animation curve: the value accelerates uniformly for the speed-up share of the
// total time, moves at constant speed, then decelerates uniformly to the end value. Either the
// total time or one of the acceleration factors is given; the rest is derived on every Run,
// keeping the speed continuous between the phases. A derived total time is capped at the
// maximum (1000000 ms).
class AnimationPlayer : public AnimationPlayerBase {
 public:
  static constexpr int kMaxTotalMilliseconds = 1000000;

  explicit AnimationPlayer(AnimationClock* clock = nullptr);

  void Reset() override;
  void Run() override;
  int GetCurrentValue() override;

  // Offset a1 x t^2 while accelerating (value units per ms^2).
  virtual void SetAccelerationFactor(double factor) { acceleration_ = factor; }
  // Offset a2 x u^2 added while decelerating; negative.
  virtual void SetDecelerationFactor(double factor) { deceleration_ = factor; }
  // Shares of the total time spent accelerating and decelerating; both 0 is uniform motion.
  void SetSpeedUpRatio(double ratio) { speed_up_ratio_ = ratio; }
  void SetSpeedDownRatio(double ratio) { speed_down_ratio_ = ratio; }

 private:
  // Derives the phase times, speeds and factors from the values, ratios and what is set.
  void ComputeProfile();
  void ComputeUniformProfile(double distance);
  // Steps that need the total time: the given factor from it, then the other factor.
  double ComputeFactors(double distance, bool total_known);

  double speed_up_ratio_ = 0;
  double speed_down_ratio_ = 0;
  double speed_up_time_ = 0;
  double constant_time_ = 0;
  double slow_down_time_ = 0;
  double constant_speed_ = 0;
  double slow_down_entry_speed_ = 0;
  double acceleration_ = 0;
  double deceleration_ = 0;
  int max_total_time_ = kMaxTotalMilliseconds;
};

}  // namespace ui
