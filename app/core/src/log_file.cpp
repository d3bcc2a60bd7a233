#include "kestrum/core/log_file.h"

#include <cstdio>

#include "kestrum/core/log_folder.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Util {

namespace {

kestrum::common::ScopedHandle OpenHandle(const std::wstring& path, DWORD access,
                                         DWORD creationDisposition) {
    return kestrum::common::ScopedHandle(
        CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    creationDisposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

CLogFile::~CLogFile() { Close(); }

bool CLogFile::Open(const std::wstring& path, DWORD creationDisposition) {
    Close();
    handle_ = OpenHandle(path, GENERIC_READ | GENERIC_WRITE, creationDisposition);
    if (!handle_) {
        const DWORD error = GetLastError();
        std::printf("Create LogFile Failed !!!!!!\n");
        if (error == ERROR_ALREADY_EXISTS) std::printf("LogFile Already Exists !!!!\n");
    }
    lineMode_ = true;
    path_ = path;
    parts_ = 0;
    lines_ = 0;
    if (!handle_) return false;
    SetFilePointer(handle_.get(), 0, nullptr, FILE_END);
    PruneFolder();
    return true;
}

bool CLogFile::OpenForReading(const std::wstring& path) {
    Close();
    handle_ = OpenHandle(path, GENERIC_READ, OPEN_EXISTING);
    lineMode_ = false;
    return static_cast<bool>(handle_);
}

DWORD CLogFile::Read(void* buffer, DWORD count) {
    DWORD read = 0;
    if (!handle_) return 0;
    if (!ReadFile(handle_.get(), buffer, count, &read, nullptr)) {
        std::printf("read buffer from file failed!!!,retCode: %lu\n", GetLastError());
        return 0;
    }
    return read;
}

DWORD CLogFile::Write(std::string text) {
    ++lines_;
    if (lineMode_) {
        text += "\r\n";
        if (lines_ >= kMaxLines) RollOver();
    }
    if (!handle_) return 0;
    DWORD written = 0;
    if (!WriteFile(handle_.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                   nullptr)) {
        std::printf("write buffer failed..retCode: %lu!!!!!\n", GetLastError());
        return 0;
    }
    return written;
}

void CLogFile::Close() {
    handle_.reset();
    path_.clear();  // nothing to roll over: a closed file stays closed
}

std::wstring CLogFile::PartPath(const std::wstring& path, int part) {
    static const std::wstring kExtension = L".log";
    const bool hasExtension =
        path.size() > kExtension.size() &&
        path.compare(path.size() - kExtension.size(), kExtension.size(), kExtension) == 0;
    const std::wstring stem = hasExtension ? path.substr(0, path.size() - kExtension.size()) : path;
    return stem + L"." + std::to_wstring(part) + (hasExtension ? kExtension : L"");
}

void CLogFile::RollOver() {
    lines_ = 0;
    if (path_.empty()) return;
    handle_.reset();
    const bool moved = MoveAside();
    handle_ = OpenHandle(path_, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
    if (handle_) SetFilePointer(handle_.get(), 0, nullptr, FILE_END);
    if (moved) PruneFolder();
}

// A part name already taken (a file left by an earlier run of the same second) is skipped.
bool CLogFile::MoveAside() {
    constexpr int kNamesTried = 100;
    for (int part = parts_ + 1; part <= parts_ + kNamesTried; ++part) {
        if (MoveFileW(path_.c_str(), PartPath(path_, part).c_str())) {
            parts_ = part;
            return true;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

void CLogFile::PruneFolder() const {
    // A bare name would make the working directory the log folder.
    const std::wstring folder = GetDirNameW(path_);
    if (folder.empty()) return;
    PruneLogFolder(folder, GetFileNameW(path_));
}

}  // namespace ZuvraKestrum::Util
