#include "kestrum/core/kestrum_course.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "chinese_emoji_text.h"
#include "kestrum/common/scoped_handle.h"
#include "kestrum/core/chat_text.h"
#include "kestrum/core/util_lock_guard.h"
#include "kestrum/core/util_text.h"
#include "kestrum/testing/heap_blocks.h"
#include "kestrum/testing/wait.h"
#include "kestrum/testing/win_wait.h"
#include "meeting_data_fixture.h"
#include "message_window.h"
#include "temp_folder.h"

using kestrum::testing_support::UsedHeapBlocks;
using ZuvraKestrum::socketio::CSocketIOCallBack;
using ZuvraKestrum::socketio::ISocketIOInterface;
using ZuvraKestrum::Util::CLockGuard;

namespace {

// One call of a faked export or handle operation.
struct Call {
    Call(std::string name, std::vector<std::string> texts = {}, std::vector<std::string> list = {},
         int number = 0)
        : name(std::move(name)), texts(std::move(texts)), list(std::move(list)), number(number) {}

    std::string name;
    std::vector<std::string> texts;
    std::vector<std::string> list;
    int number = 0;
    DWORD tick = 0;
};

// What the fake library was asked, shared by the fake exports (plain functions, as the table
// needs) and the fake handles. Reset by each test.
struct Journal {
    std::mutex mutex;
    std::vector<Call> calls;
    bool refuseHandles = false;
    std::atomic<int> liveHandles{0};
    std::atomic<int> createdHandles{0};

    void add(Call call) {
        call.tick = GetTickCount();
        std::lock_guard<std::mutex> guard(mutex);
        calls.push_back(std::move(call));
    }
    std::vector<Call> named(const std::string& name) {
        std::lock_guard<std::mutex> guard(mutex);
        std::vector<Call> found;
        for (const Call& call : calls) {
            if (call.name == name) found.push_back(call);
        }
        return found;
    }
    // The calls of that name once `count` were made, or those made by the tests' timeout.
    std::vector<Call> await(const std::string& name, size_t count) {
        std::vector<Call> found;
        kestrum::testing_support::WaitUntil([&] {
            found = named(name);
            return found.size() >= count;
        });
        return found;
    }
    void reset() {
        std::lock_guard<std::mutex> guard(mutex);
        calls.clear();
        refuseHandles = false;
        liveHandles = 0;
        createdHandles = 0;
    }
};

Journal journal;

// What the fake uninit does before it returns: the real one waits there for the library's
// workers, which may still be reporting a request. Reset by each test.
std::function<void()> stopLibraryWorkers;

// The library's meeting requests as far as their observer goes: a worker calls the observer only
// while it holds the gate, and a release takes the gate, so that a release waits for a call under
// way and no call follows it. Reset by each test.
struct FakeMeetingWorkers {
    std::mutex gate;
    CUserCallBack* observer = nullptr;  // under gate
};
FakeMeetingWorkers meetingWorkers;

class FakeSocket : public ISocketIOInterface {
public:
    explicit FakeSocket(CSocketIOCallBack* observer) : observer_(observer) {
        ++journal.liveHandles;
        ++journal.createdHandles;
        latest = this;
    }
    // Like the real handle, waits for its network thread before it is gone.
    ~FakeSocket() override {
        if (network_.joinable()) network_.join();
        --journal.liveHandles;
    }

    // Delivers event to the observer on the handle's own network thread.
    void deliver(std::function<void(CSocketIOCallBack*)> event) {
        network_ = std::thread([this, event = std::move(event)] { event(observer_); });
    }
    // The handle created last; dangling once it is destroyed.
    static FakeSocket* latest;

