#include "app/windows/chat/bubble_layout.h"

#include <algorithm>

#include "kestrum/common/utf.h"
#include "kestrum/common/utf16_cut.h"
#include "kestrum/core/util_display.h"

namespace ZuvraKestrum::Chat {

namespace {

constexpr const wchar_t* kRemoteOneLine =
    L"file='Combined Shape Copy3_backen.png' corner='10,5,5,5'";
// The taller corner keeps the pointer beside the avatar from stretching with the text.
constexpr const wchar_t* kRemoteWrapped =
    L"file='Combined Shape Copy3_backen.png' corner='10,22,5,5'";
constexpr const wchar_t* kOwn = L"file='Combined Shape Copy4_backen.png' corner='10,5,5,5'";

// Horizontal room around the text: the pointer and padding of a remote bubble, the padding
// of an own one.
constexpr int kRemoteMargin = 30;
constexpr int kOwnMargin = 10;

}  // namespace

std::wstring ShownText(const std::wstring& text) {
    if (text.size() <= kMaxShownLength) return text;
    return text.substr(0, kestrum::common::Utf16CutLength(text, kMaxShownLength)) + L'\x2026';
}

std::wstring ShownTextOfUtf8(const std::string& text) {
    return ShownText(kestrum::common::Utf8ToWide(ShownPartOfUtf8(text)));
}

TextExtent ExtentOfWidth(int estimatedWidth) {
    const int width = std::max(estimatedWidth, 0);
    return TextExtent{width, width / kWrapWidth};
}

TextExtent MeasureChatText(const std::wstring& text) {
    TextExtent extent;
    int lines = 0;
    size_t start = 0;
    while (true) {
        const size_t end = text.find_first_of(L"\r\n", start);
        const std::wstring line = text.substr(start, end == std::wstring::npos ? end : end - start);
        const TextExtent one = ExtentOfWidth(static_cast<int>(Util::EstimateTextWidth(line)));
        extent.widest = std::max(extent.widest, one.widest);
        lines += one.extraLines + 1;
        if (end == std::wstring::npos) break;
        start = end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
    }
    extent.extraLines = lines - 1;
    return extent;
}

BubbleSize LayoutBubble(BubbleSide side, TextExtent extent) {
    BubbleSize size;
    const bool remote = side == BubbleSide::kRemote;
    const int margin = remote ? kRemoteMargin : kOwnMargin;
    const int extra = std::min(extent.extraLines, kMaxExtraLines);
    size.scrolls = extent.extraLines > kMaxExtraLines;
    if (extent.extraLines < 1) {
        size.textWidth = extent.widest + margin;
        size.textHeight = kLineHeight;
    } else {
        // Short lines broken by the writer keep a narrow bubble; wrapped text fills the width.
        size.textWidth = extent.widest < kWrapWidth ? extent.widest + margin : kWrapWidth;
        if (!remote && extent.widest >= kWrapWidth) size.textWidth += kOwnMargin;
        size.textHeight = (extra + 1) * kLineHeight - kLineOverlap * extra;
    }
    size.itemHeight = size.textHeight + kItemExtraHeight;
    if (remote) {
        size.image = extent.extraLines < 1 ? kRemoteOneLine : kRemoteWrapped;
    } else {
        size.image = kOwn;
        size.leftPadding = kOwnRightEdge + kOwnMargin - size.textWidth;
    }
    return size;
}

}  // namespace ZuvraKestrum::Chat
