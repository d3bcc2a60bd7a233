#pragma once

#include <windows.h>

#include <string>

namespace ui {

// One global font of the resource manager; its id is its position in the manager's list.
// The manager owns hFont and deletes it when it stops.
struct FontRecord {
  HFONT hFont = nullptr;
  std::wstring face;  // the face actually used ("system" already replaced)
  int size = 0;       // pixels, DPI-scaled
  bool bold = false;
  bool underline = false;
  bool italic = false;
};

}  // namespace ui
