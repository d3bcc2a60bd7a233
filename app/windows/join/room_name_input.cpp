#include "app/windows/join/room_name_input.h"

#include <algorithm>

#include "kestrum/common/utf16_cut.h"

namespace ZuvraKestrum::Join {

namespace {

wchar_t Upper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// The first index where the texts differ; the shorter one's length when one starts the other.
size_t FirstDifference(const std::wstring& a, const std::wstring& b) {
    const size_t common = std::min(a.size(), b.size());
    size_t i = 0;
    while (i < common && a[i] == b[i]) ++i;
    return i;
}

}  // namespace

bool IsRoomNameChar(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
}

std::wstring FilterRoomName(const std::wstring& text) {
    std::wstring filtered;
    filtered.reserve(text.size());
    for (wchar_t c : text) {
        if (IsRoomNameChar(c)) filtered += Upper(c);
    }
    return filtered;
}

int RoomCaretAfter(const std::wstring& before, const std::wstring& after) {
    const size_t start = FirstDifference(before, after);
    // The common end, not reaching into the common start of either text.
    size_t end = 0;
    while (end < before.size() - start && end < after.size() - start &&
           before[before.size() - 1 - end] == after[after.size() - 1 - end]) {
        ++end;
    }
    const auto first = after.begin() + static_cast<std::ptrdiff_t>(start);
    const auto last = after.end() - static_cast<std::ptrdiff_t>(end);
    return static_cast<int>(start) + static_cast<int>(std::count_if(first, last, IsRoomNameChar));
}

CRoomNameInput::Change CRoomNameInput::textChanged(const std::wstring& now) {
    Change change;
    if (now == text_) return change;  // the echo of a text written back
    change.edited = !now.empty();
    std::wstring clean = FilterRoomName(now);
    change.tooLong = CutToLimit(clean, kMaxRoomNameLength);
    if (clean == now) {
        text_ = now;
        return change;
    }
    change.kind = Change::kReplaceText;
    change.caret = std::min(RoomCaretAfter(text_, now), static_cast<int>(clean.size()));
    change.text = clean;
    text_ = std::move(clean);
    return change;
}

bool CutToLimit(std::wstring& text, size_t limit) {
    if (text.size() <= limit) return false;
    text.resize(kestrum::common::Utf16CutLength(text, limit));
    return true;
}

}  // namespace ZuvraKestrum::Join
