// Meeting requests and the log upload end to end against the test back-end.

#include "support/service_fixture.h"

namespace {

using Lines = std::vector<std::string>;

class MeetingRequestsTest : public ServiceTest {
protected:
    // Joins a room and returns the observer's lines.
    Lines Join(const char* rid, const char* pwd) {
        RecordingObserver observer;
        Library().joinRoom(&observer, rid, "9.9", "anything", pwd);
        EXPECT_TRUE(observer.WaitFinished());
        return observer.Lines();
    }
};

TEST_F(MeetingRequestsTest, JoinSendsRidAndPwdOnlyAndReportsTheRoom) {
    const Lines lines = Join("dev-room", "pw");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "onJoinRoom(1,dev-room,dev-room,20001,0,[20001],media-8-20001)");
    EXPECT_EQ(Requests().at(0).body, "{\n\t\"rid\":\t\"dev-room\",\n\t\"pwd\":\t\"pw\"\n}");

    const Lines wrong = Join("dev-room", "guess");
    EXPECT_EQ(wrong[0], "onCallBackError(room/join,wrong password,2006)");
}

TEST_F(MeetingRequestsTest, RoomInfoUsesTheJoinedRidPercentEncodedOnEveryCandidate) {
    const char* rid = "a b&c#\xE4\xBC\x9A";
    Join(rid, "");
    Backend().Reset();
    Backend().SetFault("base", "refuse");
    RecordingObserver observer;
    ASSERT_NE(Library().getRoom(&observer), nullptr);
    ASSERT_TRUE(observer.WaitFinished());
    EXPECT_EQ(observer.Lines()[0],
              std::string("onGetRoom(1,") + rid + "," + rid + ",0,0,[20001],[20001])");
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].listener, "proxy1");
    EXPECT_EQ(requests[0].query, "?rid=a%20b%26c%23%E4%BC%9A");
}

TEST_F(MeetingRequestsTest, CreateUpdateAndCtrlSendTheirMembersInOrder) {
    RecordingObserver create;
    Library().createRoom(&create, "made-room", "pw", "Topic", 3);
    ASSERT_TRUE(create.WaitFinished());
    EXPECT_EQ(create.Lines()[0], "onCreateRoom(1,made-room,Topic,3)");
    EXPECT_EQ(Requests().back().body,
              "{\n\t\"rid\":\t\"made-room\",\n\t\"topic\":\t\"Topic\",\n\t\"pwd\":\t\"pw\",\n"
              "\t\"initialStatus\":\t3\n}");

    RecordingObserver update;
    Library().updateRoom(&update, "made-room", {"20001", "20002"}, 1, "New", "");
    ASSERT_TRUE(update.WaitFinished());
    EXPECT_EQ(update.Lines()[0], "onUpdateRoom(1)");
    EXPECT_EQ(Requests().back().body,
              "{\n\t\"rid\":\t\"made-room\",\n\t\"topic\":\t\"New\",\n\t\"pwd\":\t\"\",\n"
              "\t\"initialStatus\":\t1,\n\t\"hosts\":\t[\"20001\", \"20002\"]\n}");

    RecordingObserver share;
    Library().ctrlRoom(&share, "share", {"A", "B"});
    ASSERT_TRUE(share.WaitFinished());
    EXPECT_EQ(share.Lines()[0], "onRoomCtrl(1,1,share-1)");
    EXPECT_EQ(Requests().back().body,
              "{\n\t\"rid\":\t\"made-room\",\n\t\"op\":\t\"share\",\n\t\"options\":\t{\n\t},\n"
              "\t\"targets\":\t[\"A\", \"B\"]\n}");

    RecordingObserver mute;
    Library().ctrlRoom(&mute, "muteAudio", {});
    ASSERT_TRUE(mute.WaitFinished());
    EXPECT_EQ(mute.Lines()[0], "onRoomCtrl(1,-1,)");

    // Once another hosts, the service refuses this user's control of anybody but itself.
    RecordingObserver handOver;
    Library().updateRoom(&handOver, "made-room", {"20002"}, 1, "New", "");
    ASSERT_TRUE(handOver.WaitFinished());
    for (const char* op : {"muteAudio", "unmuteVideo", "ban"}) {
        RecordingObserver other;
        Library().ctrlRoom(&other, op, {"20001", "20002"});
        ASSERT_TRUE(other.WaitFinished());
        EXPECT_EQ(other.Lines()[0], "onCallBackError(room/ctrl,You are not host of this room,2008)")
            << op;
    }
    RecordingObserver own;
    Library().ctrlRoom(&own, "muteVideo", {"20001"});
    ASSERT_TRUE(own.WaitFinished());
    EXPECT_EQ(own.Lines()[0], "onRoomCtrl(1,-1,)");
}

TEST_F(MeetingRequestsTest, ConfigReadsNestedVersionsAndTimeouts) {
    RecordingObserver observer;
    ASSERT_NE(Library().configRoom(&observer), nullptr);
    ASSERT_TRUE(observer.WaitFinished());
    EXPECT_EQ(observer.Lines()[0],
              "onConfigRoom(1,1.0,http://127.0.0.1/downloads/kestrum-1.0.exe,1.2,"
              "http://127.0.0.1/downloads/kestrum-1.2.exe,30,20)");
    EXPECT_EQ(Requests().at(0).method, "GET");
}

TEST_F(MeetingRequestsTest, AnswerWrittenInManyPiecesIsReadOnce) {
    Backend().SetFault("base", "split");
    const Lines lines = Join("split-room", "");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("onJoinRoom(1,split-room,", 0), 0u) << lines[0];
}

TEST_F(MeetingRequestsTest, ServerErrorWithJsonIsAnAnswerNotAFailOver) {
    Backend().SetFault("base", "status500");
    const Lines lines = Join("any-room", "");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "onCallBackError(room/join,internal server error,500)");
    EXPECT_EQ(Route(), "base");
}

TEST_F(MeetingRequestsTest, GarbageAnswerIsAnErrorWithoutText) {
    Backend().SetFault("base", "garbage");
    const Lines lines = Join("any-room", "");
    EXPECT_EQ(lines.at(0), "onCallBackError(room/join,,0)");
}

TEST_F(MeetingRequestsTest, LogUploadSendsEveryPartAndReportsBodyThenStatus) {
    Backend().SetFault("base", "refuse");
    Backend().SetFault("proxy1", "refuse");
    RecordingObserver observer;
    LogUploadRecord record{};
    record.observer = &observer;
    record.uid = 4294967295u;
    record.type = 2;
    record.platform = 1;
    const std::string log = WriteFile("upload.log", "line one\nline two\n");
    snprintf(record.path, sizeof record.path, "%s", log.c_str());
    snprintf(record.appVersion, sizeof record.appVersion, "1.2.3");
    snprintf(record.osVersion, sizeof record.osVersion, "Windows 10");
    Library().uploadlog(record);
    ASSERT_TRUE(observer.WaitFinished());
    EXPECT_EQ(observer.Lines(),
              (Lines{"onLogUpload(0)", "onLogUpload(0)",
                     "onCallBackError(feedback/uploadFeedback,received,0)", "onLogUpload(1)",
                     "onHttpRetUpload(feedback/uploadFeedback,0," + Backend().ProxyUrl(2) +
                         "feedback/uploadFeedback)"}));
    const auto request = Requests().at(0);
    EXPECT_EQ(request.listener, "proxy2");
    EXPECT_EQ(request.parts, (Lines{"log", "filename", "uid", "platform", "type", "appVersion",
                                    "osVersion", "text"}));
    EXPECT_FALSE(request.HasHeader("access_token"));
}

}  // namespace
