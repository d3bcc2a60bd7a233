// Scale of the meeting's side panels on the product's skins, each small case beside its large one
// (prints medians and ratios, asserts nothing):
//  - the participants list filled from a user list of 500 against one of 50, per row: the fill
//    alone, and the fill with the panel's next paint (which lays the rows out);
//  - one status update by uid (the last row's microphone) at 500 rows against 50;
//  - a full user list of 500 arriving again (a reconnect) where most participants are already
//    listed, against one of 50: the apply, and the apply with the panel's next paint;
//  - the chat panel after 5,000 messages against after 50 (and after 50,000, a check that
//    nothing grows with the messages once the list keeps its newest 500 bubbles), in the
//    program's order: created hidden at set-up, the messages arriving and joining the list in
//    batches, then the first show, until its paints are done (and how many paints it took);
//    beside it the show of a panel that had been shown once before the messages came;
//  - one message more, from its arrival until its bubble stands in the list (the arrival timer's
//    tick delivered at once), and with what it leaves queued and the paint it causes;
//  - a wheel notch over the list standing at its top (the window's hit test and the start of the
//    motion), and one step of the chat's kinetic scroll (a tick of its scroll timer) with the
//    repaint after it.
// The goals: no cost per row grows by more than 1.5 times from the small case to the large one,
// nor the chat's first show (which paints at most twice); a chat add, notch or step by no more
// than 1.2 times.
//   kestrum_panels_bench.exe [rounds]    (fills of each list size and chat shows, default 7)

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/windows/chat/chat_backlog.h"
#include "app/windows/chat/chat_list.h"
#include "app/windows/chat/dui_chat_list.h"
#include "app/windows/meeting/testing/recording_meeting_host.h"
#include "app/windows/participants/dui_user_list.h"
#include "duilib/paint_manager_ui.h"
#include "duilib/ui_event.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_lock_guard.h"
#include "kestrum/core/util_path.h"
#include "meeting_data_fixture.h"
#include "temp_folder.h"
#include "ui/base/dpi/display_scale.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/util/module_path.h"

namespace {

// The panels' styles and size in the in-meeting window.
constexpr DWORD kPanelStyle = 0x10CF0000;
constexpr DWORD kChatStyle = 0x56CF0000;
constexpr int kPanelWidth = 250;
constexpr int kPanelHeight = 692;

constexpr int kSmallRoom = 50;
constexpr int kLargeRoom = 500;
constexpr int kSmallChat = 50;
constexpr int kLargeChat = 5000;
// Beyond the bubbles the chat keeps: whatever still grows with the messages shows here.
constexpr int kHugeChat = 50000;
constexpr int kDefaultRounds = 7;
// Updates timed together (one alone is below the clock's grain under Wine), and how many times.
constexpr int kUpdateBatch = 20;
constexpr int kUpdateBatches = 101;
// The messages whose adds make the figure of "the n-th message": the last ones up to the n-th.
constexpr int kMessageSamples = 20;
constexpr int kScrollSamples = 200;
// Longer than the fade-in animation of a window's first show (250 ms).
constexpr double kSettleUs = 400e3;
// A wheel notch every few ticks keeps the motion going.
constexpr int kTicksPerNotch = 8;
constexpr double kGoalRatio = 1.5;
// A chat add, a wheel notch and a scroll step cost the same whatever the chat holds.
constexpr double kGoalStepRatio = 1.2;
// The first show of the chat paints it at most this often.
constexpr int kGoalPaints = 2;

const std::string kMe = "u-me";
const std::string kBob = "u-bob";

double Now() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Runs what is queued for this thread now, as the program's loop would.
void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Runs the thread's messages as they come for that long (timers among them).
void PumpFor(double microseconds) {
    const double end = Now() + microseconds;
    for (double now = Now(); now < end; now = Now()) {
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>((end - now) / 1000) + 1,
                                  QS_ALLINPUT);
    }
    Pump();
}

void Repaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

std::wstring* g_avatarFolder = nullptr;
std::wstring AvatarFolder() { return *g_avatarFolder; }

