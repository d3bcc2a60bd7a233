// The participants panel on its skins under the virtual display: rows from participant lists,
// updates by uid, the row buttons reaching the meeting host, the invitation answers with their
// waiting marks, the wheel, and a picture checked by pixels.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/windows/meeting/testing/recording_meeting_host.h"
#include "app/windows/participants/dui_user_list.h"
#include "app/windows/participants/participant_rules.h"
#include "app/windows/skeleton/testing/skin_window_test.h"
#include "app/windows/skeleton/testing/window_picture.h"
#include "app/windows/skeleton/window_messages.h"
#include "chinese_emoji_text.h"
#include "duilib/button_ui.h"
#include "duilib/option_ui.h"
#include "kestrum/common/utf.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/msgbox_ansy_manager.h"
#include "kestrum/core/util_lock_guard.h"
#include "kestrum/core/util_path.h"
#include "locale_expectation.h"
#include "meeting_data_fixture.h"
#include "message_window.h"
#include "temp_folder.h"
#include "ui/base/util/module_path.h"
#include "ui/windowing/window_impl/framework_window_test_fixture.h"

namespace {

using kestrum::testing_support::PumpPending;
using window_testing::PixelAt;
namespace Rules = ZuvraKestrum::Participants;

constexpr DWORD kPanelStyle = 0x10CF0000;
constexpr DWORD kPanelColour = 0xFF25282Du;

UserInfoRecord Participant(const std::string& uid, const std::string& name, int status,
                           int feature = 1, int streamId = 0) {
    return UserInfoRecord(uid, name, "p-" + uid, streamId, "", status, -1, feature);
}

// The user "me" hosting, Bob with a Chinese and emoji name and his microphone off, Carol on an
// old client with her camera off, and Dave with both devices on.
std::vector<UserInfoRecord> Room() {
    return {Participant("me", "Alice", 0), Participant("bob", kChineseEmojiUtf8, kStatusMicOff),
            Participant("carol", "Carol", kStatusCameraOff, 0, 33), Participant("dave", "Dave", 0)};
}

class ParticipantsWindowTest : public window_testing::SkinWindowTest {
protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        CKestrumData& data = meeting_.data();
        data.uid = "me";
        data.hosts = {"me"};
        data.roomName = "Room 7";
        host_.meetingHandle = meetingWindow_.handle();

        panel_ = new CDuiUserList(host_);
        ASSERT_TRUE(panel_->Create(nullptr, L"UserList", kPanelStyle, 0, 0, 0, 250, 692));
        handle_ = panel_->GetHWND();
        panel_->ShowWindow(true, false);
        UpdateWindow(handle_);
        PumpPending();
        ASSERT_NE(panel_->list(), nullptr);
    }
    void TearDown() override {
        if (IsWindow(handle_)) DestroyWindow(handle_);
        PumpPending();
        SkinWindowTest::TearDown();
    }

    // The meeting data's list, which the feature check reads, and the panel's rows.
    void Show(const std::vector<UserInfoRecord>& participants,
              const std::vector<size_t>* changed = nullptr) {
        {
            ZuvraKestrum::Util::CLockGuard guard(&meeting_.data().lock);
            meeting_.data().userList = participants;
        }
        panel_->updateUserList(participants, changed);
        PumpPending();
    }

