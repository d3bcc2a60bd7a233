#include "ui/base/lang/lang_table.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "kestrum/common/utf.h"
#include "ui/base/util/text_util.h"

namespace ui {

namespace {

bool IsTrimmed(wchar_t c) { return c == L' ' || c <= 29; }  // codes 30 and 31 stay

void Trim(std::wstring& text) {
  TextUtil::TrimRight(text);
  std::size_t start = 0;
  while (start < text.size() && IsTrimmed(text[start])) ++start;
  text.erase(0, start);
}

// Splits UTF-8 bytes into trimmed, non-empty UTF-16 lines. A line ends at a line feed or a zero
// byte and is never cut however long it is; a leading byte-order mark is not part of the text.
std::list<std::wstring> SplitLines(const char* bytes, std::size_t size) {
  static const char kByteOrderMark[] = "\xEF\xBB\xBF";
  std::size_t at = 0;
  if (size >= 3 && std::string(bytes, 3) == kByteOrderMark) at = 3;
  std::list<std::wstring> lines;
  while (at < size) {
    std::size_t end = at;
    while (end < size && bytes[end] != '\n' && bytes[end] != '\0') ++end;
    std::wstring line = kestrum::common::Utf8ToWide(std::string_view(bytes + at, end - at));
    Trim(line);
    if (!line.empty()) lines.push_back(line);
    at = end + 1;
  }
  return lines;
}

struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  // Binary, not text mode: the runtime's text mode would end the file at a Ctrl-Z byte, and the
  // carriage return of a CR LF pair is trimmed with the line anyway.
  std::unique_ptr<FILE, FileCloser> file(_wfopen(path.c_str(), L"rb"));
  if (!file) return false;
  char chunk[4096];
  std::size_t count;
  while ((count = fread(chunk, 1, sizeof(chunk), file.get())) > 0) bytes.append(chunk, count);
  return ferror(file.get()) == 0;
}

}  // namespace

LangTable& LangTable::Instance() {
  static LangTable instance;
  return instance;
}

bool LangTable::ReadFile(const std::wstring& path, Texts& texts) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  EnterLines(SplitLines(bytes.data(), bytes.size()), texts);
  return true;
}

bool LangTable::LoadFromFile(const std::wstring& path) {
  Texts texts;
  const bool read = ReadFile(path, texts);
  std::lock_guard<std::mutex> guard(mutex_);
  texts_.swap(texts);
  return read;
}

bool LangTable::LoadFromMemory(HGLOBAL block) {
  const SIZE_T size = GlobalSize(block);
  const char* bytes = static_cast<const char*>(GlobalLock(block));
  if (bytes) {
    ParseLines(SplitLines(bytes, size));
    GlobalUnlock(block);
  }
  return true;
}

std::wstring LangTable::Lookup(const std::wstring& id) const {
  std::lock_guard<std::mutex> guard(mutex_);
  return Find(texts_, id);
}

std::wstring LangTable::LookupInFile(const std::wstring& path, const std::wstring& id) {
  Texts texts;
  return ReadFile(path, texts) ? Find(texts, id) : std::wstring();
}

std::wstring LangTable::Find(const Texts& texts, const std::wstring& id) {
  if (id.empty()) return std::wstring();
  const auto found = texts.find(id);
  if (found == texts.end()) return std::wstring();
  std::wstring text = found->second;
  TextUtil::ReplaceAll(L"\\r", L"\r", text);
  TextUtil::ReplaceAll(L"\\n", L"\n", text);
  return text;
}

bool LangTable::ParseLines(const std::list<std::wstring>& lines) {
  std::lock_guard<std::mutex> guard(mutex_);
  return EnterLines(lines, texts_);
}

bool LangTable::EnterLines(const std::list<std::wstring>& lines, Texts& texts) {
  if (lines.empty()) return false;
  for (const std::wstring& line : lines) {
    std::list<std::wstring> pieces = TextUtil::Split(line, L"=");
    if (pieces.size() != 2) continue;
    std::wstring id = pieces.front();
    std::wstring text = pieces.back();
    Trim(id);
    Trim(text);
    if (id.find(L';') != std::wstring::npos) continue;
    texts[id] = text;
  }
  return true;
}

}  // namespace ui
