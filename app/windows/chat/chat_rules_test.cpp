// The chat panel's rules without windows: bubble sizes from the width estimate, what a
// message's bubble shows, the batches and bound of the history, and the text the input sends.

#include <gtest/gtest.h>

#include <string>

#include "app/windows/chat/bubble_layout.h"
#include "app/windows/chat/chat_backlog.h"
#include "app/windows/chat/chat_input.h"
#include "app/windows/chat/chat_message.h"
#include "chinese_emoji_text.h"
#include "kestrum/common/utf.h"

namespace ZuvraKestrum::Chat {
namespace {

constexpr const wchar_t* kRemoteOneLine =
    L"file='Combined Shape Copy3_backen.png' corner='10,5,5,5'";
constexpr const wchar_t* kRemoteWrapped =
    L"file='Combined Shape Copy3_backen.png' corner='10,22,5,5'";
constexpr const wchar_t* kOwnImage = L"file='Combined Shape Copy4_backen.png' corner='10,5,5,5'";

struct SizeCase {
    BubbleSide side;
    int estimatedWidth;
    int textWidth, textHeight, leftPadding, itemHeight;
    const wchar_t* image;
};

TEST(BubbleLayoutTest, OneLineUpTo159PixelsThenWrapsAtFixedWidthWithShrinkingLineSteps) {
    const SizeCase cases[] = {
        {BubbleSide::kRemote, 0, 30, 34, 0, 54, kRemoteOneLine},
        {BubbleSide::kRemote, 159, 189, 34, 0, 54, kRemoteOneLine},
        {BubbleSide::kRemote, 160, 160, 63, 0, 83, kRemoteWrapped},
        {BubbleSide::kRemote, 400, 160, 92, 0, 112, kRemoteWrapped},
        {BubbleSide::kOwn, 100, 110, 34, 96, 54, kOwnImage},
        {BubbleSide::kOwn, 159, 169, 34, 37, 54, kOwnImage},
        {BubbleSide::kOwn, 160, 170, 63, 36, 83, kOwnImage},
        {BubbleSide::kOwn, 400, 170, 92, 36, 112, kOwnImage},
    };
    for (const SizeCase& c : cases) {
        const BubbleSize size = LayoutBubble(c.side, ExtentOfWidth(c.estimatedWidth));
        const std::string label =
            (c.side == BubbleSide::kOwn ? "own " : "remote ") + std::to_string(c.estimatedWidth);
        EXPECT_EQ(size.textWidth, c.textWidth) << label;
        EXPECT_EQ(size.textHeight, c.textHeight) << label;
        EXPECT_EQ(size.leftPadding, c.leftPadding) << label;
        EXPECT_EQ(size.itemHeight, c.itemHeight) << label;
        EXPECT_STREQ(size.image, c.image) << label;
        EXPECT_FALSE(size.scrolls) << label;
    }
}

TEST(BubbleLayoutTest, LineBreaksOfTheWriterAddLinesAndKeepShortLinesNarrow) {
    // "ok" twice: two short lines, each estimated as one.
    const TextExtent two = MeasureChatText(L"ok\nok");
    EXPECT_EQ(two.extraLines, 1);
    EXPECT_EQ(two.widest, MeasureChatText(L"ok").widest);
    EXPECT_EQ(MeasureChatText(L"ok\r\nok").extraLines, 1);
    EXPECT_EQ(MeasureChatText(L"ok\r\rok").extraLines, 2);
    const BubbleSize size = LayoutBubble(BubbleSide::kRemote, two);
    EXPECT_EQ(size.textWidth, two.widest + 30);
    EXPECT_EQ(size.textHeight, 63);
    // A wrapping line (12 ideographs, 168 estimated pixels) sets the width.
    const TextExtent mixed = MeasureChatText(std::wstring(12, L'\x4F60') + L"\nok");
    EXPECT_EQ(mixed.extraLines, 2);
    EXPECT_EQ(LayoutBubble(BubbleSide::kOwn, mixed).textWidth, 170);
}

TEST(BubbleLayoutTest, AVeryLongMessageIsCutAndGetsABoundedBubbleThatScrolls) {
    EXPECT_EQ(ShownText(std::wstring(1000, L'a')), std::wstring(1000, L'a'));
    EXPECT_EQ(ShownText(std::wstring(1001, L'a')), std::wstring(1000, L'a') + L"\x2026");
    // An emoji across the cut goes whole.
    const std::wstring emoji = std::wstring(999, L'a') + L"\xD83D\xDE00";
    EXPECT_EQ(ShownText(emoji + L"b"), std::wstring(999, L'a') + L"\x2026");

    // Of a message as it arrives, no more is widened than is shown, and the same is shown.
    const std::string pile = "\xF0\x9F\x98\x80";  // U+1F600, four bytes, two units
    for (const std::string& utf8 :
         {std::string(3006, 'a'), std::string(1000, 'a'), std::string(1001, 'a'),
          std::string(999, 'a') + pile, std::string(998, 'a') + pile + "b",
          std::string(3005, 'a') + "\xE4\xBD\xA0", [&] {
              std::string text;
              for (int i = 0; i < 800; ++i) text += "\xE4\xBD\xA0" + pile;
              return text;
          }()}) {
        EXPECT_EQ(ShownTextOfUtf8(utf8), ShownText(kestrum::common::Utf8ToWide(utf8)))
            << utf8.size();
    }

    const int tallest = (kMaxExtraLines + 1) * kLineHeight - kLineOverlap * kMaxExtraLines;
    for (const std::wstring& text :
         {std::wstring(10000, L'a'), std::wstring(10000, L'\n'), std::wstring(10000, L'<')}) {
        for (BubbleSide side : {BubbleSide::kRemote, BubbleSide::kOwn}) {
            const BubbleSize size = LayoutBubble(side, MeasureChatText(ShownText(text)));
            EXPECT_EQ(size.textHeight, tallest);
            EXPECT_EQ(size.itemHeight, tallest + kItemExtraHeight);
            EXPECT_LE(size.textWidth, kWrapWidth + 10);
            EXPECT_GE(size.leftPadding, 0);
            EXPECT_TRUE(size.scrolls);
        }
    }
}

TEST(ChatMessageTest, OwnMessagesStandRightInWhiteOthersLeftInDarkBesideTheirAvatar) {
    EXPECT_EQ(SideOf("u-me", "u-me"), BubbleSide::kOwn);
    EXPECT_EQ(SideOf("u-bob", "u-me"), BubbleSide::kRemote);
    EXPECT_EQ(SideOf("u-bob", ""), BubbleSide::kRemote);
    const struct {
        BubbleSide side;
        const wchar_t *sideBox, *otherBox, *avatarBox, *nickAlign;
        uint32_t textColor;
        bool padded;
    } cases[] = {
        {BubbleSide::kRemote, L"vRemote", L"vme", L"chat_logo", L"left", 0xFF333333, false},
        {BubbleSide::kOwn, L"vme", L"vRemote", L"chat_logo1", L"right", 0xFFFFFFFF, true},
    };
    for (const auto& c : cases) {
        ChatMessage message;
        message.side = c.side;
        message.text = std::wstring(1001, L'a');
        message.nick = kChineseEmojiUtf8;
        const BubbleLook look = LookOf(message);
        SCOPED_TRACE(c.sideBox);
        EXPECT_STREQ(look.sideBox, c.sideBox);
        EXPECT_STREQ(look.otherBox, c.otherBox);
        EXPECT_STREQ(look.avatarBox, c.avatarBox);
        EXPECT_STREQ(look.nickAlign, c.nickAlign);
        EXPECT_EQ(look.textColor, c.textColor);
        EXPECT_EQ(look.padded, c.padded);
        EXPECT_EQ(look.nick, kChineseEmojiWide);
        EXPECT_EQ(look.text, ShownText(message.text));
        EXPECT_EQ(look.size.textHeight,
                  LayoutBubble(c.side, MeasureChatText(look.text)).textHeight);
    }
}

TEST(ChatMessageTest, OnlyAMessageWithSenderAndTextGetsABubbleAndItsSendersAvatar) {
    EXPECT_TRUE(HasBubble("u-bob", "hi"));
    EXPECT_FALSE(HasBubble("", "hi"));
    EXPECT_FALSE(HasBubble("u-bob", ""));
    ChatMessage message;
    message.uid = "u-bob";
    message.text = L"hi";
    EXPECT_TRUE(ShowsAvatarOf(message, "u-bob"));
    EXPECT_FALSE(ShowsAvatarOf(message, "u-bo"));
    message.text.clear();
    EXPECT_FALSE(ShowsAvatarOf(message, "u-bob"));
}

TEST(ChatBacklogTest, MessagesJoinInBoundedBatchesAndTheHistoryKeepsOnlyTheNewest) {
    constexpr size_t kKept = ChatBacklog::kMaxKept;
    constexpr size_t kBatch = ChatBacklog::kMaxBatch;
    ChatBacklog backlog;
    for (size_t i = 0; i < kKept + 7; ++i)
        backlog.arrive({BubbleSide::kRemote, "u", std::to_string(i), ""});
    // The 7 oldest could never be shown: they are gone before they wait for a batch.
    ChatBacklog::Batch batch = backlog.take(0);
    ASSERT_EQ(batch.add.size(), kBatch);
    EXPECT_EQ(batch.add.front().text, "7");
    EXPECT_EQ(batch.dropOldest, 0u);
    // A full list gives up as many of its oldest as the batch brings.
    batch = backlog.take(kKept);
    EXPECT_EQ(batch.add.front().text, std::to_string(7 + kBatch));
    EXPECT_EQ(batch.dropOldest, kBatch);
    batch = backlog.take(kKept - 10);
    EXPECT_EQ(batch.dropOldest, kBatch - 10);
    size_t left = 0;
    while (backlog.waiting()) left += backlog.take(0).add.size();
    EXPECT_EQ(left, kKept - 3 * kBatch);
    EXPECT_TRUE(backlog.take(kKept).add.empty());
}

TEST(ChatInputTest, SendsTheTypedTextAsUtf8AndNothingForTheHintOrBlankInput) {
    const std::wstring hint = InputHint(0);
    EXPECT_EQ(hint, L"Say something\x2026");
    EXPECT_EQ(MessageToSend(hint, hint), "");
    EXPECT_EQ(MessageToSend(InputHint(1), InputHint(1)), "");
    EXPECT_EQ(MessageToSend(L"", hint), "");
    EXPECT_EQ(MessageToSend(L" \t\r\r\n ", hint), "");
    EXPECT_EQ(MessageToSend(L"a\rb\r\nc\n", hint), "a\nb\nc\n");
    // The other language's hint is a message like any other.
    EXPECT_EQ(MessageToSend(InputHint(1), hint), kestrum::common::WideToUtf8(InputHint(1)));
    EXPECT_EQ(MessageToSend(kChineseEmojiWide, hint), kChineseEmojiUtf8);
}

}  // namespace
}  // namespace ZuvraKestrum::Chat
