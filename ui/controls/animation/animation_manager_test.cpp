#include "ui/controls/animation/animation_manager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/controls/animation/animation_owner.h"
#include "ui/controls/animation/fake_animation_clock.h"

namespace ui {
namespace {

// Records the property changes the animations make.
class FakeOwner : public AnimationOwner {
 public:
  static int calls_after_destruction;

  ~FakeOwner() override { destroyed_ = true; }

  void SetAlpha(int alpha) override { Record(alpha_, alpha); }
  void SetHotAlpha(int alpha) override { Record(hot_alpha_, alpha); }
  void SetFixedWidth(int width, bool arrange, bool dpi_scale) override {
    Record(width_, width);
    arranged_ = arrange;
    scaled_ = dpi_scale;
  }
  void SetFixedHeight(int height, bool dpi_scale) override {
    Record(height_, height);
    scaled_ = dpi_scale;
  }
  void SetRenderOffsetX(int offset) override { Record(offset_x_, offset); }
  void SetRenderOffsetY(int offset) override { Record(offset_y_, offset); }
  void SetVisible(bool visible) override {
    Record(visible_, visible);
    visibility_changes_.push_back(visible);
  }
  void Invalidate() override { ++invalidations_; }
  SIZE EstimateSize(SIZE available) override {
    available_ = available;
    return estimate_;
  }

  SIZE estimate_{200, 40};
  SIZE available_{};
  int alpha_ = 255;
  int hot_alpha_ = 0;
  int width_ = -1;
  int height_ = -1;
  int offset_x_ = 0;
  int offset_y_ = 0;
  bool visible_ = true;
  bool arranged_ = false;
  bool scaled_ = true;
  int invalidations_ = 0;
  std::vector<bool> visibility_changes_;

 private:
  template <typename T, typename V>
  void Record(T& field, V value) {
    if (destroyed_) ++calls_after_destruction;
    field = value;
  }