// Participants with a mix of device states and a Chinese name now and then.
std::vector<UserInfoRecord> Room(int size) {
    std::vector<UserInfoRecord> room;
    room.emplace_back(kMe, "Alice", "p-me", 1, "", 0, -1, 1);
    for (int i = 1; i < size; ++i) {
        const std::string name =
            (i % 5 == 0 ? "\xE6\xB5\x8B\xE8\xAF\x95 " : "Participant ") + std::to_string(i);
        room.emplace_back("u-" + std::to_string(i), name, "p-" + std::to_string(i), i + 1, "",
                          i % 4, -1, i % 7 != 0);
    }
    return room;
}

void SetMeetingUsers(const std::vector<UserInfoRecord>& users) {
    ZuvraKestrum::Util::CLockGuard guard(&g_kestrumData->lock);
    g_kestrumData->userList = users;
}

// The room as a reconnect finds it: two participants have left, two have joined and one has
// switched the microphone.
std::vector<UserInfoRecord> Reconnected(std::vector<UserInfoRecord> room) {
    const size_t size = room.size();
    room[size / 2].status ^= kStatusMicOff;
    room.erase(room.begin() + static_cast<std::ptrdiff_t>(2 * size / 3));
    room.erase(room.begin() + static_cast<std::ptrdiff_t>(size / 3));
    for (const char* uid : {"u-new-a", "u-new-b"})
        room.emplace_back(uid, "Newcomer", "", 0, "", 0, -1, 1);
    return room;
}

struct RoomFigures {
    double fillPerRowUs = 0;
    double shownPerRowUs = 0;
    double updateUs = 0;
    double againUs = 0;
    double againShownUs = 0;
};

RoomFigures MeasureRoom(int size, int rounds) {
    RoomFigures figures;
    window_testing::RecordingMeetingHost host{*g_kestrumData};
    auto* panel = new CDuiUserList(host);  // deletes itself with its window
    if (!panel->Create(nullptr, L"UserList", kPanelStyle, 0, 0, 0, kPanelWidth, kPanelHeight) ||
        !panel->list()) {
        std::fprintf(stderr, "the participants panel did not build\n");
        return figures;
    }
    const HWND window = panel->GetHWND();
    panel->ShowWindow(true, false);
    Pump();
    const std::vector<UserInfoRecord> room = Room(size);
    SetMeetingUsers(room);

    std::vector<double> fills;
    std::vector<double> shown;
    for (int round = 0; round < rounds; ++round) {
        panel->updateUserList({});
        Repaint(window);
        Pump();
        const double start = Now();
        panel->updateUserList(room);
        const double filled = Now();
        Repaint(window);
        Pump();
        fills.push_back((filled - start) / size);
        shown.push_back((Now() - start) / size);
    }
    figures.fillPerRowUs = Median(fills);
    figures.shownPerRowUs = Median(shown);

    // The filled room and its reconnected self in turn, so that every list applied finds most
    // of its participants listed.
    const std::vector<UserInfoRecord> reconnected = Reconnected(room);
    std::vector<double> again;
    std::vector<double> againShown;
    for (int apply = 0; apply < 2 * rounds; ++apply) {
        const double start = Now();
        panel->updateUserList(apply % 2 == 0 ? reconnected : room);
        const double applied = Now();
        Repaint(window);
        Pump();
        again.push_back(applied - start);
        againShown.push_back(Now() - start);
    }
    figures.againUs = Median(again);
    figures.againShownUs = Median(againShown);

    // The row found last by a list that searched its rows in order.
    const std::string& last = room.back().uid;
    std::vector<double> updates;
    for (int batch = 0; batch < kUpdateBatches; ++batch) {
        const double start = Now();
        for (int i = 0; i < kUpdateBatch; ++i) panel->updateAudioStatus(last, i % 2 == 0);
        updates.push_back((Now() - start) / kUpdateBatch);
    }
    figures.updateUs = Median(updates);
    DestroyWindow(window);
    Pump();
    return figures;
}

