#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "kestrum/common/scoped_handle.h"
#include "temp_folder.h"

// The staged installation (bin\, Resource\, version.txt beside the test programs' ..\stage\)
// copied into a temporary folder of its own, without what earlier runs of the staged program left
// there, so that the program's configuration file, logs and crash-report folder start empty and
// go with the copy. Programs still running from the copy are ended before it goes.
// Threads: one test thread.
class StagedCopy {
public:
    // installFolder: a name for the installation's folder inside the temporary one (none: the
    // temporary folder itself), as a user may choose when installing.
    explicit StagedCopy(const std::wstring& installFolder = std::wstring());
    ~StagedCopy();
    StagedCopy(const StagedCopy&) = delete;
    StagedCopy& operator=(const StagedCopy&) = delete;

    // False when the staged installation could not be copied.
    bool ready() const { return ready_; }
    // The program folder, with its backslash.
    const std::wstring& bin() const { return bin_; }
    std::wstring program() const { return bin_ + L"Pelorin.exe"; }
    // Replaces the installation's version ("..\version.txt"); false when it cannot be written.
    bool setVersion(const std::string& version) const;

    // The text of the program's log files so far; clearLog deletes them.
    std::string log() const;
    void clearLog() const;

    // Ends every process whose executable lies in the copy's program folder and is named name.
    // The number ended.
    int endProcesses(const wchar_t* name) const;
    // Ids of the running processes named name whose executable lies in the copy.
    std::vector<DWORD> processes(const wchar_t* name) const;

private:
    TempFolder root_;
    std::wstring install_;  // with its backslash
    std::wstring bin_;
    bool ready_ = false;
};

// One started program. Its standard output and error go to a file that output() reads; the
// process is ended, if it still runs, when the object goes.
// Threads: one test thread.
class StartedProgram {
public:
    // Starts "<path>" with the test process's environment (set variables before starting).
    // outputFile: where the output goes (created anew).
    StartedProgram(const std::wstring& path, const std::wstring& outputFile);
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool started() const { return static_cast<bool>(process_); }
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_.get(); }

    // True while the process runs.
    bool running() const;
    // Waits for the end (tests' timeout); its exit code, or -1 when it did not end.
    int waitForExit() const;
    // What the program wrote to its standard output and error so far.
    std::string output() const;

    // The program's visible top-level window with this title, waiting for it (tests' timeout);
    // null when none came, or when the program ended first.
    HWND awaitWindow(const wchar_t* title) const;
    // The same without waiting; hidden windows count when asked for.
    HWND findWindow(const wchar_t* title, bool hiddenToo = false) const;

private:
    kestrum::common::ScopedHandle process_;
    DWORD id_ = 0;
    std::wstring outputFile_;
};

// A click as the mouse makes it, posted to a window (of any process) at a client point.
void ClickAt(HWND window, POINT at);

// The texts of a window's child windows, in their order.
std::vector<std::wstring> ChildTexts(HWND window);

// The whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::wstring& path);

// The lines of a text (without their line ends, "\r" included).
std::vector<std::string> Lines(const std::string& text);
