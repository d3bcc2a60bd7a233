#pragma once

#include <windows.h>

#include "kestrum/common/singleton.h"
#include "kestrum/service/socketio_interface.h"
#include "socketio/socket_io_object.h"

namespace kestrum::service {

// The signalling handle handed out by createSocketIOHandle: the connection (CSocketIOObject)
// towards the configured signalling origin, forwarding every notification to the observer stored
// by Init, and the caller's operations (ISocketIOInterface).
//
// Threads: created and deleted under the singleton's lock by the exports, on the caller's
// thread; operations on the caller's threads; notifications on the network thread, dropped while
// no observer is stored. The observer is set once by Init before any connection exists, so the
// network thread reads it without a lock.
//
// Module lifetime: the handle holds a reference on the module containing this code, so that the
// library is never unloaded (and the network thread never joined under the loader lock) while a
// handle exists; deleting the handle drops it, and Closes() holds its own while a close finishes.
class CKestrumSocketIO : public CSingleton<CKestrumSocketIO>,
                         public CSocketIOObject,
                         public ZuvraKestrum::socketio::ISocketIOInterface {
public:
    using Observer = ZuvraKestrum::socketio::CSocketIOCallBack;

    CKestrumSocketIO();
    // Ends the connection without waiting for the server: once it returns the observer hears
    // nothing more; the rest of the close finishes on Closes().
    ~CKestrumSocketIO() override;

    // Where the closes of destroyed handles finish: built as the library loads, before the
    // holders (so that it outlives them), and ended by uninit_libZuvraKestrum.
    static ksio::ClosingClients& Closes();

    // argument: the Observer*; a null one is not stored.
    void Init(void* argument) override;

    bool connect(const std::map<std::string, std::string>& query, const char* token) override;
    bool broadcast(const char* text) override;
    bool sendRequest(const char* op, const char* target, const char* rid) override;
    bool sendResponse(const char* requestId, bool accept, const char* rid) override;
    bool updateQuery(const char* key, const char* value) override;

protected:
    void onSocketStatus_Open() override;
    void onSocketStatus_Close() override;
    void onSocketStatus_Fail() override;
    void onSocketStatus_Reconnect() override;
    void onSocketUserError(int code, const char* text) override;
    // The own user (uid equal to the signed-in uid) gives onSocketJoinSuccess.
    void onSocketUserJoin(const UserInfoRecord* user) override;
    void onSocketUserList(const std::vector<UserInfoRecord>& users) override;
    void onSocketUserLeave(const char* uid) override;
    void onSocketRoomInfo(const RoomInfoRecord* room) override;
    void onSocketUserInfo(const UserInfoRecord* user) override;
    void onSocketUserOperator(const char* operatorUid, const char* type, const char* target,
                              const std::vector<UserInfoRecord>& users) override;
    void onSocketUserMsg(const char* uid, const char* msg) override;
    void onSocketRequestResult(const char* op, const char* requestId, const char* target) override;
    void onSocketUserRequest(const char* op, const char* sender, const char* requestId) override;
    void onSocketUserResponse(bool success, const char* requestId, const char* spare,
                              const char* reason, const char* sender, const char* target) override;

private:
    // Calls notify(observer) when an observer is stored.
    template <class Call>
    void Forward(Call&& notify) {
        if (observer_) notify(observer_);
    }

    HMODULE module_ = nullptr;
    Observer* observer_ = nullptr;
};

// The compact text {"op":…,"target":…,"rid":…} of sendRequest.
std::string RequestText(const char* op, const char* target, const char* rid);
// The indented text {"requestId":…,"accept":1|0,"rid":…} of sendResponse.
std::string ResponseText(const char* requestId, bool accept, const char* rid);

}  // namespace kestrum::service
