#pragma once

#include <cstddef>
#include <string_view>

#include "kestrum/common/utf8_cut.h"

// How much of a chat message the program keeps: what its bubble shows. A message may be as large
// as a signalling message, so it is cut where it enters the program (the course bridge), before
// any queue holds it, and nothing behind keeps more. Pure: any thread.
namespace ZuvraKestrum::Chat {

// The UTF-16 units a bubble shows at most: laying out a text box costs more than linear time in
// its length, and beyond that a message no longer reads as chat.
inline constexpr std::size_t kMaxShownLength = 1000;

// The UTF-8 bytes a message keeps at most. A UTF-16 unit takes at most three bytes, and a cut
// before a character drops at most three, so what is kept holds more units than are shown (and
// one more, for the ellipsis to tell) whenever the message has them.
inline constexpr std::size_t kMaxShownBytes = 3 * (kMaxShownLength + 2);

// The start of a message (UTF-8) that holds all its bubble shows: the whole text up to
// kMaxShownBytes, else its first kMaxShownBytes bytes less a character cut there.
inline std::string_view ShownPartOfUtf8(std::string_view text) {
    return text.substr(0, kestrum::common::Utf8CutLength(text, kMaxShownBytes));
}

}  // namespace ZuvraKestrum::Chat
