#include <gtest/gtest.h>

#include <cstring>
#include <new>

#include "ui/base/render/render_context.h"
#include "ui/controls/core/event_args.h"
#include "ui/windowing/window/message_filter.h"
#include "ui/windowing/window/window.h"
#include "ui/windowing/window/window_test_fixture.h"

namespace ui {
namespace {

using testing_support::WindowTest;
using Events = std::vector<EventType>;

TEST_F(WindowTest, PressMoveOutsideAndReleaseKeepTheControlCapturedThroughout) {
  Control* button = AddChild(RECT{10, 10, 50, 30});
  Record(button);
  Send(WM_MOUSEMOVE, 0, At(20, 20));
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
  EXPECT_EQ(GetCapture(), hwnd_);
  EXPECT_EQ(window_->GetPressedControl(), button);
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(150, 90));  // off the button, still pressed
  Send(WM_LBUTTONUP, 0, At(150, 90));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(window_->GetPressedControl(), nullptr);
  const Events expected = {kEventMouseEnter,      kEventMouseMove,  kEventSetFocus,
                           kEventMouseButtonDown, kEventMouseLeave, kEventMouseMove,
                           kEventMouseButtonUp};
  EXPECT_EQ(events_, expected);
}

TEST_F(WindowTest, RightClickEndsWithTheContextMenuRequest) {
  Control* item = AddChild(RECT{0, 0, 40, 40});
  Record(item);
  Send(WM_RBUTTONDOWN, MK_RBUTTON, At(5, 5));
  // The system's handling of the release sends the WM_CONTEXTMENU that ends the press.
  Send(WM_RBUTTONUP, 0, At(5, 5));
  EXPECT_EQ(window_->GetPressedControl(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  const Events expected = {kEventSetFocus, kEventMouseRightButtonDown, kEventMouseRightButtonUp};
  EXPECT_EQ(events_, expected);
}

TEST_F(WindowTest, TheCursorStaysWhileAControlIsPressed) {
  AddChild(RECT{0, 0, 40, 40});
  bool handled = false;
  window_->RouteMessage(WM_SETCURSOR, 0, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE), handled);
  EXPECT_FALSE(handled);  // outside the client area the system sets the cursor
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  window_->RouteMessage(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), handled);
  EXPECT_TRUE(handled);
  Send(WM_LBUTTONUP, 0, At(5, 5));
}

TEST_F(WindowTest, DoubleClickPressesWithoutMovingTheFocus) {
  Control* first = AddChild(RECT{0, 0, 40, 40});
  Control* second = AddChild(RECT{50, 0, 90, 40});
  window_->FocusControl(first);
  Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(60, 10));
  EXPECT_EQ(window_->GetFocusControl(), first);
  EXPECT_EQ(window_->GetPressedControl(), second);
  Send(WM_LBUTTONUP, 0, At(60, 10));
}

TEST_F(WindowTest, MouseLeaveOfTheWindowLeavesTheHoveredControl) {
  Control* item = AddChild(RECT{0, 0, 40, 40});
  Record(item);
  Send(WM_MOUSEMOVE, 0, At(5, 5));
  EXPECT_EQ(window_->GetHoverControl(), item);
  Send(WM_MOUSELEAVE);
  EXPECT_EQ(window_->GetHoverControl(), nullptr);
  const Events expected = {kEventMouseEnter, kEventMouseMove, kEventMouseLeave};
  EXPECT_EQ(events_, expected);
}

TEST_F(WindowTest, HoverSendsMouseHoverOnceTrackingEnded) {
  Control* item = AddChild(RECT{0, 0, 40, 40});
  item->SetToolTipText(L"tip");
  Send(WM_MOUSEMOVE, 0, At(5, 5));
  Record(item);
  EXPECT_EQ(Send(WM_MOUSEHOVER, 0, At(5, 5)), 0);
  EXPECT_EQ(events_, Events{kEventMouseHover});
  // The tip's window class comes with the common controls, loaded for the first tip.
  HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
  while (tip && GetWindow(tip, GW_OWNER) != window_->GetHWND())
    tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr);
  EXPECT_TRUE(tip);
}

TEST_F(WindowTest, FocusGoesOnlyToVisibleEnabledControls) {
  Control* first = AddChild(RECT{0, 0, 10, 10});
  Control* hidden = AddChild(RECT{10, 0, 20, 10});
  hidden->SetVisible(false);
  Record(first);
  window_->FocusControl(first);
  EXPECT_EQ(window_->GetFocusControl(), first);
  window_->FocusControl(hidden);
  EXPECT_EQ(window_->GetFocusControl(), nullptr);
  const Events expected = {kEventSetFocus, kEventKillFocus};
  EXPECT_EQ(events_, expected);
}

