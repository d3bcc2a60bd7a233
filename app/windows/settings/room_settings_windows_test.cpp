// The room settings windows of a participant and of the host on their skins under the virtual
// display: what they show of the meeting data, the room updates their controls send, the speaker
// role and the switch between the two windows, the service's answers (confirmed and refused)
// against the local back-end, and a picture of each window checked by pixels.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/windows/settings/dui_set_own_room.h"
#include "app/windows/settings/dui_set_room.h"
#include "app/windows/skeleton/program_dialogs.h"
#include "app/windows/skeleton/testing/window_picture.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/kestrum_data.h"
#include "locale_expectation.h"
#include "meeting_data_fixture.h"
#include "message_window.h"
#include "settings_window_test.h"
#include "support/recording_observer.h"
#include "support/service_library.h"
#include "support/test_backend.h"
#include "temp_folder.h"
#include "ui/base/util/module_path.h"
#include "ui/windowing/window_impl/framework_window_test_fixture.h"

using window_testing::PixelAt;

namespace {

using kestrum::testing_support::PumpPending;

constexpr DWORD kBlue = 0xFF2A7FE6u;

class RoomSettingsTest : public SettingsWindowTest {
protected:
    void SetUp() override {
        SettingsWindowTest::SetUp();
        CKestrumData& meeting = data();
        meeting.uid = "20001";
        meeting.roomName = "ROOM42";
        meeting.roomPassword = "pw";
        meeting.initialStatus = 0;
        meeting.userList = {
            UserInfoRecord("20001", "Alice", "", 1, "", 0, -1, 0),
            UserInfoRecord("30003", "\xe5\xbc\xa0\xe4\xb8\x89", "", 3, "", 0, -1, 0)};
        host_.windows[ProgramDialogs::kLiveDlg] = meeting_.handle();
    }

    static bool Selected(CDuiFrameWindow* window, const wchar_t* name) {
        return Find<DuiLib::COptionUI>(window, name)->IsSelected();
    }
    static std::wstring Text(CDuiFrameWindow* window, const wchar_t* name) {
        return std::wstring(Find(window, name)->GetText());
    }

    // The password edit with text, focused, then a key as the keyboard gives it.
    static void TypeInPassword(CDuiFrameWindow* window, const std::wstring& text, UINT message,
                               WPARAM key) {
        auto* edit = Find<DuiLib::CEditUI>(window, L"pwdEdit");
        edit->SetText(text.c_str());
        window->paintManager().SetFocus(edit);
        edit->SetSel(-1, -1);
        SendMessageW(window->GetHWND(), message, key, 0);
    }

    // The check box's fill, clear of its edge and tick.
    static DWORD CheckFill(CDuiFrameWindow* window, const wchar_t* name) {
        const RECT& pos = Find(window, name)->GetPos();
        return PixelAt(window, pos.left + 4, pos.top + 8);
    }

    // The picture, and what it must show.
    static void TakePicture(CDuiFrameWindow* window, const std::wstring& stem) {
        SettingsWindowTest::TakePicture(window, stem);
        const RECT title = Find(window, L"title")->GetPos();
        EXPECT_EQ(PixelAt(window, title.right - 2, title.bottom - 3), 0xFFF5F6F7u);
        const RECT tab = Find(window, L"tabRoomOpt")->GetPos();
        EXPECT_EQ(PixelAt(window, (tab.left + tab.right) / 2, tab.bottom - 1), kBlue);
        // The room's texts are drawn.
        for (const wchar_t* name : {L"roomNameTxt", L"speakerNameTxt", L"enableAudioOp"}) {
            const RECT& pos = Find(window, name)->GetPos();
            EXPECT_GT(window_testing::CountDiffering(window, pos,
                                                     PixelAt(window, pos.right - 2, pos.top + 2)),
                      0)
                << name;
        }
    }

