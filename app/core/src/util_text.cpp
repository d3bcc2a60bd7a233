#include "kestrum/core/util_text.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "kestrum/common/utf.h"

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

}  // namespace

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
