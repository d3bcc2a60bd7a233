#include "ui/controls/animation/animation_player.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ui/controls/animation/fake_animation_clock.h"

namespace ui {
namespace {

class AnimationPlayerTest : public ::testing::Test {
 protected:
  // A player from start to end whose reports are recorded.
  std::unique_ptr<AnimationPlayer> MakePlayer(int start, int end) {
    auto player = std::make_unique<AnimationPlayer>(&clock_);
    player->SetStartValue(start);
    player->SetEndValue(end);
    player->SetSpeedUpRatio(0.3);
    player->SetSpeedDownRatio(0.7);
    player->SetValueCallback([this](int value) { values_.push_back(value); });
    player->SetFinishCallback([this] { ++finishes_; });
    return player;
  }

  // The framework's fade: 0 to 255 in 250 ms.
  std::unique_ptr<AnimationPlayer> MakeFade() {
    auto player = MakePlayer(0, 255);
    player->SetTotalMilliseconds(250);
    return player;
  }

  FakeAnimationClock clock_;
  std::vector<int> values_;
  int finishes_ = 0;
};

TEST_F(AnimationPlayerTest, StartEqualToEndFinishesAtOnceWithoutReportingAValue) {
  auto player = MakePlayer(7, 7);
  player->PlayFromStart();
  EXPECT_EQ(1, finishes_);
  EXPECT_TRUE(values_.empty());
  EXPECT_FALSE(player->IsPlaying());
  EXPECT_EQ(0u, clock_.LiveTimers());
}

TEST_F(AnimationPlayerTest, FadeFollowsTheAccelerateDecelerateCurve) {
  auto player = MakeFade();
  player->PlayFromStart();
  EXPECT_EQ(1, player->GetTickPeriodMilliseconds());  // 250 / 255 rounds down to 0

  clock_.Advance(75);  // end of the acceleration: 0.0136 x 75^2 = 76.5
  EXPECT_EQ(76, player->GetLastValue());
  EXPECT_EQ(0, finishes_);

  clock_.Advance(175);
  EXPECT_EQ(255, player->GetLastValue());
  EXPECT_EQ(255, values_.back());
  EXPECT_EQ(1, finishes_);
  EXPECT_FALSE(player->IsPlaying());
}

TEST_F(AnimationPlayerTest, ReportsOnlyChangedValuesInIncreasingOrder) {
  auto player = MakeFade();
  player->PlayFromStart();
  clock_.Advance(300);
  ASSERT_FALSE(values_.empty());
  for (size_t i = 1; i < values_.size(); ++i) EXPECT_LT(values_[i - 1], values_[i]);
}

TEST_F(AnimationPlayerTest, DerivesTheTotalTimeFromTheAccelerationFactor) {
  auto resize = MakePlayer(0, 200);
  resize->SetAccelerationFactor(0.00084);
  resize->PlayFromStart();
  EXPECT_EQ(890, resize->GetTotalMilliseconds());

  auto slide = MakePlayer(100, 0);
  slide->SetAccelerationFactor(0.006);
  slide->PlayFromStart();
  EXPECT_EQ(235, slide->GetTotalMilliseconds());

  EXPECT_EQ(2, slide->GetTickPeriodMilliseconds());
  clock_.Advance(236);  // the first tick at or after 235 ms
  EXPECT_EQ(0, slide->GetLastValue());
}

TEST_F(AnimationPlayerTest, CapsAnEndlessDerivedTimeAtTheMaximum) {
  auto player = MakePlayer(0, 10);  // no time and no factor: the quotient is infinite
  player->PlayFromStart();
  EXPECT_EQ(AnimationPlayer::kMaxTotalMilliseconds, player->GetTotalMilliseconds());
}

TEST_F(AnimationPlayerTest, UniformMotionWithATotalTimeIsLinear) {
  auto player = MakePlayer(0, 100);
  player->SetSpeedUpRatio(0);
  player->SetSpeedDownRatio(0);
  player->SetTotalMilliseconds(100);
  player->PlayFromStart();
  clock_.Advance(50);
  EXPECT_EQ(50, player->GetLastValue());
}

TEST_F(AnimationPlayerTest, UniformMotionWithoutTimeOrSpeedJumpsToTheEnd) {
  auto player = MakePlayer(0, 100);
  player->SetSpeedUpRatio(0);
  player->SetSpeedDownRatio(0);
  player->PlayFromStart();
  EXPECT_EQ(std::vector<int>{100}, values_);
  EXPECT_EQ(1, finishes_);
}

TEST_F(AnimationPlayerTest, BackwardAsFirstCommandPlaysTheWholeWayFromTheEnd) {
  auto player = MakeFade();
  player->PlayBackward();
  EXPECT_EQ(255, player->GetStartValue());
  EXPECT_EQ(0, player->GetEndValue());
  EXPECT_EQ(0.0, player->GetElapsedMilliseconds());

  clock_.Advance(75);
  EXPECT_EQ(255 - 76, player->GetLastValue());
  clock_.Advance(175);
  EXPECT_EQ(0, player->GetLastValue());
  EXPECT_EQ(1, finishes_);
}

TEST_F(AnimationPlayerTest, TurningRoundMidwaySwapsTheValuesAndMirrorsTheElapsedTime) {
  auto player = MakeFade();
  player->PlayForward();
  clock_.Advance(100);
  player->PlayBackward();
  EXPECT_TRUE(player->IsReversed());
  EXPECT_EQ(255, player->GetStartValue());
  EXPECT_EQ(0, player->GetEndValue());
  EXPECT_DOUBLE_EQ(150.0, player->GetElapsedMilliseconds());

  clock_.Advance(100);
  EXPECT_EQ(0, player->GetLastValue());
  EXPECT_EQ(1, finishes_);
}

TEST_F(AnimationPlayerTest, PauseThenForwardResumesWithoutAJump) {
  auto player = MakeFade();
  player->PlayForward();
  clock_.Advance(100);
  const int paused_value = player->GetLastValue();
  player->Pause();
  EXPECT_FALSE(player->IsPlaying());

  clock_.Advance(500);  // no tick while paused, and the pause does not count as play
  EXPECT_EQ(paused_value, player->GetLastValue());
  player->PlayForward();
  EXPECT_DOUBLE_EQ(100.0, player->GetElapsedMilliseconds());
  EXPECT_EQ(paused_value, player->GetLastValue());
  EXPECT_EQ(0, finishes_);
}

TEST_F(AnimationPlayerTest, PlayFromStartAfterBackwardKeepsTheSwappedValues) {
  auto player = MakeFade();
  player->PlayBackward();
  clock_.Advance(50);
  player->PlayFromStart();
  EXPECT_FALSE(player->IsReversed());
  EXPECT_EQ(255, player->GetStartValue());
  EXPECT_EQ(0, player->GetEndValue());
  EXPECT_EQ(0.0, player->GetElapsedMilliseconds());
}

TEST_F(AnimationPlayerTest, PlayingAnArrivedPlayerAgainFinishesOnlyOnce) {
  auto player = MakeFade();
  player->PlayForward();
  clock_.Advance(300);
  ASSERT_EQ(1, finishes_);

  player->PlayForward();  // already at the end: the first tick arrives at once
  EXPECT_EQ(2, finishes_);
  clock_.Advance(100);
  EXPECT_EQ(2, finishes_);
  EXPECT_EQ(0u, clock_.LiveTimers());
}

TEST_F(AnimationPlayerTest, AFinishCallbackMayPlayThePlayerAgain) {
  auto player = MakeFade();
  AnimationPlayer* raw = player.get();
  raw->SetFinishCallback([this, raw] {
    if (++finishes_ == 1) raw->PlayBackward();
  });
  raw->PlayForward();
  clock_.Advance(250);
  ASSERT_EQ(1, finishes_);
  EXPECT_TRUE(raw->IsPlaying());

  clock_.Advance(250);
  EXPECT_EQ(2, finishes_);
  EXPECT_EQ(0, raw->GetLastValue());
}

TEST_F(AnimationPlayerTest, ADestroyedPlayerIsNeverTicked) {
  auto player = MakeFade();
  player->PlayForward();
  clock_.Advance(10);
  const size_t reports = values_.size();
  player.reset();
  clock_.Advance(300);
  EXPECT_EQ(reports, values_.size());
  EXPECT_EQ(0, finishes_);
}

TEST_F(AnimationPlayerTest, ResetStopsThePlayerAndKeepsItsCallbacks) {
  auto player = MakeFade();
  player->PlayForward();
  clock_.Advance(10);
  player->Reset();
  EXPECT_FALSE(player->IsPlaying());
  EXPECT_EQ(AnimationPlayerBase::kTimeNotSet, player->GetTotalMilliseconds());
  EXPECT_EQ(0u, clock_.LiveTimers());

  player->SetEndValue(10);
  player->SetTotalMilliseconds(10);
  player->SetSpeedUpRatio(0.3);
  player->SetSpeedDownRatio(0.7);
  player->PlayFromStart();
  clock_.Advance(20);
  EXPECT_EQ(10, values_.back());
  EXPECT_EQ(1, finishes_);
}

TEST_F(AnimationPlayerTest, WithoutValueCallbackThePlayerTracksTheValueButNeverFinishes) {
  auto player = MakeFade();
  player->SetValueCallback(nullptr);
  player->PlayForward();
  clock_.Advance(300);
  EXPECT_EQ(255, player->GetLastValue());
  EXPECT_EQ(0, finishes_);
  EXPECT_TRUE(player->IsPlaying());
  player->Pause();
}

}  // namespace
}  // namespace ui
