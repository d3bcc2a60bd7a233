#pragma once

#include <cstddef>

// The double nearest to the integer written as a run of decimal digits, ties to even. For
// integer texts beyond 64 bits, where digit-by-digit accumulation in a double drifts: the printer
// writes integral doubles digit for digit, and this reads those digits back to the same double.
// Runs longer than any finite double give infinity.
double DecimalDigitsToDouble(const char* digits, size_t count);
