// Scale of the meeting's side panels on the product's skins, each small case beside its large one
// (prints medians and ratios, asserts nothing):
//  - the participants list filled from a user list of 500 against one of 50, per row: the fill
//    alone, and the fill with the panel's next paint (which lays the rows out);
//  - one status update by uid (the last row's microphone) at 500 rows against 50;
//  - a full user list of 500 arriving again (a reconnect) where most participants are already
//    listed, against one of 50: the apply, and the apply with the panel's next paint;
//  - the 5,000th chat message against the 50th: the add, and the pumping of what it caused (the
//    two wheel notches it posts, the repaint), with the messages pumped after every add as the
//    program's loop does (the large case stops at a time budget and names the message it
//    reached);
//  - one step of the chat's kinetic scroll (a tick of its scroll timer) through 5,000 bubbles
//    against 50, and the repaint after it.
// The goal: no cost per row, message or step grows by more than 1.5 times from the small case
// to the large one.
//   kestrum_panels_bench.exe [rounds]    (fills of each list size, default 7)

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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
constexpr int kDefaultRounds = 7;
// Updates timed together (one alone is below the clock's grain under Wine), and how many times.
constexpr int kUpdateBatch = 20;
constexpr int kUpdateBatches = 101;
// The messages whose adds make the figure of "the n-th message": the last ones up to the n-th.
constexpr int kMessageSamples = 20;
constexpr int kScrollSamples = 200;
// A wheel notch every few ticks keeps the motion going.
constexpr int kTicksPerNotch = 8;
constexpr double kGoalRatio = 1.5;
// Adding stops once the chat has taken this long, so that a cost per message that grows with
// the messages shown ends the run with a figure instead of running for hours.
constexpr double kChatBudgetUs = 60e6;

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
    window_testing::RecordingMeetingHost host;
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

struct ChatFigures {
    double addUs = 0;
    double addPumpedUs = 0;
    double stepUs = 0;
    double stepPaintUs = 0;
    int steps = 0;
    int messages = 0;  // added within the budget
};

DuiLib::TEventUI ListEvent(CChatList* list, int type, WPARAM wParam) {
    DuiLib::TEventUI event;
    event.Type = type;
    event.pSender = list;
    event.dwTimestamp = GetTickCount();
    event.wParam = wParam;
    return event;
}

// Ticks of the scroll timer until the motion is over (it lasts at most 50 ticks).
void EndMotion(CChatList* list) {
    for (int i = 0; i < 60; ++i) {
        DuiLib::TEventUI tick = ListEvent(list, DuiLib::UIEVENT_TIMER, CChatList::kScrollTimer);
        list->DoEvent(tick);
    }
}

// Scrolls down from the top, a wheel notch now and then, timing each tick of the motion that
// moved the list and the repaint after it; back at the top (untimed) whenever the end is reached.
void MeasureScroll(HWND window, CChatList* list, ChatFigures* figures) {
    EndMotion(list);
    list->HomeUp();
    Repaint(window);
    std::vector<double> steps;
    std::vector<double> paints;
    for (int tick = 0;
         static_cast<int>(steps.size()) < kScrollSamples && tick < 20 * kScrollSamples; ++tick) {
        if (tick % kTicksPerNotch == 0) {
            DuiLib::TEventUI wheel =
                ListEvent(list, DuiLib::UIEVENT_SCROLLWHEEL, KineticScroll::kWheelDown);
            list->DoEvent(wheel);
        }
        const int before = list->GetScrollPos().cy;
        DuiLib::TEventUI timer = ListEvent(list, DuiLib::UIEVENT_TIMER, CChatList::kScrollTimer);
        const double start = Now();
        list->DoEvent(timer);
        const double stepped = Now();
        Repaint(window);
        const double painted = Now();
        if (list->GetScrollPos().cy != before) {
            steps.push_back(stepped - start);
            paints.push_back(painted - stepped);
        }
        if (list->GetScrollPos().cy >= list->GetScrollRange().cy) {
            EndMotion(list);
            list->HomeUp();
            Repaint(window);
        }
    }
    EndMotion(list);
    Pump();
    figures->steps = static_cast<int>(steps.size());
    figures->stepUs = Median(steps);
    figures->stepPaintUs = Median(paints);
}

