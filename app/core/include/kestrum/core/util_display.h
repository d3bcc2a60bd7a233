#pragma once

#include <string>

// Figures for the windows: signal bars and chat line widths. Pure; safe on any thread.
namespace ZuvraKestrum::Util {

// The engine's network quality (0 unknown, 1 excellent ... 6 down) as a signal level:
// 1-2 give 2, 3-4 give 1, 5-6 give 0; unknown and out-of-range values give -1.
int QualityToSignalLevel(unsigned int quality);

// Estimated pixel width of a chat line: a fixed width per UTF-16 unit (3 to 14 pixels for
// printable ASCII, 13 for the CJK full stop, exclamation mark, parentheses, comma and question
// mark, 14 for everything else), summed and rounded up.
double EstimateTextWidth(const std::wstring& text);

}  // namespace ZuvraKestrum::Util
