#pragma once

#include <windows.h>

#include <string>

// What the notice box decides without a window: which types offer the upgrade, what closing the
// box leads to, where it stands over its owner, and the upgrade itself (the sibling programs in
// the program folder).
namespace ZuvraKestrum::Notice {

// Box types as the message-box service sets them.
enum BoxType : int {
    kWarning = 0,
    kError = 1,
    kForcedUpgrade = 3,
    kOptionalUpgrade = 4,
};

// True for the types whose box shows the "update" button (type 3 and above).
bool ShowsUpdateButton(int type);

// True for the two upgrade types, the only ones whose "update" button does anything.
bool RunsUpgrade(int type);

// What follows once the box is hidden by its close button.
enum class CloseStep {
    kNothing,         // warnings, errors and unknown types
    kQuit,            // a declined forced upgrade ends the program
    kShowJoinWindow,  // a declined optional upgrade goes back to the join window, once
};
CloseStep StepAfterClose(int type);

// Top-left corner of a box of `box` size centred over `owner` (screen coordinates); odd
// remainders are truncated toward zero, as integer halves are.
POINT CentreOver(const RECT& owner, SIZE box);

// The sibling programs an upgrade touches, by executable name in the program folder.
struct UpgradeRoad {
    std::string crashReporter = "Faultpost.exe";
    std::string upgrader = "Updrift.exe";
};

// Ends every running crash reporter on a thread of its own and waits for that thread, then
// starts the upgrader with `argument` (converted to the ANSI code page) as its command line and
// does not wait for it. Returns the upgrader's process id, 0 when it could not be started.
// Blocks for as long as the crash reporters take to end (about 2 s each at worst).
DWORD RunUpgrade(const UpgradeRoad& road, const std::wstring& argument);

}  // namespace ZuvraKestrum::Notice
