// The exported functions: each one hands its arguments to its request kind's singleton.

#include <curl/curl.h>

#include <atomic>

#include "account/kestrum_user_get_photo.h"
#include "account/kestrum_user_token.h"
#include "account/kestrum_user_update.h"
#include "account/kestrum_user_update_photo.h"
#include "api_names.h"
#include "debug_log.h"
#include "feedback/kestrum_log_upload.h"
#include "kestrum/service/vossary_api.h"
#include "meeting/kestrum_meeting_config_room.h"
#include "meeting/kestrum_meeting_create_room.h"
#include "meeting/kestrum_meeting_get_room.h"
#include "meeting/kestrum_meeting_join_room.h"
#include "meeting/kestrum_meeting_room_ctrl.h"
#include "meeting/kestrum_meeting_update_room.h"
#include "shared_user_info.h"
#include "socketio/kestrum_socket_io.h"

using namespace kestrum::service;

namespace {

// Callers may pass NULL for a text; it counts as "".
std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

// Forgets the observer of kind T when api is NULL or is T's own api text (by address). A kind
// never used has no observer to forget.
template <class T>
void ReleaseIfNamed(const char* api) {
    T* request = T::existingInstance();
    if (!request || (api && api != request->Api())) return;
    request->ReleaseObserver();
}

// Stops the running request of every kind that exists, all at once, and waits for them
// together within one bound (CCurlObject::StopTogether); true when none is left running.
template <class... Kinds>
bool StopAll() {
    return CCurlObject::StopTogether({static_cast<CCurlObject*>(Kinds::existingInstance())...});
}

// How many times uninit has released libcurl's global state: the tests' only view of whether
// it did.
std::atomic<long> globalCleanups{0};

}  // namespace

namespace ZuvraKestrum {

bool __cdecl init_libZuvraKestrum() { return curl_global_init(CURL_GLOBAL_ALL) == CURLE_OK; }

void __cdecl uninit_libZuvraKestrum() {
    // The signalling connections of destroyed handles finish their closes first: the library
    // stops with no thread of its own left.
    CKestrumSocketIO::Closes().FinishAll();
    // A transfer still running over the global state would fail or crash after the clean-up.
    const bool stopped =
        StopAll<CKestrumUserToken, CKestrumUserUpdate, CKestrumUserUpdatePhoto,
                CKestrumUserGetPhoto, CKestrumMeetingJoinRoom, CKestrumMeetingCreateRoom,
                CKestrumMeetingUpdateRoom, CKestrumMeetingGetRoom, CKestrumMeetingRoomCtrl,
                CKestrumMeetingConfigRoom, CKestrumLogUpload>();
    if (!stopped) {
        DebugLog("uninit: a worker is still running; libcurl's global state is left to it\n");
        return;
    }
    curl_global_cleanup();
    ++globalCleanups;
}

}  // namespace ZuvraKestrum

extern "C" {

void __cdecl getToken(CUserCallBack* observer, int device, int channel, const char* name,
                      const char* photoUrl) {
    CKestrumUserToken::getInstance()->Request(observer, device, channel, Text(name),
                                              Text(photoUrl));
}

void __cdecl setUserInfo(const char* token, const char* uid, const char* nick, const char* rid,
                         const char* portraitId) {
    CSharedUserInfo::Instance().SetAll(Text(token), Text(uid), Text(nick), Text(rid),
                                       Text(portraitId));
}

void __cdecl updateInfo(CUserCallBack* observer, const char* password, const char* name,
                        const char* portraitId) {
    CKestrumUserUpdate::getInstance()->Request(observer, Text(password), Text(name),
                                               Text(portraitId));
}

HANDLE __cdecl updatePhoto(CUserCallBack* observer, const char* filePath) {
    return CKestrumUserUpdatePhoto::getInstance()->Request(observer, Text(filePath));
}

HANDLE __cdecl getPhoto(CUserCallBack* observer, const char* uid, const char* portraitId,
                        const char* filePath) {
    return CKestrumUserGetPhoto::getInstance()->Request(observer, Text(uid), Text(portraitId),
                                                        Text(filePath));
}

void __cdecl releaseAccountObserver(const char* api) {
    ReleaseIfNamed<CKestrumUserToken>(api);
    ReleaseIfNamed<CKestrumUserUpdate>(api);
    ReleaseIfNamed<CKestrumUserUpdatePhoto>(api);
    ReleaseIfNamed<CKestrumUserGetPhoto>(api);
}

void __cdecl joinRoom(CUserCallBack* observer, const char* rid, const char*, const char*,
                      const char* pwd) {
    CKestrumMeetingJoinRoom::getInstance()->Request(observer, Text(rid), Text(pwd));
}

void __cdecl createRoom(CUserCallBack* observer, const char* rid, const char* pwd,
                        const char* topic, int initialStatus) {
    CKestrumMeetingCreateRoom::getInstance()->Request(observer, Text(rid), Text(pwd), Text(topic),
                                                      initialStatus);
}

void __cdecl updateRoom(CUserCallBack* observer, const char* rid,
                        const std::vector<std::string>& hosts, int initialStatus, const char* topic,
                        const char* pwd) {
    CKestrumMeetingUpdateRoom::getInstance()->Request(observer, Text(rid), hosts, initialStatus,
                                                      Text(topic), Text(pwd));
}

HANDLE __cdecl getRoom(CUserCallBack* observer) {
    return CKestrumMeetingGetRoom::getInstance()->Request(observer);
}

void __cdecl ctrlRoom(CUserCallBack* observer, const char* op,
                      const std::vector<std::string>& targets) {
    CKestrumMeetingRoomCtrl::getInstance()->Request(observer, Text(op), targets);
}

HANDLE __cdecl configRoom(CUserCallBack* observer) {
    return CKestrumMeetingConfigRoom::getInstance()->Request(observer);
}

void __cdecl releaseMeetingObserver(const char* api) {
    ReleaseIfNamed<CKestrumMeetingJoinRoom>(api);
    ReleaseIfNamed<CKestrumMeetingCreateRoom>(api);
    ReleaseIfNamed<CKestrumMeetingUpdateRoom>(api);
    ReleaseIfNamed<CKestrumMeetingGetRoom>(api);
    ReleaseIfNamed<CKestrumMeetingRoomCtrl>(api);
    ReleaseIfNamed<CKestrumMeetingConfigRoom>(api);
}

void __cdecl uploadlog(LogUploadRecord record) {
    CKestrumLogUpload::getInstance()->Request(record);
}

ZuvraKestrum::socketio::ISocketIOInterface* __cdecl createSocketIOHandle(
    ZuvraKestrum::socketio::CSocketIOCallBack* observer) {
    try {
        return CKestrumSocketIO::getInstance(observer);
    } catch (...) {
        return nullptr;
    }
}

void __cdecl destorySocketIOHandle(ZuvraKestrum::socketio::ISocketIOInterface* handle) {
    delete handle;
}

#if defined(KESTRUM_VOSSARY_TEST_HOOKS)
// Only in the tests' own build of the library (bin/testing/): the shipped DLL exports the declared
// names alone.
KESTRUM_VOSSARY_API long __cdecl globalCleanupsForTesting() { return globalCleanups.load(); }
#endif

}  // extern "C"
