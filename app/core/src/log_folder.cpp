#include "kestrum/core/log_folder.h"

#include <windows.h>

#include <algorithm>

namespace ZuvraKestrum::Util {

namespace {

uint64_t Ticks(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::vector<LogFileInfo> LogFilesIn(const std::wstring& folder) {
    std::vector<LogFileInfo> files;
    WIN32_FIND_DATAW found = {};
    const HANDLE search = FindFirstFileW((folder + L"*.log").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const uint64_t bytes =
            (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        files.push_back(LogFileInfo{found.cFileName, bytes, Ticks(found.ftLastWriteTime)});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return files;
}

}  // namespace

std::vector<std::wstring> LogFilesBeyond(std::vector<LogFileInfo> files, const std::wstring& inUse,
                                         const LogFolderBound& bound) {
    // The file in use first, then the newest; equal times by name, the later part first.
    std::sort(files.begin(), files.end(), [&inUse](const LogFileInfo& a, const LogFileInfo& b) {
        if ((a.name == inUse) != (b.name == inUse)) return a.name == inUse;
        if (a.written != b.written) return a.written > b.written;
        return a.name > b.name;
    });
    std::vector<std::wstring> beyond;
    size_t kept = 0;
    uint64_t keptBytes = 0;
    bool full = false;  // from the first file that does not fit, every older one goes too
    for (const LogFileInfo& file : files) {
        full = full || kept >= bound.maxFiles || keptBytes > bound.maxBytes ||
               file.bytes > bound.maxBytes - keptBytes;
        if (full && file.name != inUse) {
            beyond.push_back(file.name);
            continue;
        }
        ++kept;
        keptBytes += file.bytes;
    }
    return beyond;
}

void PruneLogFolder(const std::wstring& folder, const std::wstring& inUse,
                    const LogFolderBound& bound) {
    for (const std::wstring& name : LogFilesBeyond(LogFilesIn(folder), inUse, bound)) {
        DeleteFileW((folder + name).c_str());
    }
}

}  // namespace ZuvraKestrum::Util
