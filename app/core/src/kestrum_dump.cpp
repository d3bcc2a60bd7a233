#include "kestrum/core/kestrum_dump.h"

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "kestrum/core/log_file.h"
#include "kestrum/core/util_lock_guard.h"
#include "kestrum/core/util_text.h"

using ZuvraKestrum::Util::CLock;
using ZuvraKestrum::Util::CLockGuard;
using ZuvraKestrum::Util::CLogFile;

namespace {

constexpr size_t kLineBufferSize = 1024;

struct LevelRow {
    int level;
    const char* name;
};

// Levels without a row, like the last one, are written with an empty name.
constexpr LevelRow kLevels[] = {
    {Level_Info, "Level_Info"},
    {Level_Debug, "Level_Debug"},
    {Level_Warning, "Level_Warning"},
    {Level_Error, "Level_Error"},
    {-1, ""},
};

const char* LevelName(int level) {
    for (const LevelRow& row : kLevels) {
        if (row.level == level) return row.name;
    }
    return "";
}

// Appends text with each control character escaped (as \r, \n, \t or \xHH), as long as
// line stays within limit bytes; an escape is never cut. What a message carries (a participant's
// name, a chat text) can then neither start a line of its own in the log nor reach a terminal
// that shows it as a command.
void AppendEscaped(const char* text, size_t limit, std::string& line) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (; *text; ++text) {
        const unsigned char c = static_cast<unsigned char>(*text);
        char piece[4] = {*text};
        size_t length = 1;
        if (c < 0x20 || c == 0x7F) {
            piece[0] = '\\';
            if (c == '\r' || c == '\n' || c == '\t') {
                piece[length++] = c == '\r' ? 'r' : c == '\n' ? 'n' : 't';
            } else {
                piece[length++] = 'x';
                piece[length++] = kHex[c >> 4];
                piece[length++] = kHex[c & 0xF];
            }
        }
        if (line.size() + length > limit) return;
        line.append(piece, length);
    }
}

// Deliberately leaked: exit-time destructors of other objects still log through it.
CLock& LogLock() {
    static CLock* lock = new CLock;
    return *lock;
}

// Guarded by the log lock.
CLogFile* sharedLogFile = nullptr;
int instanceCount = 0;

std::atomic<CKestrumDump::LocalTimeSource> localTimeSource{nullptr};

}  // namespace

CKestrumDump::CKestrumDump(const std::string& name, bool toFile, bool toDebugger, bool toConsole,
                           const std::wstring& logPath)
    : toFile_(toFile), toDebugger_(toDebugger), toConsole_(toConsole), name_(name) {
    CLockGuard guard(&LogLock());
    ++instanceCount;
    if (!logPath.empty() && !sharedLogFile) {
        sharedLogFile = new CLogFile;
        // A log that cannot be opened has said so on the console; its lines are then dropped,
        // and the program runs on without one.
        static_cast<void>(sharedLogFile->Open(logPath, OPEN_ALWAYS));
    }
}

CKestrumDump::~CKestrumDump() {
    bool closed = false;
    {
        CLockGuard guard(&LogLock());
        if (--instanceCount == 0 && sharedLogFile) {
            delete sharedLogFile;
            sharedLogFile = nullptr;
            closed = true;
        }
    }
    if (closed) debugTrace(L"CKestrumDump::~CKestrumDump");
}

void CKestrumDump::writeLine(int level, int line, const char* format, ...) {
    CLockGuard guard(&LogLock());
    if (!toFile_ && !toDebugger_ && !toConsole_) return;
    const SYSTEMTIME now = localTime();
    char prefix[kLineBufferSize];
    std::snprintf(prefix, sizeof prefix, "[%s] %04d%02d%02d:%02d%02d%02d:%03d [%s:%d] ",
                  LevelName(level), now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                  now.wSecond, now.wMilliseconds, name_.c_str(), line);
    va_list args;
    va_start(args, format);
    const std::string text = composeLine(prefix, format, args);
    va_end(args);
    if (toFile_ && sharedLogFile) sharedLogFile->Write(text);
    if (toDebugger_) {
        OutputDebugStringW(L"\r\n");
        OutputDebugStringW(ZuvraKestrum::Util::StringToCString(text).c_str());
    }
}

void CKestrumDump::debugTrace(const wchar_t* format, ...) {
    wchar_t buffer[kLineBufferSize] = {L'\n'};
    va_list args;
    va_start(args, format);
    std::vswprintf(buffer + 1, kLineBufferSize - 1, format, args);
    va_end(args);
    buffer[kLineBufferSize - 1] = L'\0';
    OutputDebugStringW(buffer);
}

void CKestrumDump::setLocalTimeSource(LocalTimeSource source) { localTimeSource.store(source); }

void CKestrumDump::writeToSharedFileUnlocked(const std::string& line) {
    if (sharedLogFile) sharedLogFile->Write(line);
}

SYSTEMTIME CKestrumDump::localTime() {
    SYSTEMTIME now = {};
    const LocalTimeSource source = localTimeSource.load();
    if (source) {
        source(&now);
    } else {
        GetLocalTime(&now);
    }
    return now;
}

std::string CKestrumDump::composeLine(const char* prefix, const char* format, va_list args) {
    std::string line(prefix, std::min(std::strlen(prefix), kLineBufferSize - 1));
    if (!format) return line;
    line.reserve(kLineBufferSize - 1);
    char message[kLineBufferSize] = {};
    std::vsnprintf(message, sizeof message, format, args);
    AppendEscaped(message, kLineBufferSize - 1, line);
    return line;
}