TEST_F(WindowTest, KeyUpGoesToTheControlThatSawTheKeyGoDown) {
  Control* first = AddChild(RECT{0, 0, 10, 10});
  Control* second = AddChild(RECT{10, 0, 20, 10});
  window_->FocusControl(first);
  Record(first);
  Send(WM_KEYDOWN, VK_TAB, 0);
  window_->FocusControl(second);
  Send(WM_KEYUP, VK_TAB, 0);
  Send(WM_CHAR, L'x', 0);  // to the new focus
  const Events expected = {kEventKeyDown, kEventKillFocus, kEventKeyUp};
  EXPECT_EQ(events_, expected);
}

TEST_F(WindowTest, LosingFocusReleasesOnlyControlsThatAskForIt) {
  Control* thumb = AddChild(RECT{0, 0, 10, 10});
  Record(thumb);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  // lParam of WM_KILLFOCUS is a window handle; the point must come from the cursor instead.
  Send(WM_KILLFOCUS, 0, static_cast<LPARAM>(0x7FFF7FFF));
  EXPECT_EQ(window_->GetPressedControl(), thumb);
  POINT cursor = {};
  GetCursorPos(&cursor);
  ScreenToClient(hwnd_, &cursor);
  EXPECT_EQ(window_->LastMousePoint().x, cursor.x);
  EXPECT_EQ(window_->LastMousePoint().y, cursor.y);

  thumb->SetReleaseCaptureOnKillFocus(true);
  events_.clear();
  Send(WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(window_->GetPressedControl(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(events_, Events{kEventMouseButtonUp});
}

class Swallow : public IUIMessageFilter {
 public:
  LRESULT MessageFilter(UINT, WPARAM, LPARAM, bool& handled) override {
    handled = true;
    return 42;
  }
};

TEST_F(WindowTest, AFilterEndsRoutingExceptForMouseMoves) {
  Control* item = AddChild(RECT{0, 0, 10, 10});
  window_->FocusControl(item);
  Record(item);
  Swallow filter;
  window_->AddMessageFilter(&filter);
  EXPECT_EQ(Send(WM_KEYDOWN, 'A', 0), 42);
  Send(WM_MOUSEMOVE, 0, At(5, 5));
  EXPECT_TRUE(window_->RemoveMessageFilter(&filter));
  EXPECT_FALSE(window_->RemoveMessageFilter(&filter));
  const Events expected = {kEventMouseEnter, kEventMouseMove};
  EXPECT_EQ(events_, expected);
}

// Answers the reflected notifications a child window receives.
class ReflectionProbe : public IUIMessageFilter {
 public:
  LRESULT MessageFilter(UINT message, WPARAM, LPARAM, bool& handled) override {
    if (message < 0x2000) return 0;
    received.push_back(message);
    handled = true;
    return 77;
  }
  std::vector<UINT> received;
};

TEST_F(WindowTest, ChildNotificationsAreReflectedToTheChild) {
  Window child;
  HWND child_hwnd = child.Create(hwnd_, L"child", WS_CHILD, 0, false, RECT{0, 0, 10, 10});
  ASSERT_NE(child_hwnd, nullptr);
  ReflectionProbe probe;
  child.AddMessageFilter(&probe);
  EXPECT_EQ(Send(WM_COMMAND, 1, reinterpret_cast<LPARAM>(child_hwnd)), 77);
  EXPECT_EQ(Send(WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(child_hwnd)), 77);
  NMHDR header = {child_hwnd, 1, 0};
  Send(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(Send(WM_NOTIFY, 1, 0), 0);
  const std::vector<UINT> expected = {WM_COMMAND + 0x2000, WM_CTLCOLORSTATIC + 0x2000,
                                      WM_NOTIFY + 0x2000};
  EXPECT_EQ(probe.received, expected);
  child.RemoveMessageFilter(&probe);
  DestroyWindow(child_hwnd);
}

TEST_F(WindowTest, WheelAndCloseReachTheirControls) {
  Control* item = AddChild(RECT{0, 0, 40, 40});
  WPARAM delta = 0;
  item->AttachEvent(kEventMouseScrollWheel, [&delta](EventArgs* args) {
    delta = args->wParam;
    return true;
  });
  POINT screen = {5, 5};
  ClientToScreen(hwnd_, &screen);
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(screen.x, screen.y));
  EXPECT_EQ(static_cast<LONG_PTR>(delta), -120);

  Send(WM_MOUSEMOVE, 0, At(5, 5));
  window_->FocusControl(item);
  Record(item);
  // The close itself is left to the default procedure; the controls are let go first.
  bool handled = true;
  window_->RouteMessage(WM_CLOSE, 0, 0, handled);
  EXPECT_FALSE(handled);
  EXPECT_EQ(window_->GetFocusControl(), nullptr);
  const Events expected = {kEventMouseLeave, kEventKillFocus};
  EXPECT_EQ(events_, expected);
}

TEST_F(WindowTest, AControlRemovedInItsOwnHandlerIsDeletedAfterTheEvent) {
  Control* item = AddChild(RECT{0, 0, 10, 10}, L"doomed");
  item->AttachEvent(kEventMouseButtonDown, [this, item](EventArgs*) {
    root_->Remove(item);
    return true;
  });
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_EQ(root_->GetCount(), 0);
  Send(WM_LBUTTONUP, 0, At(5, 5));  // still alive in the delayed-delete list
  EXPECT_EQ(window_->GetPressedControl(), nullptr);
  PumpMessages();
  EXPECT_EQ(window_->ControlByName(L"doomed"), nullptr);
}

// A control whose memory is overwritten when it is deleted, as a debug heap would, so that any
// later use of it crashes instead of reading what happens to be left there. One lives at a time.
class WipedOnDeleteControl : public Control {
 public:
  static void* operator new(std::size_t size);
  static void operator delete(void* memory, std::size_t size) { std::memset(memory, 0xDD, size); }
};

// Removes itself from its box as it loses the focus.
class BlurDestroyedControl : public WipedOnDeleteControl {
 public:
  void HandleEvent(EventArgs& args) override {
    Control::HandleEvent(args);
    if (args.type == kEventInternalKillFocus) GetParent()->Remove(this);
  }
};

alignas(BlurDestroyedControl) unsigned char wiped_storage[sizeof(BlurDestroyedControl)];

void* WipedOnDeleteControl::operator new(std::size_t size) {
  if (size > sizeof(wiped_storage)) throw std::bad_alloc();
  return wiped_storage;
}

TEST_F(WindowTest, AControlThatDestroysItselfAsItLosesTheFocusIsNotUsedAfterwards) {
  root_->SetDelayedDestroy(false);  // the removal deletes at once
  auto* doomed = new BlurDestroyedControl;
  root_->Add(doomed);
  doomed->SetPos(RECT{0, 0, 10, 10});
  Control* next = AddChild(RECT{10, 0, 20, 10});
  Record(next);
  window_->FocusControl(doomed);
  ASSERT_EQ(window_->GetFocusControl(), doomed);
  window_->FocusControl(next);
  EXPECT_EQ(root_->GetCount(), 1);
  EXPECT_EQ(window_->GetFocusControl(), next);
  EXPECT_EQ(events_, Events{kEventSetFocus});
}

TEST_F(WindowTest, AControlDestroyedAsTheFocusLeavesAnotherDoesNotTakeTheFocus) {
  root_->SetDelayedDestroy(false);  // the removal deletes at once
  Control* old = AddChild(RECT{0, 0, 10, 10});
  auto* next = new WipedOnDeleteControl;
  root_->Add(next);
  old->AttachEvent(kEventKillFocus, [this, next](EventArgs*) {
    root_->Remove(next);
    return true;
  });
  window_->FocusControl(old);
  ASSERT_EQ(window_->GetFocusControl(), old);
  window_->FocusControl(next);
  EXPECT_EQ(root_->GetCount(), 1);
  EXPECT_EQ(window_->GetFocusControl(), nullptr);
}

TEST_F(WindowTest, PaintingLaysOutTheRootAndDrawsIntoTheRenderContext) {
  ResourceHub::AddTextColor(L"paint_red", L"#FFFF0000");
  root_->SetAttribute(L"bkcolor", L"paint_red");
  Control* child = new Control;
  child->SetAttribute(L"width", L"20");
  child->SetAttribute(L"height", L"10");
  root_->Add(child);
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateWindow(hwnd_);

  IRenderContext* context = window_->GetRenderContext();
  ASSERT_NE(context, nullptr);
  ASSERT_EQ(context->GetWidth(), 200);
  ASSERT_EQ(context->GetHeight(), 100);
  const auto* pixels = static_cast<const DWORD*>(context->GetBits());
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(pixels[50 * 200 + 100] & 0xFFFFFF, 0xFF0000u);
  EXPECT_FALSE(window_->IsArrangeNeeded());
  EXPECT_EQ(child->GetPos(true).right, 20);
}

TEST_F(WindowTest, PaintingLaysOutABoxWhoseChildChangedWhileItWasHidden) {
  auto* outer = new Box;
  root_->Add(outer);
  auto* inner = new Box;
  outer->Add(inner);
  Control* child = new Control;
  child->SetAttribute(L"width", L"20");
  child->SetAttribute(L"height", L"10");
  inner->Add(child);
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd_);
  inner->SetVisible(false);
  child->SetMargin({5, 0, 0, 0}, false);
  inner->SetVisible(true);
  UpdateWindow(hwnd_);
  EXPECT_EQ(child->GetPos(true).left, 5);
}

}  // namespace
}  // namespace ui
