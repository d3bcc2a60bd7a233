#pragma once

#include <string>

namespace ZuvraKestrum::Join {

// The join and nickname windows' own texts in the user's language (0 English, else Chinese).
struct JoinTexts {
    const wchar_t* roomHint;
    const wchar_t* passwordHint;
    const wchar_t* roomTooShort;
    const wchar_t* roomTooLong;
    const wchar_t* passwordTooLong;
    const wchar_t* signalGood;
    const wchar_t* signalNormal;
    const wchar_t* signalWeak;
    const wchar_t* nicknameHint;
    const wchar_t* nicknameTooLong;
    const wchar_t* signInRefused;  // the service answered a sign-in without a token
};
const JoinTexts& JoinTextsFor(int language);

// What the join button makes of the two edits' texts: a text that is still its hint counts as
// empty; a room name under three characters does not join.
struct JoinForm {
    std::wstring room;
    std::wstring password;
    bool roomTooShort = false;
};
JoinForm ReadJoinForm(const std::wstring& roomText, const std::wstring& passwordText,
                      const JoinTexts& texts);

// The network probe's verdict as the join window shows it. A known level also ends the probe and
// lets the user join.
struct SignalLook {
    bool known = false;
    const wchar_t* image = L"unknown.png";  // the signal label's picture in the skin folder
    const wchar_t* text = nullptr;          // null: the text stays as it is
};
// quality: the engine's probe result (0 unknown, 1 excellent ... 6 down).
SignalLook SignalLookOf(unsigned quality, const JoinTexts& texts);

// The version label, which alternates on each focus between the engine's version ("RTC:" and
// its text) and the program's ("V" and its text), starting with the engine's.
class CVersionLabel {
public:
    std::wstring next(const std::wstring& engineVersion, const std::wstring& appVersion);

private:
    bool showEngine_ = true;
};

}  // namespace ZuvraKestrum::Join
