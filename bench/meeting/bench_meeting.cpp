// The in-meeting window's road timed against its floors, side by side in one run (prints medians
// and ratios beside the goals, asserts nothing). The join window and the in-meeting window run
// in this process as in the program, on the real service library pointed at the local back-end
// and on the stand-in engine; other participants arrive through the back-end's signalling and
// the stand-in's injected events, or as the back-end's scripted peers (real socket.io clients
// of its signalling server that also announce themselves in the engines' channel folder, as
// engines of other processes do).
//  - the join road: from the click on the join button to the local video handed to the engine
//    (the window's part) and to the local preview on the screen (which also waits until Wine
//    has put the window's pixels on the screen), against the sum of the road's network round
//    trips (one room/join request, a signalling connection, one signalling round trip for the
//    authorisation) plus one paint of the in-meeting window; goal <= 1.5 times that, judged with
//    nothing subtracted. The window's first paint is also timed alone, against that one paint.
//    Under Xvfb without a window manager Wine may wait about 2 s when the road hides the join
//    window; that wait is measured on a plain window in the same run and the road is also shown
//    without it;
//  - a remote tile: from the later of a participant's two reports (the engine's arrival last,
//    or the signalling's user-join last) to the tile bound to its stream and painted, and to the
//    stream's first picture in it; goal <= 2 paints;
//  - memory: the process's working set with 16 remote participants against 1; goal <= 1.5;
//  - the 8-way join: the join click with 7 scripted peers started in the same instant, until
//    every peer has its place: the big view or a tile in the strip's view bound to its stream
//    and painted, or a tile below the strip's view (which binds only once scrolled to, and is
//    counted as soon as the strip has placed it); against the same road with 1 peer, both
//    without Wine's hide wait; goal <= 1.5;
//  - chat delivery: in the room with that 1 peer, which echoes every message of the program
//    back to the room as its own: from the click on the chat panel's send button to the peer's
//    echo bubble added and painted in the panel, that is, the message to the server, on to the
//    peer, the peer's echo to the server and on to this window (two deliveries, each a
//    signalling round trip's worth), plus the window's work; against twice the library's
//    signalling round trip plus one paint of the in-meeting window; the median of 3 messages
//    per run; goal <= 1;
//  - leaving: from the click on the leave button (its release) to the join window shown in front
//    and painted (nothing left to paint; its window procedure notes the end of that paint, which
//    comes inside the click's own handling), with a signalling server that answers, one that has
//    gone silent and deaf (the close is never answered), and one that never accepted the
//    connection (the in-meeting window is still connecting); each clicked half a second after
//    the window's last step, as a person would; against one paint of the join window, the
//    window the user waits for; goal <= 1.2, judged with nothing subtracted. The in-meeting
//    window's hide and destruction, which follow, are shown beside it.
// Each run joins four rooms of its own and leaves them; the first run warms up and is not
// counted. Scripted peers are ended, and their channel files removed, as each room is left.
//   kestrum_meeting_bench.exe [runs]     (default 5)

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/kestrum/kestrum.h"
#include "app/windows/chat/chat_list.h"
#include "app/windows/chat/dui_chat_list.h"
#include "app/windows/join/dui_login.h"
#include "app/windows/live/dui_live.h"
#include "app/windows/tiles/dui_remote_tool_bar.h"
#include "engine_journal.h"
#include "join_test_support.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/engine/standin_picture_colours.h"
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
using bench_pump::Settle;
using bench_pump::WorkingSetKb;
using bench_road::Backend;
using bench_road::Channels;
using bench_road::Leave;
using bench_road::Library;
using bench_road::PrepareJoin;
using bench_road::StartProgram;
using bench_road::StopProgram;
using namespace join_testing;
using road_testing::Live;

