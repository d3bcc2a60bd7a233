#include "ui/controls/animation/animation_manager.h"

#include <utility>

#include "ui/controls/animation/animation_owner.h"

namespace ui {
namespace {

constexpr double kSpeedUpRatio = 0.3;
constexpr double kSpeedDownRatio = 0.7;
constexpr int kFadeMilliseconds = 250;
constexpr double kResizeAcceleration = 0.00084;
constexpr double kSlideAcceleration = 0.006;
constexpr int kDefaultSlideDistance = 100;
constexpr LONG kUnboundedAvailable = 999999;

// Appear and Disappear play these kinds in this order; the hot fade follows the mouse instead.
constexpr AnimationType kShowKinds[] = {kAnimationAlpha,           kAnimationWidth,
                                        kAnimationHeight,          kAnimationInoutXFromLeft,
                                        kAnimationInoutXFromRight, kAnimationInoutYFromTop,
                                        kAnimationInoutYFromBottom};

}  // namespace

AnimationManager::AnimationManager(AnimationOwner* owner, AnimationClock* clock)
    : owner_(owner), clock_(clock) {}

AnimationManager::~AnimationManager() = default;

AnimationPlayer* AnimationManager::GetAnimationPlayer(AnimationType kind) const {
  auto found = players_.find(kind);
  return found == players_.end() ? nullptr : found->second.get();
}

AnimationPlayer* AnimationManager::SetFadeAlpha(bool enable) {
  AnimationOwner* owner = owner_;
  AnimationPlayer* player = nullptr;
  if (enable) {
    player = Install(kAnimationAlpha, {0, 255, kFadeMilliseconds, 0},
                     owner->ToWeakCallback([owner](int value) { owner->SetAlpha(value); }));
  } else {
    Remove(kAnimationAlpha);
  }
  owner->SetAlpha(enable ? 0 : 255);
  owner->Invalidate();
  return player;
}

AnimationPlayer* AnimationManager::SetFadeHot(bool enable) {
  if (!enable) {
    Remove(kAnimationHot);
    return nullptr;
  }
  AnimationOwner* owner = owner_;
  return Install(kAnimationHot, {0, 255, kFadeMilliseconds, 0},
                 owner->ToWeakCallback([owner](int value) { owner->SetHotAlpha(value); }));
}

AnimationPlayer* AnimationManager::SetFadeWidth(bool enable) {
  if (!enable) {
    Remove(kAnimationWidth);
    return nullptr;
  }
  AnimationOwner* owner = owner_;
  return Install(
      kAnimationWidth, {0, static_cast<int>(EstimateOwner().cx), 0, kResizeAcceleration},
      owner->ToWeakCallback([owner](int value) { owner->SetFixedWidth(value, true, false); }));
}

AnimationPlayer* AnimationManager::SetFadeHeight(bool enable) {
  if (!enable) {
    Remove(kAnimationHeight);
    return nullptr;
  }
  AnimationOwner* owner = owner_;
  return Install(
      kAnimationHeight, {0, static_cast<int>(EstimateOwner().cy), 0, kResizeAcceleration},
      owner->ToWeakCallback([owner](int value) { owner->SetFixedHeight(value, false); }));
}

AnimationPlayer* AnimationManager::SetFadeInOutX(bool enable, bool from_right) {
  return SetSlide(enable, from_right ? kAnimationInoutXFromRight : kAnimationInoutXFromLeft, false,
                  from_right);
}

AnimationPlayer* AnimationManager::SetFadeInOutY(bool enable, bool from_bottom) {
  return SetSlide(enable, from_bottom ? kAnimationInoutYFromBottom : kAnimationInoutYFromTop, true,
                  from_bottom);
}

AnimationPlayer* AnimationManager::SetSlide(bool enable, AnimationType kind, bool vertical,
                                            bool negative) {
  if (!enable) {
    Remove(kind);
    return nullptr;
  }
  const SIZE estimate = EstimateOwner();
  int distance = static_cast<int>(vertical ? estimate.cy : estimate.cx);
  if (distance <= 0) distance = kDefaultSlideDistance;
  AnimationOwner* owner = owner_;
  auto setter = vertical ? &AnimationOwner::SetRenderOffsetY : &AnimationOwner::SetRenderOffsetX;
  return Install(kind, {negative ? -distance : distance, 0, 0, kSlideAcceleration},
                 owner->ToWeakCallback([owner, setter](int value) { (owner->*setter)(value); }));
}

void AnimationManager::Appear() {
  owner_->SetVisible(true);
  for (AnimationType kind : kShowKinds) {
    AnimationPlayer* player = GetAnimationPlayer(kind);
    if (!player) continue;
    // A hide still under way must not hide the control that is being shown again.
    player->SetFinishCallback(nullptr);
    player->PlayForward();
  }
}

void AnimationManager::Disappear() {
  AnimationOwner* owner = owner_;
  std::function<void()> hide = owner->ToWeakCallback([owner] { owner->SetVisible(false); });
  bool any = false;
  for (AnimationType kind : kShowKinds) {
    AnimationPlayer* player = GetAnimationPlayer(kind);
    if (!player) continue;
    any = true;
    player->SetFinishCallback(hide);
    player->PlayBackward();
  }
  if (!any) owner_->SetVisible(false);
}

AnimationPlayer* AnimationManager::Install(AnimationType kind, const Motion& motion,
                                           std::function<void(int)> value_callback) {
  auto player = std::make_unique<AnimationPlayer>(clock_);
  player->Reset();
  player->SetStartValue(motion.start);
  player->SetEndValue(motion.end);
  if (motion.total_ms > 0) player->SetTotalMilliseconds(motion.total_ms);
  player->SetSpeedUpRatio(kSpeedUpRatio);
  player->SetSpeedDownRatio(kSpeedDownRatio);
  if (motion.acceleration != 0) player->SetAccelerationFactor(motion.acceleration);
  player->SetValueCallback(std::move(value_callback));
  AnimationPlayer* result = player.get();
  players_[kind] = std::move(player);
  return result;
}

void AnimationManager::Remove(AnimationType kind) { players_.erase(kind); }

SIZE AnimationManager::EstimateOwner() const {
  return owner_->EstimateSize(SIZE{kUnboundedAvailable, kUnboundedAvailable});
}

}  // namespace ui
