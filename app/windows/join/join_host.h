#pragma once

#include <windows.h>

#include <string>

#include "app/windows/skeleton/program_dialogs.h"
#include "kestrum/service/vossary_api.h"

class CKestrumConfig;
class CKestrumCourse;
class CKestrumData;
class CKestrumZuvra;

// What the join and nickname windows need of the program around them: the course bridge, the
// program's dialog table, the engine wrapper, the configuration, the quality reports of the
// start and the join, the service library's requests that the windows make themselves, the
// readying of the in-meeting window and the end of the process. The program's own
// (ProgramJoinHost) reaches the singletons and the library's exports; tests give the windows one
// of their own (a bridge and requests on a library they loaded, a recorded end of the program),
// which keeps the service library's exports out of the test programs.
//
// Threads: the UI thread. Ownership: the host outlives every window given it.
class IJoinHost {
public:
    using Observer = ZuvraKestrum::ICallBack::CUserCallBack;

    // The meeting data: the user the windows sign in and the room they join.
    virtual CKestrumData& meeting() = 0;
    // The course bridge. Its first use creates it, which starts the service library and signs
    // in; the join window's initialisation is that first use.
    virtual CKestrumCourse* course() = 0;
    // The program's dialog table: the dialogs the windows open and close, and the notice box.
    virtual IDialogTable& dialogs() = 0;
    // The engine wrapper. Its first use creates and initialises the engine; the join window's
    // initialisation is that first use, before the course bridge exists.
    virtual CKestrumZuvra& engine() = 0;
    // The configuration file.
    virtual CKestrumConfig& config() = 0;

    // The requests of vossary_api.h that the windows make with the bridge as observer.
    virtual void joinRoom(Observer* observer, const char* rid, const char* appVersion,
                          const char* platform, const char* pwd) = 0;
    virtual void updateInfo(Observer* observer, const char* password, const char* name,
                            const char* portraitId) = 0;
    virtual void configRoom(Observer* observer) = 0;

    // The quality report of the program's start, with the application version.
    virtual void reportAppStart(const std::string& appVersion) = 0;
    // The join's time is measured from now (the nickname window comes first).
    virtual void markJoinStart() = 0;

    // Ends the program: WM_QUIT for the UI thread's message loop, then the process at once
    // (returns only if that fails).
    virtual void endProgram() = 0;
    // Readies what the in-meeting window needs before a join opens it, without waiting for it
    // (its pictures are decoded on a thread of their own); called once the join window has
    // painted.
    virtual void prepareMeeting() = 0;

protected:
    ~IJoinHost() = default;
};

// The host of the running program: its course bridge, engine wrapper, configuration and quality
// reporter singletons, its dialog table, the library's exports, and PostQuitMessage followed by
// ZuvraKestrum::Util::TerminateSelf. Defined with the program's hosts, above the windows.
IJoinHost& ProgramJoinHost();
