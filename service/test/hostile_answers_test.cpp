// Answers a broken or hostile server may send: too large, with texts too long to keep, with
// invalid UTF-8. Each is that request's failure (or, for UTF-8, is repaired), reported once, and
// leaves the library as it was for the next request.

#include "support/service_fixture.h"

namespace {

using Lines = std::vector<std::string>;

// The replacement character U+FFFD in UTF-8.
const std::string kBad = "\xEF\xBF\xBD";

// Fields of a "member" fault: the member set to the bytes (hex) repeated.
std::string Member(const std::string& member, const std::string& hex, long repeat = 1) {
    return "\"member\":\"" + member + "\",\"hex\":\"" + hex +
           "\",\"repeat\":" + std::to_string(repeat);
}

class HostileAnswersTest : public ServiceTest {
protected:
    Lines Join(const char* rid) {
        RecordingObserver observer;
        Library().joinRoom(&observer, rid, "", "", "");
        EXPECT_TRUE(observer.WaitFinished());
        return observer.Lines();
    }

    Lines GetToken() {
        RecordingObserver observer;
        Library().getToken(&observer, 3, 0, "Eve", "");
        EXPECT_TRUE(observer.WaitFinished());
        return observer.Lines();
    }

    // The library still holds the fixture's token: an update carries it and succeeds.
    void ExpectTheTokenKept() {
        Backend().Reset();
        RecordingObserver update;
        Library().updateInfo(&update, "", "Alice", "");
        ASSERT_TRUE(update.WaitFinished());
        EXPECT_EQ(update.Lines().at(0), "onUserUpdate(1)");
        EXPECT_EQ(Requests().at(0).Header("access_token"), kToken);
    }
};

// Answer size.

TEST_F(HostileAnswersTest, EndlessAnswerIsCutOffAtTheLimitAndFailsTheRequestOnce) {
    Backend().SetFaultWith("base", "endless", "\"size\":314572800");
    const Lines lines = Join("endless-room");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "onCallBackError(room/join,Maximum file size exceeded,63)");
    EXPECT_EQ(lines[1].rfind("onHttpRetUpload(room/join,63,", 0), 0u) << lines[1];
    // An answer, if an unusable one, as a page of garbage is: no other server is asked.
    EXPECT_EQ(Route(), "base");
    const long long sent = EndlessAnswerBytes();
    EXPECT_GT(sent, 0);
    EXPECT_LT(sent, 32ll << 20);
}

TEST_F(HostileAnswersTest, AnswerAnnouncedLargerThanTheLimitIsRefused) {
    Backend().SetFaultWith("base", "member", Member("pad", "78", 2 << 20));
    RecordingObserver observer;
    Library().configRoom(&observer);
    ASSERT_TRUE(observer.WaitFinished());
    const Lines lines = observer.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "onCallBackError(v1/config,Maximum file size exceeded,63)");
    EXPECT_EQ(lines[1].rfind("onHttpRetUpload(v1/config,63,", 0), 0u) << lines[1];
    EXPECT_EQ(Route(), "base");
}

TEST_F(HostileAnswersTest, AnswerJustBelowTheLimitIsRead) {
    Backend().SetFaultWith("base", "member", Member("pad", "78", 1000000));
    RecordingObserver observer;
    Library().configRoom(&observer);
    ASSERT_TRUE(observer.WaitFinished());
    EXPECT_EQ(observer.Lines().at(0).rfind("onConfigRoom(1,1.0,", 0), 0u);
}

// Texts the library keeps.

TEST_F(HostileAnswersTest, TokenTooLongToKeepFailsTheRequestAndKeepsTheOldOne) {
    Backend().SetFaultWith("base", "member", Member("token", "78", 4097));
    const Lines lines = GetToken();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0],
              "onCallBackError(account/getToken,the answer's token, uid or portraitId is too "
              "long,0)");
    EXPECT_EQ(lines[1].rfind("onHttpRetUpload(account/getToken,0,", 0), 0u) << lines[1];
    ExpectTheTokenKept();
}

TEST_F(HostileAnswersTest, TenMegabyteTokenIsRefusedWithItsAnswer) {
    Backend().SetFaultWith("base", "member", Member("token", "78", 10 << 20));
    const Lines lines = GetToken();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "onCallBackError(account/getToken,Maximum file size exceeded,63)");
    ExpectTheTokenKept();
}

