// The replacement new and delete below take their blocks from malloc; GCC, which sees new inlined
// into the headers' templates, cannot see that they pair up with free, and says so from there.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "app/core/test/temp_folder.h"
#include "app/kestrum/kestrum.h"
#include "app/windows/chat/chat_list.h"
#include "app/windows/chat/dui_chat_list.h"
#include "app/windows/join/dui_login.h"
#include "app/windows/live/dui_live.h"
#include "app/windows/live/live_pictures.h"
#include "app/windows/live/meeting_events.h"
#include "app/windows/meeting/testing/recording_meeting_host.h"
#include "app/windows/notice/dui_message_box.h"
#include "app/windows/participants/dui_user_list.h"
#include "app/windows/share/dui_screen_share.h"
#include "app/windows/skeleton/testing/screen_area.h"
#include "app/windows/skeleton/window_messages.h"
#include "app/windows/tiles/dui_remote_item.h"
#include "app/windows/tiles/dui_remote_tool_bar.h"
#include "engine_journal.h"
#include "join_test_support.h"
#include "kestrum/common/scope_exit.h"
#include "kestrum/common/utf.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/engine_messages.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/core/msgbox_ansy_manager.h"
#include "kestrum/core/room_roles.h"
#include "kestrum/core/util_path.h"
#include "kestrum/engine/engine_standin_hook.h"
#include "kestrum/engine/standin_picture_colours.h"
#include "kestrum/testing/win_wait.h"
#include "road_test_environment.h"
#include "support/recording_observer.h"
#include "support/test_backend.h"
#include "ui/base/resource/resource_hub.h"

// The join road to its end as a user goes it: the join window and the in-meeting window on the
// real service library, pointed at the local back-end, with the stand-in engine. Other
// participants come through the back-end's signalling and the stand-in's injected events.

// Records posted to the window are watched from their allocation to their deletion: a record
// still alive once the window is gone has leaked. The program's allocations go through these,
// which take their blocks from malloc (the warning this draws is silenced at the top).
namespace {
constexpr int kWatchSlots = 128;
std::atomic<void*> g_watched[kWatchSlots];

void Unwatch(void* block) {
    for (std::atomic<void*>& slot : g_watched) {
        void* expected = block;
        if (block && slot.compare_exchange_strong(expected, nullptr)) return;
    }
}
}  // namespace

void* operator new(size_t size) {
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    Unwatch(block);
    std::free(block);
}
void operator delete(void* block, size_t) noexcept {
    Unwatch(block);
    std::free(block);
}

namespace {

using namespace join_testing;
using road_testing::Backend;
using road_testing::Course;
using road_testing::Live;
using window_testing::ScreenArea;

// The invitation boxes as records: a box is answered from another thread, as the framework
// does; toasts are kept as their texts (UTF-8).
class RecordingBoxUi : public IInviteBoxUi {
public:
    struct Box {
        HWND window = nullptr;
        std::wstring content;
        AnswerCallback onAnswer;
        bool closed = false;
    };
    ~RecordingBoxUi() override { clear(); }

    InviteBox showBox(HWND, const InviteBoxTexts& texts, AnswerCallback onAnswer) override {
        auto box = std::make_unique<Box>();
        box->window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr);
        box->content = texts.content;
        box->onAnswer = std::move(onAnswer);
        boxes.push_back(std::move(box));
        return {reinterpret_cast<MsgBox*>(boxes.back().get()), boxes.back()->window};
    }
    void updateBoxContent(MsgBox* box, const std::wstring& content) override {
        reinterpret_cast<Box*>(box)->content = content;
    }
    void closeBox(MsgBox* box) override {
        Box* record = reinterpret_cast<Box*>(box);
        record->closed = true;
        DestroyWindow(record->window);
    }
    void showToast(const std::wstring& content, int, HWND) override { toasts.push_back(content); }

    // The user answers the last box (0 yes, 1 no); its window goes, as a framework box's does.
    void answerLast(int answer) {
        Box& box = *boxes.back();
        std::thread framework(box.onAnswer, answer);
        framework.join();
        DestroyWindow(box.window);
    }
    void clear() {
        for (auto& box : boxes) DestroyWindow(box->window);
        boxes.clear();
        toasts.clear();
    }

    std::vector<std::unique_ptr<Box>> boxes;
    std::vector<std::wstring> toasts;
};
RecordingBoxUi g_boxUi;

window_testing::RecordingMeetingHost g_host;

// Every log file of the program's log folder written by this run, read whole.
std::vector<std::string> LogsOfThisRun() {
    const std::wstring folder = ZuvraKestrum::Util::GetExeDirW() + L"logger\\";
    std::vector<std::string> logs;
    const FILETIME logStart = road_testing::AppLogStart();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return logs;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (CompareFileTime(&found.ftLastWriteTime, &logStart) < 0) continue;
        std::string log;
        if (FILE* file = _wfopen((folder + found.cFileName).c_str(), L"rb")) {
            char chunk[4096];
            for (size_t read; (read = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
                log.append(chunk, read);
            }
            std::fclose(file);
        }
        logs.push_back(std::move(log));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return logs;
}

// Into the meeting with its signalling, as Alice; the invitation boxes as records.
// The window's dialog calls reach the program's own table.
::testing::Environment* const kEnvironment = [] {
    g_host.dialogTable = &ProgramDialogTable();
    return ::testing::AddGlobalTestEnvironment(
        new road_testing::RoadTestEnvironment({"Alice", true, "LiveRoadTest", &g_host, &g_boxUi}));
}();

// A participant as the signalling server reports one.
std::string Member(const std::string& uid, const std::string& name, int streamId, int status = 0,
                   const std::string& portraitId = "", int shareId = -1) {
    return "{\"uid\":\"" + uid + "\",\"name\":\"" + name + "\",\"portraitId\":\"" + portraitId +
           "\",\"account\":\"\",\"streamId\":" + std::to_string(streamId) +
           ",\"shareId\":" + std::to_string(shareId) +
           ",\"feature\":0,\"status\":" + std::to_string(status) + "}";
}

// The stand-in engine's picture of a remote uid (its field colour).
COLORREF RemoteColour(uint32_t uid) { return kestrum::engine::RemotePictureColour(uid); }
constexpr COLORREF kLocalColour = kestrum::engine::kLocalPictureColour;

// The colour the user sees near the top of a child window's middle (the stand-in engine writes
// its label in the centre and moves a mark along the bottom; side panels may cover the edges).
COLORREF ShownIn(HWND child) {
    HWND top = GetAncestor(child, GA_ROOT);
    RECT rect;
    GetWindowRect(child, &rect);
    return ScreenArea::Of(top).At((rect.left + rect.right) / 2, rect.top + 20);
}

class LiveRoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(road_testing::RoadReady());
        g_host.engineWrapper = CSingleton<CKestrumZuvra>::existingInstance();
        g_host.calls.clear();
        ASSERT_NO_FATAL_FAILURE(EnterMeeting());
    }
    void TearDown() override {
        if (Live()) Leave();
    }

    static DuiLib::CControlUI* control(const wchar_t* name) { return Control(Live(), name); }

    // Joins room "live" and waits for the local preview in the big view.
    void EnterMeeting() {
        KestrumEngineJournalClear();
        CDuiLogin* join = JoinWindow();
        for (const wchar_t* name : {L"roomedit", L"pwdedit"}) Control(join, name)->SetText(L"");
        TypeInto(join, Control(join, L"roomedit"), L"live");
        Click(join, Control(join, L"joinbtn"));
        ASSERT_TRUE(PumpUntil([] { return Live() && AwaitLaidOut(Live()); })) << "no window";
        ASSERT_TRUE(PumpUntil([] { return Live()->roster().ownUser().uid == MeetingData().uid; }))
            << "no own user-join";
        ASSERT_TRUE(PumpUntil([] { return Live()->engineJoined(); })) << "the engine did not join";
        ASSERT_TRUE(PumpUntil([] { return ShownIn(Live()->videoWindow()) == kLocalColour; }))
            << "no local preview";
    }

    static void Leave() {
        HWND live = Live()->GetHWND();
        Click(Live(), control(L"leavebtn"));
        ASSERT_TRUE(PumpUntil([live] { return !IsWindow(live); }));
    }

    // A participant joins the room through the signalling server.
    static void SignalJoin(const std::string& uid, const std::string& name, int streamId) {
        Backend()->Call("POST", "signal/emit",
                        "{\"event\":\"user-join\",\"args\":[" + Member(uid, name, streamId) + "]}");
    }
    static void EngineJoin(int streamId) {
        ASSERT_EQ(KestrumEngineInject(("userJoined " + std::to_string(streamId) + " 50").c_str()),
                  0);
    }
    static DuiLib::COptionUI* option(const wchar_t* name) {
        return static_cast<DuiLib::COptionUI*>(control(name));
    }
    // An event of the signalling server to this user.
    static void EmitToMe(const std::string& event, const std::string& argument) {
        Backend()->Call("POST", "signal/emit",
                        "{\"event\":\"" + event + "\",\"args\":[" + argument + "],\"uid\":\"" +
                            MeetingData().uid + "\"}");
    }
    // A user operation as the server reports one: this user (with ownStatus) and Bob listed.
    static void Operation(const std::string& operatorUid, const std::string& target,
                          const std::string& type, int ownStatus) {
        const std::string users =
            "[" +
            Member(MeetingData().uid, MeetingData().nickname, MeetingData().streamId, ownStatus) +
            "," + Member("40002", "Bob", 4002) + "]";
        EmitToMe("user-operation", "{\"operator\":\"" + operatorUid +
                                       "\",\"original\":{\"targets\":[\"" + target +
                                       "\"],\"type\":\"" + type + "\"},\"users\":" + users + "}");
    }
    static void AwaitBob() {
        SignalJoin("40002", "Bob", 4002);
        ASSERT_TRUE(PumpUntil([] { return Live()->roster().socketList().size() == 2; }));
    }
    // What the signalling server received from now on, as its control answers it.
    static std::string ReceivedSince(const std::string& last) {
        return Backend()->Call("GET", "signal/received?since=" + last);
    }
    static std::string LastReceived() {
        const std::string received = Backend()->Call("GET", "signal/received?since=0");
        const size_t at = received.find("\"last\":");
        return at == std::string::npos ? "0" : std::to_string(std::atoi(received.c_str() + at + 7));
    }
    static void SignalConfig(const std::string& values) {
        Backend()->Call("POST", "signal/config", values);
    }

    // Runs the messages until the window has handled the first of that number that matches;
    // what check() reads right after that one, before any other message runs. False when none
    // came.
    static bool RightAfter(UINT number, const std::function<bool(const MSG&)>& matches,
                           const std::function<bool()>& check) {
        bool handled = false;
        bool checked = false;
        const bool came = kestrum::testing_support::PumpUntil(
            [&handled] { return handled; },
            [&](MSG& message) {
                if (handled || message.message != number || message.hwnd != Live()->GetHWND() ||
                    !matches(message)) {
                    return false;
                }
                DispatchMessageW(&message);
                handled = true;
                checked = check();
                return true;
            });
        return came && checked;
    }

    static bool HasTile(int streamId) {
        for (const UserInfoRecord& tile : Live()->roster().tiles()) {
            if (tile.streamId == streamId) return true;
        }
        return false;
    }
};

