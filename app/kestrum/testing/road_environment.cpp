#include "road_environment.h"

#include <memory>

#include "app/kestrum/kestrum.h"
#include "app/windows/live/dui_live.h"
#include "app/windows/live/live_pictures.h"
#include "app/windows/meeting/testing/recording_meeting_host.h"
#include "join_test_support.h"
#include "kestrum/core/course_exports.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/core/msgbox_ansy_manager.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/video_source_transfer.h"
#include "kestrum/json/json_document.h"
#include "program_table_testing.h"

// The video source the in-meeting window drives (the stand-in library), deleted at exit.
CSingleton<CVideoSourceTransfer>::CGrabo g_videoSourceHolder;

namespace road_testing {

namespace {

RoadOptions g_options;
bool g_started = false;
FILETIME g_logStart{};
std::unique_ptr<CKestrumDump> g_appLog;
std::unique_ptr<TestBackend> g_backend;
std::unique_ptr<ServiceLibrary> g_library;
std::unique_ptr<CKestrumCourse> g_course;
std::string g_signal;
join_testing::JoinParts g_joinParts{};
std::vector<unsigned> g_dialogsAsked;

// The course bridge's table of exports from a service library the test program loaded itself,
// as the program's bridge takes them from its own.
CourseExports CourseExportsOf(const ServiceLibrary& library) {
    auto exported = [&library](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(library.Module(), name));
    };
    return {library.init,
            library.uninit,
            library.setUserInfo,
            library.getToken,
            library.getPhoto,
            library.configRoom,
            library.updateRoom,
            library.ctrlRoom,
            library.releaseAccountObserver,
            library.releaseMeetingObserver,
            reinterpret_cast<decltype(CourseExports::createSocketIOHandle)>(
                exported("createSocketIOHandle")),
            reinterpret_cast<decltype(CourseExports::destorySocketIOHandle)>(
                exported("destorySocketIOHandle"))};
}

void NoHttpReport(const char*, int, unsigned) {}
void KeepRunning() {}
CVideoSourceTransfer* VideoSource() { return CSingleton<CVideoSourceTransfer>::getInstance(); }

CDuiFrameWindow* MakeLiveDialog(unsigned id) {
    g_dialogsAsked.push_back(id);
    return id == CKestrum::kLiveDlg ? new CDuiLive(*g_options.meetingHost) : nullptr;
}

HWND DialogWindow(int dialog) {
    CDuiFrameWindow* window = join_testing::Kestrum().getDlg(static_cast<unsigned>(dialog));
    return window ? window->GetHWND() : nullptr;
}

// The back-end's signalling origin, set where the library reads it; false without one.
bool UseSignalling() {
    jdoc::CJsonDocument info(g_backend->Call("GET", "info"));
    if (!info.ReadStringMember("signal", g_signal)) return false;
    SetEnvironmentVariableA("KESTRUM_SIGNAL_URL", g_signal.c_str());
    return true;
}

}  // namespace

bool StartRoad(const RoadOptions& options) {
    g_options = options;
    if (!options.appLog.empty()) {
        GetSystemTimeAsFileTime(&g_logStart);
        g_appLog = std::make_unique<CKestrumDump>(options.appLog, true, false, false,
                                                  ZuvraKestrum::Util::GetAppLogPath(""));
    }
    join_testing::StartFramework();
    g_backend = std::make_unique<TestBackend>();
    if (!g_backend->Started()) return false;
    if (options.signalling && !UseSignalling()) return false;
    // Read by the library when it loads.
    g_library = std::make_unique<ServiceLibrary>(g_backend->BaseUrl(), g_backend->BaseUrl(),
                                                 g_backend->Proxies(), g_backend->ProxyPort());
    if (!g_library->Loaded()) return false;
    g_joinParts = {&Course,
                   &join_testing::ProgramTable,
                   g_library->joinRoom,
                   g_library->updateInfo,
                   g_library->configRoom,
                   &KeepRunning,
                   &ZuvraKestrum::Live::PreloadPictures};
    join_testing::UseParts(g_joinParts);
    CKestrumCourse::setDialogWindowLookup(&DialogWindow);
    join_testing::PrepareSignedOutUser(options.nickname);
    join_testing::Kestrum();
    if (options.meetingHost) {
        options.meetingHost->meetingData = &join_testing::MeetingData();
        options.meetingHost->courseBridge = &Course;
        options.meetingHost->videoSourceOf = &VideoSource;
        CKestrum::setDialogFactory(&MakeLiveDialog);
    }
    if (options.boxUi) CMsgBoxAnsyManager::setBoxUi(options.boxUi);
    g_started = true;
    return true;
}

void StopRoad() {
    if (g_options.boxUi) {
        CMsgBoxAnsyManager::destroyInstance();
        CMsgBoxAnsyManager::setBoxUi(nullptr);
    }
    // The bridge ends its requests and worker before the library goes.
    g_course.reset();
    g_library.reset();
    g_backend.reset();
    g_appLog.reset();
    g_started = false;
}

bool RoadStarted() { return g_started; }

TestBackend* Backend() { return g_backend.get(); }
ServiceLibrary* Library() { return g_library.get(); }

CKestrumCourse* Course() {
    if (!g_course) {
        static CourseExports exports{};
        exports = CourseExportsOf(*g_library);
        g_course = std::make_unique<CKestrumCourse>(exports, &NoHttpReport);
    }
    return g_course.get();
}

const std::string& SignalOrigin() { return g_signal; }
FILETIME AppLogStart() { return g_logStart; }

CDuiLive* Live() {
    return dynamic_cast<CDuiLive*>(join_testing::Kestrum().getDlg(CKestrum::kLiveDlg));
}

const std::vector<unsigned>& DialogsAsked() { return g_dialogsAsked; }
void ClearDialogsAsked() { g_dialogsAsked.clear(); }
int JoinReports() { return g_options.meetingHost ? g_options.meetingHost->joinReports : 0; }
int BoxDrops() { return g_options.meetingHost ? g_options.meetingHost->boxDrops : 0; }

}  // namespace road_testing
