#pragma once

// The signalling handle of the service library and the observer it reports to. The handle is
// obtained through createSocketIOHandle and given back through destorySocketIOHandle (see
// vossary_api.h); there is at most one at a time.

#include <map>
#include <string>
#include <vector>

#include "kestrum/records/room_info_record.h"
#include "kestrum/records/user_info_record.h"

namespace ZuvraKestrum {
namespace socketio {

// Implemented by the caller. Every call arrives on the signalling network thread, never on the
// caller's own threads; an implementation must return quickly (copy, post, set flags) and must
// not destroy the handle from inside a call. Pointers and references are valid only during the
// call: the callee copies what it keeps.
class CSocketIOCallBack {
public:
    // Connected, with "authorize" sent first: on the first connection and after each automatic
    // reconnection.
    virtual void onSocketStatus_Open() = 0;
    virtual void onSocketStatus_Close() = 0;
    // The connection has ended for good: the automatic attempts are used up, or the server
    // refused the connection (its message is in the library's debug log). A refusal is not
    // retried by the library: connecting again is the caller's decision.
    virtual void onSocketStatus_Fail() = 0;
    // An automatic reconnection attempt has been scheduled after a failed attempt or a lost
    // connection (never after a refusal).
    virtual void onSocketStatus_Reconnect() = 0;
    // Object payload: (its "code", ""); text payload: (-1, the text); anything else: (0, "").
    virtual void onSocketUserError(int code, const char* text) = 0;
    // "user-join" of the signed-in user itself (uid equal byte for byte).
    virtual void onSocketJoinSuccess(const UserInfoRecord* user) = 0;
    // "user-join" of anybody else.
    virtual void onSocketUserJoin(const UserInfoRecord* user) = 0;
    virtual void onSocketUserLeave(const char* uid) = 0;
    virtual void onSocketUserList(const std::vector<UserInfoRecord>& users) = 0;
    virtual void onSocketRoomInfo(const RoomInfoRecord* room) = 0;
    virtual void onSocketUserOperator(const char* operatorUid, const char* type, const char* target,
                                      const std::vector<UserInfoRecord>& users) = 0;
    virtual void onSocketUserInfo(const UserInfoRecord* user) = 0;
    virtual void onSocketUserMsg(const char* uid, const char* msg) = 0;
    virtual void onSocketRequestResult(const char* op, const char* requestId,
                                       const char* target) = 0;
    virtual void onSocketUserRequest(const char* op, const char* sender, const char* requestId) = 0;
    // spare is always "".
    virtual void onSocketUserResponse(bool success, const char* requestId, const char* spare,
                                      const char* reason, const char* sender,
                                      const char* target) = 0;

protected:
    // Not virtual: the library never deletes an observer.
    ~CSocketIOCallBack() = default;
};

// The caller's side of the signalling handle. Operations may be called on any thread except the
// network thread (never from inside an observer call). Each returns true: the outcome of a
// connection or an emit reaches the caller only through the observer.
class ISocketIOInterface {
public:
    // Closes the connection without waiting for the server; use destorySocketIOHandle.
    virtual ~ISocketIOInterface() = default;

    // Connects once per handle with these query pairs (percent-encoded on the wire) and sends
    // "authorize" with the library's stored sign-in token (as it is at this call) on every
    // connection, the automatic reconnections included; the token argument is not used.
    virtual bool connect(const std::map<std::string, std::string>& query, const char* token) = 0;
    // "broadcast" with the chat text (UTF-8) as it stands.
    virtual bool broadcast(const char* text) = 0;
    // "send-request" with the compact JSON text {"op","target","rid"}.
    virtual bool sendRequest(const char* op, const char* target, const char* rid) = 0;
    // "send-response" with the indented JSON text {"requestId","accept":1|0,"rid"}.
    virtual bool sendResponse(const char* requestId, bool accept, const char* rid) = 0;
    // Sets one pair of the query (adds it when new): every connection attempt from now on, the
    // automatic reconnections of this handle included, sends the new value; the connection
    // open now keeps what it was opened with. Before connect it does nothing (connect takes the
    // whole query).
    virtual bool updateQuery(const char* key, const char* value) = 0;
};

}  // namespace socketio
}  // namespace ZuvraKestrum
