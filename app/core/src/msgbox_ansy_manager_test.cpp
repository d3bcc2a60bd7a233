#include "kestrum/core/msgbox_ansy_manager.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "chinese_emoji_text.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_text.h"
#include "message_window.h"

namespace {

// Boxes as windows of the test thread, answered from another thread as the framework does.
// A box whose window was destroyed counts as freed: any later use of it fails the test.
class FakeBoxUi : public IInviteBoxUi {
public:
    struct Box {
        HWND window = nullptr;
        HWND parent = nullptr;
        InviteBoxTexts texts;
        AnswerCallback onAnswer;
        bool closed = false;
    };
    struct Toast {
        std::wstring content;
        int durationMs;
        HWND parent;
    };

    ~FakeBoxUi() override {
        for (auto& box : boxes) DestroyWindow(box->window);
    }

    InviteBox showBox(HWND parent, const InviteBoxTexts& texts, AnswerCallback onAnswer) override {
        auto box = std::make_unique<Box>();
        box->window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr);
        box->parent = parent;
        box->texts = texts;
        box->onAnswer = std::move(onAnswer);
        boxes.push_back(std::move(box));
        return {reinterpret_cast<MsgBox*>(boxes.back().get()), boxes.back()->window};
    }
    void updateBoxContent(MsgBox* box, const std::wstring& content) override {
        use(box).texts.content = content;
        ++contentUpdates;
    }
    void closeBox(MsgBox* box) override { use(box).closed = true; }
    void showToast(const std::wstring& content, int durationMs, HWND parent) override {
        toasts.push_back({content, durationMs, parent});
    }

    // The user answers box i; the callback runs on another thread.
    void answer(size_t i, int result) {
        std::thread framework(boxes.at(i)->onAnswer, result);
        framework.join();
    }
    // Box i's window goes (the box freed itself).
    void free(size_t i) { DestroyWindow(boxes.at(i)->window); }

    std::vector<std::unique_ptr<Box>> boxes;
    std::vector<Toast> toasts;
    int contentUpdates = 0;

private:
    Box& use(MsgBox* pointer) {
        Box& box = *reinterpret_cast<Box*>(pointer);
        EXPECT_TRUE(IsWindow(box.window)) << "a box that freed itself was used";
        return box;
    }
};

class MsgBoxAnsyManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        CMsgBoxAnsyManager::setBoxUi(&ui_);
        g_language = 0;
    }
    void TearDown() override {
        CMsgBoxAnsyManager::destroyInstance();
        CMsgBoxAnsyManager::setBoxUi(nullptr);
        g_language = 0;
    }

    CMsgBoxAnsyManager& manager() { return *CMsgBoxAnsyManager::getInstance(); }

    MsgBoxInviteInfo Invite(const std::string& uid) {
        MsgBoxInviteInfo info;
        info.uid = uid;
        info.notifyWnd = notify_.handle();
        info.parentWnd = parent_.handle();
        return info;
    }
    // A request of sender, by default the participant named nickname.
    MsgBoxRequestInfo Request(const std::string& id, const std::string& nickname,
                              const std::string& sender = "") {
        MsgBoxRequestInfo info;
        info.notifyWnd = notify_.handle();
        info.parentWnd = parent_.handle();
        info.requesters.push_back({sender.empty() ? "u-" + nickname : sender, id, nickname});
        return info;
    }
    // The next answer message posted to notify_; false when none is waiting.
    bool TakeAnswer(MSG& message) {
        return notify_.take(message, WM_MSGBOX_INVITE_MIC_RET, WM_MSGBOX_REQUEST_CAMERA_RET);
    }

    FakeBoxUi ui_;
    MessageWindow notify_;
    MessageWindow parent_;
};

using InvitationBoxTest = MsgBoxAnsyManagerTest;

TEST_F(InvitationBoxTest, SecondInvitationClosesTheFirstBoxAndOnlyItsOwnAnswerIsPosted) {
    manager().msgbox_invitemic(Invite("u1"));
    manager().msgbox_invitemic(Invite("u2"));
    ASSERT_EQ(ui_.boxes.size(), 2u);
    EXPECT_EQ(ui_.boxes[1]->parent, parent_.handle());
    EXPECT_EQ(ui_.boxes[1]->texts.content, L"Invite other turn on microphone");
    EXPECT_TRUE(ui_.boxes[0]->closed);
    EXPECT_FALSE(ui_.boxes[1]->closed);

    MSG message;
    ui_.answer(0, 0);
    EXPECT_FALSE(TakeAnswer(message));
    ui_.answer(1, 1);
    ASSERT_TRUE(TakeAnswer(message));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_MSGBOX_INVITE_MIC_RET));
    EXPECT_EQ(message.wParam, reinterpret_cast<WPARAM>(&manager().micInvite));
    EXPECT_EQ(message.lParam, 1);
    EXPECT_EQ(manager().micInvite.uid, "u2");
}

