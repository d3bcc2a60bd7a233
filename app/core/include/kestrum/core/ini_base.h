#pragma once

#include <string>

namespace ZuvraKestrum::Util {

// One Windows initialisation file read and written through the system's profile functions, with
// no cache: every read sees the latest write. Narrow texts (path, section, key, value) are in
// the ANSI code page. Safe on any thread (the profile functions serialise file access).
class CIniBase {
public:
    // Keeps the path and creates an empty file there when none exists.
    explicit CIniBase(const std::string& path);
    virtual ~CIniBase() = default;

    // out := the value of key in section, whole whatever its length; the empty text when the
    // key or the file is missing. Returns out.
    std::string& ReadString(std::string& out, const std::string& section,
                            const std::string& key) const;

    // Writes value under key in section; false when the file cannot be written.
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value) const;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace ZuvraKestrum::Util
