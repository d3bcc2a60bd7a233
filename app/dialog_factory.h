#pragma once

class CDuiFrameWindow;

// The program's windows for the dialog table of CKestrum: the window object of a dialog id, made
// with new and not yet created as a window; null for ids without a window in this program (the
// room settings, the host room settings and the in-meeting window for now), which the table then
// leaves closed. Installed with CKestrum::setDialogFactory before the application singleton is
// built. UI thread.
CDuiFrameWindow* CreateProgramDialog(unsigned id);
