#pragma once

#include <windows.h>

#include <string>

// What the notice box decides without a window: what it shows for its type, which types offer
// the upgrade, what closing the box and pressing "update" lead to, where it stands over its
// owner, and the upgrade itself (the sibling programs in the program folder). Texts are in the
// language of the flag (0 English, else Chinese).
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

// What the box shows for a type: the icon beside the text (a skin image), whether "update"
// shows, and the bottom button's text, which says what closing the box leads to.
struct BoxDecor {
    const wchar_t* icon;
    bool showsUpdate;
    const wchar_t* closeText;
};
BoxDecor DecorOf(int type, int language);

// The "update" button's text, the same for both offers.
const wchar_t* UpdateText(int language);

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
// does not wait for it. Returns the upgrader's process id, 0 when it could not be started; the
// program then goes on, and a fresh crash reporter is started for it. Blocks for as long as the
// crash reporters take to end (about 2 s each at worst).
DWORD RunUpgrade(const UpgradeRoad& road, const std::wstring& argument);

// What follows a press of "update".
enum class UpdateStep {
    kNothing,        // not an offer: nothing ran
    kQuit,           // the upgrader started: the program makes way for it
    kSayNotStarted,  // the upgrader did not start: quitting would leave the user with neither
                     // the program nor an upgrade, so the box says so and the offer stays
};
// Runs the upgrade (RunUpgrade) for the upgrade types and says what follows; blocks as long.
UpdateStep PressUpdate(int type, const UpgradeRoad& road, const std::wstring& argument);

// The box's text once the upgrader did not start.
const wchar_t* UpgradeNotStartedText(int language);

}  // namespace ZuvraKestrum::Notice
