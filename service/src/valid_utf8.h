#pragma once

#include <string>
#include <string_view>

namespace kestrum::service {

// The text as valid UTF-8: valid text as it is, byte for byte (embedded NULs included), and each
// maximal ill-formed subsequence of invalid text replaced by one U+FFFD, as the conversions of
// kestrum/common/utf.h do everywhere in the system. What the library hands its observers from a
// server goes through this first: the exports promise UTF-8. Pure, any thread.
std::string ValidUtf8(std::string_view text);

}  // namespace kestrum::service
