#include "kestrum/core/video_source_transfer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine_journal.h"
#include "meeting_data_fixture.h"
#include "message_window.h"

namespace {

class VideoSourceTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        transfer_ = std::make_unique<CVideoSourceTransfer>();
        source_ = sourceName();
    }
    void TearDown() override {
        transfer_.reset();
        EXPECT_EQ(KestrumVideoSourceLiveCount(), 0);
    }

    // The newest source's name in the journal ("source3").
    static std::string sourceName() {
        const std::string journal = VideoSourceJournal();
        const size_t create = journal.rfind(".create()");
        const size_t start = journal.rfind("source", create);
        return journal.substr(start, create - start);
    }

    // What the sources received since the last call.
    static std::string calls() {
        std::string text = VideoSourceJournal();
        KestrumVideoSourceJournalClear();
        return text;
    }

    // One share as the in-meeting window runs it; made: initialize has to make the source.
    void share(const std::string& source, bool made = false) {
        EXPECT_TRUE(transfer_->initialize());
        transfer_->setShareTarget(window_.handle(), 5, 1280, 720, 0);
        transfer_->joinChannel("share-token", "room", nullptr, 9001);
        EXPECT_EQ(calls(), (made ? source + ".create()\n" : "") + source +
                               ".initialize(5b1e7c9a20d64f3e8a7b6c5d4e3f2a10)\n" + source +
                               ".setChannelProfile(1)\n" + source + ".setParameters({\"p\":1})\n" +
                               source + ".setParameters({\"p\":2})\n" + source +
                               ".joinChannel(share-token,room,,9001)\n" + source +
                               ".startCapture(window,5,0,0,720,1280,1000)\n");
    }

    MeetingDataFixture meeting_;
    MessageWindow window_;
    std::unique_ptr<CVideoSourceTransfer> transfer_;
    std::string source_;
};

TEST_F(VideoSourceTransferTest, JoinSendsProfileParametersJoinAndCapture) {
    calls();
    transfer_->setChannelProfile(1);
    transfer_->setParameters({"{\"p\":1}", "{\"p\":2}"});
    share(source_);
}

TEST_F(VideoSourceTransferTest, JoinWithoutParametersStillJoinsAndCaptures) {
    calls();
    transfer_->setShareTarget(window_.handle(), 5, 800, 600, 0);
    transfer_->joinChannel("t", "room", "info", 7);
    EXPECT_EQ(calls(), source_ + ".setChannelProfile(0)\n" + source_ +
                           ".joinChannel(t,room,info,7)\n" + source_ +
                           ".startCapture(window,5,0,0,600,800,1000)\n");
}

TEST_F(VideoSourceTransferTest, LeaveReleasesTheSourceOnce) {
    calls();
    transfer_->leaveChannel();
    transfer_->leaveChannel();
    EXPECT_EQ(calls(), source_ + ".stopCapture()\n" + source_ + ".leaveChannel()\n" + source_ +
                           ".release()\n");
    EXPECT_FALSE(transfer_->hasSource());
    transfer_->stopShare();
    transfer_->joinChannel("t", "room", "", 7);
    EXPECT_EQ(calls(), "");
}

TEST_F(VideoSourceTransferTest, StopShareOnlyStopsTheCapture) {
    calls();
    transfer_->stopShare();
    EXPECT_EQ(calls(), source_ + ".stopCapture()\n");
    EXPECT_TRUE(transfer_->hasSource());
}

TEST_F(VideoSourceTransferTest, ASecondShareAfterALeaveGetsAFreshSource) {
    transfer_->setChannelProfile(1);
    transfer_->setParameters({"{\"p\":1}", "{\"p\":2}"});
    calls();
    share(source_);
    transfer_->stopShare();
    transfer_->leaveChannel();
    calls();
    ASSERT_FALSE(transfer_->hasSource());
    // initialize makes the new source; its journal name is the next number.
    const int number = std::stoi(source_.substr(6));
    share("source" + std::to_string(number + 1), true);
    EXPECT_EQ(KestrumVideoSourceLiveCount(), 1);
}

TEST_F(VideoSourceTransferTest, DestructionReleasesTheSource) {
    calls();
    transfer_.reset();
    EXPECT_EQ(calls(), source_ + ".stopCapture()\n" + source_ + ".leaveChannel()\n" + source_ +
                           ".release()\n");
}

}  // namespace
