// The rich edit control: events turned into messages for the text services, the notifications
// coming back, and the clipboard.
#include <windows.h>
#include <imm.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "kestrum/common/utf.h"
#include "ui/base/util/text_util.h"
#include "ui/controls/core/window_link.h"
#include "ui/controls/keyboard/on_screen_keyboard_manager.h"
#include "ui/controls/richedit/rich_edit.h"
#include "ui/controls/richedit/txt_win_host.h"

namespace ui {
namespace {

// Keyboard events are handled with their message, so the key state of that message counts.
bool IsKeyDown(int key) { return ::GetKeyState(key) < 0; }

bool IsDigit(WPARAM ch) { return ch >= L'0' && ch <= L'9'; }

// A digits-only text takes digits and the control characters that edit it (Backspace, the Ctrl
// letters), but not Tab, line feed or carriage return, which would put non-digits into it.
bool IsDigitsOnlyChar(WPARAM ch) {
  if (ch == L'\t' || ch == L'\n' || ch == L'\r') return false;
  return ch < L' ' || IsDigit(ch);
}

bool IsPasteKey(WPARAM key) {
  const bool ctrl = IsKeyDown(VK_CONTROL);
  return (key == 'V' && ctrl) || (key == VK_INSERT && IsKeyDown(VK_SHIFT) && !ctrl);
}

// The notifications that go on to the window as WM_NOTIFY.
bool IsForwardedNotification(DWORD code) {
  switch (code) {
    case EN_MSGFILTER:
    case EN_SELCHANGE:
    case EN_DROPFILES:
    case EN_PROTECTED:
    case EN_STOPNOUNDO:
    case EN_SAVECLIPBOARD:
    case EN_OLEOPFAILED:
    case EN_OBJECTPOSITIONS:
    case EN_DRAGDROPDONE:
      return true;
    default:
      return false;
  }
}

}  // namespace

// --- events ---

LPARAM RichEdit::MousePoint(const EventArgs& args) const {
  // Pointer events carry the screen point in lParam; their client point is in ptMouse.
  const bool pointer = args.type == kEventPointDown || args.type == kEventPointUp;
  int x = pointer ? args.ptMouse.x : GET_X_LPARAM(args.lParam);
  int y = pointer ? args.ptMouse.y : GET_Y_LPARAM(args.lParam);
  const SIZE scroll = GetAncestorScrollPos();
  x += scroll.cx;
  y += scroll.cy;
  return MAKELPARAM(x, y);
}

void RichEdit::SendMouseMessage(UINT message, const EventArgs& args) {
  TxSendMessage(message, args.wParam, MousePoint(args), nullptr);
}

void RichEdit::DispatchOwnEvent(EventType type) {
  EventArgs args;
  args.type = type;
  args.sender = this;
  args.timeStamp = ::GetTickCount();
  if (GetWindow()) args.ptMouse = window_link::LastMousePos(GetWindow());
  DispatchEvent(args);
}

void RichEdit::HandleEvent(EventArgs& args) {
  const EventType type = args.type;
  const bool mouse = type >= kEventMouseBegin && type <= kEventMouseEnd;
  if ((mouse && !IsMouseEnabled()) || !IsEnabled()) {
    if (GetParent()) {
      GetParent()->DispatchEvent(args);
    } else {
      Control::HandleEvent(args);
    }
    return;
  }
  switch (type) {
    case kEventSetCursor: {
      const bool on_link = LinkAt(args.ptMouse) != nullptr;
      const bool text = !on_link && host_ && host_->DoSetCursor(args.ptMouse);
      if (!text) ::SetCursor(::LoadCursorW(nullptr, on_link ? IDC_HAND : IDC_ARROW));
      return;
    }
    case kEventChar:
      OnChar(args);
      return;
    case kEventKeyDown:
      OnKeyDown(args);
      return;
    case kEventMouseMove:
      SendMouseMessage(WM_MOUSEMOVE, args);
      return;
    case kEventMouseScrollWheel:
      if (IsKeyDown(VK_CONTROL)) return;
      ScrollableBox::HandleEvent(args);
      return;
    case kEventMouseButtonDown:
    case kEventPointDown:
      OnButtonDown(args);
      return;
    case kEventMouseButtonUp:
    case kEventPointUp:
      SendMouseMessage(WM_LBUTTONUP, args);
      return;
    case kEventInternalDoubleClick:
      if (read_only_) {
        SelectAll();
      } else {
        SendMouseMessage(WM_LBUTTONDBLCLK, args);
      }
      return;
    case kEventMouseRightButtonDown:
      SendMouseMessage(WM_RBUTTONDOWN, args);
      return;
    case kEventMouseRightButtonUp:
      SendMouseMessage(WM_RBUTTONUP, args);
      return;
    case kEventImeStartComposition:
      OnImeStartComposition();
      return;
    case kEventImeEndComposition:
      composing_ = false;
      return;
    case kEventInternalSetFocus:
      OnSetFocus();
      return;
    case kEventInternalKillFocus:
      OnKillFocus();
      OnScreenKeyboardManager::GetInstance()->ShowOSK(false);
      return;
    default:
      ScrollableBox::HandleEvent(args);
      return;
  }
}

void RichEdit::OnButtonDown(const EventArgs& args) {
  if (LinkAt(args.ptMouse)) {
    if (GetWindow()) window_link::DeliverEvent(GetWindow(), this, kEventCustomLinkClick, 0, 0);
    return;
  }
  if (args.type == kEventPointDown) OnScreenKeyboardManager::GetInstance()->ShowOSK(true);
  SendMouseMessage(WM_LBUTTONDOWN, args);
}

void RichEdit::OnChar(const EventArgs& args) {
  if (IsKeyDown(VK_TAB) && !want_tab_) {
    DispatchOwnEvent(kEventTab);
    return;
  }
  if (digits_only_ && !IsDigitsOnlyChar(args.wParam)) return;
  TxSendMessage(WM_CHAR, args.wParam, args.lParam, nullptr);
}

void RichEdit::OnKeyDown(const EventArgs& args) {
  if (args.wParam == VK_RETURN && RaiseReturnEvent(args)) return;
  if (FilterDigitsPaste(args)) return;
  TxSendMessage(WM_KEYDOWN, args.wParam, args.lParam, nullptr);
}

bool RichEdit::RaiseReturnEvent(const EventArgs& /*args*/) {
  if (!want_return_event_ || IsKeyDown(VK_SHIFT)) return false;
  if (IsKeyDown(VK_CONTROL) != return_event_wants_ctrl_) return false;
  if (GetWindow()) {
    window_link::DeliverEvent(GetWindow(), this, kEventReturn, 0, 0);
  } else {
    DispatchOwnEvent(kEventReturn);
  }
  return true;
}

bool RichEdit::FilterDigitsPaste(const EventArgs& args) {
  if (!digits_only_ || !IsPasteKey(args.wParam)) return false;
  const std::wstring clipboard = ReadClipboardText();
  if (clipboard.empty()) return false;
  std::wstring digits;
  std::copy_if(clipboard.begin(), clipboard.end(), std::back_inserter(digits),
               [](wchar_t ch) { return IsDigit(ch); });
  // The digits go in as one undoable edit; the user's clipboard is left as it was.
  if (!digits.empty() && !read_only_) {
    TxSendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(digits.c_str()), nullptr);
  }
  return true;
}

