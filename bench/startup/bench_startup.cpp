// Start-up and join timing of the staged program, side by side with their floors (prints medians
// and ratios, asserts nothing):
//  - from starting the process to the first paint of the join window on screen, against a bare
//    Win32 program that opens and paints one window of the same size (same Wine, same screen);
//  - from the click on the join button to the join result applied by the join window, against
//    one plain request of the service library (room/join) on loopback.
// Both programs run from a copy of the staged installation against the local back-end.
//   kestrum_startup_bench.exe [runs]     (default 11 runs of each)

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/windows/skeleton/testing/screen_area.h"
#include "join_window_layout.h"
#include "kestrum/common/utf.h"
#include "staged_program.h"
#include "support/recording_observer.h"
#include "support/service_library.h"
#include "support/test_backend.h"
#include "ui/base/util/module_path.h"

namespace {

constexpr int kDefaultRuns = 11;
// How many times a bare window's start the program may take to paint its join window.
constexpr double kStartupGoalRatio = 2.0;
constexpr DWORD kGiveUpMs = 30000;

class Stopwatch {
public:
    Stopwatch() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double elapsedMs() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) /
               static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
};

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Polls what until it holds (about every millisecond); false after kGiveUpMs.
bool PollUntil(const std::function<bool()>& what) {
    const Stopwatch watch;
    while (!what()) {
        if (watch.elapsedMs() > kGiveUpMs) return false;
        Sleep(1);
    }
    return true;
}

// True once the inner part of the window (its corners may be cut away) shows more than one
// colour on screen: before its first paint a window is one flat colour.
bool ShowsPaintedContent(HWND window) {
    RECT frame;
    if (!GetWindowRect(window, &frame)) return false;
    const int insetX = (frame.right - frame.left) / 10;
    const int insetY = (frame.bottom - frame.top) / 10;
    const RECT inner = {frame.left + insetX, frame.top + insetY, frame.right - insetX,
                        frame.bottom - insetY};
    if (inner.right <= inner.left || inner.bottom <= inner.top) return false;
    const window_testing::ScreenArea shown(inner);
    const COLORREF first = shown.At(inner.left, inner.top);
    for (int y = inner.top; y < inner.bottom && first != CLR_INVALID; ++y) {
        for (int x = inner.left; x < inner.right; ++x) {
            if (shown.At(x, y) != first) return true;
        }
    }
    return false;
}

// Starts program and returns the milliseconds until its window `title` shows painted content;
// -1 when it did not. The program keeps running in `started`.
double TimeToFirstPaint(const std::wstring& program, const wchar_t* title, const std::wstring& out,
                        std::unique_ptr<StartedProgram>& started) {
    const Stopwatch watch;
    started = std::make_unique<StartedProgram>(program, out);
    if (!started->started()) return -1;
    HWND window = nullptr;
    const bool shown = PollUntil([&] {
        if (!window) window = started->findWindow(title);
        return window && ShowsPaintedContent(window);
    });
    return shown ? watch.elapsedMs() : -1;
}

// In a started program whose join window is up: waits until the user could join (signed in,
// configured, the network probe has a verdict), types a room name and clicks join. The
// milliseconds from the click to the join result applied (the in-meeting window asked for);
// -1 when that did not happen.
double TimeToJoin(const StagedCopy& copy, StartedProgram& program, const JoinWindowLayout& layout,
                  const std::wstring& room) {
    HWND window = program.findWindow(L"LoginHome");
    if (!window) return -1;
    const bool ready = PollUntil([&] {
        const std::string log = copy.log();
        return log.find("CDuiLogin::OnMeetConfigRoom") != std::string::npos &&
               log.find("CKestrumZuvra::EnableLastmileTest(0)") != std::string::npos;
    });
    if (!ready) {
        std::fprintf(stderr, "the join window did not get ready:\n%s\n", copy.log().c_str());
        return -1;
    }
    ClickAt(window, layout.roomEdit);
    for (wchar_t c : room) PostMessageW(window, WM_CHAR, c, 0);
    // The typing is taken in before the clock starts.
    Sleep(300);
    const Stopwatch watch;
    ClickAt(window, layout.joinButton);
    const bool applied =
        PollUntil([&] { return copy.log().find("CKestrum::openDlg(6)") != std::string::npos; });
    if (!applied) std::fprintf(stderr, "no join result:\n%s\n", copy.log().c_str());
    return applied ? watch.elapsedMs() : -1;
}