// Short, two-line and long messages, some of them the user's own.
std::string MessageText(int index) {
    switch (index % 4) {
    case 0:
        return "ok";
    case 1:
        return "Message " + std::to_string(index) + " about the agenda";
    case 2:
        return "Could everyone please mute when not speaking? Message " + std::to_string(index);
    default:
        return std::string(300, 'x') + " \xE4\xBC\x9A\xE8\xAE\xAE " + std::to_string(index);
    }
}

void PrintRow(const char* what, double small, double large, double goal = kGoalRatio) {
    const double ratio = small > 0 ? large / small : 0;
    std::printf("%-46s %11.1f %11.1f %7.2f  %s\n", what, small, large, ratio,
                ratio > 0 && ratio <= goal ? "met" : "MISSED");
    std::fflush(stdout);
}

struct ChatFigures {
    double firstShowUs = 0;    // created hidden, the messages, then the first show
    int firstShowPaints = 0;   // the most paints one first show took
    double shownBeforeUs = 0;  // the same for a panel shown once (and hidden) at set-up
    double addUs = 0;          // a message until its bubble stands in the list
    double addPaintUs = 0;     // the same with what it leaves queued and the paint it causes
    double wheelUs = 0;        // a wheel notch over the list at its top
    double stepUs = 0;
    double stepPaintUs = 0;
    int steps = 0;
    int bubbles = 0;  // in the list once every message has arrived
};

DuiLib::TEventUI ListEvent(CChatList* list, int type, WPARAM wParam) {
    DuiLib::TEventUI event;
    event.Type = type;
    event.pSender = list;
    event.dwTimestamp = GetTickCount();
    event.wParam = wParam;
    return event;
}

// Paints of the panel being counted: its window procedure is wrapped while it lives.
WNDPROC g_panelProc = nullptr;
int g_paints = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) ++g_paints;
    return CallWindowProcW(g_panelProc, window, message, wParam, lParam);
}

// The chat panel as the in-meeting window sets it up: created with the panels' visible style,
// hidden before anything paints, then moved to its place (which sizes it); the meeting window
// stands behind it as its parent, side by side with those of the other sizes (slot).
class ChatPanel {
public:
    explicit ChatPanel(int slot) {
        parent_ = CreateWindowExW(0, L"STATIC", L"meeting", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                  60 + slot * (kPanelWidth + 10), 40, kPanelWidth, kPanelHeight,
                                  nullptr, nullptr, nullptr, nullptr);
        chat_ = new CDuiChatList(host_);  // deletes itself with its window
        if (!parent_ ||
            !chat_->Create(parent_, L"ChatList", kChatStyle, 0, 0, 0, kPanelWidth, kPanelHeight) ||
            !chat_->chatList()) {
            std::fprintf(stderr, "the chat panel did not build\n");
            chat_ = nullptr;
            return;
        }
        window_ = chat_->GetHWND();
        ShowWindow(window_, SW_HIDE);
        MoveWindow(window_, 0, 0, kPanelWidth, kPanelHeight, TRUE);
        g_panelProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
        Pump();
    }
    ~ChatPanel() {
        if (parent_) DestroyWindow(parent_);
        Pump();
    }
    ChatPanel(const ChatPanel&) = delete;
    ChatPanel& operator=(const ChatPanel&) = delete;

    bool built() const { return chat_ != nullptr; }
    HWND window() const { return window_; }
    CChatList* list() const { return chat_->chatList(); }

    // Shows or hides the panel as the meeting window's chat button does: the time until the
    // paints it caused are done, and how many paints it caused until the window's fade-in
    // animation has run out.
    double show(bool shown, int* paints = nullptr) {
        g_paints = 0;
        const double start = Now();
        chat_->ShowWindow(shown, shown);
        Pump();
        const double end = Now();
        PumpFor(kSettleUs);
        if (paints) *paints = g_paints;
        return end - start;
    }

