#include "app/windows/settings/avatar_check.h"

#include <windows.h>

#include <cwctype>

#include "kestrum/common/picture_kind.h"
#include "kestrum/common/scoped_handle.h"

namespace ZuvraKestrum::Settings {

namespace {

bool EqualsIgnoringCase(const std::wstring& text, const wchar_t* lower) {
    size_t i = 0;
    for (; i < text.size() && lower[i]; ++i) {
        if (std::towlower(text[i]) != lower[i]) return false;
    }
    return i == text.size() && !lower[i];
}

}  // namespace

bool HasAvatarExtension(const std::wstring& path) {
    const size_t nameStart = path.find_last_of(L"\\/");
    const std::wstring name = nameStart == std::wstring::npos ? path : path.substr(nameStart + 1);
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || dot == 0) return false;
    const std::wstring extension = name.substr(dot + 1);
    for (const wchar_t* accepted : {L"png", L"jpg", L"jpeg"}) {
        if (EqualsIgnoringCase(extension, accepted)) return true;
    }
    return false;
}

bool IsAvatarTooLarge(uint64_t bytes) { return bytes > kLargestAvatarBytes; }

AvatarVerdict CheckAvatar(const std::wstring& path, std::optional<uint64_t> bytes,
                          const std::optional<std::string>& head) {
    if (!HasAvatarExtension(path)) return AvatarVerdict::kWrongKind;
    if (head && !kestrum::common::IsPngOrJpeg(*head)) return AvatarVerdict::kWrongKind;
    if (bytes && IsAvatarTooLarge(*bytes)) return AvatarVerdict::kTooLarge;
    return AvatarVerdict::kAccepted;
}

int AvatarRefusalCode(AvatarVerdict verdict) {
    switch (verdict) {
    case AvatarVerdict::kWrongKind:
        return kAvatarWrongKindCode;
    case AvatarVerdict::kTooLarge:
        return kAvatarTooLargeCode;
    case AvatarVerdict::kAccepted:
        break;
    }
    return 0;
}

std::optional<uint64_t> FileSizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA found = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &found) ||
        (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return std::nullopt;
    }
    return (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

std::optional<std::string> FileHeadOf(const std::wstring& path) {
    const kestrum::common::ScopedHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    char head[kestrum::common::kPictureSignatureBytes] = {};
    DWORD read = 0;
    if (!ReadFile(file.get(), head, sizeof head, &read, nullptr)) return std::nullopt;
    return std::string(head, read);
}

}  // namespace ZuvraKestrum::Settings
