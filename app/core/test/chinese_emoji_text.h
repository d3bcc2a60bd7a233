#pragma once

// A text that no ANSI code page holds: Chinese, which Windows-1252 lacks, and an emoji, which
// every ANSI code page lacks (a surrogate pair in UTF-16). "王小明 😀" in UTF-8 and UTF-16.
constexpr char kChineseEmojiUtf8[] = "\xE7\x8E\x8B\xE5\xB0\x8F\xE6\x98\x8E \xF0\x9F\x98\x80";
constexpr wchar_t kChineseEmojiWide[] = L"\x738B\x5C0F\x660E \xD83D\xDE00";