void RichEdit::OnSetFocus() {
  if (!host_) {
    focused_ = true;
    Invalidate();
    return;
  }
  ActivateInPlace();
  TxSendMessage(WM_SETFOCUS, 0, 0, nullptr);
  ShowCaret(true);
  focused_ = true;
  Invalidate();
}

void RichEdit::OnKillFocus() {
  if (host_) {
    ActivateInPlace();
    TxSendMessage(WM_KILLFOCUS, 0, 0, nullptr);
    ShowCaret(false);
  }
  focused_ = false;
  if (host_ && deselect_on_focus_loss_ && read_only_ && IsEnabled()) {
    CHARRANGE none = {-1, 0};
    TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&none), nullptr);
  }
  Invalidate();
}

void RichEdit::OnImeStartComposition() {
  HWND hwnd = GetWindow() ? window_link::Handle(GetWindow()) : nullptr;
  if (HIMC context = hwnd ? ::ImmGetContext(hwnd) : nullptr) {
    const SIZE scroll = GetAncestorScrollPos();
    COMPOSITIONFORM form = {};
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos.x = std::max<LONG>(caret_pos_.x - scroll.cx, 1);
    form.ptCurrentPos.y = std::max<LONG>(caret_pos_.y - scroll.cy, 1);
    ::ImmSetCompositionWindow(context, &form);
    ::ImmReleaseContext(hwnd, context);
  }
  composing_ = true;
}