    MessageWindow meeting_;  // the meeting's window, open unless a test ends the meeting
};

TEST_F(RoomSettingsTest, WithoutHostAParticipantSetsTheRoomAndMayApplyForTheSpeakerRole) {
    data().initialStatus = 2;
    CDuiSetRoom* window = Open<CDuiSetRoom>(ProgramDialogs::kSetRoomDlg);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Text(window, L"roomNameTxt"), L"ROOM42");
    EXPECT_EQ(Text(window, L"speakerNameTxt"), g_language ? L"无" : L"None");
    EXPECT_EQ(Text(window, L"pwdEdit"), L"pw");
    EXPECT_TRUE(Find(window, L"appSpeakerBtn")->IsVisible());
    EXPECT_TRUE(Find(window, L"pwdEdit")->IsEnabled());
    EXPECT_TRUE(Selected(window, L"enableAudioOp"));
    EXPECT_FALSE(Selected(window, L"enableVideoOp"));
    EXPECT_FALSE(Find(window, L"tabRoomOpt")->IsEnabled());
    TakePicture(window, L"settings-room");
    EXPECT_EQ(CheckFill(window, L"enableAudioOp"), kBlue);
    EXPECT_EQ(CheckFill(window, L"enableVideoOp"), 0xFFFFFFFFu);
    const RECT apply = Find(window, L"appSpeakerBtn")->GetPos();
    EXPECT_EQ(PixelAt(window, apply.left + 4, apply.top + 4), kBlue);

    // Each click sends the status the options take through it, with the stored password.
    Click(window, L"enableAudioOp");
    Click(window, L"enableVideoOp");
    EXPECT_EQ(Journaled("updateRoom(ROOM42,[],3,,pw)"), 1) << Journal();
    EXPECT_EQ(Journaled("updateRoom(ROOM42,[],1,,pw)"), 1) << Journal();
    EXPECT_FALSE(Selected(window, L"enableAudioOp"));
    EXPECT_TRUE(Selected(window, L"enableVideoOp"));

    // A 19th character is cut with one Error box; Return sends the typed password and the
    // synthetic click takes the focus out of the edit.
    TypeInPassword(window, L"abcdefghijklmnopqr", WM_CHAR, L's');
    EXPECT_EQ(Text(window, L"pwdEdit"), L"abcdefghijklmnopqr");
    EXPECT_EQ(Journaled(g_language ? "box(1,0,房间密码长度不能大于18位)"
                                   : "box(1,0,Room Password must not exceed 18 characters)"),
              1)
        << Journal();
    const std::wstring password = L"\x5bc6\x7801-9";  // 密码-9
    TypeInPassword(window, password, WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(Journaled("updateRoom(ROOM42,[],1,,\xe5\xaf\x86\xe7\xa0\x81-9)"), 1) << Journal();
    PumpPending();
    EXPECT_NE(window->paintManager().GetFocus(), Find(window, L"pwdEdit"));

    Click(window, L"appSpeakerBtn");
    EXPECT_EQ(Journaled("applySpeaker"), 1);
}

TEST_F(RoomSettingsTest, WithAHostTheParticipantsWindowIsLockedAndNamesTheSpeaker) {
    data().hosts = {"30003"};
    data().hostName = "Host text";
    data().initialStatus = 3;
    // Longer than anyone may type now: the stored password is shown as it is, without a box.
    data().roomPassword = "set-before-the-limit-24";
    CDuiSetRoom* window = Open<CDuiSetRoom>(ProgramDialogs::kSetRoomDlg);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Text(window, L"pwdEdit"), L"set-before-the-limit-24");
    EXPECT_EQ(Text(window, L"speakerNameTxt"), L"\x5f20\x4e09");  // 张三, UTF-8 in the list
    EXPECT_FALSE(Find(window, L"appSpeakerBtn")->IsVisible());
    EXPECT_FALSE(Find(window, L"pwdEdit")->IsEnabled());
    EXPECT_FALSE(Find(window, L"enableAudioOp")->IsEnabled());
    EXPECT_FALSE(Selected(window, L"enableAudioOp"));
    EXPECT_FALSE(Selected(window, L"enableVideoOp"));
    TakePicture(window, L"settings-room-locked");
    EXPECT_EQ(CheckFill(window, L"enableAudioOp"), 0xFFF5F6F7u);  // disabled, clear

