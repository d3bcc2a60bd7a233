#include "app/windows/share/window_shot_thread.h"

#include "app/windows/share/share_candidates.h"
#include "app/windows/share/share_messages.h"
#include "app/windows/share/share_rules.h"
#include "app/windows/share/window_shot.h"
#include "kestrum/core/util_system.h"
#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Share {

void WindowShotThread::start(std::vector<HWND> candidates, std::wstring folder, HWND target) {
    KESTRUM_CHECK_THREAD(owner_);
    stop();
    stop_ = false;
    running_ = !candidates.empty();
    if (candidates.empty()) return;
    thread_ = std::thread(&WindowShotThread::Run, std::move(candidates), std::move(folder), target,
                          GetCurrentProcessId(), &stop_, &running_);
}

void WindowShotThread::stop() {
    KESTRUM_CHECK_THREAD(owner_);
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    running_ = false;
}

void WindowShotThread::Run(std::vector<HWND> candidates, std::wstring folder, HWND target,
                           DWORD ownProcess, const std::atomic<bool>* stop,
                           std::atomic<bool>* running) {
    for (size_t position = 0; position < candidates.size() && !stop->load(); ++position) {
        Sleep(kPeriodMs);
        const HWND window = candidates[position];
        // Before the title: reading an own window's title sends that window a message, which
        // its thread (the UI thread, perhaps waiting for this one) would have to answer. The
        // handle may have been reused since the listing.
        const DWORD process = ProcessOf(window);
        if (stop->load() || process == 0 || process == ownProcess) continue;
        std::wstring title;
        ZuvraKestrum::Util::GetForegroundWindowTitle(title, window);
        if (title.empty()) continue;
        auto entry = NewRecord<ShareSourceEntry>();
        entry->window = window;
        entry->title = title;
        entry->imagePath = folder + ShotFileName(title, static_cast<int>(position));
        Snapshot(*entry);
        const std::string line =
            ">>>>>processName: " + ZuvraKestrum::Util::CStringToUtf8(title) + "\n";
        OutputDebugStringA(line.c_str());
        PostPayload<WM_SHARE_SOURCE_FOUND>(target, std::move(entry));
    }
    running->store(false);
}

}  // namespace ZuvraKestrum::Share
