#pragma once

#include <cstddef>
#include <cstdint>

// A non-negative integer of up to kCapacity 32-bit limbs, on the stack: the exact arithmetic of
// number reading and printing, which meets integers of a few thousand bits at most (a decimal of
// 800 digits scaled by 5^1124). Results that would need more limbs lose their top limbs.
class BigInteger {
public:
    static constexpr size_t kCapacity = 160;

    explicit BigInteger(uint64_t value = 0);

    // this = this * factor + addend.
    void MultiplyAdd(uint32_t factor, uint32_t addend);
    void MultiplyByPowerOfFive(uint32_t exponent);
    void ShiftLeft(uint32_t bits);
    // this = this / divisor; returns the remainder. The divisor must not be 0.
    uint32_t DivideBy(uint32_t divisor);

    bool IsZero() const { return used_ == 0; }

    // Negative, zero or positive as a is below, equal to or above b.
    static int Compare(const BigInteger& a, const BigInteger& b);

private:
    void Trim();

    uint32_t limbs_[kCapacity];  // least significant first; limbs_[used_ - 1] is not 0
    size_t used_ = 0;
};
