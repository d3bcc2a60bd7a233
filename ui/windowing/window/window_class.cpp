// Class registration, creation and the two window procedures that bind a Window to its HWND.
#include "ui/windowing/window/window.h"

namespace ui {

namespace {

constexpr wchar_t kSuperclassProp[] = L"WndX";
// Used when a subclass names no class of its own, so a plain Window can still be created.
constexpr wchar_t kDefaultClassName[] = L"KestrumWindow";

bool RegisteredOrExisting(ATOM atom) {
  return atom != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

// The static procedures reach the window's private state through this friend.
class WindowProcedures {
 public:
  static LRESULT CALLBACK Plain(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK Super(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  // Cuts the link from a live handle to a window object that goes first, so later messages
  // reach the default procedure instead of freed memory.
  static void Unbind(Window* window);

 private:
  static LRESULT Destroy(Window* window, HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                         bool superclass);
};

LRESULT WindowProcedures::Destroy(Window* window, HWND hwnd, UINT message, WPARAM wparam,
                                  LPARAM lparam, bool superclass) {
  LRESULT result = CallWindowProcW(window->chained_proc_, hwnd, message, wparam, lparam);
  if (superclass) {
    RemovePropW(hwnd, kSuperclassProp);
    window->hwnd_ = nullptr;
  } else {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  }
  window->OnDestroyed(hwnd);
  return result;
}

void WindowProcedures::Unbind(Window* window) {
  HWND hwnd = window->hwnd_;
  if (!hwnd || !IsWindow(hwnd)) return;
  if (GetPropW(hwnd, kSuperclassProp) == window) RemovePropW(hwnd, kSuperclassProp);
  if (GetWindowLongPtrW(hwnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(window)) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  }
}

void Window::UnbindHandle() { WindowProcedures::Unbind(this); }

LRESULT CALLBACK WindowProcedures::Plain(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* window = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    window = static_cast<Window*>(create->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  } else {
    window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!window) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) return Destroy(window, hwnd, message, wparam, lparam, false);
  return window->OnMessage(message, wparam, lparam);
}

LRESULT CALLBACK WindowProcedures::Super(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* window = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    window = static_cast<Window*>(create->lpCreateParams);
    window->hwnd_ = hwnd;
    SetPropW(hwnd, kSuperclassProp, window);
  } else {
    window = static_cast<Window*>(GetPropW(hwnd, kSuperclassProp));
  }
  if (!window) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) return Destroy(window, hwnd, message, wparam, lparam, true);
  return window->OnMessage(message, wparam, lparam);
}

std::wstring Window::RegisteredClassName() const { return std::wstring(); }
std::wstring Window::BaseClassName() const { return std::wstring(); }
UINT Window::RegisteredClassStyle() const { return 0; }

static std::wstring ClassNameOf(const Window& window) {
  std::wstring name = window.RegisteredClassName();
  return name.empty() ? kDefaultClassName : name;
}

bool Window::RegisterWindowClass() {
  const std::wstring name = ClassNameOf(*this);
  WNDCLASSW wc = {};
  wc.style = RegisteredClassStyle();
  wc.lpfnWndProc = &WindowProcedures::Plain;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name.c_str();
  return RegisteredOrExisting(RegisterClassW(&wc));
}

bool Window::RegisterSuperClass() {
  const std::wstring base = BaseClassName();
  const std::wstring name = ClassNameOf(*this);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(nullptr, base.c_str(), &wc) &&
      !GetClassInfoExW(instance, base.c_str(), &wc)) {
    return false;
  }
  chained_proc_ = wc.lpfnWndProc;
  wc.lpfnWndProc = &WindowProcedures::Super;
  wc.hInstance = instance;
  wc.lpszClassName = name.c_str();
  return RegisteredOrExisting(RegisterClassExW(&wc));
}

HWND Window::Create(HWND parent, const wchar_t* name, DWORD style, DWORD ex_style, bool layered,
                    const RECT& rect) {
  const bool registered = BaseClassName().empty() ? RegisterWindowClass() : RegisterSuperClass();
  if (!registered) return nullptr;
  layered_ = layered;
  if (layered_) ex_style |= WS_EX_LAYERED;
  HWND hwnd = CreateWindowExW(ex_style, ClassNameOf(*this).c_str(), name, style, rect.left,
                              rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                              nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd) return nullptr;
  const LONG_PTR current = GetWindowLongPtrW(hwnd, GWL_STYLE);
  if (current & WS_CAPTION) SetWindowLongPtrW(hwnd, GWL_STYLE, current & ~WS_CAPTION);
  return hwnd;
}

LRESULT Window::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  bool handled = false;
  LRESULT result = RouteMessage(message, wparam, lparam, handled);
  if (handled) return result;
  return CallChainedProc(message, wparam, lparam);
}

LRESULT Window::CallChainedProc(UINT message, WPARAM wparam, LPARAM lparam) {
  return CallWindowProcW(chained_proc_, hwnd_, message, wparam, lparam);
}

}  // namespace ui
