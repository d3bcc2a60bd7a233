#include "ui/controls/render/gdiplus/render_resources.h"

#include "ui/base/resource/resource_hub.h"

namespace ui {
namespace render_resources {

bool LookUpFont(int index, FontFacts& facts) {
  // An index outside the list (a control naming a font the skin never defined) falls back to
  // the DC's current font instead of reading past the list.
  const FontRecord* record = ResourceHub::FontInfo(index);
  if (!record) return false;
  facts.font = record->hFont;
  facts.face = record->face;
  facts.size = record->size;
  return true;
}

Gdiplus::ARGB ColorValue(const std::wstring& name) { return ResourceHub::ColorValue(name); }

}  // namespace render_resources
}  // namespace ui
