#include "ui/controls/scroll/scaled_div.h"

#include <limits>

namespace ui {
namespace {

uint64_t Magnitude(int64_t value) {
  return value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
}

// The 128-bit product of a and b as high and low halves.
void Multiply(uint64_t a, uint64_t b, uint64_t* high, uint64_t* low) {
  const uint64_t a_lo = a & 0xFFFFFFFFu, a_hi = a >> 32;
  const uint64_t b_lo = b & 0xFFFFFFFFu, b_hi = b >> 32;
  const uint64_t lo_lo = a_lo * b_lo;
  const uint64_t hi_lo = a_hi * b_lo;
  const uint64_t lo_hi = a_lo * b_hi;
  const uint64_t cross = (lo_lo >> 32) + (hi_lo & 0xFFFFFFFFu) + (lo_hi & 0xFFFFFFFFu);
  *low = (cross << 32) | (lo_lo & 0xFFFFFFFFu);
  *high = a_hi * b_hi + (hi_lo >> 32) + (lo_hi >> 32) + (cross >> 32);
}

// (high:low) / divisor; false when the quotient does not fit 64 bits.
bool Divide(uint64_t high, uint64_t low, uint64_t divisor, uint64_t* quotient) {
  if (high >= divisor) return false;
  uint64_t remainder = high;
  uint64_t result = 0;
  for (int bit = 63; bit >= 0; --bit) {
    const bool carry = (remainder >> 63) != 0;
    remainder = (remainder << 1) | ((low >> bit) & 1u);
    if (carry || remainder >= divisor) {
      remainder -= divisor;
      result |= uint64_t{1} << bit;
    }
  }
  *quotient = result;
  return true;
}

}  // namespace

int64_t ScaledDiv(int64_t a, int64_t b, int64_t c) {
  if (c == 0) return 0;
  const bool negative = (a < 0) != (b < 0) ? (c > 0) : (c < 0);
  uint64_t high = 0, low = 0, quotient = 0;
  Multiply(Magnitude(a), Magnitude(b), &high, &low);
  const uint64_t limit =
      negative ? uint64_t{1} << 63 : static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (!Divide(high, low, Magnitude(c), &quotient) || quotient > limit) quotient = limit;
  return negative ? static_cast<int64_t>(0 - quotient) : static_cast<int64_t>(quotient);
}

}  // namespace ui
