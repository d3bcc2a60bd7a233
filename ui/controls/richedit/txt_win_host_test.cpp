#include "ui/controls/richedit/txt_win_host.h"

#include <gtest/gtest.h>

#include "ui/controls/richedit/rich_edit_test_support.h"
#include "ui/controls/scroll/scroll_bar.h"

namespace ui {
namespace {

using testing_support::RichEditTest;

class TxtWinHostTest : public RichEditTest {
 protected:
  CTxtWinHost* HostOf(RichEdit* edit) {
    CTxtWinHost* host = edit->GetTextHost();
    EXPECT_NE(host, nullptr) << CTxtWinHost::LastFailure();
    return host;
  }
  static DWORD Bits(CTxtWinHost* host, DWORD mask = 0xFFFFFFFF) {
    DWORD bits = 0xDEAD;
    EXPECT_EQ(S_OK, host->TxGetPropertyBits(mask, &bits));
    return bits;
  }
};

TEST_F(TxtWinHostTest, PropertyBitsFollowStyleAndFlags) {
  CTxtWinHost* host = HostOf(AddEdit({0, 0, 100, 30}));
  ASSERT_NE(host, nullptr);
  host->SetPropertyFlag(CTxtWinHost::kWordWrap, false);
  struct Case {
    DWORD style;
    bool rich;
    DWORD expected;
  };
  const Case cases[] = {
      {ES_MULTILINE, true, TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_HIDESELECTION},
      {ES_MULTILINE, false, TXTBIT_MULTILINE | TXTBIT_HIDESELECTION},
      {0, true, TXTBIT_RICHTEXT | TXTBIT_HIDESELECTION},
      {ES_NOHIDESEL, false, 0},
      {ES_READONLY | ES_PASSWORD | ES_NOHIDESEL, false, TXTBIT_READONLY | TXTBIT_USEPASSWORD},
  };
  for (const Case& c : cases) {
    host->SetStyle(c.style);
    host->SetPropertyFlag(CTxtWinHost::kRich, c.rich);
    EXPECT_EQ(c.expected, Bits(host)) << "style " << c.style << " rich " << c.rich;
  }
  host->SetStyle(ES_NOHIDESEL);
  host->SetPropertyFlag(CTxtWinHost::kRich, false);
  host->SetPropertyFlag(CTxtWinHost::kAutoWordSelection, true);
  host->SetPropertyFlag(CTxtWinHost::kWordWrap, true);
  host->SetPropertyFlag(CTxtWinHost::kAllowBeep, true);
  host->SetPropertyFlag(CTxtWinHost::kSaveSelection, true);
  EXPECT_EQ(static_cast<DWORD>(TXTBIT_AUTOWORDSEL | TXTBIT_WORDWRAP | TXTBIT_ALLOWBEEP |
                               TXTBIT_SAVESELECTION),
            Bits(host));
  EXPECT_EQ(static_cast<DWORD>(TXTBIT_WORDWRAP), Bits(host, TXTBIT_WORDWRAP));
  EXPECT_EQ(0u, Bits(host, 0));
}

TEST_F(TxtWinHostTest, WordWrapUnlessTheTextScrollsSideways) {
  EXPECT_TRUE(HostOf(AddEdit({0, 0, 100, 30}))->HasPropertyFlag(CTxtWinHost::kWordWrap));
  CTxtWinHost* sideways = HostOf(AddEdit({0, 0, 100, 30}, {{L"autohscroll", L"true"}}));
  EXPECT_FALSE(sideways->HasPropertyFlag(CTxtWinHost::kWordWrap));
}

TEST_F(TxtWinHostTest, PasswordCharacterOnlyWithThePasswordStyle) {
  TCHAR ch = L'?';
  HostOf(AddEdit({0, 0, 100, 30}))->TxGetPasswordChar(&ch);
  EXPECT_EQ(L'\0', ch);
  RichEdit* secret = AddEdit({0, 0, 100, 30}, {{L"password", L"true"}});
  HostOf(secret)->TxGetPasswordChar(&ch);
  EXPECT_EQ(CTxtWinHost::kDefaultPasswordChar, ch);
  // The masking is for the screen only: the text itself stays readable to the program.
  secret->SetText(L"hunter2");
  EXPECT_EQ(L"hunter2", secret->GetText());
}

TEST_F(TxtWinHostTest, ExtentIsTheClientSizeInHimetric) {
  CTxtWinHost* host = HostOf(AddEdit({0, 0, 100, 30}));
  ASSERT_NE(host, nullptr);
  host->SetClientRect({10, 20, 110, 70});
  SIZEL extent = {};
  host->TxGetExtent(&extent);
  const int dpi = GetDeviceCaps(host->PaintDC(), LOGPIXELSX);
  if (dpi == 96) {
    EXPECT_EQ(2646, extent.cx);  // 100 px * 2540 / 96 = 2645.8, rounded to nearest
    EXPECT_EQ(1323, extent.cy);  // 50 px
  } else {
    EXPECT_EQ(MulDiv(100, 2540, dpi), extent.cx);
  }
  RECT client = {};
  host->TxGetClientRect(&client);
  EXPECT_EQ(10, client.left);
  EXPECT_EQ(70, client.bottom);
}

TEST_F(TxtWinHostTest, VerticalAlignmentMovesTheTextDown) {
  RichEdit* centred = AddEdit({0, 0, 200, 100}, {{L"align", L"vcenter"}, {L"text", L"one"}});
  RichEdit* bottom = AddEdit({0, 0, 200, 100}, {{L"align", L"bottom"}, {L"text", L"one"}});
  const LONG text_height = centred->GetNaturalSize(200).cy;
  ASSERT_GT(text_height, 0);
  EXPECT_EQ((100 - text_height) / 2, HostOf(centred)->GetAlignedClientRect().top);
  EXPECT_EQ(100 - text_height, HostOf(bottom)->GetAlignedClientRect().top);
  EXPECT_EQ(100, HostOf(bottom)->GetAlignedClientRect().bottom);
}

TEST_F(TxtWinHostTest, QueryInterfaceAnswersOnlyTheHostInterfaces) {
  CTxtWinHost* host = HostOf(AddEdit({0, 0, 100, 30}));
  ASSERT_NE(host, nullptr);
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, host->QueryInterface(kIidTextServices, &object));
  EXPECT_EQ(nullptr, object);
  ASSERT_EQ(S_OK, host->QueryInterface(kIidTextHost, &object));
  EXPECT_EQ(static_cast<ITextHost*>(host), object);
  ASSERT_EQ(S_OK, host->QueryInterface(__uuidof(IUnknown), &object));
  // Two references taken above, one held by the control: each release counts down.
  EXPECT_EQ(2u, host->Release());
  EXPECT_EQ(1u, host->Release());
  EXPECT_EQ(2u, host->AddRef());
  EXPECT_EQ(1u, host->Release());
}

TEST_F(TxtWinHostTest, FontEffectsFollowEachNewFont) {
  CTxtWinHost* host = HostOf(AddEdit({0, 0, 100, 30}));
  ASSERT_NE(host, nullptr);
  HFONT bold = ResourceHub::AddFont(L"system", 20, true, true, true);
  HFONT plain = ResourceHub::AddFont(L"system", 20, false, false, false);
  host->SetFont(bold);
  const DWORD all = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE;
  EXPECT_EQ(all, host->DefaultCharFormat().dwEffects & all);
  EXPECT_EQ(20 * 1440 / GetDeviceCaps(host->PaintDC(), LOGPIXELSY),
            host->DefaultCharFormat().yHeight);
  host->SetFont(plain);
  EXPECT_EQ(0u, host->DefaultCharFormat().dwEffects & all);
  host->SetFont(nullptr);
  EXPECT_EQ(0u, host->DefaultCharFormat().dwEffects & all);
}

// Text services report the whole document height; the bar scrolls only what does not fit.
TEST_F(TxtWinHostTest, ScrollRangeIsTheDocumentBeyondTheView) {
  RichEdit* edit = AddEdit({0, 0, 100, 50}, {{L"vscrollbar", L"true"}});
  CTxtWinHost* host = HostOf(edit);
  ASSERT_NE(host, nullptr);
  ScrollBar* bar = edit->GetVerticalScrollBar();
  ASSERT_NE(bar, nullptr);
  const int bar_width = bar->GetFixedWidth();
  host->TxSetScrollRange(SB_VERT, 0, 50, TRUE);
  EXPECT_EQ(0, bar->GetScrollRange());
  EXPECT_EQ(100, host->GetClientRect().right);
  // The first range shows the bar, and the text area makes room for it.
  host->TxSetScrollRange(SB_VERT, 10, 130, TRUE);
  EXPECT_EQ(70, bar->GetScrollRange());
  EXPECT_EQ(100 - bar_width, host->GetClientRect().right);
  host->TxSetScrollPos(SB_VERT, 30, TRUE);
  EXPECT_EQ(30, bar->GetScrollPos());
  host->TxEnableScrollBar(SB_VERT, ESB_DISABLE_BOTH);
  EXPECT_EQ(0, bar->GetScrollRange());
  EXPECT_EQ(100, host->GetClientRect().right);
  // A bar the control does not have is left alone.
  EXPECT_TRUE(host->TxSetScrollRange(SB_HORZ, 0, 500, TRUE));
  EXPECT_EQ(nullptr, edit->GetHorizontalScrollBar());
}

}  // namespace
}  // namespace ui
