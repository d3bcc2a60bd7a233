#pragma once

#include <cstdint>

namespace ui {

// a * b / c truncated toward zero, computed with a 128-bit intermediate product so that scroll
// ranges near the 64-bit limit neither overflow nor lose precision. Results beyond the int64
// range saturate. c must not be 0 (then 0 is returned).
int64_t ScaledDiv(int64_t a, int64_t b, int64_t c);

}  // namespace ui
