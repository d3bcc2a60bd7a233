#include "app/windows/settings/nickname_rules.h"

#include "kestrum/common/utf16_cut.h"

namespace ZuvraKestrum::Settings {

const wchar_t* NicknameHint(int language) { return language == 0 ? L"Your name" : L"请输入昵称"; }

const wchar_t* NicknameTooLongText(int language) {
    return language == 0 ? L"Nickname must not exceed 18 characters" : L"昵称长度不能超过18";
}

bool CutToUnits(std::wstring& text, size_t limit) {
    if (text.size() <= limit) return false;
    text.resize(kestrum::common::Utf16CutLength(text, limit));
    return true;
}

bool CutNickname(std::wstring& text) { return CutToUnits(text, kNicknameLimit); }

bool IsMissingNickname(const std::wstring& text, int language) {
    return text.empty() || text == NicknameHint(language);
}

}  // namespace ZuvraKestrum::Settings
