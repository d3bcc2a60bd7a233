#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

// Log levels of CKestrumDump::writeLine.
enum KestrumLogLevel { Level_Info = 0, Level_Debug = 1, Level_Warning = 2, Level_Error = 3 };

// Logging base of every window and service of the program. All objects write into one shared,
// process-wide log file; each line reads
//     [Level_Info] 20190812:101500:123 [CKestrumCourse:377] <message>
// (level name, local time to the millisecond, the object's logging name and the caller's source
// line). The shared file opens with the first object given a log path and closes when the last
// object goes; it never holds more than 10000 lines (see CLogFile).
//
// Threads: writeLine may be called on any thread: one process-wide log lock is held for the
// whole of each line, so lines never interleave. Objects may be created and destroyed on any
// thread. The log lock is never destroyed, so objects that log from exit-time destructors
// still write safely.
//
// The console sink of the design is not built: its switch is never on in this program, so the
// "to console" flag is kept but writes nothing.
class CKestrumDump {
public:
    CKestrumDump(const std::string& name, bool toFile, bool toDebugger, bool toConsole,
                 const std::string& logPath);
    virtual ~CKestrumDump();
    CKestrumDump(const CKestrumDump&) = delete;
    CKestrumDump& operator=(const CKestrumDump&) = delete;

    // Writes one line at level (a KestrumLogLevel; other values get the name "") from source
    // line `line`; format and arguments as printf ("%s" narrow, "%ls" wide). The line is cut to
    // 1023 bytes. Logging never fails towards the caller.
    void writeLine(int level, int line, const char* format, ...)
        __attribute__((format(gnu_printf, 4, 5)));

    // Sends "\n" and the formatted text (cut to 1023 characters) to the debugger output.
    static void debugTrace(const wchar_t* format, ...);

    const std::string& name() const { return name_; }

    // Where line stamps take the local time from: null restores GetLocalTime. For tests that
    // need fixed stamps; set it while no other thread logs.
    using LocalTimeSource = void (*)(SYSTEMTIME* now);
    static void setLocalTimeSource(LocalTimeSource source);

protected:
    // Appends a finished line to the shared log file, if one is open, without taking the log
    // lock: only for start-up traces on the UI thread while no other thread logs.
    static void writeToSharedFileUnlocked(const std::string& line);

    // The local time as line stamps use it.
    static SYSTEMTIME localTime();

    // prefix followed by the formatted message, cut so that the line and a NUL fit 1024 bytes.
    static std::string composeLine(const char* prefix, const char* format, va_list args);

private:
    bool toFile_;
    bool toDebugger_;
    bool toConsole_;
    std::string name_;
};
