#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "kestrum/common/scoped_handle.h"
#include "ui/base/thread/framework_thread.h"

// The program's framework thread: it starts the UI framework (render factory, resources of the
// default theme, the framework's string table, GDI+) on a loop of its own and is framework
// thread 0, the thread on which framework message boxes run their answer callbacks. Toasts and
// boxes are still created on the UI thread; this thread keeps the framework and its registry
// entry alive. In the program its loop never ends.
//
// Threads: constructed, run (RunLoopHere) and destroyed on one thread, the one LaunchMainThread
// starts; the hooks run there.
class MainThread : public kbase::FrameworkThread {
public:
    // The registry identifier the framework posts box answers to.
    static constexpr int kThreadId = 0;

    // started: an event to set once BeforeRun has started the framework, or null. Not owned: it
    // must stay open until the body has run BeforeRun.
    MainThread(std::string name, HANDLE started);
    // Repeats AfterRun's steps, which do nothing the second time.
    ~MainThread() override;

    // "<the program's folder>..\Resource\": the root of the framework's themes and languages.
    static std::wstring FrameworkRoot();

protected:
    void BeforeRun() override;
    void AfterRun() override;

private:
    void StopFramework();

    HANDLE started_;
};

// The start signal of a launched MainThread. Copyable; any copy may wait.
class MainThreadStart {
public:
    // Waits up to timeoutMs until the thread has started the framework; true when it has. After
    // a time-out the thread still goes on and may start later.
    [[nodiscard]] bool wait(DWORD timeoutMs) const;

private:
    friend MainThreadStart LaunchMainThread();
    // Shared with the thread: whichever lets go last closes the event, so a waiter that gave up
    // leaves the thread a valid handle.
    std::shared_ptr<kestrum::common::ScopedHandle> started_;
};

// Starts a detached thread that builds MainThread ("MainThread") and runs its UI loop there. The
// thread is never joined or stopped. Call once, on the UI thread.
MainThreadStart LaunchMainThread();
