#include "ui/controls/animation/animation_player.h"

#include <cmath>
#include <cstdlib>

namespace ui {

AnimationPlayer::AnimationPlayer(AnimationClock* clock) : AnimationPlayerBase(clock) {}

void AnimationPlayer::Reset() {
  AnimationPlayerBase::Reset();
  speed_up_ratio_ = 0;
  speed_down_ratio_ = 0;
  speed_up_time_ = 0;
  constant_time_ = 0;
  slow_down_time_ = 0;
  constant_speed_ = 0;
  slow_down_entry_speed_ = 0;
  acceleration_ = 0;
  deceleration_ = 0;
  max_total_time_ = kMaxTotalMilliseconds;
}

void AnimationPlayer::Run() {
  ComputeProfile();
  AnimationPlayerBase::Run();
}

int AnimationPlayer::GetCurrentValue() {
  const double t = GetElapsedMilliseconds();
  if (t >= GetTotalMilliseconds()) return GetEndValue();

  double offset;
  if (t <= speed_up_time_) {
    offset = acceleration_ * t * t;
  } else if (t <= speed_up_time_ + constant_time_) {
    offset =
        acceleration_ * speed_up_time_ * speed_up_time_ + constant_speed_ * (t - speed_up_time_);
  } else {
    const double u = t - speed_up_time_ - constant_time_;
    offset = acceleration_ * speed_up_time_ * speed_up_time_ + constant_speed_ * constant_time_ +
             deceleration_ * u * u + slow_down_entry_speed_ * u;
  }
  const int whole = static_cast<int>(offset);
  return GetEndValue() > GetStartValue() ? GetStartValue() + whole : GetStartValue() - whole;
}

void AnimationPlayer::ComputeProfile() {
  const double distance = std::abs(GetEndValue() - GetStartValue());
  const double s = speed_up_ratio_;
  const double d = speed_down_ratio_;
  if (s == 0 && d == 0) {
    ComputeUniformProfile(distance);
    return;
  }

  const bool total_known = GetTotalMilliseconds() != kTimeNotSet;
  double k = ComputeFactors(distance, total_known);
  if (!total_known) {
    // Computed in double first: with both factors 0 the quotient is infinite, which only the
    // cap below turns into a usable time.
    const double denominator = (1 - s - d) * 2 * k + acceleration_ * s * s - deceleration_ * d * d;
    const double total = std::sqrt(distance / denominator);
    if (std::isnan(total) || total > max_total_time_) {
      SetTotalMilliseconds(max_total_time_);
      k = ComputeFactors(distance, true);
    } else {
      SetTotalMilliseconds(static_cast<int>(total));
    }
  }

  const double total = GetTotalMilliseconds();
  speed_up_time_ = s * total;
  constant_speed_ = 2 * k * total;
  slow_down_entry_speed_ = constant_speed_;
  slow_down_time_ = d * total;
  constant_time_ = total - speed_up_time_ - slow_down_time_;
}

void AnimationPlayer::ComputeUniformProfile(double distance) {
  speed_up_time_ = 0;
  slow_down_time_ = 0;
  if (GetTotalMilliseconds() != kTimeNotSet) {
    const int total = GetTotalMilliseconds();
    constant_speed_ = total > 0 ? distance / total : 0;
  } else {
    // No time and no speed: nothing defines a duration, so the value jumps to the end.
    const int total = constant_speed_ > 0 ? static_cast<int>(distance / constant_speed_) : 0;
    SetTotalMilliseconds(total);
  }
  constant_time_ = GetTotalMilliseconds();
}

double AnimationPlayer::ComputeFactors(double distance, bool total_known) {
  const double s = speed_up_ratio_;
  const double d = speed_down_ratio_;
  if (total_known) {
    const double total = GetTotalMilliseconds();
    const double t2 = total * total;
    if (s != 0) {
      acceleration_ = distance / ((2 * s * (1 - s - d) + s * s + s * d) * t2);
    } else if (d != 0) {
      deceleration_ = -(distance / ((2 * d * (1 - s - d) + d * d + s * d) * t2));
    }
  }
  // k is the speed at the end of the acceleration divided by twice the total time.
  double k = 0;
  if (acceleration_ != 0 && s != 0) {
    k = acceleration_ * s;
    if (d != 0) deceleration_ = -(k / d);
  } else if (deceleration_ != 0 && d != 0) {
    k = -(deceleration_ * d);
    if (s != 0) acceleration_ = -(deceleration_ * d / s);
  }
  return k;
}

}  // namespace ui
