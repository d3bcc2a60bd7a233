#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <climits>
#include <cstddef>
#include <string>
#include <string_view>

// Utf8ToWide and WideToUtf8: the conversion between UTF-8 (library boundaries, the wire, files)
// and the UTF-16 of windows, header-only so that the service library has it without the UI base.
//
// Both always succeed and keep everything valid, embedded NULs included. Invalid input is
// replaced, never dropped or cut short: each maximal ill-formed subsequence of UTF-8 (a stray
// continuation byte, a lead byte that is never valid, a truncated or overlong sequence, an encoded
// surrogate, a value above U+10FFFF) becomes one U+FFFD, as the Unicode standard recommends and
// browsers do; so does each unpaired UTF-16 surrogate. Windows' own conversions without
// MB_ERR_INVALID_CHARS also replace, but how many U+FFFD they put for one bad sequence depends on
// the Windows version, so invalid text is converted here instead; valid text goes through
// MultiByteToWideChar and WideCharToMultiByte. Without Win32 (the portable build) the code here
// converts everything, to UTF-32 where wchar_t has 32 bits.
//
// Threads: pure functions, any thread.

namespace kestrum::common {

namespace utf_detail {

constexpr char32_t kReplacement = 0xFFFD;

constexpr bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes the character at text[at] and moves at past it, or past the maximal ill-formed
// subsequence there, which reads as U+FFFD.
inline char32_t DecodeUtf8(std::string_view text, std::size_t& at) {
    const unsigned char lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) return lead;
    int following;
    char32_t value;
    // The range of the second byte excludes overlong forms, surrogates and values past U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        following = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        following = 2;
        value = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        following = 3;
        value = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return kReplacement;
    }
    for (int i = 0; i < following; ++i, low = 0x80, high = 0xBF) {
        if (at == text.size()) return kReplacement;
        const unsigned char byte = static_cast<unsigned char>(text[at]);
        if (byte < low || byte > high) return kReplacement;
        value = (value << 6) | (byte & 0x3F);
        ++at;
    }
    return value;
}

inline void AppendWide(std::wstring& out, char32_t c) {
    if (sizeof(wchar_t) == 2 && c > 0xFFFF) {
        c -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (c >> 10));
        out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        return;
    }
    out += static_cast<wchar_t>(c);
}

// Reads the character at text[at] and moves at past it; an unpaired surrogate (or, with 32-bit
// wchar_t, a value that is no character) reads as U+FFFD.
inline char32_t DecodeWide(std::wstring_view text, std::size_t& at) {
    const char32_t unit = static_cast<char32_t>(text[at++]);
    if (unit >= 0xDC00 && unit <= 0xDFFF) return kReplacement;
    if (unit < 0xD800 || unit > 0xDBFF) return unit > 0x10FFFF ? kReplacement : unit;
    if (sizeof(wchar_t) != 2 || at == text.size()) return kReplacement;
    const char32_t next = static_cast<char32_t>(text[at]);
    if (next < 0xDC00 || next > 0xDFFF) return kReplacement;
    ++at;
    return 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
}

inline void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

inline std::wstring PortableUtf8ToWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) AppendWide(out, DecodeUtf8(text, at));
    return out;
}

inline std::string PortableWideToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t at = 0; at < text.size();) AppendUtf8(out, DecodeWide(text, at));
    return out;
}

}  // namespace utf_detail

inline std::wstring Utf8ToWide(std::string_view text) {
    if (text.empty()) return std::wstring();
#ifdef _WIN32
    // Fails (0) on invalid input, which the code above then converts.
    if (text.size() <= INT_MAX) {
        const int size = static_cast<int>(text.size());
        const int length =
            MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
        if (length > 0) {
            std::wstring out(static_cast<std::size_t>(length), L'\0');
            if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, &out[0],
                                    length) == length) {
                return out;
            }
        }
    }
#endif
    return utf_detail::PortableUtf8ToWide(text);
}

inline std::string WideToUtf8(std::wstring_view text) {
    if (text.empty()) return std::string();
#ifdef _WIN32
    if (text.size() <= INT_MAX) {
        const int size = static_cast<int>(text.size());
        const int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size,
                                               nullptr, 0, nullptr, nullptr);
        if (length > 0) {
            std::string out(static_cast<std::size_t>(length), '\0');
            if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, &out[0],
                                    length, nullptr, nullptr) == length) {
                return out;
            }
        }
    }
#endif
    return utf_detail::PortableWideToUtf8(text);
}

}  // namespace kestrum::common