    bool connect(const std::map<std::string, std::string>& query, const char* token) override {
        Call call{"connect", {token}};
        for (const auto& pair : query) call.list.push_back(pair.first + "=" + pair.second);
        journal.add(call);
        // Widens the window in which a second connect could slip in beside this one.
        Sleep(5);
        return true;
    }
    bool broadcast(const char* text) override {
        if (std::string(text) == kSlowText) {
            SetEvent(inSlowBroadcast);
            // Long enough for a close on another thread to reach the handle if nothing stops it.
            Sleep(100);
            journal.add({"broadcast", {text}, {}, journal.liveHandles.load()});
            return true;
        }
        journal.add({"broadcast", {text}});
        return true;
    }
    static constexpr const char* kSlowText = "slow";
    static HANDLE inSlowBroadcast;
    bool sendRequest(const char* op, const char* target, const char* rid) override {
        journal.add({"sendRequest", {op, target, rid}});
        return true;
    }
    bool sendResponse(const char* requestId, bool accept, const char* rid) override {
        journal.add({"sendResponse", {requestId, rid}, {}, accept});
        return true;
    }
    bool updateQuery(const char* key, const char* value) override {
        journal.add({"updateQuery", {key, value}});
        return true;
    }

private:
    CSocketIOCallBack* const observer_;
    std::thread network_;
};

HANDLE FakeSocket::inSlowBroadcast = CreateEventW(nullptr, TRUE, FALSE, nullptr);
FakeSocket* FakeSocket::latest = nullptr;

CourseExports FakeExports() {
    CourseExports table;
    table.init = []() {
        journal.add({"init"});
        return true;
    };
    table.uninit = []() {
        if (stopLibraryWorkers) stopLibraryWorkers();
        journal.add({"uninit"});
    };
    table.setUserInfo = [](const char* token, const char* uid, const char* nick, const char* rid,
                           const char* portraitId) {
        journal.add({"setUserInfo", {token, uid, nick, rid, portraitId}});
    };
    table.getToken = [](CUserCallBack*, int device, int channel, const char* name,
                        const char* photoUrl) {
        journal.add({"getToken", {name, photoUrl}, {std::to_string(channel)}, device});
    };
    table.getPhoto = [](CUserCallBack*, const char* uid, const char* portraitId,
                        const char* path) -> HANDLE {
        journal.add({"getPhoto", {uid, portraitId, path}});
        return nullptr;
    };
    table.configRoom = [](CUserCallBack*) -> HANDLE {
        journal.add({"configRoom"});
        return nullptr;
    };
    table.updateRoom = [](CUserCallBack*, const char* rid, const std::vector<std::string>& hosts,
                          int initialStatus, const char* topic, const char* pwd) {
        journal.add({"updateRoom", {rid, topic, pwd}, hosts, initialStatus});
    };
    table.ctrlRoom = [](CUserCallBack*, const char* op, const std::vector<std::string>& targets) {
        journal.add({"ctrlRoom", {op}, targets});
    };
    table.createSocketIOHandle = [](CSocketIOCallBack* observer) -> ISocketIOInterface* {
        journal.add({"createSocketIOHandle"});
        if (journal.refuseHandles) return nullptr;
        return new FakeSocket(observer);
    };
    table.destorySocketIOHandle = [](ISocketIOInterface* handle) {
        journal.add({"destorySocketIOHandle"});
        delete handle;
    };
    table.releaseAccountObserver = [](const char*) {};
    table.releaseMeetingObserver = [](const char* api) {
        std::lock_guard<std::mutex> guard(meetingWorkers.gate);
        if (!api) meetingWorkers.observer = nullptr;
    };
    return table;
}

std::vector<Call> httpReports;
std::mutex httpReportsMutex;

// A report of this api waits until slowReportsGo is set, as one that reaches a busy engine.
constexpr char kSlowReportApi[] = "slow/report";
HANDLE slowReportsGo = CreateEventW(nullptr, TRUE, TRUE, nullptr);

void FakeHttpReport(const char* api, int curlCode, unsigned elapsedMs) {
    if (std::string(api) == kSlowReportApi) {
        kestrum::testing_support::WaitForHandle(slowReportsGo);
    }
    std::lock_guard<std::mutex> guard(httpReportsMutex);
    Call report(api, {}, {}, curlCode);
    report.tick = elapsedMs;  // the elapsed time stands where a call's tick would
    httpReports.push_back(report);
}

// The dialogs of the application's table that some results go to.
std::map<int, HWND> dialogs;
HWND FindDialog(int dialog) {
    const auto found = dialogs.find(dialog);
    return found == dialogs.end() ? nullptr : found->second;
}

// A payload taken from the queue and freed as a receiver frees it.
struct Received {
    UINT message = 0;
    WPARAM payload = 0;
    ~Received() { FreeCoursePayload(message, payload); }
    template <class Record>
    const Record& as() const {
        return *reinterpret_cast<const Record*>(payload);
    }
};

UserInfoRecord User(const char* uid, const char* name, int streamId) {
    return UserInfoRecord(uid, name, "portrait-" + std::string(uid), streamId, "acc", 1, -1, 0);
}

class CourseTest : public ::testing::Test {
protected:
    void SetUp() override {
        journal.reset();
        stopLibraryWorkers = nullptr;
        {
            std::lock_guard<std::mutex> guard(meetingWorkers.gate);
            meetingWorkers.observer = nullptr;
        }
        FakeSocket::latest = nullptr;
        dialogs.clear();
        CKestrumCourse::setDialogWindowLookup(FindDialog);
        {
            std::lock_guard<std::mutex> guard(httpReportsMutex);
            httpReports.clear();
        }
        ASSERT_NE(window_.handle(), nullptr);
        data().uid = "u-own";
        data().roomName = "room-7";
        data().roomPassword = "pw";
        data().initialStatus = 2;
        data().streamId = 4711;
        data().status = 3;
        data().appVersion = "3.2.1";
        data().token = "tok";
        data().nickname = "Own";
    }
    void TearDown() override {
        stopLibraryWorkers = nullptr;
        CKestrumCourse::setDialogWindowLookup(nullptr);
    }

    CKestrumData& data() { return meeting_.data(); }

    void addParticipant(const char* uid, const char* name) {
        CLockGuard guard(&data().lock);
        data().userList.push_back(User(uid, name, 12));
    }

    // Opens the shared log file in a fresh folder and returns its path. It closes once the
    // test's last logging object has gone, before the folder is removed.
    std::wstring openLog() {
        logFolder_ = std::make_unique<TempFolder>();
        const std::wstring path = logFolder_->path() + L"course.log";
        logOwner_ = std::make_unique<CKestrumDump>("CourseTest", true, false, false, path);
        return path;
    }

    CKestrumCourse& start() {
        course_ = std::make_unique<CKestrumCourse>(FakeExports(), FakeHttpReport);
        course_->targetWindow = window_.handle();
        return *course_;
    }

    // A started bridge whose socket is connected; the fake socket it made.
    FakeSocket* startConnected() {
        start().connectSocket();
        return FakeSocket::latest;
    }

    // The one course message the call posted to window.
    void fire(const std::function<void()>& event, Received& out, const MessageWindow& window) {
        event();
        MSG message;
        ASSERT_TRUE(window.take(message, WM_ACCOUNT_ERROR, WM_HTTP_RESULT));
        out.message = message.message;
        out.payload = message.wParam;
        MSG extra;
        EXPECT_FALSE(window.take(extra, 0, 0)) << "more than one message posted";
    }
    void fire(const std::function<void()>& event, Received& out) { fire(event, out, window_); }

    // The next message of that id posted to the test's window, waited for.
    bool awaitPosted(UINT id, Received& out) {
        MSG message;
        if (!window_.await(message, id, id)) return false;
        out.message = message.message;
        out.payload = message.wParam;
        return true;
    }

    static bool nothingPosted(const MessageWindow& window) {
        MSG message;
        return !window.take(message, 0, 0);
    }

