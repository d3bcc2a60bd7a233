#include "meeting_road.h"

#include <cstdio>
#include <memory>
#include <string>

#include "app/kestrum/kestrum.h"
#include "app/windows/join/dui_login.h"
#include "app/windows/live/dui_live.h"
#include "app/windows/meeting/testing/recording_meeting_host.h"
#include "engine_journal.h"
#include "join_test_support.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "road_environment.h"
#include "scripted_peers.h"
#include "ui/windowing/toast/toast.h"
#include "window_pump.h"

namespace bench_road {

namespace {

using namespace join_testing;

// The recording host, except that the room's chat goes out through the course bridge, as the
// program's host sends it.
class BenchMeetingHost : public window_testing::RecordingMeetingHost {
public:
    void broadcastMsg(const std::string& text) override {
        RecordingMeetingHost::broadcastMsg(text);
        road_testing::Course()->broadcastMsg(text);
    }
    void toast(HWND over, const std::wstring& text, int durationMs) override {
        RecordingMeetingHost::toast(over, text, durationMs);
        if (realToasts) shared::Toast::Show(text, durationMs, over);
    }

    bool realToasts = false;
};

BenchMeetingHost g_host;
std::unique_ptr<bench_peers::ChannelRoot> g_channels;

}  // namespace

std::string StartProgram(bool realToasts) {
    g_host.realToasts = realToasts;
    // Before the engine is made: it reads the folder once.
    g_channels = std::make_unique<bench_peers::ChannelRoot>();
    road_testing::RoadOptions options;
    options.nickname = "Alice";
    options.signalling = true;
    options.meetingHost = &g_host;
    g_host.dialogTable = &ProgramDialogTable();
    const bool started = road_testing::StartRoad(options);
    return started ? road_testing::SignalOrigin() : "";
}

void StopProgram() {
    road_testing::StopRoad();
    g_channels.reset();
}

TestBackend& Backend() { return *road_testing::Backend(); }
ServiceLibrary& Library() { return *road_testing::Library(); }
const bench_peers::ChannelRoot& Channels() { return *g_channels; }

bool PrepareJoin(const std::wstring& room) {
    if (!bench_pump::Await([] {
            return !MeetingData().token.empty() && Control(JoinWindow(), L"joinbtn")->IsEnabled();
        })) {
        std::fprintf(stderr, "no sign-in\n");
        return false;
    }
    g_host.engineWrapper = CSingleton<CKestrumZuvra>::existingInstance();
    KestrumEngineJournalClear();
    CDuiLogin* join = JoinWindow();
    Control(join, L"roomedit")->SetText(L"");
    TypeInto(join, Control(join, L"roomedit"), room);
    return true;
}

bool Leave() {
    CDuiLive* live = road_testing::Live();
    if (!live) return true;
    HWND window = live->GetHWND();
    Click(live, Control(live, L"leavebtn"));
    return bench_pump::Await([window] { return !IsWindow(window); });
}

}  // namespace bench_road
