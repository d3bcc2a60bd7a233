#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "ui/controls/button/button.h"
#include "ui/windowing/window_impl/window_impl_base.h"

namespace ui {
class RichEdit;
}  // namespace ui

// The answer of a message box.
enum MsgBoxRet {
  kMsgBoxYes = 0,  // "btn_yes"
  kMsgBoxNo = 1,   // "btn_no", "closebtn" and the Esc key
};

// The framework's question box from the skin "msgbox\msgbox.xml": a "title" label, a "content"
// rich edit whose height follows its text, the buttons "btn_yes" and "btn_no" and an optional
// "closebtn". It disables the window it is shown over until it closes and answers once, through
// a callback that runs later as a task on the framework's UI thread (identifier 0 of the thread
// registry), never inside the click.
//
// Threads: created, clicked and closed on the thread that calls Show; the callback runs on
// thread 0 and must do only what is safe there (post a message, for instance). Without a
// registered thread 0 the box calls it itself, on its own thread, as its window is destroyed
// (after the owner is enabled again).
// Ownership: the box owns itself (ui::WindowImplBase): it lives exactly as long as its window and
// is deleted when the window is destroyed. A caller that keeps the pointer Show returns (to call
// UpdateContent or Close later) keeps a way to tell whether it is still alive and checks it on
// the box's thread before each use: the box's weak flag (box->AcquireWeakFlag(), taken right
// after Show; expired = gone), or, less strictly since handles are reused, IsWindow of the
// handle taken right after Show. An answered box stays usable until its close animation has
// ended and its window is destroyed.
class MsgBox : public ui::WindowImplBase {
 public:
  using Callback = std::function<void(MsgBoxRet)>;

  // Shows the box over parent, which stays disabled while the box is open. Each text is used as
  // given, or as a language-table id when its flag is set. Null, with parent untouched and no
  // answer ever, when the window cannot be made.
  static MsgBox* Show(HWND parent, Callback callback, const std::wstring& content,
                      bool content_is_id, const std::wstring& title, bool title_is_id,
                      const std::wstring& yes, bool yes_is_id, const std::wstring& no,
                      bool no_is_id);
  using ui::Window::Show;

  std::wstring RegisteredClassName() const override;
  UINT RegisteredClassStyle() const override;

  // Replaces the text; the content control's height follows it at its fixed width.
  void UpdateContent(const std::wstring& text);
  // Re-enables the window Show disabled, gives the focus to the owner, then closes (fade-out and
  // WM_CLOSE). The callback is not called.
  void Close(UINT code) override;

 protected:
  MsgBox() = default;
  ~MsgBox() override = default;

  std::wstring SkinFolder() const override;
  std::wstring SkinFile() const override;
  void OnSkinLoaded() override;
  // Whatever closes the window (Alt+F4, the system, a destroyed owner) gives the disabled window
  // back.
  LRESULT OnClose(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;
  LRESULT OnDestroy(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;
  // Esc cancels.
  LRESULT OnKeyDown(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;
  // Answers no; handled becomes true.
  virtual void OnCancel(bool& handled);

 private:
  void SetButtons(const std::wstring& yes, const std::wstring& no);
  bool OnClick(ui::EventArgs* args);
  // Closes the box and queues the answer; only the first answer counts.
  void EndMsgBox(MsgBoxRet result);
  // Calls back with an answer thread 0 could not take, once.
  void GiveUnpostedAnswer();
  // Enables the window Show disabled, once.
  void EnableDisabledOwner();
  // Enables the disabled window and focuses the owner.
  void RestoreOwner();

  ui::Label* title_ = nullptr;
  ui::RichEdit* content_ = nullptr;
  ui::Button* yes_button_ = nullptr;
  ui::Button* no_button_ = nullptr;
  Callback callback_;
  // The window Show disabled; null when there is none or it was disabled already (another box
  // over it still holds it).
  HWND disabled_owner_ = nullptr;
  bool answered_ = false;
  // The answer the box still owes its caller because no thread 0 took it.
  std::optional<MsgBoxRet> unposted_answer_;
};
