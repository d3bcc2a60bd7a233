#pragma once

#include <string>

namespace kestrum::service {

// File paths cross the library boundary as UTF-8, like all its texts, and are opened with the
// wide Windows calls, so a name outside the ANSI code page works. Pure, any thread.

// The wide form of a UTF-8 path; false (wide untouched) when the path is empty, holds a NUL or is
// not valid UTF-8: no file is then opened, rather than a guessed one.
[[nodiscard]] bool WidePath(const std::string& utf8, std::wstring& wide);

// The name after the last '\' or '/' of a path (the whole path when it has neither).
std::string FileNameOf(const std::string& path);

}  // namespace kestrum::service
