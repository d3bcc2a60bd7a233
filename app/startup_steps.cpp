#include "app/startup_steps.h"

#include <string>

#include "kestrum/bugtrap/bugtrap_api.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/util_process.h"

namespace ZuvraKestrum::Startup {

namespace {

constexpr wchar_t kCrashAppName[] = L"Pelorin Bugtrap";
constexpr DWORD kCrashFlags = 5;
constexpr int kCrashActivity = 2;
constexpr char kCrashReporter[] = "Faultpost.exe";

void (*pendingStep)() = nullptr;

// A thread timer's message is the last a queue hands out, after posted, input and paint
// messages: it fires only when the windows' paints are done.
void CALLBACK RunPendingStep(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    void (*const step)() = pendingStep;
    pendingStep = nullptr;
    if (step) step();
}

}  // namespace

const wchar_t* AlreadyRunningText(int language) {
    return language == 0 ? L"Kestrum Application Already Running.." : L"Kestrum 程序已经启动.";
}

bool TakeInstanceMutex() {
    CreateMutexW(nullptr, TRUE, kInstanceMutexName);
    return GetLastError() != ERROR_ALREADY_EXISTS;
}

void WarnAlreadyRunning() {
    MessageBoxW(nullptr, AlreadyRunningText(CKestrumConfig::UserLanguage()), L"Warning",
                MB_ICONWARNING);
}

void InstallCrashHandler() {
    BT_SetAppName(kCrashAppName);
    BT_SetFlags(kCrashFlags);
    BT_InstallSehFilter();
}

void SetUpCrashReports() {
    BT_SetAppName(kCrashAppName);
    BT_InstallSehFilter();
    const std::wstring folder = Util::GetCrashFolder();
    BT_SetFlags(kCrashFlags);
    BT_SetActivityType(kCrashActivity);
    BT_SetReportFilePath(folder.c_str());
}

void RestartCrashReporter() {
    int killed = 0;
    Util::KillProcessByName(kCrashReporter, killed);
    Util::StartProcess(kCrashReporter, "");
}

void AfterPendingPaints(void (*step)()) {
    pendingStep = step;
    SetTimer(nullptr, 0, 0, &RunPendingStep);
}

}  // namespace ZuvraKestrum::Startup
