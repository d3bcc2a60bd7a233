#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

namespace DuiLib {

// A small object around one top-level or child window of its own class: the class is registered
// from GetWindowClassName and GetClassStyle (or superclasses GetSuperClassName), and every
// message goes to the virtual HandleMessage. After WM_NCDESTROY the handle is dropped and
// OnFinalMessage runs; a window that deletes itself there must not be touched afterwards.
//
// Threads: the thread that created the window; Close may be called from any thread.
// Ownership: the object is not owned by its window; the derived class decides (usually it
// deletes itself in OnFinalMessage).
class CWindowWnd {
 public:
  CWindowWnd() = default;
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;

  virtual const wchar_t* GetWindowClassName() const = 0;
  // A system class to superclass; null (the default) registers a class of its own.
  virtual const wchar_t* GetSuperClassName() const;
  virtual UINT GetClassStyle() const;
  // The default processing: the class's original procedure.
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  virtual void OnFinalMessage(HWND hwnd);
  // Declared last: the operations above keep the first places of the virtual table.
  virtual ~CWindowWnd();

  HWND GetHWND() const { return hwnd_; }
  operator HWND() const { return hwnd_; }  // NOLINT: Win32 calls take the window directly

  // Registers the class when needed and creates the window; null on failure.
  HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD ex_style, int x = CW_USEDEFAULT,
              int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT);
  HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD ex_style, const RECT& rect);
  void ShowWindow(bool show = true, bool take_focus = true);
  // Shows the window and runs a message loop until it is hidden or destroyed, with its owner
  // disabled meanwhile; answers the code of the WM_CLOSE that ended it (IDCANCEL without one).
  // A WM_QUIT met on the way is posted again and ends the loop. Called on another thread than
  // the window's, it waits there (pumping that thread's own messages) instead.
  UINT ShowModal();
  // Posts WM_CLOSE with code; the window closes on a later message turn.
  void Close(UINT code = IDOK);
  // Centres over the owner (or the work area), kept inside the work area.
  void CenterWindow();
  void ResizeClient(int cx = -1, int cy = -1);
  LRESULT SendMessage(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
  LRESULT PostMessage(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);

 protected:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  HWND hwnd_ = nullptr;
  WNDPROC default_proc_ = ::DefWindowProcW;

 private:
  bool RegisterWindowClass();
  bool RegisterSuperclass();
  static void RunModalLoop(HWND hwnd);
  static void WaitForeignWindow(HWND hwnd);
  // Where ShowModal collects the WM_CLOSE code; shared, because the loop outlives the object
  // when the window deletes itself.
  std::shared_ptr<std::atomic<UINT>> modal_code_;
};

}  // namespace DuiLib
