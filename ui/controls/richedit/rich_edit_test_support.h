#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/base/resource/resource_hub.h"
#include "ui/base/testing/manual_timer_backend.h"
#include "ui/base/timer/timer_manager.h"
#include "ui/controls/richedit/rich_edit.h"
#include "ui/controls/richedit/txt_win_host.h"
#include "ui/windowing/window/window_test_fixture.h"

namespace ui {
namespace testing_support {

// A real hidden window with the system's rich edit library behind its RichEdit controls, one
// global font (id 0) and a manual timer manager for carets and the text services' timers.
class RichEditTest : public WindowTest {
 protected:
  RichEditTest() : timers_(std::make_unique<ManualTimerBackend>(&now_ms_)) {}

  void SetUp() override {
    WindowTest::SetUp();
    ResourceHub::AddFont(L"system", 14, false, false, false);
  }

  // A floating edit at rect with the attributes applied before it joins the window (style
  // attributes reach the text services only then).
  RichEdit* AddEdit(const RECT& rect,
                    const std::vector<std::pair<std::wstring, std::wstring>>& attributes = {}) {
    auto* edit = new RichEdit;
    edit->SetTimerManager(&timers_);
    edit->SetAttribute(L"float", L"true");
    for (const auto& attribute : attributes) edit->SetAttribute(attribute.first, attribute.second);
    root_->Add(edit);
    edit->SetPos(rect);
    return edit;
  }

  void AdvanceMs(int ms) {
    now_ms_ += ms;
    timers_.Tick(now_ms_);
  }

  // Sets or clears the pressed bit of keys in this thread's keyboard state, as the key
  // messages of a real keyboard would.
  static void SetKeys(std::initializer_list<int> keys, bool down) {
    BYTE state[256];
    GetKeyboardState(state);
    for (int key : keys) state[key] = down ? 0x80 : 0;
    SetKeyboardState(state);
  }
  void TearDown() override {
    SetKeys({VK_CONTROL, VK_SHIFT, VK_TAB}, false);
    WindowTest::TearDown();
  }

  int64_t now_ms_ = 0;
  TimerManager timers_;
};

}  // namespace testing_support
}  // namespace ui
