#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/windows/join/join_host.h"
#include "app/windows/skeleton/program_dialogs.h"
#include "app/windows/skeleton/testing/window_picture.h"
#include "duilib/control_ui.h"

class CDuiLogin;
class CKestrumData;

// What the join windows' test programs share: the window framework on a copy of the program's
// resources beside the test program ("join-res"), the meeting data, a join host over the parts
// the test program chose, and a dialog factory that builds the join and nickname windows over
// that host, and plain stand-ins for the other dialogs (the meeting window's takes the bridge's
// results, as the meeting window does). The dialog table over that factory is the test program's:
// the window tests' own (fake_dialog_table.h), or the program's on the road
// (program_table_testing.h above the windows).
//
// Threads: the test thread, which plays the program's UI thread.
namespace join_testing {

// Starts the window framework as the program does (theme "themes\default", skins from
// "join-res\skin"), once per test program.
void StartFramework();
// The skin folder, with its trailing backslash.
std::wstring SkinFolder();

// The meeting data over the program folder's configuration, created on the first call and
// installed as g_kestrumData; the language flag follows the test's locale.
CKestrumData& MeetingData();

// The meeting data and the program folder's configuration of a user who has not signed in yet
// (no token, uid or avatar id; the default portrait) named `nickname`, with microphone and
// camera on, on the back-end's latest version ("1.2.0"), so that no upgrade offer takes the
// join window's place. For the programs that go the join road on the local back-end; call
// before the first Kestrum().
CKestrumData& PrepareSignedOutUser(const std::string& nickname);

// What a join test program chooses of its windows' host; every entry must be set, except
// prepareMeeting (null: nothing is readied). The engine wrapper, the configuration and the
// quality reports are the program's singletons.
struct JoinParts {
    using Observer = ZuvraKestrum::ICallBack::CUserCallBack;

    CKestrumCourse* (*course)();
    IDialogTable& (*dialogs)();
    void(__cdecl* joinRoom)(Observer* observer, const char* rid, const char* appVersion,
                            const char* platform, const char* pwd);
    void(__cdecl* updateInfo)(Observer* observer, const char* password, const char* name,
                              const char* portraitId);
    HANDLE(__cdecl* configRoom)(Observer* observer);
    void (*endProgram)();
    void (*prepareMeeting)();
};

// The join windows of the dialog table are built over a host of these parts from now on. Set
// before the table opens its first dialog.
void UseParts(const JoinParts& parts);
// That host.
IJoinHost& Host();

// The window object of a dialog id, as the test's dialog table makes it: the join and nickname
// windows over the chosen parts, a stand-in for every other id.
CDuiFrameWindow* MakeDialog(unsigned id);
// Every dialog id the factory was asked for, in order.
const std::vector<unsigned>& OpenedDialogs();
void ClearOpenedDialogs();

// The dialog table that the chosen parts hand the join windows.
IDialogTable& Dialogs();
// The join window while it is open.
CDuiLogin* JoinWindow();

// The control of that name in a window; null when there is none.
DuiLib::CControlUI* Control(CDuiFrameWindow* window, const wchar_t* name);

// Whether the control's background is the image of that file name (it keeps the full path).
bool ShowsImage(DuiLib::CControlUI* control, const std::wstring& file);

// Runs the test thread's messages until done() holds (the tests' timeout); false when it did
// not.
bool PumpUntil(const std::function<bool()>& done);
// Until the window has been laid out and painted (its "windowinit" has run).
bool AwaitLaidOut(CDuiFrameWindow* window);

// Real input to a window of the framework: a click at the centre of a control (mouse down and
// up sent to the window), characters typed into the focused control (WM_CHAR each).
void Click(CDuiFrameWindow* window, DuiLib::CControlUI* control);
// The two halves of a click: the button acts on the release.
void Press(CDuiFrameWindow* window, DuiLib::CControlUI* control);
void Release(CDuiFrameWindow* window, DuiLib::CControlUI* control);
void Type(CDuiFrameWindow* window, const std::wstring& text);
// Focuses the control and types text at the end of what it holds.
void TypeInto(CDuiFrameWindow* window, DuiLib::CControlUI* control, const std::wstring& text);

using window_testing::CountDiffering;
using window_testing::PixelAt;
// Redraws the window now and writes its drawing to "<build>\pictures\<name>.png"; false when
// either failed.
bool SavePicture(CDuiFrameWindow* window, const std::wstring& name);

}  // namespace join_testing