  bool destroyed_ = false;
};

int FakeOwner::calls_after_destruction = 0;

class AnimationManagerTest : public ::testing::Test {
 protected:
  FakeAnimationClock clock_;
  FakeOwner owner_;
  AnimationManager manager_{&owner_, &clock_};
};

TEST_F(AnimationManagerTest, FadeAlphaHidesTheOwnerUntilPlayedAndShowsItWhenRemoved) {
  AnimationPlayer* player = manager_.SetFadeAlpha(true);
  ASSERT_NE(nullptr, player);
  EXPECT_EQ(player, manager_.GetAnimationPlayer(kAnimationAlpha));
  EXPECT_EQ(0, owner_.alpha_);
  EXPECT_EQ(1, owner_.invalidations_);
  EXPECT_EQ(0, player->GetStartValue());
  EXPECT_EQ(255, player->GetEndValue());
  EXPECT_EQ(250, player->GetTotalMilliseconds());

  EXPECT_EQ(nullptr, manager_.SetFadeAlpha(false));
  EXPECT_EQ(nullptr, manager_.GetAnimationPlayer(kAnimationAlpha));
  EXPECT_EQ(255, owner_.alpha_);
  EXPECT_EQ(2, owner_.invalidations_);
}

TEST_F(AnimationManagerTest, EnablingAKindAgainReplacesItsPlayer) {
  manager_.SetFadeHot(true);
  AnimationPlayer* second = manager_.SetFadeHot(true);
  EXPECT_EQ(second, manager_.GetAnimationPlayer(kAnimationHot));

  second->PlayForward();
  clock_.Advance(300);
  EXPECT_EQ(255, owner_.hot_alpha_);
}

TEST_F(AnimationManagerTest, DisablingAKindWithoutPlayerDoesNothing) {
  EXPECT_EQ(nullptr, manager_.SetFadeWidth(false));
  EXPECT_EQ(nullptr, manager_.GetAnimationPlayer(kAnimationWidth));
  EXPECT_EQ(0, owner_.invalidations_);
}

TEST_F(AnimationManagerTest, SizeFadesRunToTheEstimatedSizeWithoutRescaling) {
  AnimationPlayer* width = manager_.SetFadeWidth(true);
  AnimationPlayer* height = manager_.SetFadeHeight(true);
  EXPECT_EQ(999999, owner_.available_.cx);
  EXPECT_EQ(999999, owner_.available_.cy);
  EXPECT_EQ(200, width->GetEndValue());
  EXPECT_EQ(40, height->GetEndValue());

  manager_.Appear();
  EXPECT_EQ(890, width->GetTotalMilliseconds());
  clock_.Advance(1000);
  EXPECT_EQ(200, owner_.width_);
  EXPECT_EQ(40, owner_.height_);
  EXPECT_TRUE(owner_.arranged_);
  EXPECT_FALSE(owner_.scaled_);
}

TEST_F(AnimationManagerTest, SlidesStartOneSizeAwayOnTheirSide) {
  AnimationPlayer* left = manager_.SetFadeInOutX(true, false);
  AnimationPlayer* bottom = manager_.SetFadeInOutY(true, true);
  EXPECT_EQ(200, left->GetStartValue());
  EXPECT_EQ(0, left->GetEndValue());
  EXPECT_EQ(-40, bottom->GetStartValue());

  owner_.estimate_ = SIZE{0, 0};
  AnimationPlayer* right = manager_.SetFadeInOutX(true, true);
  EXPECT_EQ(-100, right->GetStartValue());
  manager_.Appear();
  EXPECT_EQ(235, right->GetTotalMilliseconds());
  clock_.Advance(1000);
  EXPECT_EQ(0, owner_.offset_x_);
  EXPECT_EQ(0, owner_.offset_y_);
}

TEST_F(AnimationManagerTest, DisablingASlideRemovesOnlyTheSideNamed) {
  manager_.SetFadeInOutX(true, false);
  manager_.SetFadeInOutX(true, true);
  manager_.SetFadeInOutX(false, true);
  EXPECT_NE(nullptr, manager_.GetAnimationPlayer(kAnimationInoutXFromLeft));
  EXPECT_EQ(nullptr, manager_.GetAnimationPlayer(kAnimationInoutXFromRight));
}

TEST_F(AnimationManagerTest, DisappearWithoutPlayersHidesAtOnce) {
  manager_.SetFadeHot(true);  // the hot fade takes no part in showing and hiding
  manager_.Disappear();
  EXPECT_FALSE(owner_.visible_);
}

TEST_F(AnimationManagerTest, AppearShowsAndPlaysEveryKindButHot) {
  owner_.visible_ = false;
  manager_.SetFadeAlpha(true);
  manager_.SetFadeWidth(true);
  AnimationPlayer* hot = manager_.SetFadeHot(true);
  manager_.Appear();
  EXPECT_TRUE(owner_.visible_);
  EXPECT_TRUE(manager_.GetAnimationPlayer(kAnimationAlpha)->IsPlaying());
  EXPECT_TRUE(manager_.GetAnimationPlayer(kAnimationWidth)->IsPlaying());
  EXPECT_FALSE(hot->IsPlaying());
  clock_.Advance(1000);
  EXPECT_EQ(255, owner_.alpha_);
  EXPECT_EQ(200, owner_.width_);
}

TEST_F(AnimationManagerTest, DisappearHidesWhenTheFirstFadeArrives) {
  manager_.SetFadeAlpha(true);
  manager_.SetFadeWidth(true);
  manager_.Appear();
  clock_.Advance(1000);

  manager_.Disappear();
  clock_.Advance(249);
  EXPECT_TRUE(owner_.visible_);
  clock_.Advance(1);  // the alpha fade is back at 0 after 250 ms; the width takes 890
  EXPECT_FALSE(owner_.visible_);
  EXPECT_EQ(0, owner_.alpha_);
  EXPECT_TRUE(manager_.GetAnimationPlayer(kAnimationWidth)->IsPlaying());
}

TEST_F(AnimationManagerTest, AppearDuringAHideKeepsTheOwnerVisible) {
  manager_.SetFadeAlpha(true);
  manager_.Appear();
  clock_.Advance(300);
  manager_.Disappear();
  clock_.Advance(100);
  manager_.Appear();
  clock_.Advance(1000);
  EXPECT_TRUE(owner_.visible_);
  EXPECT_EQ(255, owner_.alpha_);
  EXPECT_EQ(std::vector<bool>({true, true}), owner_.visibility_changes_);
}

TEST(AnimationManagerLifetimeTest, LateTicksAfterTheOwnerIsGoneDoNothing) {
  FakeAnimationClock clock;
  auto owner = std::make_unique<FakeOwner>();
  AnimationManager manager(owner.get(), &clock);
  manager.SetFadeAlpha(true);
  manager.SetFadeWidth(true);
  manager.Appear();
  clock.Advance(10);
  owner.reset();
  FakeOwner::calls_after_destruction = 0;
  clock.Advance(1000);
  EXPECT_EQ(0, FakeOwner::calls_after_destruction);
}

}  // namespace
}  // namespace ui
