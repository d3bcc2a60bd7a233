#include "kestrum/records/record_text.h"

#include <cstring>

namespace {

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Number of bytes of text to keep, at most limit.
size_t CutLength(const char* text, size_t limit)
{
    size_t length = 0;
    while (length <= limit && text[length] != '\0')
        ++length;
    if (length <= limit)
        return length;
    // text[limit] is the first byte left out; if it continues a character, leave that whole
    // character out. A UTF-8 character has at most three continuation bytes.
    size_t cut = limit;
    for (int step = 0; step < 3 && cut > 0 && IsContinuationByte(text[cut]); ++step)
        --cut;
    return cut;
}

}  // namespace

void CopyRecordText(char (&field)[kRecordTextSize], const char* text)
{
    if (text == nullptr) {
        field[0] = '\0';
        return;
    }
    size_t length = CutLength(text, kRecordTextSize - 1);
    std::memmove(field, text, length);
    field[length] = '\0';
}
