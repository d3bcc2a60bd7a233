#include "src/markup_names.h"

#include <windows.h>
#include <shlwapi.h>

#include <cwctype>
#include <string_view>
#include <vector>

#include "duilib/paint_manager_ui.h"
#include "kestrum/common/scoped_handle.h"
#include "kestrum/common/utf.h"
#include "ui/base/resource/resource_hub.h"

namespace DuiLib {
namespace markup_names {

namespace {

constexpr DWORD kLargestMarkup = 4 * 1024 * 1024;

struct Section {
  const wchar_t* open;
  const wchar_t* close;
};

// Parts of a document whose text is never a tag name.
constexpr Section kOpaque[] = {
    {L"<!--", L"-->"},
    {L"<![CDATA[", L"]]>"},
    {L"<?", L"?>"},
    {L"<!", L">"},
};

bool StartsAt(const std::wstring& text, size_t at, const wchar_t* prefix) {
  return text.compare(at, wcslen(prefix), prefix) == 0;
}

// As the framework's reader takes names.
bool IsNameChar(wchar_t c) { return std::iswalnum(c) || c == L'_' || c == L':'; }

// Copies an opaque section starting at *at; false when none starts there.
bool CopyOpaque(const std::wstring& text, size_t* at, std::wstring* out) {
  for (const Section& section : kOpaque) {
    if (!StartsAt(text, *at, section.open)) continue;
    size_t end = text.find(section.close, *at + wcslen(section.open));
    end = end == std::wstring::npos ? text.size() : end + wcslen(section.close);
    out->append(text, *at, end - *at);
    *at = end;
    return true;
  }
  return false;
}

}  // namespace

std::wstring PrefixElementNames(const std::wstring& text,
                                bool (*is_layer_name)(const std::wstring& name)) {
  std::wstring out;
  out.reserve(text.size() + text.size() / 8);
  size_t at = 0;
  while (at < text.size()) {
    const size_t tag = text.find(L'<', at);
    if (tag == std::wstring::npos) {
      out.append(text, at, std::wstring::npos);
      break;
    }
    out.append(text, at, tag - at);
    at = tag;
    if (CopyOpaque(text, &at, &out)) continue;
    out += L'<';
    ++at;
    if (at < text.size() && text[at] == L'/') {
      out += L'/';
      ++at;
    }
    size_t end = at;
    while (end < text.size() && IsNameChar(text[end])) ++end;
    const std::wstring name = text.substr(at, end - at);
    if (is_layer_name(name)) out += kLayerPrefix;
    out += name;
    at = end;
  }
  return out;
}

std::wstring SkinName(const std::wstring& element_name) {
  const size_t length = wcslen(kLayerPrefix);
  if (element_name.compare(0, length, kLayerPrefix) != 0) return std::wstring();
  return element_name.substr(length);
}

bool ReadMarkupFile(const std::wstring& name, std::wstring* text) {
  std::wstring path = name;
  if (PathIsRelativeW(path.c_str())) {
    const std::wstring& folder = CPaintManagerUI::GetResourcePath();
    path = (folder.empty() ? ui::ResourceHub::ResourcePath() : folder) + path;
  }
  const kestrum::common::ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                       nullptr, OPEN_EXISTING,
                                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kLargestMarkup) {
    return false;
  }
  std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
  DWORD done = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) ||
      done != bytes.size()) {
    return false;
  }
  size_t skip = 0;
  if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
      static_cast<unsigned char>(bytes[1]) == 0xBB &&
      static_cast<unsigned char>(bytes[2]) == 0xBF) {
    skip = 3;
  }
  // A file that holds only its byte-order mark has no markup.
  if (bytes.size() == skip) return false;
  *text = kestrum::common::Utf8ToWide(std::string_view(bytes.data() + skip, bytes.size() - skip));
  return true;
}

}  // namespace markup_names
}  // namespace DuiLib
