#pragma once

#include <windows.h>

#include <string>

// The screen-share picker's decisions, without window types: where an entry of the share-source
// list goes, which top-level windows are offered, what the snapshot of a window is called on
// disk and how a snapshot fits its thumbnail. Pure functions, any thread.
namespace ZuvraKestrum::Share {

constexpr int kSlotsPerRow = 3;

// Where the next entry goes when `placed` entries are in the list already: row placed / 3, slot
// placed % 3; the first slot starts a new row. Only entries that were placed count, so a row
// never gets a fourth slot when an earlier entry could not be shown.
struct SharePlacement {
    int row;
    int slot;
    bool startsRow;
};
SharePlacement PlaceShareEntry(int placed);

// What the picker reads of a top-level window before offering it.
struct WindowFacts {
    bool ownProcess = false;  // a window of this program (the picker, the meeting, the log box)
    bool owned = false;       // has an owner window: a dialog or tool window of another one
    bool sizable = false;     // WS_THICKFRAME
    bool minimised = false;
    bool visible = false;
    std::wstring className;
};

// True for a window the user can share: not one of the program's own, no owner, sizable,
// visible and not minimised, and not the shell's desktop ("progman") or a stray "Button"
// (exact class names).
bool IsShareCandidate(const WindowFacts& facts);

// The file name of the snapshot of the window at `position` (its place among the candidates)
// titled `title`: "<title>_<position>.png", with every character a file name cannot hold or
// that would end the image descriptor (\ / : * ? " < > | ' and control characters) replaced by
// '_', the title cut to kMaxTitleLength characters, a device name ("con", "nul", "com1"...)
// prefixed with '_', and "window" for an empty title. The name has no path separator, so it
// never leaves the snapshot folder whatever the title says ("..\..\x" becomes ".._.._x").
constexpr size_t kMaxTitleLength = 80;
std::wstring ShotFileName(const std::wstring& title, int position);

// The thumbnail box of the list's row markup ("wndshot") and its ground colour (ARGB), on which
// a snapshot is fitted and which alone shows for a source without a thumbnail.
constexpr int kThumbnailWidth = 188;
constexpr int kThumbnailHeight = 106;
constexpr DWORD kThumbnailGround = 0xFFE9EBEE;

// The rectangle inside a box of boxWidth x boxHeight where a snapshot of width x height shows
// whole, centred, its proportions kept; the whole box for a snapshot without size.
RECT FitThumbnail(int width, int height, int boxWidth, int boxHeight);

// The notice when sharing is started without a choice, in the language of the flag (0 English).
const wchar_t* ChooseFirstText(int language);

}  // namespace ZuvraKestrum::Share
