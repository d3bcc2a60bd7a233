#pragma once

// The exports of the service client library (libVossary) and the observer it reports to.
//
// Every request export returns at once and runs its request on a worker thread of the library;
// results reach the observer passed as first argument, on that worker thread. A new call of the
// same export replaces the running request of that kind (the old one reports nothing more).
// Requests of different kinds run side by side.
//
// Texts are NUL-terminated UTF-8, file paths included: the library opens its files (the portrait
// upload's picture, the portrait download's target, the log upload's file) with the wide Windows
// calls, so any name works whatever the ANSI code page is. A path that is not valid UTF-8 is not
// opened: the request fails as for a missing file. A null text counts as the empty text. Both
// sides must be built with the same compiler and C++ runtime: std::string and std::vector cross
// this boundary.
//
// Texts the library hands to observers are valid UTF-8: each invalid sequence in a server's text
// becomes one U+FFFD.
//
// What a server may send is bounded; beyond the bound the answer is refused and the request
// fails as with any other unusable answer (onCallBackError, then the request's closing calls;
// no other server is tried, as for an unreadable answer):
// - a JSON answer over 1 MiB, a portrait over 0.6 MiB (629145 bytes): the transfer is stopped
//   there, reported as onCallBackError(api, "Maximum file size exceeded", 63) and
//   onHttpRetUpload with curlCode 63;
// - a token over 4096 bytes, or a uid, room id or portrait id over 255 bytes, which the library
//   would keep and send again: reported as onCallBackError(api, <text naming it>, 0), and
//   nothing of that answer is kept.
//
// Observer contract:
// - Its operations run on the worker thread of the request it was passed to, one at a time per
//   request, never on the caller's threads.
// - An operation must return promptly: copy what it keeps (pointers and references die with the
//   call), post it to its own thread, set flags. It must not wait for the caller's threads, for
//   a window, a dialog or a lock the caller holds while calling the library, nor for another
//   request to end.
// - It may start a request of another kind and may release observers; it must not start a
//   request of its own kind (such a start is refused and logged).
// - An observer must outlive its requests or be released (releaseAccountObserver /
//   releaseMeetingObserver); once a release returns, the released observer gets no further
//   call. A release waits for an operation of that observer that is under way.
// - An operation that does not return holds up only its own kind: a new request of that kind (or
//   uninit_libZuvraKestrum) waits for the worker at most 3 seconds, logs, and leaves it to
//   finish on its own (it is never killed, and reports nothing more). Until it has finished,
//   later requests of its kind are refused at once, without that wait (logged, NULL where a
//   handle is returned, no report).

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kestrum/service/socketio_interface.h"

#if defined(KESTRUM_VOSSARY_BUILDING)
#define KESTRUM_VOSSARY_API __declspec(dllexport)
#else
#define KESTRUM_VOSSARY_API __declspec(dllimport)
#endif

namespace ZuvraKestrum {
namespace ICallBack {

// Implemented by the caller; every default does nothing. Pointers and references passed in are
// valid only during the call. Calls arrive on the library's worker threads.
class CUserCallBack {
public:
    virtual void onCallBackError(const char* /*api*/, const char* /*errorMsg*/, int /*code*/) {}
    virtual void onUserToken(bool /*success*/, const char* /*uid*/, const char* /*name*/,
                             const char* /*portraitId*/, int /*streamId*/, const char* /*token*/) {}
    virtual void onUserUpdate(bool /*success*/) {}
    virtual void onUpdatePhoto(const char* /*portraitId*/) {}
    // state 1: the file is complete; 0: the download failed. Only a PNG or JPEG picture replaces
    // the file; anything else fails and leaves the old file as it was.
    virtual void onGetPhoto(int /*state*/, const char* /*uid*/) {}
    virtual void onJoinRoom(bool /*success*/, const char* /*rid*/, const char* /*topic*/,
                            int /*signalAccount*/, int /*initialStatus*/,
                            const std::vector<std::string>& /*hosts*/, const char* /*mediaToken*/) {
    }
    virtual void onCreateRoom(bool /*success*/, const char* /*rid*/, const char* /*topic*/,
                              int /*initialStatus*/) {}
    virtual void onUpdateRoom(bool /*success*/) {}
    virtual void onGetRoom(bool /*success*/, const char* /*rid*/, const char* /*topic*/,
                           bool /*hasPwd*/, int /*initialStatus*/,
                           const std::vector<std::string>& /*hosts*/,
                           const std::vector<std::string>& /*participants*/) {}
    virtual void onRoomCtrl(bool /*success*/, int /*shareId*/, const char* /*mediaToken*/) {}
    virtual void onConfigRoom(bool /*success*/, const char* /*minimumVersion*/,
                              const char* /*minimumUrl*/, const char* /*latestVersion*/,
                              const char* /*latestUrl*/, int /*maxRequestTimeout*/,
                              int /*unmuteRequestTimeout*/) {}
    virtual void onLogUpload(bool /*ok*/) {}
    // Once per request, after its last attempt.
    virtual void onHttpRetUpload(const char* /*api*/, int /*curlCode*/, unsigned /*elapsedMs*/,
                                 const char* /*url*/) {}

protected:
    // Not virtual: the library never deletes an observer.
    ~CUserCallBack() = default;
};

}  // namespace ICallBack

// libcurl's global set-up and clean-up. uninit first stops every running request, all of them at
// once, waiting for them together at most 3 seconds in all; when a worker is left running (see
// the observer contract), the global state is left in place for it.
KESTRUM_VOSSARY_API bool __cdecl init_libZuvraKestrum();
KESTRUM_VOSSARY_API void __cdecl uninit_libZuvraKestrum();

}  // namespace ZuvraKestrum