    template <class Control = DuiLib::CControlUI>
    Control* InRow(const std::string& uid, const wchar_t* name) {
        const UserListItemInfo* item = panel_->list()->findItem(uid);
        if (!item) return nullptr;
        return static_cast<Control*>(panel_->paintManager().FindSubControlByName(item->row, name));
    }
    DuiLib::COptionUI* Mic(const std::string& uid) {
        return InRow<DuiLib::COptionUI>(uid, L"micStatusOpt");
    }
    DuiLib::COptionUI* Camera(const std::string& uid) {
        return InRow<DuiLib::COptionUI>(uid, L"cameraStatusOpt");
    }
    std::wstring Title() { return panel_->paintManager().FindControl(L"Participants")->GetText(); }
    // Every pixel of the panel, drawn now.
    std::vector<DWORD> Drawn() {
        window_testing::Repaint(panel_);
        RECT client;
        GetClientRect(handle_, &client);
        std::vector<DWORD> pixels;
        for (int y = 0; y < client.bottom; ++y) {
            for (int x = 0; x < client.right; ++x) pixels.push_back(PixelAt(panel_, x, y));
        }
        return pixels;
    }
    // The uids of the rows in list order, from the records their tags name.
    std::vector<std::string> Order() {
        std::vector<std::string> uids;
        CUserList* list = panel_->list();
        for (int i = 0; i < list->GetCount(); ++i) {
            const UserListItemInfo* item = CUserList::RecordOf(list->GetItemAt(i));
            uids.push_back(item ? item->uid : "?");
        }
        return uids;
    }

    // A left click in the middle of the control, as the mouse gives it, and what it posted.
    void Click(DuiLib::CControlUI* control, bool pump = true) {
        ASSERT_NE(control, nullptr);
        Press(panel_, control);
        if (pump) PumpPending();
    }

    void Answer(UINT message, const std::string& uid, int answer) {
        MsgBoxInviteInfo info;
        info.uid = uid;
        SendMessageW(handle_, message, reinterpret_cast<WPARAM>(&info), answer);
    }

    static std::wstring Text(const std::wstring& english, const std::wstring& chinese) {
        return g_language ? chinese : english;
    }

    window_testing::RecordingMeetingHost host_{data()};
    MessageWindow meetingWindow_;
    CDuiUserList* panel_ = nullptr;
    HWND handle_ = nullptr;
};

