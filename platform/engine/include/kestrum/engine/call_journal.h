#pragma once

#include <cstddef>
#include <initializer_list>
#include <mutex>
#include <string>

// The call journal of the stand-in libraries (not used by the program): one text line per call,
// kept in memory for the test hooks and, while the given environment variable names a file,
// also appended to that file (CR LF) so that a test can follow a program it started.
//
// Threads: every member may be called on any thread. A journal that calls may reach during
// process exit is made once and never destroyed.
namespace kestrum::standin {

class CallJournal {
public:
    explicit CallJournal(const wchar_t* fileVariable) : fileVariable_(fileVariable) {}
    CallJournal(const CallJournal&) = delete;
    CallJournal& operator=(const CallJournal&) = delete;

    void record(const std::string& line);
    std::string text() const;
    void clear();
    // Copies the journal into buffer, NUL-terminated and cut to capacity bytes; returns its full
    // length without the NUL. A null buffer or zero capacity only measures.
    size_t copyTo(char* buffer, size_t capacity) const;

private:
    void appendToFile(const std::string& line) const;

    const wchar_t* fileVariable_;
    mutable std::mutex lock_;
    std::string lines_;
};

// "name(arg1,arg2)": how every call is written.
std::string JournalCall(const char* name, std::initializer_list<std::string> arguments = {});

// A text argument as the journal shows it: its bytes, or "(null)".
std::string JournalText(const char* text);

}  // namespace kestrum::standin