constexpr int kDefaultRuns = 5;
constexpr int kCrowd = 16;          // remote participants of the larger memory figure
constexpr int kRoundTrips = 21;     // signalling round trips behind each run's floor
constexpr int kPaints = 21;         // repaints behind each run's paint
constexpr int kFirstStream = 4002;  // remote participant n has stream 4002 + n, uid 40002 + n
constexpr DWORD kSettleMs = 1500;   // before a working set is read: first frames, timers, avatars
constexpr double kJoinGoal = 1.5;
constexpr double kTileGoal = 2;
constexpr double kMemoryGoal = 1.5;
constexpr int kCrowdPeers = 7;    // scripted peers of the 8-way join
constexpr int kChatMessages = 3;  // echoed chat messages per run
constexpr double kEightWayGoal = 1.5;
constexpr double kChatGoal = 1;
constexpr double kLeaveGoal = 1.2;
constexpr DWORD kLeaveSettleMs = 500;  // before each leave click
constexpr COLORREF kLocalColour = kestrum::engine::kLocalPictureColour;

// ---- What the user sees -----------------------------------------------------------------------

// The stand-in engine's field colour of a remote stream.
COLORREF StreamColour(int stream) {
    return kestrum::engine::RemotePictureColour(static_cast<uint32_t>(stream));
}

// Whether the screen shows colour near the top of the video window's middle (the stand-in
// writes its label in the centre and moves a mark along the bottom).
bool Shows(HWND video, COLORREF colour) {
    RECT place;
    if (!video || !IsWindowVisible(video) || !GetWindowRect(video, &place)) return false;
    HDC screen = GetDC(nullptr);
    const COLORREF shown = GetPixel(screen, (place.left + place.right) / 2, place.top + 20);
    ReleaseDC(nullptr, screen);
    return shown == colour;
}

// Whether one of the strip's tiles shows the stream's picture.
bool StripShows(int stream) {
    CDuiLive* live = Live();
    HWND strip = live && live->tileStrip() ? live->tileStrip()->GetHWND() : nullptr;
    if (!strip) return false;
    for (HWND tile = FindWindowExW(strip, nullptr, L"UIRemoteItemMainWnd", nullptr); tile;
         tile = FindWindowExW(strip, tile, L"UIRemoteItemMainWnd", nullptr)) {
        if (Shows(FindWindowExW(tile, nullptr, L"#32770", nullptr), StreamColour(stream))) {
            return true;
        }
    }
    return false;
}

// Whether the journal shows that the window has handed a view of the stream to the engine: a
// tile binds its video once it has been laid out.
bool ViewBoundIn(const std::string& journal, int stream) {
    const std::string call = "engine.setupRemoteVideo(window,";
    const std::string uid = "," + std::to_string(stream) + ",";
    for (size_t at = journal.find(call); at != std::string::npos; at = journal.find(call, at + 1)) {
        if (journal.substr(at, journal.find('\n', at) - at).find(uid) != std::string::npos) {
            return true;
        }
    }
    return false;
}

bool ViewBound(int stream) { return ViewBoundIn(EngineJournal(), stream); }

// Whether the stream has a tile in the strip below the strip's view, which the user reaches only
// by scrolling (such a tile binds its video when it is first painted).
bool TileBelowView(int stream) {
    CDuiLive* live = Live();
    CDuiRemoteToolBar* strip = live ? live->tileStrip() : nullptr;
    RECT client;
    if (!strip || !GetClientRect(strip->GetHWND(), &client)) return false;
    const auto& tiles = strip->layout().tiles();
    for (size_t i = 0; i < tiles.size(); ++i) {
        if (tiles[i].key.streamId == stream) {
            return strip->layout().slot(static_cast<int>(i)).top >= client.bottom;
        }
    }
    return false;
}

// Whether every peer has its place: the big view or a tile in view with its view bound, or a
// tile below the strip's view; false for no peers.
bool PeersPlaced(const std::vector<bench_peers::Peer>& peers) {
    const std::string journal = EngineJournal();
    for (const bench_peers::Peer& peer : peers) {
        if (!ViewBoundIn(journal, peer.streamId) && !TileBelowView(peer.streamId)) return false;
    }
    return !peers.empty();
}

bool HasTile(int stream) {
    for (const UserInfoRecord& tile : Live()->roster().tiles()) {
        if (tile.streamId == stream) return true;
    }
    return false;
}

// ---- Participants -----------------------------------------------------------------------------

std::string Uid(int stream) { return std::to_string(36000 + stream); }

