// The in-meeting window under load, on the program's road as the meeting bench has it (the join
// window and the in-meeting window in this process, the real service library on the local
// back-end, the stand-in engine, the framework's toasts); prints medians, ratios and goals,
// asserts nothing.
//  - a room of 500 against a room of 50: the full lists the server sends as the window applies
//    them (the list, the host marks, the tiles, the meeting data), with the participants panel
//    open, every remote participant in the big view or a tile of the strip and showing a picture
//    from the avatar cache: a user operation
//    (the host mutes or unmutes one participant; the operation carries the room's list) and the
//    list of a reconnect that changes one participant; each handled, and handled with the paint
//    that follows; goal: the large room at most 1.5 times the small one;
//  - a chat burst: scripted peers send 20,000 chat messages, the chat panel open;
//  - a churn: 200 scripted peers join the room and leave it again, in rounds (with the engine's
//    channel, so that each has a tile while it is there);
//    for each burst, while mouse moves come every 5 ms (and, as the instrument's floor, for 3 s of
//    a meeting where nothing happens): the longest the window's thread went
//    without handling input or paint, from the burst's start until the window has shown all of it
//    (goal at most 250 ms), and the process's private memory once it is over and settled against
//    before it (goal at most 1.2 times).
//   kestrum_meeting_load_bench.exe [lists [rooms|idle|chat|churn]]
//     lists: full lists timed per room and kind, default 21; a section name runs that one alone.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/windows/chat/chat_list.h"
#include "app/windows/chat/dui_chat_list.h"
#include "app/windows/join/dui_login.h"
#include "app/windows/live/dui_live.h"
#include "app/windows/participants/dui_user_list.h"
#include "engine_journal.h"
#include "input_watch.h"
#include "join_test_support.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_path.h"
#include "kestrum/testing/win_wait.h"
#include "meeting_road.h"
#include "network_floors.h"
#include "road_environment.h"
#include "scripted_peers.h"
#include "support/test_backend.h"
#include "window_pump.h"

