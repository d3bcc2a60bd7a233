#include "ui/windowing/msgbox/msg_box.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/controls/richedit/rich_edit.h"
#include "ui/windowing/window_impl/framework_window_test_fixture.h"

namespace {

using ui::testing_support::FrameworkWindowTest;

// The answers a callback received, with the threads it ran on; filled on thread 0.
struct Answers {
  std::mutex lock;
  std::vector<MsgBoxRet> values;
  std::vector<DWORD> threads;

  MsgBox::Callback Recorder() {
    return [this](MsgBoxRet answer) {
      std::lock_guard<std::mutex> guard(lock);
      values.push_back(answer);
      threads.push_back(GetCurrentThreadId());
    };
  }
};

class MsgBoxTest : public FrameworkWindowTest {
 protected:
  MsgBox* Open(HWND parent, const std::wstring& yes = L"Yes", const std::wstring& no = L"No") {
    return MsgBox::Show(parent, answers_.Recorder(), L"Leave the meeting?", false, L"Tips", false,
                        yes, false, no, false);
  }
  static void Click(MsgBox* box, const wchar_t* name) { box->ControlByName(name)->Activate(); }
  // Pumps until the box's window is gone, then until thread 0 has run what was posted to it.
  bool WaitUntilGone(HWND hwnd) {
    return PumpUntil([hwnd] { return !IsWindow(hwnd); }) && DrainMainThread();
  }

