// The chat panel on its skins under the virtual display, in English and Chinese: the input's
// hint and sending, bubbles on the side of their sender with their text shown as it came, the
// avatar swap, the close request, and a picture of a conversation checked by pixels.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/windows/chat/bubble_layout.h"
#include "app/windows/chat/chat_backlog.h"
#include "app/windows/chat/chat_input.h"
#include "app/windows/chat/chat_list.h"
#include "app/windows/chat/dui_chat_list.h"
#include "app/windows/meeting/testing/recording_meeting_host.h"
#include "app/windows/skeleton/testing/skin_window_test.h"
#include "app/windows/skeleton/testing/window_picture.h"
#include "app/windows/skeleton/window_messages.h"
#include "chinese_emoji_text.h"
#include "duilib/rich_edit_ui.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_path.h"
#include "kestrum/testing/heap_blocks.h"
#include "message_window.h"
#include "ui/base/util/module_path.h"

namespace {

using kestrum::testing_support::PumpPending;
using window_testing::CountDiffering;
using window_testing::PixelAt;
using ZuvraKestrum::Chat::kLineHeight;

constexpr DWORD kChatStyle = 0x56CF0000;
constexpr DWORD kListBackground = 0xFF25282D;
constexpr DWORD kOwnBubble = 0xFF2A7FE6;
constexpr DWORD kRemoteBubble = 0xFFFFFFFF;
const std::string kBob = "u-bob";
const std::string kMe = "u-me";

// Ink of a text: near white, or near the dark grey of others' bubbles.
bool IsLight(DWORD colour) {
    return (colour & 0xFF) >= 0xE0 && ((colour >> 8) & 0xFF) >= 0xE0 &&
           ((colour >> 16) & 0xFF) >= 0xE0;
}
bool IsDark(DWORD colour) {
    return (colour & 0xFF) <= 0x60 && ((colour >> 8) & 0xFF) <= 0x60 &&
           ((colour >> 16) & 0xFF) <= 0x60;
}

class ChatWindowTest : public window_testing::SkinWindowTest {
protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        CKestrumData& data = meeting_.data();
        data.uid = kMe;
        data.userList.emplace_back(kBob, kChineseEmojiUtf8, "p-bob", 7, "", 0, -1, 1);
        data.userList.emplace_back(kMe, "Alice", "", 8, "", 0, -1, 1);
        data.userList.emplace_back("u-eve", "Eve <b>&amp;", "", 9, "", 0, -1, 1);

        // The in-meeting window stands behind the panel as its parent.
        parent_ = CreateWindowExW(0, L"STATIC", L"meeting", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                  60, 40, 250, 692, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
        window_ = new CDuiChatList(host_);
        ASSERT_TRUE(window_->Create(parent_, L"ChatList", kChatStyle, 0, 0, 0, 250, 692));
        UpdateWindow(window_->GetHWND());
        PumpPending();
        list_ = window_->chatList();
        ASSERT_NE(list_, nullptr);
        input_ = static_cast<DuiLib::CRichEditUI*>(Find(L"inputEdit"));
    }
    void TearDown() override {
        DestroyWindow(parent_);
        PumpPending();
        SkinWindowTest::TearDown();
    }

    static std::wstring SkinFolder() { return kbase::ModuleDirectory() + L"..\\Resource\\skin\\"; }

    DuiLib::CControlUI* Find(const wchar_t* name) {
        return window_->paintManager().FindControl(name);
    }
    DuiLib::CControlUI* InBubble(int index, const wchar_t* name) {
        return window_->paintManager().FindSubControlByName(list_->GetItemAt(index), name);
    }
    // Where a bubble's control shows: items keep their place in the list's content, which is
    // drawn moved by the scroll position.
    RECT Shown(int index, const wchar_t* name) {
        RECT rect = InBubble(index, name)->GetPos();
        OffsetRect(&rect, 0, -list_->GetScrollPos().cy);
        return rect;
    }
    // The pixels of the window's rect whose colour passes the test.
    int CountWhere(const RECT& rect, bool (*test)(DWORD)) {
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) count += test(PixelAt(window_, x, y));
        }
        return count;
    }
    bool AtNewest() { return list_->GetScrollPos().cy == list_->GetScrollRange().cy; }
    // Messages arrive, get laid out and bring the view to the newest.
    void Receive(const std::string& uid, const std::string& text) {
        const int shown = list_->messageCount();
        window_->AddChatMsg(uid, text, uid == kBob ? "p-bob" : "");
        EXPECT_TRUE(PumpUntil([&] { return list_->messageCount() > shown; }));
        window_->paintManager().GetRoot()->NeedUpdate();
        PumpPending();
        window_testing::Repaint(window_);
    }
    void Click(const wchar_t* name,
               const kestrum::testing_support::MessageFilter& filter = nullptr) {
        Press(window_, Find(name));
        PumpPending(filter);
    }
    // Runs the thread's messages as the program's loop does: keys go to the focused text box.
    static bool PumpUntil(const std::function<bool()>& done) {
        return kestrum::testing_support::PumpUntil(
            done, [](MSG& message) { return DuiLib::CPaintManagerUI::TranslateMessage(&message); });
    }

    window_testing::RecordingMeetingHost host_{data()};
    HWND parent_ = nullptr;
    CDuiChatList* window_ = nullptr;
    CChatList* list_ = nullptr;
    DuiLib::CRichEditUI* input_ = nullptr;
};