namespace {

using bench_floors::Clock;
using bench_floors::Median;
using bench_floors::Milliseconds;
using bench_pump::Await;
using bench_pump::Follow;
using bench_pump::Milestone;
using bench_pump::PrivateKb;
using bench_pump::Settle;
using bench_road::Backend;
using namespace join_testing;
using road_testing::Live;

constexpr int kDefaultLists = 21;
constexpr int kSmallRoom = 50;
constexpr int kLargeRoom = 500;
constexpr int kFirstGuest = 70001;  // guest i: uid and stream 70001 + i
// The guests' picture, as every participant has one; it is in the avatar cache already.
constexpr char kGuestFace[] = "guest-face";
constexpr double kListGoal = 1.5;
constexpr int kChatBurst = 20000;
constexpr int kChatPeers = 2;
constexpr int kChurnGroups = 4;  // of kChurnGroupSize peers: the back-end starts at most 64 at once
constexpr int kChurnGroupSize = 50;
constexpr int kChurnRounds = 3;
constexpr double kGapGoalMs = 250;
constexpr double kMemoryGoal = 1.2;
constexpr DWORD kSettleMs = 2000;
constexpr DWORD kIdleMs = 3000;
// What a burst may take before the bench gives up on it (the window once needed minutes).
constexpr std::chrono::minutes kBurstTimeout{10};

// ---- The room of the window -------------------------------------------------------------------

bool JoinRoom(const std::wstring& room) {
    if (!bench_road::PrepareJoin(room)) return false;
    Click(JoinWindow(), Control(JoinWindow(), L"joinbtn"));
    if (!Await(
            [] { return Live() && Live()->engineJoined() && Live()->roster().ownUser().uid[0]; })) {
        std::fprintf(stderr, "no meeting\n");
        return false;
    }
    return true;
}

bool OpenPanel(const wchar_t* option, HWND panel) {
    Click(Live(), Control(Live(), option));
    return Await([panel] { return IsWindowVisible(panel) != FALSE; });
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string MemberJson(const UserInfoRecord& user) {
    return "{\"uid\":" + Quoted(user.uid) + ",\"name\":" + Quoted(user.name) +
           ",\"portraitId\":" + Quoted(user.portraitId) +
           ",\"account\":\"\",\"streamId\":" + std::to_string(user.streamId) +
           ",\"shareId\":-1,\"feature\":1,\"status\":" + std::to_string(user.status) + "}";
}

// The own record and size - 1 guests, a mix of devices on and off; the guest `toggled` with its
// microphone the other way when muted is set.
std::vector<UserInfoRecord> Room(int size, int toggled, bool muted) {
    std::vector<UserInfoRecord> room{Live()->roster().ownUser()};
    for (int i = 0; i < size - 1; ++i) {
        const std::string id = std::to_string(kFirstGuest + i);
        int status = i % 4;
        if (i == toggled && muted) status ^= kStatusMicOff;
        room.emplace_back(id, "Guest " + std::to_string(i), kGuestFace, kFirstGuest + i, "", status,
                          -1, 1);
    }
    return room;
}

std::string ListJson(const std::vector<UserInfoRecord>& room) {
    std::string json = "[";
    for (const UserInfoRecord& user : room) json += (json.size() > 1 ? "," : "") + MemberJson(user);
    return json + "]";
}

// The server's event to the window's own socket.
void EmitToSelf(const std::string& event, const std::string& argument) {
    Backend().Call("POST", "signal/emit",
                   "{\"event\":" + Quoted(event) + ",\"args\":[" + argument +
                       "],\"uid\":" + Quoted(g_kestrumData->uid) + "}");
}

// The room becomes size participants, each guest in the engine's channel, and the window shows
// them all: the first guest in the big view, the others as tiles.
bool FillRoom(int size) {
    EmitToSelf("user-list", ListJson(Room(size, -1, false)));
    if (!Await([size] { return static_cast<int>(Live()->roster().socketList().size()) == size; })) {
        return false;
    }
    for (int i = 0; i < size - 1; ++i) {
        if (Live()->roster().parkedEngineUsers().count(kFirstGuest + i)) continue;
        KestrumEngineInject(("userJoined " + std::to_string(kFirstGuest + i) + " 50").c_str());
    }
    Milestone shown{
        [size] { return static_cast<int>(Live()->roster().tiles().size()) == size - 2; }, true};
    if (!Follow(Clock::now(), {&shown})) {
        std::fprintf(stderr, "the room of %d did not fill\n", size);
        return false;
    }
    Settle(kSettleMs);
    return true;
}

struct Applied {
    std::vector<double> handled;
    std::vector<double> shown;
};

// Has the server send what emit sends and times the window's handling of `message` once it
// arrives, and until the thread's queue is empty after it (its paint done).
bool TimeApply(UINT message, const std::function<void()>& emit, Applied& out) {
    Clock::time_point start{};
    Clock::time_point end{};
    bool handled = false;
    const auto filter = [&](MSG& queued) {
        if (queued.message != message || handled) return false;
        start = Clock::now();
        TranslateMessage(&queued);
        DispatchMessageW(&queued);
        out.handled.push_back(Milliseconds(Clock::now() - start));
        handled = true;
        return true;
    };
    Milestone shown{[&] {
                        if (handled) end = Clock::now();
                        return handled;
                    },
                    true};
    emit();
    if (!Follow(Clock::now(), {&shown}, filter)) return false;
    out.shown.push_back(Milliseconds(end - start));
    return true;
}

struct RoomFigures {
    double muteHandled = -1;
    double muteShown = -1;
    double listHandled = -1;
    double listShown = -1;
};

// Full lists in a room of size: the host mutes and unmutes a guest in turn, and a reconnect's
// list brings the guest's microphone back and forth.
bool MeasureRoom(int size, int lists, RoomFigures& f) {
    if (!FillRoom(size)) return false;
    // A guest whose camera is on, in view in the panel and the strip: a mute changes only its
    // microphone marks.
    const int toggled = 1;
    const std::string target = std::to_string(kFirstGuest + toggled);
    Applied mutes;
    Applied reconnects;
    for (int i = 0; i < 2 * lists; ++i) {
        const bool muted = i % 2 == 0;
        const std::string list = ListJson(Room(size, toggled, muted));
        const std::string operation = "{\"operator\":" + Quoted(g_kestrumData->uid) +
                                      ",\"original\":{\"targets\":[" + Quoted(target) +
                                      "],\"type\":" + Quoted(muted ? "muteAudio" : "unmuteAudio") +
                                      "},\"users\":" + list + "}";
        if (!TimeApply(
                WM_SOCKET_USER_OPERATOR, [&] { EmitToSelf("user-operation", operation); }, mutes)) {
            return false;
        }
    }
    for (int i = 0; i < 2 * lists; ++i) {
        const std::string list = ListJson(Room(size, toggled, i % 2 == 0));
        if (!TimeApply(
                WM_SOCKET_USER_LIST, [&] { EmitToSelf("user-list", list); }, reconnects)) {
            return false;
        }
    }
    f.muteHandled = Median(mutes.handled);
    f.muteShown = Median(mutes.shown);
    f.listHandled = Median(reconnects.handled);
    f.listShown = Median(reconnects.shown);
    return true;
}

bool CacheGuestFace() {
    const std::wstring face = ZuvraKestrum::Util::GetPortraitCachePath(kGuestFace);
    return !face.empty() &&
           CopyFileW((SkinFolder() + CDuiLogin::kOwnPortraitFile).c_str(), face.c_str(), FALSE);
}

bool MeasureRooms(int lists, RoomFigures& small, RoomFigures& large) {
    if (!CacheGuestFace()) {
        std::fprintf(stderr, "no picture for the guests\n");
        return false;
    }
    if (!JoinRoom(L"ROOMS")) return false;
    CDuiUserList* panel = Live()->participantsPanel();
    const bool done = panel && OpenPanel(L"userlistOpt", panel->GetHWND()) &&
                      MeasureRoom(kSmallRoom, lists, small) &&
                      MeasureRoom(kLargeRoom, lists, large);
    return bench_road::Leave() && done;
}

// ---- Bursts -----------------------------------------------------------------------------------

struct BurstFigures {
    double longestGapMs = -1;
    double longestMessageMs = -1;
    UINT longestMessage = 0;
    int answered = 0;
    std::vector<InputWatch::Spent> costliest;
    double seconds = -1;
    double memoryBefore = -1;
    double memoryAfter = -1;
};

// A point over the big view, where the watch moves the mouse.
POINT OverBigView() {
    RECT place{};
    GetWindowRect(Live()->videoWindow(), &place);
    if (place.right <= place.left) GetWindowRect(Live()->GetHWND(), &place);
    return POINT{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

using Pump = kestrum::testing_support::MessageFilter;

// Runs the messages until done() holds with the queue empty; false when not by the burst's
// timeout.
bool AwaitIdle(std::function<bool()> done, const Pump& pump) {
    Milestone over{std::move(done), true};
    return Follow(Clock::now(), {&over}, pump, kBurstTimeout);
}

// Runs burst on this thread, which runs the window's messages through the pump it is given, under
// the input watch; the memory is read before and after, each time settled.
bool Watch(const std::function<bool(const Pump&)>& burst, BurstFigures& f) {
    Settle(kSettleMs);
    f.memoryBefore = PrivateKb();
    {
        InputWatch watch(OverBigView());
        const Pump pump = [&watch](MSG& message) { return watch.Run(message); };
        Settle(200, pump);
        const Clock::time_point start = Clock::now();
        const bool done = burst(pump);
        f.seconds = Milliseconds(Clock::now() - start) / 1000;
        f.longestGapMs = watch.LongestGapMs();
        f.longestMessageMs = watch.LongestMessageMs();
        f.longestMessage = watch.LongestMessage();
        f.answered = watch.Answered();
        f.costliest = watch.CostliestMessages(4);
        if (!done) return false;
    }
    Settle(kSettleMs);
    f.memoryAfter = PrivateKb();
    return true;
}

// The text of the newest bubble of the chat panel.
std::wstring NewestBubble() {
    CDuiChatList* panel = Live()->chatPanel();
    CChatList* list = panel ? panel->chatList() : nullptr;
    if (!list || list->GetCount() == 0) return L"";
    DuiLib::CControlUI* text = panel->paintManager().FindSubControlByName(
        list->GetItemAt(list->GetCount() - 1), L"chat_text");
    return text ? std::wstring(text->GetText().GetData()) : L"";
}

// The watch's own floor: a meeting in which nothing happens.
bool IdleWatch(BurstFigures& f) {
    const bool done = JoinRoom(L"IDLE") && Watch(
                                               [](const Pump& pump) {
                                                   Settle(kIdleMs, pump);
                                                   return true;
                                               },
                                               f);
    return bench_road::Leave() && done;
}

bool ChatBurst(BurstFigures& f) {
    bench_peers::PeerGroup peers(Backend());
    const bool joined =
        JoinRoom(L"CHATBURST") && peers.Start("CHATBURST", kChatPeers, "", false) &&
        Await([] { return Live()->roster().socketList().size() == 1 + kChatPeers; }) &&
        OpenPanel(L"msgOpt", Live()->chatPanel()->GetHWND());
    const std::wstring last = L"burst " + std::to_wstring(kChatBurst);
    const bool done =
        joined && Watch(
                      [&](const Pump& pump) {
                          // The back-end answers once it has sent them all.
                          bool sent = false;
                          std::thread asker([&] { sent = peers.Chat(kChatBurst); });
                          const bool shown =
                              AwaitIdle([&last] { return NewestBubble() == last; }, pump);
                          asker.join();
                          if (!shown) {
                              std::fprintf(stderr, "newest bubble: %ls\n", NewestBubble().c_str());
                          }
                          return sent && shown;
                      },
                      f);
    peers.End();
    return bench_road::Leave() && done;
}

// Runs ask on another thread (it asks the back-end, which may take a while) while the window
// runs until done() holds with the queue empty.
bool AskAndAwait(const std::function<bool()>& ask, std::function<bool()> done, const Pump& pump) {
    bool asked = false;
    std::thread asker([&] { asked = ask(); });
    const bool reached = AwaitIdle(std::move(done), pump);
    asker.join();
    return asked && reached;
}

// Rounds of kChurnGroups x kChurnGroupSize peers joining and then leaving, in the engine's
// channel as well: each round ends once the window has shown every one of them and then none.
bool ChurnRounds(std::vector<std::unique_ptr<bench_peers::PeerGroup>>& groups, const Pump& pump) {
    const size_t everyone = 1 + kChurnGroups * kChurnGroupSize;
    const std::string folder = bench_road::Channels().unixPath();
    const auto start = [&] {
        bool started = true;
        for (auto& group : groups)
            started = group->Start("CHURN", kChurnGroupSize, folder, false) && started;
        return started;
    };
    const auto end = [&] {
        for (auto& group : groups) group->End();
        return true;
    };
    for (int round = 0; round < kChurnRounds; ++round) {
        const bool joined = AskAndAwait(
            start,
            [everyone] {
                return Live()->roster().socketList().size() == everyone &&
                       Live()->roster().tiles().size() == everyone - 2;
            },
            pump);
        if (!joined) {
            std::fprintf(stderr, "round %d: %zu listed, %zu tiles\n", round,
                         Live()->roster().socketList().size(), Live()->roster().tiles().size());
            return false;
        }
        const bool left = AskAndAwait(
            end,
            [] {
                return Live()->roster().socketList().size() == 1 &&
                       Live()->roster().tiles().empty();
            },
            pump);
        if (!left) return false;
    }
    return true;
}

bool Churn(BurstFigures& f) {
    std::vector<std::unique_ptr<bench_peers::PeerGroup>> groups;
    for (int i = 0; i < kChurnGroups; ++i)
        groups.push_back(std::make_unique<bench_peers::PeerGroup>(Backend()));
    const bool done = JoinRoom(L"CHURN") &&
                      Watch([&groups](const Pump& pump) { return ChurnRounds(groups, pump); }, f);
    groups.clear();
    return bench_road::Leave() && done;
}

// ---- The tables -------------------------------------------------------------------------------

void PrintRoomRow(const char* what, double small, double large) {
    const double ratio = small > 0 ? large / small : 0;
    std::printf("%-48s %9.2f %9.2f %7.2f  <= %.1f %s\n", what, small, large, ratio, kListGoal,
                ratio > 0 && ratio <= kListGoal ? "met" : "MISSED");
}

void PrintBurst(const char* what, const BurstFigures& f) {
    std::printf("%s (%.1f s, %d inputs or paints handled)\n", what, f.seconds, f.answered);
    std::printf("  longest without input or paint (ms)            %9.1f  <= %.0f %s\n",
                f.longestGapMs, kGapGoalMs,
                f.longestGapMs >= 0 && f.longestGapMs <= kGapGoalMs ? "met" : "MISSED");
    std::printf("  (longest single message: 0x%04X, %.1f ms; the most time:", f.longestMessage,
                f.longestMessageMs);
    for (const InputWatch::Spent& spent : f.costliest) {
        std::printf(" 0x%04X %d in %.0f ms;", spent.message, spent.count, spent.ms);
    }
    std::printf(")\n");
    const double ratio = f.memoryBefore > 0 ? f.memoryAfter / f.memoryBefore : 0;
    std::printf("  private memory after / before (KB)      %9.0f %9.0f %7.2f  <= %.1f %s\n",
                f.memoryAfter, f.memoryBefore, ratio, kMemoryGoal,
                ratio > 0 && ratio <= kMemoryGoal ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int lists = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultLists;
    const std::string only = argc > 2 ? argv[2] : "";
    const auto runs = [&only](const char* section) { return only.empty() || only == section; };
    if (bench_road::StartProgram(true).empty()) {
        std::fprintf(stderr, "the back-end or the service library did not start\n");
        bench_road::StopProgram();
        return 1;
    }
    int status = 0;
    RoomFigures small;
    RoomFigures large;
    if (!runs("rooms")) {
    } else if (MeasureRooms(lists, small, large)) {
        std::printf("full lists as the window applies them, medians of %d each (ms)\n", lists);
        std::printf("%-48s %9d %9d %7s  %s\n", "measure", kSmallRoom, kLargeRoom, "ratio", "goal");
        PrintRoomRow("mute (user operation): handled", small.muteHandled, large.muteHandled);
        PrintRoomRow("mute (user operation): handled, painted", small.muteShown, large.muteShown);
        PrintRoomRow("reconnect list, one change: handled", small.listHandled, large.listHandled);
        PrintRoomRow("reconnect list, one change: handled, painted", small.listShown,
                     large.listShown);
    } else {
        std::fprintf(stderr, "the rooms were not measured\n");
        status = 1;
    }
    BurstFigures idle;
    if (runs("idle") && IdleWatch(idle))
        PrintBurst("idle: 3 s of a meeting where nothing happens", idle);
    BurstFigures chat;
    if (!runs("chat")) {
    } else if (ChatBurst(chat)) {
        PrintBurst("chat burst: 20,000 messages from 2 scripted peers, the chat open", chat);
    } else {
        std::fprintf(stderr, "the chat burst was not measured\n");
        status = 1;
    }
    BurstFigures churn;
    if (!runs("churn")) {
    } else if (Churn(churn)) {
        PrintBurst("churn: 200 scripted peers join and leave, 3 rounds", churn);
    } else {
        std::fprintf(stderr, "the churn was not measured\n");
        status = 1;
    }
    bench_road::StopProgram();
    return status;
}
