#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/kestrum/kestrum.h"
#include "app/windows/join/dui_login.h"
#include "app/windows/join/join_form.h"
#include "app/windows/notice/dui_message_box.h"
#include "join_test_support.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/engine/engine_standin_hook.h"
#include "kestrum/json/json_document.h"
#include "road_test_environment.h"
#include "support/test_backend.h"

// The join road as a user goes it: the program's windows on the real service library, pointed at
// the local back-end that the test starts, with the stand-in engine. The join window signs in,
// gets the client configuration, lets the user join once the probe has a verdict, and applies
// the meeting service's answer; the back-end records what was asked.

namespace {

using namespace join_testing;
using road_testing::Backend;

// Where the service library sends its requests: the service, then the five proxies.
const char* const kListeners[] = {"base", "proxy1", "proxy2", "proxy3", "proxy4", "proxy5"};

// A first start: no account yet, so the bridge asks for a token, and no nickname.
::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new road_testing::RoadTestEnvironment({}));

class JoinRoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(road_testing::RoadReady());
        // Configured as well: the configuration's answer has been applied.
        ASSERT_TRUE(PumpUntil([] { return MeetingData().unmuteRequestTimeout == 21; }))
            << "no configuration";
        ClearOpenedDialogs();
    }

    static DuiLib::CControlUI* control(const wchar_t* name) { return Control(JoinWindow(), name); }

    // Types the room and the password into their edits and clicks join.
    static void Join(const std::wstring& room, const std::wstring& password) {
        for (const wchar_t* name : {L"roomedit", L"pwdedit"}) control(name)->SetText(L"");
        TypeInto(JoinWindow(), control(L"roomedit"), room);
        TypeInto(JoinWindow(), control(L"pwdedit"), password);
        Click(JoinWindow(), control(L"joinbtn"));
    }

    // The text members of the JSON body of the last request to `api`, "<none>" without one.
    static std::string Sent(const std::string& api, const char* key) {
        std::string value = "<none>";
        for (const TestBackend::Request& request : Backend()->Requests()) {
            const std::string& path = request.path;
            if (path.size() < api.size() ||
                path.compare(path.size() - api.size(), api.size(), api)) {
                continue;
            }
            jdoc::CJsonDocument body(request.body);
            if (!body.ReadStringMember(key, value)) value = "<missing>";
        }
        return value;
    }

    // How many requests to `api` the back-end has seen since its records were last cleared; the
    // access token the last one carried.
    static int Count(const std::string& api, std::string* lastToken = nullptr) {
        int count = 0;
        for (const TestBackend::Request& request : Backend()->Requests()) {
            const std::string& path = request.path;
            if (path.size() < api.size() ||
                path.compare(path.size() - api.size(), api.size(), api)) {
                continue;
            }
            ++count;
            if (lastToken) *lastToken = request.Header("access_token");
        }
        return count;
    }

    static bool Opened(unsigned dialog) {
        const std::vector<unsigned>& opened = OpenedDialogs();
        return std::find(opened.begin(), opened.end(), dialog) != opened.end();
    }
};

TEST_F(JoinRoadTest, SignsInAndTheProbeEnablesJoin) {
    std::string token;
    EXPECT_EQ(CSingleton<CKestrumConfig>::getInstance()->getToken(token), MeetingData().token);
    EXPECT_EQ(Sent("account/getToken", "name"), "");
    // A new user has no portrait: none is asked for.
    EXPECT_EQ(Sent("account/portrait", "portraitId"), "<none>");

    // The probe again, now with a normal network: the verdict shows and join comes back.
    control(L"joinbtn")->SetEnabled(false);
    ASSERT_EQ(KestrumEngineInject("lastmileQuality 3"), 0);
    CSingleton<CKestrumZuvra>::getInstance()->EnableLastmileTest(true);
    ASSERT_TRUE(PumpUntil([] { return control(L"joinbtn")->IsEnabled(); }));
    EXPECT_TRUE(ShowsImage(control(L"signalLabel"), L"signal-normal.png"));
}

TEST_F(JoinRoadTest, JoinSendsTheTypedRoomAndAWrongPasswordGetsTheBuiltInText) {
    MeetingData().nickname = "Alice";
    Join(L"road-1", L"pw!1");
    ASSERT_TRUE(PumpUntil([] { return Opened(CKestrum::kLiveDlg); })) << "no join result";
    EXPECT_EQ(Sent("room/join", "rid") + "|" + Sent("room/join", "pwd"), "ROAD1|pw!1");
    std::string media;
    EXPECT_EQ(CSingleton<CKestrumConfig>::getInstance()->getMediatoken(media),
              "media-5-" + MeetingData().uid);
    EXPECT_EQ(road_testing::Course()->targetWindow.load(), Kestrum().getDuiWnd(CKestrum::kLiveDlg));
    Kestrum().closeDlg(CKestrum::kLiveDlg);
    ClearOpenedDialogs();

    std::wstring shown;
    NoticeCloser closer([&](CDuiMessageBox& box) {
        shown = Control(&box, L"TxtType")->GetText() + L"|" + Control(&box, L"tipsTxt")->GetText();
    });
    Join(L"road-1", L"wrong");
    ASSERT_TRUE(PumpUntil([&closer] { return closer.handled() == 1; })) << "no box";
    EXPECT_EQ(shown, std::wstring(L"Error|") + CKestrum::getErrorText(2006));
    EXPECT_EQ(Sent("room/join", "pwd"), "wrong");
    EXPECT_FALSE(Opened(CKestrum::kLiveDlg));
}