TEST_F(LiveRoadTest, TheJoinEndsInTheMeetingWithTheLocalPreview) {
    const std::string journal = EngineJournal();
    // One join, with the room's profile applied first.
    EXPECT_NE(journal.find("setChannelProfile"), std::string::npos) << journal;
    EXPECT_EQ(journal.find("engine.joinChannel"), journal.rfind("engine.joinChannel")) << journal;
    EXPECT_NE(journal.find("engine.joinChannel"), std::string::npos) << journal;
    EXPECT_EQ(control(L"roomid")->GetText(), std::wstring(L"LIVE"));
    EXPECT_EQ(Course()->targetWindow.load(), Live()->GetHWND());
    EXPECT_EQ(road_testing::JoinReports() > 0, true);
    EXPECT_FALSE(IsWindowVisible(JoinWindow()->GetHWND()));
    // The meeting data lists the participants, the own one first.
    ASSERT_FALSE(MeetingData().userList.empty());
    EXPECT_EQ(std::string(MeetingData().userList.front().uid), MeetingData().uid);
    // A frame paint leaves the big view as it is: nothing of the client area is painted again.
    HWND live = Live()->GetHWND();
    UpdateWindow(live);
    SendMessageW(live, WM_NCPAINT, 1, 0);
    EXPECT_FALSE(GetUpdateRect(live, nullptr, FALSE));
}

// The signalling connects while the window first paints, so its events may come before that
// paint: the window is ready for them when it is made. That paint decodes no picture: they were
// decoded once the join window had painted, and stay decoded from one meeting to the next.
TEST_F(LiveRoadTest, TheWindowIsReadyForTheSignallingAndItsPicturesBeforeItsFirstPaint) {
    ASSERT_NO_FATAL_FAILURE(Leave());
    CDuiLogin* join = JoinWindow();
    ASSERT_TRUE(PumpUntil([join] { return Control(join, L"joinbtn")->IsEnabled(); }));
    const std::vector<std::wstring> pictures = ZuvraKestrum::Live::PictureFiles(SkinFolder());
    ASSERT_FALSE(pictures.empty());
    bool painted = false;
    bool ready = false;
    bool decoded = false;
    const auto firstPaint = [&](MSG& message) {
        if (!painted && message.message == WM_PAINT && Live() &&
            message.hwnd == Live()->GetHWND()) {
            painted = true;
            ready = Live()->videoWindow() && Live()->participantsPanel() && Live()->chatPanel();
            decoded = std::all_of(pictures.begin(), pictures.end(), [](const std::wstring& file) {
                return ui::ResourceHub::CachedImage(file) != nullptr;
            });
        }
        return false;
    };
    Click(join, Control(join, L"joinbtn"));
    ASSERT_TRUE(kestrum::testing_support::PumpUntil([] { return Live() && Live()->engineJoined(); },
                                                    firstPaint));
    EXPECT_TRUE(painted);
    EXPECT_TRUE(ready);
    EXPECT_TRUE(decoded);
}

TEST_F(LiveRoadTest, ASecondParticipantFillsTheBigViewInEitherOrderAndAThirdGetsATile) {
    // Signalling first, then the engine.
    SignalJoin("40002", "Bob", 4002);
    ASSERT_TRUE(PumpUntil([] { return Live()->roster().socketList().size() == 2; }));
    EngineJoin(4002);
    ASSERT_TRUE(PumpUntil([] { return Live()->roster().bigViewUser().streamId == 4002; }));
    ASSERT_TRUE(PumpUntil([] { return ShownIn(Live()->videoWindow()) == RemoteColour(4002); }))
        << "Bob's video is not in the big view";
    ASSERT_NE(Live()->selfTile(), nullptr);
    EXPECT_TRUE(PumpUntil([] {
        HWND video = Live()->selfTile()->videoWindow();
        return video && ShownIn(video) == kLocalColour;
    })) << "the self tile shows no local preview";
    EXPECT_EQ(g_host.callsStartingWith("passing toast 3000 Bob ").size(), 1u);

    // The engine first: parked until the signalling reports the participant.
    EngineJoin(4003);
    ASSERT_TRUE(PumpUntil([] { return Live()->roster().parkedEngineUsers().count(4003) == 1; }));
    EXPECT_FALSE(HasTile(4003));
    SignalJoin("40003", "Carol", 4003);
    ASSERT_TRUE(PumpUntil([] { return HasTile(4003); }));
    EXPECT_TRUE(Live()->roster().parkedEngineUsers().empty());
    EXPECT_TRUE(IsWindowVisible(Live()->tileStrip()->GetHWND()));
}

TEST_F(LiveRoadTest, SpeakingAndNetworkMarksFollowTheEngine) {
    SignalJoin("40002", "Bob", 4002);
    ASSERT_TRUE(PumpUntil([] { return Live()->roster().socketList().size() == 2; }));
    EngineJoin(4002);
    ASSERT_TRUE(PumpUntil([] { return Live()->roster().bigViewUser().streamId == 4002; }));

    ASSERT_EQ(KestrumEngineInject("networkQuality 4002 1 5"), 0);
    EXPECT_TRUE(PumpUntil([] { return ShowsImage(control(L"remoteNet"), L"signal-weak.png"); }));
    ASSERT_EQ(KestrumEngineInject("networkQuality 4002 1 1"), 0);
    EXPECT_TRUE(PumpUntil([] { return ShowsImage(control(L"remoteNet"), L"signal-good.png"); }));
    EXPECT_TRUE(control(L"remoteNet")->IsVisible());

    // The mark follows the speaker one period late and goes one period after the last report.
    ASSERT_EQ(KestrumEngineInject("activeSpeaker 4002"), 0);
    auto* speech = static_cast<DuiLib::COptionUI*>(control(L"remoteSpeechOpt"));
    EXPECT_TRUE(PumpUntil([speech] { return speech->IsVisible() && speech->IsSelected(); }));
    EXPECT_TRUE(PumpUntil([speech] { return !speech->IsVisible(); }));
}

