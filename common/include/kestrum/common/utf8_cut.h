#pragma once

#include <cstddef>
#include <string_view>

namespace kestrum::common {

// How many of text's first `limit` bytes can be kept: `limit` itself, or fewer when the byte
// there continues a UTF-8 character, so that no half character is kept. All of text when it is
// not longer than `limit`. A character has at most three continuation bytes: a longer run is
// ill-formed text already and is cut wherever the three end.
//
// Threads: a pure function, any thread.
inline std::size_t Utf8CutLength(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return text.size();
    std::size_t cut = limit;
    for (int back = 0; back < 3 && cut > 0; ++back, --cut) {
        if ((static_cast<unsigned char>(text[cut]) & 0xC0) != 0x80) break;
    }
    return cut;
}

}  // namespace kestrum::common