// The back-end's signalling reports a participant to every socket.
void SignalJoin(int stream) {
    Backend().Call("POST", "signal/emit",
                   "{\"event\":\"user-join\",\"args\":[{\"uid\":\"" + Uid(stream) +
                       "\",\"name\":\"Guest " + std::to_string(stream) +
                       "\",\"portraitId\":\"\",\"account\":\"\",\"streamId\":" +
                       std::to_string(stream) + ",\"shareId\":-1,\"feature\":0,\"status\":0}]}");
}

bool EngineJoin(int stream) {
    return KestrumEngineInject(("userJoined " + std::to_string(stream) + " 50").c_str()) == 0;
}

// ---- One run ----------------------------------------------------------------------------------

struct RunFigures {
    // Floors.
    double joinRequest = -1;
    double connect = -1;
    double roundTrip = -1;
    double paint = -1;
    double joinPaint = -1;  // one paint of the join window
    // Under Xvfb without a window manager, Wine waits (about 2 s) for every top-level window it
    // hides to be reported withdrawn, which never comes; the join road hides the join window once.
    double hideWait = -1;
    // How long Wine takes to show a hidden top-level window again, activating it (the leave
    // shows the join window again).
    double showWait = -1;
    // The join road.
    double joinResult = -1;  // the request's result reaches the join window's queue
    double windowOpen = -1;
    double laidOut = -1;      // the first layout and paint have run ("windowinit")
    double firstPaint = -1;   // how long the in-meeting window's first WM_PAINT took
    double ownJoin = -1;      // the own user-join is in the roster (connected, authorised)
    double engineAsked = -1;  // room-info made the window ask the engine to join
    double videoBound = -1;
    double preview = -1;
    // A remote tile after both reports: engine last, signalling last.
    double tileBound[2] = {-1, -1};
    double tilePicture[2] = {-1, -1};
    // Working sets (KB) with one remote participant and with kCrowd.
    double oneRemote = -1;
    double crowd = -1;
    // Joins with scripted peers started at the click, until every peer's view is bound and
    // painted: one peer, and kCrowdPeers peers.
    double pairJoin = -1;
    double crowdJoin = -1;
    int crowdInView = 0;  // peers whose view was bound then (the rest below the strip's view)
    // The median of kChatMessages: the send click to the echoing peer's bubble painted.
    double chatEcho = -1;
    // The leave click to the join window back in front and painted, to the in-meeting window
    // hidden and to it gone, by what the signalling server does (kLeaveCases).
    double leave[3] = {-1, -1, -1};
    double leaveHidden[3] = {-1, -1, -1};
    double leaveGone[3] = {-1, -1, -1};
};

enum LeaveCase { kServerAnswers, kServerSilent, kServerNeverAccepted };
const char* const kLeaveCases[] = {"answers", "silent and deaf", "never accepted"};

double MedianRepaint(HWND window) {
    std::vector<double> paints;
    for (int i = 0; i < kPaints; ++i) {
        const Clock::time_point start = Clock::now();
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        paints.push_back(Milliseconds(Clock::now() - start));
    }
    return Median(paints);
}

// How long ShowWindow takes on a plain window shown before, settled.
double TimedShow(HWND window, int command) {
    Settle(200);
    const Clock::time_point start = Clock::now();
    ShowWindow(window, command);
    return Milliseconds(Clock::now() - start);
}

// How long hiding the active top-level window of this process takes (the join window is the
// active one when the road hides it), and showing it again.
bool TimeHideAndShow(RunFigures& f) {
    HWND window = CreateWindowExW(0, L"STATIC", L"hide", WS_POPUP, 0, 0, 320, 240, nullptr, nullptr,
                                  nullptr, nullptr);
    if (!window) return false;
    ShowWindow(window, SW_SHOW);
    f.hideWait = TimedShow(window, SW_HIDE);
    f.showWait = TimedShow(window, SW_SHOW);
    DestroyWindow(window);
    return true;
}

