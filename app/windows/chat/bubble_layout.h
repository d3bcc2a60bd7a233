#pragma once

#include <string>

#include "kestrum/core/chat_text.h"

// How a chat message is laid out as a bubble of the chat panel. Pure: no window types, safe on
// any thread.
//
// A bubble is sized from an estimate of the text's pixel width, not from the font: one line up
// to kWrapWidth pixels, beyond that the text wraps inside a bubble of fixed width and every
// further line adds kLineHeight - kLineOverlap pixels. Line breaks inside the text start new
// lines of their own. Past kMaxExtraLines further lines the bubble stops growing and its text
// scrolls inside it, so that one long message cannot push the whole conversation out of view.
// A bubble shows at most kMaxShownLength characters of a message (kestrum/core/chat_text.h).
namespace ZuvraKestrum::Chat {

enum class BubbleSide {
    kRemote,  // another participant's message: left, avatar and name before it
    kOwn,     // the user's own message: right-aligned, avatar after it
};

inline constexpr int kWrapWidth = 160;
inline constexpr int kLineHeight = 34;
inline constexpr int kLineOverlap = 5;
// The name line above the bubble and the gap below it.
inline constexpr int kItemExtraHeight = 20;
// Where an own bubble ends, counted from the left of its column.
inline constexpr int kOwnRightEdge = 196;
inline constexpr int kMaxExtraLines = 9;

// The estimated extent of a text: its widest line (pixels) and how many lines it needs beyond
// the first.
struct TextExtent {
    int widest = 0;
    int extraLines = 0;
};

// What the bubble of a message gets: the text control's fixed size and left padding (own
// bubbles only; 0 for others), the bubble item's height, the bubble image descriptor, and
// whether the text is taller than the bubble and scrolls inside it.
struct BubbleSize {
    int textWidth = 0;
    int textHeight = 0;
    int leftPadding = 0;
    int itemHeight = 0;
    const wchar_t* image = L"";
    bool scrolls = false;
};

// What a bubble shows of a message: the text itself, or its first kMaxShownLength UTF-16 units
// (one fewer when that would split a surrogate pair) followed by "\x2026".
std::wstring ShownText(const std::wstring& text);
// The same of a message as it arrives (UTF-8), widening no more of it than ShownPartOfUtf8.
std::wstring ShownTextOfUtf8(const std::string& text);

// The extent of a one-line text of this estimated width.
TextExtent ExtentOfWidth(int estimatedWidth);

// The extent of a message: each line (split at "\r\n", "\r" or "\n") estimated by
// ZuvraKestrum::Util::EstimateTextWidth.
TextExtent MeasureChatText(const std::wstring& text);

BubbleSize LayoutBubble(BubbleSide side, TextExtent extent);

}  // namespace ZuvraKestrum::Chat
