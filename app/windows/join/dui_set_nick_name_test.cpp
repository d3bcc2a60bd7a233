#include "app/windows/join/dui_set_nick_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/windows/join/dui_login.h"
#include "fake_join_parts.h"
#include "join_test_support.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_text.h"
#include "kestrum/testing/win_wait.h"

// The nickname window built from its skin in the user's language, opened by the join window's
// join without a nickname, over a course bridge on fake exports.

namespace {

using namespace join_testing;

class NickNameWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Dialogs().dialog(ProgramDialogs::kLoginDlg))
            Dialogs().openDialog(ProgramDialogs::kLoginDlg);
        CDuiLogin* join = JoinWindow();
        ASSERT_TRUE(AwaitLaidOut(join));
        ASSERT_TRUE(PumpUntil([join] { return Control(join, L"joinbtn")->IsEnabled(); }));
        MeetingData().nickname.clear();
        MeetingData().portraitId = "p3";
        dynamic_cast<DuiLib::CEditUI*>(Control(join, L"roomedit"))->SetText(L"NICKROOM");
        Click(join, Control(join, L"joinbtn"));
        ASSERT_TRUE(AwaitLaidOut(window()));
        ServiceCalls().clear();
    }
    void TearDown() override {
        Dialogs().closeDialog(ProgramDialogs::kNickNameDlg);
        kestrum::testing_support::PumpPending();
        MeetingData().nickname = "Alice";
    }

    static CDuiSetNickName* window() {
        return dynamic_cast<CDuiSetNickName*>(Dialogs().dialog(ProgramDialogs::kNickNameDlg));
    }
    static DuiLib::CControlUI* control(const wchar_t* name) { return Control(window(), name); }
    static const ZuvraKestrum::Join::JoinTexts& texts() {
        return ZuvraKestrum::Join::JoinTextsFor(g_language);
    }
};

TEST_F(NickNameWindowTest, DrawsItsSkinAndRefusesEmptyOrLongNames) {
    EXPECT_EQ(control(L"versionLab")->GetText(), L"V1.2.0");
    ASSERT_TRUE(SavePicture(window(), g_language ? L"nickname-zh" : L"nickname-en"));
    const RECT sure = control(L"surebtn")->GetPos();
    const DWORD blue = PixelAt(window(), sure.left + 4, (sure.top + sure.bottom) / 2);
    EXPECT_EQ(blue & 0xFFFFFF, 0x2A7FE6u);
    EXPECT_GT(CountDiffering(window(), sure, blue), 30);
    EXPECT_GT(CountDiffering(window(), control(L"nickEdit")->GetPos(), 0xFFFFFFFF), 20);

    NoticesAsked().clear();
    Click(window(), control(L"surebtn"));
    TypeInto(window(), control(L"nickEdit"), L"abcdefghijklmnopqrs");
    EXPECT_EQ(control(L"nickEdit")->GetText(), L"abcdefghijklmnopqr");
    EXPECT_EQ(NoticesAsked(), (std::vector<std::wstring>{
                                  NoticeLine(ProgramDialogs::kWarningBox, texts().nicknameHint),
                                  NoticeLine(ProgramDialogs::kErrorBox, texts().nicknameTooLong)}));
    EXPECT_NE(window(), nullptr);
    EXPECT_TRUE(ServiceCalls().empty());
}

TEST_F(NickNameWindowTest, ConfirmSendsTheWholeNameAndTheJoinGoesOnAtOnce) {
    // "王小明": not in Windows-1252, so only a conversion that skips the ANSI code page keeps it.
    const std::wstring name = L"\x738B\x5C0F\x660E";
    TypeInto(window(), control(L"nickEdit"), name);
    HWND nickname = window()->GetHWND();
    Click(window(), control(L"surebtn"));
    ASSERT_TRUE(PumpUntil([nickname] { return !IsWindow(nickname); }));
    EXPECT_TRUE(PumpUntil([] { return ServiceCalls().size() == 2; }));
    EXPECT_EQ(ServiceCalls(),
              (std::vector<std::string>{"updateInfo(,\xE7\x8E\x8B\xE5\xB0\x8F\xE6\x98\x8E,p3)",
                                        "joinRoom(NICKROOM,1.2.0,win,)"}));
    // The meeting data keeps the name as the service got it.
    EXPECT_EQ(MeetingData().nickname, "\xE7\x8E\x8B\xE5\xB0\x8F\xE6\x98\x8E");

    // Back and close leave without a name.
    for (const wchar_t* name : {L"lastPagebtn", L"closebtn"}) {
        MeetingData().nickname.clear();
        Click(JoinWindow(), Control(JoinWindow(), L"joinbtn"));
        ASSERT_TRUE(AwaitLaidOut(window()));
        HWND open = window()->GetHWND();
        Click(window(), control(name));
        EXPECT_TRUE(PumpUntil([open] { return !IsWindow(open); })) << name;
    }
    EXPECT_EQ(ServiceCalls().size(), 2u);
}

}  // namespace
