#pragma once

#include <string>

// Paths and file names of the program. Narrow paths are in the ANSI code page, folders end in a
// backslash. The program's own files (settings, logs, version) are reached through wide paths:
// the ANSI code page may lack characters of the folder the program is installed in. Re-entrant and
// safe on any thread, except SetResourcePathSource (see there).
namespace ZuvraKestrum::Util {

// Full path of the running program, and its folder, in the ANSI code page: characters it lacks
// are lost, so files are opened through GetExeDirW.
std::string GetExePath();
std::string GetExeDir();
// The program's folder as wide text, exact whatever the ANSI code page.
std::wstring GetExeDirW();
// Folder of a loaded module given by name or full path; a module that is not loaded gives the
// program's folder.
std::string GetModuleDir(const std::string& module);

// Up to and with the last backslash (empty when there is none).
std::string GetDirName(const std::string& path);
std::wstring GetDirNameW(const std::wstring& path);
// After the last backslash (the whole text when there is none).
std::string GetFileName(const std::string& path);
std::wstring GetFileNameW(const std::wstring& path);
// The file name without its last extension: "a.b\c" gives "c", "x.tar.gz" gives "x.tar".
std::string GetFileTitle(const std::string& path);
std::wstring GetFileTitleW(const std::wstring& path);

// Local time as "20190812-101500".
std::string GetTimeStamp();

// "<program folder>logger\<stamp>_Kestrum_Windows<module>.log" (the application log) and
// "..._Kestrum_MediaSdk<module>.log" (the engine log). The logger folder is created; when that
// fails the path is still returned and opening the file fails later.
std::wstring GetAppLogPath(const std::string& module);
std::wstring GetMediaSdkLogPath(const std::string& module);

// "<program folder>Faultpost", created if missing; where crash reports go.
std::wstring GetCrashFolder();

// The skin folder that avatar files are looked up in (the window library's resource path, with
// its trailing backslash). The program installs the source once at start-up, before any window
// exists and before another thread asks for an avatar path; until then the folder is empty,
// which stands for the program's folder.
using ResourcePathSource = std::wstring (*)();
void SetResourcePathSource(ResourcePathSource source);

// The avatar cache file of a portrait id, "<skin>logo\<id>.png": the one path that both the
// look-up below and the download filling the cache use. A skin folder given relative (or empty)
// lies below the program's folder, so nothing is ever created in the working directory. Creates
// "<skin>logo" (an existing folder is fine). Empty, so that nothing is read or written, when the
// id is not a plain file name (1 to 128 of the ASCII letters, digits, '-', '_' and '.', not
// starting with '.', not a device name such as "nul" or "com1"), when the skin folder is tied to
// a drive's current folder or root ("C:skin", "\skin"), when the logo folder's path leaves no
// room for an 8.3 name (MAX_PATH - 12 characters or more: the system would not create it), or
// when the file's path would not fit MAX_PATH.
std::wstring GetPortraitCachePath(const std::string& portraitId);

// The avatar file of a portrait id: its cache file when that file exists, otherwise the bare
// default "profile picture-light.png"; id "1" always gives "profile picture-light1.png". Bare
// names are resolved by the window library in the skin folder. Creates "<skin>logo".
std::wstring GetPortraitPath(const std::string& portraitId);

// True when path opens for reading and is not the default avatar's bare name.
bool IsCustomPortraitFile(const std::string& path);

// True when the file could be opened or created: a missing file is created empty.
bool FileExists(const std::string& path);

}  // namespace ZuvraKestrum::Util
