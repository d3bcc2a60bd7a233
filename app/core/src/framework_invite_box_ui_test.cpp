#include "kestrum/core/framework_invite_box_ui.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "kestrum/core/msgbox_ansy_manager.h"
#include "kestrum/testing/win_wait.h"
#include "message_window.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/thread/test_framework_thread.h"
#include "ui/base/thread/thread_registry.h"
#include "ui/windowing/msgbox/msg_box.h"

namespace {

// The product's resource folder, as Wine sees the checkout.
std::wstring ResourceRoot() {
    std::wstring root = L"Z:";
    for (const char* c = KESTRUM_TEST_RESOURCES; *c; ++c) root += *c == '/' ? L'\\' : wchar_t(*c);
    return root;
}

// Real boxes over a parent window of the test thread, which is the UI thread here; the answers
// come from a framework thread registered as thread 0, as MainThread is in the program.
class FrameworkInviteBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::ResourceHub::Start(ResourceRoot(), nullptr, false, L"themes\\default", L"lang\\zh_CN");
        framework_.before_run = [] { kbase::ThreadRegistry::RegisterCurrentThread(0); };
        framework_.after_run = [] { kbase::ThreadRegistry::UnregisterCurrentThread(); };
        ASSERT_TRUE(framework_.Start(kbase::FrameworkThread::kUILoop));
        parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                                  nullptr, nullptr, nullptr);
        CMsgBoxAnsyManager::setBoxUi(&ui_);
    }
    void TearDown() override {
        CMsgBoxAnsyManager::destroyInstance();
        CMsgBoxAnsyManager::setBoxUi(nullptr);
        DestroyWindow(parent_);
        framework_.StopAndJoin();
        ui::ResourceHub::Stop();
    }

    CMsgBoxAnsyManager& manager() { return *CMsgBoxAnsyManager::getInstance(); }
    MsgBoxRequestInfo Request(const std::string& id, const std::string& nickname) {
        MsgBoxRequestInfo info;
        info.notifyWnd = notify_.handle();
        info.parentWnd = parent_;
        info.requesters.push_back({"u-" + nickname, id, nickname});
        return info;
    }

    // Runs the test thread's messages until done() holds (false at the tests' timeout). Answers
    // posted to notify_ are kept in answers_.
    bool PumpUntil(const std::function<bool()>& done) {
        return kestrum::testing_support::PumpUntil(done, [this](MSG& message) {
            if (message.hwnd != notify_.handle()) return false;
            answers_.push_back(message);
            return true;
        });
    }

    // Windows of class "MsgBox" on this thread.
    static int MsgBoxWindows() {
        int count = 0;
        EnumThreadWindows(GetCurrentThreadId(), &CountMsgBox, reinterpret_cast<LPARAM>(&count));
        return count;
    }
    static BOOL CALLBACK CountMsgBox(HWND window, LPARAM counter) {
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (std::wstring(name) == L"MsgBox") ++*reinterpret_cast<int*>(counter);
        return TRUE;
    }

    kbase::TestFrameworkThread framework_;
    CFrameworkInviteBoxUi ui_;
    MessageWindow notify_;
    HWND parent_ = nullptr;
    std::vector<MSG> answers_;
};

TEST_F(FrameworkInviteBoxTest, RequestBoxGathersRequestsAndItsAnswerIsPostedFromThread0) {
    manager().msgbox_requestmic(Request("r2", "Bob"));
    MsgBoxRequestInfo& record = manager().micRequest;
    ASSERT_NE(record.box, nullptr);
    const HWND box = record.boxWnd;
    EXPECT_TRUE(IsWindow(box));
    EXPECT_FALSE(IsWindowEnabled(parent_));

    const int boxes = MsgBoxWindows();
    manager().msgbox_requestmic(Request("r1", "Ann"));
    EXPECT_EQ(record.boxWnd, box);
    EXPECT_EQ(MsgBoxWindows(), boxes);

    SendMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(PumpUntil([&] { return !answers_.empty(); }));
    EXPECT_EQ(answers_[0].message, static_cast<UINT>(WM_MSGBOX_REQUEST_MIC_RET));
    EXPECT_EQ(answers_[0].wParam, reinterpret_cast<WPARAM>(&record));
    EXPECT_EQ(answers_[0].lParam, kMsgBoxNo);

    // The answered box frees itself; the record still names it until the receiver empties it,
    // and a request arriving meanwhile joins the answer without touching the freed box.
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindowEnabled(parent_));
    manager().msgbox_requestmic(Request("r3", "Cy"));
    EXPECT_EQ(record.requesters.size(), 3u);
}

// One participant's flood of requests, and more senders than a box keeps with names that would
// take many lines: each sender is listed once, and the box stays on the screen.
TEST_F(FrameworkInviteBoxTest, AFloodOfRequestsLeavesABoxThatFitsTheScreen) {
    for (int i = 0; i < 1000; ++i)
        manager().msgbox_requestmic(Request("e" + std::to_string(i), "Eve"));
    for (int i = 0; i < 30; ++i) {
        manager().msgbox_requestmic(
            Request("n" + std::to_string(i), "Name " + std::to_string(i) + "\r\nof\r\nlines\r\n!"));
    }
    const HWND box = manager().micRequest.boxWnd;
    ASSERT_TRUE(IsWindow(box));
    UpdateWindow(box);
    (void)kestrum::testing_support::PumpUntil([] { return false; }, nullptr,
                                              std::chrono::milliseconds(300));
    RECT shown = {};
    GetWindowRect(box, &shown);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(box, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_GE(shown.top, monitor.rcWork.top);
    EXPECT_LE(shown.bottom, monitor.rcWork.bottom);
    EXPECT_EQ(manager().micRequest.requesters.size(), CMsgBoxAnsyManager::kMaxRequesters);
}

}  // namespace
