#include "json_string_body.h"

#include <cstring>

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Bytes that end a plain run inside a string.
struct StringStopTable {
    bool stop[256];
    constexpr StringStopTable() : stop()
    {
        stop[0] = true;
        stop[static_cast<unsigned char>('"')] = true;
        stop[static_cast<unsigned char>('\\')] = true;
    }
};
constexpr StringStopTable kStringStop;

const char* SkipPlain(const char* at)
{
    while (!kStringStop.stop[static_cast<unsigned char>(*at)])
        ++at;
    return at;
}

// Position after the escape at the backslash: two characters, or six for \u. When the text ends
// inside the escape, the terminating NUL.
const char* SkipEscape(const char* at)
{
    if (at[1] == '\0')
        return at + 1;
    if (at[1] != 'u')
        return at + 2;
    at += 2;
    for (int i = 0; i < 4 && *at != '\0'; ++i)
        ++at;
    return at;
}

// Reads the code of a \u escape from the four characters after the 'u': leading blanks are
// tolerated, then hexadecimal digits; no digit reads as 0. Returns the position after the four
// characters, or null when the text ends among them.
const char* ReadEscapeCode(const char* at, unsigned* code)
{
    for (int i = 0; i < 4; ++i) {
        if (at[i] == '\0')
            return nullptr;
    }
    int i = 0;
    while (i < 4 && IsBlank(at[i]))
        ++i;
    unsigned value = 0;
    for (; i < 4 && HexValue(at[i]) >= 0; ++i)
        value = value * 16 + static_cast<unsigned>(HexValue(at[i]));
    *code = value;
    return at + 4;
}

bool IsHighSurrogate(unsigned code)
{
    return code >= 0xD800 && code <= 0xDBFF;
}

bool IsLowSurrogate(unsigned code)
{
    return code >= 0xDC00 && code <= 0xDFFF;
}

char* WriteUtf8(char* out, unsigned code)
{
    if (code < 0x80) {
        *out++ = static_cast<char>(code);
    } else if (code < 0x800) {
        *out++ = static_cast<char>(0xC0 | (code >> 6));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (code >> 12));
        *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (code >> 18));
        *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

// Decodes the \u escape whose code starts at `at` (after the 'u'), with the look-ahead for a low
// surrogate. Returns the position after what it consumed, or null when the text ends inside an
// escape: the string then ends there.
const char* DecodeUnicodeEscape(const char* at, char** out)
{
    unsigned code = 0;
    at = ReadEscapeCode(at, &code);
    if (at == nullptr)
        return nullptr;
    if (code == 0 || IsLowSurrogate(code))
        return at;
    if (!IsHighSurrogate(code)) {
        *out = WriteUtf8(*out, code);
        return at;
    }
    if (at[0] != '\\' || at[1] != 'u')
        return at;
    unsigned low = 0;
    at = ReadEscapeCode(at + 2, &low);
    if (at != nullptr && IsLowSurrogate(low))
        *out = WriteUtf8(*out, 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00));
    return at;
}

char SimpleEscape(char c)
{
    switch (c) {
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    default: return c;
    }
}

}  // namespace

// End of the string body: the closing quote, or the NUL of an unterminated string.
const char* FindStringEnd(const char* at, bool* has_escape)
{
    for (;;) {
        at = SkipPlain(at);
        if (*at != '\\')
            return at;
        *has_escape = true;
        at = SkipEscape(at);
    }
}

// Decodes the body [at, end) into out, which has room for end - at bytes (no escape grows).
// Returns the end of what was written.
char* DecodeEscaped(const char* at, const char* end, char* out)
{
    while (at < end) {
        const char* plain = SkipPlain(at);
        std::memcpy(out, at, static_cast<size_t>(plain - at));
        out += plain - at;
        at = plain;
        if (at >= end || at[1] == '\0')
            break;
        if (at[1] != 'u') {
            *out++ = SimpleEscape(at[1]);
            at += 2;
            continue;
        }
        at = DecodeUnicodeEscape(at + 2, &out);
        if (at == nullptr)
            break;
    }
    return out;
}
