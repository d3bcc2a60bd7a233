#pragma once

class CDuiFrameWindow;

// The program's windows for the dialog table of CKestrum: the window object of a dialog id, made
// with new and not yet created as a window; null for an id that names no dialog, which the table
// then logs and leaves closed. Installed with CKestrum::setDialogFactory before the application
// singleton is built. UI thread.
CDuiFrameWindow* CreateProgramDialog(unsigned id);
