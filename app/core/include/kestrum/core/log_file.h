#pragma once

#include <windows.h>

#include <string>

#include "kestrum/common/scoped_handle.h"

namespace ZuvraKestrum::Util {

// A log file written line by line that never grows past kMaxLines lines: the write that reaches
// the limit moves the full file aside as "<name>.<n>.log" (n = 1, 2, ... in the order they
// filled; "<path>.<n>" for a path not ending in ".log") and becomes the first line of a new file
// at the same path, so the path always names the newest lines and the earlier ones are kept.
// Opening and each roll-over keep the file's folder within the log folder's bound (log_folder.h),
// never removing the file being written. Also reads small text files.
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
    // with other readers and writers, positioned at the end, and prunes its folder. On failure
    // prints a message to the standard output and returns false; writes are then counted but go
    // nowhere.
    [[nodiscard]] bool Open(const std::wstring& path, DWORD creationDisposition);

    // Opens an existing file for reading only, at its start, without line mode; never creates it.
    [[nodiscard]] bool OpenForReading(const std::wstring& path);

    // Reads up to count bytes at the current position; returns the bytes read (0 on failure).
    DWORD Read(void* buffer, DWORD count);

    // Writes text at the current position; in line mode appends CR LF and applies the line
    // limit. Returns the bytes written (0 without a file or on failure). A full file that cannot
    // be moved aside (another program holds it) takes the next kMaxLines lines too, and the move
    // is tried again after them.
    DWORD Write(std::string text);

    void Close();

    bool IsOpen() const { return static_cast<bool>(handle_); }

    // Where the nth full file is moved to.
    static std::wstring PartPath(const std::wstring& path, int part);

private:
    void RollOver();
    [[nodiscard]] bool MoveAside();
    void PruneFolder() const;

    kestrum::common::ScopedHandle handle_;
    std::wstring path_;  // of the file opened in line mode
    int lines_ = 0;      // lines written since the last roll-over
    int parts_ = 0;      // full files moved aside
    bool lineMode_ = false;
};

}  // namespace ZuvraKestrum::Util