TEST_F(ParticipantsWindowTest, RowsFollowTheListAndTheUpdatesByUid) {
    EXPECT_EQ(Title(), Text(L"Participants(0)", L"与会人(0)"));
    Show(Room());
    EXPECT_EQ(Title(), Text(L"Participants(4)", L"与会人(4)"));

    // Names widened from UTF-8 in either locale; the host's row marked; only others removable.
    EXPECT_EQ(InRow("bob", L"nick")->GetText(), kChineseEmojiWide);
    EXPECT_EQ(InRow("bob", L"nick")->GetToolTip(), kChineseEmojiWide);
    // The host mark stands beside the name: a long name is cut, never the mark.
    EXPECT_EQ(InRow("me", L"nick")->GetText(), L"Alice");
    ASSERT_NE(InRow("me", L"hostmark"), nullptr);
    EXPECT_TRUE(InRow("me", L"hostmark")->IsVisible());
    EXPECT_FALSE(InRow("bob", L"hostmark")->IsVisible());
    EXPECT_EQ(InRow("me", L"nick")->GetToolTip(), Text(L"Alice(Host)", L"Alice(主持人)"));
    EXPECT_FALSE(InRow("me", L"tick")->IsEnabled());
    EXPECT_TRUE(InRow("bob", L"tick")->IsEnabled());
    EXPECT_TRUE(Mic("bob")->IsSelected());
    EXPECT_FALSE(Camera("bob")->IsSelected());
    EXPECT_TRUE(Camera("carol")->IsSelected());

    panel_->socketNotifyAddUser(Participant("erin", "Erin", kStatusMicOff | kStatusCameraOff));
    EXPECT_EQ(Title(), Text(L"Participants(5)", L"与会人(5)"));
    EXPECT_TRUE(Mic("erin")->IsSelected());
    panel_->socketNotifyRemoteUser("dave");
    EXPECT_EQ(InRow("dave", L"nick"), nullptr);
    EXPECT_EQ(Title(), Text(L"Participants(4)", L"与会人(4)"));

    panel_->updateAudioStatus("bob", false);
    EXPECT_FALSE(Mic("bob")->IsSelected());
    panel_->updateAudioStatusByStream(33, true);
    EXPECT_TRUE(Mic("carol")->IsSelected());
    panel_->updateVideoStatusByStream(33, true);
    EXPECT_FALSE(Camera("carol")->IsSelected());
    // A camera reported off before its owner has a row shows on the rebuilt row.
    panel_->list()->updateVideoStatus("frank", false, false);
    std::vector<UserInfoRecord> later = Room();
    later.push_back(Participant("frank", "Frank", 0));
    Show(later);
    EXPECT_TRUE(Camera("frank")->IsSelected());

    // The list arriving again: Carol has left, Frank comes first, Bob's microphone is on. The
    // others keep their rows, which look as new ones would: the own option the user just
    // clicked is enabled again and no row stays selected.
    const DuiLib::CControlUI* daveRow = panel_->list()->findItem("dave")->row;
    Click(Mic("me"));
    ASSERT_FALSE(Mic("me")->IsEnabled());
    panel_->list()->SelectItem(3);
    std::vector<UserInfoRecord> again = {later[4], later[0], later[1], later[3]};
    again[2].status = 0;
    Show(again);
    EXPECT_EQ(Order(), (std::vector<std::string>{"frank", "me", "bob", "dave"}));
    EXPECT_EQ(panel_->list()->findItem("dave")->row, daveRow);
    EXPECT_FALSE(Mic("bob")->IsSelected());
    EXPECT_TRUE(Camera("frank")->IsSelected());
    EXPECT_TRUE(Mic("me")->IsEnabled());
    EXPECT_EQ(panel_->list()->GetCurSel(), -1);
    EXPECT_EQ(Title(), Text(L"Participants(4)", L"与会人(4)"));
    // A list that kept every entry at its place: its change shows, and so does the own row the
    // user clicked meanwhile.
    Click(Mic("me"));
    again[2].status = kStatusMicOff;
    const std::vector<size_t> bob{2};
    Show(again, &bob);
    EXPECT_TRUE(Mic("bob")->IsSelected());
    EXPECT_TRUE(Mic("me")->IsEnabled());

    // Another host: the user may act on the own row only.
    meeting_.data().hosts = {"bob"};
    panel_->updateHostStatus();
    EXPECT_FALSE(InRow("dave", L"tick")->IsEnabled());
    EXPECT_FALSE(Mic("dave")->IsEnabled());
    EXPECT_TRUE(Mic("me")->IsEnabled());
    EXPECT_FALSE(InRow("me", L"hostmark")->IsVisible());
    EXPECT_TRUE(InRow("bob", L"hostmark")->IsVisible());
    EXPECT_EQ(InRow("bob", L"nick")->GetText(), kChineseEmojiWide);

    // The close button tells the in-meeting window.
    Click(panel_->paintManager().FindControl(L"closebtn"), false);
    MSG closed;
    EXPECT_TRUE(meetingWindow_.take(closed, WM_USERLIST_CLOSED, WM_USERLIST_CLOSED));
}

// A crowd joining at once gets its rows a slice at a time, after the window's input: the title
// counts everyone at once, the rows keep the order of arrival, one who leaves before having a row
// never gets one, and a list arriving meanwhile is the room as it stands.
TEST_F(ParticipantsWindowTest, ACrowdJoiningGetsItsRowsAfterTheWindowsInput) {
    Show(Room());
    CUserList* list = panel_->list();
    std::vector<std::string> expected = Order();
    for (int i = 0; i < 30; ++i) {
        const std::string uid = "c" + std::to_string(i);
        panel_->socketNotifyAddUser(Participant(uid, "Guest", 0));
        if (i != 5) expected.push_back(uid);
    }
    EXPECT_EQ(list->itemCount(), 4);
    EXPECT_EQ(Title(), Text(L"Participants(34)", L"与会人(34)"));
    panel_->socketNotifyRemoteUser("c5");
    EXPECT_EQ(Title(), Text(L"Participants(33)", L"与会人(33)"));
    EXPECT_TRUE(PumpUntil([list] { return list->itemCount() == 33; }));
    EXPECT_EQ(Order(), expected);

    panel_->socketNotifyAddUser(Participant("late", "Late", 0));
    Show(Room());
    EXPECT_EQ(Order(), (std::vector<std::string>{"me", "bob", "carol", "dave"}));
    EXPECT_EQ(Title(), Text(L"Participants(4)", L"与会人(4)"));
}

