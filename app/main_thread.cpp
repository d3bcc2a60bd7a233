#include "app/main_thread.h"

#include <memory>
#include <thread>
#include <utility>

#include "ui/base/resource/resource_hub.h"
#include "ui/base/thread/thread_registry.h"
#include "ui/base/util/module_path.h"

namespace {

constexpr wchar_t kTheme[] = L"themes\\default";
// The framework's own strings are always the Chinese file; the program's windows pick their
// language by the language flag instead.
constexpr wchar_t kLanguage[] = L"lang\\zh_CN";

}  // namespace

MainThread::MainThread(std::string name, HANDLE started)
    : kbase::FrameworkThread(std::move(name)), started_(started) {}

MainThread::~MainThread() { StopFramework(); }

std::wstring MainThread::FrameworkRoot() { return kbase::ModuleDirectory() + L"..\\Resource\\"; }

void MainThread::BeforeRun() {
    kbase::ThreadRegistry::RegisterCurrentThread(kThreadId);
    ui::ResourceHub::Start(FrameworkRoot(), ui::CreateControlCallback(), false, kTheme, kLanguage);
    if (started_) SetEvent(started_);
}

void MainThread::AfterRun() { StopFramework(); }

void MainThread::StopFramework() {
    ui::ResourceHub::Stop();
    kbase::FrameworkThread::MarkExitedCleanly(true);
    kbase::ThreadRegistry::UnregisterCurrentThread();
}

bool MainThreadStart::wait(DWORD timeoutMs) const {
    return started_ && *started_ &&
           WaitForSingleObject(started_->get(), timeoutMs) == WAIT_OBJECT_0;
}

MainThreadStart LaunchMainThread() {
    MainThreadStart start;
    start.started_ = std::make_shared<kestrum::common::ScopedHandle>(
        CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread([started = start.started_] {
        MainThread thread("MainThread", started->get());
        thread.RunLoopHere(kbase::FrameworkThread::kUILoop, nullptr);
    }).detach();
    return start;
}