TEST_F(HostileAnswersTest, LongestTokenAndUidAreKept) {
    Backend().SetFaultWith("base", "member", Member("uid", "75", 255));
    const Lines lines = GetToken();
    EXPECT_EQ(lines.at(0).rfind("onUserToken(1," + std::string(255, 'u') + ",Eve,", 0), 0u);

    Backend().Reset();
    Backend().SetFaultWith("base", "member", Member("token", "74", 4096));
    EXPECT_EQ(GetToken().at(0).rfind("onUserToken(1,", 0), 0u);
    Backend().Reset();
    RecordingObserver update;
    Library().updateInfo(&update, "", "Eve", "");
    ASSERT_TRUE(update.WaitFinished());
    EXPECT_EQ(Requests().at(0).Header("access_token"), std::string(4096, 't'));
}

TEST_F(HostileAnswersTest, UidTooLongToKeepFailsTheRequest) {
    Backend().SetFaultWith("base", "member", Member("uid", "75", 256));
    EXPECT_EQ(GetToken().at(0),
              "onCallBackError(account/getToken,the answer's token, uid or portraitId is too "
              "long,0)");
    ExpectTheTokenKept();
}

TEST_F(HostileAnswersTest, RoomIdTooLongToKeepFailsTheJoinAndKeepsTheRoom) {
    ASSERT_EQ(Join("kept-room").at(0).rfind("onJoinRoom(1,kept-room,", 0), 0u);
    Backend().SetFaultWith("base", "member", Member("rid", "72", 256));
    const Lines lines = Join("other-room");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "onCallBackError(room/join,the answer's rid is too long,0)");

    Backend().Reset();
    RecordingObserver info;
    Library().getRoom(&info);
    ASSERT_TRUE(info.WaitFinished());
    EXPECT_EQ(Requests().at(0).query, "?rid=kept-room");
}

TEST_F(HostileAnswersTest, RoomIdTooLongToKeepFailsTheCreate) {
    Backend().SetFaultWith("base", "member", Member("rid", "72", 100000));
    RecordingObserver observer;
    Library().createRoom(&observer, "long-room", "", "", 0);
    ASSERT_TRUE(observer.WaitFinished());
    EXPECT_EQ(observer.Lines().at(0),
              "onCallBackError(room/create,the answer's rid is too long,0)");
}

TEST_F(HostileAnswersTest, PortraitIdTooLongToKeepFailsTheUpload) {
    Backend().SetFaultWith("base", "member", Member("portraitId", "70", 256));
    RecordingObserver observer;
    Library().updatePhoto(&observer, WriteFile("portrait-long-id.jpeg", "\xFF\xD8\xFF").c_str());
    ASSERT_TRUE(observer.WaitFinished());
    EXPECT_EQ(observer.Lines().at(0),
              "onCallBackError(account/portrait,the answer's portraitId is too long,0)");
}

// Invalid UTF-8: each maximal ill-formed sequence becomes one U+FFFD.

TEST_F(HostileAnswersTest, InvalidUtf8InTextsIsReplacedBeforeItReachesTheObserver) {
    // "A", a stray 0xFF, "B", a truncated three-byte sequence, "C", an encoded surrogate.
    Backend().SetFaultWith("base", "member", Member("topic", "41ff42e4b843eda080"));
    const Lines lines = Join("utf-room");
    EXPECT_EQ(lines.at(0), "onJoinRoom(1,utf-room,A" + kBad + "B" + kBad + "C" + kBad + kBad +
                               kBad + ",20001,0,[20001],media-8-20001)");
}

TEST_F(HostileAnswersTest, InvalidUtf8InListsAndErrorsIsReplaced) {
    // hosts: ["a\xFFb", "\xC0\xAF"] (an overlong form is two bad bytes).
    Backend().SetFaultWith("base", "member",
                           Member("hosts", "5b2261ff62222c2022c0af225d") + ",\"raw\":true");
    EXPECT_EQ(Join("list-room").at(0), "onJoinRoom(1,list-room,list-room,20001,0,[a" + kBad + "b," +
                                           kBad + kBad + "],media-9-20001)");

    Backend().Reset();
    Backend().SetFaultWith("base", "member", Member("errorMsg", "6e6fff"));
    RecordingObserver refused;
    Library().setUserInfo("unknown-token", kUid, "", "", "");
    Library().joinRoom(&refused, "list-room", "", "", "");
    ASSERT_TRUE(refused.WaitFinished());
    EXPECT_EQ(refused.Lines().at(0), "onCallBackError(room/join,no" + kBad + ",401)");
}

TEST_F(HostileAnswersTest, KeptRoomIdIsRepairedBeforeItIsSentAgain) {
    Backend().SetFaultWith("base", "member", Member("rid", "72ff"));
    EXPECT_EQ(Join("r").at(0).rfind("onJoinRoom(1,r" + kBad + ",", 0), 0u);
    Backend().Reset();
    RecordingObserver info;
    Library().getRoom(&info);
    ASSERT_TRUE(info.WaitFinished());
    EXPECT_EQ(Requests().at(0).query, "?rid=r%EF%BF%BD");
}

}  // namespace
