#include "ui/base/image/image_attributes.h"

#include <cwchar>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/xml/attribute_numbers.h"

namespace ui {

namespace {

constexpr RECT kUnsetRect = {-1, -1, -1, -1};

bool IsSkipped(wchar_t c) { return c != 0 && c <= 32; }

void SkipBlanks(const wchar_t*& p) {
  while (IsSkipped(*p)) ++p;
}

// Reads one key='value' pair at p and steps past it; false when the pair is malformed.
bool ReadPair(const wchar_t*& p, std::wstring& key, std::wstring& value) {
  SkipBlanks(p);
  const wchar_t* key_start = p;
  while (*p && *p != L'=' && *p > 32) ++p;
  key.assign(key_start, p);
  SkipBlanks(p);
  if (*p != L'=') return false;
  ++p;
  SkipBlanks(p);
  if (*p != L'\'') return false;
  const wchar_t* value_start = ++p;
  while (*p && *p != L'\'') ++p;
  if (*p != L'\'') return false;
  value.assign(value_start, p);
  ++p;
  return true;
}

}  // namespace

void ImageSpec::Reset() {
  spec_text.clear();
  file_name.clear();
  dest = kUnsetRect;
  source = kUnsetRect;
  corner = {0, 0, 0, 0};
  fade = 255;
  xtiled = false;
  ytiled = false;
  play_count = -1;
}

void ImageSpec::Parse(const std::wstring& text) {
  bool dest_scale = true;
  const wchar_t* p = text.c_str();
  std::wstring key;
  std::wstring value;
  while (ReadPair(p, key, value)) {
    if (!value.empty()) {
      if (key == L"file" || key == L"res") {
        file_name = value;
      } else if (key == L"destscale") {
        dest_scale = value == L"true";
      } else if (key == L"dest") {
        ReadRect(value.c_str(), dest);
        if (dest_scale) DisplayScale::Instance().ScaleRectangle(dest);
      } else if (key == L"source") {
        ReadRect(value.c_str(), source);
      } else if (key == L"corner") {
        ReadRect(value.c_str(), corner);
      } else if (key == L"fade") {
        fade = static_cast<BYTE>(wcstoul(value.c_str(), nullptr, 10));
      } else if (key == L"xtiled") {
        xtiled = value == L"true";
      } else if (key == L"ytiled") {
        ytiled = value == L"true";
      } else if (key == L"playcount") {
        play_count = static_cast<int>(wcstol(value.c_str(), nullptr, 10));
      }
    }
    // Only a blank with something after it leads to another pair.
    if (p[0] != L' ' || p[1] == 0) break;
  }
}

}  // namespace ui
