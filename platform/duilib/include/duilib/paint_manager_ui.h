#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "duilib/dui_string.h"
#include "duilib/notify_ui.h"

namespace ui {
class Window;
}

namespace DuiLib {

class CControlUI;
class HostWindow;

// Binds a framework window (the host: layout, painting, input, focus) to the handle of a
// CWindowWnd, and gives the window its control lookups, notifiers, control timers and the
// process-wide resource path and message loop.
//
// Threads: the UI thread of the window; RunOnUiThread may be called from any thread.
// Ownership: the manager owns the host and through it the control tree attached with
// AttachDialog; both go with the manager. Notifiers are not owned.
class CPaintManagerUI {
 public:
  CPaintManagerUI();
  ~CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

  // Makes the host for hwnd (once; a second call does nothing).
  void Init(HWND hwnd);
  HWND GetPaintWindow() const { return hwnd_; }
  // Installs root as the window's tree; the host takes it. False for null or before Init.
  bool AttachDialog(CControlUI* root);
  CControlUI* GetRoot() const { return root_; }

  // The window's share of a message: painting (with "windowinit" after the first layout), input,
  // focus, control timers and posted tasks. True when it took the message; result is then the
  // message's answer.
  bool MessageHandler(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

  // Lays the controls out at the client size now instead of at the next paint: a window filled
  // while hidden then places what it gets as it comes rather than all of it at its first show.
  void LayOutNow();

  bool AddNotifier(INotifyUI* notifier);
  bool RemoveNotifier(INotifyUI* notifier);
  // Runs every notifier on the message; stops when the manager is destroyed on the way.
  void SendNotify(TNotifyUI& msg);
  void SendNotify(CControlUI* sender, const wchar_t* type, WPARAM wparam = 0, LPARAM lparam = 0);

  // The first control of that name in the window; null when there is none.
  CControlUI* FindControl(const wchar_t* name) const;
  // The topmost visible control under a client point; null over none.
  CControlUI* FindControl(POINT point) const;
  // The first control of that name at or below parent.
  CControlUI* FindSubControlByName(CControlUI* parent, const wchar_t* name) const;
  CControlUI* GetFocus() const;
  void SetFocus(CControlUI* control);

  // The skin's window settings.
  RECT& GetCaptionRect();
  SIZE GetRoundCorner() const;
  RECT& GetSizeBox();
  SIZE GetInitSize() const;

  // Control timers: UIEVENT_TIMER with wParam id reaches control's DoEvent every elapse ms.
  // Setting a running timer restarts it. Timers of a destroyed control end by themselves.
  bool SetTimer(CControlUI* control, UINT id, UINT elapse);
  bool KillTimer(CControlUI* control, UINT id);
  void KillTimer(CControlUI* control);
  void RemoveAllTimers();

  // Runs task on the window's thread: at once when called there, else posted to the window.
  // False when it could not be posted (no window); the task is then dropped.
  bool RunOnUiThread(std::function<void()> task);

  // The manager of the window whose host is window; null for others.
  static CPaintManagerUI* FromHost(ui::Window* window);
  ui::Window* GetHost() const;

  static void SetInstance(HINSTANCE instance);
  static HINSTANCE GetInstance();
  // The program's folder, ending in a backslash.
  static CDuiString GetInstancePath();
  // Skins and relative image names are taken from here; a missing final backslash is added.
  static void SetResourcePath(const wchar_t* path);
  static const CDuiString& GetResourcePath();
  // Handles keys for a focused text control of a window of this layer; true when msg is used
  // up and must not be dispatched.
  static bool TranslateMessage(const MSG* msg);
  // Runs the UI thread's message loop until WM_QUIT.
  static void MessageLoop();

 private:
  struct TimerRecord;
  struct Alive;

  void OnTimer(UINT_PTR native_id);
  void SendWindowInit();
  static void RunPostedTask(LPARAM lparam);
  void DropPostedTasks();

  HWND hwnd_ = nullptr;
  std::unique_ptr<HostWindow> host_;
  CControlUI* root_ = nullptr;
  bool init_sent_ = false;
  RECT size_box_ = {0, 0, 0, 0};
  RECT caption_ = {0, 0, 0, 0};
  std::vector<INotifyUI*> notifiers_;
  std::vector<TimerRecord> timers_;
  UINT_PTR next_timer_id_ = 0;
  std::shared_ptr<Alive> alive_;
};

}  // namespace DuiLib