    // New room information: a host without a known nickname shows the room's host-name text;
    // without host the window opens up again.
    data().hosts = {"40004"};
    window->updateRoomInfo();
    EXPECT_EQ(Text(window, L"speakerNameTxt"), L"Host text");
    data().hosts.clear();
    window->updateRoomInfo();
    EXPECT_TRUE(Find(window, L"appSpeakerBtn")->IsVisible());
    EXPECT_TRUE(Find(window, L"enableVideoOp")->IsEnabled());
    EXPECT_TRUE(host_.journal.empty()) << Journal();
}

TEST_F(RoomSettingsTest, TheHostSendsOptionsAndPasswordAndGivesTheSpeakerRoleUp) {
    data().hosts = {"20001"};
    data().initialStatus = 3;
    CDuiSetOwnRoom* window = Open<CDuiSetOwnRoom>(ProgramDialogs::kSetOwnRoomDlg);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Text(window, L"speakerNameTxt"), L"Alice");
    EXPECT_FALSE(Selected(window, L"enableAudioOp"));
    EXPECT_FALSE(Selected(window, L"enableVideoOp"));
    EXPECT_TRUE(Find(window, L"tabAVOpt")->IsEnabled());
    EXPECT_FALSE(Find(window, L"tabRoomOpt")->IsEnabled());

    // Typing the password follows the rule of joining: a 19th character is cut with one box.
    TypeInPassword(window, L"abcdefghijklmnopqr", WM_CHAR, L's');
    EXPECT_EQ(Text(window, L"pwdEdit"), L"abcdefghijklmnopqr");
    EXPECT_EQ(Journaled(g_language ? "box(1,0,房间密码长度不能大于18位)"
                                   : "box(1,0,Room Password must not exceed 18 characters)"),
              1)
        << Journal();

    // The typed password goes with every change, confirmed or not; the button under the
    // options applies and the window stays.
    Find(window, L"pwdEdit")->SetText(L"new");
    EXPECT_EQ(Text(window, L"surebtn"), g_language ? L"应用" : L"Apply");
    Click(window, L"enableAudioOp");
    EXPECT_EQ(Journaled("updateRoom(ROOM42,[20001],2,,new)"), 1) << Journal();
    Click(window, L"surebtn");
    TypeInPassword(window, L"new", WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(Journaled("updateRoom(ROOM42,[20001],2,,new)"), 3) << Journal();
    EXPECT_TRUE(IsWindow(window->GetHWND()));
    TakePicture(window, L"settings-ownroom");
    EXPECT_EQ(CheckFill(window, L"enableAudioOp"), kBlue);

    Click(window, L"GiveupSpeakerBtn");
    EXPECT_EQ(Journaled("giveupSpeaker"), 1);
    // The course bridge's confirmation: the participant's window takes this one's place.
    HWND handle = window->GetHWND();
    PostMessageW(handle, WM_UPDATE_ROOM, 0, 0);
    ASSERT_TRUE(PumpUntil([handle] { return !IsWindow(handle); }));
    EXPECT_NE(Journal().find("close(4)\nopen(3)\n"), std::string::npos) << Journal();
}

