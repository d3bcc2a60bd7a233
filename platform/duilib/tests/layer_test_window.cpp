#include "tests/layer_test_window.h"

#include "ui/base/dpi/display_scale.h"
#include "ui/base/resource/resource_hub.h"

namespace DuiLib {
namespace testing_support {

void LayerTest::SetUp() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  ui::ResourceHub::Start(temp, nullptr, false, L"", L"");
  ui::DisplayScale::Instance().OverrideForTesting(100, false);
  CPaintManagerUI::SetResourcePath(temp);
}

void LayerTest::TearDown() {
  if (window_ && IsWindow(window_->GetHWND())) DestroyWindow(window_->GetHWND());
  window_.reset();
  Pump();
  ui::ResourceHub::Stop();
}

LayerTestWindow* LayerTest::Open(const std::wstring& skin) {
  window_ = std::make_unique<LayerTestWindow>(skin);
  if (!window_->Build()) return nullptr;
  window_->ShowAndPaint();
  return window_.get();
}

void LayerTest::Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (CPaintManagerUI::TranslateMessage(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool LayerTest::PumpUntil(const std::function<bool()>& done) {
  // A bound against hanging, not a timing expectation.
  constexpr int kMostWaits = 500;
  for (int i = 0; i < kMostWaits && !done(); ++i) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    Pump();
  }
  return done();
}

void LayerTest::Click(CControlUI* control) {
  const RECT rect = control->GetPos();
  const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  SendMessageW(window_->GetHWND(), WM_MOUSEMOVE, 0, at);
  SendMessageW(window_->GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(window_->GetHWND(), WM_LBUTTONUP, 0, at);
}

}  // namespace testing_support
}  // namespace DuiLib
