// The tile strip, its tiles and the per-user menu on their skins under the virtual display: the
// stand-in engine's pictures in the tiles, scrolling and removal moving the tile windows, status
// reaching the right tile, and the menu from a right click to its requests.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/windows/meeting/testing/recording_meeting_host.h"
#include "app/windows/skeleton/testing/screen_area.h"
#include "app/windows/skeleton/testing/skin_window_test.h"
#include "app/windows/skeleton/testing/window_picture.h"
#include "app/windows/skeleton/window_messages.h"
#include "app/windows/tiles/dui_menu_ver.h"
#include "app/windows/tiles/dui_remote_item.h"
#include "app/windows/tiles/dui_remote_tool_bar.h"
#include "chinese_emoji_text.h"
#include "engine_journal.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/core/util_lock_guard.h"
#include "kestrum/engine/standin_picture_colours.h"
#include "message_window.h"
#include "temp_folder.h"

namespace {

using kestrum::testing_support::PumpPending;

constexpr int kOwnStream = 1;

// The field colour the stand-in engine paints for a remote uid (platform/engine), and for the
// local preview.
COLORREF StandInField(uint32_t uid) { return kestrum::engine::RemotePictureColour(uid); }
constexpr COLORREF kLocalField = kestrum::engine::kLocalPictureColour;

UserInfoRecord Participant(const char* uid, const char* name, int32_t streamId, int32_t status = 0,
                           int32_t shareId = -1) {
    return UserInfoRecord(uid, name, "", streamId, "", status, shareId, 0);
}

class TilesWindowsTest : public window_testing::SkinWindowTest {
protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        CKestrumData& data = meeting_.data();
        data.uid = "me";
        data.streamId = kOwnStream;
        data.hosts = {"me"};
        engine_ = std::make_unique<CKestrumZuvra>();
        host_.engineWrapper = engine_.get();
        host_.meetingHandle = meetingWindow_.handle();

        parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                  CDuiRemoteToolBar::kWidth, CDuiRemoteToolBar::kHeight, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        strip_ = new CDuiRemoteToolBar(host_);
        ASSERT_TRUE(strip_->Create(parent_, L"Slider", CDuiRemoteToolBar::kStyle, 0, 0, 0,
                                   CDuiRemoteToolBar::kWidth, CDuiRemoteToolBar::kHeight));
        Pump();
        KestrumEngineJournalClear();
    }
    void TearDown() override {
        DestroyWindow(parent_);  // the strip, its tiles and the menu go with it
        Pump();
        engine_.reset();
        SkinWindowTest::TearDown();
    }

    // A remote participant whose stream the engine knows, in a new tile.
    void AddRemote(const UserInfoRecord& record) {
        KestrumEngineInject(("userJoined " + std::to_string(record.streamId) + " 0").c_str());
        strip_->mediaNotifyAddUser(record);
        Placed();
    }

    // Runs the messages until the strip has placed its tiles' windows.
    void Placed() {
        kestrum::testing_support::PumpUntil([this] { return !strip_->placing(); }, bigViewFilter_);
        Pump();
    }

    // Runs the queued messages; the big-view requests to the in-meeting window are kept.
    void Pump() { PumpPending(bigViewFilter_); }

    // The stream's tile window; null while the tile has none (it never came into sight).
    CDuiRemoteItem* Tile(int32_t streamId) {
        for (const auto& tile : strip_->layout().tiles()) {
            if (tile.key.streamId == streamId) return tile.item.window;
        }
        return nullptr;
    }

    // The tile's top left corner in the strip.
    POINT TileCorner(int32_t streamId) {
        RECT rect;
        GetWindowRect(Tile(streamId)->GetHWND(), &rect);
        POINT corner{rect.left, rect.top};
        ScreenToClient(strip_->GetHWND(), &corner);
        return corner;
    }

    static COLORREF VideoPixel(CDuiRemoteItem* tile) {
        HDC dc = GetDC(tile->videoWindow());
        const COLORREF pixel = GetPixel(dc, 3, 3);
        ReleaseDC(tile->videoWindow(), dc);
        return pixel;
    }

