#pragma once

#include <windows.h>

#include <string>

#include "ui/base/window_impl/window_impl_base.h"

namespace ui {
class Control;
class RichEdit;
}  // namespace ui

namespace shared {

// A small self-deleting notice: one text from the skin "toast\toast.xml" (a rich edit named
// "content" and an optional button named "close_btn", shown while the mouse is over the toast),
// closed by its timer, the close button, Esc or a double click.
//
// Threads: created, shown and closed on one UI thread, the one that calls Show. The timer runs
// on the framework's UI thread (identifier 0 of the thread registry), which only hands the close
// back to the toast's own thread as a window message; without a registered thread 0 the toast
// closes by a window timer of its own instead.
// Ownership: the toast owns itself (ui::WindowImplBase); callers keep nothing.
class Toast : public ui::WindowImplBase {
 public:
  // Posted to the toast by its timed close, wParam the toast's serial number.
  static constexpr UINT kTimedCloseMessage = WM_APP + 0x101;

  // Shows content over parent and, for a positive duration, closes the toast that many
  // milliseconds later. Nothing is shown (and nothing reported) when the window cannot be made.
  static void Show(const std::wstring& content, int duration, HWND parent);
  using ui::Window::Show;

  std::wstring RegisteredClassName() const override;
  UINT RegisteredClassStyle() const override;

  // Shows text in the content control, whose height follows the text at its fixed width.
  void SetContent(const std::wstring& text);
  // Schedules Close(1) after milliseconds; zero or less keeps the toast until the user closes
  // it.
  void SetDuration(int milliseconds);

  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 protected:
  Toast();
  ~Toast() override = default;

  std::wstring SkinFolder() const override;
  std::wstring SkinFile() const override;
  void OnSkinLoaded() override;

 private:
  bool OnClick(ui::EventArgs* args);
  void ShowCloseButton();
  // Hides the close button once the cursor has left the client area less its 1-pixel border.
  void HideCloseButtonOutside();

  ui::RichEdit* content_ = nullptr;
  ui::Control* close_button_ = nullptr;
  // Tells this toast's timed close from that of an earlier window with the same handle.
  const WPARAM serial_;
};

}  // namespace shared
