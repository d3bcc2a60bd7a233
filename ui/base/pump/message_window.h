#pragma once

#include <windows.h>

namespace kbase {

// A hidden message-only window (parent HWND_MESSAGE) of a class registered for it, carrying a
// pointer for its window procedure in GWLP_USERDATA. Created and destroyed on the thread whose
// message queue receives its messages; the owner of the user-data pointer must outlive it.
class MessageWindow {
 public:
  MessageWindow(const wchar_t* class_name, WNDPROC procedure, void* user_data);
  ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  // Null when the window could not be created.
  HWND hwnd() const { return hwnd_; }

  // The pointer given to the constructor, read back inside the window procedure (null for
  // messages that arrive before it was attached).
  template <typename T>
  static T* UserData(HWND hwnd) {
    return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }

 private:
  const wchar_t* class_name_;
  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
};

}  // namespace kbase