    // A left click in the middle of the control, then what it posted.
    void Click(CDuiFrameWindow* window, const wchar_t* name) {
        Press(window, name);
        Pump();
    }

    void RightClick(CDuiRemoteItem* tile, int x, int y) {
        SendMessageW(tile->GetHWND(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
        Pump();
    }

    // The image a control shows, as the name the program gave it (the layer keeps it resolved
    // against the skin folder); empty for none.
    static bool Shows(CDuiFrameWindow* window, const wchar_t* name, const std::wstring& image) {
        const std::wstring shown = Find(window, name)->GetBkImage().GetData();
        if (image.empty()) return shown.empty();
        return shown.size() >= image.size() &&
               shown.compare(shown.size() - image.size(), image.size(), image) == 0;
    }

    // The menu hides itself when it loses the focus, which a loaded display can move at any
    // time; its picture is of its looks, so it is shown again first, without taking the focus.
    static void PictureOfMenu(CDuiMenuVer* menu, const wchar_t* name) {
        ShowWindow(menu->GetHWND(), SW_SHOWNOACTIVATE);
        EXPECT_TRUE(window_testing::SavePicture(menu, Suffixed(name)));
    }

    static std::wstring Suffixed(const std::wstring& stem) {
        return stem + (g_language ? L"-zh.png" : L"-en.png");
    }

    // The strip as it is on the screen, tiles and their video included, in the pictures folder.
    void TakeScreenPicture(const std::wstring& stem) {
        UpdateWindow(parent_);
        EXPECT_TRUE(window_testing::ScreenArea::Of(parent_).Save(Suffixed(stem)));
    }

    window_testing::RecordingMeetingHost host_{data()};
    MessageWindow meetingWindow_;
    std::vector<std::unique_ptr<UserInfoRecord>> bigViews_;
    kestrum::testing_support::MessageFilter bigViewFilter_ = [this](MSG& message) {
        if (message.hwnd != meetingWindow_.handle() || message.message != WM_EXCHANGE_BIG) {
            return false;
        }
        bigViews_.push_back(TakePayload<WM_EXCHANGE_BIG>(message.wParam));
        return true;
    };
    std::unique_ptr<CKestrumZuvra> engine_;
    HWND parent_ = nullptr;
    CDuiRemoteToolBar* strip_ = nullptr;
};

// Lines of text that contain what.
int LinesWith(const std::string& text, const std::string& what) {
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

TEST_F(TilesWindowsTest, TilesShowTheirStreamsScrollAndCloseTheGapOfARemovedTile) {
    meeting_.data().hosts = {"u11"};
    // The strip's log lines, in a log of their own; the folder goes when the program ends,
    // after the meeting data that keeps the log open.
    static TempFolder folder;
    const std::wstring logPath = folder.path() + L"strip.log";
    auto log = std::make_unique<CKestrumDump>("TilesTest", true, false, false, logPath);
    AddRemote(Participant("u11", kChineseEmojiUtf8, 11));
    AddRemote(Participant("u12", "Bob", 12, kStatusMicOff));
    AddRemote(Participant("u13", "Carl", 13));
    strip_->mediaNotifyAddUser(Participant("me", "Me", kOwnStream));
    Placed();
    AddRemote(Participant("u14", "Dora", 14, 0, 20));

    // Each tile holds its own stream's picture; the own stream is the preview, out of input.
    kestrum::testing_support::PumpUntil(
        [&] {
            return VideoPixel(Tile(11)) == StandInField(11) &&
                   VideoPixel(Tile(12)) == StandInField(12) &&
                   VideoPixel(Tile(13)) == StandInField(13) &&
                   VideoPixel(Tile(kOwnStream)) == kLocalField;
        },
        bigViewFilter_);
    EXPECT_EQ(VideoPixel(Tile(11)), StandInField(11));
    EXPECT_EQ(VideoPixel(Tile(12)), StandInField(12));
    EXPECT_EQ(VideoPixel(Tile(13)), StandInField(13));
    EXPECT_EQ(VideoPixel(Tile(kOwnStream)), kLocalField);
    EXPECT_FALSE(IsWindowEnabled(Tile(kOwnStream)->GetHWND()));
    EXPECT_TRUE(IsWindowEnabled(Tile(11)->GetHWND()));
    const std::string bound = EngineJournal();
    EXPECT_NE(bound.find("engine.setupRemoteVideo"), std::string::npos);
    EXPECT_NE(bound.find("engine.setupLocalVideo"), std::string::npos);
    EXPECT_EQ(Find(Tile(11), L"nicktxt")->GetText(), kChineseEmojiWide);
    EXPECT_TRUE(Find<DuiLib::COptionUI>(Tile(12), L"micmuteOpt")->IsSelected());
    EXPECT_TRUE(Shows(Tile(11), L"ScreenHostLab", L"tiles/host.png"));

    // The same entry again binds nothing; another stream binds anew.
    KestrumEngineJournalClear();
    const UserInfoRecord carl = Participant("u13", "Carl", 13);
    Tile(13)->setUserInfo(carl);
    EXPECT_EQ(EngineJournal(), "");
    strip_->switchUserInfo(carl, Participant("u15", "Eve", 15));
    EXPECT_NE(EngineJournal().find("engine.setupRemoteVideo"), std::string::npos);

    // Dora's tile is below the strip's view: it has no window until it comes into sight, and
    // then shows what was reported meanwhile.
    EXPECT_EQ(Tile(14), nullptr);
    strip_->updateNetworkQuality(14, 2);
    strip_->updateSpeechStatus(14, true);
    strip_->updateNetworkQuality(99, 0);  // nobody's
    strip_->updateNetworkQuality(11, 1);
    strip_->updateNetworkQuality(12, 0);
    strip_->updateSpeechStatus(11, true);
    EXPECT_FALSE(Find(Tile(12), L"speechOpt")->IsVisible());
    strip_->updateScreenStatus(20);
    EXPECT_TRUE(Shows(Tile(11), L"ScreenHostLab", L"tiles/host.png"));
    // Bob's camera goes off: his tile shows its no-video picture instead of the stream.
    strip_->socketNotifyStatus(Participant("u12", "Bob", 12, kStatusMicOff | kStatusCameraOff));
    EXPECT_FALSE(IsWindowVisible(Tile(12)->videoWindow()));
    TakeScreenPicture(L"tiles-strip");
    // In a room of mode 1 Bob, with microphone and camera off, only listens: his tile shows the
    // person picture and hides, and shows again once a device is on.
    {
        ZuvraKestrum::Util::CLockGuard guard(&meeting_.data().lock);
        meeting_.data().roomInfo.sdkConfigs.channelProfile = 1;
    }
    strip_->socketNotifyStatus(Participant("u12", "Bob", 12, kStatusMicOff | kStatusCameraOff));
    EXPECT_FALSE(IsWindowVisible(Tile(12)->GetHWND()));
    EXPECT_NE(
        std::wstring(Find(Tile(12), L"videoWnd")->GetBkImage().GetData()).find(L"default.png"),
        std::wstring::npos);
    strip_->socketNotifyStatus(Participant("u12", "Bob", 12, kStatusCameraOff));
    EXPECT_TRUE(IsWindowVisible(Tile(12)->GetHWND()));
    EXPECT_NE(std::wstring(Find(Tile(12), L"videoWnd")->GetBkImage().GetData()).find(L"No signal"),
              std::wstring::npos);

    // Five tiles in 692 pixels: two steps down, then the last one is in sight.
    Click(strip_, L"downbtn");
    ASSERT_NE(Tile(14), nullptr);
    EXPECT_TRUE(Find(Tile(14), L"netlab")->IsVisible());
    EXPECT_TRUE(Shows(Tile(14), L"netlab", L"signal-good.png"));
    EXPECT_TRUE(Find(Tile(14), L"speechOpt")->IsVisible());
    EXPECT_TRUE(Shows(Tile(14), L"ScreenHostLab", L"tiles/share.png"));
    Click(strip_, L"downbtn");
    Click(strip_, L"downbtn");
    // Out of sight above the strip: where exactly is of no matter until it comes back.
    EXPECT_LE(TileCorner(11).y + 174, 0);
    EXPECT_EQ(TileCorner(14).y, 24 + 2 * 198);
    Click(strip_, L"upbtn");
    EXPECT_EQ(TileCorner(11).y, 24 - 198);

    // Scrolled by one step, a removal brings the column back to the top without a gap.
    HWND removed = Tile(12)->GetHWND();
    strip_->mediaNotifyRemoveUser(12);
    // Out of sight at once; the others move once the queued messages are handled.
    EXPECT_FALSE(IsWindowVisible(removed));
    Placed();
    EXPECT_EQ(TileCorner(11).y, 24);
    EXPECT_EQ(TileCorner(15).y, 24 + 198);
    EXPECT_EQ(TileCorner(14).y, 24 + 3 * 198);
    // Its window waits, out of sight, for the next tile that comes into sight.
    EXPECT_FALSE(IsWindowVisible(removed));

    UserInfoRecord first;
    ASSERT_TRUE(strip_->getFirstUser(first));
    EXPECT_STREQ(first.uid, "u11");
    strip_->closeRemoteItem();
    EXPECT_FALSE(strip_->getFirstUser(first));

    // Each change of the strip is one line, and no line lists the strip's order.
    strip_->adjustPos();
    const std::string lines = ReadFileBytes(logPath);
    EXPECT_EQ(LinesWith(lines, "CDuiRemoteToolBar::mediaNotifyAddUser"), 5) << lines;
    EXPECT_EQ(LinesWith(lines, "CDuiRemoteToolBar::mediaNotifyRemoveUser"), 1) << lines;
    EXPECT_EQ(LinesWith(lines, "CDuiRemoteToolBar::adjustPos"), 1) << lines;
    EXPECT_EQ(LinesWith(lines, "RemoteUserTool"), 0) << lines;
}

// A long column costs the windows in sight: a tile gets its window once it comes into sight, a
// removal moves only the tiles in sight, and the removed tile's window serves the next tile that
// comes into sight, with that tile's stream.
TEST_F(TilesWindowsTest, OnlyTheTilesInSightHaveWindowsAndMove) {
    // In a room of mode 1 the tile of 15, who only listens, stays hidden in a window reused.
    {
        ZuvraKestrum::Util::CLockGuard guard(&meeting_.data().lock);
        meeting_.data().roomInfo.sdkConfigs.channelProfile = 1;
    }
    for (int stream = 11; stream <= 16; ++stream) {
        AddRemote(Participant(("u" + std::to_string(stream)).c_str(), "P", stream,
                              stream == 15 ? kStatusMicOff | kStatusCameraOff : 0));
    }
    EXPECT_EQ(Tile(15), nullptr);
    EXPECT_EQ(Tile(16), nullptr);
    CDuiRemoteItem* first = Tile(11);
    HWND firstVideo = first->videoWindow();
    KestrumEngineJournalClear();
    strip_->mediaNotifyRemoveUser(11);
    Placed();
    EXPECT_EQ(Tile(15), first);
    EXPECT_FALSE(IsWindowVisible(first->GetHWND()));
    EXPECT_EQ(TileCorner(15).y, 24 + 3 * 198);
    EXPECT_EQ(Find(first, L"nicktxt")->GetText(), L"P");
    EXPECT_NE(first->videoWindow(), firstVideo);
    EXPECT_FALSE(IsWindow(firstVideo));
    EXPECT_NE(EngineJournal().find(",15,"), std::string::npos) << EngineJournal();
    EXPECT_EQ(Tile(16), nullptr);
    Click(strip_, L"downbtn");
    ASSERT_NE(Tile(16), nullptr);
    EXPECT_EQ(TileCorner(16).y, 24 + 3 * 198);
}

TEST_F(TilesWindowsTest, ARightClickedTileGetsTheMenuAtThePointAndItsItemsReachTheHost) {
    AddRemote(Participant("u11", "Ann", 11));
    AddRemote(Participant("u12", "Bob", 12, kStatusMicOff));

    RightClick(Tile(11), 40, 50);
    CDuiMenuVer* menu = strip_->menu();
    ASSERT_NE(menu, nullptr);
    RECT place;
    GetWindowRect(menu->GetHWND(), &place);
    POINT expected{40, 50};
    ClientToScreen(Tile(11)->GetHWND(), &expected);
    EXPECT_EQ(place.left, expected.x);
    EXPECT_EQ(place.top, expected.y);
    EXPECT_TRUE(IsWindowVisible(menu->GetHWND()));
    EXPECT_TRUE(Find(menu, L"micOpt")->IsEnabled());
    EXPECT_TRUE(Find(menu, L"tickout")->IsEnabled());
    // Ann's microphone goes off: her tile and her menu follow.
    strip_->socketNotifyStatus(Participant("u11", "Ann", 11, kStatusMicOff));
    EXPECT_TRUE(Find<DuiLib::COptionUI>(Tile(11), L"micmuteOpt")->IsSelected());
    EXPECT_TRUE(Find<DuiLib::COptionUI>(menu, L"micOpt")->IsSelected());
    EXPECT_FALSE(Find(menu, L"micOpt")->IsEnabled());
    strip_->socketNotifyStatus(Participant("u11", "Ann", 11));
    Pump();
    PictureOfMenu(menu, L"tiles-menu");

    // The same menu for the next tile; a microphone that is off cannot be switched.
    RightClick(Tile(12), 10, 10);
    EXPECT_EQ(strip_->menu(), menu);
    EXPECT_TRUE(Find<DuiLib::COptionUI>(menu, L"micOpt")->IsSelected());
    EXPECT_FALSE(Find(menu, L"micOpt")->IsEnabled());
    EXPECT_TRUE(Find(menu, L"cameraOpt")->IsEnabled());
    Click(menu, L"cameraOpt");
    EXPECT_EQ(host_.calls, (std::vector<std::string>{"roomctrlVideo 1 u12"}));
    EXPECT_FALSE(IsWindowVisible(menu->GetHWND()));

    // The big view gets a copy of the participant.
    RightClick(Tile(11), 10, 10);
    Click(menu, L"exchangeBig");
    ASSERT_EQ(bigViews_.size(), 1u);
    EXPECT_STREQ(bigViews_[0]->uid, "u11");

    // While the question is open another right click gives the menu Bob; Ann is removed.
    RightClick(Tile(11), 10, 10);
    host_.calls.clear();
    host_.whileConfirming = [&] { RightClick(Tile(12), 10, 10); };
    Click(menu, L"tickout");
    EXPECT_EQ(host_.calls.front(), g_language ? "confirm \xE5\xB0\x86 Ann \xE7\xA7\xBB\xE5\x87\xBA"
                                                "\xE6\x88\xBF\xE9\x97\xB4\xEF\xBC\x9F"
                                              : "confirm Remove Ann from the room?");
    EXPECT_EQ(host_.callsStartingWith("roomctrlBan"),
              (std::vector<std::string>{"roomctrlBan u11"}));

    // Losing the focus hides the menu and asks nothing; a block without the show flag hides it.
    host_.calls.clear();
    RightClick(Tile(11), 10, 10);
    SendMessageW(menu->GetHWND(), WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(IsWindowVisible(menu->GetHWND()));
    RightClick(Tile(11), 10, 10);
    auto hide = std::make_unique<RemoteItemMenuBlock>();
    hide->show = 0;
    ASSERT_TRUE(PostPayload<WM_REMOTE_ITEM_MENU>(strip_->GetHWND(), std::move(hide)));
    Pump();
    EXPECT_FALSE(IsWindowVisible(menu->GetHWND()));
    EXPECT_TRUE(host_.calls.empty());

    // Without an in-meeting window the big view posts nothing.
    host_.meetingHandle = nullptr;
    RightClick(Tile(11), 10, 10);
    Click(menu, L"exchangeBig");
    EXPECT_EQ(bigViews_.size(), 1u);
}

// The room's host is the one of this meeting: the previous room named the user host, and the
// join of this one named another before any room record came.
TEST_F(TilesWindowsTest, AParticipantWhoIsNotHostGetsOnlyTheBigView) {
    CKestrumData& data = meeting_.data();
    static_cast<void>(data.updateRoomInfo(RoomInfoRecord("old", "", {"me"}, "Me", 0, "", {})));
    data.endMeeting();
    data.hosts = {"boss"};
    AddRemote(Participant("u11", "Ann", 11));
    RightClick(Tile(11), 10, 10);
    ASSERT_NE(strip_->menu(), nullptr);
    EXPECT_TRUE(Find(strip_->menu(), L"exchangeBig")->IsEnabled());
    EXPECT_FALSE(Find(strip_->menu(), L"micOpt")->IsEnabled());
    EXPECT_FALSE(Find(strip_->menu(), L"cameraOpt")->IsEnabled());
    EXPECT_FALSE(Find(strip_->menu(), L"tickout")->IsEnabled());
    PictureOfMenu(strip_->menu(), L"tiles-menu-guest");
}

// The menu never acts on someone gone: it closes with its participant's tile, when that
// participant leaves, and a removal asked meanwhile removes nobody.
TEST_F(TilesWindowsTest, TheMenuClosesWithItsParticipantsTile) {
    AddRemote(Participant("u11", "Ann", 11));
    AddRemote(Participant("u12", "Bob", 12));
    RightClick(Tile(12), 10, 10);
    CDuiMenuVer* menu = strip_->menu();
    ASSERT_NE(menu, nullptr);
    strip_->mediaNotifyRemoveUser(11);  // another's tile: the menu stays
    EXPECT_TRUE(IsWindowVisible(menu->GetHWND()));
    strip_->mediaNotifyRemoveUser(12);
    EXPECT_FALSE(IsWindowVisible(menu->GetHWND()));
    EXPECT_FALSE(Find(menu, L"tickout")->IsEnabled());

    AddRemote(Participant("u13", "Carl", 13));
    RightClick(Tile(13), 10, 10);
    strip_->socketNotifyDisable("u13");
    EXPECT_FALSE(IsWindowVisible(menu->GetHWND()));

    AddRemote(Participant("u14", "Dora", 14));
    RightClick(Tile(14), 10, 10);
    host_.calls.clear();
    host_.whileConfirming = [&] { strip_->mediaNotifyRemoveUser(14); };
    Click(menu, L"tickout");
    EXPECT_EQ(host_.callsStartingWith("confirm").size(), 1u);
    EXPECT_TRUE(host_.callsStartingWith("roomctrlBan").empty());
}

TEST_F(TilesWindowsTest, TheOwnTileHasNoMenuAndAMeetingEndingDuringTheQuestionRemovesNobody) {
    strip_->mediaNotifyAddUser(Participant("me", "Me", kOwnStream));
    AddRemote(Participant("u11", "Ann", 11));
    RightClick(Tile(kOwnStream), 10, 10);
    EXPECT_EQ(strip_->menu(), nullptr);

    // The user answers OK, but the strip and its menu went with the meeting meanwhile.
    RightClick(Tile(11), 10, 10);
    CDuiMenuVer* menu = strip_->menu();
    ASSERT_NE(menu, nullptr);
    const HWND menuWindow = menu->GetHWND();
    host_.whileConfirming = [&] {
        DestroyWindow(strip_->GetHWND());
        strip_ = nullptr;
        Pump();  // as the question's own loop would
    };
    Click(menu, L"tickout");
    EXPECT_FALSE(IsWindow(menuWindow));
    EXPECT_TRUE(host_.callsStartingWith("roomctrlBan").empty());
}

}  // namespace