TEST_F(ChatWindowTest, InputSendsTypedTextAsUtf8OnceAndCloseAsksTheMeetingWindow) {
    const std::wstring hint = ZuvraKestrum::Chat::InputHint(g_language);
    EXPECT_EQ(Find(L"title")->GetText(), g_language ? L"\x804A\x5929" : L"Chat");
    EXPECT_EQ(input_->GetText(), hint);
    EXPECT_EQ(input_->GetTextColor(), 0xFF888888u);

    // The hint and an empty input send nothing; the input is emptied either way.
    Click(L"MsgSend");
    EXPECT_EQ(input_->GetText(), L"");
    Click(L"MsgSend");
    input_->SetText(hint.c_str());
    window_->paintManager().SetFocus(input_);
    PumpPending();
    EXPECT_EQ(input_->GetText(), L"");
    EXPECT_TRUE(host_.calls.empty());

    // Typed text turns dark and goes out as UTF-8, whatever the ANSI code page; Return sends
    // too. Nothing shows until the room echoes it back.
    input_->SetText(kChineseEmojiWide);
    EXPECT_EQ(input_->GetTextColor(), 0xFF333333u);
    Click(L"MsgSend");
    EXPECT_EQ(input_->GetText(), L"");
    input_->SetText(L"<b>hi</b>");
    window_->paintManager().SetFocus(input_);
    PostMessageW(window_->GetHWND(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(PumpUntil([&] { return host_.calls.size() == 2; }));
    EXPECT_EQ(host_.calls,
              (std::vector<std::string>{std::string("broadcastMsg ") + kChineseEmojiUtf8,
                                        "broadcastMsg <b>hi</b>"}));
    EXPECT_EQ(input_->GetText(), L"");
    EXPECT_EQ(list_->GetCount(), 0);

    // Close asks the in-meeting window to hide the panel, when there is one.
    MessageWindow meeting;
    std::vector<MSG> asked;
    const auto keep = [&](MSG& message) {
        if (message.hwnd != meeting.handle()) return false;
        asked.push_back(message);
        return true;
    };
    Click(L"closebtn", keep);
    EXPECT_TRUE(asked.empty());
    host_.meetingHandle = meeting.handle();
    Click(L"closebtn", keep);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].message, static_cast<UINT>(WM_CHATLIST_CLOSED));
    EXPECT_EQ(asked[0].wParam, 0u);
    EXPECT_EQ(asked[0].lParam, 0);
    EXPECT_TRUE(IsWindowVisible(window_->GetHWND()));
}

