#include "app/windows/join/dui_login.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/windows/skeleton/window_messages.h"
#include "fake_join_parts.h"
#include "join_test_support.h"
#include "kestrum/common/utf.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/engine_messages.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/core/util_text.h"
#include "kestrum/engine/engine_standin_hook.h"
#include "kestrum/testing/win_wait.h"

// The join window built from its skin in the user's language, driven through its controls and
// its messages, over a course bridge on fake exports and the stand-in engine.

namespace {

using namespace join_testing;

CKestrumConfig& Config() { return *CSingleton<CKestrumConfig>::getInstance(); }

// The stored text as UTF-8 (the file is UTF-16).
std::string ConfigValue(const char* key) {
    std::wstring value;
    return kestrum::common::WideToUtf8(Config().ReadString(value, CKestrumConfig::kSection, key));
}

std::string FileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class JoinWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Dialogs().dialog(ProgramDialogs::kLoginDlg))
            Dialogs().openDialog(ProgramDialogs::kLoginDlg);
        ASSERT_TRUE(AwaitLaidOut(window()));
        // The stand-in engine's probe reports a good network at once.
        ASSERT_TRUE(PumpUntil([] { return control(L"joinbtn")->IsEnabled(); }));
        ClearOpenedDialogs();
        ServiceCalls().clear();
        NoticesAsked().clear();
        data().nickname = "Alice";
        edit(L"roomedit")->SetText(L"");
        edit(L"pwdedit")->SetText(L"");
    }

    static CKestrumData& data() { return MeetingData(); }
    static CDuiLogin* window() { return JoinWindow(); }
    static HWND handle() { return window()->GetHWND(); }
    static DuiLib::CControlUI* control(const wchar_t* name) { return Control(window(), name); }
    static DuiLib::CEditUI* edit(const wchar_t* name) {
        return dynamic_cast<DuiLib::CEditUI*>(control(name));
    }
    static const ZuvraKestrum::Join::JoinTexts& texts() {
        return ZuvraKestrum::Join::JoinTextsFor(g_language);
    }
    static std::wstring Picture(const wchar_t* stem) {
        return std::wstring(stem) + (g_language ? L"-zh" : L"-en");
    }

    // The join button's colour once no pointer is over it: the display's pointer may have
    // crossed the window as it came, or a click left the button hovered, and a button fades back
    // from its hover colour once the pointer has gone. Pictures show the window at rest.
    static constexpr DWORD kJoinBlue = 0x2A7FE6u;
    static DWORD JoinButtonAtRest() {
        SendMessageW(handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
        const RECT join = control(L"joinbtn")->GetPos();
        DWORD colour = 0;
        PumpUntil([&] {
            colour = PixelAt(window(), join.left + 4, (join.top + join.bottom) / 2);
            return (colour & 0xFFFFFF) == kJoinBlue;
        });
        return colour;
    }

    // Posts a message with its record as the bridge or the engine would, and runs it.
    template <UINT kMessage, class... Fields>
    static void Deliver(Fields&&... fields) {
        ASSERT_TRUE(PostPayload<kMessage>(
            handle(), NewRecord<PayloadOf<kMessage>>(std::forward<Fields>(fields)...)));
        kestrum::testing_support::PumpPending();
    }
};

TEST_F(JoinWindowTest, StartsEngineAndBridgeAndShowsTheProbesVerdict) {
    RECT client;
    GetClientRect(handle(), &client);
    EXPECT_EQ(client.right, 360);
    EXPECT_EQ(client.bottom, 500);
    EXPECT_EQ(FakeCourse().targetWindow.load(), handle());
    EXPECT_TRUE(EngineExistedBeforeBridge());
    EXPECT_EQ(control(L"versionTxt")->GetText(), L"V1.2.0");
    EXPECT_EQ(control(L"signalText")->GetText(), texts().signalGood);
    EXPECT_FALSE(control(L"roomerror")->IsVisible());
    char journal[8192] = {};
    KestrumEngineJournal(journal, sizeof journal);
    EXPECT_NE(std::string(journal).find("engine.stopLastmileProbeTest"), std::string::npos);

    // The join button is the theme's blue with its text on it; the edits show their hints.
    const DWORD blue = JoinButtonAtRest();
    EXPECT_EQ(blue & 0xFFFFFF, kJoinBlue) << std::hex << blue;
    ASSERT_TRUE(SavePicture(window(), Picture(L"join")));
    const RECT join = control(L"joinbtn")->GetPos();
    EXPECT_GT(CountDiffering(window(), join, blue), 30);
    for (const wchar_t* name : {L"roomedit", L"pwdedit", L"signalText", L"photoBtn"}) {
        EXPECT_GT(CountDiffering(window(), control(name)->GetPos(), 0xFFFFFFFF), 20) << name;
    }

    // Without a verdict the button stays as it is; any verdict lets the user join.
    control(L"joinbtn")->SetEnabled(false);
    Deliver<WM_ENGINE_LASTMILE_QUALITY>(0);
    EXPECT_TRUE(ShowsImage(control(L"signalLabel"), L"unknown.png"));
    EXPECT_EQ(control(L"signalText")->GetText(), texts().signalGood);
    EXPECT_FALSE(control(L"joinbtn")->IsEnabled());
    Deliver<WM_ENGINE_LASTMILE_QUALITY>(5);
    EXPECT_TRUE(ShowsImage(control(L"signalLabel"), L"signal-weak.png"));
    EXPECT_EQ(control(L"signalText")->GetText(), texts().signalWeak);
    EXPECT_TRUE(control(L"joinbtn")->IsEnabled());
}