    // Message `index` of the meeting arrives; it waits for the list's next batch.
    void receive(int index) {
        const std::string& uid = index % 3 == 0 ? kMe : kBob;
        chat_->AddChatMsg(uid, MessageText(index), uid == kBob ? "p-bob" : "");
    }
    // The tick of the arrival timer, which the program's loop delivers 10 ms after a message
    // arrived: the next batch of those waiting joins the list.
    void joinBatch() {
        DuiLib::TEventUI tick = ListEvent(list(), DuiLib::UIEVENT_TIMER, CChatList::kArrivalTimer);
        list()->DoEvent(tick);
    }
    // Messages first..last arrive at once and join the list batch by batch.
    void fill(int first, int last) {
        using ZuvraKestrum::Chat::ChatBacklog;
        for (int i = first; i <= last; ++i) receive(i);
        const size_t waiting = std::min<size_t>(last - first + 1, ChatBacklog::kMaxKept);
        for (size_t batch = 0; batch * ChatBacklog::kMaxBatch < waiting; ++batch) joinBatch();
        Pump();
    }

private:
    window_testing::RecordingMeetingHost host_{*g_kestrumData};
    HWND parent_ = nullptr;
    CDuiChatList* chat_ = nullptr;
    HWND window_ = nullptr;
};

// Ticks of the scroll timer until the motion is over (it lasts at most 50 ticks).
void EndMotion(CChatList* list) {
    for (int i = 0; i < 60; ++i) {
        DuiLib::TEventUI tick = ListEvent(list, DuiLib::UIEVENT_TIMER, CChatList::kScrollTimer);
        list->DoEvent(tick);
    }
}

void ToTop(ChatPanel& panel) {
    EndMotion(panel.list());
    panel.list()->HomeUp();
    Repaint(panel.window());
}

// Scrolls one panel down from the top a tick at a time, a wheel notch now and then, timing each
// tick that moved the list and the repaint after it; back at the top (untimed) whenever the end
// is reached.
class ScrollRun {
public:
    explicit ScrollRun(ChatPanel& panel) : panel_(panel) { ToTop(panel_); }

    bool done() const {
        return static_cast<int>(steps_.size()) >= kScrollSamples || ticks_ >= 20 * kScrollSamples;
    }

    void tick() {
        CChatList* list = panel_.list();
        if (ticks_++ % kTicksPerNotch == 0) {
            DuiLib::TEventUI wheel =
                ListEvent(list, DuiLib::UIEVENT_SCROLLWHEEL, KineticScroll::kWheelDown);
            list->DoEvent(wheel);
        }
        const int before = list->GetScrollPos().cy;
        DuiLib::TEventUI timer = ListEvent(list, DuiLib::UIEVENT_TIMER, CChatList::kScrollTimer);
        const double start = Now();
        list->DoEvent(timer);
        const double stepped = Now();
        Repaint(panel_.window());
        const double painted = Now();
        if (list->GetScrollPos().cy != before) {
            steps_.push_back(stepped - start);
            paints_.push_back(painted - stepped);
        }
        if (list->GetScrollPos().cy >= list->GetScrollRange().cy) ToTop(panel_);
    }

    void finish(ChatFigures* figures) {
        EndMotion(panel_.list());
        Pump();
        figures->steps = static_cast<int>(steps_.size());
        figures->stepUs = Median(steps_);
        figures->stepPaintUs = Median(paints_);
    }

private:
    ChatPanel& panel_;
    int ticks_ = 0;
    std::vector<double> steps_;
    std::vector<double> paints_;
};

