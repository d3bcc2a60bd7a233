#pragma once

#include <windows.h>

#include <string>

namespace ZuvraKestrum::Settings {

// The system's open-file dialog over owner for an avatar picture, picture files offered first,
// in the user's language (language 0 English). The chosen path, or empty when the user
// cancelled. The process's current folder is the program's folder afterwards, whatever the
// dialog did with it. UI thread.
std::wstring ChooseAvatarFile(HWND owner, int language);

}  // namespace ZuvraKestrum::Settings