TEST_F(ParticipantsWindowTest, DeviceOptionsSwitchTheOwnMuteOthersAndInviteThoseWhoCanAnswer) {
    Show(Room());
    Click(Mic("me"));
    Click(Camera("bob"));
    Click(Mic("dave"));
    Click(Mic("bob"));
    Click(Camera("carol"));
    const std::vector<std::string> expected = {
        "roomctrlAudio 1 me", "roomctrlVideo 1 bob", "roomctrlAudio 1 dave", "inviteMic bob",
        "toast 5000 " + kestrum::common::WideToUtf8(Rules::NotSupportedText(g_language))};
    EXPECT_EQ(host_.calls, expected);
    // The own option waits for the room's echo, another's microphone not.
    EXPECT_FALSE(Mic("me")->IsEnabled());
    EXPECT_TRUE(Mic("dave")->IsEnabled());
    EXPECT_FALSE(Camera("bob")->IsEnabled());
    EXPECT_TRUE(Mic("dave")->IsSelected());
    // Still off until the invited participant turns the device on.
    EXPECT_TRUE(Mic("bob")->IsSelected());
    EXPECT_TRUE(Camera("carol")->IsSelected());

    // The room refused the requests: every row shows the devices as the room lists them.
    panel_->roomControlFailed();
    EXPECT_TRUE(Mic("me")->IsEnabled());
    EXPECT_FALSE(Mic("me")->IsSelected());
    EXPECT_TRUE(Camera("bob")->IsEnabled());
    EXPECT_FALSE(Mic("dave")->IsSelected());
    // No answer at all: the same after a bounded wait.
    panel_->setOptionWaitMs(100);
    Click(Mic("me"));
    Click(Mic("dave"));
    ASSERT_FALSE(Mic("me")->IsEnabled());
    EXPECT_TRUE(PumpUntil([this] { return Mic("me")->IsEnabled(); }));
    EXPECT_FALSE(Mic("dave")->IsSelected());
}

// "Mute all" is the row's mute for everyone else whose microphone is on, in one queued request,
// and only the host's: the service refuses it from anybody else, even while the room has no host
// (when the rows' options are everyone's).
TEST_F(ParticipantsWindowTest, MuteAllTurnsEveryOtherMicrophoneOffForTheHostOnly) {
    Show(Room());
    DuiLib::CControlUI* muteAll = panel_->paintManager().FindControl(L"AllBanned");
    ASSERT_NE(muteAll, nullptr);
    EXPECT_FALSE(panel_->paintManager().FindControl(L"CanBanned")->IsVisible());
    ASSERT_TRUE(muteAll->IsEnabled());
    Click(muteAll);
    EXPECT_EQ(host_.calls, std::vector<std::string>{"roomctrlAudio 1 carol,dave"});

    for (const std::vector<std::string>& hosts : {std::vector<std::string>{"bob"}, {}}) {
        host_.calls.clear();
        meeting_.data().hosts = hosts;
        panel_->updateHostStatus();
        EXPECT_FALSE(muteAll->IsEnabled()) << hosts.size();
        Click(muteAll);
        EXPECT_TRUE(host_.calls.empty()) << hosts.size();
    }
}

TEST_F(ParticipantsWindowTest, RemovalIsAskedFirstAndSurvivesAListArrivingMeanwhile) {
    Show(Room());
    host_.confirmAnswer = false;
    Click(InRow("dave", L"tick"));
    EXPECT_TRUE(host_.callsStartingWith("roomctrlBan").empty());

    // While the question is open a new list rebuilds every row and frees Bob's record.
    host_.confirmAnswer = true;
    host_.whileConfirming = [this] {
        Show({Participant("me", "Alice", 0), Participant("zoe", "Zoe", 0)});
    };
    host_.calls.clear();
    Click(InRow("bob", L"tick"));
    const std::wstring question =
        Text(L"Remove " + std::wstring(kChineseEmojiWide) + L" from the room?",
             L"将 " + std::wstring(kChineseEmojiWide) + L" 移出房间？");
    const std::vector<std::string> expected = {"confirm " + kestrum::common::WideToUtf8(question),
                                               "roomctrlBan bob"};
    EXPECT_EQ(host_.calls, expected);
    EXPECT_EQ(Title(), Text(L"Participants(2)", L"与会人(2)"));
}

