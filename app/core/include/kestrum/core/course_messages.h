#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kestrum/core/posted_payload.h"
#include "kestrum/records/room_info_record.h"
#include "kestrum/records/user_info_record.h"

// Service results and signalling events as window messages: CKestrumCourse posts them to its
// target window (or a dialog) with a heap record in WPARAM (LPARAM 0), under the ownership rules
// of posted_payload.h: a handler takes its record, a window frees the payload of a course message
// it does not handle with FreeCoursePayload, and one that goes away frees those still queued for
// it, id by id of this table. 0x50D and 0x50F are never posted.
//
// Every text of these records is UTF-8, as the service and the meeting data hold it: chat
// messages and nicknames too. Receivers widen a text they show with Utf8ToCString; the ANSI
// code page would turn Chinese on a Western system, and emoji on any, into "?".

// The one table of the course messages: name, number, what WPARAM carries (posted_payload.h).
// The enum, the payload types and FreeCoursePayload all come from it.
#define KESTRUM_COURSE_MESSAGES(X)                                                               \
    X(WM_ACCOUNT_ERROR, 0x509, StringPairPayload) /* {api, errorMsg, code} */                    \
    X(WM_USER_TOKEN, 0x50A, TokenPayload)                                                        \
    X(WM_USER_UPDATE, 0x50B, void)                                                               \
    X(WM_GET_PHOTO, 0x50C, std::string) /* portrait id */                                        \
    X(WM_JOIN_ROOM, 0x50E, JoinRoomPayload)                                                      \
    X(WM_UPDATE_ROOM, 0x510, void)                                                               \
    X(WM_SOCKET_FAIL, 0x511, void) /* a connection was refused */                                \
    X(WM_ROOM_CTRL, 0x512, RoomCtrlPayload)                                                      \
    X(WM_CONFIG_ROOM, 0x513, ConfigRoomPayload)                                                  \
    X(WM_SOCKET_OPEN, 0x514, void)                                                               \
    X(WM_SOCKET_RECONNECT, 0x515, void)                                                          \
    X(WM_SOCKET_USER_ERROR, 0x516, SocketErrorPayload)                                           \
    X(WM_SOCKET_JOIN_SUCCESS, 0x517, UserInfoRecord)                                             \
    X(WM_SOCKET_USER_JOIN, 0x518, UserInfoRecord)                                                \
    X(WM_SOCKET_USER_LEAVE, 0x519, std::string) /* uid */                                        \
    X(WM_SOCKET_USER_LIST, 0x51A, std::vector<UserInfoRecord>)                                   \
    X(WM_SOCKET_ROOM_INFO, 0x51B, RoomInfoRecord)                                                \
    X(WM_SOCKET_USER_OPERATOR, 0x51C, UserOperatorPayload)                                       \
    X(WM_SOCKET_USER_INFO, 0x51D, UserInfoRecord)                                                \
    X(WM_SOCKET_USER_MSG, 0x51E, StringPairPayload)          /* {uid, message} */                \
    X(WM_SOCKET_REQUEST_RESULT, 0x51F, SocketRequestPayload) /* {op, requestId, target, nick} */ \
    X(WM_SOCKET_USER_REQUEST, 0x520, SocketRequestPayload)   /* {op, sender, requestId, nick} */ \
    X(WM_SOCKET_USER_RESPONSE, 0x521, SocketResponsePayload)                                     \
    X(WM_HTTP_RESULT, 0x52C, InWParam<int>) /* the transfer (curl) code */

enum CourseMessage : UINT { KESTRUM_COURSE_MESSAGES(KESTRUM_MESSAGE_ENUMERATOR) };

constexpr UINT WM_COURSE_FIRST = WM_ACCOUNT_ERROR;
constexpr UINT WM_COURSE_LAST = WM_HTTP_RESULT;

// Payload records; all texts UTF-8 (see above).

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

// The versions as the service wrote them ("1.10", "2.1.0"): read as decimal numbers they would
// order 1.10 below 1.9.
struct ConfigRoomPayload {
    std::string minimumVersion;
    std::string minimumUrl;
    std::string latestVersion;
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

// The four texts in the order the message's comment gives; the nickname comes from the meeting
// data (empty when it knows no such participant, and possibly for the last events of a
// connection that is being closed).
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
    std::string targetNickname;  // as SocketRequestPayload::nickname
    std::string spare;           // always empty
};

KESTRUM_COURSE_MESSAGES(KESTRUM_MESSAGE_PAYLOAD)

// Frees the payload of a course message with everything in it; null payloads, messages that
// carry none and messages outside 0x509-0x52C are ignored. Any thread.
void FreeCoursePayload(UINT message, WPARAM payload);