    std::unique_ptr<TempFolder> logFolder_;
    std::unique_ptr<CKestrumDump> logOwner_;
    MeetingDataFixture meeting_;
    MessageWindow window_;
    std::unique_ptr<CKestrumCourse> course_;
};

// ---- Start, sign-in and end -----------------------------------------------------------------

TEST_F(CourseTest, StoredTokenSignsInWithTheStoredUserAndAsksForTheRoomConfiguration) {
    start();
    ASSERT_EQ(journal.named("init").size(), 1u);
    const std::vector<Call> info = journal.named("setUserInfo");
    ASSERT_EQ(info.size(), 1u);
    EXPECT_EQ(info[0].texts, (std::vector<std::string>{"tok", "u-own", "Own", "", ""}));
    EXPECT_EQ(journal.named("configRoom").size(), 1u);
    EXPECT_TRUE(journal.named("getToken").empty());
}

// The own name goes from the configuration file through the meeting data to the library as it
// was saved: Windows-1252 has no Chinese, and no ANSI code page has emoji.
TEST_F(CourseTest, SavedNicknameReachesTheLibraryUnchangedAfterReopening) {
    TempFolder root;
    const std::wstring bin = root.MakeFolder(L"bin");
    {
        CKestrumConfig saved(bin);
        saved.setToken("tok-saved");
        saved.setUid("u-saved");
        ASSERT_TRUE(saved.setNickname(kChineseEmojiUtf8));
    }
    CKestrumConfig reopened(bin);
    CKestrumData stored(L"", reopened);
    EXPECT_EQ(stored.nickname, kChineseEmojiUtf8);
    CKestrumData* const fixtureData = g_kestrumData;
    g_kestrumData = &stored;
    start();
    g_kestrumData = fixtureData;
    const std::vector<Call> info = journal.named("setUserInfo");
    ASSERT_EQ(info.size(), 1u);
    EXPECT_EQ(info[0].texts,
              (std::vector<std::string>{"tok-saved", "u-saved", kChineseEmojiUtf8, "", ""}));
}

// The library may answer the sign-in before the join window has named itself the target.
TEST_F(CourseTest, SignInAnswersReachTheJoinWindowFromTheStart) {
    MessageWindow join;
    dialogs[CKestrumCourse::kJoinDialog] = join.handle();
    course_ = std::make_unique<CKestrumCourse>(FakeExports(), FakeHttpReport);
    EXPECT_EQ(course_->targetWindow.load(), join.handle());
}

// An account made anew (the first start's, or one replacing a token the service refused) keeps
// the name the user goes by.
TEST_F(CourseTest, WithoutTokenAsksForOneAsDevice3OnChannel0UnderTheOwnName) {
    data().token.clear();
    start();
    std::vector<Call> token = journal.named("getToken");
    ASSERT_EQ(token.size(), 1u);
    EXPECT_EQ(token[0].number, 3);
    EXPECT_EQ(token[0].list, (std::vector<std::string>{"0"}));
    EXPECT_EQ(token[0].texts, (std::vector<std::string>{"Own", ""}));
    EXPECT_TRUE(journal.named("setUserInfo").empty());
    EXPECT_TRUE(journal.named("configRoom").empty());

    // The join window signs in again when that failed.
    data().nickname.clear();
    course_->signIn();
    token = journal.named("getToken");
    ASSERT_EQ(token.size(), 2u);
    EXPECT_EQ(token[1].texts, (std::vector<std::string>{"", ""}));
}

TEST_F(CourseTest, DestructionClosesTheSocketThenUninitialises) {
    start().connectSocket();
    course_.reset();
    EXPECT_EQ(journal.liveHandles, 0);
    std::lock_guard<std::mutex> guard(journal.mutex);
    ASSERT_GE(journal.calls.size(), 2u);
    EXPECT_EQ(journal.calls[journal.calls.size() - 2].name, "destorySocketIOHandle");
    EXPECT_EQ(journal.calls.back().name, "uninit");
}

TEST_F(CourseTest, RequestReportedWhileTheLibraryStopsIsJoinedBeforeTheBridgeEnds) {
    CKestrumCourse& course = start();
    stopLibraryWorkers = [&course] {
        std::thread worker([&course] { course.onHttpRetUpload("meeting/join", 0, 5, "http://x"); });
        worker.join();
    };
    course_.reset();  // a report thread left unjoined ends the process here
    std::lock_guard<std::mutex> guard(httpReportsMutex);
    ASSERT_EQ(httpReports.size(), 1u);
    EXPECT_EQ(httpReports[0].name, "meeting/join");
}

// uninit gives up on a worker that does not stop in time and returns while it still calls the
// bridge: the bridge must outlive that call.
TEST_F(CourseTest, WorkerThatUninitLeavesRunningIsReleasedBeforeTheBridgeEnds) {
    CKestrumCourse& course = start();
    {
        std::lock_guard<std::mutex> guard(meetingWorkers.gate);
        meetingWorkers.observer = &course;
    }
    HANDLE inCall = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE bridgeGone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> calledAfterTheEnd{false};
    std::thread worker;
    stopLibraryWorkers = [&] {
        worker = std::thread([&] {
            std::lock_guard<std::mutex> call(meetingWorkers.gate);
            SetEvent(inCall);
            // Reports once the bridge has ended or after 500 ms, whichever comes first.
            const bool gone = WaitForSingleObject(bridgeGone, 500) == WAIT_OBJECT_0;
            if (!meetingWorkers.observer) return;
            if (gone) {
                calledAfterTheEnd = true;  // the call itself would use freed memory
                return;
            }
            meetingWorkers.observer->onHttpRetUpload("meeting/join", 0, 5, "http://x");
        });
        EXPECT_TRUE(kestrum::testing_support::WaitForHandle(inCall));
    };
    course_.reset();
    SetEvent(bridgeGone);
    worker.join();
    CloseHandle(inCall);
    CloseHandle(bridgeGone);
    EXPECT_FALSE(calledAfterTheEnd) << "the bridge ended while the library could still call it";
    std::lock_guard<std::mutex> guard(httpReportsMutex);
    ASSERT_EQ(httpReports.size(), 1u);
    EXPECT_EQ(httpReports[0].name, "meeting/join");
}

// ---- Request results ------------------------------------------------------------------------

TEST_F(CourseTest, AccountErrorCarriesApiMessageAndCode) {
    CKestrumCourse& course = start();
    Received got;
    fire([&] { course.onCallBackError("account/update", "denied", 403); }, got);
    EXPECT_EQ(got.message, 0x509u);
    EXPECT_EQ(got.as<StringPairPayload>().text1, "account/update");
    EXPECT_EQ(got.as<StringPairPayload>().text2, "denied");
    EXPECT_EQ(got.as<StringPairPayload>().code, 403);
}

TEST_F(CourseTest, TokenGoesToTheJoinWindowAndMakesItTheTarget) {
    CKestrumCourse& course = start();
    MessageWindow join;
    dialogs[CKestrumCourse::kJoinDialog] = join.handle();
    Received got;
    fire([&] { course.onUserToken(true, "u1", "Ann", "p9", 77, "t0k"); }, got, join);
    EXPECT_EQ(got.message, 0x50Au);
    const TokenPayload& token = got.as<TokenPayload>();
    EXPECT_EQ(token.uid, "u1");
    EXPECT_EQ(token.name, "Ann");
    EXPECT_EQ(token.portraitId, "p9");
    EXPECT_EQ(token.streamId, 77);
    EXPECT_EQ(token.token, "t0k");
    EXPECT_EQ(course.targetWindow.load(), join.handle());
    EXPECT_TRUE(nothingPosted(window_));
}

TEST_F(CourseTest, JoinResultCarriesTheRoomAndItsHosts) {
    CKestrumCourse& course = start();
    Received got;
    fire([&] { course.onJoinRoom(true, "r1", "topic", 5, 2, {"h1", "h2"}, "media"); }, got);
    EXPECT_EQ(got.message, 0x50Eu);
    const JoinRoomPayload& join = got.as<JoinRoomPayload>();
    EXPECT_EQ(join.rid, "r1");
    EXPECT_EQ(join.topic, "topic");
    EXPECT_EQ(join.signalAccount, 5);
    EXPECT_EQ(join.initialStatus, 2);
    EXPECT_EQ(join.hosts, (std::vector<std::string>{"h1", "h2"}));
    EXPECT_EQ(join.mediaToken, "media");
}

// Read as numbers, "1.10" would become 1.1 and fall below a program at 1.9.
TEST_F(CourseTest, ConfigurationCarriesVersionsAsTheServiceWroteThem) {
    CKestrumCourse& course = start();
    Received got;
    fire([&] { course.onConfigRoom(true, "1.10", "http://min", "2.1.0", "http://new", 30, 60); },
         got);
    EXPECT_EQ(got.message, 0x513u);
    const ConfigRoomPayload& config = got.as<ConfigRoomPayload>();
    EXPECT_EQ(config.minimumVersion, "1.10");
    EXPECT_EQ(config.minimumUrl, "http://min");
    EXPECT_EQ(config.latestVersion, "2.1.0");
    EXPECT_EQ(config.latestUrl, "http://new");
    EXPECT_EQ(config.maxRequestTimeout, 30);
    EXPECT_EQ(config.unmuteRequestTimeout, 60);
}

TEST_F(CourseTest, UserUpdateAndSocketStatusPostNoPayload) {
    CKestrumCourse& course = start();
    for (const auto& [message, event] : std::vector<std::pair<UINT, std::function<void()>>>{
             {0x50Bu, [&] { course.onUserUpdate(true); }},
             {0x514u, [&] { course.onSocketStatus_Open(); }},
             {0x515u, [&] { course.onSocketStatus_Reconnect(); }},
             {0x511u, [&] { course.onSocketStatus_Fail(); }}}) {
        Received got;
        fire(event, got);
        EXPECT_EQ(got.message, message);
        EXPECT_EQ(got.payload, 0u);
    }
    course.onSocketStatus_Close();
    course.onUpdatePhoto("p1");
    EXPECT_TRUE(nothingPosted(window_));
}

// Logs are uploaded: the tokens reach the windows whole but the log only masked.
TEST_F(CourseTest, AccessAndMediaTokensAreMaskedInTheLog) {
    const std::wstring logPath = openLog();
    CKestrumCourse& course = start();
    dialogs[CKestrumCourse::kJoinDialog] = window_.handle();
    Received token;
    fire([&] { course.onUserToken(true, "u1", "Ann", "p9", 77, "acc3ss-secret"); }, token);
    EXPECT_EQ(token.as<TokenPayload>().token, "acc3ss-secret");
    Received control;
    fire([&] { course.onRoomCtrl(true, 9, "med1a-secret"); }, control);
    EXPECT_EQ(control.as<RoomCtrlPayload>().mediaToken, "med1a-secret");

    const std::string log = ReadFileBytes(logPath);
    EXPECT_NE(log.find("acc3***"), std::string::npos) << log;
    EXPECT_NE(log.find("med1***"), std::string::npos) << log;
    EXPECT_EQ(log.find("secret"), std::string::npos) << log;
}

TEST_F(CourseTest, RoomControlResultIsPostedOnlyWithAMediaToken) {
    CKestrumCourse& course = start();
    course.onRoomCtrl(true, 9, "");
    course.onRoomCtrl(true, 9, nullptr);
    EXPECT_TRUE(nothingPosted(window_));
    Received got;
    fire([&] { course.onRoomCtrl(true, 9, "share-token"); }, got);
    EXPECT_EQ(got.message, 0x512u);
    EXPECT_EQ(got.as<RoomCtrlPayload>().shareId, 9);
    EXPECT_EQ(got.as<RoomCtrlPayload>().mediaToken, "share-token");
}

// A window that asked and closed gets no successor: the host's window opened since, which asked
// nothing, would give its place to the participant's.
TEST_F(CourseTest, RoomUpdateGoesToTheSettingsWindowThatAsked) {
    CKestrumCourse& course = start();
    MessageWindow roomSettings;
    MessageWindow hostSettings;
    dialogs[3] = roomSettings.handle();
    dialogs[4] = hostSettings.handle();
    HWND closed =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    course.giveupSpeaker(closed);
    DestroyWindow(closed);
    course.onUpdateRoom(true);
    EXPECT_TRUE(nothingPosted(hostSettings));
    EXPECT_TRUE(nothingPosted(roomSettings));

    course.applySpeaker(roomSettings.handle());
    Received asked;
    fire([&] { course.onUpdateRoom(true); }, asked, roomSettings);
    EXPECT_EQ(asked.message, 0x510u);
    EXPECT_TRUE(nothingPosted(hostSettings));

    course.giveupSpeaker(hostSettings.handle());
    Received gaveUp;
    fire([&] { course.onUpdateRoom(true); }, gaveUp, hostSettings);
    EXPECT_EQ(gaveUp.message, 0x510u);
    EXPECT_TRUE(nothingPosted(roomSettings));
    EXPECT_TRUE(nothingPosted(window_));

    // The meeting ended while a request was under way: the window that asked, still closing,
    // gets no answer for the room left.
    course.applySpeaker(roomSettings.handle());
    course.forgetSpeakerAsker();
    course.onUpdateRoom(true);
    EXPECT_TRUE(nothingPosted(roomSettings));

    const std::vector<Call> updates = journal.named("updateRoom");
    ASSERT_EQ(updates.size(), 4u);  // giveupSpeaker, applySpeaker, giveupSpeaker, applySpeaker
    EXPECT_EQ(updates[1].texts, (std::vector<std::string>{"room-7", "", "pw"}));
    EXPECT_EQ(updates[1].list, (std::vector<std::string>{"u-own"}));
    EXPECT_EQ(updates[1].number, 2);
    EXPECT_TRUE(updates[2].list.empty());
}

TEST_F(CourseTest, PhotoResultCarriesTheRequestedPortraitOnlyOnSuccess) {
    CKestrumCourse& course = start();
    course.getPhoto("u-own", "portrait-42", "C:\\p.png");
    const std::vector<Call> asked = journal.named("getPhoto");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].texts, (std::vector<std::string>{"u-own", "portrait-42", "C:\\p.png"}));

    course.onGetPhoto(0, "u-own");
    course.onGetPhoto(1, "someone-else");
    EXPECT_TRUE(nothingPosted(window_));
    Received got;
    fire([&] { course.onGetPhoto(1, "u-own"); }, got);
    EXPECT_EQ(got.message, 0x50Cu);
    EXPECT_EQ(got.as<std::string>(), "portrait-42");
}

