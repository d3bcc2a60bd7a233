#pragma once

#include <string>

// What the chat panel's input sends. Pure; safe on any thread.
namespace ZuvraKestrum::Chat {

// The hint the input shows until it gets the focus, by the language flag (0 English).
const wchar_t* InputHint(int language);

// The message to send for what the input holds, UTF-8 with "\n" line breaks (the input keeps
// its breaks as "\r"); empty when there is nothing to send: an empty input, the hint, or
// nothing but spaces, tabs and line breaks.
std::string MessageToSend(const std::wstring& edited, const std::wstring& hint);

}  // namespace ZuvraKestrum::Chat
