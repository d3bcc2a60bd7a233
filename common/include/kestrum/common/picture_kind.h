#pragma once

#include <cstddef>
#include <string_view>

namespace kestrum::common {

// The most bytes IsPngOrJpeg looks at: a file's first bytes up to this many are enough.
inline constexpr std::size_t kPictureSignatureBytes = 8;

// True when the bytes begin as a PNG file (its 8-byte signature) or a JPEG file (its start of
// image marker followed by a marker) does: the avatar pictures the service takes, judged by what
// they hold, whatever their name says.
//
// Threads: a pure function, any thread.
inline bool IsPngOrJpeg(std::string_view head) {
    constexpr std::string_view kPng("\x89PNG\r\n\x1A\n", 8);
    constexpr std::string_view kJpeg("\xFF\xD8\xFF", 3);
    return head.substr(0, kPng.size()) == kPng || head.substr(0, kJpeg.size()) == kJpeg;
}

}  // namespace kestrum::common
