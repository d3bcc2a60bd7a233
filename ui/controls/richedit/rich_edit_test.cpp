#include "ui/controls/richedit/rich_edit.h"

#include <gtest/gtest.h>
#include <imm.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/controls/layout/layout.h"
#include "ui/controls/richedit/rich_edit_test_support.h"
#include "ui/controls/testing/paint_target.h"

namespace ui {
namespace {

using testing_support::RichEditTest;

class RichEditControlTest : public RichEditTest {
 protected:
  void Type(RichEdit* edit, const std::wstring& text) {
    for (wchar_t ch : text) edit->SendEvent(kEventChar, ch, 0, ch);
  }
  void Key(RichEdit* edit, WPARAM key) { edit->SendEvent(kEventKeyDown, key, 0, 0); }
  // The events of types raised at control, in order.
  std::vector<EventType>* Watch(Control* control, std::initializer_list<EventType> types) {
    for (EventType type : types) {
      control->AttachEvent(type, [this](EventArgs* args) {
        watched_.push_back(args->type);
        return true;
      });
    }
    return &watched_;
  }

  std::vector<EventType> watched_;
};

// --- text ---

TEST_F(RichEditControlTest, TextRoundTripsInUtf16AndUtf8) {
  RichEdit* edit = AddEdit({0, 0, 200, 40});
  ASSERT_NE(edit->GetTextHost(), nullptr) << CTxtWinHost::LastFailure();
  const std::string chinese = "\xE4\xBD\xA0\xE5\xA5\xBD, world";  // "ni hao" in characters
  edit->SetUTF8Text(chinese);
  EXPECT_EQ(chinese, edit->GetUTF8Text());
  EXPECT_EQ(L"\x4F60\x597D, world", edit->GetText());
  edit->SetText(L"");
  EXPECT_EQ(L"", edit->GetText());
}

TEST_F(RichEditControlTest, TextSetBeforeTheWindowShowsOnceTheHostExists) {
  auto* edit = new RichEdit;
  edit->SetTimerManager(&timers_);
  edit->SetAttribute(L"text", L"early");
  EXPECT_FALSE(edit->IsInitialised());
  EXPECT_EQ(L"", edit->GetText());
  root_->Add(edit);
  EXPECT_TRUE(edit->IsInitialised());
  EXPECT_EQ(L"early", edit->GetText());
}

TEST_F(RichEditControlTest, NaturalHeightGrowsWithTheLines) {
  RichEdit* edit = AddEdit({0, 0, 200, 40});
  edit->SetText(L"one");
  const SIZE one = edit->GetNaturalSize(200);
  edit->SetText(L"one\rtwo\rthree");
  const SIZE three = edit->GetNaturalSize(200);
  EXPECT_GT(one.cy, 0);
  EXPECT_GT(three.cy, 2 * one.cy);
  // "auto" height: the text height at the fixed width plus the vertical padding.
  edit->SetAttribute(L"width", L"200");
  edit->SetAttribute(L"height", L"auto");
  edit->GetLayout()->SetPadding({0, 4, 0, 6}, false);
  EXPECT_EQ(three.cy + 10, edit->EstimateSize({300, 300}).cy);
  // A stretching width wraps the text at the width the layout offers.
  edit->SetAttribute(L"width", L"stretch");
  EXPECT_EQ(three.cy + 10, edit->EstimateSize({200, 300}).cy);
}

TEST_F(RichEditControlTest, ReadOnlyDoubleClickSelectsAll) {
  RichEdit* edit = AddEdit({0, 0, 200, 40}, {{L"readonly", L"true"}});
  edit->SetText(L"hello world");
  EXPECT_EQ(L"", edit->GetSelText());
  edit->SendEvent(kEventInternalDoubleClick, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(L"hello world", edit->GetSelText());
  Type(edit, L"x");
  EXPECT_EQ(L"hello world", edit->GetText());
}

// --- typing ---

TEST_F(RichEditControlTest, DigitsOnlyDropsOtherTypedCharacters) {
  RichEdit* edit = AddEdit({0, 0, 200, 40}, {{L"number", L"true"}});
  Type(edit, L"a1b2 3");
  EXPECT_EQ(L"123", edit->GetText());
  Key(edit, VK_BACK);
  EXPECT_EQ(L"12", edit->GetText());

  RichEdit* lines = AddEdit({0, 50, 200, 120},
                            {{L"number", L"true"}, {L"multiline", L"true"}, {L"wanttab", L"true"}});
  Type(lines, L"1\t2\r3\n4");
  EXPECT_EQ(L"1234", lines->GetText());
}

TEST_F(RichEditControlTest, DigitsOnlyPasteInsertsTheDigitsAndKeepsTheClipboard) {
  RichEdit* edit = AddEdit({0, 0, 200, 40}, {{L"number", L"true"}});
  ASSERT_TRUE(RichEdit::WriteClipboardText(L"a1b2c3"));
  SetKeys({VK_CONTROL}, true);
  Key(edit, 'V');
  SetKeys({VK_CONTROL}, false);
  EXPECT_EQ(L"123", edit->GetText());
  EXPECT_EQ(L"a1b2c3", RichEdit::ReadClipboardText());

  ASSERT_TRUE(RichEdit::WriteClipboardText(L"no digits"));
  SetKeys({VK_SHIFT}, true);
  Key(edit, VK_INSERT);
  SetKeys({VK_SHIFT}, false);
  EXPECT_EQ(L"123", edit->GetText());
  EXPECT_EQ(L"no digits", RichEdit::ReadClipboardText());
}

TEST_F(RichEditControlTest, ClipboardReadStopsAtNulAndAtTheBlockEnd) {
  auto put = [](const wchar_t* data, size_t chars) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, chars * sizeof(wchar_t));
    std::memcpy(GlobalLock(block), data, chars * sizeof(wchar_t));
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
  };
  put(L"12\0ab", 5);
  EXPECT_EQ(L"12", RichEdit::ReadClipboardText());
  // A block without a terminating NUL (some clipboards terminate it in its last character).
  put(L"789", 3);
  const std::wstring unterminated = RichEdit::ReadClipboardText();
  EXPECT_LE(unterminated.size(), 3u);
  EXPECT_EQ(0, std::wstring(L"789").compare(0, unterminated.size(), unterminated));
}

TEST_F(RichEditControlTest, EnterRaisesTheReturnEventOnlyAsConfigured) {
  RichEdit* edit = AddEdit({0, 0, 200, 40}, {{L"wantreturnmsg", L"true"}});
  Watch(edit, {kEventReturn});
  Key(edit, VK_RETURN);
  EXPECT_EQ(std::vector<EventType>{kEventReturn}, watched_);
  EXPECT_EQ(L"", edit->GetText());
  SetKeys({VK_SHIFT}, true);
  Key(edit, VK_RETURN);
  SetKeys({VK_SHIFT}, false);
  EXPECT_EQ(1u, watched_.size());
  EXPECT_NE(L"", edit->GetText());

  RichEdit* ctrl =
      AddEdit({0, 0, 200, 40}, {{L"wantreturnmsg", L"true"}, {L"returnmsgwantctrl", L"true"}});
  watched_.clear();
  Watch(ctrl, {kEventReturn});
  Key(ctrl, VK_RETURN);
  EXPECT_TRUE(watched_.empty());
  EXPECT_NE(L"", ctrl->GetText());
  ctrl->SetText(L"");
  SetKeys({VK_CONTROL}, true);
  Key(ctrl, VK_RETURN);
  SetKeys({VK_CONTROL}, false);
  EXPECT_EQ(std::vector<EventType>{kEventReturn}, watched_);
  EXPECT_EQ(L"", ctrl->GetText());
}

TEST_F(RichEditControlTest, TabRaisesTheTabEventUnlessTheTextWantsIt) {
  RichEdit* edit = AddEdit({0, 0, 200, 40}, {{L"wanttab", L"false"}});
  RichEdit* wants = AddEdit({0, 0, 200, 40});
  Watch(edit, {kEventTab});
  Watch(wants, {kEventTab});
  SetKeys({VK_TAB}, true);
  Type(edit, L"\t");
  Type(wants, L"\t");
  SetKeys({VK_TAB}, false);
  EXPECT_EQ(std::vector<EventType>{kEventTab}, watched_);
  EXPECT_EQ(L"", edit->GetText());
  EXPECT_EQ(L"\t", wants->GetText());
}

TEST_F(RichEditControlTest, TypingRaisesTextChange) {
  RichEdit* edit = AddEdit({0, 0, 200, 40});
  Watch(edit, {kEventTextChange});
  Type(edit, L"ab");
  EXPECT_EQ(2u, watched_.size());
  EXPECT_EQ(L"ab", edit->GetText());
}

// --- caret, composition and focus ---

TEST_F(RichEditControlTest, CaretBlinksOnTheTimerManagerWhileFocused) {
  RichEdit* edit = AddEdit({0, 0, 200, 40});
  edit->SetFocus();
  ASSERT_TRUE(edit->IsFocused());
  EXPECT_TRUE(edit->IsCaretVisible());
  AdvanceMs(RichEdit::kCaretBlinkMs);
  EXPECT_FALSE(edit->IsCaretVisible());
  AdvanceMs(RichEdit::kCaretBlinkMs);
  EXPECT_TRUE(edit->IsCaretVisible());
  window_->FocusControl(nullptr);
  EXPECT_FALSE(edit->IsFocused());
  EXPECT_FALSE(edit->IsCaretVisible());
  AdvanceMs(5 * RichEdit::kCaretBlinkMs);
  EXPECT_FALSE(edit->IsCaretVisible());
}

TEST_F(RichEditControlTest, CompositionWindowFollowsTheCaret) {
  RichEdit* edit = AddEdit({0, 0, 200, 40});
  edit->SetCaretPos(30, 12);
  edit->SendEvent(kEventImeStartComposition);
  HIMC context = ImmGetContext(hwnd_);
  if (!context) GTEST_SKIP() << "no input context for the window";
  COMPOSITIONFORM form = {};
  ImmGetCompositionWindow(context, &form);
  ImmReleaseContext(hwnd_, context);
  EXPECT_EQ(static_cast<DWORD>(CFS_POINT), form.dwStyle);
  EXPECT_EQ(30, form.ptCurrentPos.x);
  EXPECT_EQ(12, form.ptCurrentPos.y);
}

// Records the timer messages the text services would receive.
class TimerRecordingEdit : public RichEdit {
 public:
  HRESULT TxSendMessage(UINT message, WPARAM wparam, LPARAM lparam,
                        LRESULT* result) const override {
    if (message == WM_TIMER) ticks.push_back(static_cast<UINT>(wparam));
    return RichEdit::TxSendMessage(message, wparam, lparam, result);
  }
  mutable std::vector<UINT> ticks;
};

TEST_F(RichEditControlTest, TextServiceTimersTickUntilKilled) {
  auto* edit = new TimerRecordingEdit;
  edit->SetTimerManager(&timers_);
  root_->Add(edit);
  edit->SetTimer(7, 100);
  edit->SetTimer(7, 100);  // a second start replaces the first
  AdvanceMs(100);
  AdvanceMs(100);
  EXPECT_EQ((std::vector<UINT>{7, 7}), edit->ticks);
  edit->KillTimer(7);
  AdvanceMs(300);
  EXPECT_EQ(2u, edit->ticks.size());
  edit->SetTimer(8, 0);  // a zero period must not spin the timer manager
  AdvanceMs(1);
  EXPECT_EQ(8u, edit->ticks.back());
  root_->Remove(edit);
  Send(Window::kDelayedDeleteMessage);  // deletes the edit
  AdvanceMs(100);                       // its timer is gone with it
}

TEST_F(RichEditControlTest, WithoutTextServicesTextCallsDoNothing) {
  RichEdit edit;  // never attached: no host
  edit.SetText(L"kept");
  EXPECT_EQ(L"", edit.GetText());
  EXPECT_EQ(L"", edit.GetSelText());
  LRESULT result = 42;
  EXPECT_EQ(S_FALSE, edit.TxSendMessage(WM_CHAR, L'a', 0, &result));
  EXPECT_EQ(42, result);
  EXPECT_EQ(0, edit.GetNaturalSize(120).cy);
  EXPECT_EQ(120, edit.GetNaturalSize(120).cx);
}

// --- painting ---

TEST_F(RichEditControlTest, PromptShowsOnlyWhileEmptyWithTextAndColour) {
  ResourceHub::AddTextColor(L"prompt_red", L"#FFFF0000");
  PaintTarget target(200, 40);
  ASSERT_TRUE(target.Ready());
  auto red_pixels = [&](RichEdit* edit) {
    target.Context()->Clear();
    edit->Paint(target.Context(), target.Everywhere());
    int count = 0;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 200; ++x) {
        const DWORD pixel = target.At(x, y) & 0xFFFFFF;
        if ((pixel >> 16) > 0x80 && (pixel & 0xFFFF) < 0x4040) ++count;
      }
    }
    return count;
  };
  RichEdit* edit =
      AddEdit({0, 0, 200, 40}, {{L"prompttext", L"Search here"}, {L"promptcolor", L"prompt_red"}});
  EXPECT_GT(red_pixels(edit), 0);
  edit->SetText(L"x");
  EXPECT_EQ(0, red_pixels(edit));
  edit->SetText(L"");
  EXPECT_GT(red_pixels(edit), 0);
  RichEdit* no_colour = AddEdit({0, 0, 200, 40}, {{L"prompttext", L"Search here"}});
  EXPECT_EQ(0, red_pixels(no_colour));
  RichEdit* read_only = AddEdit(
      {0, 0, 200, 40},
      {{L"prompttext", L"Search here"}, {L"promptcolor", L"prompt_red"}, {L"readonly", L"true"}});
  EXPECT_EQ(0, red_pixels(read_only));
}

// --- markup ---

TEST_F(RichEditControlTest, AlignWordsSetStyleAndVerticalAlignment) {
  RichEdit edit;
  edit.SetAttribute(L"align", L"hcenter,vcenter");
  EXPECT_EQ(static_cast<DWORD>(ES_CENTER), edit.GetStyle() & (ES_CENTER | ES_RIGHT));
  EXPECT_EQ(1, edit.GetVerticalTextAlign());
  edit.SetAttribute(L"align", L"middle");
  EXPECT_EQ(1, edit.GetVerticalTextAlign());
  edit.SetAttribute(L"align", L"right bottom");
  EXPECT_EQ(static_cast<DWORD>(ES_RIGHT), edit.GetStyle() & (ES_CENTER | ES_RIGHT));
  EXPECT_EQ(2, edit.GetVerticalTextAlign());
}

}  // namespace
}  // namespace ui
