#pragma once

#include <windows.h>

#include <cstdarg>
#include <list>
#include <string>

// Text helpers of the framework. Strings inside the framework are UTF-16 std::wstring; narrow
// strings are UTF-8 unless a code page says otherwise. All functions are safe on any thread.
namespace ui {
namespace TextUtil {

// "/" becomes "\", then each pair of backslashes becomes one (one left-to-right pass).
std::wstring NormalizeSlashes(const std::wstring& path);

// printf-style formatting with C99 conversions: "%ls" takes a wchar_t string, "%s" a char
// string. Empty result on a formatting error or for a text of 32M characters or more.
std::wstring Format(const wchar_t* format, ...);
std::wstring FormatV(const wchar_t* format, va_list args);

// The conversions of kestrum/common/utf.h (invalid sequences become U+FFFD), kept for the callers
// of these names.
// NUL-terminated UTF-8 to UTF-16, up to the first NUL. False, with the output empty, for null.
bool Utf8ToWide(const char* text, std::wstring& out);
// Converts the whole string (embedded NULs included) from the code page; always true.
bool MultiByteToWide(const std::string& text, std::wstring& out, UINT code_page);
// UTF-16 to UTF-8, embedded NULs included; always true.
bool WideToUtf8(const std::wstring& text, std::string& out);

// The pieces between delimiters: every character of delimiters separates, runs of them count as
// one, and empty pieces never appear.
std::list<std::wstring> Split(const std::wstring& text, const std::wstring& delimiters);

// Replaces every non-overlapping occurrence of find, left to right; returns the count.
unsigned ReplaceAll(const std::wstring& find, const std::wstring& replacement, std::wstring& text);

// Removes trailing blanks and control characters up to code 29 (codes 30 and 31 stay).
void TrimRight(std::wstring& text);

}  // namespace TextUtil
}  // namespace ui
