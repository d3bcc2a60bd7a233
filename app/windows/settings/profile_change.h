#pragma once

#include <string>

class CKestrumConfig;
class CKestrumData;

// What a change of the user's profile writes, apart from the window: the confirmed nickname and
// start choices into the meeting data and the configuration, and an uploaded avatar into the
// avatar cache and the meeting data. Texts are wide as the window has them and become the
// meeting data's UTF-8 directly. The UI thread: the meeting data's profile fields take no lock.
namespace ZuvraKestrum::Settings {

// What the profile window holds when it is confirmed.
struct ProfileChoice {
    std::wstring nickname;
    bool cameraOff = false;  // join with the camera off
    bool micOff = false;     // join with the microphone off
};

// Writes the nickname, the camera start and the microphone start into the meeting data, and the
// two starts into the configuration (EnableCamera, EnableMic: "1" off, "0" on).
void ApplyProfile(const ProfileChoice& choice, CKestrumData& data, const CKestrumConfig& config);

// How an uploaded avatar reached the avatar cache.
enum class AvatarCaching {
    kCached,
    kNoCacheFile,  // the portrait id has no cache file
    kCopyFailed,   // GetLastError tells why
};

// Copies the uploaded picture (chosen) to its cache file (cached: the cache path of the portrait
// id the upload gave; empty when there is none). Once it is there the avatar shown before
// (shown) goes, if it was another file of the same cache folder (the default pictures and the
// user's own files stay), shown := cached, and the meeting data's portrait path names it. Else
// nothing changes.
[[nodiscard]] AvatarCaching CacheUploadedAvatar(const std::wstring& chosen,
                                                const std::wstring& cached, std::wstring& shown,
                                                CKestrumData& data);

// A picture of the user's own: a file at a full path. The default pictures are bare names that
// the window library finds in the skin folder. Looked up wide, so that a folder outside the ANSI
// code page counts too.
bool IsPictureFile(const std::wstring& picture);

// The text of the avatar's refusal box, in the language of the flag (0 English).
const wchar_t* AvatarFailedText(int language);

}  // namespace ZuvraKestrum::Settings