TEST_F(LiveRoadTest, AMeetingOfFourAsTheUserSeesIt) {
    SignalJoin("40002", "Bob", 4002);
    SignalJoin("40003", "Carol", 4003);
    SignalJoin("40004", "\xE7\x8E\x8B\xE5\xB0\x8F\xE6\x98\x8E", 4004);  // "王小明"
    ASSERT_TRUE(PumpUntil([] { return Live()->roster().socketList().size() == 4; }));
    for (int stream : {4002, 4003, 4004}) EngineJoin(stream);
    ASSERT_TRUE(PumpUntil([] { return HasTile(4003) && HasTile(4004); }));
    HWND window = Live()->GetHWND();
    ASSERT_TRUE(PumpUntil([] { return ShownIn(Live()->videoWindow()) == RemoteColour(4002); }));
    // The tiles draw their pictures a little later than the big view.
    ASSERT_TRUE(PumpUntil([] {
        const ScreenArea shot = ScreenArea::Of(Live()->GetHWND());
        RECT strip;
        GetWindowRect(Live()->tileStrip()->GetHWND(), &strip);
        bool carol = false;
        bool wang = false;
        for (int y = strip.top; y < strip.bottom; y += 4) {
            const COLORREF colour = shot.At(strip.left + 40, y);
            carol = carol || colour == RemoteColour(4003);
            wang = wang || colour == RemoteColour(4004);
        }
        return carol && wang;
    })) << "the strip does not show both tiles";
    const ScreenArea shot = ScreenArea::Of(window);
    EXPECT_TRUE(shot.Save(g_language ? L"live-meeting-zh.png" : L"live-meeting-en.png"));
    EXPECT_TRUE(SavePicture(Live(), g_language ? L"live-window-zh" : L"live-window-en"));
    // The tool bar is drawn, the title bar shows the room.
    RECT client;
    GetClientRect(window, &client);
    POINT bar{client.right / 2, client.bottom - 3};
    ClientToScreen(window, &bar);
    EXPECT_EQ(shot.At(bar.x, bar.y), RGB(0x33, 0x33, 0x33));
}

TEST_F(LiveRoadTest, TheToolBarOpensOnePanelAtATimeAndSendsOwnDeviceChanges) {
    auto* chat = static_cast<DuiLib::COptionUI*>(control(L"msgOpt"));
    auto* people = static_cast<DuiLib::COptionUI*>(control(L"userlistOpt"));
    Click(Live(), chat);
    EXPECT_TRUE(IsWindowVisible(Live()->chatPanel()->GetHWND()));
    Click(Live(), people);
    EXPECT_TRUE(IsWindowVisible(Live()->participantsPanel()->GetHWND()));
    EXPECT_FALSE(IsWindowVisible(Live()->chatPanel()->GetHWND()));
    EXPECT_TRUE(people->IsSelected());
    EXPECT_FALSE(chat->IsSelected());
    // The panel's own close button reaches the window as a message.
    PostMessageW(Live()->GetHWND(), WM_USERLIST_CLOSED, 0, 0);
    ASSERT_TRUE(PumpUntil([] { return !IsWindowVisible(Live()->participantsPanel()->GetHWND()); }));
    EXPECT_FALSE(people->IsSelected());

    // The microphone waits for the server's echo of the change.
    g_host.calls.clear();
    Click(Live(), control(L"micopt"));
    EXPECT_FALSE(control(L"micopt")->IsEnabled());
    EXPECT_EQ(g_host.calls, std::vector<std::string>{"roomctrlAudio 1 " + MeetingData().uid});
    // The request failed: no echo comes, the toggle is free and shows the engine's state.
    PostPayload<WM_ACCOUNT_ERROR>(Live()->GetHWND(),
                                  NewRecord<StringPairPayload>("room/ctrl", "", 7));
    EXPECT_TRUE(PumpUntil([] { return control(L"micopt")->IsEnabled(); }));
    EXPECT_TRUE(option(L"micopt")->IsSelected());
    // Neither echo nor failure (the bridge's queue dropped it): the wait ends by itself.
    Live()->setToggleWaitMs(200);
    Click(Live(), control(L"cameraopt"));
    EXPECT_FALSE(control(L"cameraopt")->IsEnabled());
    EXPECT_TRUE(PumpUntil([] { return control(L"cameraopt")->IsEnabled(); }));
    EXPECT_TRUE(option(L"cameraopt")->IsSelected());
}

