#include "json_decimal.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr size_t kMaxDigits = 310;  // 10^309 is beyond every finite double
constexpr size_t kMaxLimbs = 34;    // 310 digits need 1030 bits

// A non-negative integer in base 2^32, least significant limb first.
struct BigInteger {
    uint32_t limbs[kMaxLimbs] = {};
    size_t used = 0;

    void MultiplyAdd(uint32_t factor, uint32_t addend)
    {
        uint64_t carry = addend;
        for (size_t i = 0; i < used; ++i) {
            uint64_t product = static_cast<uint64_t>(limbs[i]) * factor + carry;
            limbs[i] = static_cast<uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0)
            limbs[used++] = static_cast<uint32_t>(carry);
    }

    uint32_t Limb(size_t index) const { return index < used ? limbs[index] : 0; }
};

// Rounds to 53 significant bits: the top 64 bits, plus whether any bit below them is set.
double ToDouble(const BigInteger& value)
{
    if (value.used == 0)
        return 0.0;
    size_t top_index = value.used - 1;
    uint32_t high = value.limbs[top_index];
    uint32_t middle = top_index >= 1 ? value.limbs[top_index - 1] : 0;
    uint32_t low = top_index >= 2 ? value.limbs[top_index - 2] : 0;
    int shift = __builtin_clz(high);
    uint64_t top = ((static_cast<uint64_t>(high) << 32) | middle) << shift;
    uint32_t low_rest = low;
    if (shift != 0) {
        top |= low >> (32 - shift);
        low_rest = low & ((uint32_t(1) << (32 - shift)) - 1);
    }
    bool sticky = low_rest != 0;
    for (size_t i = 0; i + 3 <= top_index && !sticky; ++i)
        sticky = value.limbs[i] != 0;

    uint64_t kept = top >> 11;
    uint64_t rest = top & 0x7FF;
    if (rest > 0x400 || (rest == 0x400 && (sticky || (kept & 1) != 0)))
        ++kept;
    int bits = static_cast<int>(32 * top_index) + 32 - shift;
    return std::ldexp(static_cast<double>(kept), bits - 53);
}

}  // namespace

double DecimalDigitsToDouble(const char* digits, size_t count)
{
    while (count > 0 && *digits == '0') {
        ++digits;
        --count;
    }
    if (count > kMaxDigits)
        return HUGE_VAL;
    BigInteger value;
    while (count > 0) {
        size_t chunk = count < 9 ? count : 9;
        uint32_t part = 0;
        uint32_t scale = 1;
        for (size_t i = 0; i < chunk; ++i) {
            part = part * 10 + static_cast<uint32_t>(digits[i] - '0');
            scale *= 10;
        }
        value.MultiplyAdd(scale, part);
        digits += chunk;
        count -= chunk;
    }
    return ToDouble(value);
}