// Every chat measure takes its samples from the sizes in turn, so that the load of the machine
// weighs on all of them alike. sizes: the messages each case receives.
std::vector<ChatFigures> MeasureChats(const std::vector<int>& sizes, int rounds) {
    const size_t cases = sizes.size();
    std::vector<ChatFigures> figures(cases);
    std::vector<std::vector<double>> first(cases);
    std::vector<std::vector<double>> again(cases);
    // The first show of panels that got the messages while hidden since the set-up, as in the
    // program, and of panels shown and hidden once before they got them.
    for (int round = 0; round < rounds; ++round) {
        for (size_t k = 0; k < cases; ++k) {
            for (bool shownBefore : {false, true}) {
                ChatPanel panel(0);
                if (!panel.built()) return figures;
                if (shownBefore) {
                    panel.show(true);
                    panel.show(false);
                }
                panel.fill(1, sizes[k]);
                int paints = 0;
                const double took = panel.show(true, &paints);
                (shownBefore ? again : first)[k].push_back(took);
                if (!shownBefore) {
                    figures[k].firstShowPaints = std::max(figures[k].firstShowPaints, paints);
                }
            }
        }
    }

    // Panels open (a user with the chat shown) that hold all but the timed messages, made again
    // for each round; the last round's stay for the wheel and the scroll.
    std::vector<std::unique_ptr<ChatPanel>> panels;
    std::vector<std::vector<double>> adds(cases);
    std::vector<std::vector<double>> painted(cases);
    for (int round = 0; round < rounds; ++round) {
        panels.clear();
        for (size_t k = 0; k < cases; ++k) {
            panels.push_back(std::make_unique<ChatPanel>(static_cast<int>(k)));
            if (!panels.back()->built()) return figures;
            panels.back()->show(true);
            panels.back()->fill(1, sizes[k] - kMessageSamples);
            Repaint(panels.back()->window());
        }
        for (int i = 1; i <= kMessageSamples; ++i) {
            for (size_t k = 0; k < cases; ++k) {
                ChatPanel& panel = *panels[k];
                const double start = Now();
                panel.receive(sizes[k] - kMessageSamples + i);
                panel.joinBatch();
                const double added = Now();
                Pump();
                Repaint(panel.window());
                adds[k].push_back(added - start);
                painted[k].push_back(Now() - start);
            }
        }
    }

    // Wheel notches over the middle of the list standing at its top, where the oldest bubbles
    // are: the window finds the control under the point and hands it the wheel, which starts the
    // motion (its ticks are not run here).
    std::vector<POINT> middles;
    for (const auto& panel : panels) {
        ToTop(*panel);
        const RECT area = panel->list()->GetPos();
        POINT at = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
        ClientToScreen(panel->window(), &at);
        middles.push_back(at);
    }
    std::vector<std::vector<double>> wheels(cases);
    for (int i = 0; i < kScrollSamples; ++i) {
        const WPARAM notch = MAKEWPARAM(0, i % 2 == 0 ? -WHEEL_DELTA : WHEEL_DELTA);
        for (size_t k = 0; k < cases; ++k) {
            const double start = Now();
            SendMessageW(panels[k]->window(), WM_MOUSEWHEEL, notch,
                         MAKELPARAM(middles[k].x, middles[k].y));
            wheels[k].push_back(Now() - start);
        }
    }

    std::vector<ScrollRun> runs;
    for (const auto& panel : panels) runs.emplace_back(*panel);
    for (bool more = true; more;) {
        more = false;
        for (ScrollRun& run : runs) {
            if (run.done()) continue;
            run.tick();
            more = true;
        }
    }
    for (size_t k = 0; k < cases; ++k) {
        runs[k].finish(&figures[k]);
        figures[k].firstShowUs = Median(first[k]);
        figures[k].shownBeforeUs = Median(again[k]);
        figures[k].addUs = Median(adds[k]);
        figures[k].addPaintUs = Median(painted[k]);
        figures[k].wheelUs = Median(wheels[k]);
        figures[k].bubbles = panels[k]->list()->messageCount();
    }
    return figures;
}

