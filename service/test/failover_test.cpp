// Server fail-over, re-rating, replacing and releasing requests, against the test back-end.

#include <windows.h>

#include "support/service_fixture.h"

namespace {

using Lines = std::vector<std::string>;

class FailoverTest : public ServiceTest {
protected:
    void RefuseAll() {
        Backend().SetFault("base", "refuse");
        for (int p = 1; p <= 5; ++p) Backend().SetFault("proxy" + std::to_string(p), "refuse");
    }
};

TEST_F(FailoverTest, AllCandidatesRefusedGiveOneErrorAndOneFinish) {
    RefuseAll();
    RecordingObserver observer;
    Library().updateInfo(&observer, "", "Bob", "");
    ASSERT_TRUE(observer.WaitFinished());
    const Lines lines = observer.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("onCallBackError(account/update,", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(",7)"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1].rfind("onHttpRetUpload(account/update,7,", 0), 0u) << lines[1];
}

TEST_F(FailoverTest, SilentCandidateTimesOutAndTheAnsweringOneLeadsNextTime) {
    Backend().SetFault("base", "fail-after", -1, 1000);
    Backend().SetFault("proxy1", "silent");
    RecordingObserver first;
    Library().createRoom(&first, "rated-room", "", "", 0);
    ASSERT_TRUE(first.WaitFinished());
    EXPECT_EQ(first.Lines()[0], "onCreateRoom(1,rated-room,rated-room,0)");
    EXPECT_EQ(Route(), "base,proxy1,proxy2");

    // base (dropped after 1 s: 2.1) and proxy1 (3 s time-out: 3.3) now rate worse than proxy2
    // (quick: about 1.5), so proxy2 leads the next request.
    Backend().Reset();
    RecordingObserver second;
    Library().createRoom(&second, "rated-room-2", "", "", 0);
    ASSERT_TRUE(second.WaitFinished());
    EXPECT_EQ(Route(), "proxy2");
}

TEST_F(FailoverTest, SecondCallReplacesTheFirstWhichReportsNothing) {
    Backend().SetFault("base", "silent", 1);
    RecordingObserver first;
    RecordingObserver second;
    Library().joinRoom(&first, "replace-room", "", "", "");
    Sleep(300);
    const DWORD t0 = GetTickCount();
    Library().joinRoom(&second, "replace-room", "", "", "");
    EXPECT_LT(GetTickCount() - t0, 2500u) << "stopping the silent request took too long";
    ASSERT_TRUE(second.WaitFinished());
    EXPECT_EQ(second.Lines()[0].rfind("onJoinRoom(1,replace-room,", 0), 0u);
    Sleep(200);
    EXPECT_TRUE(first.Lines().empty()) << first.Lines()[0];
}

TEST_F(FailoverTest, ReleasedObserverHearsNothingMore) {
    RecordingObserver probe;
    Library().joinRoom(&probe, "release-room", "", "", "");
    ASSERT_TRUE(probe.WaitFinished());
    const char* joinApi = probe.LastApi();

    Backend().SetFault("base", "delay", 1, 800);
    RecordingObserver released;
    Library().joinRoom(&released, "release-room", "", "", "");
    const std::string copy = "room/join";
    Library().releaseMeetingObserver(copy.c_str());  // equal text elsewhere: releases nothing
    Library().releaseAccountObserver(nullptr);       // the account kinds only
    Library().releaseMeetingObserver(joinApi);
    Sleep(1500);
    EXPECT_TRUE(released.Lines().empty());
    EXPECT_EQ(Route(), "base,base");
}

// An observer that starts its own kind again, and another kind, from its notification.
class RestartingObserver : public RecordingObserver {
public:
    explicit RestartingObserver(ServiceLibrary& library) : library_(library) {}
    void onJoinRoom(bool success, const char* rid, const char* topic, int signalAccount,
                    int initialStatus, const std::vector<std::string>& hosts,
                    const char* mediaToken) override {
        library_.joinRoom(this, rid, "", "", "");  // refused: it would wait on itself
        library_.configRoom(&other);
        RecordingObserver::onJoinRoom(success, rid, topic, signalAccount, initialStatus, hosts,
                                      mediaToken);
    }
    RecordingObserver other;

private:
    ServiceLibrary& library_;
};

TEST_F(FailoverTest, NotificationMayStartAnotherKindButNotItsOwn) {
    RestartingObserver observer(Library());
    Library().joinRoom(&observer, "nested-room", "", "", "");
    ASSERT_TRUE(observer.WaitFinished());
    ASSERT_TRUE(observer.other.WaitFinished());
    Sleep(300);
    EXPECT_EQ(observer.Lines().size(), 2u);
    int joins = 0;
    for (const auto& request : Requests()) joins += request.path == "/kmrservice/room/join";
    EXPECT_EQ(joins, 1);
}

}  // namespace
