#include "app/windows/settings/nickname_rules.h"

namespace ZuvraKestrum::Settings {

namespace {

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

const wchar_t* NicknameHint(int language) { return language == 0 ? L"Your name" : L"请输入昵称"; }

const wchar_t* NicknameTooLongText(int language) {
    return language == 0 ? L"Nickname must not exceed 18 characters" : L"昵称长度不能超过18";
}

bool CutToUnits(std::wstring& text, size_t limit) {
    if (text.size() <= limit) return false;
    size_t keep = limit;
    if (keep > 0 && IsHighSurrogate(text[keep - 1])) --keep;
    text.resize(keep);
    return true;
}

bool CutNickname(std::wstring& text) { return CutToUnits(text, kNicknameLimit); }

bool IsMissingNickname(const std::wstring& text, int language) {
    return text.empty() || text == NicknameHint(language);
}

}  // namespace ZuvraKestrum::Settings
