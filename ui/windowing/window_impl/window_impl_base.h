#pragma once

#include <windows.h>

#include <string>

#include "ui/windowing/window/message_filter.h"
#include "ui/windowing/window/window.h"

namespace ui {

class Control;
struct EventArgs;

// The base of the framework's top-level windows that draw their whole frame from a markup skin:
// a window without system caption or border whose control tree is built from
// SkinFolder() + "\" + SkinFile() at WM_CREATE, wrapped in the window shadow, with a caption
// band and resize borders made by hit testing, maximising inside the monitor's work area, round
// corners, and the buttons named "closebtn", "minbtn", "maxbtn" and "restorebtn" wired to their
// system commands.
//
// Threads: the thread that creates the window, only.
// Ownership: objects are made with new and own themselves: the object deletes itself when the
// system destroys its window (WM_NCDESTROY), and when Create fails it is gone as well, whether or
// not the system ever sent it a message. Nobody else deletes one, and nothing may use the
// pointer after the window was destroyed; code that keeps it checks a weak flag taken with
// AcquireWeakFlag() (expired = gone) on the window's thread before each use.
class WindowImplBase : public Window, public IUIMessageFilter {
 public:
  WindowImplBase() = default;

  // Window: on failure the object deletes itself (see above) and null is returned.
  HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD ex_style, bool layered,
              const RECT& rect) override;
  std::wstring RegisteredClassName() const override = 0;
  std::wstring BaseClassName() const override;
  UINT RegisteredClassStyle() const override;
  // Fires the window-close handlers, then deletes the object.
  void OnDestroyed(HWND hwnd) override;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  // IUIMessageFilter: consumes nothing.
  LRESULT MessageFilter(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;

  // Restores a minimised window, shows a hidden one and brings it to the foreground.
  void Activate();
  void SetTitle(const std::wstring& text);

 protected:
  ~WindowImplBase() override = default;

  // Once the skin's tree is installed: subclasses look up and bind their controls here.
  virtual void OnSkinLoaded() {}
  // The style set at WM_CREATE: the current one without caption bits.
  virtual LONG_PTR CreateStyle() const;
  // A control for a markup class the builder does not know; null in the base. Owned by the
  // caller.
  virtual Control* CreateCustomControl(const std::wstring& class_name);
  // The resource sub-folder of the skin and the markup file in it.
  virtual std::wstring SkinFolder() const = 0;
  virtual std::wstring SkinFile() const = 0;
  // Shows the failure to load the skin (a message box without owner); tests replace it.
  virtual void ReportSkinError(const std::wstring& text);

  // Message handlers. Each sets handled false to let the message go on to the window's routing
  // and then to the chained procedure. Those without own behaviour here do exactly that.
  virtual LRESULT OnClose(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnDestroy(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnNcActivate(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnNcCalcSize(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnWindowPosChanging(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnNcPaint(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnNcLButtonDblClk(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnNcHitTest(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnGetMinMaxInfo(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnMouseWheel(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnMouseHover(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnDpiChanged(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnSize(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnChar(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnSysCommand(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnKeyDown(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnKillFocus(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnSetFocus(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnLButtonDown(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnLButtonUp(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  virtual LRESULT OnMouseMove(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);

  // The click handler of the standard buttons; always true (the click goes on).
  bool OnButtonClick(EventArgs* args);
  // Sizes a window whose root is "auto" wide or high to what the root asks for, at the screen
  // origin (the caller places it afterwards). Nothing for a root of fixed size.
  void FitAutoSizedRoot();

 private:
  using Handler = LRESULT (WindowImplBase::*)(UINT, WPARAM, LPARAM, bool&);
  // The handler of one of the 21 messages above; null for any other message.
  static Handler HandlerFor(UINT message);

  LRESULT OnCreate();
  Control* BuildSkin();
  void WireStandardButtons();
  // Shows one of "maxbtn"/"restorebtn" and hides the other, when both exist.
  void SwapMaximizeButtons(bool maximizing);
};

}  // namespace ui
