#include "kestrum/core/util_text.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "kestrum/common/utf.h"
#include "kestrum/common/utf8_cut.h"

namespace ZuvraKestrum::Util {

namespace {

// What a log shows of a long enough secret.
constexpr std::string::size_type kShownSecretLength = 4;

std::wstring ToWide(const char* text, size_t size, UINT codePage) {
    if (!text || size == 0) return std::wstring();
    const int length = MultiByteToWideChar(codePage, 0, text, static_cast<int>(size), nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring out(length, L'\0');
    MultiByteToWideChar(codePage, 0, text, static_cast<int>(size), &out[0], length);
    return out;
}

std::string ToNarrow(const std::wstring& text, UINT codePage) {
    if (text.empty()) return std::string();
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string out(length, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, &out[0], length, nullptr, nullptr);
    return out;
}

// A name shown on one line has none of these: controls and the line and paragraph separators.
bool BreaksTheLine(wchar_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

// The marks that set the direction of the text around them: embeddings, overrides, isolates and
// the invisible direction marks (LRM, RLM, ALM).
bool SetsDirection(wchar_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E ||
           c == 0x200F || c == 0x061C;
}

// Whether the text holds a letter written right to left (Hebrew, Arabic, Syriac, ...); outside
// the Basic Multilingual Plane, the right-to-left blocks U+10800-U+10FFF and U+1E800-U+1EFFF.
bool HasRightToLeft(const std::wstring& text) {
    if (text.empty()) return false;
    std::vector<WORD> types(text.size());
    if (GetStringTypeW(CT_CTYPE2, text.data(), static_cast<int>(text.size()), types.data())) {
        for (WORD type : types) {
            if (type == C2_RIGHTTOLEFT) return true;
        }
    }
    for (wchar_t c : text) {
        if ((c >= 0xD802 && c <= 0xD803) || (c >= 0xD83A && c <= 0xD83B)) return true;
    }
    return false;
}

constexpr char kFirstStrongIsolate[] = "\xE2\x81\xA8";     // U+2068
constexpr char kPopDirectionalIsolate[] = "\xE2\x81\xA9";  // U+2069
constexpr std::string::size_type kIsolateBytes = 2 * (sizeof kFirstStrongIsolate - 1);

}  // namespace

std::string DisplayName(const std::string& name, std::string::size_type maxBytes) {
    std::wstring kept;
    for (wchar_t c : kestrum::common::Utf8ToWide(name)) {
        if (!SetsDirection(c)) kept += BreaksTheLine(c) ? L'\xFFFD' : c;
    }
    std::string inner = kestrum::common::WideToUtf8(kept);
    const bool isolated = HasRightToLeft(kept);
    const std::string::size_type marks = isolated ? kIsolateBytes : 0;
    if (inner.empty() || maxBytes <= marks) return std::string();
    inner.resize(kestrum::common::Utf8CutLength(inner, maxBytes - marks));
    return isolated ? kFirstStrongIsolate + inner + kPopDirectionalIsolate : inner;
}

std::string CStringToString(const std::wstring& text) { return ToNarrow(text, CP_ACP); }

std::wstring StringToCString(const std::string& text) {
    return ToWide(text.data(), text.size(), CP_ACP);
}

std::string GbkToUtf8(const std::string& text) {
    return kestrum::common::WideToUtf8(ToWide(text.data(), text.size(), CP_ACP));
}

std::string Utf8ToGbk(const char* text) {
    if (!text) return std::string();
    return ToNarrow(kestrum::common::Utf8ToWide(text), CP_ACP);
}

std::wstring Utf8ToCString(const std::string& text) { return kestrum::common::Utf8ToWide(text); }

std::string CStringToUtf8(const std::wstring& text) { return kestrum::common::WideToUtf8(text); }

std::string MaskSecret(const std::string& secret) {
    if (secret.empty()) return secret;
    // A secret no longer than the part shown would be shown whole.
    if (secret.size() <= kShownSecretLength) return "***";
    return secret.substr(0, kShownSecretLength) + "***";
}

std::string IntToString(int value) { return std::to_string(value); }

std::wstring IntToCString(int value) { return std::to_wstring(value); }

std::string FloatToString(float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(value));
    return buffer;
}

int StringToInt(const std::string& text) { return std::atoi(text.c_str()); }

float StringToFloat(const std::string& text) { return static_cast<float>(std::atof(text.c_str())); }

int CStringToInt(const std::wstring& text) { return StringToInt(CStringToString(text)); }

}  // namespace ZuvraKestrum::Util
