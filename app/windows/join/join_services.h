#pragma once

#include <windows.h>

#include "app/windows/skeleton/program_dialogs.h"
#include "kestrum/service/vossary_api.h"

class CKestrumCourse;

// What the join and nickname windows need from outside the window library, as one table: the
// course bridge, the program's dialog table, the service library's requests that the windows make
// themselves, and the end of the process. The program's windows use
// ProgramJoinServices(); tests build windows over a table of their own (a bridge and requests on
// a library they loaded, a recorded end of the program), which keeps the service library's
// exports out of the test programs. Every entry must be set, except prepareMeeting.
struct JoinServices {
    using Observer = ZuvraKestrum::ICallBack::CUserCallBack;

    // The course bridge. Its first use creates it, which starts the service library and signs
    // in; the join window's initialisation is that first use. UI thread.
    CKestrumCourse* (*course)();
    // The program's dialog table: the dialogs the windows open and close, and the notice box.
    IDialogTable& (*dialogs)();
    // The requests of vossary_api.h that the windows make with the bridge as observer.
    void(__cdecl* joinRoom)(Observer* observer, const char* rid, const char* appVersion,
                            const char* platform, const char* pwd);
    void(__cdecl* updateInfo)(Observer* observer, const char* password, const char* name,
                              const char* portraitId);
    HANDLE(__cdecl* configRoom)(Observer* observer);
    // Ends the program: WM_QUIT for the UI thread's message loop, then the process at once
    // (returns only if that fails).
    void (*endProgram)();
    // Readies what the in-meeting window needs before a join opens it, without waiting for it
    // (its pictures are decoded on a thread of their own); called once the join window has
    // painted. Null: nothing is readied.
    void (*prepareMeeting)();
};

// The program's table: its course bridge singleton, its dialog table, the library's exports, and
// PostQuitMessage followed by ZuvraKestrum::Util::TerminateSelf. Defined with the program's hosts,
// above the windows.
const JoinServices& ProgramJoinServices();