TEST_F(CourseTest, HttpResultPostsTheCodeItselfAndReportsIt) {
    CKestrumCourse& course = start();
    Received got;
    fire([&] { course.onHttpRetUpload("meeting/join", 28, 1500, "http://x"); }, got);
    EXPECT_EQ(got.message, 0x52Cu);
    EXPECT_EQ(got.payload, 28u);
    for (int i = 0; i < 19; ++i) course.onHttpRetUpload("meeting/ctrl", 0, 5, "http://x");
    course_.reset();  // joins the report threads still kept
    ASSERT_EQ(httpReports.size(), 20u);
    // Report threads finish in any order.
    const auto join = std::find_if(httpReports.begin(), httpReports.end(), [](const Call& report) {
        return report.name == "meeting/join";
    });
    ASSERT_NE(join, httpReports.end());
    EXPECT_EQ(join->number, 28);
    EXPECT_EQ(join->tick, 1500u);
}

// A report reaches the engine, which may be slow: the library's worker that reported the request
// must not wait for it, however many requests end meanwhile.
TEST_F(CourseTest, SlowReportsNeverHoldUpTheLibrarysWorker) {
    CKestrumCourse& course = start();
    ResetEvent(slowReportsGo);
    std::future<void> worker = std::async(std::launch::async, [&course] {
        course.onHttpRetUpload(kSlowReportApi, 0, 5, "http://x");
        for (int i = 0; i < 12; ++i) course.onHttpRetUpload("meeting/ctrl", 0, 5, "http://x");
    });
    // The slow report lasts until it is let go below, so the worker may take the tests' timeout:
    // a busy machine starts thirteen threads slowly.
    const bool returned =
        worker.wait_for(kestrum::testing_support::TestTimeout()) == std::future_status::ready;
    SetEvent(slowReportsGo);
    worker.wait();
    EXPECT_TRUE(returned) << "an observer call waited for an earlier report";
    course_.reset();  // joins the reports still running
    std::lock_guard<std::mutex> guard(httpReportsMutex);
    EXPECT_EQ(httpReports.size(), 13u);
}