  Answers answers_;
};

TEST_F(MsgBoxTest, TheFirstAnswerCountsArrivesOnThreadZeroAndTheBoxIsThenDetectablyGone) {
  MsgBox* box = Open(owner_);
  ASSERT_NE(box, nullptr);
  std::weak_ptr<kbase::WeakFlag> alive = box->AcquireWeakFlag();
  HWND hwnd = box->GetHWND();
  Click(box, L"btn_yes");
  Click(box, L"btn_no");          // during the fade-out: ignored
  EXPECT_FALSE(alive.expired());  // fading out: still safe to use
  box->UpdateContent(L"closing");
  ASSERT_TRUE(WaitUntilGone(hwnd));
  EXPECT_TRUE(alive.expired());
  ASSERT_EQ(answers_.values, std::vector<MsgBoxRet>{kMsgBoxYes});
  EXPECT_EQ(answers_.threads[0], main_thread_id_.load());
  EXPECT_NE(answers_.threads[0], GetCurrentThreadId());
}

TEST_F(MsgBoxTest, WithoutThreadZeroTheBoxAnswersOnItsOwnThreadAsItsWindowGoes) {
  main_thread_.StopAndJoin();
  for (const wchar_t* button : {L"btn_yes", L"btn_no"}) {
    SCOPED_TRACE(button);
    answers_.values.clear();
    answers_.threads.clear();
    MsgBox* box = Open(owner_);
    ASSERT_NE(box, nullptr);
    HWND hwnd = box->GetHWND();
    Click(box, button);
    EXPECT_TRUE(answers_.values.empty());  // never inside the click
    ASSERT_TRUE(PumpUntil([hwnd] { return !IsWindow(hwnd); }));
    const MsgBoxRet expected = button == std::wstring(L"btn_yes") ? kMsgBoxYes : kMsgBoxNo;
    ASSERT_EQ(answers_.values, std::vector<MsgBoxRet>{expected});
    EXPECT_EQ(answers_.threads[0], GetCurrentThreadId());
    EXPECT_TRUE(IsWindowEnabled(owner_));
  }
}

TEST_F(MsgBoxTest, EveryWayOfClosingGivesTheOwnerBackAndOnlyTheButtonsAndEscAnswer) {
  struct Path {
    const char* name;
    std::function<void(MsgBox*)> close;
    std::vector<MsgBoxRet> answers;
  };
  const Path paths[] = {
      {"yes", [](MsgBox* box) { Click(box, L"btn_yes"); }, {kMsgBoxYes}},
      {"no", [](MsgBox* box) { Click(box, L"btn_no"); }, {kMsgBoxNo}},
      {"closebtn", [](MsgBox* box) { Click(box, L"closebtn"); }, {kMsgBoxNo}},
      {"Esc",
       [](MsgBox* box) { SendMessageW(box->GetHWND(), WM_KEYDOWN, VK_ESCAPE, 0); },
       {kMsgBoxNo}},
      {"Alt+F4", [](MsgBox* box) { SendMessageW(box->GetHWND(), WM_SYSCOMMAND, SC_CLOSE, 0); }, {}},
      {"WM_CLOSE", [](MsgBox* box) { PostMessageW(box->GetHWND(), WM_CLOSE, 0, 0); }, {}},
      {"Close", [](MsgBox* box) { box->Close(0); }, {}},
      {"DestroyWindow", [](MsgBox* box) { DestroyWindow(box->GetHWND()); }, {}},
  };
  for (const Path& path : paths) {
    SCOPED_TRACE(path.name);
    answers_.values.clear();
    MsgBox* box = Open(owner_);
    ASSERT_NE(box, nullptr);
    HWND hwnd = box->GetHWND();
    EXPECT_FALSE(IsWindowEnabled(owner_));
    path.close(box);
    ASSERT_TRUE(WaitUntilGone(hwnd));
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_EQ(answers_.values, path.answers);
  }
}

TEST_F(MsgBoxTest, OnlyTheBoxThatDisabledAWindowEnablesIt) {
  MsgBox* first = Open(owner_);
  ASSERT_NE(first, nullptr);
  MsgBox* second = Open(owner_);  // over the same, already disabled, owner
  ASSERT_NE(second, nullptr);
  HWND second_hwnd = second->GetHWND();
  Click(second, L"btn_no");
  ASSERT_TRUE(WaitUntilGone(second_hwnd));
  EXPECT_FALSE(IsWindowEnabled(owner_));
  HWND first_hwnd = first->GetHWND();
  Click(first, L"btn_no");
  ASSERT_TRUE(WaitUntilGone(first_hwnd));
  EXPECT_TRUE(IsWindowEnabled(owner_));

  // A child window as parent: that child is what comes back, not only its top-level owner.
  HWND child = CreateWindowExW(0, L"STATIC", L"child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, owner_,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  MsgBox* over_child = Open(child);
  ASSERT_NE(over_child, nullptr);
  EXPECT_FALSE(IsWindowEnabled(child));
  HWND hwnd = over_child->GetHWND();
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntilGone(hwnd));
  EXPECT_TRUE(IsWindowEnabled(child));
}

TEST_F(MsgBoxTest, TextsComeAsGivenOrFromTheLanguageTable) {
  MsgBox* box = MsgBox::Show(owner_, nullptr, L"STRID_PUBLIC_TIPS", true, L"NO_SUCH_ID", true,
                             L"STRID_PUBLIC_OK", true, L"", false);
  ASSERT_NE(box, nullptr);
  auto* title = dynamic_cast<ui::Label*>(box->ControlByName(L"title"));
  auto* content = dynamic_cast<ui::RichEdit*>(box->ControlByName(L"content"));
  auto* yes = dynamic_cast<ui::Button*>(box->ControlByName(L"btn_yes"));
  ui::Control* no = box->ControlByName(L"btn_no");
  ASSERT_TRUE(title && content && yes && no);
  EXPECT_EQ(title->GetText(), L"");
  EXPECT_EQ(content->GetText(), L"提示");
  EXPECT_EQ(yes->GetText(), L"确定");
  EXPECT_TRUE(yes->IsVisible());
  EXPECT_FALSE(no->IsVisible());
  EXPECT_EQ(box->GetFocusControl(), yes);

  const int one_line = content->GetFixedHeight();
  EXPECT_GT(one_line, 0);
  box->UpdateContent(L"line one\nline two\nline three");
  EXPECT_GT(content->GetFixedHeight(), one_line);
}

TEST_F(MsgBoxTest, TheRenderedBoxShowsItsTextsOnAnOpaqueBody) {
  MsgBox* box = MsgBox::Show(owner_, nullptr, L"确定要离开会议吗？ Leave the meeting?", false,
                             L"提示 Tips", false, L"确定", false, L"取消", false);
  ASSERT_NE(box, nullptr);
  SendMessageW(box->GetHWND(), WM_PAINT, 0, 0);
  ui::IRenderContext* context = box->GetRenderContext();
  ASSERT_NE(context->GetBits(), nullptr);
  EXPECT_TRUE(
      ui::testing_support::SavePng(context, ui::testing_support::PictureFolder() + L"msgbox.png"));

  using ui::testing_support::CountPixels;
  ASSERT_NE(box->ControlByName(L"content"), nullptr);
  const RECT content = box->ControlByName(L"content")->GetPos(true);
  EXPECT_GT(CountPixels(context, content, 0xFFFFFFFF).differing, 40) << "no text drawn";
  const RECT title = box->ControlByName(L"title")->GetPos(true);
  EXPECT_GT(CountPixels(context, title, 0xFFF5F6F7).differing, 20) << "no title drawn";
  const RECT yes = box->ControlByName(L"btn_yes")->GetPos(true);
  EXPECT_GT(CountPixels(context, yes, 0xFF2A7FE6).differing, 10) << "no button text drawn";
  EXPECT_EQ(CountPixels(context, ui::testing_support::BodyInside(box), 0xFFFFFFFF).translucent, 0);
}

}  // namespace