// Argument of uploadlog, passed by value; the texts are NUL-terminated UTF-8 within their arrays
// (path too).
struct LogUploadRecord {
    ZuvraKestrum::ICallBack::CUserCallBack* observer;
    uint32_t uid;
    int32_t type;
    char path[256];
    int32_t platform;
    char appVersion[256];
    char osVersion[256];
    char text[256];
};
#if defined(__i386__)
static_assert(sizeof(LogUploadRecord) == 1040, "LogUploadRecord layout is shared with callers");
#endif

extern "C" {

using ZuvraKestrum::ICallBack::CUserCallBack;

KESTRUM_VOSSARY_API void __cdecl getToken(CUserCallBack* observer, int device, int channel,
                                          const char* name, const char* photoUrl);
// Synchronous: stores the token, uid, nickname, room id and portrait id used by later requests.
KESTRUM_VOSSARY_API void __cdecl setUserInfo(const char* token, const char* uid, const char* nick,
                                             const char* rid, const char* portraitId);
KESTRUM_VOSSARY_API void __cdecl updateInfo(CUserCallBack* observer, const char* password,
                                            const char* name, const char* portraitId);
// The HANDLE results are the worker threads; they stay owned by the library (wait on them, never
// close them). NULL when no worker was started. filePath: UTF-8 (see above); getPhoto writes
// beside it (filePath + ".part") and renames that over it.
KESTRUM_VOSSARY_API HANDLE __cdecl updatePhoto(CUserCallBack* observer, const char* filePath);
KESTRUM_VOSSARY_API HANDLE __cdecl getPhoto(CUserCallBack* observer, const char* uid,
                                            const char* portraitId, const char* filePath);
// api: NULL for all account requests, else one of the library's own api texts (compared by
// address, as received in onCallBackError/onHttpRetUpload).
KESTRUM_VOSSARY_API void __cdecl releaseAccountObserver(const char* api);

KESTRUM_VOSSARY_API void __cdecl joinRoom(CUserCallBack* observer, const char* rid,
                                          const char* appVersion, const char* platform,
                                          const char* pwd);
KESTRUM_VOSSARY_API void __cdecl createRoom(CUserCallBack* observer, const char* rid,
                                            const char* pwd, const char* topic, int initialStatus);
KESTRUM_VOSSARY_API void __cdecl updateRoom(CUserCallBack* observer, const char* rid,
                                            const std::vector<std::string>& hosts,
                                            int initialStatus, const char* topic, const char* pwd);
KESTRUM_VOSSARY_API HANDLE __cdecl getRoom(CUserCallBack* observer);
KESTRUM_VOSSARY_API void __cdecl ctrlRoom(CUserCallBack* observer, const char* op,
                                          const std::vector<std::string>& targets);
KESTRUM_VOSSARY_API HANDLE __cdecl configRoom(CUserCallBack* observer);
// api: NULL for all meeting requests, else compared by address like releaseAccountObserver.
KESTRUM_VOSSARY_API void __cdecl releaseMeetingObserver(const char* api);

KESTRUM_VOSSARY_API void __cdecl uploadlog(LogUploadRecord record);

// The signalling handle (socketio_interface.h). While none exists one is created with this
// observer (when not null); while one exists that one is returned and keeps its first observer.
// Null only when creation failed. While a handle exists the library stays loaded.
KESTRUM_VOSSARY_API ZuvraKestrum::socketio::ISocketIOInterface* __cdecl createSocketIOHandle(
    ZuvraKestrum::socketio::CSocketIOCallBack* observer);
// Closes the connection and deletes the handle, so that the next createSocketIOHandle starts
// afresh; once it returns the observer gets no further call. It does not wait for the server: the
// close finishes in the background (cut off after a short grace when the server does not answer)
// and uninit_libZuvraKestrum waits for what is left of it. Null is ignored. Must not be called
// from an observer call.
KESTRUM_VOSSARY_API void __cdecl destorySocketIOHandle(
    ZuvraKestrum::socketio::ISocketIOInterface* handle);

}  // extern "C"