// ---- Signalling events ----------------------------------------------------------------------

// Names reach the windows as they show them (Util::DisplayName).
TEST_F(CourseTest, UserRecordsAreCopiedWithoutTheirLinkAndWithTheirNameAsShown) {
    CKestrumCourse& course = start();
    UserInfoRecord partner;
    UserInfoRecord user = User("u2", "Bob\r\n\xE2\x80\xAE", 12);
    user.linkedRecord = &partner;
    for (const auto& [message, event] : std::vector<std::pair<UINT, std::function<void()>>>{
             {0x518u, [&] { course.onSocketUserJoin(&user); }},
             {0x51Du, [&] { course.onSocketUserInfo(&user); }}}) {
        Received got;
        fire(event, got);
        EXPECT_EQ(got.message, message);
        EXPECT_EQ(got.as<UserInfoRecord>(), user);
        EXPECT_STREQ(got.as<UserInfoRecord>().name, "Bob\xEF\xBF\xBD\xEF\xBF\xBD");
        EXPECT_EQ(got.as<UserInfoRecord>().linkedRecord, nullptr);
    }
}

TEST_F(CourseTest, OwnJoinMarksTheSocketJoinedAndCloseClearsIt) {
    CKestrumCourse& course = start();
    course.connectSocket();
    const UserInfoRecord own = User("u-own", "Own", 4711);
    Received got;
    fire([&] { course.onSocketJoinSuccess(&own); }, got);
    EXPECT_EQ(got.message, 0x517u);
    EXPECT_EQ(got.as<UserInfoRecord>(), own);
    EXPECT_TRUE(course.socketJoined);
    course.closeSocket();
    EXPECT_FALSE(course.socketJoined);
}

TEST_F(CourseTest, ListsRoomAndOperatorAreCopied) {
    CKestrumCourse& course = start();
    const std::vector<UserInfoRecord> users = {User("a", "A", 1), User("b", "B\x1B", 2)};
    Received list;
    fire([&] { course.onSocketUserList(users); }, list);
    EXPECT_EQ(list.message, 0x51Au);
    EXPECT_EQ(list.as<std::vector<UserInfoRecord>>(), users);
    EXPECT_STREQ(list.as<std::vector<UserInfoRecord>>()[1].name, "B\xEF\xBF\xBD");

    const RoomInfoRecord room("r9", "pw", {"h1"}, "\xD7\xA9 Host", 1, "topic", SdkConfigsRecord());
    Received info;
    fire([&] { course.onSocketRoomInfo(&room); }, info);
    EXPECT_EQ(info.message, 0x51Bu);
    EXPECT_STREQ(info.as<RoomInfoRecord>().rid, "r9");
    EXPECT_EQ(info.as<RoomInfoRecord>().hosts, room.hosts);
    EXPECT_STREQ(info.as<RoomInfoRecord>().hostName, "\xE2\x81\xA8\xD7\xA9 Host\xE2\x81\xA9");

    Received op;
    fire([&] { course.onSocketUserOperator("host", "muteAudio", "b", users); }, op);
    EXPECT_EQ(op.message, 0x51Cu);
    const UserOperatorPayload& payload = op.as<UserOperatorPayload>();
    EXPECT_EQ(payload.operatorUid, "host");
    EXPECT_EQ(payload.target, "b");
    EXPECT_EQ(payload.type, "muteAudio");
    EXPECT_EQ(payload.users, users);
    EXPECT_STREQ(payload.users[1].name, "B\xEF\xBF\xBD");

    Received leave;
    fire([&] { course.onSocketUserLeave("a"); }, leave);
    EXPECT_EQ(leave.message, 0x519u);
    EXPECT_EQ(leave.as<std::string>(), "a");
}

