#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Finding, ending and starting processes. Re-entrant and safe on any thread; the calls that
// wait say so.
namespace ZuvraKestrum::Util {

// Returned by FindProcessIdByName when no process matches.
constexpr DWORD kNoProcessId = 0xFFFFFFFF;

// Id of the first running process whose executable name (in the ANSI code page) equals name
// exactly, case included; kNoProcessId when there is none or the process list cannot be read.
DWORD FindProcessIdByName(const std::string& name);

// Ends every running process with that executable name. count is raised once per process that
// was told to terminate. Each termination waits up to 2 s for the process to end; a process that
// cannot be opened, or that is still running after two attempts, is left alone, so the call
// always returns (after at most about 4 s per such process). Returns true.
bool KillProcessByName(const std::string& name, int& count);

// Ends the own process at once with exit code 0; returns only if that fails (after a 2 s wait).
void TerminateSelf();

// Starts "<program folder><name>" hidden, in a new console, with the command line
// "\"<program folder><name>\" <arguments>" (arguments in the ANSI code page, passed as they
// are). Does not wait. Returns the new process's id, 0 when it could not be started.
DWORD StartProcess(const std::string& name, const std::string& arguments);

// A running process as the system lists it.
struct RunningProcess {
    std::wstring exeName;
    DWORD id;
};

// The running processes in the order the system lists them; empty when the list cannot be read.
std::vector<RunningProcess> RunningProcesses();

// Full path of a process's executable; empty when the process cannot be read.
std::wstring GetProcessImagePath(DWORD processId);

}  // namespace ZuvraKestrum::Util
