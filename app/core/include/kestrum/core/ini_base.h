#pragma once

#include <string>

namespace ZuvraKestrum::Util {

// One Windows initialisation file read and written through the system's profile functions, with
// no cache: every read sees the latest write. The file is kept in UTF-16LE with a byte order mark,
// the form in which the profile functions store any character whatever the ANSI code page.
// Narrow texts (path, section, key and the values of the narrow overloads) are in the ANSI code
// page; the wide overloads carry values the code page may lack. Safe on any thread (the profile
// functions serialise file access), except that two objects must not be constructed for the
// same file at the same time.
class CIniBase {
public:
    // Keeps the path and makes the file UTF-16LE: a missing file is created as a bare byte order
    // mark; an existing file in the ANSI code page (or UTF-8 with a byte order mark) is rewritten
    // once, its text kept. A file that cannot be read or replaced is left as it is (the profile
    // functions then keep its encoding).
    explicit CIniBase(const std::wstring& path);
    virtual ~CIniBase() = default;

    // out := the value of key in section, whole whatever its length; the empty text when the
    // key or the file is missing. Returns out. The narrow form turns characters the ANSI code
    // page lacks into its default character.
    std::string& ReadString(std::string& out, const std::string& section,
                            const std::string& key) const;
    std::wstring& ReadString(std::wstring& out, const std::string& section,
                             const std::string& key) const;

    // Writes value under key in section; false when the file cannot be written.
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value) const;
    bool WriteString(const std::string& section, const std::string& key,
                     const std::wstring& value) const;

    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

}  // namespace ZuvraKestrum::Util