TEST_F(ChatWindowTest, BubblesStandOnTheSideOfTheirSenderShowTheTextAsItCameAndScroll) {
    Receive(kBob, kChineseEmojiUtf8);
    Receive(kMe, "ok");
    Receive(kMe, "{\\rtf1 y} <b>x</b> {b}\n&amp; & \xE4\xBD\xA0");
    Receive("u-eve", std::string(10000, 'w'));
    Receive("", "lost");  // no sender: an empty item, not a bubble
    Receive(kBob, "");
    ASSERT_EQ(list_->GetCount(), 6);
    EXPECT_EQ(list_->messageCount(), 6);
    EXPECT_EQ(InBubble(4, L"chat_text")->GetText(), L"");
    EXPECT_FALSE(InBubble(4, L"vRemote")->IsVisible());

    // Others' bubbles begin after their avatar; own ones end before the avatar at the right.
    const RECT list = list_->GetPos();
    const RECT remote = InBubble(0, L"chat_text")->GetPos();
    const RECT own = InBubble(1, L"chat_text")->GetPos();
    EXPECT_LT(InBubble(0, L"chat_logo")->GetPos().right, remote.left);
    EXPECT_GT(own.left, remote.right);
    EXPECT_LE(own.right, InBubble(1, L"chat_logo1")->GetPos().left);
    EXPECT_LE(InBubble(1, L"chat_logo1")->GetPos().right, list.right);
    EXPECT_EQ(InBubble(0, L"nick")->GetText(), kChineseEmojiWide);
    EXPECT_EQ(InBubble(3, L"nick")->GetText(), L"Eve <b>&amp;");

    // Text that looks like markup is text (the box keeps a line break as "\r"); the long
    // message shows its beginning in a bubble that fits the list.
    EXPECT_EQ(InBubble(0, L"chat_text")->GetText(), kChineseEmojiWide);
    EXPECT_EQ(InBubble(2, L"chat_text")->GetText(), L"{\\rtf1 y} <b>x</b> {b}\r&amp; & \x4F60");
    EXPECT_GT(InBubble(2, L"chat_text")->GetPos().bottom - InBubble(2, L"chat_text")->GetPos().top,
              kLineHeight);
    const RECT tall = InBubble(3, L"chat_text")->GetPos();
    EXPECT_EQ(InBubble(3, L"chat_text")->GetText(), std::wstring(1000, L'w') + L"\x2026");
    EXPECT_LT(tall.bottom - tall.top, list.bottom - list.top);

    // The newest is in view; once the glide there has ended, a wheel over a bubble moves the
    // list towards the top.
    ASSERT_TRUE(PumpUntil([&] { return AtNewest(); }));
    const DWORD settled = GetTickCount() + 4 * KineticScroll::kPeriodMs;
    PumpUntil([&] { return GetTickCount() >= settled; });
    const int end = list_->GetScrollPos().cy;
    ASSERT_GT(end, 0);
    const RECT bubble = Shown(2, L"chat_text");
    POINT at = {(bubble.left + bubble.right) / 2, (bubble.top + bubble.bottom) / 2};
    ClientToScreen(window_->GetHWND(), &at);
    PostMessageW(window_->GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                 MAKELPARAM(at.x, at.y));
    EXPECT_TRUE(PumpUntil([&] { return list_->GetScrollPos().cy < end; }));

    // An avatar that arrives later replaces the default in every bubble of its owner.
    const std::wstring cached = ZuvraKestrum::Util::GetPortraitCachePath("p-bob");
    ASSERT_TRUE(
        CopyFileW((SkinFolder() + L"profile picture-light1.png").c_str(), cached.c_str(), FALSE));
    window_->updateChatLogo(kBob);
    EXPECT_EQ(InBubble(0, L"chat_logo")->GetBkImage(), cached);
    EXPECT_NE(InBubble(1, L"chat_logo1")->GetBkImage(), cached);

    // The list keeps no more of a message than its bubble shows.
    const size_t heldBefore = kestrum::testing_support::UsedHeapBytes();
    Receive("u-eve", std::string(size_t{1} << 20, 'w'));
    EXPECT_LT(kestrum::testing_support::UsedHeapBytes() - heldBefore, size_t{256} << 10);
    EXPECT_EQ(InBubble(6, L"chat_text")->GetText(), std::wstring(1000, L'w') + L"\x2026");
}

