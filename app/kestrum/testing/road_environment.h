#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/service_library.h"
#include "support/test_backend.h"

class CDuiLive;
class CKestrumCourse;
class IInviteBoxUi;

namespace window_testing {
class RecordingMeetingHost;
}

// The program around the windows for the programs that go the join road on the local back-end
// (the road tests and the meeting bench): the window framework on the join tests' copy of the
// resources, the test back-end, the real service library pointed at it, the course bridge on
// that library (made on first use, as the program's is), the join windows' host parts, the dialog
// window lookup, a signed-out user and the application singleton with its join window open.
// What differs between the programs is chosen by RoadOptions.
//
// Threads: the test thread, which plays the program's UI thread. One road per test program:
// StartRoad once, StopRoad once at its end.
namespace road_testing {

struct RoadOptions {
    // The signed-out user's nickname (empty: the nickname window is asked for at the join).
    std::string nickname;
    // Points the library at the back-end's signalling server (KESTRUM_SIGNAL_URL, read when it
    // first connects a socket): the road goes on into the meeting.
    bool signalling = false;
    // Opened before anything else, where the program keeps its log: the application log of this
    // name. None when empty.
    std::string appLog;
    // When set, the dialog table builds the in-meeting window over this host, given the road's
    // bridge and the program's video source, once the join window is open, and only counts every
    // other dialog (DialogsAsked()); unset, the join tests' table with its stand-ins stays
    // (OpenedDialogs()).
    window_testing::RecordingMeetingHost* meetingHost = nullptr;
    // The invitation boxes' user interface for the road; none when null.
    IInviteBoxUi* boxUi = nullptr;
};

// Starts the road; false when the back-end, the library or (with `signalling`) the back-end's
// signalling origin did not come, and the application singleton is then not made.
bool StartRoad(const RoadOptions& options);
// Ends the bridge's requests and worker before the library goes, then the back-end.
void StopRoad();
// Whether StartRoad came to its end.
bool RoadStarted();

// Valid from StartRoad on (null, and the library unloaded, where it did not start them).
TestBackend* Backend();
ServiceLibrary* Library();
// The course bridge on the road's library, made on the first call.
CKestrumCourse* Course();
// The back-end's signalling origin; empty without `signalling`.
const std::string& SignalOrigin();
// When the application log was opened (the system time); logs written since are this run's.
FILETIME AppLogStart();

// The in-meeting window while it is open.
CDuiLive* Live();
// The dialog ids the in-meeting table was asked for since the last clear, in order.
const std::vector<unsigned>& DialogsAsked();
void ClearDialogsAsked();
// How often the in-meeting window reported its join to the quality reports, and dropped its
// invitation boxes.
int JoinReports();
int BoxDrops();

}  // namespace road_testing
