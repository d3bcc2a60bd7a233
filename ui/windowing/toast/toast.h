#pragma once

#include <windows.h>

#include <string>

#include "ui/windowing/toast/notice_slot.h"
#include "ui/windowing/window_impl/window_impl_base.h"

namespace ui {
class Control;
class RichEdit;
}  // namespace ui

namespace shared {

// A small self-deleting notice: one text from the skin "toast\toast.xml" (a rich edit named
// "content" and an optional button named "close_btn", shown while the mouse is over the toast),
// closed by its timer, the close button, Esc or a double click. It never takes the focus from
// the window the user is typing in.
//
// A thread has at most one toast on screen: a notice shown over the same window while one is up
// takes that toast's place as NoticeSlot paces it (its text and time-out replace the old ones),
// and a notice over another window replaces the toast at once. A toast that is closing takes no
// more notices.
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

  // Shows content over parent, in this thread's toast when it stands over parent (see above),
  // and, for a positive duration, closes the toast that many milliseconds later unless another
  // notice has taken its place. Nothing is shown (and nothing reported) when the window cannot
  // be made.
  static void Show(const std::wstring& content, int duration, HWND parent);
  // The same for news of the room (a join, a leave), which a later such notice may replace
  // before it has been shown (Notice::passing).
  static void ShowPassing(const std::wstring& content, int duration, HWND parent);
  using ui::Window::Show;

  std::wstring RegisteredClassName() const override;
  UINT RegisteredClassStyle() const override;

  // Shows text in the content control, whose height follows the text at its fixed width.
  void SetContent(const std::wstring& text);
  // Schedules Close(1) after milliseconds; zero or less keeps the toast until the user closes
  // it.
  void SetDuration(int milliseconds);

  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Close(UINT code) override;

 protected:
  Toast();
  ~Toast() override;

  std::wstring SkinFolder() const override;
  std::wstring SkinFile() const override;
  void OnSkinLoaded() override;

 private:
  bool OnClick(ui::EventArgs* args);
  void ShowCloseButton();
  // Hides the close button once the cursor has left the client area less its 1-pixel border.
  void HideCloseButtonOutside();

  static void ShowNotice(Notice notice, HWND parent);
  // Puts the slot's shown notice on screen, without the focus.
  void Present();
  // A newer notice over the same window.
  void Offer(Notice notice);
  // The waiting notice goes on screen if it is due.
  void ShowWaiting();
  // The shown notice's time is up: the waiting one follows, else the toast closes.
  void OnNoticeTimedOut();

  ui::RichEdit* content_ = nullptr;
  ui::Control* close_button_ = nullptr;
  HWND parent_ = nullptr;  // as Show got it
  NoticeSlot notices_;
  // Tells the shown notice's timed close from that of an earlier notice or of an earlier window
  // with the same handle.
  WPARAM serial_;
};

}  // namespace shared
