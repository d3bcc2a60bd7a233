#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

#include "kestrum/common/scoped_handle.h"
#include "kestrum/testing/win_wait.h"
#include "ui/base/dpi/display_scale.h"
#include "ui/base/render/render_context.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/thread/framework_thread.h"
#include "ui/base/thread/test_framework_thread.h"
#include "ui/base/thread/thread_registry.h"
#include "ui/base/util/module_path.h"
#include "ui/windowing/window/window.h"

namespace ui {
namespace testing_support {

// The set-up of the framework's own windows as the program has it: the resource manager started
// on the committed resources (copied to "..\Resource\" beside the test programs), a framework
// thread with a UI loop registered as thread 0, and an owner window on the test thread, which
// plays the program's window thread.
class FrameworkWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ResourceHub::Start(kbase::ModuleDirectory() + L"..\\Resource\\", nullptr, false,
                       L"themes\\default", L"lang\\zh_CN");
    DisplayScale::Instance().OverrideForTesting(100, false);
    main_thread_.before_run = [this] {
      main_thread_id_ = GetCurrentThreadId();
      kbase::ThreadRegistry::RegisterCurrentThread(0);
    };
    main_thread_.after_run = [] { kbase::ThreadRegistry::UnregisterCurrentThread(); };
    ASSERT_TRUE(main_thread_.Start(kbase::FrameworkThread::kUILoop));
    // Hidden: under a display without window manager, handing the activation back to a
    // visible owner costs seconds per closed window.
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 200, 150, 500, 400, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(owner_);  // takes any window it still owns along
    kestrum::testing_support::PumpPending();
    main_thread_.StopAndJoin();
    ResourceHub::Stop();
  }

  // Pumps the test thread's messages until done() holds; false when it still does not at the
  // tests' timeout (kestrum::testing_support::PumpUntil).
  static bool PumpUntil(const std::function<bool()>& done) {
    return kestrum::testing_support::PumpUntil(done);
  }

  // Waits until every task posted to thread 0 so far has run.
  bool DrainMainThread() {
    const kestrum::common::ScopedHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const bool posted =
        kbase::ThreadRegistry::PostTask(0, [event = done.get()] { SetEvent(event); });
    return posted && kestrum::testing_support::WaitForHandle(done.get());
  }

  // The window of class_name that the test thread owns, or null.
  static HWND FindThreadWindow(const wchar_t* class_name);

  kbase::TestFrameworkThread main_thread_;
  std::atomic<DWORD> main_thread_id_{0};
  HWND owner_ = nullptr;
};

// What a probe of a rendered rectangle found: pixels whose colour differs clearly from the
// background (text, images), and pixels that are not fully opaque.
struct PixelCensus {
  int differing = 0;
  int translucent = 0;
};

PixelCensus CountPixels(IRenderContext* context, const RECT& rect, DWORD background);

// The body of a shadowed window less its four corner pixels, which keep the alpha of the body's
// rounded border.
RECT BodyInside(Window* window);

// Writes the context's pixels to a PNG file with GDI+ (which must be running); false on failure.
bool SavePng(IRenderContext* context, const std::wstring& path);

// The folder beside the test programs for the pictures the tests take, with its separator.
std::wstring PictureFolder();

}  // namespace testing_support
}  // namespace ui
