#include "kestrum/core/ini_base.h"

#include <windows.h>

#include "kestrum/core/util_path.h"
#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Util {

namespace {

constexpr DWORD kFirstReadSize = 256;
// Tokens run to a few hundred characters; this only stops a runaway file.
constexpr DWORD kMaxReadSize = 1u << 20;

}  // namespace

CIniBase::CIniBase(const std::string& path) : path_(path) { FileExists(path_); }

std::string& CIniBase::ReadString(std::string& out, const std::string& section,
                                  const std::string& key) const {
    const std::wstring wideSection = StringToCString(section);
    const std::wstring wideKey = StringToCString(key);
    const std::wstring widePath = StringToCString(path_);
    std::wstring value;
    // A value that fills the buffer up to the last character may have been cut: read again
    // with a larger buffer.
    for (DWORD size = kFirstReadSize; size <= kMaxReadSize; size *= 2) {
        value.assign(size, L'\0');
        const DWORD length = GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), L"",
                                                      &value[0], size, widePath.c_str());
        value.resize(length);
        if (length < size - 1) break;
    }
    out = CStringToString(value);
    return out;
}

bool CIniBase::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) const {
    return WritePrivateProfileStringW(StringToCString(section).c_str(),
                                      StringToCString(key).c_str(),
                                      StringToCString(value).c_str(),
                                      StringToCString(path_).c_str()) != FALSE;
}

}  // namespace ZuvraKestrum::Util
