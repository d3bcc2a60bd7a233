#include "ui/base/image/state_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/base/image/state_image_map.h"
#include "ui/base/image/state_image_owner.h"

namespace ui {
namespace {

// Records what would be drawn: the ImageSpec text of each image and the fade asked for.
class RecordingOwner : public StateImageOwner {
 public:
  struct Draw {
    std::wstring text;
    int fade;
    bool operator==(const Draw& other) const { return text == other.text && fade == other.fade; }
  };

  bool HasHotAnimation() override { return hot_animation; }
  int HotAlpha() override { return hot_alpha; }
  bool DrawStateImage(IRenderContext*, ImageRef& image, const std::wstring& modify,
                      int fade) override {
    draws.push_back({image.spec.spec_text, fade});
    last_modify = modify;
    return !image.spec.spec_text.empty();
  }

  bool hot_animation = false;
  int hot_alpha = 0;
  std::vector<Draw> draws;
  std::wstring last_modify;
};

using Draws = std::vector<RecordingOwner::Draw>;

class StateImageTest : public testing::Test {
 protected:
  StateImageTest() { images.SetOwner(&owner); }
  void Set(ControlState state, const wchar_t* text) { images.ImageFor(state).SetSpecText(text); }
  Draws Paint(ControlState state) {
    owner.draws.clear();
    images.PaintState(nullptr, state, L"modify");
    return owner.draws;
  }

  RecordingOwner owner;
  StateImage images;
};

TEST_F(StateImageTest, EachStateDrawsItsOwnImage) {
  Set(kControlStateNormal, L"normal.png");
  Set(kControlStateHot, L"file='hot.png' fade='100'");
  Set(kControlStatePushed, L"pushed.png");
  Set(kControlStateDisabled, L"disabled.png");
  EXPECT_EQ(Paint(kControlStateNormal), (Draws{{L"normal.png", -1}}));
  EXPECT_EQ(Paint(kControlStateHot), (Draws{{L"file='hot.png' fade='100'", -1}}));
  EXPECT_EQ(Paint(kControlStatePushed), (Draws{{L"pushed.png", -1}}));
  EXPECT_EQ(Paint(kControlStateDisabled), (Draws{{L"disabled.png", -1}}));
  EXPECT_EQ(owner.last_modify, L"modify");
}

TEST_F(StateImageTest, MissingStatesFallBack) {
  Set(kControlStateNormal, L"normal.png");
  Set(kControlStateHot, L"file='hot.png' fade='100'");
  // No pushed image: the hot one at full fade, without losing its own fade for the hot state.
  EXPECT_EQ(Paint(kControlStatePushed), (Draws{{L"file='hot.png' fade='100'", 255}}));
  EXPECT_EQ(images.ImageFor(kControlStateHot).spec.fade, 100);
  EXPECT_EQ(Paint(kControlStateDisabled), (Draws{{L"normal.png", -1}}));

  Set(kControlStateHot, L"");
  EXPECT_EQ(Paint(kControlStateHot), (Draws{{L"normal.png", -1}}));
  EXPECT_EQ(Paint(kControlStatePushed), (Draws{{L"normal.png", -1}}));
}

TEST_F(StateImageTest, HotAnimationCrossFadesNormalAndHot) {
  owner.hot_animation = true;
  owner.hot_alpha = 51;  // a fifth of the way to hot
  Set(kControlStateNormal, L"file='n.png' fade='200'");
  Set(kControlStateHot, L"file='h.png' fade='100'");
  EXPECT_EQ(Paint(kControlStateNormal),
            (Draws{{L"file='n.png' fade='200'", -1}, {L"file='h.png' fade='100'", 20}}));
  // The pushed and disabled states are not cross-faded.
  EXPECT_EQ(Paint(kControlStatePushed), (Draws{{L"file='h.png' fade='100'", 255}}));
}

TEST_F(StateImageTest, OneImageForBothLooksIsDrawnOnceWithBlendedFade) {
  owner.hot_animation = true;
  Set(kControlStateNormal, L"file='same.png'");
  Set(kControlStateHot, L"file='same.png'");
  for (const int alpha : {0, 51, 128, 255}) {
    owner.hot_alpha = alpha;
    EXPECT_EQ(Paint(kControlStateHot), (Draws{{L"file='same.png'", 255}})) << alpha;
  }
}

TEST_F(StateImageTest, FirstPresentAndClearDecoded) {
  EXPECT_EQ(images.FirstPresent(), nullptr);
  Set(kControlStatePushed, L"pushed.png");
  Set(kControlStateDisabled, L"disabled.png");
  EXPECT_EQ(images.FirstPresent(), &images.ImageFor(kControlStatePushed));

  ImageRef& pushed = images.ImageFor(kControlStatePushed);
  pushed.frame_index = 2;
  pushed.loop_count = 1;
  images.ClearDecoded();
  EXPECT_EQ(pushed.frame_index, 0);
  EXPECT_EQ(pushed.loop_count, 0);
  EXPECT_EQ(pushed.spec.file_name, L"pushed.png");
}

TEST(StateImageMapTest, KindsAreLookedUpAndPainted) {
  RecordingOwner owner;
  StateImageMap map;
  EXPECT_FALSE(map.PaintKind(nullptr, kStateImageFore, kControlStateNormal, L""));
  EXPECT_EQ(map.FirstPresentOfKind(kStateImageFore), nullptr);
  EXPECT_FALSE(map.HasHotImage());

  map.KindFor(kStateImageFore).SetOwner(&owner);
  map.KindFor(kStateImageFore).ImageFor(kControlStateNormal).SetSpecText(L"fore.png");
  EXPECT_TRUE(map.PaintKind(nullptr, kStateImageFore, kControlStateHot, L""));
  EXPECT_EQ(owner.draws, (Draws{{L"fore.png", -1}}));
  EXPECT_EQ(map.FirstPresentOfKind(kStateImageFore)->spec.file_name, L"fore.png");

  EXPECT_FALSE(map.HasHotImage());
  map.KindFor(kStateImageSelectedFore).ImageFor(kControlStateHot).SetSpecText(L"hot.png");
  EXPECT_TRUE(map.HasHotImage());
}

}  // namespace
}  // namespace ui
