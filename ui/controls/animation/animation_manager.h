#pragma once

#include <windows.h>

#include <map>
#include <memory>

#include "ui/controls/animation/animation_player.h"
#include "ui/controls/animation/animation_type.h"

namespace ui {

class AnimationOwner;

// The fade animations of one control: at most one player per AnimationType, each wired to the
// owner property it drives, and the show/hide sequences that play them. The manager is a member
// of its owner and owns its players; enabling a kind again replaces its player. Players are
// configured here but started by callers (Appear, Disappear, or the player directly).
// UI thread only.
class AnimationManager {
 public:
  // owner must outlive the manager; clock null means the real clock.
  explicit AnimationManager(AnimationOwner* owner, AnimationClock* clock = nullptr);
  ~AnimationManager();
  AnimationManager(const AnimationManager&) = delete;
  AnimationManager& operator=(const AnimationManager&) = delete;

  // The player of kind, or null when the kind is not enabled.
  AnimationPlayer* GetAnimationPlayer(AnimationType kind) const;

  // Each setter with true builds the kind's player and returns it; with false removes the kind
  // and returns null.
  // Alpha 0 to 255 in 250 ms. Enabling makes the owner transparent until the player runs;
  // disabling makes it opaque.
  AnimationPlayer* SetFadeAlpha(bool enable);
  // Hot alpha 0 to 255 in 250 ms.
  AnimationPlayer* SetFadeHot(bool enable);
  // Fixed width or height from 0 to the owner's estimated size.
  AnimationPlayer* SetFadeWidth(bool enable);
  AnimationPlayer* SetFadeHeight(bool enable);
  // Render offset from the owner's estimated width (or height) to 0, from the right (bottom)
  // side when the flag says so; 100 pixels when the estimate is not positive. Disabling removes
  // only the side named.
  AnimationPlayer* SetFadeInOutX(bool enable, bool from_right);
  AnimationPlayer* SetFadeInOutY(bool enable, bool from_bottom);

  // Shows the owner and plays every configured kind but the hot one forward.
  void Appear();
  // Plays them backward and hides the owner when the first arrives; at once without players.
  void Disappear();

 private:
  struct Motion {
    int start;
    int end;
    int total_ms;         // 0: derived from the acceleration
    double acceleration;  // 0: derived from the total time
  };

  AnimationPlayer* Install(AnimationType kind, const Motion& motion,
                           std::function<void(int)> value_callback);
  void Remove(AnimationType kind);
  SIZE EstimateOwner() const;
  // The in/out slides: horizontal ones drive the X offset from the estimated width, vertical
  // ones the Y offset from the estimated height.
  AnimationPlayer* SetSlide(bool enable, AnimationType kind, bool vertical, bool negative);

  AnimationOwner* owner_;
  AnimationClock* clock_;
  std::map<AnimationType, std::unique_ptr<AnimationPlayer>> players_;
};

}  // namespace ui
