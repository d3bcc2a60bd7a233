#include "kestrum/core/log_file.h"

#include <cstdio>

#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Util {

namespace {

kestrum::common::ScopedHandle OpenHandle(const std::string& path, DWORD access,
                                         DWORD creationDisposition) {
    return kestrum::common::ScopedHandle(
        CreateFileW(StringToCString(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, creationDisposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

CLogFile::~CLogFile() { Close(); }

bool CLogFile::Open(const std::string& path, DWORD creationDisposition) {
    Close();
    handle_ = OpenHandle(path, GENERIC_READ | GENERIC_WRITE, creationDisposition);
    if (!handle_) {
        const DWORD error = GetLastError();
        std::printf("Create LogFile Failed !!!!!!\n");
        if (error == ERROR_ALREADY_EXISTS) std::printf("LogFile Already Exists !!!!\n");
    }
    lineMode_ = true;
    if (handle_) SetFilePointer(handle_.get(), 0, nullptr, FILE_END);
    return static_cast<bool>(handle_);
}

bool CLogFile::OpenForReading(const std::string& path) {
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
        if (lines_ >= kMaxLines) StartOver();
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

void CLogFile::Close() { handle_.reset(); }

void CLogFile::StartOver() {
    lines_ = 0;
    if (!handle_) return;
    SetFilePointer(handle_.get(), 0, nullptr, FILE_BEGIN);
    SetEndOfFile(handle_.get());
}

}  // namespace ZuvraKestrum::Util
