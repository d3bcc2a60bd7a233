#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "kestrum/testing/win_wait.h"
#include "ui/base/dpi/display_scale.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/controls/box/box.h"
#include "ui/controls/core/control.h"
#include "ui/windowing/window/window.h"

namespace ui {
namespace testing_support {

// A control that reports its destruction.
class TracedControl : public Control {
 public:
  explicit TracedControl(bool* destroyed) : destroyed_(destroyed) {}
  ~TracedControl() override { *destroyed_ = true; }

 private:
  bool* destroyed_;
};

// Runs the resource manager (render factory, GDI+) and owns one real, hidden 200 x 100 window
// with a bound handle and a root box. The window has no system caption, so its client area is
// its window rectangle.
class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    ResourceHub::Start(temp, nullptr, false, L"", L"");
    DisplayScale::Instance().OverrideForTesting(100, false);
    window_ = std::make_unique<Window>();
    hwnd_ = window_->Create(nullptr, L"test", WS_POPUP, 0, false, RECT{0, 0, 200, 100});
    ASSERT_NE(hwnd_, nullptr);
    window_->BindHandle(hwnd_);
    root_ = new Box;
    window_->InstallRoot(root_);
    root_->SetPos(RECT{0, 0, 200, 100});
  }
  void TearDown() override {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    window_.reset();
    ResourceHub::Stop();
  }
  // A child of the root at rect, laid out at once.
  Control* AddChild(const RECT& rect, const wchar_t* name = L"") {
    Control* child = new Control;
    child->SetName(name);
    child->SetAttribute(L"float", L"true");
    root_->Add(child);
    child->SetPos(rect);
    return child;
  }
  // Records the types of the events child's handlers see.
  void Record(Control* control) {
    control->AttachEvent(kEventAll, [this](EventArgs* args) {
      events_.push_back(args->type);
      return true;
    });
  }
  LRESULT Send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendMessageW(hwnd_, message, wparam, lparam);
  }
  static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
  static void PumpMessages() { kestrum::testing_support::PumpPending(); }

  std::unique_ptr<Window> window_;
  HWND hwnd_ = nullptr;
  Box* root_ = nullptr;
  std::vector<EventType> events_;
};

}  // namespace testing_support
}  // namespace ui
