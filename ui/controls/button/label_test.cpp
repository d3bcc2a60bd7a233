#include "ui/controls/button/label.h"

#include <gtest/gtest.h>

#include "ui/windowing/window/window_test_fixture.h"

namespace ui {
namespace {

// Opens the colour choice of the label to the tests.
class ProbeLabel : public Label {
 public:
  using Label::TextColorState;
  void SetStateForTest(ControlState state) { state_ = state; }
};

UINT AlignedStyle(UINT start, const wchar_t* align) {
  Label label;
  label.SetTextStyle(start);
  label.SetAttribute(L"align", align);
  return label.GetTextStyle();
}

TEST(LabelAlignTest, EachWordAppliesItsBits) {
  EXPECT_EQ(static_cast<UINT>(DT_NOCLIP | DT_END_ELLIPSIS),
            AlignedStyle(kTextStyleButton, L"left"));
  EXPECT_EQ(static_cast<UINT>(DT_RIGHT | DT_NOCLIP | DT_END_ELLIPSIS),
            AlignedStyle(kTextStyleButton, L"right"));
  EXPECT_EQ(static_cast<UINT>(DT_BOTTOM | DT_SINGLELINE), AlignedStyle(DT_VCENTER, L"bottom"));
  EXPECT_EQ(static_cast<UINT>(DT_SINGLELINE), AlignedStyle(DT_VCENTER | DT_BOTTOM, L"top"));
}

TEST(LabelAlignTest, VcenterAlsoMatchesCenterAfterLeft) {
  // "left" clears centring and single line; "vcenter" then brings all three back.
  EXPECT_EQ(kTextStyleButton, AlignedStyle(kTextStyleButton, L"left vcenter"));
  EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_SINGLELINE),
            AlignedStyle(DT_RIGHT | DT_BOTTOM, L"vcenter"));
}

TEST(LabelAttributeTest, FlagsAndDefaults) {
  Label label;
  EXPECT_EQ(kTextStyleLabel, label.GetTextStyle());
  EXPECT_EQ(kSizeAuto, label.GetFixedWidth());
  EXPECT_EQ(kSizeAuto, label.GetFixedHeight());
  label.SetAttribute(L"endellipsis", L"false");
  EXPECT_EQ(0u, label.GetTextStyle() & DT_END_ELLIPSIS);
  label.SetAttribute(L"endellipsis", L"true");
  EXPECT_NE(0u, label.GetTextStyle() & DT_END_ELLIPSIS);
  label.SetAttribute(L"singleline", L"yes");  // only "true" is true
  EXPECT_FALSE(label.IsSingleLine());
  label.SetAttribute(L"font", L"3");
  EXPECT_EQ(3, label.GetFont());
  label.SetAttribute(L"textpadding", L"1,2,3,4");
  const RECT padding = label.GetTextPadding();
  EXPECT_EQ(1, padding.left);
  EXPECT_EQ(4, padding.bottom);
  label.SetAttribute(L"width", L"40");  // unknown to the label: the control takes it
  EXPECT_EQ(40, label.GetFixedWidth());

  LabelBox box;
  EXPECT_EQ(kSizeStretch, box.GetFixedWidth());
  EXPECT_EQ(kSizeStretch, box.GetFixedHeight());
}

TEST(LabelTextTest, TextIdIsUsedOnlyWhileTheTextIsEmpty) {
  Label label;
  label.SetUTF8Text("caf\xc3\xa9");
  EXPECT_EQ(L"caf\u00e9", label.GetText());
  label.SetAttribute(L"textid", L"STRID_NONE");
  EXPECT_EQ(L"caf\u00e9", label.GetText());
  EXPECT_EQ("caf\xc3\xa9", label.GetUTF8Text());
}

TEST(LabelTextColorTest, MissingStateColoursFallBack) {
  ProbeLabel label;
  label.SetStateForTest(kControlStatePushed);
  EXPECT_EQ(kControlStateNormal, label.TextColorState());  // no pushed, no hot colour
  label.SetAttribute(L"hottextcolor", L"red");
  EXPECT_EQ(kControlStateHot, label.TextColorState());
  label.SetAttribute(L"pushedtextcolor", L"blue");
  EXPECT_EQ(kControlStatePushed, label.TextColorState());
  label.SetStateForTest(kControlStateDisabled);  // the default disabled colour is set
  EXPECT_EQ(kControlStateDisabled, label.TextColorState());
  label.SetStateTextColor(kControlStateDisabled, L"");
  EXPECT_EQ(kControlStateNormal, label.TextColorState());
}

TEST(LabelTextColorTest, HotTextColourMakesAHotStateAndSwitchesTheFadeOn) {
  Label label;
  EXPECT_FALSE(label.HasHotState());
  label.SetAttribute(L"hottextcolor", L"red");
  EXPECT_TRUE(label.HasHotState());
  EXPECT_TRUE(label.GetAnimationManager().GetAnimationPlayer(kAnimationHot) != nullptr);
}

// Measuring needs the window's render context, so these use a real (hidden) window.
class LabelMeasureTest : public testing_support::WindowTest {
 protected:
  Label* AddLabel(const wchar_t* text) {
    auto* label = new Label;
    root_->Add(label);
    label->SetText(text);
    return label;
  }
};

TEST_F(LabelMeasureTest, AutoLabelIsItsTextPlusPadding) {
  Label* short_label = AddLabel(L"ab");
  Label* long_label = AddLabel(L"abababab");
  const SIZE short_size = short_label->EstimateSize({200, 100});
  const SIZE long_size = long_label->EstimateSize({200, 100});
  EXPECT_GT(short_size.cx, 0);
  EXPECT_GT(long_size.cx, short_size.cx);
  EXPECT_EQ(long_size.cy, short_size.cy);

  short_label->SetTextPadding({1, 2, 3, 4});
  const SIZE padded = short_label->EstimateSize({200, 100});
  EXPECT_EQ(short_size.cx + 4, padded.cx);
  EXPECT_EQ(short_size.cy + 6, padded.cy);

  Label* empty = AddLabel(L"");
  const SIZE none = empty->EstimateSize({200, 100});
  EXPECT_EQ(0, none.cx);
  EXPECT_EQ(0, none.cy);
}

TEST_F(LabelMeasureTest, MultiLineStretchLabelWrapsAtTheAvailableWidth) {
  Label* label = AddLabel(L"one two three four five six seven eight nine ten");
  label->SetAttribute(L"singleline", L"false");
  label->SetAttribute(L"maxwidth", L"stretch");
  const SIZE wide = label->EstimateSize({2000, 100});
  const SIZE narrow = label->EstimateSize({wide.cx / 2, 100});
  EXPECT_EQ(wide.cx / 2, narrow.cx);
  EXPECT_GT(narrow.cy, wide.cy);
  EXPECT_TRUE(label->IsReEstimateSize());
}

}  // namespace
}  // namespace ui
