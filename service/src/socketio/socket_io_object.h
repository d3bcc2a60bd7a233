#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "kestrum/records/room_info_record.h"
#include "kestrum/records/user_info_record.h"
#include "kestrum/sio/client.h"
#include "kestrum/sio/closing_clients.h"

namespace kestrum::service {

// Owns the socket.io connection to the signalling server: binds the connection listeners when
// built, registers the server events on Connect and sends "authorize" on every namespace
// connection, emits single-text events, and turns every listener call and event payload into one
// of the notification operations below (empty here; a derived class overrides what it wants).
//
// Connection notifications: onSocketStatus_Open on every namespace connection (authorized
// first); onSocketStatus_Reconnect when an automatic attempt is scheduled after a failed attempt
// or a lost connection; onSocketStatus_Fail, ending the connection, when the attempts are used up
// or the server refuses the namespace (the refusal's message goes to the debug log; a refusal is
// never retried, the caller decides); onSocketStatus_Close when it ends otherwise.
//
// Threads: the notifications run on the client's network thread. Connect, Emit and Disconnect
// may be called on any other thread; none of them may be called from inside a notification.
// After Disconnect (either) or the destructor has returned, no notification runs any more, so a
// derived class calls Disconnect first in its own destructor. Nothing but Disconnect may be called
// after it.
class CSocketIOObject {
public:
    // origin: "http://host[:port]" of the server (plain HTTP). policy: the automatic reconnection
    // (the client's default unless a test wants shorter delays).
    explicit CSocketIOObject(std::string origin,
                             const ksio::ReconnectPolicy& policy = ksio::ReconnectPolicy());
    virtual ~CSocketIOObject();

    CSocketIOObject(const CSocketIOObject&) = delete;
    CSocketIOObject& operator=(const CSocketIOObject&) = delete;

    // Registers the eleven server events and asks for the connection with these query pairs (no
    // extra headers); "authorize" with the token goes out first on each namespace connection,
    // the automatic reconnections included. One connection per object: later calls are ignored
    // by the client.
    void Connect(const std::map<std::string, std::string>& query, const std::string& token);
    // One query pair for the connection attempts from now on (automatic reconnections
    // included); nothing before Connect.
    void UpdateQuery(const std::string& key, const std::string& value);
    // Emits the event with the text as its only argument, without acknowledgement; queued until
    // the namespace is connected.
    void Emit(const std::string& event, const std::string& text);
    // Closes the connection, cancels pending reconnections and waits for the network thread to
    // end; then forgets the listeners. Idempotent.
    void Disconnect();
    // The same without waiting for the server: once it returns no notification runs any more,
    // and the rest of the close (the server's answer, within a short grace) finishes on closes.
    void Disconnect(ksio::ClosingClients& closes);

    const std::string& Origin() const { return origin_; }

protected:
    virtual void onSocketStatus_Open() {}
    virtual void onSocketStatus_Close() {}
    virtual void onSocketStatus_Fail() {}
    virtual void onSocketStatus_Reconnect() {}
    virtual void onSocketUserError(int /*code*/, const char* /*text*/) {}
    virtual void onSocketUserJoin(const UserInfoRecord* /*user*/) {}
    virtual void onSocketUserList(const std::vector<UserInfoRecord>& /*users*/) {}
    virtual void onSocketUserLeave(const char* /*uid*/) {}
    virtual void onSocketRoomInfo(const RoomInfoRecord* /*room*/) {}
    virtual void onSocketUserInfo(const UserInfoRecord* /*user*/) {}
    virtual void onSocketUserOperator(const char* /*operatorUid*/, const char* /*type*/,
                                      const char* /*target*/,
                                      const std::vector<UserInfoRecord>& /*users*/) {}
    virtual void onSocketUserMsg(const char* /*uid*/, const char* /*msg*/) {}
    virtual void onSocketRequestResult(const char* /*op*/, const char* /*requestId*/,
                                       const char* /*target*/) {}
    virtual void onSocketUserRequest(const char* /*op*/, const char* /*sender*/,
                                     const char* /*requestId*/) {}
    virtual void onSocketUserResponse(bool /*success*/, const char* /*requestId*/,
                                      const char* /*spare*/, const char* /*reason*/,
                                      const char* /*sender*/, const char* /*target*/) {}

private:
    using Payload = ksio::Message;

    void BindListeners();
    void RegisterEvents();
    void On(const char* event, void (CSocketIOObject::*read)(const Payload&));

    void ReadUserError(const Payload& data);
    void ReadUserJoin(const Payload& data);
    void ReadUserList(const Payload& data);
    void ReadUserLeave(const Payload& data);
    void ReadRoomInfo(const Payload& data);
    void ReadUserInfo(const Payload& data);
    void ReadUserOperation(const Payload& data);
    void ReadUserMsg(const Payload& data);
    void ReadRequestResult(const Payload& data);
    void ReadUserRequest(const Payload& data);
    void ReadUserResponse(const Payload& data);

    const std::string origin_;
    std::unique_ptr<ksio::Client> client_;
};

}  // namespace kestrum::service