TEST_F(ParticipantsWindowTest, AcceptedInvitationsWaitOnTheirRowsUntilTheDeviceIsOn) {
    Show(Room());
    Answer(WM_MSGBOX_INVITE_MIC_RET, "bob", 1);
    EXPECT_TRUE(host_.calls.empty());
    EXPECT_FALSE(InRow("bob", L"micanim")->IsVisible());

    Answer(WM_MSGBOX_INVITE_MIC_RET, "bob", 0);
    Answer(WM_MSGBOX_INVITE_CAMERA_RET, "carol", 0);
    const std::vector<std::string> expected = {"sendRequest unmuteAudio bob Room 7",
                                               "sendRequest unmuteVideo carol Room 7"};
    EXPECT_EQ(host_.calls, expected);
    EXPECT_TRUE(InRow("bob", L"micanim")->IsVisible());
    EXPECT_FALSE(Mic("bob")->IsVisible());
    EXPECT_TRUE(InRow("carol", L"cameraanim")->IsVisible());

    // A list applied again shows the marks again while the devices stay off.
    Show(Room());
    EXPECT_TRUE(InRow("bob", L"micanim")->IsVisible());
    EXPECT_TRUE(InRow("carol", L"cameraanim")->IsVisible());
    // Carol refuses; Bob's microphone comes on.
    panel_->stopCameraWaiting("carol");
    EXPECT_FALSE(InRow("carol", L"cameraanim")->IsVisible());
    EXPECT_TRUE(Camera("carol")->IsVisible());
    std::vector<UserInfoRecord> room = Room();
    room[1].status = 0;
    Show(room);
    EXPECT_FALSE(InRow("bob", L"micanim")->IsVisible());
    EXPECT_TRUE(panel_->waits().entries().empty());
}

// A wait never outlasts its request: the server refusing it ends it at once, a request lost on
// its way or an answer that never comes after a bounded time; no list brings the mark back.
TEST_F(ParticipantsWindowTest, AnInvitationThatFailsOrIsLostStopsWaiting) {
    Show(Room());
    meeting_.data().unmuteRequestTimeout = 1;
    panel_->setAnswerGraceMs(500);
    Answer(WM_MSGBOX_INVITE_MIC_RET, "bob", 0);
    Answer(WM_MSGBOX_INVITE_CAMERA_RET, "carol", 0);
    panel_->invitationPassedOn("unmuteVideo", "carol");
    panel_->invitationsRefused();
    EXPECT_FALSE(InRow("bob", L"micanim")->IsVisible());
    EXPECT_TRUE(Mic("bob")->IsVisible());
    EXPECT_TRUE(InRow("carol", L"cameraanim")->IsVisible());
    Show(Room());
    EXPECT_FALSE(InRow("bob", L"micanim")->IsVisible());
    EXPECT_TRUE(PumpUntil([this] { return Camera("carol")->IsVisible(); }));
    EXPECT_TRUE(panel_->waits().entries().empty());
    Show(Room());
    EXPECT_FALSE(InRow("carol", L"cameraanim")->IsVisible());
}