using RequestBoxTest = MsgBoxAnsyManagerTest;

TEST_F(RequestBoxTest, RequestsMergeIntoOneBoxWithOneEntryPerSenderInTheOrderTheyAsked) {
    EXPECT_TRUE(manager().msgbox_requestmic(Request("r2", "Bob")));
    EXPECT_FALSE(manager().msgbox_requestmic(Request("r1", "Al")));
    EXPECT_FALSE(manager().msgbox_requestmic(Request("r3", "Bobby", "u-Bob")));  // Bob again
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0]->texts.content, L"Bob,Al invite you turn on microphone");
    EXPECT_EQ(ui_.contentUpdates, 1);

    ui_.answer(0, 0);
    MSG message;
    ASSERT_TRUE(TakeAnswer(message));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_MSGBOX_REQUEST_MIC_RET));
    EXPECT_EQ(message.wParam, reinterpret_cast<WPARAM>(&manager().micRequest));
    EXPECT_EQ(message.lParam, 0);
    // The answer goes to each sender's latest request.
    const std::vector<MsgBoxRequester>& requesters = manager().micRequest.requesters;
    ASSERT_EQ(requesters.size(), 2u);
    EXPECT_EQ(requesters[0].requestId, "r3");
    EXPECT_EQ(requesters[1].requestId, "r1");
}

// One participant's thousands of requests, and more senders than a box keeps: the box keeps a
// bounded list, its text changes once per sender listed, and no name makes it wide.
TEST_F(RequestBoxTest, AFloodOfRequestsKeepsTheBoxAndItsAnswerBounded) {
    EXPECT_TRUE(manager().msgbox_requestcamera(Request("r0", std::string(40, 'n'))));
    for (int i = 1; i < 2000; ++i) {
        EXPECT_FALSE(manager().msgbox_requestcamera(Request("r" + std::to_string(i), "Eve")));
    }
    for (int i = 0; i < 50; ++i) {
        manager().msgbox_requestcamera(Request("s" + std::to_string(i), "P" + std::to_string(i)));
    }
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(manager().cameraRequest.requesters.size(), CMsgBoxAnsyManager::kMaxRequesters);
    EXPECT_EQ(ui_.contentUpdates, static_cast<int>(CMsgBoxAnsyManager::kMaxRequesters) - 1);
    EXPECT_EQ(manager().cameraRequest.requesters[1].requestId, "r1999");
    EXPECT_EQ(
        ui_.boxes[0]->texts.content,
        std::wstring(18, L'n') + L"\x2026,Eve,P0,P1,P2,P3,P4,P5,P6,P7 invite you turn on camera");
}

// Nicknames come from the wire as UTF-8; the ANSI code page holds neither script.
TEST_F(RequestBoxTest, RequesterNamesKeepChineseAndEmoji) {
    manager().msgbox_requestcamera(Request("r1", kChineseEmojiUtf8));
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0]->texts.content,
              kChineseEmojiWide + std::wstring(L" invite you turn on camera"));
    manager().msgbox_requestcamera(Request("r2", "Bob"));
    EXPECT_EQ(ui_.boxes[0]->texts.content,
              kChineseEmojiWide + std::wstring(L",Bob invite you turn on camera"));
    // A name cut for the box keeps its emoji whole or leaves it out.
    manager().msgbox_requestcamera(Request("r3", std::string(13, 'a') + kChineseEmojiUtf8));
    EXPECT_EQ(
        ui_.boxes[0]->texts.content.substr(ui_.boxes[0]->texts.content.find(L"Bob,")),
        L"Bob," + std::wstring(13, L'a') + L"\x738B\x5C0F\x660E \x2026 invite you turn on camera");
    // A right-to-left name, put between isolate marks as every record's name is, is cut inside
    // them, so the text after it keeps its own direction.
    std::string hebrew;
    for (int i = 0; i < 20; ++i) hebrew += "\xD7\x90";
    manager().msgbox_requestcamera(Request("r4", ZuvraKestrum::Util::DisplayName(hebrew)));
    const std::wstring& content = ui_.boxes[0]->texts.content;
    EXPECT_EQ(content.substr(content.rfind(L',')),
              L",\x2068" + std::wstring(18, L'\x05D0') + L"\x2026\x2069 invite you turn on camera");
}

