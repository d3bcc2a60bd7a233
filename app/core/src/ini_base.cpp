#include "kestrum/core/ini_base.h"

#include <windows.h>

#include "kestrum/common/scoped_handle.h"
#include "kestrum/common/utf.h"
#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Util {

namespace {

using kestrum::common::ScopedHandle;

constexpr DWORD kFirstReadSize = 256;
// Tokens run to a few hundred characters; this only stops a runaway file.
constexpr DWORD kMaxReadSize = 1u << 20;
// A settings file is a few kilobytes; a larger one is not rewritten.
constexpr LONGLONG kMaxConvertedSize = 1 << 24;

const std::string kUtf16Mark = "\xFF\xFE";
const std::string kUtf8Mark = "\xEF\xBB\xBF";

bool StartsWith(const std::string& bytes, const std::string& prefix) {
    return bytes.compare(0, prefix.size(), prefix) == 0;
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    const ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxConvertedSize) {
        return false;
    }
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    return bytes.empty() ||
           (ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) &&
            read == bytes.size());
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes, DWORD disposition) {
    const ScopedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

// The profile functions write a file in the encoding they find it in, and a file without a byte
// order mark is in the ANSI code page, which on a Western system turns a Chinese name into "?".
void MakeUtf16File(const std::wstring& path) {
    if (WriteWholeFile(path, kUtf16Mark, CREATE_NEW)) return;
    if (GetLastError() != ERROR_FILE_EXISTS) return;
    std::string bytes;
    if (!ReadWholeFile(path, bytes) || StartsWith(bytes, kUtf16Mark)) return;
    const std::wstring text =
        StartsWith(bytes, kUtf8Mark)
            ? kestrum::common::Utf8ToWide(std::string_view(bytes).substr(kUtf8Mark.size()))
            : StringToCString(bytes);
    std::string converted = kUtf16Mark;
    converted.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    // Written beside the file and moved over it, so that a failure halfway leaves the old file
    // whole rather than a cut one; named for the process, so that two never share it.
    const std::wstring replacement = path + L"." + std::to_wstring(GetCurrentProcessId()) + L".new";
    if (!WriteWholeFile(replacement, converted, CREATE_ALWAYS) ||
        !MoveFileExW(replacement.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(replacement.c_str());
    }
}

}  // namespace

CIniBase::CIniBase(const std::wstring& path) : path_(path) { MakeUtf16File(path_); }

std::string& CIniBase::ReadString(std::string& out, const std::string& section,
                                  const std::string& key) const {
    std::wstring value;
    out = CStringToString(ReadString(value, section, key));
    return out;
}

std::wstring& CIniBase::ReadString(std::wstring& out, const std::string& section,
                                   const std::string& key) const {
    const std::wstring wideSection = StringToCString(section);
    const std::wstring wideKey = StringToCString(key);
    // A value that fills the buffer up to the last character may have been cut: read again
    // with a larger buffer.
    for (DWORD size = kFirstReadSize; size <= kMaxReadSize; size *= 2) {
        out.assign(size, L'\0');
        const DWORD length = GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), L"",
                                                      &out[0], size, path_.c_str());
        out.resize(length);
        if (length < size - 1) break;
    }
    return out;
}

bool CIniBase::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) const {
    return WriteString(section, key, StringToCString(value));
}

bool CIniBase::WriteString(const std::string& section, const std::string& key,
                           const std::wstring& value) const {
    return WritePrivateProfileStringW(StringToCString(section).c_str(),
                                      StringToCString(key).c_str(), value.c_str(),
                                      path_.c_str()) != FALSE;
}

}  // namespace ZuvraKestrum::Util
