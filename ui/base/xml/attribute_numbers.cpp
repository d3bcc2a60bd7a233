#include "ui/base/xml/attribute_numbers.h"

#include <cwchar>

namespace ui {

void ReadNumbers(const wchar_t* text, long* values, std::size_t count) {
  const wchar_t* p = text;
  for (std::size_t i = 0; i < count; ++i) {
    if (!p || !*p) {
      values[i] = 0;
      continue;
    }
    wchar_t* end = nullptr;
    values[i] = wcstol(p, &end, 10);
    // Skipping the separator must not step over the terminator.
    p = *end ? end + 1 : end;
  }
}

void ReadRect(const wchar_t* text, RECT& rect) {
  long values[4];
  ReadNumbers(text, values, 4);
  rect = {values[0], values[1], values[2], values[3]};
}

}  // namespace ui
