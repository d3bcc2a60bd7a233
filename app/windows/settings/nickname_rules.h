#pragma once

#include <string>

// The rules of the nickname edit of the profile window. Pure; texts are the edit's UTF-16.
namespace ZuvraKestrum::Settings {

// The most UTF-16 units a nickname may have.
constexpr size_t kNicknameLimit = 18;

// The hint an empty nickname edit shows: "Your name" (language 0) or its Chinese form.
const wchar_t* NicknameHint(int language);

// The warning shown when a typed nickname was cut.
const wchar_t* NicknameTooLongText(int language);

// Cuts text to limit units, one fewer when the cut would split a surrogate pair (so that no
// half character is sent). True when text was cut. The room password edit cuts alike.
bool CutToUnits(std::wstring& text, size_t limit);

// CutToUnits with kNicknameLimit.
bool CutNickname(std::wstring& text);

// True for a text that names nobody: empty, or the hint still standing in the edit.
bool IsMissingNickname(const std::wstring& text, int language);

}  // namespace ZuvraKestrum::Settings
