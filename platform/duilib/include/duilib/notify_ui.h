#pragma once

#include <windows.h>

#include "duilib/dui_string.h"

namespace DuiLib {

class CControlUI;

// A notification for the window's notifiers: what happened ("click", "selectchanged", ...) and
// at which control. A plain value; the sender is not owned and may be destroyed by the time a
// handler returns.
struct TNotifyUI {
  CDuiString sType;
  CDuiString sVirtualWnd;
  CControlUI* pSender = nullptr;
  DWORD dwTimestamp = 0;
  POINT ptMouse = {0, 0};
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// Receives the notifications of a paint manager (AddNotifier). Called on the UI thread.
class INotifyUI {
 public:
  virtual void Notify(TNotifyUI& msg) = 0;

 protected:
  ~INotifyUI() = default;
};

// Makes controls for markup element names the builder does not know.
class IDialogBuilderCallback {
 public:
  // A new control for class_name, or null; the builder's tree takes ownership.
  virtual CControlUI* CreateControl(const wchar_t* class_name) = 0;

 protected:
  ~IDialogBuilderCallback() = default;
};

}  // namespace DuiLib
