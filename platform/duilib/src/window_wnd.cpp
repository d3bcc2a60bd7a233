#include "duilib/window_wnd.h"

#include <atomic>
#include <memory>

#include "duilib/paint_manager_ui.h"

namespace DuiLib {

namespace {

bool RegisteredOrExisting(ATOM atom) {
  return atom != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HINSTANCE Instance() {
  HINSTANCE instance = CPaintManagerUI::GetInstance();
  return instance ? instance : GetModuleHandleW(nullptr);
}

}  // namespace

CWindowWnd::~CWindowWnd() {
  // An object that goes before its window leaves the window to the default procedure.
  if (hwnd_ && IsWindow(hwnd_) &&
      GetWindowLongPtrW(hwnd_, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  }
}

const wchar_t* CWindowWnd::GetSuperClassName() const { return nullptr; }

UINT CWindowWnd::GetClassStyle() const { return 0; }

LRESULT CWindowWnd::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return CallWindowProcW(default_proc_, hwnd_, message, wparam, lparam);
}

void CWindowWnd::OnFinalMessage(HWND /*hwnd*/) {}

bool CWindowWnd::RegisterWindowClass() {
  WNDCLASSW wc = {};
  wc.style = GetClassStyle();
  wc.lpfnWndProc = &CWindowWnd::WindowProc;
  wc.hInstance = Instance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = GetWindowClassName();
  return RegisteredOrExisting(RegisterClassW(&wc));
}

bool CWindowWnd::RegisterSuperclass() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(nullptr, GetSuperClassName(), &wc) &&
      !GetClassInfoExW(Instance(), GetSuperClassName(), &wc)) {
    return false;
  }
  default_proc_ = wc.lpfnWndProc;
  wc.lpfnWndProc = &CWindowWnd::WindowProc;
  wc.hInstance = Instance();
  wc.lpszClassName = GetWindowClassName();
  return RegisteredOrExisting(RegisterClassExW(&wc));
}

HWND CWindowWnd::Create(HWND parent, const wchar_t* name, DWORD style, DWORD ex_style,
                        const RECT& rect) {
  return Create(parent, name, style, ex_style, rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top);
}

HWND CWindowWnd::Create(HWND parent, const wchar_t* name, DWORD style, DWORD ex_style, int x, int y,
                        int cx, int cy) {
  const bool registered = GetSuperClassName() ? RegisterSuperclass() : RegisterWindowClass();
  if (!registered) return nullptr;
  return CreateWindowExW(ex_style, GetWindowClassName(), name ? name : L"", style, x, y, cx, cy,
                         parent, nullptr, Instance(), this);
}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  CWindowWnd* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<CWindowWnd*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    const LRESULT result = CallWindowProcW(self->default_proc_, hwnd, message, wparam, lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    // Last: the object may delete itself here.
    self->OnFinalMessage(hwnd);
    return result;
  }
  if (message == WM_CLOSE) {
    // ShowModal may be setting it on another thread.
    if (const auto code = std::atomic_load(&self->modal_code_)) *code = static_cast<UINT>(wparam);
  }
  return self->HandleMessage(message, wparam, lparam);
}

void CWindowWnd::ShowWindow(bool show, bool take_focus) {
  if (!IsWindow(hwnd_)) return;
  ::ShowWindow(hwnd_, show ? (take_focus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal() {
  HWND hwnd = hwnd_;
  if (!IsWindow(hwnd)) return IDCANCEL;
  const auto code = std::make_shared<std::atomic<UINT>>(IDCANCEL);
  std::atomic_store(&modal_code_, code);
  HWND owner = GetWindow(hwnd, GW_OWNER);
  ::ShowWindow(hwnd, SW_SHOWNORMAL);
  if (owner) EnableWindow(owner, FALSE);
  if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId()) {
    RunModalLoop(hwnd);
  } else {
    WaitForeignWindow(hwnd);
  }
  if (owner) {
    EnableWindow(owner, TRUE);
    SetForegroundWindow(owner);
  }
  // Nothing of the object is touched here: it may have deleted itself at its window's end.
  return code->load();
}

void CWindowWnd::RunModalLoop(HWND hwnd) {
  MSG msg = {};
  while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (got == -1) return;
    if (CPaintManagerUI::TranslateMessage(&msg)) continue;
    ::TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void CWindowWnd::WaitForeignWindow(HWND hwnd) {
  // The window's messages run on its own thread; this thread keeps its own queue moving while
  // it waits.
  constexpr DWORD kPollMs = 50;
  MSG msg = {};
  while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      ::TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

void CWindowWnd::Close(UINT code) {
  if (IsWindow(hwnd_)) ::PostMessageW(hwnd_, WM_CLOSE, code, 0);
}

void CWindowWnd::CenterWindow() {
  if (!IsWindow(hwnd_)) return;
  RECT window_rect = {};
  GetWindowRect(hwnd_, &window_rect);
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(owner ? owner : hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  RECT reference = work;
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &reference);
  const int width = window_rect.right - window_rect.left;
  const int height = window_rect.bottom - window_rect.top;
  int x = (reference.left + reference.right - width) / 2;
  int y = (reference.top + reference.bottom - height) / 2;
  if (x + width > work.right) x = work.right - width;
  if (x < work.left) x = work.left;
  if (y + height > work.bottom) y = work.bottom - height;
  if (y < work.top) y = work.top;
  SetWindowPos(hwnd_, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::ResizeClient(int cx, int cy) {
  RECT client = {};
  if (!GetClientRect(hwnd_, &client)) return;
  if (cx != -1) client.right = cx;
  if (cy != -1) client.bottom = cy;
  AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)),
                     GetMenu(hwnd_) != nullptr,
                     static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
  SetWindowPos(hwnd_, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
               SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::SendMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return ::SendMessageW(hwnd_, message, wparam, lparam);
}

LRESULT CWindowWnd::PostMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return ::PostMessageW(hwnd_, message, wparam, lparam);
}

}  // namespace DuiLib