const RichEdit::LinkRange* RichEdit::LinkAt(POINT point) const {
  if (link_ranges_.empty() || !host_) return nullptr;
  const SIZE scroll = GetAncestorScrollPos();
  POINTL at = {point.x + scroll.cx, point.y + scroll.cy};
  LRESULT position = -1;
  TxSendMessage(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&at), &position);
  for (const LinkRange& link : link_ranges_) {
    if (position >= link.first && position < link.end) return &link;
  }
  return nullptr;
}

// --- notifications ---

HRESULT RichEdit::OnTxNotify(DWORD code, void* data) {
  if (code == EN_CHANGE) {
    OnTextChange();
  } else if (code == EN_LINK) {
    OnLinkNotify(data);
  } else if (IsForwardedNotification(code)) {
    ForwardNotify(code, data);
  }
  return S_OK;
}

void RichEdit::OnTextChange() { DispatchOwnEvent(kEventTextChange); }

void RichEdit::ForwardNotify(DWORD code, void* data) {
  HWND hwnd = GetWindow() ? window_link::Handle(GetWindow()) : nullptr;
  if (!data || !hwnd) return;
  NMHDR* header = static_cast<NMHDR*>(data);
  header->hwndFrom = hwnd;
  header->idFrom = static_cast<UINT_PTR>(::GetWindowLongW(hwnd, GWL_ID));
  header->code = code;
  ::SendMessageW(hwnd, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(data));
}

void RichEdit::OnLinkNotify(void* data) {
  const ENLINK* link = static_cast<const ENLINK*>(data);
  if (!link || link->msg != WM_LBUTTONUP) return;
  CHARRANGE range = link->chrg;
  TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range), nullptr);
  const std::wstring text = GetSelText();
  std::printf("[Link]%s\n", kestrum::common::WideToUtf8(text).c_str());
  HWND hwnd = GetWindow() ? window_link::Handle(GetWindow()) : nullptr;
  if (hwnd) ::SendMessageW(hwnd, WM_NOTIFY, EN_LINK, reinterpret_cast<LPARAM>(text.c_str()));
}

// --- clipboard ---

std::wstring RichEdit::ReadClipboardText() {
  if (!::OpenClipboard(nullptr)) return std::wstring();
  std::wstring text;
  if (HANDLE unicode = ::GetClipboardData(CF_UNICODETEXT)) {
    const size_t capacity = ::GlobalSize(unicode) / sizeof(wchar_t);
    if (const auto* data = static_cast<const wchar_t*>(::GlobalLock(unicode))) {
      text.assign(data, wcsnlen(data, capacity));
      ::GlobalUnlock(unicode);
    }
  } else if (HANDLE ansi = ::GetClipboardData(CF_TEXT)) {
    const size_t capacity = ::GlobalSize(ansi);
    if (const auto* data = static_cast<const char*>(::GlobalLock(ansi))) {
      const std::string bytes(data, strnlen(data, capacity));
      ::GlobalUnlock(ansi);
      TextUtil::MultiByteToWide(bytes, text, CP_ACP);
    }
  }
  ::CloseClipboard();
  return text;
}

bool RichEdit::WriteClipboardText(const std::wstring& text) {
  if (!::OpenClipboard(nullptr)) return false;
  ::EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool written = false;
  if (void* data = block ? ::GlobalLock(block) : nullptr) {
    std::memcpy(data, text.c_str(), bytes);
    ::GlobalUnlock(block);
    written = ::SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  }
  // The clipboard owns the block only once SetClipboardData took it.
  if (block && !written) ::GlobalFree(block);
  ::CloseClipboard();
  return written;
}

}  // namespace ui