TEST_F(LiveRoadTest, WhileMaximisedTheBarsHideWhenTheMouseRestsAndReturnWhenItMoves) {
    SetCursorPos(300, 300);
    SendMessageW(Live()->GetHWND(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(Live()->barHiding().maximised());
    EXPECT_TRUE(control(L"restorebtn")->IsVisible());
    EXPECT_FALSE(control(L"maxbtn")->IsVisible());
    // A move restarts the rest, now a short one.
    Live()->setBarRestMs(100);
    SetCursorPos(310, 300);
    SendMessageW(Live()->GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(310, 300));
    ASSERT_TRUE(PumpUntil([] { return !control(L"title")->IsVisible(); }));
    EXPECT_FALSE(control(L"tagHor")->IsVisible());
    SetCursorPos(320, 310);
    SendMessageW(Live()->videoWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(320, 310));
    EXPECT_TRUE(control(L"title")->IsVisible() && control(L"tagHor")->IsVisible());
    SendMessageW(Live()->GetHWND(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(PumpUntil([] { return !Live()->barHiding().maximised(); }));
    EXPECT_TRUE(control(L"maxbtn")->IsVisible());
    EXPECT_TRUE(control(L"title")->IsVisible());
    // Back to the display's corner: other test programs share the pointer.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

// The bodies of the room control requests the back-end received after its first `from`.
std::vector<std::string> ControlsSentSince(size_t from) {
    const std::vector<TestBackend::Request> requests = Backend()->Requests();
    std::vector<std::string> bodies;
    for (size_t i = from; i < requests.size(); ++i) {
        if (requests[i].path.find("room/ctrl") != std::string::npos) {
            bodies.push_back(requests[i].body);
        }
    }
    return bodies;
}

// A mute still queued when the user leaves never reaches the room; the room's state goes with
// the meeting.
TEST_F(LiveRoadTest, LeaveReturnsToTheJoinWindowAndClosesTheConnection) {
    // Right after the bridge has sent a control, its pacing holds the next one for a second:
    // the leave drops it in that second, whenever the worker's tick would have come.
    const size_t first = Backend()->Requests().size();
    Course()->roomctrl_audio(true, {MeetingData().uid});
    ASSERT_TRUE(PumpUntil([first] { return !ControlsSentSince(first).empty(); }));
    const size_t before = Backend()->Requests().size();
    Course()->roomctrl_audio(true, {MeetingData().uid});
    ASSERT_NO_FATAL_FAILURE(Leave());
    EXPECT_TRUE(MeetingData().hosts.empty());
    EXPECT_TRUE(IsWindowVisible(JoinWindow()->GetHWND()));
    // What the user sees: the join window drawn again from the picture it kept.
    EXPECT_TRUE(ScreenArea::Of(JoinWindow()->GetHWND())
                    .Save(g_language ? L"join-after-leave-zh.png" : L"join-after-leave-en.png"));
    EXPECT_TRUE(Control(JoinWindow(), L"joinbtn")->IsEnabled());
    EXPECT_TRUE(PumpUntil([] { return !Course()->socketJoined.load(); }));
    EXPECT_NE(EngineJournal().find("engine.leaveChannel"), std::string::npos);
    EXPECT_EQ(road_testing::BoxDrops() > 0, true);
    // The join window receives the engine's events again.
    EXPECT_TRUE(IsWindowEnabled(JoinWindow()->GetHWND()));
    Sleep(1500);  // the bridge's queue would have sent it by now
    for (const std::string& body : ControlsSentSince(before)) ADD_FAILURE() << body;
}

TEST_F(LiveRoadTest, UserOperationsReachTheTogglesTheEngineAndTheShareButton) {
    const std::string me = MeetingData().uid;
    ASSERT_NO_FATAL_FAILURE(AwaitBob());
    DuiLib::COptionUI* mic = option(L"micopt");
    DuiLib::COptionUI* camera = option(L"cameraopt");
    // The own change waits for the server's echo of it.
    Click(Live(), mic);
    ASSERT_FALSE(mic->IsEnabled());
    Operation(me, me, "muteAudio", 1);
    EXPECT_TRUE(PumpUntil([mic] { return mic->IsEnabled(); }));
    EXPECT_TRUE(mic->IsSelected());
    // Bob turns the camera off: the toggle and the engine follow; with both off the
    // engine only listens.
    KestrumEngineJournalClear();
    Operation("40002", me, "muteVideo", 3);
    EXPECT_TRUE(PumpUntil([camera] { return camera->IsSelected(); }));
    EXPECT_NE(EngineJournal().find("engine.setClientRole(2)"), std::string::npos)
        << EngineJournal();
    // Another's share takes the share button; its end gives it back.
    DuiLib::COptionUI* share = option(L"shareOpt");
    ASSERT_TRUE(share->IsEnabled());
    Operation("40002", "40002", "share", 3);
    EXPECT_TRUE(PumpUntil([share] { return !share->IsEnabled(); }));
    Operation("40002", "40002", "unshare", 3);
    EXPECT_TRUE(PumpUntil([share] { return share->IsEnabled(); }));
    Operation("40002", "40002", "interrupt", 3);
    const std::string away = "toast 10000 " + ZuvraKestrum::Live::InterruptText(g_language, "Bob");
    EXPECT_TRUE(PumpUntil([&away] { return g_host.callsStartingWith(away).size() == 1; }));
    // A sharer who leaves without ending the share gives the button back too.
    EmitToMe("user-list", "[" + Member(me, MeetingData().nickname, MeetingData().streamId, 3) +
                              "," + Member("40002", "Bob", 4002, 0, "", 9002) + "]");
    EXPECT_TRUE(PumpUntil([share] { return !share->IsEnabled(); }));
    Backend()->Call("POST", "signal/emit",
                    "{\"event\":\"user-leave\",\"args\":[{\"uid\":\"40002\"}]}");
    EXPECT_TRUE(PumpUntil([] { return Live()->roster().socketList().size() == 1; }));
    EXPECT_TRUE(share->IsEnabled());
}

TEST_F(LiveRoadTest, TheHostsChangesAreNoticedAndTheSettingsButtonFollowsTheRole) {
    const std::string me = MeetingData().uid;
    ASSERT_NO_FATAL_FAILURE(AwaitBob());
    auto roomWithHost = [](const std::string& host) {
        EmitToMe("room-info",
                 "{\"rid\":\"live\",\"pwd\":\"\",\"topic\":\"live\",\"hosts\":[\"" + host +
                     "\"],\"initialStatus\":0,\"hostsDetails\":[],\"sdkConfigs\":"
                     "{\"channelProfile\":1,\"parameters\":[],\"shareParameters\":[]}}");
    };
    // The user who opened the room holds the role: the host's settings.
    ASSERT_EQ(ZuvraKestrum::Roles::FirstHostOf(MeetingData()), me);
    road_testing::ClearDialogsAsked();
    Click(Live(), control(L"roomconfigbtn"));
    EXPECT_EQ(road_testing::DialogsAsked(), std::vector<unsigned>{CKestrum::kSetOwnRoomDlg});

    g_host.calls.clear();
    roomWithHost("40002");
    roomWithHost("40002");
    ASSERT_TRUE(
        PumpUntil([] { return ZuvraKestrum::Roles::FirstHostOf(MeetingData()) == "40002"; }));
    const std::string applied =
        g_language ? "toast 5000 Bob \xE7\x94\xB3\xE8\xAF\xB7\xE4\xB8\xBB\xE6\x8C\x81\xE4\xBA\xBA"
                   : "toast 5000 Bob apply speaker";
    EXPECT_TRUE(PumpUntil([&applied] { return g_host.callsStartingWith(applied).size() == 1; }));
    road_testing::ClearDialogsAsked();
    Click(Live(), control(L"roomconfigbtn"));
    EXPECT_EQ(road_testing::DialogsAsked(), std::vector<unsigned>{CKestrum::kSetRoomDlg});

    roomWithHost(me);
    const std::string gaveUp =
        g_language ? "toast 5000 Bob \xE6\x94\xBE\xE5\xBC\x83\xE4\xB8\xBB\xE6\x8C\x81\xE4\xBA\xBA"
                   : "toast 5000 Bob giveup speaker";
    EXPECT_TRUE(PumpUntil([&gaveUp] { return g_host.callsStartingWith(gaveUp).size() == 1; }));
    // Two notices in all: the repeated record said nothing new.
    EXPECT_EQ(g_host.callsStartingWith("toast 5000").size(), 2u);
}

// Another host changes the password: this client's next room update sends the new one back
// rather than undoing the change.
TEST_F(LiveRoadTest, AnotherHostsNewPasswordIsKeptByTheNextRoomUpdate) {
    const std::string password = "\xE6\x96\xB0\xE5\xAF\x86\xE7\xA0\x81";  // Chinese
    auto setPassword = [](const std::string& text) {
        return Backend()->Call(
            "POST", "signal/room",
            "{\"rid\":\"" + MeetingData().roomName + "\",\"pwd\":\"" + text + "\"}");
    };
    // The other tests join the room without one.
    const kestrum::common::ScopeExit restore([&setPassword] { setPassword(""); });
    ASSERT_EQ(setPassword(password), "{\"sent\":1}");
    EXPECT_TRUE(PumpUntil([&password] { return MeetingData().roomPassword == password; }));

    const size_t before = Backend()->Requests().size();
    Course()->applySpeaker(nullptr);
    std::string update;
    ASSERT_TRUE(PumpUntil([before, &update] {
        const std::vector<TestBackend::Request> requests = Backend()->Requests();
        for (size_t i = before; i < requests.size(); ++i) {
            if (requests[i].path.find("room/update") != std::string::npos) {
                update = requests[i].body;
            }
        }
        return !update.empty();
    }));
    EXPECT_NE(update.find("\"pwd\":\t\"" + password + "\""), std::string::npos) << update;
}

TEST_F(LiveRoadTest, AnInvitationEndsAcceptedRefusedOrTimedOut) {
    ASSERT_NO_FATAL_FAILURE(AwaitBob());
    CMsgBoxAnsyManager& manager = *CMsgBoxAnsyManager::getInstance();
    g_boxUi.clear();
    MsgBoxPendingInfo pending;
    auto invite = [&manager, &pending] {
        Course()->sendRequest("unmuteAudio", "40002", MeetingData().roomName);
        ASSERT_TRUE(PumpUntil([&manager] { return manager.pendingList.size() == 1; }));
        pending = manager.pendingList.front();
    };
    auto answer = [&pending](bool success, const char* reason) {
        EmitToMe("user-response", "{\"success\":" + std::string(success ? "true" : "false") +
                                      ",\"requestId\":\"" + pending.requestId + "\",\"reason\":\"" +
                                      reason + "\",\"sender\":\"" + MeetingData().uid +
                                      "\",\"target\":\"40002\"}");
    };
    auto settled = [&manager] { return manager.pendingList.empty(); };

    ASSERT_NO_FATAL_FAILURE(invite());
    EXPECT_EQ(pending.type, 6);
    EXPECT_EQ(pending.uid, "40002");
    EXPECT_EQ(pending.nickname, "Bob");
    EXPECT_TRUE(pending.eventId >= 1000 && pending.eventId <= 1199) << pending.eventId;
    answer(true, "");
    EXPECT_TRUE(PumpUntil(settled));
    EXPECT_TRUE(g_boxUi.toasts.empty());

    ASSERT_NO_FATAL_FAILURE(invite());
    answer(false, "REFUSED");
    EXPECT_TRUE(PumpUntil([&] { return settled() && g_boxUi.toasts.size() == 1; }));
    EXPECT_NE(g_boxUi.toasts.back().find(L"Bob"), std::wstring::npos);

    // The server's time-out is silent.
    SignalConfig("{\"requestTimeoutMs\":200}");
    ASSERT_NO_FATAL_FAILURE(invite());
    EXPECT_TRUE(PumpUntil(settled));
    EXPECT_EQ(g_boxUi.toasts.size(), 1u);

    // The window's own time-out comes first: the no-response notice.
    SignalConfig("{\"requestTimeoutMs\":60000}");
    const int timeout = MeetingData().unmuteRequestTimeout;
    MeetingData().unmuteRequestTimeout = 1;
    ASSERT_NO_FATAL_FAILURE(invite());
    EXPECT_TRUE(PumpUntil([&] { return settled() && g_boxUi.toasts.size() == 2; }));
    MeetingData().unmuteRequestTimeout = timeout;
    SignalConfig("{\"requestTimeoutMs\":20000}");
}

TEST_F(LiveRoadTest, RequestsToThisUserShareOneBoxAndOnlySwitchAMutedDeviceOn) {
    const std::string me = MeetingData().uid;
    ASSERT_NO_FATAL_FAILURE(AwaitBob());
    DuiLib::COptionUI* mic = option(L"micopt");
    // The list an operation carries has only Bob and this user: Carol comes after it.
    Operation("40002", me, "muteAudio", 1);
    ASSERT_TRUE(PumpUntil([mic] { return mic->IsSelected(); }));
    SignalJoin("40003", "Carol", 4003);
    ASSERT_TRUE(PumpUntil([] { return Live()->roster().socketList().size() == 3; }));
    g_boxUi.clear();
    g_host.calls.clear();
    auto request = [](const char* op, const char* sender, const char* id) {
        EmitToMe("user-request", std::string("{\"op\":\"") + op + "\",\"sender\":\"" + sender +
                                     "\",\"requestId\":\"" + id + "\"}");
    };
    std::string since = LastReceived();
    request("unmuteAudio", "40002", "mic-one");
    request("unmuteAudio", "40003", "mic-two");
    ASSERT_TRUE(PumpUntil([] {
        return g_boxUi.boxes.size() == 1 &&
               g_boxUi.boxes[0]->content.find(L"Bob") != std::wstring::npos &&
               g_boxUi.boxes[0]->content.find(L"Carol") != std::wstring::npos;
    }));
    g_boxUi.answerLast(0);
    // Both requests are answered, the microphone goes on once.
    EXPECT_TRUE(PumpUntil([&since] {
        const std::string received = ReceivedSince(since);
        return received.find("mic-one") != std::string::npos &&
               received.find("mic-two") != std::string::npos;
    })) << ReceivedSince(since);
    EXPECT_EQ(g_host.calls, std::vector<std::string>{"roomctrlAudio 0 " + me});
    EXPECT_FALSE(mic->IsSelected());

    // On already: yes answers but leaves the microphone alone.
    g_host.calls.clear();
    request("unmuteAudio", "40002", "mic-three");
    ASSERT_TRUE(PumpUntil([] { return g_boxUi.boxes.size() == 2; }));
    g_boxUi.answerLast(0);
    EXPECT_TRUE(PumpUntil(
        [&since] { return ReceivedSince(since).find("mic-three") != std::string::npos; }));
    // The camera request refused: no device changes.
    request("unmuteVideo", "40002", "camera-one");
    ASSERT_TRUE(PumpUntil([] { return g_boxUi.boxes.size() == 3; }));
    g_boxUi.answerLast(1);
    EXPECT_TRUE(PumpUntil(
        [&since] { return ReceivedSince(since).find("camera-one") != std::string::npos; }));
    (void)kestrum::testing_support::PumpUntil([] { return false; }, nullptr,
                                              std::chrono::milliseconds(300));
    EXPECT_TRUE(g_host.calls.empty()) << g_host.calls.front();

    // Not answered in time: the box goes by itself, at the time-out it got when it opened,
    // however many requests keep coming meanwhile.
    const int timeout = MeetingData().unmuteRequestTimeout;
    MeetingData().unmuteRequestTimeout = 1;
    request("unmuteVideo", "40002", "camera-two");
    ASSERT_TRUE(PumpUntil([] { return g_boxUi.boxes.size() == 4; }));
    // Requests keep coming until the box goes, or for the tests' timeout: a box whose time-out
    // each request renewed would never go, while a busy machine may be slow to close it.
    const auto giveUp = std::chrono::steady_clock::now() + kestrum::testing_support::TestTimeout();
    bool closed = false;
    for (int i = 0; !closed && std::chrono::steady_clock::now() < giveUp; ++i) {
        request("unmuteVideo", "40002", ("camera-again-" + std::to_string(i)).c_str());
        (void)kestrum::testing_support::PumpUntil([] { return g_boxUi.boxes[3]->closed; }, nullptr,
                                                  std::chrono::milliseconds(250));
        closed = g_boxUi.boxes[3]->closed;
    }
    EXPECT_TRUE(closed);
    MeetingData().unmuteRequestTimeout = timeout;
}

TEST_F(LiveRoadTest, ChatCountsOnTheBadgeWhileClosedAndTravelsBothWays) {
    ASSERT_NO_FATAL_FAILURE(AwaitBob());
    DuiLib::CControlUI* badge = control(L"bubbleMsg");
    EmitToMe("user-recv-msg", "{\"uid\":\"40002\",\"msg\":\"hello\"}");
    EXPECT_TRUE(PumpUntil([badge] { return badge->IsVisible(); }));
    EXPECT_EQ(badge->GetText(), std::wstring(L"1"));
    // Through the server and back: the own message reaches the room, this window included,
    // which shows it (on the right, though the chat was never opened) but does not count it.
    Course()->broadcastMsg("\xE4\xBD\xA0\xE5\xA5\xBD");  // "你好"
    CChatList* chat = Live()->chatPanel()->chatList();
    EXPECT_TRUE(PumpUntil([chat] { return chat->messageCount() == 2; }));
    EXPECT_EQ(badge->GetText(), std::wstring(L"1"));
    EXPECT_FALSE(Live()
                     ->chatPanel()
                     ->paintManager()
                     .FindSubControlByName(chat->GetItemAt(1), L"vRemote")
                     ->IsVisible());
    Click(Live(), control(L"msgOpt"));
    EXPECT_TRUE(IsWindowVisible(Live()->chatPanel()->GetHWND()));
    EXPECT_FALSE(badge->IsVisible());
}

TEST_F(LiveRoadTest, RemovedByTheHostTheUserLeavesAndLearnsByWhom) {
    ASSERT_NO_FATAL_FAILURE(AwaitBob());
    std::wstring notice;
    NoticeCloser closer(
        [&notice](CDuiMessageBox& box) { notice = Control(&box, L"tipsTxt")->GetText(); });
    HWND live = Live()->GetHWND();
    Operation("40002", MeetingData().uid, "ban", 0);
    ASSERT_TRUE(PumpUntil([live, &closer] { return !IsWindow(live) && closer.handled() == 1; }));
    EXPECT_EQ(notice,
              kestrum::common::Utf8ToWide(ZuvraKestrum::Live::RemovedText(g_language, "Bob")));
    EXPECT_TRUE(IsWindowVisible(JoinWindow()->GetHWND()));
    EXPECT_TRUE(PumpUntil([] { return !Course()->socketJoined.load(); }));
}

// The query of the signalling server's last connection: its status.
std::string LastConnectionStatus() {
    const std::string connections = Backend()->Call("GET", "signal/connections");
    const size_t at = connections.rfind("\"status\":\"");
    return at == std::string::npos ? "" : connections.substr(at + 10, 1);
}

// While the connection is made again the title bar says so and the window stays usable; the
// reconnection announces the microphone as it is now, not as it was when the meeting began.
TEST_F(LiveRoadTest, AServerRestartShowsTheReconnectingNoticeUntilTheConnectionIsBack) {
    // A change whose echo the restart loses: the new connection frees the toggle.
    Live()->setToggleWaitMs(60000);
    ASSERT_EQ(LastConnectionStatus(), "0");
    Click(Live(), control(L"micopt"));
    ASSERT_FALSE(control(L"micopt")->IsEnabled());
    Backend()->Call("POST", "signal/fault", "{\"mode\":\"restart\",\"downMs\":2500}");
    ASSERT_TRUE(PumpUntil([] { return control(L"reconnecting")->IsVisible(); }));
    EXPECT_TRUE(IsWindowEnabled(Live()->GetHWND()));
    EXPECT_TRUE(control(L"leavebtn")->IsEnabled());
    EXPECT_TRUE(
        SavePicture(Live(), g_language ? L"live-reconnecting-zh" : L"live-reconnecting-en"));
    EXPECT_TRUE(PumpUntil([] {
        return !Live()->reconnectRoad().reconnecting() && !control(L"reconnecting")->IsVisible();
    }));
    EXPECT_TRUE(control(L"micopt")->IsEnabled());
    EXPECT_TRUE(option(L"micopt")->IsSelected());
    EXPECT_EQ(LastConnectionStatus(), "1");
    // The new connection carries the meeting on.
    const std::string since = LastReceived();
    Course()->broadcastMsg("back");
    EXPECT_TRUE(
        PumpUntil([&since] { return ReceivedSince(since).find("back") != std::string::npos; }));
}

// When the server refuses the reconnection or stays away, the meeting ends as on a removal:
// the join window, with a notice that says why.
class LiveRoadGiveUpTest : public LiveRoadTest {
protected:
    // Causes the loss, waits for the meeting's end and returns the last notice shown.
    std::wstring EndedNotice(const ZuvraKestrum::Live::ReconnectRoad::Limits& limits,
                             const std::string& faults) {
        Live()->setReconnectLimits(limits);
        HWND live = Live()->GetHWND();
        std::wstring notice;
        NoticeCloser closer(
            [&notice](CDuiMessageBox& box) { notice = Control(&box, L"tipsTxt")->GetText(); });
        for (const std::string& fault : SplitFaults(faults)) {
            Backend()->Call("POST", "signal/fault", fault);
        }
        EXPECT_TRUE(PumpUntil([live] { return !IsWindow(live); }));
        EXPECT_TRUE(PumpUntil([&notice] { return !notice.empty(); }));
        EXPECT_TRUE(IsWindowVisible(JoinWindow()->GetHWND()));
        return notice;
    }
    static std::vector<std::string> SplitFaults(const std::string& faults) {
        std::vector<std::string> list;
        for (size_t at = 0; at < faults.size();) {
            const size_t end = faults.find('|', at);
            list.push_back(faults.substr(at, end - at));
            at = end == std::string::npos ? faults.size() : end + 1;
        }
        return list;
    }
};

// The list the server sends on a (re)connection is the meeting's state: Bob's muted microphone
// shows in the big view, and a share of this user the server no longer lists ends here too.
TEST_F(LiveRoadTest, TheListAfterAReconnectionIsTheMeetingsState) {
    const std::string me = MeetingData().uid;
    ASSERT_NO_FATAL_FAILURE(AwaitBob());
    EngineJoin(4002);
    ASSERT_TRUE(PumpUntil([] { return Live()->roster().bigViewUser().streamId == 4002; }));
    auto list = [&me](int ownShare, int bobStatus) {
        return "[" + Member(me, MeetingData().nickname, MeetingData().streamId, 0, "", ownShare) +
               "," + Member("40002", "Bob", 4002, bobStatus) + "]";
    };
    DuiLib::COptionUI* share = option(L"shareOpt");
    share->Selected(true, false);  // as if this user's share had started
    EmitToMe("user-list", list(9001, 0));
    ASSERT_TRUE(PumpUntil([] { return Live()->roster().ownUser().shareId == 9001; }));
    ASSERT_FALSE(option(L"remoteMicMuteOpt")->IsSelected());
    g_host.calls.clear();
    EmitToMe("user-list", list(-1, kStatusMicOff));
    EXPECT_TRUE(PumpUntil([] { return option(L"remoteMicMuteOpt")->IsSelected(); }));
    EXPECT_TRUE(PumpUntil([] { return Live()->stopShareRequested(); }));
    EXPECT_FALSE(share->IsSelected());
    EXPECT_EQ(g_host.callsStartingWith("roomctrlShare"),
              std::vector<std::string>{"roomctrlShare 0 " + me});
    Operation(me, me, "unshare", 0);
    ASSERT_TRUE(PumpUntil([] { return !Live()->stopShareRequested(); }));

    // A new connection that the server did not carry the share over to: the share is announced
    // again, once, and goes on under the stream the answer names.
    share->Selected(true, false);
    EmitToMe("user-list", list(9001, 0));
    ASSERT_TRUE(PumpUntil([] { return Live()->roster().ownUser().shareId == 9001; }));
    g_host.calls.clear();
    KestrumVideoSourceJournalClear();
    Backend()->Call("POST", "signal/fault", "{\"mode\":\"restart\",\"downMs\":2500}");
    ASSERT_TRUE(PumpUntil([] { return !g_host.callsStartingWith("roomctrlShare").empty(); }));
    EXPECT_TRUE(PumpUntil([] { return !Live()->reconnectRoad().reconnecting(); }));
    EXPECT_EQ(g_host.callsStartingWith("roomctrlShare"),
              std::vector<std::string>{"roomctrlShare 1 " + me});
    EXPECT_TRUE(share->IsSelected());
    PostPayload<WM_ROOM_CTRL>(Live()->GetHWND(), NewRecord<RoomCtrlPayload>(9002, "share-again"));
    EXPECT_TRUE(PumpUntil([] {
        return VideoSourceJournal().find("joinChannel(share-again,") != std::string::npos;
    })) << VideoSourceJournal();
}

// Every mute comes with the room's whole list: the window changes the muted participant's row
// and tile, and nothing else the user sees (the other rows and tiles, their host marks, the big
// view, the self tile). A mute the room refuses, or an invitation the server refuses, ends what
// the rows show meanwhile at once.
TEST_F(LiveRoadTest, AMuteInTheRoomsListChangesOnlyThatParticipantsRowAndTile) {
    const std::string me = MeetingData().uid;
    const auto list = [&me](int daveStatus, int erinStatus = 0) {
        return "[" + Member(me, MeetingData().nickname, MeetingData().streamId) + "," +
               Member("40002", "Bob", 4002) + "," + Member("40003", "Carol", 4003) + "," +
               Member("40004", "Dave", 4004, daveStatus) + "," +
               Member("40005", "Erin", 4005, erinStatus) + "]";
    };
    EmitToMe("user-list", list(0));
    ASSERT_TRUE(PumpUntil([] { return Live()->roster().socketList().size() == 5; }));
    for (int stream : {4002, 4003, 4004, 4005}) EngineJoin(stream);
    ASSERT_TRUE(PumpUntil([] { return HasTile(4003) && HasTile(4004) && HasTile(4005); }));
    Click(Live(), control(L"userlistOpt"));
    CDuiUserList* panel = Live()->participantsPanel();
    std::vector<HWND> views = {Live()->GetHWND(), Live()->selfTile()->GetHWND()};
    HWND dave = nullptr;
    for (const auto& tile : Live()->tileStrip()->layout().tiles()) {
        views.push_back(tile.item.window->GetHWND());
        if (tile.key.streamId == 4004) dave = tile.item.window->GetHWND();
    }
    const auto changed = [&views] {
        std::vector<HWND> windows;
        for (HWND view : views) {
            if (GetUpdateRect(view, nullptr, FALSE)) windows.push_back(view);
        }
        return windows;
    };
    const auto painted = [&changed, panel] {
        return changed().empty() && !GetUpdateRect(panel->GetHWND(), nullptr, FALSE);
    };
    ASSERT_TRUE(PumpUntil(painted));

    EmitToMe("user-operation", "{\"operator\":\"" + me +
                                   "\",\"original\":{\"targets\":[\"40004\"],\"type\":"
                                   "\"muteAudio\"},\"users\":" +
                                   list(kStatusMicOff) + "}");
    // What the list changes, read before anything is painted; what the engine's events changed
    // just before it is not its change.
    std::vector<HWND> changedViews;
    RECT panelChange{};
    bool handled = false;
    ASSERT_TRUE(kestrum::testing_support::PumpUntil(
        [&handled] { return handled; },
        [&](MSG& message) {
            if (message.message != WM_SOCKET_USER_OPERATOR) return false;
            for (HWND view : views) ValidateRect(view, nullptr);
            ValidateRect(panel->GetHWND(), nullptr);
            DispatchMessageW(&message);
            handled = true;
            changedViews = changed();
            GetUpdateRect(panel->GetHWND(), &panelChange, FALSE);
            return true;
        }));
    EXPECT_EQ(changedViews, std::vector<HWND>{dave});
    const UserListItemInfo* row = panel->list()->findItem("40004");
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(row->parts.mic->IsSelected());
    RECT inRow{};
    const RECT rowPlace = row->row->GetPos();
    EXPECT_FALSE(IsRectEmpty(&panelChange));
    EXPECT_TRUE(IntersectRect(&inRow, &panelChange, &rowPlace) && EqualRect(&inRow, &panelChange))
        << "the panel changed beyond Dave's row";

    // The list of an interruption reaches no tile; the next list shows it, though it changes
    // only Dave.
    EmitToMe("user-operation", "{\"operator\":\"" + me +
                                   "\",\"original\":{\"targets\":[\"40005\"],\"type\":"
                                   "\"interrupt\"},\"users\":" +
                                   list(kStatusMicOff, kStatusMicOff) + "}");
    ASSERT_TRUE(PumpUntil([] { return Live()->roster().socketList()[4].status != 0; }));
    EmitToMe("user-list", list(0, kStatusMicOff));
    ASSERT_TRUE(PumpUntil([] { return Live()->roster().socketList()[3].status == 0; }));
    int erin = -1;
    for (const auto& tile : Live()->tileStrip()->layout().tiles()) {
        if (tile.key.streamId == 4005) erin = tile.item.user.status;
    }
    EXPECT_EQ(erin, kStatusMicOff);

    // The room has made Bob its host, which this window has not heard of: it refuses the mute
    // of Bob's microphone, and the refusal gives his row back as listed, not the row's wait.
    const auto roomHosts = [](const std::vector<std::string>& hosts) {
        RecordingObserver update;
        road_testing::Library()->updateRoom(&update, MeetingData().roomName.c_str(), hosts,
                                            MeetingData().initialStatus, "",
                                            MeetingData().roomPassword.c_str());
        return update.WaitFinished();
    };
    const kestrum::common::ScopeExit restoreHost([&] { roomHosts({me}); });
    ASSERT_TRUE(roomHosts({"40002"}));
    const UserListItemInfo* bob = panel->list()->findItem("40002");
    ASSERT_NE(bob, nullptr);
    DuiLib::COptionUI* bobMic = bob->parts.mic;
    DuiLib::COptionUI* bobCamera = bob->parts.camera;
    g_host.calls.clear();
    Click(panel, bobMic);
    Click(panel, bobCamera);
    ASSERT_EQ(g_host.calls,
              (std::vector<std::string>{"roomctrlAudio 1 40002", "roomctrlVideo 1 40002"}));
    ASSERT_TRUE(bobMic->IsSelected());
    ASSERT_FALSE(bobCamera->IsEnabled());
    // The test's host only records: the request goes to the room as the program's host sends it.
    Course()->roomctrl_audio(true, {"40002"});
    EXPECT_TRUE(RightAfter(
        WM_ACCOUNT_ERROR,
        [](const MSG& message) {
            return reinterpret_cast<const PayloadOf<WM_ACCOUNT_ERROR>*>(message.wParam)->code ==
                   2008;
        },
        [bobMic, bobCamera] {
            return !bobMic->IsSelected() && bobCamera->IsEnabled() && !bobCamera->IsSelected();
        }));

    // An invitation the server refuses before passing it on stops waiting at once, not after
    // the request's time-out. The user said yes in the box, which the test's host only records.
    const UserListItemInfo* erinRow = panel->list()->findItem("40005");
    ASSERT_NE(erinRow, nullptr);
    MsgBoxInviteInfo invitation;
    invitation.uid = "40005";
    SendMessageW(panel->GetHWND(), WM_MSGBOX_INVITE_MIC_RET, reinterpret_cast<WPARAM>(&invitation),
                 0);
    DuiLib::CControlUI* erinWaits = erinRow->parts.micAnim;
    ASSERT_TRUE(erinWaits->IsVisible());
    EmitToMe("user-error", "\"send-request refused\"");
    EXPECT_TRUE(RightAfter(
        WM_SOCKET_USER_ERROR, [](const MSG&) { return true; },
        [erinWaits] { return !erinWaits->IsVisible(); }));
}

// The user need not wait for the server: Leave works while the connection is being made again.
TEST_F(LiveRoadTest, TheUserLeavesWhileTheConnectionIsBeingMadeAgain) {
    // Down for longer than a busy machine takes to notice the loss and leave.
    const auto back = std::chrono::steady_clock::now() + std::chrono::milliseconds(10000);
    Backend()->Call("POST", "signal/fault", "{\"mode\":\"restart\",\"downMs\":10000}");
    ASSERT_TRUE(PumpUntil([] { return Live()->reconnectRoad().reconnecting(); }));
    ASSERT_NO_FATAL_FAILURE(Leave());
    EXPECT_TRUE(IsWindowVisible(JoinWindow()->GetHWND()));
    EXPECT_LT(std::chrono::steady_clock::now(), back);
    // The next meeting needs the server back.
    (void)kestrum::testing_support::PumpUntil(
        [back] { return std::chrono::steady_clock::now() > back; });
}

TEST_F(LiveRoadGiveUpTest, ARefusedReconnectionIsTriedABoundedNumberOfTimes) {
    ZuvraKestrum::Live::ReconnectRoad::Limits limits;
    limits.refusalRetries = 2;
    limits.firstRetryDelay = std::chrono::milliseconds(100);
    const std::wstring notice =
        EndedNotice(limits, "{\"mode\":\"connect-error\",\"count\":100}|{\"mode\":\"drop\"}");
    Backend()->Call("POST", "signal/fault", "{\"mode\":\"none\"}");
    EXPECT_EQ(notice, g_language ? L"\x8FDE\x63A5\x65AD\x5F00\x540E\xFF0C\x4F1A\x8BAE\x670D"
                                   L"\x52A1\x5668\x62D2\x7EDD\x91CD\x65B0\x63A5\x5165\x3002"
                                   L"\x4F60\x5DF2\x79BB\x5F00\x4F1A\x8BAE\x3002"
                                 : L"The meeting server refused to take you back after the "
                                   L"connection was lost. You have left the meeting.");
}

TEST_F(LiveRoadGiveUpTest, AServerThatStaysDownEndsTheMeetingAfterABoundedWait) {
    ZuvraKestrum::Live::ReconnectRoad::Limits limits;
    limits.giveUpAfter = std::chrono::milliseconds(2000);
    const auto back = std::chrono::steady_clock::now() + std::chrono::milliseconds(7000);
    const std::wstring notice = EndedNotice(limits, "{\"mode\":\"restart\",\"downMs\":7000}");
    EXPECT_EQ(notice, g_language ? L"\x65E0\x6CD5\x6062\x590D\x4E0E\x4F1A\x8BAE\x670D\x52A1"
                                   L"\x5668\x7684\x8FDE\x63A5\x3002\x4F60\x5DF2\x79BB\x5F00"
                                   L"\x4F1A\x8BAE\x3002"
                                 : L"The connection to the meeting server could not be restored. "
                                   L"You have left the meeting.");
    // The next meeting needs the server back.
    (void)kestrum::testing_support::PumpUntil(
        [back] { return std::chrono::steady_clock::now() > back; }, nullptr,
        std::chrono::milliseconds(10000));
}

TEST_F(LiveRoadTest, TheShareButtonOpensThePickerAndTheChosenWindowIsShared) {
    DuiLib::COptionUI* share = option(L"shareOpt");
    // Closed without a choice: the button goes off again.
    Click(Live(), share);
    ASSERT_NE(Live()->sharePicker(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(Live()->GetHWND()));
    PostPayload<WM_SCREENSHARE_CHOSEN>(Live()->GetHWND(), nullptr);
    ASSERT_TRUE(PumpUntil([] { return Live()->sharePicker() == nullptr; }));
    EXPECT_FALSE(share->IsSelected());
    EXPECT_TRUE(IsWindowEnabled(Live()->GetHWND()));

    Click(Live(), share);
    ASSERT_TRUE(share->IsSelected());
    KestrumVideoSourceJournalClear();
    ASSERT_TRUE(PostPayload<WM_SCREENSHARE_CHOSEN>(
        Live()->GetHWND(), NewRecord<ScreenShareChosen>(Live()->videoWindow(), 640, 360)));
    ASSERT_TRUE(PumpUntil([] { return Live()->sharePicker() == nullptr; }));
    // The service's answer joins the share stream, which captures the chosen window.
    PostPayload<WM_ROOM_CTRL>(Live()->GetHWND(), NewRecord<RoomCtrlPayload>(9001, "share-token"));
    EXPECT_TRUE(PumpUntil([] {
        return VideoSourceJournal().find("startCapture(window,5,0,0,360,640") != std::string::npos;
    })) << VideoSourceJournal();
    EXPECT_NE(VideoSourceJournal().find("joinChannel(share-token,"), std::string::npos);
    EXPECT_TRUE(SavePicture(Live(), g_language ? L"live-sharing-zh" : L"live-sharing-en"));

    // A click while sharing stops at once.
    g_host.calls.clear();
    Click(Live(), share);
    EXPECT_EQ(g_host.calls, std::vector<std::string>{"roomctrlShare 0 " + MeetingData().uid});
    EXPECT_TRUE(Live()->stopShareRequested());
    EXPECT_EQ(Live()->sharePicker(), nullptr);
}

// The stop is sent again until the server reports the share's end, whatever other requests
// report meanwhile; after that end nothing sends it again.
TEST_F(LiveRoadTest, AShareStopIsSentAgainUntilTheServerReportsTheEnd) {
    const std::string me = MeetingData().uid;
    DuiLib::COptionUI* share = option(L"shareOpt");
    share->Selected(true, false);  // as if the share had started
    Live()->setShareRestopMs(200);
    g_host.calls.clear();
    Click(Live(), share);
    ASSERT_EQ(g_host.calls.size(), 1u);
    // An avatar's download succeeded, another request failed to connect: neither is the stop's.
    PostValue<WM_HTTP_RESULT>(Live()->GetHWND(), 0);
    PostValue<WM_HTTP_RESULT>(Live()->GetHWND(), 7);
    PostValue<WM_HTTP_RESULT>(Live()->GetHWND(), 0);
    EXPECT_TRUE(PumpUntil([] { return g_host.calls.size() >= 3; }));
    Operation(me, me, "unshare", 0);
    ASSERT_TRUE(PumpUntil([] { return !Live()->stopShareRequested(); }));
    const size_t sent = g_host.calls.size();
    PostValue<WM_HTTP_RESULT>(Live()->GetHWND(), 7);
    (void)kestrum::testing_support::PumpUntil([] { return false; }, nullptr,
                                              std::chrono::milliseconds(600));
    EXPECT_EQ(g_host.calls.size(), sent);

    // A stop the server never reports (the share itself failed, say) is sent again a bounded
    // number of times only, and then its timer ends. The ticks come straight to the window.
    share->Selected(true, false);
    g_host.calls.clear();
    Click(Live(), share);
    for (int tick = 0; tick <= ZuvraKestrum::Live::ShareStop::kLimit; ++tick)
        SendMessageW(Live()->GetHWND(), WM_TIMER, CLiveMedia::kShareRestopTimer, 0);
    EXPECT_FALSE(Live()->stopShareRequested());
    EXPECT_EQ(g_host.calls.size(), 1u + ZuvraKestrum::Live::ShareStop::kLimit);
    EXPECT_FALSE(KillTimer(Live()->GetHWND(), CLiveMedia::kShareRestopTimer));
}

// Records that reach the window while it leaves, wait in its queue when it is destroyed, or
// come after it: each is freed.
TEST_F(LiveRoadTest, EveryPayloadIsFreedWhileLeavingAndAfter) {
    int watched = 0;
    auto post = [&watched](HWND window) {
        auto watch = [&watched](void* record) { g_watched[watched++ % kWatchSlots] = record; };
        auto user = NewRecord<EngineUserJoinedEvent>(4100u, 5);
        watch(user.get());
        PostPayload<WM_ENGINE_USER_JOINED>(window, std::move(user));
        auto volume = NewRecord<EngineVolumeEvent>(nullptr, 0u, 0);
        watch(volume.get());
        PostPayload<WM_ENGINE_AUDIO_VOLUME_INDICATION>(window, std::move(volume));
        auto quality = NewRecord<EngineQualityEvent>(3);  // no row of its own
        watch(quality.get());
        PostPayload<WM_ENGINE_LASTMILE_QUALITY>(window, std::move(quality));
        auto stats = NewRecord<zuvra::rtc::RtcStats>();
        watch(stats.get());
        PostPayload<WM_ENGINE_LEAVE_CHANNEL>(window, std::move(stats));
        auto join = NewRecord<UserInfoRecord>("40100", "Dan", "", 4100, "", 0, -1, 0);
        watch(join.get());
        PostPayload<WM_SOCKET_USER_JOIN>(window, std::move(join));
        auto room = NewRecord<RoomInfoRecord>();
        watch(room.get());
        PostPayload<WM_SOCKET_ROOM_INFO>(window, std::move(room));
        auto token = NewRecord<TokenPayload>();  // a result for the join window only
        watch(token.get());
        PostPayload<WM_USER_TOKEN>(window, std::move(token));
        // The window's own records, whose numbers lie among the course messages'.
        auto big = NewRecord<UserInfoRecord>("40100", "Dan", "", 4100, "", 0, -1, 0);
        watch(big.get());
        PostPayload<WM_EXCHANGE_BIG>(window, std::move(big));
        auto chosen = NewRecord<ScreenShareChosen>(nullptr, 640, 360);
        watch(chosen.get());
        PostPayload<WM_SCREENSHARE_CHOSEN>(window, std::move(chosen));
    };
    HWND live = Live()->GetHWND();
    post(live);  // handled while leaving
    Click(Live(), control(L"leavebtn"));
    post(live);  // queued when the window is destroyed
    ASSERT_TRUE(PumpUntil([live] { return !IsWindow(live); }));
    post(live);  // no window any more
    int alive = 0;
    for (const std::atomic<void*>& slot : g_watched) alive += slot.load() != nullptr;
    EXPECT_EQ(alive, 0);
}

// The back-end's tokens (access, media, share) are masked in every log a user may upload.
TEST_F(LiveRoadTest, NoTokenOfAWholeMeetingReachesALog) {
    const std::string me = MeetingData().uid;
    ASSERT_NO_FATAL_FAILURE(AwaitBob());
    MeetingData().shareToken.clear();  // the configuration keeps the last one
    Course()->roomctrl_share(true, {me});
    ASSERT_TRUE(PumpUntil([] { return !MeetingData().shareToken.empty(); }));
    const std::vector<std::string> tokens = {MeetingData().token, MeetingData().mediaToken,
                                             MeetingData().shareToken};
    ASSERT_NO_FATAL_FAILURE(Leave());

    const std::vector<std::string> logs = LogsOfThisRun();
    ASSERT_FALSE(logs.empty());
    bool shareLogged = false;
    for (const std::string& log : logs) {
        shareLogged = shareLogged ||
                      log.find("OnMeetingRoomCtrl(" + tokens[2].substr(0, 4)) != std::string::npos;
        for (const std::string& token : tokens) {
            ASSERT_FALSE(token.empty());
            EXPECT_EQ(log.find(token), std::string::npos) << token;
        }
    }
    EXPECT_TRUE(shareLogged);
}

// Avatars come from the cache the rows read: a cached file is not fetched again, an id that
// is no file name is never asked for, and only its own result ends a download under way.
TEST_F(LiveRoadTest, AvatarsAreFetchedIntoTheCacheOnceAndOnlyForPlainIds) {
    const TempFolder folder;
    static std::wstring skin;
    skin = folder.path();
    ZuvraKestrum::Util::SetResourcePathSource([] { return skin; });
    CKestrumData& data = MeetingData();
    const CKestrumConfig& config = *CSingleton<CKestrumConfig>::getInstance();
    const std::string shownBefore = data.portraitPath;
    const std::string idBefore = data.portraitId;
    std::string storedBefore;
    config.getPortraitPath(storedBefore);

    // The portrait id the server gives a file uploaded as is; empty when it refused it.
    auto uploaded = [](const std::wstring& file) {
        RecordingObserver uploader;
        road_testing::Library()->updatePhoto(&uploader, kestrum::common::WideToUtf8(file).c_str());
        std::string id;
        if (!uploader.WaitFinished()) return id;
        for (const std::string& line : uploader.Lines()) {
            if (line.rfind("onUpdatePhoto(", 0) == 0) id = line.substr(14, line.size() - 15);
        }
        return id;
    };
    // The own avatar on the server, and one that is in the cache already.
    const std::string own = uploaded(SkinFolder() + CDuiLogin::kOwnPortraitFile);
    ASSERT_FALSE(own.empty());
    data.portraitId = own;
    HANDLE cached =
        CreateFileW(ZuvraKestrum::Util::GetPortraitCachePath("p-cached").c_str(), GENERIC_WRITE, 0,
                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(cached, INVALID_HANDLE_VALUE);
    CloseHandle(cached);
    auto downloads = [] {
        std::vector<std::string> queries;
        for (const TestBackend::Request& request : Backend()->Requests()) {
            if (request.method == "GET" &&
                request.path.find("account/portrait") != std::string::npos) {
                queries.push_back(request.query);
            }
        }
        return queries;
    };
    const size_t before = downloads().size();

    // The own download is slow; meanwhile another request fails.
    Backend()->Call("POST", "fault",
                    "{\"listener\":\"base\",\"mode\":\"delay\",\"path\":\"account/portrait\","
                    "\"count\":1,\"delayMs\":2500}");
    EmitToMe("user-list", "[" + Member(data.uid, data.nickname, data.streamId, 0, own) + "," +
                              Member("40002", "Bob", 4002, 0, "..\\\\..\\\\x") + "," +
                              Member("40003", "Carol", 4003, 0, "a:b") + "," +
                              Member("40004", "Dan", 4004, 0, "p-cached") + "]");
    ASSERT_TRUE(PumpUntil([&] { return downloads().size() == before + 1; }));
    PostPayload<WM_ACCOUNT_ERROR>(Live()->GetHWND(),
                                  NewRecord<StringPairPayload>("room/ctrl", "", 5));
    const std::wstring ownFile = ZuvraKestrum::Util::GetPortraitCachePath(own);
    EXPECT_TRUE(PumpUntil([&] {
        return data.portraitPath == kestrum::common::WideToUtf8(ownFile) &&
               Live()->roster().portraitQueue().empty();
    })) << data.portraitPath;
    EXPECT_NE(GetFileAttributesW(ownFile.c_str()), INVALID_FILE_ATTRIBUTES);
    std::string stored;
    EXPECT_EQ(config.getPortraitPath(stored), data.portraitPath);
    const std::vector<std::string> asked = downloads();
    EXPECT_EQ(std::vector<std::string>(asked.begin() + before, asked.end()),
              std::vector<std::string>{"?portraitId=" + own});

    // A picture nobody can show (a WebP under a ".jpg" name): its download fails without a box,
    // the default picture stays, and no later list asks for it again.
    WriteFileBytes(folder.narrow() + "face.jpg", std::string("RIFF\x24\0\0\0WEBPVP8 ", 16));
    const std::string odd = uploaded(folder.path() + L"face.jpg");
    ASSERT_FALSE(odd.empty());
    NoticeCloser closer([](CDuiMessageBox&) {});
    const std::string withOdd = "[" + Member(data.uid, data.nickname, data.streamId, 0, own) + "," +
                                Member("40005", "Eve", 4005, 0, odd) + "]";
    EmitToMe("user-list", withOdd);
    ASSERT_TRUE(PumpUntil([&] {
        return downloads().size() == asked.size() + 1 && Live()->roster().portraitQueue().empty();
    }));
    EmitToMe("user-list", withOdd);
    const DWORD settled = GetTickCount() + 3 * CDuiLive::kAvatarPeriodMs;
    PumpUntil([&] { return GetTickCount() >= settled; });
    EXPECT_EQ(closer.handled(), 0);
    EXPECT_EQ(downloads().size(), asked.size() + 1);
    EXPECT_EQ(ZuvraKestrum::Util::GetPortraitPath(odd), L"profile picture-light.png");

    Backend()->Call("POST", "fault", "{\"listener\":\"base\",\"mode\":\"none\"}");
    data.portraitId = idBefore;
    data.portraitPath = shownBefore;
    config.setPortraitPath(storedBefore);
    ZuvraKestrum::Util::SetResourcePathSource(nullptr);
}

}  // namespace