bool TimeJoinRoad(int run, RunFigures& f) {
    if (!PrepareJoin(L"MEET" + std::to_wstring(run))) return false;
    CDuiLogin* join = JoinWindow();
    f.joinPaint = MedianRepaint(join->GetHWND());
    Milestone open{[] { return Live() != nullptr; }};
    Milestone laidOut{[] {
        CDuiLive* live = Live();
        DuiLib::CControlUI* root = live ? live->paintManager().GetRoot() : nullptr;
        return root && root->GetPos().right > 0 && live->videoWindow();
    }};
    Milestone ownJoin{[] { return Live() && Live()->roster().ownUser().uid[0] != 0; }};
    Milestone engineAsked{
        [] { return EngineJournal().find("engine.joinChannel") != std::string::npos; }};
    Milestone bound{[] { return Live() && Live()->engineJoined(); }};
    Milestone preview{[] { return Live() && Shows(Live()->videoWindow(), kLocalColour); }};
    const Clock::time_point start = Clock::now();
    Click(join, Control(join, L"joinbtn"));
    const auto noteResult = [&f, start](MSG& message) {
        if (message.message == WM_JOIN_ROOM && f.joinResult < 0) {
            f.joinResult = Milliseconds(Clock::now() - start);
        }
        // The in-meeting window's first paint is dispatched here, to be timed on its own.
        if (message.message == WM_PAINT && f.firstPaint < 0 && Live() &&
            message.hwnd == Live()->GetHWND()) {
            const Clock::time_point painting = Clock::now();
            DispatchMessageW(&message);
            f.firstPaint = Milliseconds(Clock::now() - painting);
            return true;
        }
        return false;
    };
    const bool reached =
        Follow(start, {&open, &laidOut, &ownJoin, &engineAsked, &bound, &preview}, noteResult);
    f.windowOpen = open.ms;
    f.laidOut = laidOut.ms;
    f.ownJoin = ownJoin.ms;
    f.engineAsked = engineAsked.ms;
    f.videoBound = bound.ms;
    f.preview = preview.ms;
    if (!reached) std::fprintf(stderr, "the join road did not end in the local preview\n");
    return reached;
}

// The first remote participant takes the big view; the window is then repainted for the paint
// figure and left to settle for the working set with one remote participant.
bool FillBigView(RunFigures& f) {
    SignalJoin(kFirstStream);
    if (!Await([] { return Live()->roster().socketList().size() == 2; }) ||
        !EngineJoin(kFirstStream) ||
        !Await([] { return Shows(Live()->videoWindow(), StreamColour(kFirstStream)); })) {
        std::fprintf(stderr, "the first participant did not reach the big view\n");
        return false;
    }
    f.paint = MedianRepaint(Live()->GetHWND());
    Settle(kSettleMs);
    f.oneRemote = WorkingSetKb();
    return true;
}

bool TimeTile(int stream, bool signallingLast, bench_floors::SignallingProbe& probe,
              RunFigures& f) {
    const size_t listed = Live()->roster().socketList().size();
    if (signallingLast) {
        if (!EngineJoin(stream) ||
            !Await([stream] { return Live()->roster().parkedEngineUsers().count(stream) == 1; })) {
            return false;
        }
    } else {
        SignalJoin(stream);
        if (!Await([listed] { return Live()->roster().socketList().size() == listed + 1; })) {
            return false;
        }
    }
    Milestone bound{[stream] { return ViewBound(stream); }, true};
    Milestone picture{[stream] { return StripShows(stream); }};
    const Clock::time_point start = Clock::now();
    Clock::time_point report = start;
    bool reached = false;
    if (signallingLast) {
        // The back-end is asked on another thread, so that this one runs the window meanwhile;
        // the report is the moment the probe's socket received the same user-join.
        std::thread emit([stream] { SignalJoin(stream); });
        reached = Follow(start, {&bound, &picture});
        emit.join();
        reached = probe.JoinArrival(Uid(stream), report) && reached;
    } else {
        reached = EngineJoin(stream) && Follow(start, {&bound, &picture});
    }
    const double reportMs = Milliseconds(report - start);
    f.tileBound[signallingLast] = bound.ms - reportMs;
    f.tilePicture[signallingLast] = picture.ms - reportMs;
    if (!reached) std::fprintf(stderr, "no tile for stream %d\n", stream);
    return reached;
}

