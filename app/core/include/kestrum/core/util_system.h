#pragma once

#include <windows.h>

#include <string>

// Questions to the system: Windows product name, window descriptions, keyboard layout.
namespace ZuvraKestrum::Util {

// The registry's Windows product name ("Windows 10 Pro") in the ANSI code page; empty when it
// cannot be read. Any thread.
std::string GetOsProductName();

// How the screen-share picker names a top-level window: "<executable title>[<window title>]",
// such as "notepad[Untitled - Notepad]". The result is empty for windows the picker skips:
// windows of "ApplicationFrameHost" or of any executable whose name contains "chrome", and
// windows without a title. Of a title with backslashes only the part after the last one is used.
// Any thread.
void GetForegroundWindowTitle(std::wstring& out, HWND window);

// The naming rule of GetForegroundWindowTitle, from the owner's executable title and the
// window's text.
std::wstring DescribeShareWindow(const std::wstring& executableTitle,
                                 const std::wstring& windowText);

// restore false: remembers the calling thread's keyboard layout and activates US English;
// restore true: activates the remembered layout again. UI thread only (one remembered layout
// per process). Returns true.
bool SwitchToEnglishKeyboard(bool restore);

}  // namespace ZuvraKestrum::Util