// One room/join request of the service library, from the call to the join result.
double TimedJoinRequest(ServiceLibrary& library, const std::string& room) {
    RecordingObserver observer;
    const Stopwatch watch;
    library.joinRoom(&observer, room.c_str(), "1.0.0", "win", "");
    const bool answered = observer.WaitFor(1);
    const double ms = watch.elapsedMs();
    // The request's statistics follow its result: the observer must outlive them.
    observer.WaitFinished();
    return answered ? ms : -1;
}

void SetVariable(const wchar_t* name, const std::string& value) {
    SetEnvironmentVariableW(name, kestrum::common::Utf8ToWide(value).c_str());
}

double Ratio(double measured, double floor) { return floor > 0 ? measured / floor : 0.0; }

void PrintRow(const char* what, double measured, const char* floorName, double floor) {
    std::printf("%-44s %9.1f ms   %-28s %9.1f ms   ratio %5.2f\n", what, measured, floorName, floor,
                Ratio(measured, floor));
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;

    TestBackend backend;
    if (!backend.Started()) {
        std::fprintf(stderr, "the test back-end did not start\n");
        return 1;
    }
    std::string proxies;
    for (const std::string& proxy : backend.Proxies())
        proxies += (proxies.empty() ? "" : ",") + proxy;
    SetVariable(L"KESTRUM_SERVICE_URL", backend.BaseUrl());
    SetVariable(L"KESTRUM_FEEDBACK_URL", backend.BaseUrl());
    SetVariable(L"KESTRUM_PROXIES", proxies);
    SetVariable(L"KESTRUM_PROXY_PORT", std::to_string(backend.ProxyPort()));

    StagedCopy copy;
    if (!copy.ready()) {
        std::fprintf(stderr, "the staged installation could not be copied\n");
        return 1;
    }
    // The back-end's latest version: no upgrade offer takes the join window's place.
    copy.setVersion("1.2.0");
    const std::wstring bare = kbase::ModuleDirectory() + L"kestrum_bare_window.exe";

    const JoinWindowLayout layout = LayOutJoinWindow(copy.bin() + L"..\\Resource\\");
    if (!layout.found) {
        std::fprintf(stderr, "the join window's skin could not be laid out\n");
        return 1;
    }

    // Alternating, so that both see the same machine; the first run of each warms the file
    // cache (and signs the program in) and is not counted.
    std::vector<double> program, floor, join;
    for (int run = 0; run <= runs; ++run) {
        std::unique_ptr<StartedProgram> started;
        const double bareMs =
            TimeToFirstPaint(bare, L"BareWindow", copy.bin() + L"bare.out", started);
        started.reset();
        copy.clearLog();
        const double programMs =
            TimeToFirstPaint(copy.program(), L"LoginHome", copy.bin() + L"program.out", started);
        const double joinMs =
            programMs < 0 ? -1
                          : TimeToJoin(copy, *started, layout, L"BENCH" + std::to_wstring(run));
        started.reset();
        copy.endProcesses(L"Faultpost.exe");
        if (bareMs < 0 || programMs < 0 || joinMs < 0) {
            std::fprintf(stderr, "run %d failed (bare %.1f, program %.1f, join %.1f ms)\n", run,
                         bareMs, programMs, joinMs);
            continue;
        }
        if (run == 0) continue;
        floor.push_back(bareMs);
        program.push_back(programMs);
        join.push_back(joinMs);
    }

    // The floor of the join: the library's own request, in this process, on the same back-end.
    ServiceLibrary library(backend.BaseUrl(), backend.BaseUrl(), backend.Proxies(),
                           backend.ProxyPort());
    if (!library.Loaded()) {
        std::fprintf(stderr, "libVossary.dll did not load\n");
        return 1;
    }
    library.init();
    backend.AddUser("bench-token", "1", "Bench");
    library.setUserInfo("bench-token", "1", "Bench", "", "");
    TimedJoinRequest(library, "BENCHWARM");
    std::vector<double> request;
    for (int i = 0; i < std::max(runs, 21); ++i)
        request.push_back(TimedJoinRequest(library, "BENCHLIB" + std::to_string(i)));
    library.uninit();

    std::printf("medians of %zu program runs and %zu library requests (Wine):\n", program.size(),
                request.size());
    PrintRow("process start -> join window painted", Median(program), "bare window painted",
             Median(floor));
    const double startupRatio = Ratio(Median(program), Median(floor));
    std::printf("%-44s ratio %5.2f against a goal of at most %.2f: %s\n",
                "start-up against the bare window", startupRatio, kStartupGoalRatio,
                startupRatio > 0 && startupRatio <= kStartupGoalRatio ? "met" : "missed");
    PrintRow("join clicked -> join result applied", Median(join), "one room/join request",
             Median(request));
    return 0;
}
