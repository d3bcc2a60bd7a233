// Load and unload of the library: the user texts and the request kinds' holders, in the order
// they must be built (and, reversed, torn down), and the process-exit guard.

#include <windows.h>

#include "account/kestrum_user_get_photo.h"
#include "account/kestrum_user_token.h"
#include "account/kestrum_user_update.h"
#include "account/kestrum_user_update_photo.h"
#include "feedback/kestrum_log_upload.h"
#include "kestrum/common/singleton.h"
#include "meeting/kestrum_meeting_config_room.h"
#include "meeting/kestrum_meeting_create_room.h"
#include "meeting/kestrum_meeting_get_room.h"
#include "meeting/kestrum_meeting_join_room.h"
#include "meeting/kestrum_meeting_room_ctrl.h"
#include "meeting/kestrum_meeting_update_room.h"
#include "service_endpoints.h"
#include "shared_user_info.h"
#include "socketio/kestrum_socket_io.h"
#include "socketio/signalling_origin.h"

using namespace kestrum::service;

namespace {

// Built first so that it is destroyed after every request object.
CSharedUserInfo& sharedUser = CSharedUserInfo::Instance();
// Built before the holders, so that a handle the socket.io holder deletes still has it.
ksio::ClosingClients& socketCloses = CKestrumSocketIO::Closes();

CSingleton<CKestrumUserToken>::CGrabo userTokenHolder;
CSingleton<CKestrumUserUpdate>::CGrabo userUpdateHolder;
CSingleton<CKestrumUserUpdatePhoto>::CGrabo userUpdatePhotoHolder;
CSingleton<CKestrumUserGetPhoto>::CGrabo userGetPhotoHolder;
CSingleton<CKestrumMeetingJoinRoom>::CGrabo joinRoomHolder;
CSingleton<CKestrumMeetingCreateRoom>::CGrabo createRoomHolder;
CSingleton<CKestrumMeetingUpdateRoom>::CGrabo updateRoomHolder;
CSingleton<CKestrumMeetingGetRoom>::CGrabo getRoomHolder;
CSingleton<CKestrumMeetingRoomCtrl>::CGrabo roomCtrlHolder;
CSingleton<CKestrumMeetingConfigRoom>::CGrabo configRoomHolder;
CSingleton<CKestrumLogUpload>::CGrabo logUploadHolder;
CSingleton<CKestrumSocketIO>::CGrabo socketIOHolder;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        // The endpoints are fixed when the library loads: read the environment now.
        Endpoints();
        SignallingOrigin();
        break;
    case DLL_PROCESS_DETACH:
        // Ending process: the other threads are gone, maybe holding locks; the holders that run
        // after this must not stop, join or lock anything.
        if (reserved) kestrum::common::MarkProcessExiting();
        break;
    default:
        break;
    }
    return TRUE;
}