TEST_F(JoinWindowTest, EditsFilterTheRoomNameAndCutBothTo18WithOneBoxEach) {
    TypeInto(window(), edit(L"roomedit"), L"ab-c9");
    EXPECT_EQ(edit(L"roomedit")->GetText(), L"ABC9");
    // A paste of 20 letters and a dash.
    edit(L"roomedit")->SetText(L"abcdefghij-klmnopqrst");
    EXPECT_EQ(edit(L"roomedit")->GetText(), L"ABCDEFGHIJKLMNOPQR");
    // Punctuation stays in a password.
    TypeInto(window(), edit(L"pwdedit"), L"p@ss-w0rd!01234567");
    EXPECT_EQ(NoticesAsked().size(), 1u);
    Type(window(), L"8");
    EXPECT_EQ(edit(L"pwdedit")->GetText(), L"p@ss-w0rd!01234567");
    EXPECT_EQ(NoticesAsked(), (std::vector<std::wstring>{
                                  NoticeLine(ProgramDialogs::kErrorBox, texts().roomTooLong),
                                  NoticeLine(ProgramDialogs::kErrorBox, texts().passwordTooLong)}));
}

TEST_F(JoinWindowTest, JoinChecksTheNameAsksForANicknameAndJoinsWithTheBridge) {
    edit(L"roomedit")->SetText(L"AB");
    edit(L"pwdedit")->SetText(texts().passwordHint);  // a hint counts as empty
    Click(window(), control(L"joinbtn"));
    EXPECT_TRUE(control(L"roomerror")->IsVisible());
    EXPECT_EQ(control(L"roomerror")->GetText(), texts().roomTooShort);
    EXPECT_EQ(edit(L"pwdedit")->GetText(), L"");
    ASSERT_TRUE(SavePicture(window(), Picture(L"join-error")));

    TypeInto(window(), edit(L"roomedit"), L"c12");
    EXPECT_FALSE(control(L"roomerror")->IsVisible());
    TypeInto(window(), edit(L"pwdedit"), L"pw!\x00E9");
    JoinButtonAtRest();
    ASSERT_TRUE(SavePicture(window(), Picture(L"join-filled")));
    FakeCourse().targetWindow = nullptr;
    Click(window(), control(L"joinbtn"));
    // The password goes to the service as UTF-8, whatever the ANSI code page.
    EXPECT_EQ(ServiceCalls(), std::vector<std::string>{"joinRoom(ABC12,1.2.0,win,pw!\xC3\xA9)"});
    EXPECT_EQ(FakeCourse().targetWindow.load(), handle());
    // Enter in the password edit joins the same way.
    PostMessageW(handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(PumpUntil([] { return ServiceCalls().size() == 2; }));

    // Without a nickname the nickname window comes first; its answer joins.
    ServiceCalls().clear();
    data().nickname.clear();
    Click(window(), control(L"joinbtn"));
    EXPECT_EQ(OpenedDialogs(), std::vector<unsigned>{ProgramDialogs::kNickNameDlg});
    EXPECT_TRUE(ServiceCalls().empty());
    Dialogs().closeDialog(ProgramDialogs::kNickNameDlg);
    data().nickname = "Bob";
    PostMessageW(handle(), WM_NICKNAME_UPDATED, 0, 0);
    EXPECT_TRUE(PumpUntil([] { return ServiceCalls().size() == 1; }));
}

TEST_F(JoinWindowTest, SignInPortraitAndJoinResultsAreStored) {
    const std::wstring picture = SkinFolder() + CDuiLogin::kOwnPortraitFile;
    const std::string before = FileBytes(picture);
    ASSERT_FALSE(before.empty());
    const std::string name = "\xE7\x8E\x8B\xE5\xB0\x8F\xE6\x98\x8E";  // "王小明"
    Deliver<WM_USER_TOKEN>("30007", name, "p9", 77, "tok-new");
    EXPECT_EQ(data().uid, "30007");
    EXPECT_EQ(data().streamId, 77);
    // The name is kept whole, whatever the ANSI code page.
    EXPECT_EQ(data().nickname, name);
    std::string stored;
    EXPECT_EQ(Config().getNickname(stored), name);
    EXPECT_EQ(ConfigValue("Token") + ConfigValue("Uid") + ConfigValue("Streamid"),
              "tok-new3000777");
    const std::string path = ZuvraKestrum::Util::CStringToUtf8(picture);
    EXPECT_EQ(ServiceCalls(),
              (std::vector<std::string>{"getPhoto(30007,p9," + path + ")", "configRoom"}));
    // A skin folder that no ANSI code page can spell reaches the service whole, as UTF-8.
    {
        const std::wstring foreign = SkinFolder() + L"\x738B\x5C0F\x660E \xD83D\xDE00\\";
        DuiLib::CPaintManagerUI::SetResourcePath(foreign.c_str());
        ServiceCalls().clear();
        Deliver<WM_USER_TOKEN>("30007", name, "p9", 77, "tok-new");
        DuiLib::CPaintManagerUI::SetResourcePath(SkinFolder().c_str());
        const std::string foreignPath =
            ZuvraKestrum::Util::CStringToUtf8(foreign + CDuiLogin::kOwnPortraitFile);
        EXPECT_EQ(ServiceCalls(), (std::vector<std::string>{
                                      "getPhoto(30007,p9," + foreignPath + ")", "configRoom"}));
    }
    // Nothing was deleted before the download; the picture changes once one has arrived.
    EXPECT_EQ(FileBytes(picture), before);
    Deliver<WM_GET_PHOTO>("p9");
    EXPECT_EQ(ConfigValue("PortraitPath") + "|" + ConfigValue("PortraitId"),
              "profile picture-light1.png|p9");
    // A user without a portrait has nothing to fetch.
    ServiceCalls().clear();
    Deliver<WM_USER_TOKEN>("30001", "Alice", "", 30001, "tok-window-test");
    EXPECT_EQ(ServiceCalls(), std::vector<std::string>{"configRoom"});

    data().roomPassword = "pw\xC3\xA9";  // "pwé", stored as UTF-8 in every locale
    data().micOff = data().cameraOff = false;
    Deliver<WM_JOIN_ROOM>("ROOM7", "topic", 5, 3, std::vector<std::string>{"40001"}, "media");
    EXPECT_EQ(ConfigValue("Classname") + ConfigValue("ClassPwd") + ConfigValue("Mediatoken"),
              "ROOM7pw\xC3\xA9media");
    EXPECT_EQ(data().hosts, std::vector<std::string>{"40001"});
    EXPECT_EQ(data().status, kStatusMicOff | kStatusCameraOff);
    EXPECT_EQ(OpenedDialogs(), std::vector<unsigned>{ProgramDialogs::kLiveDlg});
    EXPECT_EQ(FakeCourse().targetWindow.load(), Dialogs().dialogWindow(ProgramDialogs::kLiveDlg));
    Dialogs().closeDialog(ProgramDialogs::kLiveDlg);
    FakeCourse().targetWindow = handle();
}

TEST_F(JoinWindowTest, ErrorsAndUpgradeOffersShowTheNoticeBox) {
    // Background requests fail silently.
    Deliver<WM_ACCOUNT_ERROR>("account/getToken", "no token", 401);
    Deliver<WM_ACCOUNT_ERROR>("account/portrait", "portrait not found", 404);
    Deliver<WM_ACCOUNT_ERROR>("room/join", "wrong password", 2006);
    // A failed profile update takes the stored name back; the server's text is shown.
    Config().setNickname("Stored");
    data().nickname = "Unconfirmed";
    Deliver<WM_ACCOUNT_ERROR>("account/update", "\xE5\xA4\xB1\xE8\xB4\xA5", 9);  // "失败"
    EXPECT_EQ(data().nickname, "Stored");
    // The server's text and code: the notice box puts a built-in text of the code in its place.
    EXPECT_EQ(NoticesAsked(), (std::vector<std::wstring>{
                                  NoticeLine(ProgramDialogs::kErrorBox, L"wrong password", 2006),
                                  NoticeLine(ProgramDialogs::kErrorBox, L"\x5931\x8D25", 9)}));

    NoticesAsked().clear();
    Config().setAppVersion("1.9.1");
    Deliver<WM_CONFIG_ROOM>("1.5", "min-url", "1.9", "latest-url", 30, 20);
    EXPECT_EQ(data().unmuteRequestTimeout, 21);
    EXPECT_TRUE(NoticesAsked().empty());
    EXPECT_TRUE(IsWindowVisible(handle()));
    // An offer takes the join window's place.
    Deliver<WM_CONFIG_ROOM>("2.0", "min-url", "2.0", "latest-url", 30, 20);
    EXPECT_FALSE(IsWindowVisible(handle()));
    ShowWindow(handle(), SW_SHOW);
    // The service's "1.10" is above 1.9.1, where a decimal reading would see 1.1.
    Deliver<WM_CONFIG_ROOM>("1.10", "min-1.10", "1.10", "latest-url", 30, 20);
    ShowWindow(handle(), SW_SHOW);
    // The optional offer remembers the version it offered; the box remembers a decline.
    Deliver<WM_CONFIG_ROOM>("1.0", "min-url", "2.5", "latest-url", 30, 20);
    EXPECT_EQ(ConfigValue("UpdateVersion"), "2.5");
    EXPECT_FALSE(IsWindowVisible(handle()));
    ShowWindow(handle(), SW_SHOW);
    EXPECT_EQ(NoticesAsked(), (std::vector<std::wstring>{
                                  NoticeLine(ProgramDialogs::kForceUpdateBox, L"min-url"),
                                  NoticeLine(ProgramDialogs::kForceUpdateBox, L"min-1.10"),
                                  NoticeLine(ProgramDialogs::kOptionUpdateBox, L"latest-url")}));
    Config().setAppVersion("1.2.0");
    Config().setUpdateOption("");
    Config().setUpdateVersion("");
}

TEST_F(JoinWindowTest, AJoinWithoutATokenSignsInFirstAndARefusedTokenIsReplacedOnce) {
    // The sign-in at the start failed: the join asks for a token once, and waits for it. Its
    // answer comes here, also after a meeting, whose window took the bridge's results.
    data().token.clear();
    FakeCourse().targetWindow = nullptr;
    TypeInto(window(), edit(L"roomedit"), L"abc");
    Click(window(), control(L"joinbtn"));
    Click(window(), control(L"joinbtn"));
    EXPECT_EQ(ServiceCalls(), std::vector<std::string>{"getToken(Alice)"});
    EXPECT_EQ(FakeCourse().targetWindow.load(), handle());
    // While the service cannot be reached, that is what the user is told.
    const std::wstring down = L"Couldn't connect to server";
    Deliver<WM_ACCOUNT_ERROR>("account/getToken", kestrum::common::WideToUtf8(down), 7);
    EXPECT_EQ(NoticesAsked(),
              std::vector<std::wstring>{NoticeLine(ProgramDialogs::kErrorBox, down, 7)});
    const std::vector<std::string> signInAndJoin = {"getToken(Alice)", "configRoom",
                                                    "joinRoom(ABC,1.2.0,win,)"};
    ServiceCalls().clear();
    Click(window(), control(L"joinbtn"));
    Deliver<WM_USER_TOKEN>("30002", "Alice", "", 30002, "tok-2");
    EXPECT_EQ(ServiceCalls(), signInAndJoin);

    // A token the service no longer takes goes, here and in the file; the new one joins.
    ServiceCalls().clear();
    Deliver<WM_ACCOUNT_ERROR>("room/join", "invalid access token", 401);
    EXPECT_EQ(data().token + ConfigValue("Token"), "");
    Deliver<WM_USER_TOKEN>("30003", "Alice", "", 30003, "tok-3");
    EXPECT_EQ(ServiceCalls(), signInAndJoin);
    // Refused again at once: shown.
    Deliver<WM_ACCOUNT_ERROR>("room/join", "invalid access token", 401);
    // The configuration refused at the start: the new token's sign-in asks for it again.
    ServiceCalls().clear();
    Deliver<WM_ACCOUNT_ERROR>("v1/config", "invalid access token", 401);
    Deliver<WM_USER_TOKEN>("30004", "Alice", "", 30004, "tok-window-test");
    EXPECT_EQ(ServiceCalls(), (std::vector<std::string>{"getToken(Alice)", "configRoom"}));
    EXPECT_EQ(NoticesAsked(),
              (std::vector<std::wstring>{
                  NoticeLine(ProgramDialogs::kErrorBox, down, 7),
                  NoticeLine(ProgramDialogs::kErrorBox, L"invalid access token", 401)}));

    // The service answers a join's sign-in without a token: nothing goes out without one, and
    // the user is told.
    ServiceCalls().clear();
    NoticesAsked().clear();
    data().token.clear();
    Click(window(), control(L"joinbtn"));
    Deliver<WM_USER_TOKEN>("", "", "", 0, "");
    EXPECT_EQ(ServiceCalls(), std::vector<std::string>{"getToken(Alice)"});
    EXPECT_EQ(NoticesAsked(), std::vector<std::wstring>{
                                  NoticeLine(ProgramDialogs::kErrorBox, texts().signInRefused)});
}

TEST_F(JoinWindowTest, ASkinWithoutTheWindowsControlsLeavesItInert) {
    // A skin folder whose join skin has the room edit and nothing else.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"kestrum-join-partial\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* file : {L"home-en.xml", L"home-zh.xml"}) {
        std::ofstream(std::filesystem::path(folder + file))
            << "<Window size=\"360,500\"><VBox name=\"MainFrame\">"
               "<Edit name=\"roomedit\" height=\"30\"/></VBox></Window>";
    }
    DuiLib::CPaintManagerUI::SetResourcePath(folder.c_str());
    auto* partial = new CDuiLogin(Host());
    const HWND made = partial->Create(nullptr, L"LoginHome", 0x10CF0000, 0, 0, 0, 360, 500);
    DuiLib::CPaintManagerUI::SetResourcePath(SkinFolder().c_str());
    ASSERT_NE(made, nullptr);
    ServiceCalls().clear();

    // Typing, the probe's verdict and a new portrait reach no control and ask for nothing.
    TypeInto(partial, Control(partial, L"roomedit"), L"ab");
    ASSERT_TRUE(PostPayload<WM_ENGINE_LASTMILE_QUALITY>(
        made, NewRecord<PayloadOf<WM_ENGINE_LASTMILE_QUALITY>>(1)));
    ASSERT_TRUE(PostPayload<WM_GET_PHOTO>(made, NewRecord<PayloadOf<WM_GET_PHOTO>>("p9")));
    kestrum::testing_support::PumpPending();
    EXPECT_TRUE(IsWindow(made));
    EXPECT_TRUE(ServiceCalls().empty());
    DestroyWindow(made);
    for (const wchar_t* file : {L"home-en.xml", L"home-zh.xml"})
        DeleteFileW((folder + file).c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(JoinWindowTest, VersionLabelFrameButtonsAndClosing) {
    const std::wstring engine = ZuvraKestrum::Util::Utf8ToCString(data().engineVersion);
    ASSERT_FALSE(engine.empty());
    for (const std::wstring& expected : {L"RTC:" + engine, std::wstring(L"V1.2.0")}) {
        Click(window(), control(L"versionTxt"));
        EXPECT_EQ(control(L"versionTxt")->GetText(), expected);
        EXPECT_TRUE(control(L"signalLabel")->IsFocused());
    }
    Click(window(), control(L"RoomConfigbtn"));
    Click(window(), control(L"photoBtn"));
    EXPECT_EQ(OpenedDialogs(),
              (std::vector<unsigned>{ProgramDialogs::kSetAVDlg, ProgramDialogs::kUserConfigDlg}));
    Dialogs().closeDialog(ProgramDialogs::kUserConfigDlg);
    Dialogs().closeDialog(ProgramDialogs::kSetAVDlg);
    Click(window(), control(L"minbtn"));
    EXPECT_TRUE(IsIconic(handle()));
    ShowWindow(handle(), SW_RESTORE);

    const int ends = Terminations();
    HWND closed = handle();
    Click(window(), control(L"closebtn"));
    ASSERT_TRUE(PumpUntil([closed] { return !IsWindow(closed); }));
    EXPECT_EQ(Terminations(), ends + 1);
    // Neither the bridge nor the engine reports to the window that is gone.
    EXPECT_EQ(FakeCourse().targetWindow.load(), nullptr);
    EXPECT_EQ(CSingleton<CKestrumZuvra>::getInstance()->MsgReceiver(), nullptr);
}

}  // namespace
