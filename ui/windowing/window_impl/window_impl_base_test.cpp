#include "ui/windowing/window_impl/window_impl_base.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/controls/layout/layout.h"
#include "ui/controls/shadow/shadow_box.h"
#include "ui/controls/testing/scoped_display_scale.h"

namespace ui {
namespace {

// What a test window reports about itself; owned by the test, so it outlives the window.
struct Probe {
  std::wstring skin_file = L"window.xml";
  bool skin_loaded = false;
  bool destroyed = false;
  int closes = 0;
  std::wstring error;
};

class ProbeWindow : public WindowImplBase {
 public:
  explicit ProbeWindow(Probe* probe) : probe_(probe) {}
  std::wstring RegisteredClassName() const override { return L"KestrumProbeWindow"; }

 protected:
  ~ProbeWindow() override { probe_->destroyed = true; }
  std::wstring SkinFolder() const override { return L"probe"; }
  std::wstring SkinFile() const override { return probe_->skin_file; }
  void OnSkinLoaded() override { probe_->skin_loaded = true; }
  void ReportSkinError(const std::wstring& text) override { probe_->error = text; }
  LRESULT OnClose(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override {
    ++probe_->closes;
    return WindowImplBase::OnClose(message, wparam, lparam, handled);
  }

 private:
  Probe* probe_;
};

// A 300 x 200 body with resize borders, a caption band holding a label and a close button, a
// minimum size and round corners.
constexpr char kSkin[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Window size=\"300,200\" sizebox=\"4,4,4,4\" caption=\"0,0,0,30\" mininfo=\"100,50\" "
    "roundcorner=\"6,6\">\n"
    "  <VBox width=\"300\" height=\"200\">\n"
    "    <HBox height=\"30\">\n"
    "      <Label name=\"title\" width=\"100\" text=\"Title\" />\n"
    "      <Button name=\"closebtn\" width=\"30\" height=\"30\" />\n"
    "      <Button name=\"maxbtn\" width=\"30\" height=\"30\" />\n"
    "      <Button name=\"restorebtn\" width=\"30\" height=\"30\" visible=\"false\" />\n"
    "    </HBox>\n"
    "  </VBox>\n"
    "</Window>\n";

// Runs the resource manager on a theme folder of its own and writes skins into its "probe"
// folder.
class SkinnedWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"kestrum_skinned_window\\";
    for (const wchar_t* folder : {L"", L"theme", L"theme\\probe"}) {
      CreateDirectoryW((root_ + folder).c_str(), nullptr);
    }
    ResourceHub::Start(root_, nullptr, false, L"theme", L"lang");
    DisplayScale::Instance().OverrideForTesting(100, false);
    WriteSkin(L"window.xml", kSkin);
  }
  void TearDown() override {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    ResourceHub::Stop();
  }
  void WriteSkin(const std::wstring& name, const char* text) {
    FILE* file = _wfopen((root_ + L"theme\\probe\\" + name).c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    fputs(text, file);
    fclose(file);
  }
  // Creates the probe window at (100, 100) and lays its tree out.
  ProbeWindow* Open() {
    auto* window = new ProbeWindow(&probe_);
    hwnd_ = window->Create(nullptr, L"probe", WS_POPUP, 0, true, RECT{100, 100, 110, 110});
    if (!hwnd_) return nullptr;
    SendMessageW(hwnd_, WM_PAINT, 0, 0);
    return window;
  }
  LRESULT HitTest(LONG x, LONG y) {
    POINT point = {x, y};
    ClientToScreen(hwnd_, &point);
    return SendMessageW(hwnd_, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
  }

  std::wstring root_;
  Probe probe_;
  HWND hwnd_ = nullptr;
};

TEST_F(SkinnedWindowTest, TheSkinBuildsAShadowedTreeAroundItsBody) {
  ProbeWindow* window = Open();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(probe_.skin_loaded);
  EXPECT_EQ(GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CAPTION, 0);
  RECT rect = {};
  GetWindowRect(hwnd_, &rect);
  EXPECT_EQ(rect.right - rect.left, 328);
  EXPECT_EQ(rect.bottom - rect.top, 228);
  ASSERT_NE(window->InstalledShadowBox(), nullptr);
  EXPECT_EQ(window->ControlByName(L"title")->GetPos(true).left, 14);
  EXPECT_EQ(window->ControlByName(L"title")->GetPos(false).left, 0);
}

TEST_F(SkinnedWindowTest, TheCaptionDragsByLabelsAndEmptySpaceButNotByButtons) {
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(HitTest(60, 30), HTCAPTION);   // the label
  EXPECT_EQ(HitTest(300, 30), HTCAPTION);  // the band's empty box
  EXPECT_EQ(HitTest(130, 30), HTCLIENT);   // "closebtn"
  EXPECT_EQ(HitTest(60, 100), HTCLIENT);   // below the band
  EXPECT_EQ(HitTest(5, 5), HTCLIENT);      // the shadow margin
  EXPECT_EQ(HitTest(14, 14), HTTOPLEFT);
  EXPECT_EQ(HitTest(313, 100), HTRIGHT);
}

TEST_F(SkinnedWindowTest, RoundCornersGiveARegionOnePixelLargerThanTheWindow) {
  ASSERT_NE(Open(), nullptr);
  SendMessageW(hwnd_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(328, 228));
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hwnd_, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_TRUE(PtInRegion(region, 164, 114));
  EXPECT_TRUE(PtInRegion(region, 327, 114));
  DeleteObject(region);
}

TEST_F(SkinnedWindowTest, WithoutRoundCornersTheWindowKeepsNoRegion) {
  WriteSkin(L"square.xml", "<Window size=\"50,40\"><Box /></Window>");
  probe_.skin_file = L"square.xml";
  ASSERT_NE(Open(), nullptr);
  SendMessageW(hwnd_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(78, 68));
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(hwnd_, region), ERROR);
  DeleteObject(region);
}

TEST_F(SkinnedWindowTest, AnAutoSizedSkinOpensAtItsEstimatedSizeAtTheScreenOrigin) {
  WriteSkin(L"auto.xml",
            "<Window><VBox width=\"120\" height=\"auto\">"
            "<Control height=\"30\" /><Control height=\"25\" /></VBox></Window>");
  probe_.skin_file = L"auto.xml";
  auto* window = new ProbeWindow(&probe_);
  hwnd_ = window->Create(nullptr, L"auto", WS_POPUP, 0, true, RECT{100, 100, 110, 110});
  ASSERT_NE(hwnd_, nullptr);
  RECT rect = {};
  GetWindowRect(hwnd_, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, 120 + 28);
  EXPECT_EQ(rect.bottom, 55 + 28);
}

TEST_F(SkinnedWindowTest, AMissingSkinIsReportedAndTheWindowIsNeverCreated) {
  probe_.skin_file = L"missing.xml";
  EXPECT_EQ(Open(), nullptr);
  EXPECT_EQ(probe_.error, L"Failed to load xml file " + root_ + L"theme\\probe\\missing.xml");
  EXPECT_TRUE(probe_.destroyed);
  EXPECT_FALSE(probe_.skin_loaded);

  Probe empty;
  empty.skin_file = L"empty.xml";
  WriteSkin(L"empty.xml", "<Window size=\"50,40\"></Window>");
  auto* window = new ProbeWindow(&empty);
  EXPECT_EQ(window->Create(nullptr, L"empty", WS_POPUP, 0, false, RECT{}), nullptr);
  EXPECT_FALSE(empty.error.empty());
  EXPECT_TRUE(empty.destroyed);
}

TEST_F(SkinnedWindowTest, TheSystemCloseCommandEndsInWmCloseAndTheWindowDeletesItself) {
  ASSERT_NE(Open(), nullptr);
  SendMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(probe_.closes, 1);
  EXPECT_FALSE(IsWindow(hwnd_));
  EXPECT_TRUE(probe_.destroyed);
}

TEST_F(SkinnedWindowTest, TrackSizesCarryTheShadowAndMaximisingFillsTheWorkArea) {
  ASSERT_NE(Open(), nullptr);
  MINMAXINFO info = {};
  info.ptMaxTrackSize = POINT{5000, 5000};
  SendMessageW(hwnd_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 128);
  EXPECT_EQ(info.ptMinTrackSize.y, 78);
  EXPECT_EQ(info.ptMaxTrackSize.x, 5000);  // no "maxinfo": no limit
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  EXPECT_EQ(info.ptMaxSize.x, monitor.rcWork.right - monitor.rcWork.left);
  EXPECT_EQ(info.ptMaxSize.y, monitor.rcWork.bottom - monitor.rcWork.top);
}

TEST_F(SkinnedWindowTest, ADpiChangeRescalesTheShadow) {
  ScopedDisplayScale scale(100, true);
  ProbeWindow* window = Open();
  ASSERT_NE(window, nullptr);
  SendMessageW(hwnd_, WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
  EXPECT_EQ(DisplayScale::Instance().scale(), 150);
  EXPECT_EQ(window->ShadowMargin().left, 21);
  EXPECT_EQ(window->InstalledShadowBox()->GetLayout()->GetPadding().top, 21);
}

TEST_F(SkinnedWindowTest, MaximiseAndRestoreButtonsSwapAndDropTheMargin) {
  ProbeWindow* window = Open();
  ASSERT_NE(window, nullptr);
  Control* max_button = window->ControlByName(L"maxbtn");
  Control* restore_button = window->ControlByName(L"restorebtn");
  max_button->Activate();
  EXPECT_FALSE(max_button->IsVisible());
  EXPECT_TRUE(restore_button->IsVisible());
  EXPECT_TRUE(IsZoomed(hwnd_));
  EXPECT_EQ(window->ShadowMargin().left, 0);
  restore_button->Activate();
  EXPECT_TRUE(max_button->IsVisible());
  EXPECT_FALSE(IsZoomed(hwnd_));
  EXPECT_EQ(window->ShadowMargin().left, 14);
}

}  // namespace
}  // namespace ui
