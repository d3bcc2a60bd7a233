#pragma once

#include <cstdint>

// Powers of ten to 128 bits: 10^q = (high * 2^64 + low) * 2^(BinaryExponentOfPowerOfTen(q) - 127)
// rounded down, with the top bit of high set. Rounding down makes every product with them a
// lower bound, which number reading relies on.
struct PowerOfTen {
    uint64_t high;
    uint64_t low;
};

constexpr int kMinPowerOfTen = -343;  // 10^19 * 10^-343 is below half the smallest double
constexpr int kMaxPowerOfTen = 308;   // 10^309 is beyond the largest

// Indexed by q - kMinPowerOfTen.
extern const PowerOfTen kPowersOfTen[kMaxPowerOfTen - kMinPowerOfTen + 1];

// floor(log2(10^q)) for q in the table's range.
inline int BinaryExponentOfPowerOfTen(int q)
{
    return (q * 217706) >> 16;  // 217706 / 2^16 is close enough to log2(10) over the table's range
}
