#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Whether a chosen picture may be uploaded as the user's avatar, decided before anything is
// sent: the service takes PNG and JPEG pictures below 0.6 MiB. What the file holds decides its
// kind, not only its name: a picture of another kind saved under a ".jpg" name is refused, since
// nobody in the meeting could show it.
namespace ZuvraKestrum::Settings {

enum class AvatarVerdict {
    kAccepted,
    kWrongKind,  // refused with error code kAvatarWrongKindCode
    kTooLarge,   // refused with error code kAvatarTooLargeCode
};

// The codes whose built-in texts the refusal boxes show.
constexpr int kAvatarTooLargeCode = 1009;
constexpr int kAvatarWrongKindCode = 1010;

// The largest picture below the limit of 0.6 MiB (629145.6 bytes).
constexpr uint64_t kLargestAvatarBytes = 629145;

// True when the file name (after the last '\' or '/') ends in ".png", ".jpg" or ".jpeg",
// letters in any case. A folder name plays no part. Pure.
bool HasAvatarExtension(const std::wstring& path);

// True for a size above kLargestAvatarBytes. Pure.
bool IsAvatarTooLarge(uint64_t bytes);

// The verdict on a path, its file size and its first bytes (FileHeadOf). Either nullopt when the
// file could not be looked up or read: the upload then reports what is wrong. The kind (name,
// then content) is judged first. Pure.
AvatarVerdict CheckAvatar(const std::wstring& path, std::optional<uint64_t> bytes,
                          const std::optional<std::string>& head);

// The error code of a refused verdict's box (kAvatarWrongKindCode, kAvatarTooLargeCode); 0 for
// an accepted picture. Pure.
int AvatarRefusalCode(AvatarVerdict verdict);

// The size of the file at path, nullopt when there is no such file (or it is a folder). The
// path is taken as it stands, never as a pattern.
std::optional<uint64_t> FileSizeOf(const std::wstring& path);

// The first bytes of the file at path, as many as its kind shows in (fewer for a shorter file);
// nullopt when it cannot be read.
std::optional<std::string> FileHeadOf(const std::wstring& path);

}  // namespace ZuvraKestrum::Settings
