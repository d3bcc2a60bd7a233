#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "kestrum/common/thread_affinity.h"
#include "ui/base/callback/weak_callback.h"

namespace ui {

class TimerManager;

// Shows the system touch keyboard when a text control is touched with a pen or finger and hides
// it when that control loses the focus. Works on Windows 8 and later; elsewhere every request
// does nothing.
//
// Requests are not acted on at once: each ShowOSK schedules a check 10 ms later, and every check
// acts on the latest request, so a show quickly followed by a hide leaves the keyboard hidden.
//
// Threads: the UI thread only (the thread that makes the manager; checked in the builds with
// checks); the checks run on that thread's TimerManager.
// Ownership: GetInstance() returns a process-wide object that lives until process exit; pending
// checks of a destroyed manager are dropped through its weak flag.
class OnScreenKeyboardManager : public virtual kbase::SupportWeakCallback {
 public:
  // The keyboard window's class; it counts as shown when visible and enabled.
  static constexpr const wchar_t* kWindowClass = L"IPTip_Main_Window";
  static constexpr int kCheckDelayMs = 10;

  // What the manager does to the system beyond finding and closing the keyboard window. The
  // real one is used unless a test hands in its own.
  class Platform {
   public:
    virtual ~Platform() = default;
    // Whether the system has the touch keyboard (Windows 8 or later); asked once.
    virtual bool IsSupported() = 0;
    // Asks the running keyboard service to toggle the keyboard; false when the service could
    // not be reached.
    virtual bool ToggleThroughService() = 0;
    // Starts the keyboard program at path; failures are not reported.
    virtual void StartProgram(const std::wstring& path) = 0;
  };

  static OnScreenKeyboardManager* GetInstance();

  // platform null means the real system; timers null means TimerManager::Instance(). The timer
  // manager is not owned and must outlive pending checks.
  OnScreenKeyboardManager(std::unique_ptr<Platform> platform, TimerManager* timers);
  ~OnScreenKeyboardManager() override;
  OnScreenKeyboardManager(const OnScreenKeyboardManager&) = delete;
  OnScreenKeyboardManager& operator=(const OnScreenKeyboardManager&) = delete;

  // Records the wanted state and schedules a check; nothing on systems without the keyboard.
  void ShowOSK(bool show);

  // Where the keyboard program lies: under "CommonProgramW6432" when that is set, otherwise a
  // fixed path under "C:\Program Files".
  static std::wstring KeyboardProgramPath();

  // True when the keyboard window exists, is visible and is not disabled.
  static bool IsKeyboardVisible();

 private:
  void CheckOSK();
  bool IsSupported();
  TimerManager& Timers();

  std::unique_ptr<Platform> platform_;
  TimerManager* timers_;
  int supported_ = -1;  // -1 not asked yet, else 0 or 1
  bool show_requested_ = false;
  kestrum::common::ThreadAffinity thread_;
};

}  // namespace ui
