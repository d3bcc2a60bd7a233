#include <gtest/gtest.h>

#include "ui/windowing/window/touch_input.h"
#include "ui/windowing/window/window_test_fixture.h"

namespace ui {
namespace {

using testing_support::WindowTest;
using Events = std::vector<EventType>;

// Contacts fed to the window in place of the system's.
struct FakeInput {
  static TOUCHINPUT touch;
  static bool touch_readable;
  static int closed;
  static DWORD pointer_type;
  static UINT32 pressure;
  static POINT location;

  static bool GetTouch(HTOUCHINPUT, UINT count, TOUCHINPUT* inputs) {
    if (!touch_readable || count == 0) return false;
    inputs[0] = touch;
    return true;
  }
  static bool Close(HTOUCHINPUT) {
    ++closed;
    return true;
  }
  static bool GetType(UINT32, DWORD* type) {
    *type = pointer_type;
    return true;
  }
  static bool GetTouchInfo(UINT32, void* info) {
    auto* record = static_cast<PointerTouchRecord*>(info);
    record->info.pixel_location = location;
    record->pressure = pressure;
    return true;
  }
  static bool GetPenInfo(UINT32, void* info) {
    auto* record = static_cast<PointerPenRecord*>(info);
    record->info.pixel_location = location;
    record->pressure = pressure;
    return true;
  }
};
TOUCHINPUT FakeInput::touch = {};
bool FakeInput::touch_readable = true;
int FakeInput::closed = 0;
DWORD FakeInput::pointer_type = 3;
UINT32 FakeInput::pressure = 0;
POINT FakeInput::location = {};

const TouchInput kFake = {&FakeInput::GetTouch, &FakeInput::Close, &FakeInput::GetType,
                          &FakeInput::GetTouchInfo, &FakeInput::GetPenInfo};

class WindowTouchTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    TouchInput::ReplaceForTesting(&kFake);
    FakeInput::closed = 0;
    FakeInput::touch_readable = true;
  }
  void TearDown() override {
    TouchInput::ReplaceForTesting(nullptr);
    WindowTest::TearDown();
  }
  // A contact at client (x, y); the window sits at the screen origin without a frame.
  void Touch(DWORD flags, int x, int y) {
    FakeInput::touch = TOUCHINPUT{};
    FakeInput::touch.x = x * 100;
    FakeInput::touch.y = y * 100;
    FakeInput::touch.dwID = 1;
    FakeInput::touch.dwFlags = flags;
    Send(WM_TOUCH, 1, 0x1234);
  }
  void Pointer(UINT message, int x, int y, bool primary = true) {
    FakeInput::location = POINT{x, y};
    Send(message, MAKEWPARAM(1, primary ? 0x2000 : 0), 0);
  }
};

TEST_F(WindowTouchTest, ATouchContactDrivesItsControlAndLocksTheMouseOut) {
  Control* item = AddChild(RECT{0, 0, 40, 40});
  Record(item);
  Touch(TOUCHEVENTF_DOWN, 5, 5);
  EXPECT_EQ(GetCapture(), hwnd_);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));  // ignored while touching
  EXPECT_EQ(window_->GetPressedControl(), nullptr);
  Touch(TOUCHEVENTF_MOVE, 5, 5);  // same point: nothing
  Touch(TOUCHEVENTF_MOVE, 8, 9);
  Touch(TOUCHEVENTF_UP, 8, 9);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(FakeInput::closed, 4);
  const Events expected = {kEventSetFocus, kEventTouchDown, kEventMouseEnter, kEventTouchMove,
                           kEventTouchUp};
  EXPECT_EQ(events_, expected);
}

TEST_F(WindowTouchTest, AnUnreadableTouchIsStillClosed) {
  Control* item = AddChild(RECT{0, 0, 40, 40});
  Record(item);
  FakeInput::touch_readable = false;
  Touch(TOUCHEVENTF_DOWN, 5, 5);
  EXPECT_TRUE(events_.empty());
  EXPECT_EQ(FakeInput::closed, 1);
}

TEST_F(WindowTouchTest, PenPressureArrivesBetweenZeroAndOneAndSecondaryPointersAreSwallowed) {
  Control* item = AddChild(RECT{0, 0, 40, 40});
  std::vector<float> pressures;
  item->AttachEvent(kEventAll, [&pressures](EventArgs* args) {
    if (args->type == kEventPointDown || args->type == kEventPointUp) {
      pressures.push_back(args->pressure);
    }
    return true;
  });
  FakeInput::pointer_type = 3;
  FakeInput::pressure = 512;
  Pointer(kWmPointerDown, 5, 5, false);
  EXPECT_TRUE(pressures.empty());
  Pointer(kWmPointerDown, 5, 5);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));  // derived mouse input is ignored
  EXPECT_EQ(window_->GetPressedControl(), nullptr);
  FakeInput::pressure = 1024;
  Pointer(kWmPointerUp, 5, 5);
  ASSERT_EQ(pressures.size(), 2u);
  EXPECT_FLOAT_EQ(pressures[0], 0.5f);
  EXPECT_FLOAT_EQ(pressures[1], 1.0f);
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
}  // namespace ui
