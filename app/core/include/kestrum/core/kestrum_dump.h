#pragma once

#include <windows.h>

#include <cstdarg>
#include <cstddef>
#include <string>

// Log levels of CKestrumDump::writeLine and KESTRUM_LOG.
enum KestrumLogLevel { Level_Info = 0, Level_Debug = 1, Level_Warning = 2, Level_Error = 3 };

// Logging base of every window and service of the program. All objects write into one shared,
// process-wide log file; each line reads
//     [Level_Info] 20190812:101500:123 [CKestrumCourse:377] <message>
// (level name, local time to the millisecond, the object's logging name and the caller's source
// line). The shared file opens with the first object given a log path and closes when the last
// object goes; every 10000 lines it rolls over to a new file at the same path, the earlier ones
// kept beside it within the log folder's bound (see CLogFile).
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
                 const std::wstring& logPath);
    virtual ~CKestrumDump();
    CKestrumDump(const CKestrumDump&) = delete;
    CKestrumDump& operator=(const CKestrumDump&) = delete;

    // Writes one line at level (a KestrumLogLevel; other values get the name "") from source
    // line `line`; format and arguments as printf ("%s" narrow, "%ls" wide). Control characters
    // of the message are written as escapes (\r, \n, \t, \x1B), so one call is one line
    // whatever its texts hold. The line is cut to 1023 bytes. Logging never fails towards the
    // caller.
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

    // prefix followed by the formatted message with its control characters escaped, cut so that
    // the line and a NUL fit 1024 bytes.
    static std::string composeLine(const char* prefix, const char* format, va_list args);

private:
    bool toFile_;
    bool toDebugger_;
    bool toConsole_;
    std::string name_;
};

// KESTRUM_LOG(level, format, ...): writeLine from inside a member of a CKestrumDump, with the
// caller's source line and its function's name put before the message, as in
//     KESTRUM_LOG(Level_Info, "(%d)", mute);   // in CKestrumCourse::roomctrl_audio
// which writes the same line as
//     writeLine(Level_Info, __LINE__, "%s(%d)", "CKestrumCourse::roomctrl_audio", mute);
// format must be a string literal; an empty one logs the name alone. The name is worked out
// while compiling (see LogFunctionName), so a call costs what the spelled-out writeLine costs.
#define KESTRUM_LOG(level, format, ...)                                 \
    do {                                                                \
        static constexpr auto kestrumLogFunction =                      \
            ::ZuvraKestrum::Util::LogFunctionName(__PRETTY_FUNCTION__); \
        writeLine(level, __LINE__, "%s" format,                         \
                  kestrumLogFunction.text __VA_OPT__(, ) __VA_ARGS__);  \
    } while (0)

namespace ZuvraKestrum::Util {

// A function's name as log lines spell it, in a buffer as long as the signature it came from.
template <size_t N>
struct LogName {
    char text[N] = {};
};

namespace LogNameParts {

struct Parts {
    size_t scopeBegin, scopeEnd;  // empty when the function has no scope to show
    size_t nameBegin, nameEnd;
};

constexpr bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

constexpr bool IsOperatorKeyword(const char* text, size_t size, size_t at) {
    constexpr char kKeyword[] = "operator";
    constexpr size_t kLength = sizeof kKeyword - 1;
    if (at + kLength > size || (at > 0 && IsNameChar(text[at - 1]))) return false;
    for (size_t i = 0; i < kLength; ++i) {
        if (text[at + i] != kKeyword[i]) return false;
    }
    return at + kLength == size || !IsNameChar(text[at + kLength]);
}

// End of an operator's name starting at `at`: its parameter list, past the "()" of operator().
constexpr size_t OperatorNameEnd(const char* text, size_t size, size_t at) {
    size_t end = at + sizeof "operator" - 1;
    if (end + 1 < size && text[end] == '(' && text[end + 1] == ')') end += 2;
    while (end < size && text[end] != '(') ++end;
    return end;
}

constexpr size_t TemplateArgumentsBegin(const char* text, size_t begin, size_t end) {
    size_t at = begin;
    while (at < end && text[at] != '<') ++at;
    return at;
}

constexpr bool IsUnnamedNamespace(const char* text, size_t begin, size_t end) {
    constexpr char kUnnamed[] = "{anonymous}";
    if (end - begin != sizeof kUnnamed - 1) return false;
    for (size_t i = 0; i < end - begin; ++i) {
        if (text[begin + i] != kUnnamed[i]) return false;
    }
    return true;
}

// Reads GCC's signature left to right: the return type ends at a space, '*' or '&' outside
// template arguments, the qualified name at the first '(' that follows a name. That first
// parameter list is the outermost function's, so a lambda or a local class logs as the function
// around it.
constexpr Parts Split(const char* text, size_t size) {
    size_t scopeBegin = size, scopeEnd = size, nameBegin = 0;
    int depth = 0;
    size_t at = 0;
    for (; at < size; ++at) {
        const char c = text[at];
        if (depth == 0 && IsOperatorKeyword(text, size, at)) {
            return {scopeBegin, scopeEnd, at, OperatorNameEnd(text, size, at)};
        }
        if (c == '<') {
            ++depth;
        } else if (c == '>') {
            if (depth > 0) --depth;
        } else if (depth > 0) {
            continue;
        } else if (c == ':' && at + 1 < size && text[at + 1] == ':') {
            scopeBegin = nameBegin;
            scopeEnd = at;
            nameBegin = at + 2;
            ++at;
        } else if (c == '(' && at > nameBegin &&
                   (IsNameChar(text[at - 1]) || text[at - 1] == '>')) {
            break;
        } else if (c == ' ' || c == '*' || c == '&' || c == '(') {
            scopeBegin = scopeEnd = size;
            nameBegin = at + 1;
        }
    }
    return {scopeBegin, scopeEnd, nameBegin, TemplateArgumentsBegin(text, nameBegin, at)};
}

}  // namespace LogNameParts

// "Class::method" out of GCC's __PRETTY_FUNCTION__: the function's name and the class or
// namespace right around it, without template arguments, return type or parameters. So
//     "void ns::CList<T>::add(const T&) [with T = int]"  gives  "CList::add",
// constructors, destructors and operators give "CList::CList", "CList::~CList",
// "CList::operator==", and a free function "ns::Load", or "Load" when it sits in no namespace
// or in an unnamed one.
template <size_t N>
constexpr LogName<N> LogFunctionName(const char (&signature)[N]) {
    const LogNameParts::Parts parts = LogNameParts::Split(signature, N - 1);
    LogName<N> name;
    size_t out = 0;
    const size_t scopeEnd =
        LogNameParts::TemplateArgumentsBegin(signature, parts.scopeBegin, parts.scopeEnd);
    if (parts.scopeBegin < scopeEnd &&
        !LogNameParts::IsUnnamedNamespace(signature, parts.scopeBegin, scopeEnd)) {
        for (size_t at = parts.scopeBegin; at < scopeEnd; ++at) name.text[out++] = signature[at];
        name.text[out++] = ':';
        name.text[out++] = ':';
    }
    for (size_t at = parts.nameBegin; at < parts.nameEnd; ++at) name.text[out++] = signature[at];
    return name;
}

}  // namespace ZuvraKestrum::Util
