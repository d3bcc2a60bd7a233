#include "kestrum/core/kestrum_course.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "chinese_emoji_text.h"
#include "kestrum/testing/wait.h"
#include "meeting_data_fixture.h"
#include "message_window.h"
#include "signal_fixture.h"

// The bridge on the real service library against the local back-end: the sign-in and join road
// as the windows will see it, one message after the other.

namespace {

template <class F>
F Export(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void NoHttpReport(const char*, int, unsigned) {}

// The join window the bridge's sign-in answers go to, as the program names it before the bridge
// starts: the configuration answer can come before the constructor has returned.
HWND joinWindow = nullptr;
HWND JoinWindow(int dialog) { return dialog == CKestrumCourse::kJoinDialog ? joinWindow : nullptr; }

class CourseRoadTest : public SignalTest {
protected:
    void SetUp() override {
        SignalTest::SetUp();
        if (HasFatalFailure()) return;
        ServiceLibrary& library = Library();
        exports_.init = library.init;
        exports_.uninit = library.uninit;
        exports_.setUserInfo = library.setUserInfo;
        exports_.getToken = library.getToken;
        exports_.getPhoto = library.getPhoto;
        exports_.configRoom = library.configRoom;
        exports_.updateRoom = library.updateRoom;
        exports_.ctrlRoom = library.ctrlRoom;
        exports_.releaseAccountObserver = library.releaseAccountObserver;
        exports_.releaseMeetingObserver = library.releaseMeetingObserver;
        exports_.createSocketIOHandle = Export<decltype(exports_.createSocketIOHandle)>(
            library.Module(), "createSocketIOHandle");
        exports_.destorySocketIOHandle = Export<decltype(exports_.destorySocketIOHandle)>(
            library.Module(), "destorySocketIOHandle");

        CKestrumData& data = meeting_.data();
        data.token = kToken;
        data.uid = kUid;
        data.nickname = "Alice";
        data.roomName = kRoom;
        data.streamId = 20001;
        data.status = 0;
        data.appVersion = "1.0.0";
        joinWindow = window_.handle();
        CKestrumCourse::setDialogWindowLookup(JoinWindow);
    }
    void TearDown() override {
        // The bridge ends its own connection, requests and worker before the library goes.
        course_.reset();
        CKestrumCourse::setDialogWindowLookup(nullptr);
        joinWindow = nullptr;
        SignalTest::TearDown();
    }

    // The next course message other than the HTTP statistics, which arrive after every request
    // (false when none came by the tests' timeout).
    bool next(MSG& message) {
        return kestrum::testing_support::WaitUntil([&] {
            while (window_.take(message, WM_ACCOUNT_ERROR, WM_HTTP_RESULT)) {
                if (message.message != WM_HTTP_RESULT) return true;
            }
            return false;
        });
    }

    // The next message, which must be `expected`; its payload goes to `out` (freed after).
    struct Payload {
        UINT message = 0;
        WPARAM data = 0;
        ~Payload() { FreeCoursePayload(message, data); }
        template <class Record>
        const Record& as() const {
            return *reinterpret_cast<const Record*>(data);
        }
    };
    void expectNext(UINT expected, Payload& out) {
        MSG message;
        ASSERT_TRUE(next(message)) << "no message 0x" << std::hex << expected;
        out.message = message.message;
        out.data = message.wParam;
        ASSERT_EQ(message.message, expected) << std::hex << "0x" << message.message;
    }

    MeetingDataFixture meeting_;
    MessageWindow window_;
    CourseExports exports_{};
    std::unique_ptr<CKestrumCourse> course_;
};

TEST_F(CourseRoadTest, SignInJoinAndSignallingArriveInOrderWithTheirPayloads) {
    course_ = std::make_unique<CKestrumCourse>(exports_, NoHttpReport);
    CKestrumCourse& course = *course_;

    Payload config;
    ASSERT_NO_FATAL_FAILURE(expectNext(WM_CONFIG_ROOM, config));
    // The local back-end's versions, as it wrote them.
    EXPECT_EQ(config.as<ConfigRoomPayload>().minimumVersion, "1.0");
    EXPECT_EQ(config.as<ConfigRoomPayload>().latestVersion, "1.2");

    Library().joinRoom(&course, kRoom, "1.0.0", "win", "");
    Payload join;
    ASSERT_NO_FATAL_FAILURE(expectNext(WM_JOIN_ROOM, join));
    EXPECT_EQ(join.as<JoinRoomPayload>().rid, kRoom);
    EXPECT_FALSE(join.as<JoinRoomPayload>().mediaToken.empty());

    course.connectSocket();
    Payload open;
    ASSERT_NO_FATAL_FAILURE(expectNext(WM_SOCKET_OPEN, open));
    Payload own;
    ASSERT_NO_FATAL_FAILURE(expectNext(WM_SOCKET_JOIN_SUCCESS, own));
    EXPECT_STREQ(own.as<UserInfoRecord>().uid, kUid);
    EXPECT_STREQ(own.as<UserInfoRecord>().name, "Alice");
    EXPECT_TRUE(course.socketJoined);
    Payload list;
    ASSERT_NO_FATAL_FAILURE(expectNext(WM_SOCKET_USER_LIST, list));
    ASSERT_EQ(list.as<std::vector<UserInfoRecord>>().size(), 1u);
    Payload room;
    ASSERT_NO_FATAL_FAILURE(expectNext(WM_SOCKET_ROOM_INFO, room));
    EXPECT_STREQ(room.as<RoomInfoRecord>().rid, kRoom);

    Peer bob(Origin(), kPeerUid, kRoom, kPeerToken);
    Payload joined;
    ASSERT_NO_FATAL_FAILURE(expectNext(WM_SOCKET_USER_JOIN, joined));
    EXPECT_STREQ(joined.as<UserInfoRecord>().uid, kPeerUid);

    course.broadcastMsg("hello");
    Payload chat;
    ASSERT_NO_FATAL_FAILURE(expectNext(WM_SOCKET_USER_MSG, chat));
    EXPECT_EQ(chat.as<StringPairPayload>().text1, kUid);
    EXPECT_EQ(chat.as<StringPairPayload>().text2, "hello");
    // The window takes the rest of the message's batch as it handles it: none came with it.
    EXPECT_TRUE(course.takeChat(chat.as<StringPairPayload>().code).empty());
    course.broadcastMsg(kChineseEmojiUtf8);
    Payload unicodeChat;
    ASSERT_NO_FATAL_FAILURE(expectNext(WM_SOCKET_USER_MSG, unicodeChat));
    EXPECT_EQ(unicodeChat.as<StringPairPayload>().text2, kChineseEmojiUtf8);

    course.closeSocket();
    EXPECT_FALSE(course.socketJoined);
}

TEST_F(CourseRoadTest, ReconnectJoinsAgainWithTheReconnectFlag) {
    course_ = std::make_unique<CKestrumCourse>(exports_, NoHttpReport);
    CKestrumCourse& course = *course_;
    Payload config;
    ASSERT_NO_FATAL_FAILURE(expectNext(WM_CONFIG_ROOM, config));

    for (bool reconnect : {false, true}) {
        if (reconnect)
            course.reconnectSocket();
        else
            course.connectSocket();
        Payload open;
        ASSERT_NO_FATAL_FAILURE(expectNext(WM_SOCKET_OPEN, open));
        Payload own;
        ASSERT_NO_FATAL_FAILURE(expectNext(WM_SOCKET_JOIN_SUCCESS, own));
        Payload list;
        ASSERT_NO_FATAL_FAILURE(expectNext(WM_SOCKET_USER_LIST, list));
        Payload room;
        ASSERT_NO_FATAL_FAILURE(expectNext(WM_SOCKET_ROOM_INFO, room));
        const std::vector<std::string> urls = Server().ConnectionUrls();
        ASSERT_FALSE(urls.empty());
        EXPECT_EQ(urls.back().find("reconnect=true") != std::string::npos, reconnect)
            << urls.back();
    }
}

}  // namespace
