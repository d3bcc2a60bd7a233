#pragma once

#include <string>

// What the message-box service shows, decided without a window: the built-in texts of the
// service's error codes and the title, text and upgrade argument of one call.
namespace ZuvraKestrum::Shell {

// The built-in text of an error code in the language (0 English, any other value Chinese); null
// for codes without one, whose callers' own texts are shown instead.
const wchar_t* ErrorText(int code, int language);

// What one call of the message-box service puts into the notice box. Null texts count as empty.
struct NoticeContent {
    // Type 2: the box is hidden and nothing else happens.
    bool hide = false;
    // Null: the box keeps the title it has (types outside 0-4).
    const wchar_t* title = nullptr;
    // Whether the box's text changes, and to what.
    bool setTips = false;
    std::wstring tips;
    // Whether the box's type changes (to the caller's type), and its upgrade argument.
    bool setType = false;
    std::wstring argument;
};

// Warnings (type 0) and errors (1) show the code's built-in text, else the caller's; the
// upgrade offers (3 forced, 4 optional) show the upgrade request and keep the caller's text as
// the argument for the upgrader. Every type 0-4 except 2 sets the box's type, so that the
// update button and the close step always belong to the box shown.
NoticeContent ComposeNotice(const wchar_t* text, int code, int type, int language);

}  // namespace ZuvraKestrum::Shell
