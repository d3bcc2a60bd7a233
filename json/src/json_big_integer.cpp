#include "json_big_integer.h"

BigInteger::BigInteger(uint64_t value)
{
    while (value != 0) {
        limbs_[used_++] = static_cast<uint32_t>(value);
        value >>= 32;
    }
}

void BigInteger::MultiplyAdd(uint32_t factor, uint32_t addend)
{
    uint64_t carry = addend;
    for (size_t i = 0; i < used_; ++i) {
        uint64_t product = static_cast<uint64_t>(limbs_[i]) * factor + carry;
        limbs_[i] = static_cast<uint32_t>(product);
        carry = product >> 32;
    }
    if (carry != 0 && used_ < kCapacity)
        limbs_[used_++] = static_cast<uint32_t>(carry);
    Trim();
}

void BigInteger::MultiplyByPowerOfFive(uint32_t exponent)
{
    constexpr uint32_t kFiveTo13 = 1220703125;  // the largest power of five in a limb
    for (; exponent >= 13; exponent -= 13)
        MultiplyAdd(kFiveTo13, 0);
    uint32_t factor = 1;
    for (; exponent > 0; --exponent)
        factor *= 5;
    MultiplyAdd(factor, 0);
}

void BigInteger::ShiftLeft(uint32_t bits)
{
    if (used_ == 0)
        return;
    size_t limbs = bits / 32;
    uint32_t rest = bits % 32;
    size_t grown = used_ + limbs + 1 < kCapacity ? used_ + limbs + 1 : kCapacity;
    // From the top down, so that every limb is read before it is overwritten.
    for (size_t i = grown; i-- > 0;) {
        uint32_t high = i >= limbs && i - limbs < used_ ? limbs_[i - limbs] : 0;
        uint32_t low = i >= limbs + 1 && i - limbs - 1 < used_ ? limbs_[i - limbs - 1] : 0;
        limbs_[i] = rest != 0 ? (high << rest) | (low >> (32 - rest)) : high;
    }
    used_ = grown;
    Trim();
}

uint32_t BigInteger::DivideBy(uint32_t divisor)
{
    uint64_t remainder = 0;
    for (size_t i = used_; i-- > 0;) {
        uint64_t part = (remainder << 32) | limbs_[i];
        limbs_[i] = static_cast<uint32_t>(part / divisor);
        remainder = part % divisor;
    }
    Trim();
    return static_cast<uint32_t>(remainder);
}

int BigInteger::Compare(const BigInteger& a, const BigInteger& b)
{
    if (a.used_ != b.used_)
        return a.used_ < b.used_ ? -1 : 1;
    for (size_t i = a.used_; i-- > 0;) {
        if (a.limbs_[i] != b.limbs_[i])
            return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    }
    return 0;
}

void BigInteger::Trim()
{
    while (used_ > 0 && limbs_[used_ - 1] == 0)
        --used_;
}
