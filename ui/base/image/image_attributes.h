#pragma once

#include <windows.h>

#include <string>

namespace ui {

// One parsed image attribute string: key='value' pairs separated by blanks, such as
// "file='bk.png' corner='4,4,4,4' fade='200'". A value in other quotes, or pairs separated by
// anything but blanks, end the parse; pairs read so far stay applied.
// A plain value object; any thread.
struct ImageSpec {
  ImageSpec() { Reset(); }

  void Reset();
  // Applies the pairs of text; fields it does not name keep their values. "dest" is DPI-scaled
  // unless a "destscale='false'" stands before it in the same text.
  void Parse(const std::wstring& text);

  std::wstring spec_text;
  std::wstring file_name;  // "file" or "res"
  RECT dest;               // -1 everywhere while unset
  RECT source;             // -1 everywhere while unset
  RECT corner;             // widths of the nine-part borders
  BYTE fade;
  bool xtiled;
  bool ytiled;
  int play_count;  // -1 plays for ever
};

}  // namespace ui