bool FillRoom(RunFigures& f) {
    const int first = kFirstStream + 3;
    const int last = kFirstStream + kCrowd - 1;
    for (int stream = first; stream <= last; ++stream) SignalJoin(stream);
    if (!Await([] { return Live()->roster().socketList().size() == 1 + kCrowd; })) return false;
    for (int stream = first; stream <= last; ++stream) {
        if (!EngineJoin(stream)) return false;
    }
    if (!Await([first, last] {
            for (int stream = first; stream <= last; ++stream) {
                if (!HasTile(stream)) return false;
            }
            return true;
        })) {
        std::fprintf(stderr, "the room of %d did not fill\n", kCrowd);
        return false;
    }
    Settle(kSettleMs);
    f.crowd = WorkingSetKb();
    return true;
}

// The join road with count scripted peers started in the same instant as the click (by another
// thread, so that this one clicks and runs the windows meanwhile): from the click until every
// peer has its place, bound and painted where the user sees it (PeersPlaced). The peers stay in
// the room.
bool TimePeersJoin(const std::string& room, int count, bool echo, bench_peers::PeerGroup& group,
                   double& ms) {
    if (!PrepareJoin(std::wstring(room.begin(), room.end()))) return false;
    std::atomic<bool> asked{false};
    bool started = false;
    // A group that did not start ends the wait at once.
    Milestone seen{[&] { return asked && (!started || PeersPlaced(group.peers())); }, true};
    const Clock::time_point start = Clock::now();
    std::thread starter([&] {
        started = group.Start(room, count, Channels().unixPath(), echo);
        asked = true;
    });
    Click(JoinWindow(), Control(JoinWindow(), L"joinbtn"));
    const bool reached = Follow(start, {&seen});
    starter.join();
    ms = seen.ms;
    if (!started || !reached) {
        std::fprintf(stderr, "%d scripted peers did not all get their places\n", count);
    }
    return started && reached;
}

// In a room with an echoing peer: each message from the send click in the chat panel to the
// peer's echo of it painted there.
bool TimeChat(RunFigures& f) {
    CDuiLive* live = Live();
    CDuiChatList* panel = live->chatPanel();
    if (!panel || !panel->chatList()) return false;
    Click(live, Control(live, L"msgOpt"));
    DuiLib::CControlUI* send = Control(panel, L"MsgSend");
    // Shown and laid out: the click lands on the button.
    if (!send || !Await([panel, send] {
            return IsWindowVisible(panel->GetHWND()) && send->GetPos().right > 0;
        })) {
        return false;
    }
    std::vector<double> echoes;
    for (int i = 0; i < kChatMessages; ++i) {
        // The room returns the own message before the peer's echo of it: the echo is the second.
        const int shown = panel->chatList()->messageCount() + 2;
        TypeInto(panel, Control(panel, L"inputEdit"), L"ping " + std::to_wstring(i));
        Milestone echoed{[panel, shown] { return panel->chatList()->messageCount() >= shown; },
                         true};
        const Clock::time_point start = Clock::now();
        Click(panel, send);
        if (!Follow(start, {&echoed})) {
            std::fprintf(stderr, "chat message %d was not echoed\n", i);
            return false;
        }
        echoes.push_back(echoed.ms);
    }
    f.chatEcho = Median(echoes);
    return true;
}

// The first paint of the join window that leaves it shown in front with nothing left to paint:
// its window procedure is wrapped while a leave is timed, since that paint ends inside the
// handling of the click.
struct JoinPaintWatch {
    static WNDPROC previous;
    static Clock::time_point painted;
    static bool seen;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        const LRESULT result = CallWindowProcW(previous, window, message, wparam, lparam);
        if (message == WM_PAINT && !seen && IsWindowVisible(window) &&
            GetForegroundWindow() == window && !GetUpdateRect(window, nullptr, FALSE)) {
            painted = Clock::now();
            seen = true;
        }
        return result;
    }
};
WNDPROC JoinPaintWatch::previous = nullptr;
Clock::time_point JoinPaintWatch::painted;
bool JoinPaintWatch::seen = false;