// Room information that arrives while the user types a password leaves the typing alone; once
// the password is sent, or a host locks the edit, the edit shows the room's password again.
TEST_F(RoomSettingsTest, RoomInformationLeavesAPasswordBeingTypedAlone) {
    data().hosts = {"20001"};
    CDuiSetOwnRoom* host = Open<CDuiSetOwnRoom>(ProgramDialogs::kSetOwnRoomDlg);
    ASSERT_NE(host, nullptr);
    TypeInPassword(host, L"typin", WM_CHAR, L'g');
    data().roomPassword = "changed";
    host->updateRoomInfo();
    EXPECT_EQ(Text(host, L"pwdEdit"), L"typing");
    TypeInPassword(host, L"typing", WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(Journaled("updateRoom(ROOM42,[20001],0,,typing)"), 1) << Journal();
    host->updateRoomInfo();
    EXPECT_EQ(Text(host, L"pwdEdit"), L"changed");
    DestroyWindow(host->GetHWND());

    data().hosts.clear();
    CDuiSetRoom* window = Open<CDuiSetRoom>(ProgramDialogs::kSetRoomDlg);
    ASSERT_NE(window, nullptr);
    TypeInPassword(window, L"typin", WM_CHAR, L'g');
    Click(window, L"enableVideoOp");  // sends the stored password, not the one being typed
    window->updateRoomInfo();
    EXPECT_EQ(Text(window, L"pwdEdit"), L"typing");
    data().hosts = {"30003"};
    window->updateRoomInfo();
    EXPECT_EQ(Text(window, L"pwdEdit"), L"changed");
    EXPECT_FALSE(Find(window, L"pwdEdit")->IsEnabled());
}

// The answer to a window closed before it came reaches no other window: a host window opened
// since would store its blank values as the room's, or, once it has sent its own, take them as
// confirmed and later restore them in place of the room's.
TEST_F(RoomSettingsTest, AnAnswerReachesOnlyTheWindowThatAsked) {
    data().hosts = {"20001"};
    data().initialStatus = 3;
    CDuiSetOwnRoom* window = Open<CDuiSetOwnRoom>(ProgramDialogs::kSetOwnRoomDlg);
    ASSERT_NE(window, nullptr);
    Click(window, L"enableAudioOp");
    EXPECT_EQ(Journaled("updateRoom(ROOM42,[20001],2,,pw)"), 1) << Journal();
    ZuvraKestrum::ICallBack::CUserCallBack* const closedWindows = host_.roomObserver;
    DestroyWindow(window->GetHWND());
    window = Open<CDuiSetOwnRoom>(ProgramDialogs::kSetOwnRoomDlg);
    ASSERT_NE(window, nullptr);
    closedWindows->onUpdateRoom(true);
    PumpPending();
    EXPECT_EQ(data().initialStatus, 3);
    EXPECT_EQ(data().roomPassword, "pw");

    Click(window, L"enableVideoOp");
    closedWindows->onUpdateRoom(true);
    PumpPending();
    EXPECT_EQ(data().initialStatus, 3);

    // Its own answer it takes.
    host_.roomObserver->onUpdateRoom(true);
    PumpPending();
    EXPECT_EQ(data().initialStatus, 1);
}

TEST_F(RoomSettingsTest, ASuccessfulApplicationOpensTheHostsWindowAndTabsLeadToAudioVideo) {
    StandInDialog own;
    host_.dialogs[ProgramDialogs::kSetOwnRoomDlg] = &own;
    CDuiSetRoom* window = Open<CDuiSetRoom>(ProgramDialogs::kSetRoomDlg);
    ASSERT_NE(window, nullptr);
    HWND handle = window->GetHWND();
    PostMessageW(handle, WM_UPDATE_ROOM, 0, 0);
    ASSERT_TRUE(PumpUntil([handle] { return !IsWindow(handle); }));
    EXPECT_NE(Journal().find("close(3)\nopen(4)\n"), std::string::npos) << Journal();
    EXPECT_EQ(own.tabsEnabled, 1);
    host_.dialogs.erase(ProgramDialogs::kSetOwnRoomDlg);

    StandInDialog audioVideo;
    host_.dialogs[ProgramDialogs::kSetAVDlg] = &audioVideo;
    CDuiSetOwnRoom* host = Open<CDuiSetOwnRoom>(ProgramDialogs::kSetOwnRoomDlg);
    ASSERT_NE(host, nullptr);
    host->setTabsEnabled(true);
    handle = host->GetHWND();
    Click(host, L"tabAVOpt");
    EXPECT_NE(Journal().find("open(2)\nclose(4)\n"), std::string::npos) << Journal();
    EXPECT_EQ(audioVideo.tabsEnabled, 1);
    ASSERT_TRUE(PumpUntil([handle] { return !IsWindow(handle); }));
    host_.dialogs.erase(ProgramDialogs::kSetAVDlg);

    // An answer that comes once the meeting has ended, queued as the window closed with it,
    // opens no room page over the join window.
    host_.windows.erase(ProgramDialogs::kLiveDlg);
    for (CDuiFrameWindow* late : std::initializer_list<CDuiFrameWindow*>{
             Open<CDuiSetRoom>(ProgramDialogs::kSetRoomDlg),
             Open<CDuiSetOwnRoom>(ProgramDialogs::kSetOwnRoomDlg)}) {
        ASSERT_NE(late, nullptr);
        const std::string before = Journal();
        SendMessageW(late->GetHWND(), WM_UPDATE_ROOM, 0, 0);
        EXPECT_EQ(Journal(), before);
        DestroyWindow(late->GetHWND());
    }
}

// The room update on the real service library against the local back-end.
class RoomUpdateTest : public WithLocalService<RoomSettingsTest> {
protected:
    void SetUp() override {
        WithLocalService::SetUp();
        if (HasFatalFailure()) return;
        backend_->Reset(true);
        backend_->AddUser("tok-A", "20001", "Alice");
        library_->setUserInfo("tok-A", "20001", "Alice", "", "");
        RecordingObserver creator;
        library_->createRoom(&creator, "ROOM42", "pw", "", 0);
        ASSERT_TRUE(creator.WaitFinished());
        ASSERT_EQ(creator.Lines()[0].rfind("onCreateRoom(1", 0), 0u) << creator.Lines()[0];
        host_.libraryUpdateRoom = library_->updateRoom;
    }

    // The next room update is refused with the service's code 2003.
    void RefuseNextUpdate() {
        backend_->Call("POST", "fault",
                       "{\"listener\":\"base\",\"mode\":\"refusal\",\"path\":\"room/update\","
                       "\"count\":1,\"code\":2003,\"errorMsg\":\"update refused\"}");
    }

    std::vector<std::string> UpdateBodies() {
        std::vector<std::string> bodies;
        for (const auto& request : backend_->Requests()) {
            if (request.path.find("room/update") != std::string::npos)
                bodies.push_back(request.body);
        }
        return bodies;
    }
};

TEST_F(RoomUpdateTest, TheHostsConfirmedUpdateIsStoredAndARefusedOneIsShownAndUndone) {
    data().hosts = {"20001"};
    CDuiSetOwnRoom* window = Open<CDuiSetOwnRoom>(ProgramDialogs::kSetOwnRoomDlg);
    ASSERT_NE(window, nullptr);
    Find(window, L"pwdEdit")->SetText(L"\x5bc6\x7801");
    Click(window, L"enableVideoOp");
    ASSERT_TRUE(PumpUntil([this] { return data().initialStatus == 2; }));
    EXPECT_EQ(data().roomPassword, "\xe5\xaf\x86\xe7\xa0\x81");
    const auto bodies = UpdateBodies();
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_NE(bodies[0].find("\"initialStatus\":\t2"), std::string::npos) << bodies[0];
    EXPECT_NE(bodies[0].find("\"pwd\":\t\"\xe5\xaf\x86\xe7\xa0\x81\""), std::string::npos)
        << bodies[0];

    // Refused: the box with the service's code, and the window shows the stored room again.
    RefuseNextUpdate();
    Find(window, L"pwdEdit")->SetText(L"other");
    Click(window, L"enableAudioOp");
    ASSERT_TRUE(PumpUntil([this] { return Journaled("box(1,2003,update refused)") == 1; }))
        << Journal();
    EXPECT_EQ(Text(window, L"pwdEdit"), L"\x5bc6\x7801");
    EXPECT_TRUE(Selected(window, L"enableAudioOp"));
    EXPECT_FALSE(Selected(window, L"enableVideoOp"));
    EXPECT_EQ(data().initialStatus, 2);
}

TEST_F(RoomUpdateTest, TheParticipantsPasswordIsStoredOnceConfirmedAndRestoredWhenRefused) {
    CDuiSetRoom* window = Open<CDuiSetRoom>(ProgramDialogs::kSetRoomDlg);
    ASSERT_NE(window, nullptr);
    TypeInPassword(window, L"secret", WM_KEYDOWN, VK_RETURN);
    ASSERT_TRUE(PumpUntil([this] { return data().roomPassword == "secret"; }));
    EXPECT_EQ(data().initialStatus, 0);

    RefuseNextUpdate();
    TypeInPassword(window, L"later", WM_KEYDOWN, VK_RETURN);
    ASSERT_TRUE(PumpUntil([this] { return Journaled("box(1,2003,update refused)") == 1; }))
        << Journal();
    EXPECT_EQ(Text(window, L"pwdEdit"), L"secret");
    EXPECT_EQ(data().roomPassword, "secret");
    EXPECT_EQ(UpdateBodies().size(), 2u);
}

}  // namespace
