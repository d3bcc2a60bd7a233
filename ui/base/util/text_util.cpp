#include "ui/base/util/text_util.h"

#include <climits>
#include <cwchar>
#include <vector>

#include "kestrum/common/utf.h"

namespace ui {
namespace TextUtil {

namespace {

constexpr std::size_t kStackBufferSize = 1024;
constexpr std::size_t kLargestBufferSize = 0x2000000;  // 32M characters

// Formats into buffer; the would-be length, or a negative value on a formatting error.
int FormatInto(wchar_t* buffer, std::size_t size, const wchar_t* format, va_list args) {
  va_list copy;
  va_copy(copy, args);  // each attempt consumes its own copy of the arguments
  const int length = vswprintf(buffer, size, format, copy);
  va_end(copy);
  return length;
}

}  // namespace

std::wstring NormalizeSlashes(const std::wstring& path) {
  std::wstring result = path;
  for (wchar_t& c : result) {
    if (c == L'/') c = L'\\';
  }
  ReplaceAll(L"\\\\", L"\\", result);
  return result;
}

std::wstring Format(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring result = FormatV(format, args);
  va_end(args);
  return result;
}

std::wstring FormatV(const wchar_t* format, va_list args) {
  if (!format) return std::wstring();
  wchar_t stack_buffer[kStackBufferSize];
  int length = FormatInto(stack_buffer, kStackBufferSize, format, args);
  if (length < 0) return std::wstring();
  if (static_cast<std::size_t>(length) < kStackBufferSize)
    return std::wstring(stack_buffer, length);

  // The formatter reports the length it needs, so the doubling reaches a fitting size at once.
  std::size_t size = kStackBufferSize;
  while (size <= static_cast<std::size_t>(length)) {
    size *= 2;
    if (size > kLargestBufferSize) return std::wstring();
  }
  std::vector<wchar_t> heap_buffer(size);
  length = FormatInto(heap_buffer.data(), size, format, args);
  if (length < 0 || static_cast<std::size_t>(length) >= size) return std::wstring();
  return std::wstring(heap_buffer.data(), length);
}

bool Utf8ToWide(const char* text, std::wstring& out) {
  out.clear();
  if (!text) return false;
  out = kestrum::common::Utf8ToWide(text);  // up to the first NUL
  return true;
}

bool MultiByteToWide(const std::string& text, std::wstring& out, UINT code_page) {
  if (code_page == CP_UTF8) {
    out = kestrum::common::Utf8ToWide(text);
    return true;
  }
  out.clear();
  if (text.empty() || text.size() > INT_MAX) return true;
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  if (length < 1) return true;
  out.resize(length);
  MultiByteToWideChar(code_page, 0, text.data(), size, &out[0], length);
  return true;
}

bool WideToUtf8(const std::wstring& text, std::string& out) {
  out = kestrum::common::WideToUtf8(text);
  return true;
}

std::list<std::wstring> Split(const std::wstring& text, const std::wstring& delimiters) {
  std::list<std::wstring> pieces;
  std::size_t start = text.find_first_not_of(delimiters);
  while (start != std::wstring::npos) {
    const std::size_t end = text.find_first_of(delimiters, start);
    pieces.push_back(text.substr(start, end == std::wstring::npos ? end : end - start));
    if (end == std::wstring::npos) break;
    start = text.find_first_not_of(delimiters, end);
  }
  return pieces;
}

unsigned ReplaceAll(const std::wstring& find, const std::wstring& replacement, std::wstring& text) {
  if (find.empty() || text.empty()) return 0;
  unsigned count = 0;
  std::wstring result;
  result.reserve(text.size());
  std::size_t copied = 0;
  for (std::size_t at = text.find(find); at != std::wstring::npos;
       at = text.find(find, at + find.size())) {
    result.append(text, copied, at - copied).append(replacement);
    copied = at + find.size();
    ++count;
  }
  if (count == 0) return 0;
  result.append(text, copied, std::wstring::npos);
  text.swap(result);
  return count;
}

void TrimRight(std::wstring& text) {
  std::size_t end = text.size();
  while (end > 0 && (text[end - 1] == L' ' || text[end - 1] <= 29)) --end;
  text.erase(end);
}

}  // namespace TextUtil
}  // namespace ui