TEST_F(CourseTest, ErrorsAndMessagesCarryTheirTexts) {
    CKestrumCourse& course = start();
    Received error;
    fire([&] { course.onSocketUserError(-1, "kicked"); }, error);
    EXPECT_EQ(error.message, 0x516u);
    EXPECT_EQ(error.as<SocketErrorPayload>().text, "kicked");
    EXPECT_EQ(error.as<SocketErrorPayload>().code, -1);

    Received chat;
    fire([&] { course.onSocketUserMsg("u2", "hello"); }, chat);
    EXPECT_EQ(chat.message, 0x51Eu);
    EXPECT_EQ(chat.as<StringPairPayload>().text1, "u2");
    EXPECT_EQ(chat.as<StringPairPayload>().text2, "hello");
}

// A flood of chat costs the window one message per batch, not one per line: lines that come
// while a batch's message waits join it, and another event in between starts a new batch, so that
// the window sees everything in the order it came. Each batch is taken once. Whether it waits as
// a line or in the posted record, a message keeps no more than its bubble can show, and no half
// character.
TEST_F(CourseTest, ChatFloodReachesTheWindowInBatchesInOrder) {
    const std::string shown(ZuvraKestrum::Chat::kMaxShownBytes - 1, 'w');
    std::string huge = shown;
    while (huge.size() < (size_t{1} << 20)) huge += "\xE4\xBD\xA0";  // U+4F60, three bytes
    CKestrumCourse& course = start();
    course.onSocketUserMsg("u1", "a");
    course.onSocketUserMsg("u2", "b");
    course.onSocketUserMsg("u1", "c");
    course.onSocketUserMsg("u2", huge.c_str());
    course.onSocketUserLeave("u2");
    course.onSocketUserMsg("u1", huge.c_str());
    Received first;
    Received leave;
    Received second;
    ASSERT_TRUE(awaitPosted(WM_SOCKET_USER_MSG, first));
    ASSERT_TRUE(awaitPosted(WM_SOCKET_USER_LEAVE, leave));
    ASSERT_TRUE(awaitPosted(WM_SOCKET_USER_MSG, second));
    EXPECT_TRUE(nothingPosted(window_));
    EXPECT_EQ(first.as<StringPairPayload>().text2, "a");
    EXPECT_EQ(second.as<StringPairPayload>().text2, shown);

    // A reconnect while the batches wait in the window's queue keeps them.
    course.reconnectSocket();
    const int batch = first.as<StringPairPayload>().code;
    const std::vector<CKestrumCourse::ChatLine> rest = course.takeChat(batch);
    ASSERT_EQ(rest.size(), 3u);
    EXPECT_EQ(rest[0].uid + " " + rest[0].text, "u2 b");
    EXPECT_EQ(rest[1].uid + " " + rest[1].text, "u1 c");
    EXPECT_EQ(rest[2].uid + " " + rest[2].text, "u2 " + shown);
    EXPECT_TRUE(course.takeChat(batch).empty());
    EXPECT_TRUE(course.takeChat(second.as<StringPairPayload>().code).empty());
}

TEST_F(CourseTest, RequestsAndResponsesCarryTheNicknameOfTheOtherSide) {
    addParticipant("u2", "Bob");
    CKestrumCourse& course = start();
    Received result;
    fire([&] { course.onSocketRequestResult("invite-mic", "req1", "u2"); }, result);
    EXPECT_EQ(result.message, 0x51Fu);
    const SocketRequestPayload& sent = result.as<SocketRequestPayload>();
    EXPECT_EQ(sent.text1, "invite-mic");
    EXPECT_EQ(sent.text2, "req1");
    EXPECT_EQ(sent.text3, "u2");
    EXPECT_EQ(sent.nickname, "Bob");

    Received request;
    fire([&] { course.onSocketUserRequest("request-mic", "stranger", "req2"); }, request);
    EXPECT_EQ(request.message, 0x520u);
    EXPECT_EQ(request.as<SocketRequestPayload>().text2, "stranger");
    EXPECT_EQ(request.as<SocketRequestPayload>().text3, "req2");
    EXPECT_EQ(request.as<SocketRequestPayload>().nickname, "");

    Received response;
    fire([&] { course.onSocketUserResponse(true, "req1", "", "busy", "u-own", "u2"); }, response);
    EXPECT_EQ(response.message, 0x521u);
    const SocketResponsePayload& answer = response.as<SocketResponsePayload>();
    EXPECT_TRUE(answer.success);
    EXPECT_EQ(answer.requestId, "req1");
    EXPECT_EQ(answer.reason, "busy");
    EXPECT_EQ(answer.sender, "u-own");
    EXPECT_EQ(answer.target, "u2");
    EXPECT_EQ(answer.targetNickname, "Bob");
    EXPECT_EQ(answer.spare, "");
}

// The window converts these texts to UTF-16 itself: none may pass through the ANSI code page.
TEST_F(CourseTest, ChatAndNicknamesKeepChineseAndEmojiAsUtf8) {
    addParticipant("u2", kChineseEmojiUtf8);
    CKestrumCourse& course = start();
    course.connectSocket();
    course.broadcastMsg(kChineseEmojiUtf8);
    const std::vector<Call> sent = journal.named("broadcast");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].texts[0], kChineseEmojiUtf8);

    Received chat;
    fire([&] { course.onSocketUserMsg("u2", kChineseEmojiUtf8); }, chat);
    EXPECT_EQ(chat.as<StringPairPayload>().text2, kChineseEmojiUtf8);
    Received result;
    fire([&] { course.onSocketRequestResult("unmuteAudio", "req1", "u2"); }, result);
    EXPECT_EQ(result.as<SocketRequestPayload>().nickname, kChineseEmojiUtf8);
    Received request;
    fire([&] { course.onSocketUserRequest("unmuteVideo", "u2", "req2"); }, request);
    EXPECT_EQ(request.as<SocketRequestPayload>().nickname, kChineseEmojiUtf8);
    Received response;
    fire([&] { course.onSocketUserResponse(false, "req1", "", "no", "u-own", "u2"); }, response);
    EXPECT_EQ(response.as<SocketResponsePayload>().targetNickname, kChineseEmojiUtf8);
}

