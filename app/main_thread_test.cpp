#include "app/main_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "kestrum/common/scoped_handle.h"
#include "kestrum/core/framework_invite_box_ui.h"
#include "kestrum/core/msgbox_ansy_manager.h"
#include "kestrum/testing/win_wait.h"
#include "message_window.h"
#include "ui/base/render/render_context.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/thread/thread_registry.h"
#include "ui/windowing/msgbox/msg_box.h"

// MainThread as the program runs it, in this process: the test thread stands for the program's
// UI thread. The tests keep their order: the first runs a MainThread to its end, the others share
// the one LaunchMainThread starts, which, as in the program, never ends.

namespace {

using kestrum::testing_support::PumpUntil;
using kestrum::testing_support::WaitForHandle;

// The framework's path of the default theme below the program's resources.
std::wstring ThemePath() { return MainThread::FrameworkRoot() + L"themes\\default\\"; }

TEST(MainThreadTest, RunToItsEndItStopsTheFrameworkAndGivesUpThreadZero) {
    const kestrum::common::ScopedHandle started(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<MainThread*> running{nullptr};
    std::thread body([&] {
        MainThread thread("MainThread", started.get());
        running = &thread;
        thread.RunLoopHere(kbase::FrameworkThread::kUILoop, nullptr);
    });
    ASSERT_TRUE(WaitForHandle(started.get()));
    EXPECT_EQ(ui::ResourceHub::ResourcePath(), ThemePath());
    EXPECT_NE(ui::ResourceHub::MakeRenderContext(), nullptr);
    EXPECT_NE(kbase::ThreadRegistry::GetLoopProxy(MainThread::kThreadId), nullptr);

    running.load()->RequestStop();
    body.join();
    EXPECT_EQ(ui::ResourceHub::MakeRenderContext(), nullptr);
    EXPECT_EQ(kbase::ThreadRegistry::GetLoopProxy(MainThread::kThreadId), nullptr);
}

// The MainThread of the remaining tests, launched once.
const MainThreadStart& Launched() {
    static const MainThreadStart start = LaunchMainThread();
    return start;
}

// Waits for the framework's start on the tests' timeout: a busy machine takes its time.
bool LaunchedStarted() {
    return Launched().wait(static_cast<DWORD>(kestrum::testing_support::TestTimeout().count()));
}

TEST(MainThreadTest, OnceStartedTheFrameworkRunsOnThreadZeroForTheUiThread) {
    ASSERT_TRUE(LaunchedStarted());
    EXPECT_EQ(ui::ResourceHub::ResourcePath(), ThemePath());
    EXPECT_NE(ui::ResourceHub::MakeRenderContext(), nullptr);

    const kestrum::common::ScopedHandle ran(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<DWORD> taskThread{0};
    ASSERT_TRUE(kbase::ThreadRegistry::PostTask(MainThread::kThreadId, [&] {
        taskThread = GetCurrentThreadId();
        SetEvent(ran.get());
    }));
    ASSERT_TRUE(WaitForHandle(ran.get()));
    EXPECT_NE(taskThread.load(), GetCurrentThreadId());
}

// An invitation box shown on the UI thread and answered there: the framework runs the answer on
// thread 0, which hands it on to the window that asked.
class MainThreadBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LaunchedStarted());
        parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                                  nullptr, nullptr, nullptr);
        CMsgBoxAnsyManager::setBoxUi(&ui_);
    }
    void TearDown() override {
        CMsgBoxAnsyManager::destroyInstance();
        CMsgBoxAnsyManager::setBoxUi(nullptr);
        DestroyWindow(parent_);
    }

    CFrameworkInviteBoxUi ui_;
    MessageWindow notify_;
    HWND parent_ = nullptr;
};

TEST_F(MainThreadBoxTest, TheAnswerOfAnInvitationBoxReachesTheWindowThatAsked) {
    MsgBoxRequestInfo request;
    request.notifyWnd = notify_.handle();
    request.parentWnd = parent_;
    request.requesters.push_back({"u-ann", "r1", "Ann"});
    CMsgBoxAnsyManager::getInstance()->msgbox_requestmic(request);
    MsgBoxRequestInfo& record = CMsgBoxAnsyManager::getInstance()->micRequest;
    ASSERT_NE(record.box, nullptr);
    const HWND box = record.boxWnd;

    record.box->ControlByName(L"btn_yes")->Activate();
    std::vector<MSG> answers;
    ASSERT_TRUE(PumpUntil([&] { return !answers.empty(); },
                          [&](MSG& message) {
                              if (message.hwnd != notify_.handle()) return false;
                              answers.push_back(message);
                              return true;
                          }));
    EXPECT_EQ(answers[0].message, static_cast<UINT>(WM_MSGBOX_REQUEST_MIC_RET));
    EXPECT_EQ(answers[0].wParam, reinterpret_cast<WPARAM>(&record));
    EXPECT_EQ(answers[0].lParam, kMsgBoxYes);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindowEnabled(parent_));
}

}  // namespace
