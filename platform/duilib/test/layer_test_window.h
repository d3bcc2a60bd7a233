#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "duilib/duilib.h"

namespace DuiLib {
namespace testing_support {

// A vertical layout that records the events its DoEvent sees and eats wheel events, as the
// program's own lists do.
class WheelList : public CVerticalLayoutUI {
 public:
  void DoEvent(TEventUI& event) override {
    events.push_back(event);
    if (event.Type == UIEVENT_SCROLLWHEEL) return;
    CVerticalLayoutUI::DoEvent(event);
  }
  int Count(int type) const {
    int count = 0;
    for (const TEventUI& event : events) count += event.Type == type ? 1 : 0;
    return count;
  }

  std::vector<TEventUI> events;
};

// A list that takes the wheel over, as the program's lists do.
class WheelEatingList : public CListUI {
 public:
  void DoEvent(TEventUI& event) override {
    if (event.Type == UIEVENT_SCROLLWHEEL) {
      ++wheels;
      return;
    }
    CListUI::DoEvent(event);
  }

  int wheels = 0;
};

// A button that reports its destruction.
class TracedButton : public CButtonUI {
 public:
  explicit TracedButton(bool* destroyed) : destroyed_(destroyed) {}
  ~TracedButton() override { *destroyed_ = true; }

 private:
  bool* destroyed_;
};

// A window of the layer built from skin markup, recording every notification as
// "type:name" (options add "=0"/"=1", their selection when notified).
class LayerTestWindow : public CWindowWnd, public INotifyUI, public IDialogBuilderCallback {
 public:
  static constexpr UINT kHideMessage = WM_APP + 5;

  explicit LayerTestWindow(std::wstring skin) : skin_(std::move(skin)) {}

  const wchar_t* GetWindowClassName() const override { return L"DuiLayerTestWindow"; }
  UINT GetClassStyle() const override { return CS_DBLCLKS; }
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_CREATE) {
      pm.Init(hwnd_);
      CDialogBuilder builder;
      pm.AttachDialog(builder.Create(skin_.c_str(), 0, this, &pm));
      pm.AddNotifier(this);
      return 0;
    }
    // As the program's windows do: keys never reach the paint manager from here.
    if (message == WM_KEYDOWN) return 0;
    if (message == kHideMessage) {
      ShowWindow(false);
      return 0;
    }
    LRESULT result = 0;
    if (pm.MessageHandler(message, wparam, lparam, result)) return result;
    return CWindowWnd::HandleMessage(message, wparam, lparam);
  }
  void OnFinalMessage(HWND /*hwnd*/) override { final_message = true; }
  void Notify(TNotifyUI& msg) override {
    std::wstring entry = msg.sType + L":" + msg.pSender->GetName();
    if (auto* option = static_cast<COptionUI*>(msg.pSender->GetInterface(L"Option"))) {
      entry += option->IsSelected() ? L"=1" : L"=0";
    }
    log.push_back(entry);
    if (on_notify) on_notify(msg);
  }
  CControlUI* CreateControl(const wchar_t* class_name) override {
    const std::wstring name = class_name;
    if (name == L"WheelList") return new WheelList;
    if (name == L"WheelEatingList") return new WheelEatingList;
    if (name == L"TracedButton") return new TracedButton(&traced_destroyed);
    return nullptr;
  }

  // Creates the window hidden at 200 x 100 on the screen's corner.
  bool Build() { return Create(nullptr, L"layer test", WS_POPUP, 0, 0, 0, 200, 100) != nullptr; }
  // Shows and paints the window once.
  void ShowAndPaint() {
    ShowWindow(true, false);
    Repaint();
  }
  void Repaint() {
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
  }
  // The log without focus changes (a click also focuses).
  std::vector<std::wstring> Actions() const {
    std::vector<std::wstring> actions;
    for (const std::wstring& item : log) {
      if (item.rfind(L"setfocus", 0) != 0 && item.rfind(L"killfocus", 0) != 0) {
        actions.push_back(item);
      }
    }
    return actions;
  }
  int CountOf(const std::wstring& entry) const {
    int count = 0;
    for (const std::wstring& item : log) count += item == entry ? 1 : 0;
    return count;
  }

  CPaintManagerUI pm;
  std::vector<std::wstring> log;
  std::function<void(TNotifyUI&)> on_notify;
  bool final_message = false;
  bool traced_destroyed = false;

 private:
  std::wstring skin_;
};

// Runs the framework (resource path in the temporary folder) around each test.
class LayerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Builds, shows and paints a window of skin.
  LayerTestWindow* Open(const std::wstring& skin);
  // Dispatches what is queued, through the layer's key translation.
  static void Pump();
  // Pumps (as Pump) until done(); false when it still does not at the tests' timeout.
  static bool PumpUntil(const std::function<bool()>& done);
  // A left click at the centre of control.
  void Click(CControlUI* control);

  std::unique_ptr<LayerTestWindow> window_;
};

}  // namespace testing_support
}  // namespace DuiLib
