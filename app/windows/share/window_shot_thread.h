#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "kestrum/common/thread_affinity.h"

namespace ZuvraKestrum::Share {

// The picker's snapshot thread: it goes through the candidate windows, one every kPeriodMs, and
// posts each that is still another program's window and has a name to the target window as an
// entry (WM_SHARE_SOURCE_FOUND, share_messages.h), its thumbnail written into the folder. It
// reads other programs' windows only and never sends a message to a window of this program, so
// the target's thread may wait for it.
//
// Threads: start, stop and the destructor on the owner's thread (checked in test builds);
// running on any. Ownership: the owner (the picker) ends it: stop and the destructor return only
// once the thread has ended, so that nothing is posted afterwards and the owner can free what is
// still queued.
class WindowShotThread {
public:
    // The pace: one window per period.
    static constexpr DWORD kPeriodMs = 40;

    WindowShotThread() = default;
    ~WindowShotThread() { stop(); }
    WindowShotThread(const WindowShotThread&) = delete;
    WindowShotThread& operator=(const WindowShotThread&) = delete;

    // Ends an earlier run, then goes through candidates; without candidates nothing starts.
    void start(std::vector<HWND> candidates, std::wstring folder, HWND target);
    // Ends the run, waiting for the window being shot; at once when none runs.
    void stop();
    // True while the thread has windows left.
    bool running() const { return running_.load(); }

private:
    static void Run(std::vector<HWND> candidates, std::wstring folder, HWND target,
                    DWORD ownProcess, const std::atomic<bool>* stop, std::atomic<bool>* running);

    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> running_{false};
    kestrum::common::ThreadAffinity owner_;
};

}  // namespace ZuvraKestrum::Share
