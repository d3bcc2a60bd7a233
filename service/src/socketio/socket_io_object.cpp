#include "socketio/socket_io_object.h"

#include <utility>

#include "debug_log.h"
#include "socketio/socket_payload.h"

namespace kestrum::service {

CSocketIOObject::CSocketIOObject(std::string origin, const ksio::ReconnectPolicy& policy)
    : origin_(std::move(origin)), client_(std::make_unique<ksio::Client>()) {
    client_->SetReconnectPolicy(policy);
    BindListeners();
}

CSocketIOObject::~CSocketIOObject() { Disconnect(); }

void CSocketIOObject::BindListeners() {
    client_->SetOpenListener([this] { onSocketStatus_Open(); });
    client_->SetCloseListener([this](ksio::CloseReason) { onSocketStatus_Close(); });
    client_->SetFailListener([this](const std::string& reason) {
        DebugLog("socket.io %s: connection failed: %s\n", origin_.c_str(), reason.c_str());
        onSocketStatus_Fail();
    });
    client_->SetReconnectListener(
        [this](unsigned, std::chrono::milliseconds, const std::string& cause) {
            if (!cause.empty()) DebugLog("socket.io %s: %s\n", origin_.c_str(), cause.c_str());
            onSocketStatus_Reconnect();
        });
    client_->SetDropListener([this](const std::string& what) {
        DebugLog("socket.io %s: %s\n", origin_.c_str(), what.c_str());
    });
}

void CSocketIOObject::Connect(const std::map<std::string, std::string>& query,
                              const std::string& token) {
    // Registered before the connection is asked for, so that nothing the server sends early
    // can slip past a handler that is not there yet.
    RegisterEvents();
    // The server holds a reconnected client for a new, unauthorized one.
    client_->DefaultSocket().EmitOnEveryConnect("authorize", {ksio::Message::FromString(token)});
    client_->Connect(origin_, query);
}

void CSocketIOObject::UpdateQuery(const std::string& key, const std::string& value) {
    client_->SetQueryValue(key, value);
}

void CSocketIOObject::Emit(const std::string& event, const std::string& text) {
    client_->DefaultSocket().Emit(event, {ksio::Message::FromString(text)});
}

void CSocketIOObject::Disconnect() {
    if (!client_) return;
    client_->SyncClose();
    client_->ClearConnectionListeners();
}

void CSocketIOObject::Disconnect(ksio::ClosingClients& closes) { closes.Adopt(std::move(client_)); }

void CSocketIOObject::On(const char* event, void (CSocketIOObject::*read)(const Payload&)) {
    client_->DefaultSocket().On(event,
                                [this, read](const ksio::Event& e) { (this->*read)(e.Arg(0)); });
}

void CSocketIOObject::RegisterEvents() {
    On("user-error", &CSocketIOObject::ReadUserError);
    On("user-join", &CSocketIOObject::ReadUserJoin);
    On("user-list", &CSocketIOObject::ReadUserList);
    On("user-leave", &CSocketIOObject::ReadUserLeave);
    On("room-info", &CSocketIOObject::ReadRoomInfo);
    On("user-info", &CSocketIOObject::ReadUserInfo);
    On("user-operation", &CSocketIOObject::ReadUserOperation);
    On("user-recv-msg", &CSocketIOObject::ReadUserMsg);
    On("request-result", &CSocketIOObject::ReadRequestResult);
    On("user-request", &CSocketIOObject::ReadUserRequest);
    On("user-response", &CSocketIOObject::ReadUserResponse);
}

void CSocketIOObject::ReadUserError(const Payload& data) {
    const payload::UserError error = payload::ReadUserError(data);
    onSocketUserError(error.code, error.text.c_str());
}

void CSocketIOObject::ReadUserJoin(const Payload& data) {
    const UserInfoRecord user = payload::ReadUser(data);
    onSocketUserJoin(&user);
}

void CSocketIOObject::ReadUserList(const Payload& data) {
    if (data.GetType() != Payload::Type::Array) return;
    onSocketUserList(payload::ReadUsers(data));
}

void CSocketIOObject::ReadUserLeave(const Payload& data) {
    onSocketUserLeave(payload::ReadText(data.Get("uid")).c_str());
}

void CSocketIOObject::ReadRoomInfo(const Payload& data) {
    const RoomInfoRecord room = payload::ReadRoom(data);
    onSocketRoomInfo(&room);
}

void CSocketIOObject::ReadUserInfo(const Payload& data) {
    const UserInfoRecord user = payload::ReadUser(data, false);
    onSocketUserInfo(&user);
}

void CSocketIOObject::ReadUserOperation(const Payload& data) {
    const payload::UserOperation operation = payload::ReadUserOperation(data);
    onSocketUserOperator(operation.operatorUid.c_str(), operation.type.c_str(),
                         operation.target.c_str(), operation.users);
}

void CSocketIOObject::ReadUserMsg(const Payload& data) {
    onSocketUserMsg(payload::ReadText(data.Get("uid")).c_str(),
                    payload::ReadText(data.Get("msg")).c_str());
}

void CSocketIOObject::ReadRequestResult(const Payload& data) {
    onSocketRequestResult(payload::ReadText(data.Get("op")).c_str(),
                          payload::ReadText(data.Get("requestId")).c_str(),
                          payload::ReadText(data.Get("target")).c_str());
}

void CSocketIOObject::ReadUserRequest(const Payload& data) {
    onSocketUserRequest(payload::ReadText(data.Get("op")).c_str(),
                        payload::ReadText(data.Get("sender")).c_str(),
                        payload::ReadText(data.Get("requestId")).c_str());
}

void CSocketIOObject::ReadUserResponse(const Payload& data) {
    onSocketUserResponse(payload::ReadBool(data.Get("success")),
                         payload::ReadText(data.Get("requestId")).c_str(), "",
                         payload::ReadText(data.Get("reason")).c_str(),
                         payload::ReadText(data.Get("sender")).c_str(),
                         payload::ReadText(data.Get("target")).c_str());
}

}  // namespace kestrum::service