TEST_F(JoinRoadTest, AChineseNicknameReachesTheServiceBeforeTheJoin) {
    MeetingData().nickname.clear();
    Join(L"nick1", L"");
    ASSERT_TRUE(PumpUntil([] { return Opened(CKestrum::kNickNameDlg); }));
    CDuiFrameWindow* nickname = Kestrum().getDlg(CKestrum::kNickNameDlg);
    ASSERT_TRUE(AwaitLaidOut(nickname));
    // The nickname window stands over the join window until it closes.
    EXPECT_FALSE(IsWindowEnabled(JoinWindow()->GetHWND()));
    TypeInto(nickname, Control(nickname, L"nickEdit"), L"\x738B\x5C0F\x660E");  // "王小明"
    Click(nickname, Control(nickname, L"surebtn"));
    ASSERT_TRUE(PumpUntil([] { return Opened(CKestrum::kLiveDlg); })) << "no join result";
    EXPECT_EQ(Sent("account/update", "name"), "\xE7\x8E\x8B\xE5\xB0\x8F\xE6\x98\x8E");
    EXPECT_EQ(Sent("room/join", "rid"), "NICK1");
    Kestrum().closeDlg(CKestrum::kLiveDlg);
    EXPECT_TRUE(IsWindowEnabled(JoinWindow()->GetHWND()));
}

// The service was down when the program started, so no token was had; once it is back, a join
// signs in first. Later the back-end forgets its accounts, as a service may drop a token: the
// refused join is sent once more under a new token, and a second refusal in a row is shown.
TEST_F(JoinRoadTest, AJoinSignsInFirstAndAfterARefusedTokenGoesOnceMore) {
    MeetingData().nickname = "Alice";
    Backend()->Reset(true);
    MeetingData().token.clear();
    for (const char* listener : kListeners) Backend()->SetFault(listener, "refuse");
    std::wstring shown;
    NoticeCloser closer([&](CDuiMessageBox& box) {
        shown = Control(&box, L"TxtType")->GetText() + L"|" + Control(&box, L"tipsTxt")->GetText();
    });
    Join(L"back1", L"");
    ASSERT_TRUE(PumpUntil([&closer] { return closer.handled() == 1; })) << "no box";
    EXPECT_EQ(shown, L"Error|Couldn't connect to server");

    Backend()->Reset();
    Join(L"back1", L"");
    ASSERT_TRUE(PumpUntil([] { return Opened(CKestrum::kLiveDlg); })) << "no join result";
    std::string token;
    EXPECT_EQ(Count("account/getToken") + Count("room/join", &token), 2);
    EXPECT_EQ(token, MeetingData().token);
    EXPECT_FALSE(token.empty());
    Kestrum().closeDlg(CKestrum::kLiveDlg);
    ClearOpenedDialogs();

    Backend()->Reset(true);
    Join(L"back2", L"");
    ASSERT_TRUE(PumpUntil([] { return Opened(CKestrum::kLiveDlg); })) << "no join result";
    EXPECT_EQ(Count("account/getToken"), 1);
    EXPECT_EQ(Count("room/join", &token), 2);
    EXPECT_EQ(token, MeetingData().token);
    // The new account goes by the user's name; the configuration was asked for again.
    EXPECT_EQ(Sent("account/getToken", "name"), "Alice");
    EXPECT_EQ(MeetingData().nickname, "Alice");
    EXPECT_TRUE(PumpUntil([] { return Count("v1/config") == 1; }));
    Kestrum().closeDlg(CKestrum::kLiveDlg);
    ClearOpenedDialogs();

    Backend()->Reset();
    for (const char* listener : kListeners) {
        Backend()->SetFaultWith(
            listener, "refusal",
            R"("path":"room/join","count":2,"code":401,"errorMsg":"invalid access token")");
    }
    Join(L"back3", L"");
    ASSERT_TRUE(PumpUntil([&closer] { return closer.handled() == 2; })) << "no box";
    EXPECT_EQ(shown, L"Error|invalid access token");
    EXPECT_EQ(Count("account/getToken"), 1);
    EXPECT_FALSE(Opened(CKestrum::kLiveDlg));
    EXPECT_EQ(closer.handled(), 2);

    // The back-end forgets its accounts and then answers every sign-in without a token: the
    // refused join's sign-in is the last request, and the user is told once.
    Backend()->Reset(true);
    for (const char* listener : kListeners) {
        Backend()->SetFaultWith(listener, "member",
                                R"("path":"account/getToken","member":"token","hex":"")");
    }
    Join(L"back4", L"");
    ASSERT_TRUE(PumpUntil([&closer] { return closer.handled() == 3; })) << "no box";
    EXPECT_EQ(shown,
              std::wstring(L"Error|") + ZuvraKestrum::Join::JoinTextsFor(g_language).signInRefused);
    EXPECT_EQ(Count("room/join") + Count("account/getToken") + Count("v1/config"), 2);
    Backend()->Reset(true);
}

}  // namespace