// From the leave click until the join window is back in front and painted, until the in-meeting
// window is hidden and until it is gone, with the signalling server acting as `how`; false when
// that did not happen.
bool TimeLeave(LeaveCase how, RunFigures& f) {
    CDuiLive* live = Live();
    if (!live) return false;
    HWND window = live->GetHWND();
    HWND join = JoinWindow()->GetHWND();
    Milestone gone{[window] { return !IsWindow(window); }};
    Milestone hidden{[window] { return !IsWindowVisible(window); }};
    Milestone back{[] { return JoinPaintWatch::seen; }};
    // A person's click comes once the window has settled: what the window has just started (its
    // first paints, the engine's first pictures, the last bubbles) is not the leave's.
    Settle(kLeaveSettleMs);
    JoinPaintWatch::seen = false;
    JoinPaintWatch::previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        join, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&JoinPaintWatch::Procedure)));
    // From the release, which the button acts on: pressing it first moves the focus.
    Press(live, Control(live, L"leavebtn"));
    const Clock::time_point start = Clock::now();
    Release(live, Control(live, L"leavebtn"));
    const bool reached = Follow(start, {&gone, &hidden, &back});
    SetWindowLongPtrW(join, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(JoinPaintWatch::previous));
    f.leave[how] = reached ? Milliseconds(JoinPaintWatch::painted - start) : -1;
    f.leaveHidden[how] = hidden.ms;
    f.leaveGone[how] = gone.ms;
    if (!reached) {
        std::fprintf(stderr, "no join window after the leave, server %s (window %s, join %s)\n",
                     kLeaveCases[how], IsWindow(window) ? "still there" : "gone",
                     IsWindowVisible(join) ? "shown" : "hidden");
    }
    return reached;
}

void SignallingFault(const std::string& mode) {
    Backend().Call("POST", "signal/fault", "{\"mode\":\"" + mode + "\",\"count\":1}");
}

// A join whose signalling connection the server never accepts, left as soon as the in-meeting
// window is up (still connecting).
bool TimeLeaveUnaccepted(int run, RunFigures& f) {
    if (!PrepareJoin(L"HELD" + std::to_wstring(run))) return false;
    SignallingFault("hold");
    Click(JoinWindow(), Control(JoinWindow(), L"joinbtn"));
    // Laid out, so that the click lands on the button.
    if (!Await([] { return Live() && Control(Live(), L"leavebtn")->GetPos().right > 0; })) {
        return false;
    }
    return TimeLeave(kServerNeverAccepted, f);
}

bool Run(int run, const std::string& origin, RunFigures& f) {
    bench_floors::SignallingProbe probe;
    f.connect = probe.Connect(origin);
    f.roundTrip = probe.RoundTrip(kRoundTrips);
    f.joinRequest = bench_floors::TimedJoinRequest(Library(), "FLOOR" + std::to_string(run));
    if (f.connect < 0 || f.roundTrip < 0 || f.joinRequest < 0 || !TimeHideAndShow(f)) {
        std::fprintf(stderr, "a floor was not measured\n");
        return false;
    }
    const bool done = TimeJoinRoad(run, f) && FillBigView(f) &&
                      TimeTile(kFirstStream + 1, false, probe, f) &&
                      TimeTile(kFirstStream + 2, true, probe, f) && FillRoom(f);
    if (!done || !TimeLeave(kServerAnswers, f)) return false;
    bench_peers::PeerGroup peers(Backend());
    const bool pair =
        TimePeersJoin("PAIR" + std::to_string(run), 1, true, peers, f.pairJoin) && TimeChat(f);
    if (pair) SignallingFault("freeze");
    if (!pair || !TimeLeave(kServerSilent, f)) return false;
    peers.End();
    const bool crowd =
        TimePeersJoin("OCTET" + std::to_string(run), kCrowdPeers, false, peers, f.crowdJoin);
    for (const bench_peers::Peer& peer : peers.peers()) f.crowdInView += ViewBound(peer.streamId);
    if (!Leave() || !crowd) return false;
    peers.End();
    return TimeLeaveUnaccepted(run, f);
}

// ---- The table --------------------------------------------------------------------------------

