#pragma once

#include <windows.h>

#include <string>

#include "kestrum/common/scoped_handle.h"

namespace ZuvraKestrum::Util {

// A log file written line by line that never grows past kMaxLines lines: the write that reaches
// the limit empties the file first and becomes its first line. Also reads small text files.
//
// Not thread-safe: the shared log file is used under the log lock (CKestrumDump); other
// objects belong to one thread. Owns its handle, closed by Close or the destructor.
class CLogFile {
public:
    static constexpr int kMaxLines = 10000;

    CLogFile() = default;
    ~CLogFile();
    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;

    // Opens (or, with OPEN_ALWAYS, creates) path for reading and writing in line mode, shared
    // with other readers and writers, positioned at the end. On failure prints a message to the
    // standard output and returns false; writes are then counted but go nowhere.
    [[nodiscard]] bool Open(const std::string& path, DWORD creationDisposition);

    // Opens an existing file for reading only, at its start, without line mode; never creates it.
    [[nodiscard]] bool OpenForReading(const std::string& path);

    // Reads up to count bytes at the current position; returns the bytes read (0 on failure).
    DWORD Read(void* buffer, DWORD count);

    // Writes text at the current position; in line mode appends CR LF and applies the line
    // limit. Returns the bytes written (0 without a file or on failure).
    DWORD Write(std::string text);

    void Close();

    bool IsOpen() const { return static_cast<bool>(handle_); }

private:
    void StartOver();

    kestrum::common::ScopedHandle handle_;
    int lines_ = 0;  // lines written since the last reset
    bool lineMode_ = false;
};

}  // namespace ZuvraKestrum::Util
