#include "app/windows/live/meeting_events.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <string>

#include "app/windows/live/delayed_call.h"

namespace {

using namespace ZuvraKestrum::Live;
using std::chrono::milliseconds;

TEST(InvitationTimers, CountFrom1000To1199AndStartOver) {
    InvitationTimers timers;
    EXPECT_EQ(timers.next(), 1000);
    for (int i = 1; i < 199; ++i) timers.next();
    EXPECT_EQ(timers.next(), 1199);  // the 200th
    EXPECT_EQ(timers.next(), 1000);
    for (uintptr_t id : {999u, 1200u, 1201u, 1401u}) EXPECT_FALSE(InvitationTimers::Contains(id));
    for (uintptr_t id : {1000u, 1199u}) EXPECT_TRUE(InvitationTimers::Contains(id));
}

TEST(Invitations, OnlyTheServersExactTimeOutIsSilent) {
    EXPECT_EQ(AnswerOf(true, ""), InvitationAnswer::kAccepted);
    EXPECT_EQ(AnswerOf(true, "TIMEOUT"), InvitationAnswer::kAccepted);
    EXPECT_EQ(AnswerOf(false, "TIMEOUT"), InvitationAnswer::kTimedOut);
    EXPECT_EQ(AnswerOf(false, "timeout"), InvitationAnswer::kRefused);
    EXPECT_EQ(AnswerOf(false, "REFUSED"), InvitationAnswer::kRefused);
}

TEST(OwnStatus, OnlyBitsThatDifferReachTheEngineAndTheModeFollowsTheCommunicationProfile) {
    struct Case {
        int status;
        bool audioMuted, videoMuted;
        int profile;
        bool changeAudio, newAudio, changeVideo, newVideo;
        int mode;
    } cases[] = {
        {0, false, false, 1, false, false, false, false, 1},
        {1, false, false, 1, true, true, false, false, 1},
        {3, false, false, 1, true, true, true, true, 2},  // both off: audience
        {3, true, true, 1, false, true, false, true, 2},
        {2, true, false, 0, true, false, true, true, -1},  // another profile: no mode
        {0, true, true, -1, true, false, true, false, -1},
    };
    for (const Case& c : cases) {
        const OwnStatusPlan plan = PlanOwnStatus(c.status, c.audioMuted, c.videoMuted, c.profile);
        EXPECT_EQ(plan.changeAudio, c.changeAudio) << c.status << " " << c.audioMuted;
        EXPECT_EQ(plan.audioMuted, c.newAudio) << c.status;
        EXPECT_EQ(plan.changeVideo, c.changeVideo) << c.status << " " << c.videoMuted;
        EXPECT_EQ(plan.videoMuted, c.newVideo) << c.status;
        EXPECT_EQ(plan.engineMode, c.mode) << c.status << " " << c.profile;
    }
}

TEST(EngineChannel, JoinsOnceAndOnlyWithAProfile) {
    EXPECT_FALSE(PlanChannel(-1, false).configure);
    EXPECT_FALSE(PlanChannel(-1, false).join);
    EXPECT_TRUE(PlanChannel(0, false).configure);
    EXPECT_TRUE(PlanChannel(0, false).join);
    // A later record applies its configuration again but joins nothing.
    EXPECT_TRUE(PlanChannel(1, true).configure);
    EXPECT_FALSE(PlanChannel(1, true).join);
}

// A stop the server never reports ends after a bounded number of repeats; leaving or the
// reported end stops the repeats at once, and the next stop counts from the start.
TEST(ShareStop, IsSentAgainABoundedNumberOfTimesUntilTheEndIsReported) {
    ShareStop stop;
    EXPECT_EQ(stop.onTick(false), ShareStop::Tick::kEndTimer);
    for (int round = 0; round < 2; ++round) {
        stop.start();
        for (int i = 0; i < ShareStop::kLimit; ++i) {
            ASSERT_EQ(stop.onTick(false), ShareStop::Tick::kSendAgain) << round << " " << i;
        }
        EXPECT_EQ(stop.onTick(false), ShareStop::Tick::kGiveUp);
        EXPECT_FALSE(stop.waiting());
        EXPECT_EQ(stop.onTick(false), ShareStop::Tick::kEndTimer);
    }
    stop.start();
    EXPECT_EQ(stop.onTick(true), ShareStop::Tick::kEndTimer);
    stop.end();
    EXPECT_EQ(stop.onTick(false), ShareStop::Tick::kEndTimer);
}

TEST(UserOperations, WhatEachTypeMeansForThisUser) {
    const std::string me = "u1";
    OperationPlan plan = PlanOperation("u1", "u1", "muteAudio", me);
    EXPECT_TRUE(plan.enableOwnToggles);
    EXPECT_TRUE(plan.refreshStatus);
    // The host muting this user does not free the toggles of a change of this user's own.
    plan = PlanOperation("h", "u1", "muteAudio", me);
    EXPECT_FALSE(plan.enableOwnToggles);
    EXPECT_TRUE(plan.refreshStatus);

    EXPECT_TRUE(PlanOperation("h", "u1", "ban", me).removed);
    plan = PlanOperation("h", "u2", "ban", me);
    EXPECT_FALSE(plan.removed);
    EXPECT_FALSE(plan.refreshStatus);

    EXPECT_EQ(PlanOperation("u2", "u2", "share", me).shareButton, OperationPlan::kShareDisable);
    EXPECT_EQ(PlanOperation("u1", "u1", "share", me).shareButton, OperationPlan::kShareAsIs);
    plan = PlanOperation("u2", "u2", "unshare", me);
    EXPECT_EQ(plan.shareButton, OperationPlan::kShareEnable);
    EXPECT_FALSE(plan.ownShareEnded);
    plan = PlanOperation("h", "u1", "unshare", me);
    EXPECT_EQ(plan.shareButton, OperationPlan::kShareAsIs);
    EXPECT_TRUE(plan.ownShareEnded);

    plan = PlanOperation("u2", "u2", "interrupt", me);
    EXPECT_TRUE(plan.interruptNotice);
    EXPECT_FALSE(plan.refreshStatus);
    // Before the own uid is known nobody is this user.
    EXPECT_FALSE(PlanOperation("", "", "ban", "").removed);
}

TEST(HostNotice, ShowsOnlyWhenTheHostChanges) {
    const std::map<std::string, std::string> names = {{"h1", "Bob"}, {"h2", "Carol"}, {"me", "Al"}};
    auto nickname = [&names](const std::string& uid) {
        auto found = names.find(uid);
        return found == names.end() ? std::string() : found->second;
    };
    HostNotice notice;
    struct Step {
        const char* host;
        int language;
        const char* text;
    } steps[] = {
        {"h1", 0, "Bob apply speaker"},
        {"h1", 0, ""},  // the same host again: no repeat
        {"h2", 0, "Carol apply speaker"},
        {"", 1, "Carol 放弃主持人"},
        {"", 0, ""},
        {"me", 0, ""},  // this user took the role from nobody
        {"h1", 1, "Bob 申请主持人"},
        {"me", 0, "Bob giveup speaker"},
        {"unknown", 0, ""},  // no nickname, no notice
        {"h2", 0, "Carol apply speaker"},
    };
    for (const Step& step : steps) {
        EXPECT_EQ(notice.onRoomRecord(step.host, "me", step.language, nickname), step.text)
            << step.host;
    }
    // A new window's notice knows no previous host.
    EXPECT_EQ(HostNotice().onRoomRecord("h2", "me", 0, nickname), "Carol apply speaker");
}

TEST(OperationNotices, NameTheOperatorInTheWindowLanguage) {
    EXPECT_EQ(InterruptText(0, "Bob"), "Bob temporary leave");
    EXPECT_EQ(InterruptText(1, "Bob"), "Bob 暂时离开");
    EXPECT_EQ(RemovedText(0, "Bob"), "You are removed by Bob");
    EXPECT_EQ(RemovedText(1, "王小明"), "你被王小明请出了房间");
}

TEST(ReconnectRoad, OneNoticeWhileDownHiddenWhenTheConnectionIsBack) {
    ReconnectRoad road;
    EXPECT_TRUE(road.onReconnecting().showNotice);
    EXPECT_TRUE(road.reconnecting());
    // Further attempts while it is up show no second one.
    EXPECT_FALSE(road.onReconnecting().showNotice);
    EXPECT_TRUE(road.onOpen().hideNotice);
    EXPECT_FALSE(road.reconnecting());
    // Connected, nothing to hide; the next loss shows it again.
    EXPECT_FALSE(road.onOpen().hideNotice);
    EXPECT_TRUE(road.onReconnecting().showNotice);
}

TEST(ReconnectRoad, RefusalsAreTriedAgainWithABackOffAndTheMeetingEndsWhenTheBoundsRunOut) {
    ReconnectRoad::Limits limits;
    limits.refusalRetries = 3;
    limits.firstRetryDelay = milliseconds(100);
    limits.maxRetryDelay = milliseconds(300);
    ReconnectRoad road(limits);
    // Before any loss a refusal changes nothing.
    EXPECT_EQ(road.onRefused().reconnectAfter, milliseconds(-1));
    EXPECT_EQ(road.onDeadline().giveUp, ReconnectRoad::GiveUp::kNo);

    // The library's own attempts need nothing of the window; the wait starts once.
    ReconnectRoad::Step step = road.onReconnecting();
    EXPECT_TRUE(step.startDeadline);
    EXPECT_EQ(step.reconnectAfter, milliseconds(-1));
    EXPECT_FALSE(road.onReconnecting().startDeadline);
    for (int delay : {100, 200, 300}) {
        step = road.onRefused();
        EXPECT_EQ(step.reconnectAfter, milliseconds(delay));
        EXPECT_EQ(step.giveUp, ReconnectRoad::GiveUp::kNo);
    }
    step = road.onRefused();
    EXPECT_EQ(step.giveUp, ReconnectRoad::GiveUp::kRefused);
    EXPECT_TRUE(step.hideNotice);
    EXPECT_TRUE(step.stopDeadline);
    // Ended: nothing follows.
    EXPECT_FALSE(road.onOpen().hideNotice);
    EXPECT_FALSE(road.onReconnecting().showNotice);

    // An open connection counts the refusals afresh and stops the wait.
    ReconnectRoad again(limits);
    again.onReconnecting();
    again.onRefused();
    again.onRefused();
    EXPECT_TRUE(again.onOpen().stopDeadline);
    again.onReconnecting();
    EXPECT_EQ(again.onRefused().reconnectAfter, milliseconds(100));
    // The server stays away until the wait runs out.
    EXPECT_EQ(again.onDeadline().giveUp, ReconnectRoad::GiveUp::kUnreachable);

    // A library that gives up on an open connection does so for good: the meeting ends.
    ReconnectRoad givenUp(limits);
    givenUp.onOpen();
    step = givenUp.onRefused();
    EXPECT_EQ(step.giveUp, ReconnectRoad::GiveUp::kUnreachable);
    EXPECT_TRUE(step.stopDeadline);
}

TEST(DelayedCall, RunsOnceAfterTheDelayUnlessCancelledAndOneAtATime) {
    std::atomic<int> calls{0};
    DelayedCall call;
    // Longer than a busy machine may take between two calls of this thread: the call is still
    // waiting when it is joined or cancelled.
    const std::chrono::seconds longDelay(10);
    ASSERT_TRUE(call.start([&calls] { ++calls; }, longDelay));
    EXPECT_FALSE(call.start([&calls] { calls += 100; }, milliseconds(0)));
    call.join();
    EXPECT_EQ(calls, 0);  // joined while waiting: cancelled

    ASSERT_TRUE(call.start([&calls] { ++calls; }, milliseconds(0)));
    while (call.busy()) std::this_thread::yield();
    EXPECT_EQ(calls, 1);
    ASSERT_TRUE(call.start([&calls] { ++calls; }, longDelay));
    call.cancel();
    call.join();
    EXPECT_EQ(calls, 1);

    // The destructor cancels a long wait rather than sitting it out.
    const auto start = std::chrono::steady_clock::now();
    {
        DelayedCall waiting;
        waiting.start([&calls] { ++calls; }, std::chrono::seconds(30));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

}  // namespace