void PrintChatRows(const ChatFigures& small, const ChatFigures& large, int largeMessages) {
    char label[80];
    std::snprintf(label, sizeof(label), "chat first show, hidden (%d / %d messages)", kSmallChat,
                  largeMessages);
    PrintRow(label, small.firstShowUs, large.firstShowUs);
    std::printf(
        "%-46s %11d %11d %7s  %s\n", "  paints of that first show", small.firstShowPaints,
        large.firstShowPaints, "",
        std::max(small.firstShowPaints, large.firstShowPaints) <= kGoalPaints ? "met" : "MISSED");
    PrintRow("chat show, panel shown before", small.shownBeforeUs, large.shownBeforeUs);
    std::snprintf(label, sizeof(label), "chat add (%d / %d bubbles kept)", small.bubbles,
                  large.bubbles);
    PrintRow(label, small.addUs, large.addUs, kGoalStepRatio);
    PrintRow("chat add + its paint", small.addPaintUs, large.addPaintUs, kGoalStepRatio);
    PrintRow("wheel notch over the list (at its top)", small.wheelUs, large.wheelUs,
             kGoalStepRatio);
    PrintRow("scroll step", small.stepUs, large.stepUs, kGoalStepRatio);
    PrintRow("scroll step's repaint", small.stepPaintUs, large.stepPaintUs, kGoalStepRatio);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRounds;
    ui::ResourceHub::Start(kbase::ModuleDirectory() + L"..\\Resource\\", nullptr, false,
                           L"themes\\default", L"lang\\zh_CN");
    ui::DisplayScale::Instance().OverrideForTesting(100, false);
    DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    DuiLib::CPaintManagerUI::SetResourcePath(
        (kbase::ModuleDirectory() + L"..\\Resource\\skin").c_str());
    int status = 0;
    {
        TempFolder avatars;
        std::wstring avatarFolder = avatars.path();
        g_avatarFolder = &avatarFolder;
        ZuvraKestrum::Util::SetResourcePathSource(&AvatarFolder);
        MeetingDataFixture meeting;
        meeting.data().uid = kMe;
        meeting.data().hosts = {kMe};
        meeting.data().roomName = "Bench";

        const RoomFigures smallRoom = MeasureRoom(kSmallRoom, rounds);
        std::printf(
            "panels %dx%d on the English skins; medians in microseconds; ratio = large / "
            "small, goal <= %.1f\n",
            kPanelWidth, kPanelHeight, kGoalRatio);
        std::printf(
            "participants: %d fills of each size, %d lists again; update: %d batches of %d; "
            "chat: %d first shows of each size, %d times the last %d adds, %d wheel notches "
            "and scroll steps; goal for the chat's adds, notches and steps <= %.1f\n",
            rounds, 2 * rounds, kUpdateBatches, kUpdateBatch, rounds, rounds, kMessageSamples,
            kScrollSamples, kGoalStepRatio);
        std::printf("%-46s %11s %11s %7s  %s\n", "measure", "small", "large", "ratio", "goal");
        std::fflush(stdout);
        const RoomFigures largeRoom = MeasureRoom(kLargeRoom, rounds);
        PrintRow("participants fill, per row (50 / 500)", smallRoom.fillPerRowUs,
                 largeRoom.fillPerRowUs);
        PrintRow("participants fill + paint, per row", smallRoom.shownPerRowUs,
                 largeRoom.shownPerRowUs);
        PrintRow("status update by uid (50 / 500 rows)", smallRoom.updateUs, largeRoom.updateUs);
        PrintRow("full list again, most listed (50 / 500)", smallRoom.againUs, largeRoom.againUs);
        PrintRow("full list again + paint", smallRoom.againShownUs, largeRoom.againShownUs);

        SetMeetingUsers({UserInfoRecord(kBob, "Bob", "p-bob", 7, "", 0, -1, 1),
                         UserInfoRecord(kMe, "Alice", "", 8, "", 0, -1, 1)});
        // Untimed: the process's first chat decodes the skin's images and sets up what it keeps,
        // which would otherwise weigh on the first case alone.
        MeasureChats({kSmallChat}, 1);
        const std::vector<ChatFigures> chats =
            MeasureChats({kSmallChat, kLargeChat, kHugeChat}, rounds);
        PrintChatRows(chats[0], chats[1], kLargeChat);
        std::printf("growth check:\n");
        PrintChatRows(chats[0], chats[2], kHugeChat);
        ZuvraKestrum::Util::SetResourcePathSource(nullptr);
        const auto stepped = [](const ChatFigures& chat) { return chat.steps > 0; };
        if (smallRoom.fillPerRowUs <= 0 || largeRoom.fillPerRowUs <= 0 ||
            !std::all_of(chats.begin(), chats.end(), stepped)) {
            status = 1;
        }
    }
    ui::ResourceHub::Stop();
    return status;
}
