#include "kestrum/core/course_messages.h"

namespace {

template <class Record>
void Delete(WPARAM payload) {
    delete reinterpret_cast<Record*>(payload);
}

}  // namespace

void FreeCoursePayload(UINT message, WPARAM payload) {
    if (!payload) return;
    switch (message) {
        case WM_ACCOUNT_ERROR:
        case WM_SOCKET_USER_MSG:
            return Delete<StringPairPayload>(payload);
        case WM_USER_TOKEN:
            return Delete<TokenPayload>(payload);
        case WM_GET_PHOTO:
        case WM_SOCKET_USER_LEAVE:
            return Delete<std::string>(payload);
        case WM_JOIN_ROOM:
            return Delete<JoinRoomPayload>(payload);
        case WM_ROOM_CTRL:
            return Delete<RoomCtrlPayload>(payload);
        case WM_CONFIG_ROOM:
            return Delete<ConfigRoomPayload>(payload);
        case WM_SOCKET_USER_ERROR:
            return Delete<SocketErrorPayload>(payload);
        case WM_SOCKET_JOIN_SUCCESS:
        case WM_SOCKET_USER_JOIN:
        case WM_SOCKET_USER_INFO:
            return Delete<UserInfoRecord>(payload);
        case WM_SOCKET_USER_LIST:
            return Delete<std::vector<UserInfoRecord>>(payload);
        case WM_SOCKET_ROOM_INFO:
            return Delete<RoomInfoRecord>(payload);
        case WM_SOCKET_USER_OPERATOR:
            return Delete<UserOperatorPayload>(payload);
        case WM_SOCKET_REQUEST_RESULT:
        case WM_SOCKET_USER_REQUEST:
            return Delete<SocketRequestPayload>(payload);
        case WM_SOCKET_USER_RESPONSE:
            return Delete<SocketResponsePayload>(payload);
        default:
            return;  // carries nothing (WM_HTTP_RESULT's WPARAM is a code), or not ours
    }
}