ChatFigures MeasureChat(int messages) {
    ChatFigures figures;
    window_testing::RecordingMeetingHost host;
    // The in-meeting window stands behind the panel as its parent.
    const HWND parent =
        CreateWindowExW(0, L"STATIC", L"meeting", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 60, 40,
                        kPanelWidth, kPanelHeight, nullptr, nullptr, nullptr, nullptr);
    auto* chat = new CDuiChatList(host);  // deletes itself with its window
    if (!parent ||
        !chat->Create(parent, L"ChatList", kChatStyle, 0, 0, 0, kPanelWidth, kPanelHeight) ||
        !chat->chatList()) {
        std::fprintf(stderr, "the chat panel did not build\n");
        if (parent) DestroyWindow(parent);
        return figures;
    }
    const HWND window = chat->GetHWND();
    CChatList* list = chat->chatList();
    Repaint(window);
    Pump();

    std::vector<double> adds;
    std::vector<double> pumped;
    const double begin = Now();
    for (int i = 1; i <= messages; ++i) {
        const std::string& uid = i % 3 == 0 ? kMe : kBob;
        const double start = Now();
        chat->AddChatMsg(uid, MessageText(i), uid == kBob ? "p-bob" : "");
        const double added = Now();
        Pump();
        // The last adds before the end or the budget.
        adds.push_back(added - start);
        pumped.push_back(Now() - start);
        if (adds.size() > kMessageSamples) {
            adds.erase(adds.begin());
            pumped.erase(pumped.begin());
        }
        figures.messages = i;
        if (Now() - begin > kChatBudgetUs) break;
    }
    figures.addUs = Median(adds);
    figures.addPumpedUs = Median(pumped);
    MeasureScroll(window, list, &figures);
    DestroyWindow(parent);
    Pump();
    return figures;
}

void PrintRow(const char* what, double small, double large) {
    const double ratio = small > 0 ? large / small : 0;
    std::printf("%-46s %11.1f %11.1f %7.2f  %s\n", what, small, large, ratio,
                ratio > 0 && ratio <= kGoalRatio ? "met" : "MISSED");
    std::fflush(stdout);
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
        // Rows are printed as they are measured: the chat's large case may take its whole budget.
        std::printf(
            "panels %dx%d on the English skins; medians in microseconds; ratio = large / "
            "small, goal <= %.1f\n",
            kPanelWidth, kPanelHeight, kGoalRatio);
        std::printf(
            "participants: %d fills of each size, %d lists again; update: %d batches of %d; "
            "chat: the last %d adds, at most %.0f s of adding\n",
            rounds, 2 * rounds, kUpdateBatches, kUpdateBatch, kMessageSamples, kChatBudgetUs / 1e6);
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
        const ChatFigures smallChat = MeasureChat(kSmallChat);
        const ChatFigures largeChat = MeasureChat(kLargeChat);
        char label[64];
        std::snprintf(label, sizeof(label), "chat add (%dth / %dth message)", smallChat.messages,
                      largeChat.messages);
        PrintRow(label, smallChat.addUs, largeChat.addUs);
        PrintRow("chat add + pumped messages", smallChat.addPumpedUs, largeChat.addPumpedUs);
        std::snprintf(label, sizeof(label), "scroll step (%d / %d bubbles)", smallChat.messages,
                      largeChat.messages);
        PrintRow(label, smallChat.stepUs, largeChat.stepUs);
        PrintRow("scroll step's repaint", smallChat.stepPaintUs, largeChat.stepPaintUs);
        if (largeChat.messages < kLargeChat) {
            std::printf("chat: the budget ended the large case at message %d of %d\n",
                        largeChat.messages, kLargeChat);
        }
        ZuvraKestrum::Util::SetResourcePathSource(nullptr);
        if (smallRoom.fillPerRowUs <= 0 || largeRoom.fillPerRowUs <= 0 || smallChat.steps == 0 ||
            largeChat.steps == 0) {
            status = 1;
        }
    }
    ui::ResourceHub::Stop();
    return status;
}
