#include "ui/controls/button/button.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/base/resource/resource_hub.h"
#include "ui/controls/button/button_test_support.h"
#include "ui/controls/button/check_box.h"
#include "ui/controls/render/gdiplus/render_context_gdiplus.h"

namespace ui {
namespace {

using testing_support::Attached;
using testing_support::Count;

TEST(ButtonKeyTest, SpaceAndEnterClickOnceEach) {
  Attached<Button> attached;
  int clicks = 0;
  Count(attached.control, kEventClick, &clicks);
  attached.control->SendEvent(kEventKeyDown, 0, 0, VK_SPACE);
  EXPECT_EQ(1, clicks);
  attached.control->SendEvent(kEventKeyDown, 0, 0, VK_RETURN);
  EXPECT_EQ(2, clicks);
  attached.control->SendEvent(kEventKeyDown, 0, 0, L'a');
  EXPECT_EQ(2, clicks);
  attached.control->SetKeyboardEnabled(false);
  attached.control->SendEvent(kEventKeyDown, 0, 0, VK_SPACE);
  EXPECT_EQ(2, clicks);
}

TEST(ButtonKeyTest, NoClickWithoutWindowOrWhileDisabled) {
  Button loose;
  int loose_clicks = 0;
  Count(&loose, kEventClick, &loose_clicks);
  loose.Activate();
  EXPECT_EQ(0, loose_clicks);

  Attached<ButtonBox> attached;
  int clicks = 0;
  Count(attached.control, kEventClick, &clicks);
  attached.control->SetEnabled(false);
  attached.control->Activate();
  EXPECT_EQ(0, clicks);
  attached.control->SetEnabled(true);
  attached.control->Activate();
  EXPECT_EQ(1, clicks);
}

TEST(ButtonMenuTest, MenuRequestBecomesMenuEventOnlyWhenUsed) {
  Attached<Button> attached;
  std::vector<WPARAM> params;
  int menus = 0;
  Count(attached.control, kEventMouseMenu, &menus, &params);
  int bubbled = 0;
  attached.root->AttachBubbledEvent(kEventAll, [&](EventArgs* args) {
    if (args->type == kEventInternalMenu) ++bubbled;
    return true;
  });
  attached.control->SendEvent(kEventInternalMenu, 7, 0);
  EXPECT_EQ(0, menus);
  EXPECT_EQ(0, bubbled);  // not passed up either
  attached.control->SetContextMenuUsed(true);
  attached.control->SendEvent(kEventInternalMenu, 7, 0);
  ASSERT_EQ(1, menus);
  EXPECT_EQ(7u, params[0]);
}

TEST(ButtonStyleTest, ButtonsCentreTheirText) {
  Button button;
  EXPECT_EQ(kTextStyleButton, button.GetTextStyle());
}

// Opens the selected text colour to the tests.
class ProbeCheckBox : public CheckBox {
 public:
  using CheckBox::SelectedTextColorName;
};

TEST(CheckBoxTest, ActivationTogglesAndRaisesSelectNotClick) {
  Attached<CheckBox> attached;
  CheckBox* box = attached.control;
  int clicks = 0;
  Count(box, kEventClick, &clicks);
  int selects = 0;
  Count(box, kEventSelect, &selects);
  int unselects = 0;
  Count(box, kEventUnSelect, &unselects);
  box->Activate();
  EXPECT_TRUE(box->IsSelected());
  box->Activate();
  EXPECT_FALSE(box->IsSelected());
  EXPECT_EQ(0, clicks);
  EXPECT_EQ(1, selects);
  EXPECT_EQ(1, unselects);
  box->Selected(false, true);  // unchanged: nothing
  box->Selected(true, false);  // silent
  EXPECT_EQ(1, selects);
  box->Selected(false, false);
  EXPECT_EQ(1, unselects);
}

TEST(CheckBoxTest, SelectedAttributesAndEstimateImage) {
  CheckBox box;
  EXPECT_EQ(nullptr, box.GetEstimateImage());
  box.SetAttribute(L"selectednormalimage", L"file='sel.png'");
  EXPECT_NE(nullptr, box.GetEstimateImage());
  EXPECT_FALSE(box.HasHotState());
  box.SetAttribute(L"selectedhotcolor", L"red");
  EXPECT_EQ(L"red", box.GetSelectedStateColor(kControlStateHot));
  EXPECT_TRUE(box.HasHotState());
  // The selected colours do not switch the hot fade on.
  EXPECT_EQ(nullptr, box.GetAnimationManager().GetAnimationPlayer(kAnimationHot));
  box.SetAttribute(L"selected", L"true");
  EXPECT_TRUE(box.IsSelected());
}

TEST(CheckBoxTest, DisabledSelectedTextUsesTheDisabledColour) {
  ProbeCheckBox box;
  box.SetAttribute(L"normaltextcolor", L"black");
  box.SetAttribute(L"disabledtextcolor", L"grey");
  EXPECT_EQ(L"black", box.SelectedTextColorName());
  box.SetAttribute(L"selectedtextcolor", L"blue");
  EXPECT_EQ(L"blue", box.SelectedTextColorName());
  box.SetEnabled(false);
  EXPECT_EQ(L"grey", box.SelectedTextColorName());
}

TEST(CheckBoxPaintTest, SelectedBoxPaintsItsSelectedStateColour) {
  ResourceHub::AddTextColor(L"btn_test_red", L"#FFFF0000");
  ResourceHub::AddTextColor(L"btn_test_blue", L"#FF0000FF");
  RenderContext_GdiPlus target;
  ASSERT_TRUE(target.Resize(16, 16));
  const auto pixel = [&target](int x, int y) {
    return static_cast<DWORD*>(target.GetBits())[y * target.GetWidth() + x];
  };
  CheckBox box;
  box.SetAttribute(L"normalcolor", L"btn_test_red");
  box.SetAttribute(L"selectednormalcolor", L"btn_test_blue");
  box.SetPos({0, 0, 8, 8});
  target.Clear();
  box.Paint(&target, {0, 0, 16, 16});
  EXPECT_EQ(0xFFFF0000u, pixel(2, 2));
  box.Selected(true, false);
  target.Clear();
  box.Paint(&target, {0, 0, 16, 16});
  EXPECT_EQ(0xFF0000FFu, pixel(2, 2));
  EXPECT_EQ(0u, pixel(10, 10));
}

}  // namespace
}  // namespace ui
