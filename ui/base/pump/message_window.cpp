#include "ui/base/pump/message_window.h"

namespace kbase {

namespace {

void RegisterWindowClass(const wchar_t* class_name, WNDPROC procedure, HINSTANCE instance) {
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.lpszClassName = class_name;
  RegisterClassExW(&window_class);  // fails harmlessly when another owner registered it first
}

HWND CreateMessageOnlyWindow(const wchar_t* class_name, HINSTANCE instance) {
  return CreateWindowExW(0, class_name, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                         nullptr);
}

}  // namespace

MessageWindow::MessageWindow(const wchar_t* class_name, WNDPROC procedure, void* user_data)
    : class_name_(class_name), instance_(GetModuleHandleW(nullptr)) {
  RegisterWindowClass(class_name_, procedure, instance_);
  hwnd_ = CreateMessageOnlyWindow(class_name_, instance_);
  if (!hwnd_) {
    // Another thread's owner may have unregistered the shared class between our registration
    // attempt and the creation; register once more.
    RegisterWindowClass(class_name_, procedure, instance_);
    hwnd_ = CreateMessageOnlyWindow(class_name_, instance_);
  }
  if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(user_data));
}

MessageWindow::~MessageWindow() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  // Fails while windows of the class remain on other threads; the last owner succeeds.
  UnregisterClassW(class_name_, instance_);
}

}  // namespace kbase