double MedianOf(const std::vector<RunFigures>& runs,
                const std::function<double(const RunFigures&)>& figure) {
    std::vector<double> values;
    for (const RunFigures& run : runs) values.push_back(figure(run));
    return Median(values);
}

// A measure beside its floor (none when floorName is empty): the ratio, and whether it meets
// the goal (none when 0).
void PrintRow(const std::string& what, double measured, const char* floorName, double floor,
              double goal) {
    std::printf("%-56s %9.1f  ", what.c_str(), measured);
    if (!*floorName) {
        std::printf("\n");
        return;
    }
    const double ratio = floor > 0 ? measured / floor : 0;
    std::printf("%-22s %9.1f  %6.2f  ", floorName, floor, ratio);
    if (goal > 0) {
        std::printf("<= %.1f %s\n", goal, ratio > 0 && ratio <= goal ? "met" : "MISSED");
    } else {
        std::printf("-\n");
    }
}

void PrintTable(const std::vector<RunFigures>& runs) {
    auto median = [&runs](double RunFigures::*figure) {
        return MedianOf(runs, [figure](const RunFigures& run) { return run.*figure; });
    };
    const double request = median(&RunFigures::joinRequest);
    const double connect = median(&RunFigures::connect);
    const double roundTrip = median(&RunFigures::roundTrip);
    const double paint = median(&RunFigures::paint);
    const double joinPaint = median(&RunFigures::joinPaint);
    const double hide = median(&RunFigures::hideWait);
    const double show = median(&RunFigures::showWait);
    const double joinFloor = request + connect + roundTrip + paint;
    std::printf("medians of %zu runs (Wine); the stand-in engine draws a frame every 100 ms\n",
                runs.size());
    std::printf(
        "join floor: room/join request %.1f + signalling connect %.1f + signalling round "
        "trip %.2f + one paint of the in-meeting window %.1f = %.1f ms\n",
        request, connect, roundTrip, paint, joinFloor);
    std::printf(
        "Wine's wait for a hidden top-level window (no window manager): %.1f ms, once on "
        "the join road\n",
        hide);
    std::printf(
        "Wine's show of a hidden top-level window: %.1f ms, once on the leave; one paint of the "
        "join window (the leave's floor): %.1f ms\n",
        show, joinPaint);
    std::printf("%-56s %9s  %-22s %9s  %6s  %s\n", "measure (ms)", "median", "floor", "ms", "ratio",
                "goal");
    PrintRow("join click -> join result in the join window's queue",
             median(&RunFigures::joinResult), "room/join request", request, 0);
    PrintRow("join result -> local video handed, less Wine's hide wait",
             MedianOf(runs,
                      [](const RunFigures& r) { return r.videoBound - r.hideWait - r.joinResult; }),
             "connect + trip + paint", joinFloor - request, 0);
    PrintRow("join click -> in-meeting window open", median(&RunFigures::windowOpen),
             "room/join request", request, 0);
    PrintRow("  -> laid out and painted once (\"windowinit\")", median(&RunFigures::laidOut), "", 0,
             0);
    PrintRow("  the in-meeting window's first paint alone", median(&RunFigures::firstPaint),
             "one paint", paint, 0);
    PrintRow("  -> own user-join in the roster", median(&RunFigures::ownJoin), "", 0, 0);
    PrintRow("  -> engine asked to join (after room-info)", median(&RunFigures::engineAsked), "", 0,
             0);
    PrintRow("join click -> local video handed to the engine", median(&RunFigures::videoBound),
             "round trips + paint", joinFloor, kJoinGoal);
    PrintRow("  the same, less Wine's hide wait",
             MedianOf(runs, [](const RunFigures& r) { return r.videoBound - r.hideWait; }),
             "round trips + paint", joinFloor, 0);
    PrintRow("join click -> local preview on screen", median(&RunFigures::preview),
             "round trips + paint", joinFloor, kJoinGoal);
    PrintRow("  the same, less Wine's hide wait",
             MedianOf(runs, [](const RunFigures& r) { return r.preview - r.hideWait; }),
             "round trips + paint", joinFloor, 0);
    const char* const orders[] = {"engine", "signalling"};
    for (int last = 0; last < 2; ++last) {
        const std::string reports = std::string("tile, ") + orders[last] + " reports last -> ";
        PrintRow(reports + "tile bound, painted",
                 MedianOf(runs, [last](const RunFigures& r) { return r.tileBound[last]; }),
                 "one paint", paint, kTileGoal);
        PrintRow(reports + "first picture",
                 MedianOf(runs, [last](const RunFigures& r) { return r.tilePicture[last]; }),
                 "one paint", paint, kTileGoal);
    }
    PrintRow("working set (KB) with " + std::to_string(kCrowd) + " remote participants",
             median(&RunFigures::crowd), "with 1 remote", median(&RunFigures::oneRemote),
             kMemoryGoal);
    const double pairJoin =
        MedianOf(runs, [](const RunFigures& r) { return r.pairJoin - r.hideWait; });
    PrintRow("join with 1 peer: click -> its view bound, painted", median(&RunFigures::pairJoin),
             "round trips + paint", joinFloor, 0);
    PrintRow("  the same, less Wine's hide wait", pairJoin, "round trips + paint", joinFloor, 0);
    PrintRow(
        "8-way join: click -> " + std::to_string(kCrowdPeers) + " peers placed, in view painted",
        median(&RunFigures::crowdJoin), "", 0, 0);
    std::printf("  (peers whose view was bound then, the others below the strip's view: %.0f)\n",
                MedianOf(runs, [](const RunFigures& r) { return double(r.crowdInView); }));
    PrintRow("  the same, less Wine's hide wait",
             MedianOf(runs, [](const RunFigures& r) { return r.crowdJoin - r.hideWait; }),
             "1 peer, less the wait", pairJoin, kEightWayGoal);
    PrintRow("chat: send click -> the peer's echo bubble painted", median(&RunFigures::chatEcho),
             "2 trips + paint", 2 * roundTrip + paint, kChatGoal);
    for (int how = kServerAnswers; how <= kServerNeverAccepted; ++how) {
        const auto figureOf = [how](double(RunFigures::*figure)[3]) {
            return [how, figure](const RunFigures& r) { return (r.*figure)[how]; };
        };
        PrintRow(std::string("leave, server ") + kLeaveCases[how] +
                     ": click -> join window in front, painted",
                 MedianOf(runs, figureOf(&RunFigures::leave)), "one join window paint", joinPaint,
                 kLeaveGoal);
        PrintRow("  the same, less Wine's show",
                 MedianOf(runs, [how](const RunFigures& r) { return r.leave[how] - r.showWait; }),
                 "one join window paint", joinPaint, 0);
        PrintRow("  -> in-meeting window hidden",
                 MedianOf(runs, figureOf(&RunFigures::leaveHidden)), "", 0, 0);
        PrintRow("  -> in-meeting window gone", MedianOf(runs, figureOf(&RunFigures::leaveGone)),
                 "", 0, 0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;
    const std::string origin = StartProgram();
    if (origin.empty()) {
        std::fprintf(stderr, "the back-end or the service library did not start\n");
        StopProgram();
        return 1;
    }
    std::vector<RunFigures> counted;
    int status = 0;
    for (int run = 0; run <= runs; ++run) {
        RunFigures figures;
        if (!Run(run, origin, figures)) {
            std::fprintf(stderr, "run %d failed\n", run);
            status = 1;
            break;
        }
        std::fprintf(stderr,
                     "[meeting] run %d: join %.1f/%.1f ms (hide wait %.1f), tiles %.1f/%.1f ms, "
                     "paint %.1f ms, working set %.0f/%.0f KB, joins with peers %.1f/%.1f ms, "
                     "chat %.1f ms, leave %.1f/%.1f/%.1f ms\n",
                     run, figures.videoBound, figures.preview, figures.hideWait,
                     figures.tileBound[0], figures.tileBound[1], figures.paint, figures.oneRemote,
                     figures.crowd, figures.pairJoin, figures.crowdJoin, figures.chatEcho,
                     figures.leave[kServerAnswers], figures.leave[kServerSilent],
                     figures.leave[kServerNeverAccepted]);
        if (run > 0) counted.push_back(figures);
    }
    if (!counted.empty()) PrintTable(counted);
    StopProgram();
    return status;
}
