#pragma once

#include "kestrum/service/vossary_api.h"

// The service library's exports that CKestrumCourse calls, as one table of function pointers.
// The program uses VossaryExports(), the library's real exports; unit tests hand the bridge a
// table of fakes instead, so it can be driven without the library or a server. Every entry must
// be set; the calling conventions and arguments are those of vossary_api.h.
struct CourseExports {
    bool(__cdecl* init)();
    void(__cdecl* uninit)();
    void(__cdecl* setUserInfo)(const char* token, const char* uid, const char* nick,
                               const char* rid, const char* portraitId);
    void(__cdecl* getToken)(CUserCallBack* observer, int device, int channel, const char* name,
                            const char* photoUrl);
    HANDLE(__cdecl* getPhoto)
    (CUserCallBack* observer, const char* uid, const char* portraitId, const char* filePath);
    HANDLE(__cdecl* configRoom)(CUserCallBack* observer);
    void(__cdecl* updateRoom)(CUserCallBack* observer, const char* rid,
                              const std::vector<std::string>& hosts, int initialStatus,
                              const char* topic, const char* pwd);
    void(__cdecl* ctrlRoom)(CUserCallBack* observer, const char* op,
                            const std::vector<std::string>& targets);
    // With null: no observer of any account or meeting request is called any more once these
    // return (they wait for a call under way), also that of a worker uninit gave up on.
    void(__cdecl* releaseAccountObserver)(const char* api);
    void(__cdecl* releaseMeetingObserver)(const char* api);
    ZuvraKestrum::socketio::ISocketIOInterface*(__cdecl* createSocketIOHandle)(
        ZuvraKestrum::socketio::CSocketIOCallBack* observer);
    void(__cdecl* destorySocketIOHandle)(ZuvraKestrum::socketio::ISocketIOInterface* handle);
};

// The table of the real library exports (linked through libVossary's import library).
const CourseExports& VossaryExports();