// A window may hold the meeting data's lock while the socket goes (or while it waits for the
// thread that closes it); an event being delivered then needs a nickname from that data.
TEST_F(CourseTest, SocketClosesWhileTheMeetingDataIsLockedDuringAnEvent) {
    addParticipant("u2", "Bob");
    FakeSocket* socket = startConnected();
    ASSERT_NE(socket, nullptr);
    CKestrumCourse& course = *course_;
    const kestrum::common::ScopedHandle closed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread closer;
    {
        CLockGuard guard(&data().lock);
        socket->deliver([](CSocketIOCallBack* observer) {
            observer->onSocketUserRequest("unmuteAudio", "u2", "req1");
        });
        closer = std::thread([&course, closed = closed.get()] {
            course.closeSocket();
            SetEvent(closed);
        });
        // Bounded, so that a deadlock fails here and unwinds once the lock is left.
        EXPECT_TRUE(kestrum::testing_support::WaitForHandle(closed.get()))
            << "closing the socket waited for the meeting data's lock";
    }
    closer.join();
    EXPECT_EQ(journal.liveHandles, 0);
    // The event still arrives; its nickname may be missing, as its connection was going.
    Received request;
    MSG message;
    ASSERT_TRUE(window_.take(message, WM_SOCKET_USER_REQUEST, WM_SOCKET_USER_REQUEST));
    request.message = message.message;
    request.payload = message.wParam;
    EXPECT_EQ(request.as<SocketRequestPayload>().text3, "req1");
}

// A window reading the participant list holds the meeting data only briefly: the event waits
// for it and keeps its nickname.
TEST_F(CourseTest, EventWaitsForTheMeetingDataHeldBriefly) {
    addParticipant("u2", "Bob");
    FakeSocket* socket = startConnected();
    ASSERT_NE(socket, nullptr);
    {
        CLockGuard guard(&data().lock);
        socket->deliver([](CSocketIOCallBack* observer) {
            observer->onSocketUserRequest("unmuteAudio", "u2", "req1");
        });
        Sleep(50);
    }
    Received request;
    ASSERT_TRUE(awaitPosted(WM_SOCKET_USER_REQUEST, request));
    EXPECT_EQ(request.as<SocketRequestPayload>().nickname, "Bob");
}

// The same while the socket is being closed: only a lock held past a short grace (by a closer
// that waits for the event's thread) costs the nickname.
TEST_F(CourseTest, ClosingLeavesTheEventAGraceForTheMeetingDataHeldBriefly) {
    addParticipant("u2", "Bob");
    FakeSocket* socket = startConnected();
    ASSERT_NE(socket, nullptr);
    CKestrumCourse& course = *course_;
    const kestrum::common::ScopedHandle asking(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread closer;
    {
        CLockGuard guard(&data().lock);
        socket->deliver([asking = asking.get()](CSocketIOCallBack* observer) {
            journal.await("destorySocketIOHandle", 1);  // the handle is being destroyed
            SetEvent(asking);
            observer->onSocketUserRequest("unmuteAudio", "u2", "req1");
        });
        closer = std::thread([&course] { course.closeSocket(); });
        EXPECT_TRUE(kestrum::testing_support::WaitForHandle(asking.get()));
        Sleep(30);  // well within the grace
    }
    closer.join();
    Received request;
    ASSERT_TRUE(awaitPosted(WM_SOCKET_USER_REQUEST, request));
    EXPECT_EQ(request.as<SocketRequestPayload>().nickname, "Bob");
}

// ---- Payload ownership ----------------------------------------------------------------------

// The heap counts below see every thread's blocks: they hold only while the bridge's own threads
// allocate and free nothing between them, also just after it has been built.
TEST_F(CourseTest, BuiltBridgeAllocatesNothingUntilAsked) {
    start();
    const long before = UsedHeapBlocks();
    Sleep(50);  // a worker still starting up does so meanwhile
    EXPECT_EQ(UsedHeapBlocks(), before);
}

TEST_F(CourseTest, WithoutTargetEveryRecordIsFreed) {
    CKestrumCourse& course = start();
    course.targetWindow = nullptr;
    const UserInfoRecord user = User("u2", "Bob", 12);
    const long before = UsedHeapBlocks();
    course.onCallBackError("api", "text", 1);
    course.onJoinRoom(true, "r", "t", 1, 0, {"h"}, "m");
    course.onSocketUserJoin(&user);
    course.onSocketUserList({user, user});
    course.onSocketUserResponse(false, "r", "", "x", "s", "t");
    EXPECT_EQ(UsedHeapBlocks(), before);
}

TEST_F(CourseTest, RecordOfAFailedPostIsFreed) {
    CKestrumCourse& course = start();
    HWND gone =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    course.targetWindow = gone;
    const long before = UsedHeapBlocks();
    course.onConfigRoom(true, "1", "a", "2", "b", 1, 2);
    course.onSocketUserMsg("u", "m");
    course.onSocketUserOperator("o", "t", "x", {User("a", "A", 1)});
    EXPECT_EQ(UsedHeapBlocks(), before);
}

TEST(CoursePayloadTest, FreeingReleasesTheRecordAndIgnoresMessagesWithoutOne) {
    const long before = UsedHeapBlocks();
    auto* record = new SocketErrorPayload{"text long enough to live on the heap", 1};
    ASSERT_EQ(UsedHeapBlocks(), before + 2) << "the heap count must see new blocks";
    FreeCoursePayload(WM_SOCKET_USER_ERROR, reinterpret_cast<WPARAM>(record));
    EXPECT_EQ(UsedHeapBlocks(), before);
    FreeCoursePayload(WM_ACCOUNT_ERROR, 0);
    FreeCoursePayload(WM_HTTP_RESULT, 28);  // a code, not a block
    FreeCoursePayload(0x601, 0);
    EXPECT_EQ(UsedHeapBlocks(), before);
}

// ---- Room control ---------------------------------------------------------------------------

TEST_F(CourseTest, MuteRequestsLeaveOnePerSecondInOrderWhileBanAndShareGoAtOnce) {
    CKestrumCourse& course = start();
    course.roomctrl_audio(true, {"a"});
    course.roomctrl_video(false, {"b"});
    course.roomctrl_audio(false, {"c"});
    course.roomctrl_ban({"d"});
    course.roomctrl_share(false, {"e"});

    const std::vector<Call> immediate = journal.named("ctrlRoom");
    ASSERT_EQ(immediate.size(), 2u);
    EXPECT_EQ(immediate[0].texts[0], "ban");
    EXPECT_EQ(immediate[0].list, (std::vector<std::string>{"d"}));
    EXPECT_EQ(immediate[1].texts[0], "unshare");

    const std::vector<Call> sent = journal.await("ctrlRoom", 5);
    ASSERT_EQ(sent.size(), 5u);
    EXPECT_EQ(sent[2].texts[0], "muteAudio");
    EXPECT_EQ(sent[2].list, (std::vector<std::string>{"a"}));
    EXPECT_EQ(sent[3].texts[0], "unmuteVideo");
    EXPECT_EQ(sent[4].texts[0], "unmuteAudio");
    EXPECT_LE(sent[2].tick - immediate[1].tick, 2000u);
    EXPECT_GE(sent[3].tick - sent[2].tick, 900u);
    EXPECT_GE(sent[4].tick - sent[3].tick, 900u);
}

TEST_F(CourseTest, DestructionDiscardsQueuedRequestsWithoutWaitingForTheWorker) {
    CKestrumCourse& course = start();
    course.roomctrl_audio(true, {"a"});
    course.roomctrl_audio(true, {"b"});
    const DWORD begin = GetTickCount();
    course_.reset();
    EXPECT_LT(GetTickCount() - begin, 800u);  // not the worker's full pause
    Sleep(1200);
    EXPECT_TRUE(journal.named("ctrlRoom").empty());
}

// Mutes clicked just before the leave never reach the room, nor the next one after a quick
// rejoin; what the next meeting queues goes out as usual.
TEST_F(CourseTest, AMeetingsEndDropsItsQueuedRequestsUnsent) {
    CKestrumCourse& course = start();
    course.roomctrl_audio(true, {"a"});
    course.roomctrl_video(true, {"b"});
    course.dropQueuedControls();
    course.roomctrl_audio(true, {"next"});
    const std::vector<Call> sent = journal.await("ctrlRoom", 1);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].list, (std::vector<std::string>{"next"}));
    Sleep(1200);
    EXPECT_EQ(journal.named("ctrlRoom").size(), 1u);
}

