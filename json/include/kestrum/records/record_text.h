#pragma once

#include <cstddef>

// Size of every text field of the participant and room records: 255 bytes and a NUL.
constexpr size_t kRecordTextSize = 256;

// Copies text up to its first NUL into a record text field, NUL-terminated. A text longer than
// 255 bytes is cut before the UTF-8 character that would cross the limit, so the field never
// overflows and never ends in a broken character. A null text gives an empty field.
void CopyRecordText(char (&field)[kRecordTextSize], const char* text);
