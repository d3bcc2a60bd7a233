#pragma once

#include <windows.h>

// The steps of the program's start-up that talk to the system, the crash handler and the crash
// reporter, in the order WinMain takes them. Each runs once, on the UI thread.
namespace ZuvraKestrum::Startup {

// The named mutex that marks the running instance.
constexpr wchar_t kInstanceMutexName[] = L"Kestrum_Windows";

// The warning of a second instance in the language (0 English, any other value Chinese).
const wchar_t* AlreadyRunningText(int language);

// Creates the instance mutex, initially owned; true when no other instance holds it. The handle
// is kept for the rest of the process, which frees it when it ends.
[[nodiscard]] bool TakeInstanceMutex();

// The warning box of a second instance, in the user's language (the configuration has not been
// read yet); returns when the user has closed it.
void WarnAlreadyRunning();

// The crash handler's first set-up: application name, flags, the exception filter.
void InstallCrashHandler();

// The crash handler's report set-up: name and filter again, then the flags, the activity type
// and the report folder "<program folder>Faultpost" (created when missing).
void SetUpCrashReports();

// Ends every running "Faultpost.exe" and starts a fresh one from the program folder. Neither
// result is looked at: the crash reporter may be missing.
void RestartCrashReporter();

// Runs step on this thread from its message loop once nothing but timers is left in its queue,
// that is after the windows shown so far have had their first paint. One step at a time: a
// second call before the first step has run replaces it.
void AfterPendingPaints(void (*step)());

}  // namespace ZuvraKestrum::Startup