TEST_F(RequestBoxTest, TimeoutClosesOnlyItsOwnKindAndTheClosedBoxAnswersNothing) {
    manager().msgbox_timeout(CMsgBoxAnsyManager::kMicRequestTimer, nullptr);  // nothing open
    manager().msgbox_requestmic(Request("r1", "Ann"));
    manager().msgbox_timeout(CMsgBoxAnsyManager::kCameraRequestTimer, nullptr);
    manager().msgbox_timeout(1000, nullptr);
    EXPECT_FALSE(ui_.boxes.at(0)->closed);

    manager().msgbox_timeout(CMsgBoxAnsyManager::kMicRequestTimer, nullptr);
    EXPECT_TRUE(ui_.boxes[0]->closed);
    EXPECT_EQ(manager().micRequest.box, nullptr);
    EXPECT_TRUE(manager().micRequest.requesters.empty());
    ui_.answer(0, 0);
    MSG message;
    EXPECT_FALSE(TakeAnswer(message));
}

TEST_F(RequestBoxTest, BoxGoneWithoutAnAnswerIsNotTouchedAndTheNextRequestOpensAFreshBox) {
    manager().msgbox_requestmic(Request("r1", "Ann"));
    ui_.free(0);  // closed by the system, no answer
    manager().msgbox_requestmic(Request("r2", "Bob"));
    ASSERT_EQ(ui_.boxes.size(), 2u);
    EXPECT_EQ(ui_.boxes[1]->texts.content, L"Bob invite you turn on microphone");
    EXPECT_EQ(manager().micRequest.requesters.size(), 1u);
    manager().msgbox_timeout(CMsgBoxAnsyManager::kMicRequestTimer, nullptr);
    EXPECT_TRUE(ui_.boxes[1]->closed);
}

TEST_F(RequestBoxTest, RequestAfterAnAnsweredBoxWentJoinsTheAnswerOnItsWay) {
    manager().msgbox_requestmic(Request("r1", "Ann"));
    ui_.answer(0, 0);
    ui_.free(0);
    manager().msgbox_requestmic(Request("r2", "Bob"));
    EXPECT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(manager().micRequest.requesters.size(), 2u);
    manager().msgbox_timeout(CMsgBoxAnsyManager::kMicRequestTimer, nullptr);  // box not touched
}

TEST_F(RequestBoxTest, AnswerThatCannotBePostedEmptiesTheRecordForTheNextRequest) {
    MsgBoxRequestInfo info = Request("r1", "Ann");
    info.notifyWnd =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    DestroyWindow(info.notifyWnd);
    manager().msgbox_requestmic(info);
    ui_.answer(0, 1);
    EXPECT_EQ(manager().micRequest.box, nullptr);
    EXPECT_TRUE(manager().micRequest.requesters.empty());
    manager().msgbox_requestmic(Request("r2", "Bob"));
    EXPECT_EQ(ui_.boxes.size(), 2u);
}

TEST_F(RequestBoxTest, ReleasingTheManagerClosesRequestBoxesAndDropsEveryAnswerOfIt) {
    manager().msgbox_invitemic(Invite("u1"));
    manager().msgbox_requestcamera(Request("r1", "Ann"));
    manager().msgbox_invitecamera(Invite("u2"));
    ui_.answer(2, 0);  // posted, not yet read
    CMsgBoxAnsyManager::destroyInstance();
    EXPECT_FALSE(ui_.boxes[0]->closed);  // invitation boxes outlive the manager
    EXPECT_TRUE(ui_.boxes[1]->closed);
    ui_.answer(0, 0);
    MSG message;
    EXPECT_FALSE(TakeAnswer(message));
}