// A peer floods the chat: the window goes on taking input while the messages join the list in
// batches, the list keeps only the newest and ends at the newest, and nothing is queued per
// message.
TEST_F(ChatWindowTest, AFloodKeepsTheNewestMessagesAndTheWindowTakesInputMeanwhile) {
    constexpr int kKept = static_cast<int>(ZuvraKestrum::Chat::ChatBacklog::kMaxKept);
    const int flood = 3 * kKept;
    for (int i = 0; i < flood; ++i) window_->AddChatMsg(kBob, "m" + std::to_string(i), "p-bob");
    PostMessageW(window_->GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    int shownAtInput = -1;
    int wheels = 0;
    const auto watch = [&](MSG& message) {
        if (message.hwnd != window_->GetHWND()) return false;
        if (message.message == WM_MOUSEMOVE && shownAtInput < 0) {
            shownAtInput = list_->messageCount();
        }
        if (message.message == WM_MOUSEWHEEL) ++wheels;
        return false;
    };
    const std::string newest = "m" + std::to_string(flood - 1);
    ASSERT_TRUE(kestrum::testing_support::PumpUntil(
        [&] {
            return list_->messageCount() == kKept && InBubble(kKept - 1, L"chat_text")->GetText() ==
                                                         std::wstring(newest.begin(), newest.end());
        },
        watch));
    EXPECT_GE(shownAtInput, 0);
    EXPECT_LT(shownAtInput, kKept);
    EXPECT_EQ(wheels, 0);
    EXPECT_EQ(list_->GetCount(), kKept);
    EXPECT_EQ(InBubble(0, L"chat_text")->GetText(), L"m" + std::to_wstring(flood - kKept));
    EXPECT_TRUE(AtNewest());

    // Later messages push the oldest bubbles out.
    for (int i = flood; i < flood + 60; ++i) window_->AddChatMsg(kMe, "m" + std::to_string(i), "");
    ASSERT_TRUE(PumpUntil([&] {
        return InBubble(kKept - 1, L"chat_text")->GetText() == L"m" + std::to_wstring(flood + 59);
    }));
    EXPECT_EQ(list_->messageCount(), kKept);
    EXPECT_EQ(list_->GetCount(), kKept);
    EXPECT_EQ(InBubble(0, L"chat_text")->GetText(), L"m" + std::to_wstring(flood + 60 - kKept));
}

// The in-meeting window creates the panel and hides it before it ever paints. Messages that
// arrive meanwhile are placed at the panel's size as they join, so that the first show only
// paints them.
TEST_F(ChatWindowTest, APanelHiddenSinceItsCreationPlacesItsMessagesAtItsSize) {
    auto* hidden = new CDuiChatList(host_);  // goes with parent_
    ASSERT_TRUE(hidden->Create(parent_, L"ChatList", kChatStyle, 0, 0, 0, 250, 692));
    ShowWindow(hidden->GetHWND(), SW_HIDE);
    CChatList* list = hidden->chatList();
    for (int i = 0; i < 3; ++i) hidden->AddChatMsg(kBob, "m" + std::to_string(i), "p-bob");
    ASSERT_TRUE(PumpUntil([&] { return list->messageCount() == 3; }));
    const auto text = [&] {
        return hidden->paintManager()
            .FindSubControlByName(list->GetItemAt(2), L"chat_text")
            ->GetPos();
    };
    const RECT area = list->GetPos();
    const RECT placed = text();
    EXPECT_TRUE(EqualRect(&area, &list_->GetPos()));  // where the shown panel has its list
    EXPECT_GT(placed.left, area.left);
    EXPECT_LT(placed.right, area.right);
    ShowWindow(hidden->GetHWND(), SW_SHOWNOACTIVATE);
    UpdateWindow(hidden->GetHWND());
    const RECT shown = text();
    EXPECT_TRUE(EqualRect(&placed, &shown));
}

TEST_F(ChatWindowTest, PictureOfAConversation) {
    const bool zh = g_language != 0;
    Receive(kBob, zh ? "\xE5\xA4\xA7\xE5\xAE\xB6\xE5\xA5\xBD" : "Hello everyone");
    Receive(kMe, zh ? "\xE4\xBD\xA0\xE5\xA5\xBD" : "Hi Bob!");
    Receive("u-eve", "Can you all see my screen? I am sharing the slides for the review now.");
    Receive(kMe, "Yes, it looks fine here.");
    Receive(kBob, kChineseEmojiUtf8);
    Receive("u-eve", "<b>not bold</b> {b}");
    Receive(kMe,
            "\xE5\xA5\xBD\xE7\x9A\x84\xEF\xBC\x8C\xE9\xA9\xAC\xE4\xB8\x8A\xE5\xBC\x80"
            "\xE5\xA7\x8B\xE3\x80\x82");
    Receive(kBob, "ok");
    ASSERT_TRUE(PumpUntil([&] { return AtNewest(); }));
    EXPECT_TRUE(window_testing::SavePicture(window_, zh ? L"chat-zh.png" : L"chat-en.png"));

    // Own bubbles are blue with white text, others' white with dark text, avatars round on the
    // grey list.
    for (int index : {6, 7}) {
        const bool own = index == 6;
        const DWORD bubble = own ? kOwnBubble : kRemoteBubble;
        const RECT text = Shown(index, L"chat_text");
        EXPECT_EQ(PixelAt(window_, (text.left + text.right) / 2, text.top + 3), bubble) << index;
        EXPECT_GT(CountDiffering(window_, text, bubble), 30) << index;
        EXPECT_GT(CountWhere(text, own ? IsLight : IsDark), 20) << index;
        const RECT avatar = Shown(index, own ? L"chat_logo1" : L"chat_logo");
        EXPECT_EQ(PixelAt(window_, avatar.left, avatar.top), kListBackground) << index;
        EXPECT_GT(CountDiffering(window_, avatar, kListBackground), 100) << index;
    }
    const RECT send = Find(L"MsgSend")->GetPos();
    EXPECT_EQ(PixelAt(window_, send.left + 6, send.top + 4), kOwnBubble);
}

}  // namespace
