#include "src/layer_support.h"

#include <shlwapi.h>

#include <cwchar>
#include <cwctype>
#include <utility>
#include <vector>

#include "duilib/paint_manager_ui.h"
#include "ui/base/resource/resource_hub.h"

namespace DuiLib {

namespace {

bool IsBlank(wchar_t c) { return c != 0 && c <= 32; }

// Where the descriptor names its file: the spans of the values of "file" and "res", read with
// the framework's own rules (key='value' pairs split by blanks). False when spec is not a
// descriptor, i.e. the whole text is the file name.
bool FileSpans(const std::wstring& spec, std::vector<std::pair<size_t, size_t>>* spans) {
  size_t p = 0;
  bool any = false;
  const size_t n = spec.size();
  while (true) {
    while (p < n && IsBlank(spec[p])) ++p;
    const size_t key_start = p;
    while (p < n && spec[p] != L'=' && spec[p] > 32) ++p;
    const std::wstring key = spec.substr(key_start, p - key_start);
    while (p < n && IsBlank(spec[p])) ++p;
    if (p >= n || spec[p] != L'=') break;
    ++p;
    while (p < n && IsBlank(spec[p])) ++p;
    if (p >= n || spec[p] != L'\'') break;
    const size_t value_start = ++p;
    while (p < n && spec[p] != L'\'') ++p;
    if (p >= n) break;
    any = true;
    if ((key == L"file" || key == L"res") && p > value_start) spans->push_back({value_start, p});
    ++p;
    if (p + 1 >= n || spec[p] != L' ') break;
  }
  return any;
}

}  // namespace

bool IsImageAttribute(const std::wstring& name) {
  static const std::wstring kSuffix = L"image";
  if (name.size() < kSuffix.size()) return false;
  for (size_t i = 0; i < kSuffix.size(); ++i) {
    if (std::towlower(name[name.size() - kSuffix.size() + i]) != kSuffix[i]) return false;
  }
  return true;
}

std::wstring LayerImageSpec(const std::wstring& spec) {
  const std::wstring& folder = CPaintManagerUI::GetResourcePath();
  if (spec.empty() || folder.empty()) return spec;
  const auto absolute = [&folder](const std::wstring& file) {
    return PathIsRelativeW(file.c_str()) ? folder + file : file;
  };
  std::vector<std::pair<size_t, size_t>> spans;
  if (!FileSpans(spec, &spans)) return absolute(spec);
  std::wstring result = spec;
  // From the back, so earlier spans keep their places.
  for (auto it = spans.rbegin(); it != spans.rend(); ++it) {
    const std::wstring file = spec.substr(it->first, it->second - it->first);
    result.replace(it->first, it->second - it->first, absolute(file));
  }
  return result;
}

std::wstring ColorName(DWORD argb) {
  wchar_t name[16];
  swprintf(name, 16, L"#%08lX", static_cast<unsigned long>(argb));
  ui::ResourceHub::AddTextColor(name, name);  // the name spells its own value
  return name;
}

DWORD ColorOf(const std::wstring& name) {
  if (name.empty()) return 0;
  return ui::ResourceHub::ColorValue(name);
}

}  // namespace DuiLib
