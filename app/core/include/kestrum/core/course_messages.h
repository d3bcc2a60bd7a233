#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kestrum/records/room_info_record.h"
#include "kestrum/records/user_info_record.h"

// Service results and signalling events as window messages: CKestrumCourse posts them with a
// heap payload in WPARAM (LPARAM 0). The receiver owns the payload and frees it with
// FreeCoursePayload on every path, also for a message it does not act on. Messages listed as
// carrying nothing have WPARAM 0; WM_HTTP_RESULT carries the transfer code itself in WPARAM.
// 0x50D, 0x50F and 0x511 are never posted.

enum CourseMessage : UINT {
    WM_ACCOUNT_ERROR = 0x509,          // StringPairPayload {api, errorMsg, code}
    WM_USER_TOKEN = 0x50A,             // TokenPayload
    WM_USER_UPDATE = 0x50B,            // nothing
    WM_GET_PHOTO = 0x50C,              // std::string portrait id
    WM_JOIN_ROOM = 0x50E,              // JoinRoomPayload
    WM_UPDATE_ROOM = 0x510,            // nothing
    WM_ROOM_CTRL = 0x512,              // RoomCtrlPayload
    WM_CONFIG_ROOM = 0x513,            // ConfigRoomPayload
    WM_SOCKET_OPEN = 0x514,            // nothing
    WM_SOCKET_RECONNECT = 0x515,       // nothing
    WM_SOCKET_USER_ERROR = 0x516,      // SocketErrorPayload
    WM_SOCKET_JOIN_SUCCESS = 0x517,    // UserInfoRecord
    WM_SOCKET_USER_JOIN = 0x518,       // UserInfoRecord
    WM_SOCKET_USER_LEAVE = 0x519,      // std::string uid
    WM_SOCKET_USER_LIST = 0x51A,       // std::vector<UserInfoRecord>
    WM_SOCKET_ROOM_INFO = 0x51B,       // RoomInfoRecord
    WM_SOCKET_USER_OPERATOR = 0x51C,   // UserOperatorPayload
    WM_SOCKET_USER_INFO = 0x51D,       // UserInfoRecord
    WM_SOCKET_USER_MSG = 0x51E,        // StringPairPayload {uid, message in the ANSI code page}
    WM_SOCKET_REQUEST_RESULT = 0x51F,  // SocketRequestPayload {op, requestId, target, nickname}
    WM_SOCKET_USER_REQUEST = 0x520,    // SocketRequestPayload {op, sender, requestId, nickname}
    WM_SOCKET_USER_RESPONSE = 0x521,   // SocketResponsePayload
    WM_HTTP_RESULT = 0x52C,            // WPARAM: the transfer (curl) code, no heap payload
};

// Payload records. Texts are UTF-8 as the service gave them unless noted.

struct StringPairPayload {
    std::string text1;
    std::string text2;
    int32_t code = 0;  // WM_ACCOUNT_ERROR only
};

struct TokenPayload {
    std::string uid;
    std::string name;
    std::string portraitId;
    int32_t streamId = 0;
    std::string token;
};

struct JoinRoomPayload {
    std::string rid;
    std::string topic;
    int32_t signalAccount = 0;
    int32_t initialStatus = 0;
    std::vector<std::string> hosts;
    std::string mediaToken;
};

struct RoomCtrlPayload {
    int32_t shareId = 0;
    std::string mediaToken;
};

struct ConfigRoomPayload {
    double minimumVersion = 0;
    std::string minimumUrl;
    double latestVersion = 0;
    std::string latestUrl;
    int32_t maxRequestTimeout = 0;
    int32_t unmuteRequestTimeout = 0;
};

struct SocketErrorPayload {
    std::string text;
    int32_t code = 0;
};

struct UserOperatorPayload {
    std::string operatorUid;
    std::string target;
    std::string type;
    std::vector<UserInfoRecord> users;
};

// The four texts in the order the message's comment gives; the nickname is in the ANSI code
// page (empty when the meeting data knows no such participant).
struct SocketRequestPayload {
    std::string text1;
    std::string text2;
    std::string text3;
    std::string nickname;
};

struct SocketResponsePayload {
    bool success = false;
    std::string requestId;
    std::string reason;
    std::string sender;
    std::string target;
    std::string targetNickname;  // ANSI code page
    std::string spare;           // always empty
};

// Frees the payload of a course message with everything in it; null payloads, messages that
// carry none and messages outside 0x509-0x52C are ignored. Any thread.
void FreeCoursePayload(UINT message, WPARAM payload);
