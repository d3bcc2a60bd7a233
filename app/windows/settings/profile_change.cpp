#include "app/windows/settings/profile_change.h"

#include <windows.h>

#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Settings {

namespace {

std::wstring FolderOf(const std::wstring& path) {
    const size_t end = path.find_last_of(L'\\');
    return end == std::wstring::npos ? std::wstring() : path.substr(0, end + 1);
}

}  // namespace

void ApplyProfile(const ProfileChoice& choice, CKestrumData& data, const CKestrumConfig& config) {
    // Straight from the edit: a name outside the ANSI code page reaches the service whole.
    data.nickname = ZuvraKestrum::Util::CStringToUtf8(choice.nickname);
    data.cameraOff = choice.cameraOff;
    data.micOff = choice.micOff;
    config.setEnableCamera(choice.cameraOff ? "1" : "0");
    config.setEnableMic(choice.micOff ? "1" : "0");
}

AvatarCaching CacheUploadedAvatar(const std::wstring& chosen, const std::wstring& cached,
                                  std::wstring& shown, CKestrumData& data) {
    if (cached.empty()) return AvatarCaching::kNoCacheFile;
    if (!CopyFileW(chosen.c_str(), cached.c_str(), FALSE)) return AvatarCaching::kCopyFailed;
    // The previous avatar goes only once the new one is in place, and only from the cache.
    if (shown != cached && FolderOf(shown) == FolderOf(cached)) DeleteFileW(shown.c_str());
    shown = cached;
    data.portraitPath = ZuvraKestrum::Util::CStringToUtf8(cached);
    return AvatarCaching::kCached;
}

bool IsPictureFile(const std::wstring& picture) {
    if (picture.find(L'\\') == std::wstring::npos) return false;
    const DWORD attributes = GetFileAttributesW(picture.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

const wchar_t* AvatarFailedText(int language) {
    return language == 0 ? L"Avatar setting failed" : L"头像更新失败";
}

}  // namespace ZuvraKestrum::Settings
