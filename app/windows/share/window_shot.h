#pragma once

#include <windows.h>

#include <string>

struct ShareSourceEntry;

// The picker's thumbnails on disk: where they lie and how one is written. GDI and GDI+ only, no
// message to the window shot: any thread (GDI+ started by the caller's process).
namespace ZuvraKestrum::Share {

// "<program folder>..\Resource\skin\wndshot\".
std::wstring ShotFolder();

// Creates folder when missing and deletes the thumbnails (*.png) an earlier picker left in it.
void PrepareShotFolder(const std::wstring& folder);

// Writes the client area of window, fitted into the list's thumbnail box on its ground
// (FitThumbnail), as a PNG to path; width and height := the client size (0 when unknown).
// False when nothing was written.
bool SaveWindowShot(HWND window, const std::wstring& path, int& width, int& height);

// SaveWindowShot of entry's window to its image path: the entry takes the client size, and
// loses the path when no thumbnail was written (false then).
bool Snapshot(ShareSourceEntry& entry);

}  // namespace ZuvraKestrum::Share
