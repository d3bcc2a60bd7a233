#pragma once

#include <windows.h>

#include <string>

#include "ui/windowing/window/window.h"

namespace ui {

class Combo;

// The drop-down window of a Combo: a layered tool-window popup owned by the combo's window that
// shows the combo's list while open. It closes when it loses the focus (also when an item is
// chosen): the list goes back to the combo, the combo's selection follows the list's, and the
// window posts itself WM_CLOSE. While closing it routes no message to controls.
//
// Threads: the combo's window thread only.
// Ownership: deletes itself when its handle is destroyed (WM_NCDESTROY). It never owns the list;
// the list is only borrowed into its root box while open.
class CComboWnd : public Window {
 public:
  CComboWnd() = default;

  // Places and creates the window for combo and shows it without taking the caption away from
  // the owner. False when the window could not be created; the object is then deleted and the
  // combo told, as after a normal close.
  bool Init(Combo* combo);
  // The combo is being destroyed: give the list back at once, forget the combo and close.
  void OwnerGone();

  // Window overrides.
  std::wstring RegisteredClassName() const override;
  void OnDestroyed(HWND hwnd) override;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  bool IsClosing() const { return closing_; }

 private:
  // The drop-down's screen rectangle: below the combo, or above it when it would reach below
  // the work area or the combo opens upwards.
  RECT PlaceDropRect() const;
  void OnCreate();
  void OnLoseFocus();
  void OnCloseMessage();
  // Takes the list out of the root and out of this window, so nothing of this window keeps a
  // pointer into it; nothing when it is not here.
  void ReleaseList();

  Combo* owner_ = nullptr;
  Box* root_box_ = nullptr;
  bool closing_ = false;
};

}  // namespace ui
