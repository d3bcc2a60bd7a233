#include "test/layer_test_window.h"

#include "kestrum/testing/win_wait.h"
#include "ui/base/dpi/display_scale.h"
#include "ui/base/resource/resource_hub.h"

namespace DuiLib {
namespace testing_support {
namespace {

// The layer's own key translation comes first, as in the program's message loop.
bool TranslateLayerKeys(MSG& msg) { return CPaintManagerUI::TranslateMessage(&msg); }

}  // namespace

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

void LayerTest::Pump() { kestrum::testing_support::PumpPending(&TranslateLayerKeys); }

bool LayerTest::PumpUntil(const std::function<bool()>& done) {
  return kestrum::testing_support::PumpUntil(done, &TranslateLayerKeys);
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