TEST_F(ParticipantsWindowTest, TheWheelGlidesTheListOnItsTimer) {
    std::vector<UserInfoRecord> crowd;
    for (int i = 0; i < 40; ++i) crowd.push_back(Participant("u" + std::to_string(i), "User", 0));
    Show(crowd);
    CUserList* list = panel_->list();
    ASSERT_GT(list->GetScrollRange().cy, 0);
    const RECT& pos = list->GetPos();
    POINT screen{(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
    ClientToScreen(handle_, &screen);
    // Two notches down.
    for (int notch = 0; notch < 2; ++notch) {
        PostMessageW(handle_, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                     MAKELPARAM(screen.x, screen.y));
    }
    ASSERT_TRUE(PumpUntil([list] { return list->scroll().running(); }));
    ASSERT_TRUE(PumpUntil([list] { return !list->scroll().running(); }));
    EXPECT_TRUE(window_testing::SavePicture(
        panel_, g_language ? L"participants-scrolled-zh.png" : L"participants-scrolled-en.png"));
    // Velocity -16 over 20 ticks: trunc((left / 20)^2 * 16) pixels a tick, until that is 0.
    EXPECT_EQ(list->GetScrollPos().cy,
              14 + 12 + 11 + 10 + 9 + 7 + 6 + 5 + 4 + 4 + 3 + 2 + 1 + 1 + 1);
}

TEST_F(ParticipantsWindowTest, PictureOfAMeetingWithEightParticipants) {
    std::vector<UserInfoRecord> room = Room();
    for (const char* name : {"Erin", "Frank", "Grace", "Heidi"})
        room.push_back(Participant(name, name, kStatusCameraOff));
    // Hovering nothing: the pointer well outside the panel.
    SendMessageW(handle_, WM_MOUSEMOVE, 0, MAKELPARAM(600, 600));
    // Rows kept from a list in the reverse order, without Heidi and with Zoe, where everyone
    // had another name, avatar and microphone state, draw as rows built anew.
    std::vector<UserInfoRecord> earlier;
    for (auto listed = room.rbegin() + 1; listed != room.rend(); ++listed) {
        earlier.emplace_back(listed->uid, std::string(listed->name) + " 2", "q", listed->streamId,
                             "", listed->status ^ kStatusMicOff, -1, listed->feature);
    }
    earlier.push_back(Participant("zoe", "Zoe", 0));
    Show(earlier);
    Show(room);
    const std::vector<DWORD> kept = Drawn();
    Show({});
    Show(room);
    EXPECT_TRUE(Drawn() == kept);
    // Bob's avatar lands in the cache (the in-meeting window hands it over on the UI thread).
    const std::wstring cached = ZuvraKestrum::Util::GetPortraitCachePath("p-bob");
    ASSERT_TRUE(CopyFileW(
        (kbase::ModuleDirectory() + L"..\\Resource\\skin\\profile picture-light1.png").c_str(),
        cached.c_str(), FALSE));
    panel_->updateUserPhoto(Participant("bob", "", 0));
    Answer(WM_MSGBOX_INVITE_MIC_RET, "dave", 0);
    ASSERT_TRUE(window_testing::SavePicture(
        panel_, g_language ? L"participants-zh.png" : L"participants-en.png"));

    EXPECT_EQ(PixelAt(panel_, 120, 600), kPanelColour);  // below the rows
    const RECT& title = panel_->paintManager().FindControl(L"Participants")->GetPos();
    EXPECT_GT(window_testing::CountDiffering(panel_, title, kPanelColour), 40);
    for (const UserInfoRecord& participant : room) {
        SCOPED_TRACE(participant.uid);
        const RECT& nick = InRow(participant.uid, L"nick")->GetPos();
        EXPECT_GT(window_testing::CountDiffering(panel_, nick, kPanelColour), 20);
    }
    // Bob's cached avatar is the blue one, the others the default grey-blue.
    const RECT& bob = InRow("bob", L"userphoto")->GetPos();
    const RECT& carol = InRow("carol", L"userphoto")->GetPos();
    EXPECT_EQ(PixelAt(panel_, bob.left + 15, bob.top + 3), 0xFF2A7FE6u);
    EXPECT_EQ(PixelAt(panel_, carol.left + 15, carol.top + 3), 0xFF9AA9BCu);
    // Dave's microphone waits: the blue mark instead of the grey microphone.
    const RECT& waiting = InRow("dave", L"micanim")->GetPos();
    EXPECT_GT(window_testing::CountDiffering(panel_, waiting, kPanelColour), 30);
}

}  // namespace
