#pragma once

#include <cstddef>
#include <string_view>

namespace kestrum::common {

// How many of text's first `limit` UTF-16 units can be kept: `limit` itself, or one fewer when
// the unit there opens a surrogate pair, so that no half character is kept. A half would reach
// the service as U+FFFD. All of text when it is not longer than `limit`.
//
// Threads: a pure function, any thread.
inline std::size_t Utf16CutLength(std::wstring_view text, std::size_t limit) {
    if (text.size() <= limit) return text.size();
    const bool splitsPair = limit > 0 && text[limit - 1] >= 0xD800 && text[limit - 1] <= 0xDBFF;
    return splitsPair ? limit - 1 : limit;
}

}  // namespace kestrum::common