class PendingInvitationTest : public MsgBoxAnsyManagerTest {
protected:
    void Append(int32_t type, const std::string& requestId, const std::string& nickname,
                int32_t eventId) {
        manager().msgbox_append({type, requestId, nickname, "uid-" + nickname, eventId});
        SetTimer(timers_.handle(), eventId, 600000, nullptr);
    }
    // True when the timer still ran (and is killed now).
    bool TimerRan(int32_t eventId) { return KillTimer(timers_.handle(), eventId) != FALSE; }

    MessageWindow timers_;
};

TEST_F(PendingInvitationTest, AcceptedRemovesTheFirstMatchAndKillsOnlyItsTimer) {
    Append(6, "q", "Ann", 1000);
    Append(7, "q", "Bob", 1001);
    manager().msgbox_accepted("q", timers_.handle());
    ASSERT_EQ(manager().pendingList.size(), 1u);
    EXPECT_EQ(manager().pendingList[0].eventId, 1001);
    EXPECT_FALSE(TimerRan(1000));
    EXPECT_TRUE(TimerRan(1001));
    manager().msgbox_accepted("unknown", timers_.handle());
    EXPECT_EQ(manager().pendingList.size(), 1u);
    EXPECT_TRUE(ui_.toasts.empty());
}

TEST_F(PendingInvitationTest, RefusedShowsTheRefusalOfItsKindWithTheNicknameAsPlainText) {
    Append(6, "r1", "50%s%n", 1000);
    Append(7, "r2", "Bob", 1001);
    Append(9, "r3", "Cy", 1002);
    MsgBoxPendingInfo out;
    manager().msgbox_refused("r1", timers_.handle(), out);
    EXPECT_EQ(out.uid, "uid-50%s%n");
    EXPECT_FALSE(TimerRan(1000));
    manager().msgbox_refused("r2", timers_.handle(), out);
    manager().msgbox_refused("r3", timers_.handle(), out);
    EXPECT_EQ(out.uid, "uid-Cy");
    ASSERT_EQ(ui_.toasts.size(), 2u);
    EXPECT_EQ(ui_.toasts[0].content, L"50%s%n  refuse to turn on microphone ");
    EXPECT_EQ(ui_.toasts[0].durationMs, 5000);
    EXPECT_EQ(ui_.toasts[0].parent, timers_.handle());
    EXPECT_EQ(ui_.toasts[1].content, L" Bob  refuse to turn on camera");

    MsgBoxPendingInfo untouched;
    untouched.uid = "caller";
    manager().msgbox_refused("r1", timers_.handle(), untouched);
    EXPECT_EQ(untouched.uid, "caller");
    EXPECT_EQ(ui_.toasts.size(), 2u);
}

TEST_F(PendingInvitationTest, NoResponseShowsTheTimeoutOfItsKindAndLeavesTheTimerToTheCaller) {
    g_language = 1;
    Append(7, "r1", "Bob", 1100);
    Append(6, "r2", "Ann", 1101);
    MsgBoxPendingInfo out;
    manager().msgbox_noresponse(1100, timers_.handle(), out);
    manager().msgbox_noresponse(1101, timers_.handle(), out);
    EXPECT_EQ(out.requestId, "r2");
    EXPECT_TRUE(TimerRan(1100));
    EXPECT_TRUE(manager().pendingList.empty());
    ASSERT_EQ(ui_.toasts.size(), 2u);
    EXPECT_EQ(ui_.toasts[0].content, L"Bob没有响应你的打开摄像头邀请");
    EXPECT_EQ(ui_.toasts[1].content, L"Ann 没有响应你的打开麦克风邀请");
    manager().msgbox_noresponse(1100, timers_.handle(), out);
    EXPECT_EQ(ui_.toasts.size(), 2u);
}

TEST_F(PendingInvitationTest, NoticesKeepChineseAndEmojiNicknames) {
    Append(6, "r1", kChineseEmojiUtf8, 1000);
    Append(7, "r2", kChineseEmojiUtf8, 1001);
    MsgBoxPendingInfo out;
    manager().msgbox_refused("r1", timers_.handle(), out);
    manager().msgbox_noresponse(1001, timers_.handle(), out);
    ASSERT_EQ(ui_.toasts.size(), 2u);
    EXPECT_EQ(ui_.toasts[0].content,
              kChineseEmojiWide + std::wstring(L"  refuse to turn on microphone "));
    EXPECT_EQ(ui_.toasts[1].content,
              L"Wait " + std::wstring(kChineseEmojiWide) + L" turn on camera timeout");
}

}  // namespace
