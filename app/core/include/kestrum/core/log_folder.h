#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// How much the log folder keeps. Every start writes new log files and every full log file rolls
// over to a new one, so without a bound the folder would only grow. It keeps the newest log
// files ("*.log") that fit in 50 MiB, at most 30 of them: a full file of 10,000 lines takes 1 to
// 2 MiB with the program's usual lines (10 MiB at the very most), so the bound holds the last
// dozen starts or some 300,000 lines of one long meeting, and at least the last five full files
// of the longest lines.
//
// Threads: pure functions, any thread; PruneLogFolder touches only the folder it is given.
namespace ZuvraKestrum::Util {

struct LogFolderBound {
    size_t maxFiles;
    uint64_t maxBytes;
};
inline constexpr LogFolderBound kLogFolderBound{30, uint64_t{50} << 20};

struct LogFileInfo {
    std::wstring name;
    uint64_t bytes = 0;
    uint64_t written = 0;  // last write time (FILETIME ticks)
};

// The names of the files to remove so that the others keep within bound: the most recently
// written are kept, up to the first that does not fit; it and every older file go. The file named
// inUse (the one being written) is always kept, and counted first.
std::vector<std::wstring> LogFilesBeyond(std::vector<LogFileInfo> files, const std::wstring& inUse,
                                         const LogFolderBound& bound);

// Removes the log files of folder (ending in a backslash) that LogFilesBeyond names. A file that
// cannot be removed (another program writes it) stays.
void PruneLogFolder(const std::wstring& folder, const std::wstring& inUse,
                    const LogFolderBound& bound = kLogFolderBound);

}  // namespace ZuvraKestrum::Util
