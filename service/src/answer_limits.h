#pragma once

#include <cstddef>

// The sizes beyond which the library refuses what a server sends, so that a broken or hostile
// server costs a failed request instead of memory it can choose.
namespace kestrum::service {

// A JSON answer. Real answers are a few hundred bytes; the largest kind is room/info, whose host
// and participant lists hold short uid texts, and even a room of 10,000 participants answers in
// less than 300 KiB. The parsed tree takes up to about 40 times the text (a 100 MB array took
// 3.7 GB), so the cap also bounds one request's peak to some 40 MiB, which the 32-bit program
// can afford for several kinds at once.
constexpr size_t kMaxJsonAnswerBytes = size_t{1} << 20;  // 1 MiB

// A portrait picture: the program uploads only pictures below 0.6 MiB (629145.6 bytes), the
// limit the service states, so no real portrait is larger.
constexpr size_t kMaxPortraitBytes = 629145;

}  // namespace kestrum::service
