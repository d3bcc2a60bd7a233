#include <gtest/gtest.h>

#include <string>

#include "ui/base/resource/resource_hub.h"
#include "ui/controls/animation/animation_type.h"
#include "ui/controls/core/control.h"
#include "ui/controls/testing/scoped_display_scale.h"

namespace ui {
namespace {

bool HotFadeOn(Control& control) {
  return control.GetAnimationManager().GetAnimationPlayer(kAnimationHot) != nullptr;
}

TEST(ControlAttributeTest, BooleansAreTrueOnlyForExactTrue) {
  Control control;
  control.SetAttribute(L"visible", L"True");
  EXPECT_FALSE(control.IsVisible());
  control.SetAttribute(L"visible", L"true");
  EXPECT_TRUE(control.IsVisible());
  control.SetAttribute(L"enabled", L"false");
  EXPECT_FALSE(control.IsEnabled());
  EXPECT_EQ(kControlStateDisabled, control.GetState());
  control.SetAttribute(L"mouse", L"1");
  EXPECT_FALSE(control.IsMouseEnabled());
  control.SetAttribute(L"keyboard", L"false");
  EXPECT_FALSE(control.IsKeyboardEnabled());
  control.SetAttribute(L"menu", L"true");
  EXPECT_TRUE(control.IsContextMenuUsed());
  control.SetAttribute(L"float", L"true");
  EXPECT_TRUE(control.IsFloat());
  control.SetAttribute(L"cache", L"true");
  EXPECT_TRUE(control.IsUseCache());
  control.SetAttribute(L"receivepointer", L"no");
  EXPECT_FALSE(control.IsReceivePointer());
}

TEST(ControlAttributeTest, NoFocusIsSetWhateverTheValue) {
  Control control;
  control.SetAttribute(L"nofocus", L"false");
  EXPECT_TRUE(control.IsNoFocus());
}

TEST(ControlAttributeTest, KeywordsSelectAlignmentStateAndCursorAndIgnoreOthers) {
  Control control;
  control.SetAttribute(L"halign", L"center");
  control.SetAttribute(L"valign", L"bottom");
  control.SetAttribute(L"halign", L"Middle");
  EXPECT_EQ(1, control.GetHorAlign());
  EXPECT_EQ(2, control.GetVerAlign());
  control.SetAttribute(L"state", L"hot");
  EXPECT_EQ(kControlStateHot, control.GetState());
  EXPECT_EQ(255, control.HotAlpha());
  control.SetAttribute(L"state", L"normal");
  EXPECT_EQ(0, control.HotAlpha());
  control.SetAttribute(L"state", L"pressed");
  EXPECT_EQ(kControlStateNormal, control.GetState());
  control.SetAttribute(L"cursortype", L"hand");
  EXPECT_EQ(kCursorHand, control.GetCursorType());
  control.SetAttribute(L"cursortype", L"cross");
  EXPECT_EQ(kCursorHand, control.GetCursorType());
}

TEST(ControlAttributeTest, SizesAcceptKeywordsNumbersAndIgnoreInvalidNegatives) {
  Control control;
  control.SetAttribute(L"width", L"auto");
  EXPECT_EQ(kSizeAuto, control.GetFixedWidth());
  control.SetAttribute(L"width", L"0");
  EXPECT_EQ(0, control.GetFixedWidth());
  control.SetAttribute(L"width", L"-3");
  EXPECT_EQ(0, control.GetFixedWidth());
  control.SetAttribute(L"height", L"stretch");
  EXPECT_EQ(kSizeStretch, control.GetFixedHeight());
  control.SetAttribute(L"height", L"12px");
  EXPECT_EQ(12, control.GetFixedHeight());
  control.SetAttribute(L"minwidth", L"-5");
  EXPECT_EQ(-1, control.GetMinWidth());
  control.SetAttribute(L"minheight", L"4");
  EXPECT_EQ(4, control.GetMinHeight());
  control.SetAttribute(L"maxwidth", L"stretch");
  EXPECT_EQ(kSizeStretch, control.GetMaxWidth());
  control.SetAttribute(L"maxheight", L"30");
  EXPECT_EQ(30, control.GetMaxHeight());
}

TEST(ControlAttributeTest, DpiScalesPixelsButNeverTheSizeMarkers) {
  ScopedDisplayScale scale(150, true);
  Control control;
  control.SetAttribute(L"width", L"10");
  control.SetAttribute(L"maxwidth", L"stretch");
  control.SetAttribute(L"maxheight", L"auto");
  control.SetAttribute(L"minwidth", L"4");
  control.SetAttribute(L"margin", L"2,2,4,4");
  control.SetAttribute(L"bordersize", L"2");
  control.SetAttribute(L"renderoffset", L"2,4");
  EXPECT_EQ(15, control.GetFixedWidth());
  EXPECT_EQ(kSizeStretch, control.GetMaxWidth());
  EXPECT_EQ(kSizeAuto, control.GetMaxHeight());
  EXPECT_EQ(6, control.GetMinWidth());
  const RECT margin = control.GetMargin();
  EXPECT_EQ(3, margin.left);
  EXPECT_EQ(6, margin.right);
  EXPECT_EQ(3, control.GetBorderSize());
  EXPECT_EQ(3, control.GetRenderOffset().x);
  EXPECT_EQ(6, control.GetRenderOffset().y);
  control.SetAttribute(L"width", L"auto");
  EXPECT_EQ(kSizeAuto, control.GetFixedWidth());
}

TEST(ControlAttributeTest, BorderSizeFormsReplaceEachOther) {
  Control control;
  control.SetAttribute(L"bordersize", L"1,1,1,1");
  control.SetAttribute(L"bordersize", L"2");
  EXPECT_EQ(2, control.GetBorderSize());
  EXPECT_EQ(0, control.GetBorderSizes().left);
  control.SetAttribute(L"bordersize", L"1,2,3,4");
  EXPECT_EQ(2, control.GetBorderSize());
  const RECT sides = control.GetBorderSizes();
  EXPECT_EQ(1, sides.left);
  EXPECT_EQ(2, sides.top);
  EXPECT_EQ(3, sides.right);
  EXPECT_EQ(4, sides.bottom);
  control.SetAttribute(L"rightbordersize", L"9");
  EXPECT_EQ(9, control.GetBorderSizes().right);
  control.SetAttribute(L"borderround", L"5,6");
  EXPECT_EQ(5, control.GetBorderRound().cx);
  EXPECT_EQ(6, control.GetBorderRound().cy);
}

TEST(ControlAttributeTest, AlphaClampsIntoTheByteRange) {
  Control control;
  control.SetAttribute(L"alpha", L"300");
  EXPECT_EQ(255, control.GetAlpha());
  control.SetAttribute(L"alpha", L"-4");
  EXPECT_EQ(0, control.GetAlpha());
  control.SetAttribute(L"alpha", L"128");
  EXPECT_EQ(128, control.GetAlpha());
}

TEST(ControlAttributeTest, ColoursAndImagesAreStoredAndHotOnesSwitchTheHotFadeOn) {
  Control control;
  control.SetAttribute(L"bkcolor", L"  \tblue");
  EXPECT_EQ(L"blue", control.GetBkColor());
  control.SetAttribute(L"bkcolor1", L"red");
  EXPECT_EQ(L"red", control.GetBkColor());
  control.SetAttribute(L"bordercolor", L"line");
  EXPECT_EQ(L"line", control.GetBorderColor());
  control.SetAttribute(L"pushedcolor", L"dark");
  EXPECT_EQ(L"dark", control.GetStateColor(kControlStatePushed));
  EXPECT_FALSE(HotFadeOn(control));
  control.SetAttribute(L"hotcolor", L"light");
  EXPECT_TRUE(HotFadeOn(control));
  EXPECT_TRUE(control.HasHotState());
  control.SetAttribute(L"fadehot", L"false");
  EXPECT_FALSE(HotFadeOn(control));

  Control imaged;
  imaged.SetAttribute(L"bkimage", L"file='bk.png'");
  EXPECT_EQ(L"file='bk.png'", imaged.GetBkImage());
  imaged.SetAttribute(L"hotimage", L"hot.png");
  EXPECT_TRUE(HotFadeOn(imaged));
  EXPECT_TRUE(imaged.HasHotState());
}

TEST(ControlAttributeTest, TextAttributes) {
  Control control;
  control.SetAttribute(L"name", L"ok");
  EXPECT_EQ(L"ok", control.GetName());
  control.SetAttribute(L"tooltiptext", L"a<n>b");
  EXPECT_EQ(L"a\r\nb", control.GetToolTipText());
  control.SetAttribute(L"tooltiptextid", L"STRID_X");
  EXPECT_EQ(L"STRID_X", control.GetToolTipTextId());
  control.SetAttribute(L"dataid", L"42");
  EXPECT_EQ(L"42", control.GetDataID());
  EXPECT_EQ("42", control.GetUTF8DataID());
  control.SetUTF8ToolTipText("\xc3\xa9");
  EXPECT_EQ(L"\u00e9", control.GetToolTipText());
  control.SetAttribute(L"unknown", L"ignored");  // no effect, no crash
}

TEST(ControlAttributeTest, FadeAttributesConfigureTheAnimations) {
  Control control;
  control.SetAttribute(L"fadewidth", L"true");
  control.SetAttribute(L"fadeinoutxfromright", L"true");
  AnimationManager& animations = control.GetAnimationManager();
  EXPECT_NE(nullptr, animations.GetAnimationPlayer(kAnimationWidth));
  EXPECT_NE(nullptr, animations.GetAnimationPlayer(kAnimationInoutXFromRight));
  EXPECT_EQ(nullptr, animations.GetAnimationPlayer(kAnimationInoutXFromLeft));
}

TEST(ControlAttributeListTest, AppliesPairsAndStopsAtTheFirstDefect) {
  Control control;
  control.ApplyAttributeList(L"name=\"a\" width=\"5\"");
  EXPECT_EQ(L"a", control.GetName());
  EXPECT_EQ(5, control.GetFixedWidth());

  Control two_blanks;
  two_blanks.ApplyAttributeList(L"name=\"a\"  width=\"5\"");
  EXPECT_EQ(L"a", two_blanks.GetName());
  EXPECT_EQ(kSizeStretch, two_blanks.GetFixedWidth());

  Control unquoted;
  unquoted.ApplyAttributeList(L"name=\"a\" width=5 height=\"6\"");
  EXPECT_EQ(kSizeStretch, unquoted.GetFixedWidth());
  EXPECT_EQ(kSizeStretch, unquoted.GetFixedHeight());

  Control unterminated;
  unterminated.ApplyAttributeList(L"width=\"5");
  EXPECT_EQ(kSizeStretch, unterminated.GetFixedWidth());
}

TEST(ControlAttributeListTest, ClassesApplyInOrderWhereTheyStand) {
  ResourceHub::AddClass(L"ctl_test_a", L"width=\"10\" height=\"11\"");
  ResourceHub::AddClass(L"ctl_test_b", L"width=\"20\"");
  Control control;
  control.SetAttribute(L"class", L"ctl_test_a ctl_test_b ctl_test_missing");
  EXPECT_EQ(20, control.GetFixedWidth());
  EXPECT_EQ(11, control.GetFixedHeight());
  control.SetAttribute(L"height", L"3");  // later attributes override the class
  EXPECT_EQ(3, control.GetFixedHeight());
}

// Counts the attributes set on it, those its classes set included.
class CountingControl : public Control {
 public:
  void SetAttribute(const std::wstring& name, const std::wstring& value) override {
    ++attributes_set;
    Control::SetAttribute(name, value);
  }
  int attributes_set = 0;
};

std::wstring Repeated(const std::wstring& name, int times) {
  std::wstring names = name;
  for (int i = 1; i < times; ++i) names += L" " + name;
  return names;
}

TEST(ControlAttributeListTest, AClassThatNamesItselfIsNotAppliedAgainFromWithin) {
  const std::wstring ten_times = Repeated(L"ctl_test_self", 10);
  ResourceHub::AddClass(L"ctl_test_self", L"width=\"3\" class=\"" + ten_times + L"\" height=\"4\"");
  CountingControl control;
  control.SetAttribute(L"class", ten_times);
  EXPECT_EQ(3, control.GetFixedWidth());
  EXPECT_EQ(4, control.GetFixedHeight());
  // The class attribute, then the class's three attributes once for each of the ten names.
  EXPECT_EQ(1 + 10 * 3, control.attributes_set);
}

TEST(ControlAttributeListTest, ClassesThatMultiplyStopAtTheExpansionBudget) {
  // Each class names the next one ten times: a million expansions from the first.
  auto fan = [](int i) { return L"ctl_test_fan" + std::to_wstring(i); };
  for (int i = 0; i < 6; ++i) {
    ResourceHub::AddClass(fan(i), L"class=\"" + Repeated(fan(i + 1), 10) + L"\"");
  }
  ResourceHub::AddClass(fan(6), L"width=\"5\"");
  CountingControl control;
  control.SetAttribute(L"class", fan(0));
  // Every expansion sets one attribute.
  EXPECT_EQ(1 + Control::kMostClassExpansions, control.attributes_set);
  EXPECT_EQ(5, control.GetFixedWidth());  // the first way down is followed to its end

  // The budget belongs to one class attribute; the next one has its own.
  control.SetAttribute(L"width", L"1");
  control.SetAttribute(L"class", fan(5));
  EXPECT_EQ(5, control.GetFixedWidth());
}

TEST(ControlPropertyTest, UserDataIsOwnedAndReplaced) {
  struct Counted : Control::UserData {
    explicit Counted(int* deaths) : deaths_(deaths) {}
    ~Counted() override { ++*deaths_; }
    int* deaths_;
  };
  int deaths = 0;
  {
    Control control;
    control.SetUserData(new Counted(&deaths));
    control.SetUserData(new Counted(&deaths));
    EXPECT_EQ(1, deaths);
  }
  EXPECT_EQ(2, deaths);
}

}  // namespace
}  // namespace ui
