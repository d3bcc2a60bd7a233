#include "src/layer_support.h"

#include <cwchar>

#include "ui/base/resource/resource_hub.h"

namespace DuiLib {

std::wstring ColorName(DWORD argb) {
  wchar_t name[16];
  swprintf(name, 16, L"#%08lX", static_cast<unsigned long>(argb));
  ui::ResourceHub::ColorValue(name) = argb;
  return name;
}

DWORD ColorOf(const std::wstring& name) {
  if (name.empty()) return 0;
  return ui::ResourceHub::ColorValue(name);
}

}  // namespace DuiLib