// ---- Signalling requests --------------------------------------------------------------------

TEST_F(CourseTest, ConnectSendsTheMeetingDataAsQueryAndReconnectAddsTheFlag) {
    CKestrumCourse& course = start();
    course.connectSocket();
    course.reconnectSocket();
    const std::vector<Call> connects = journal.named("connect");
    ASSERT_EQ(connects.size(), 2u);
    const std::vector<std::string> query = {"appversion=3.2.1", "channel=room-7", "platform=win",
                                            "status=3",         "streamId=4711",  "uid=u-own"};
    EXPECT_EQ(connects[0].list, query);
    std::vector<std::string> withFlag = query;
    withFlag.insert(withFlag.begin() + 3, "reconnect=true");
    EXPECT_EQ(connects[1].list, withFlag);
    EXPECT_EQ(connects[1].texts[0], "tok");
    EXPECT_EQ(journal.named("destorySocketIOHandle").size(), 1u);
    EXPECT_EQ(journal.liveHandles, 1);
    // The own status as it changes goes with the library's own reconnections of the handle.
    course.updateSocketStatus(1);
    const std::vector<Call> updates = journal.named("updateQuery");
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0].texts, (std::vector<std::string>{"status", "1"}));
    course.closeSocket();
    course.updateSocketStatus(0);
    EXPECT_EQ(journal.named("updateQuery").size(), 1u);
}

TEST_F(CourseTest, ConcurrentConnectsLeaveOneConnection) {
    CKestrumCourse& course = start();
    std::vector<std::thread> threads;
    for (int i = 0; i < 6; ++i) {
        threads.emplace_back([&course, i] {
            if (i % 2)
                course.reconnectSocket();
            else
                course.connectSocket();
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(journal.createdHandles, 6);
    EXPECT_EQ(journal.liveHandles, 1);
    course.closeSocket();
    EXPECT_EQ(journal.liveHandles, 0);
}

TEST_F(CourseTest, SocketOperationsReachTheHandleWithChatInUtf8) {
    CKestrumCourse& course = start();
    course.connectSocket();
    course.broadcastMsg("hi \xC3\xA9");
    course.sendRequest("invite-mic", "u2", "room-7");
    course.sendResponse("req1", true, "room-7");
    const std::vector<Call> chat = journal.named("broadcast");
    ASSERT_EQ(chat.size(), 1u);
    EXPECT_EQ(chat[0].texts[0], "hi \xC3\xA9");
    ASSERT_EQ(journal.named("sendRequest").size(), 1u);
    EXPECT_EQ(journal.named("sendRequest")[0].texts,
              (std::vector<std::string>{"invite-mic", "u2", "room-7"}));
    ASSERT_EQ(journal.named("sendResponse").size(), 1u);
    EXPECT_EQ(journal.named("sendResponse")[0].number, 1);
}

TEST_F(CourseTest, CloseOnAnotherThreadWaitsForABroadcastInProgress) {
    CKestrumCourse& course = start();
    course.connectSocket();
    ResetEvent(FakeSocket::inSlowBroadcast);
    std::thread chat([&course] { course.broadcastMsg(FakeSocket::kSlowText); });
    ASSERT_TRUE(kestrum::testing_support::WaitForHandle(FakeSocket::inSlowBroadcast));
    course.closeSocket();
    chat.join();
    const std::vector<Call> sent = journal.named("broadcast");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].number, 1) << "the handle was destroyed while it was sending";
    EXPECT_EQ(journal.liveHandles, 0);
}

TEST_F(CourseTest, WithoutAHandleSocketOperationsDoNothing) {
    journal.refuseHandles = true;
    CKestrumCourse& course = start();
    course.connectSocket();
    course.broadcastMsg("x");
    course.sendRequest("a", "b", "c");
    course.sendResponse("r", false, "c");
    course.closeSocket();
    EXPECT_TRUE(journal.named("connect").empty());
    EXPECT_TRUE(journal.named("broadcast").empty());
    EXPECT_TRUE(journal.named("destorySocketIOHandle").empty());
}

}  // namespace
