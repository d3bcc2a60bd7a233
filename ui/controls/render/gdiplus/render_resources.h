#pragma once

#include <string>

#include "ui/base/render/gdiplus_headers.h"

// What the render context reads from the resource manager: fonts by index and named colours.
// Kept behind these functions so that drawing code does not depend on the manager's layout.
// UI thread only.
namespace ui {
namespace render_resources {

struct FontFacts {
  HFONT font = nullptr;
  std::wstring face;
  int size = 0;  // pixels, DPI-scaled
};

// The font at index in the manager's font list; false for an index outside the list.
bool LookUpFont(int index, FontFacts& facts);

// The ARGB value of a colour name; an unknown name reads as 0 (transparent black).
Gdiplus::ARGB ColorValue(const std::wstring& name);

}  // namespace render_resources
}  // namespace ui
