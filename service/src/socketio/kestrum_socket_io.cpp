#include "socketio/kestrum_socket_io.h"

#include <cstring>

#include "kestrum/common/module_hold.h"
#include "kestrum/json/json_document.h"
#include "shared_user_info.h"
#include "socketio/signalling_origin.h"

namespace kestrum::service {
namespace {

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

// A record's uid is cut to its field; the stored uid is cut the same way before comparing, so
// that an own uid of more than 255 bytes is still recognised.
bool IsOwnUid(const char* recordUid) {
    char own[kRecordTextSize];
    CopyRecordText(own, CSharedUserInfo::Instance().Uid().c_str());
    return std::strcmp(own, recordUid) == 0;
}

}  // namespace

std::string RequestText(const char* op, const char* target, const char* rid) {
    jdoc::CJsonDocument doc;
    doc.AddStringMember("op", Text(op));
    doc.AddStringMember("target", Text(target));
    doc.AddStringMember("rid", Text(rid));
    return doc.ToCompactText();
}

std::string ResponseText(const char* requestId, bool accept, const char* rid) {
    jdoc::CJsonDocument doc;
    doc.AddStringMember("requestId", Text(requestId));
    doc.AddSignedMember("accept", accept ? 1 : 0);
    doc.AddStringMember("rid", Text(rid));
    return doc.ToIndentedText();
}

CKestrumSocketIO::CKestrumSocketIO()
    : CSocketIOObject(SignallingOrigin()), module_(kestrum::common::HoldOwnModule()) {}

CKestrumSocketIO::~CKestrumSocketIO() {
    // Leaving a meeting must not wait for a server that does not answer.
    Disconnect(Closes());
    // The caller still holds its own reference: the code being run here stays mapped.
    if (module_) FreeLibrary(module_);
}

ksio::ClosingClients& CKestrumSocketIO::Closes() {
    static ksio::ClosingClients closes;
    return closes;
}

void CKestrumSocketIO::Init(void* argument) {
    if (argument) observer_ = static_cast<Observer*>(argument);
}

bool CKestrumSocketIO::connect(const std::map<std::string, std::string>& query, const char*) {
    Connect(query, CSharedUserInfo::Instance().Token());
    return true;
}

bool CKestrumSocketIO::updateQuery(const char* key, const char* value) {
    UpdateQuery(Text(key), Text(value));
    return true;
}

bool CKestrumSocketIO::broadcast(const char* text) {
    Emit("broadcast", Text(text));
    return true;
}

bool CKestrumSocketIO::sendRequest(const char* op, const char* target, const char* rid) {
    Emit("send-request", RequestText(op, target, rid));
    return true;
}

bool CKestrumSocketIO::sendResponse(const char* requestId, bool accept, const char* rid) {
    Emit("send-response", ResponseText(requestId, accept, rid));
    return true;
}

void CKestrumSocketIO::onSocketStatus_Open() {
    Forward([](Observer* o) { o->onSocketStatus_Open(); });
}

void CKestrumSocketIO::onSocketStatus_Close() {
    Forward([](Observer* o) { o->onSocketStatus_Close(); });
}

void CKestrumSocketIO::onSocketStatus_Fail() {
    Forward([](Observer* o) { o->onSocketStatus_Fail(); });
}

void CKestrumSocketIO::onSocketStatus_Reconnect() {
    Forward([](Observer* o) { o->onSocketStatus_Reconnect(); });
}

void CKestrumSocketIO::onSocketUserError(int code, const char* text) {
    Forward([&](Observer* o) { o->onSocketUserError(code, text); });
}

void CKestrumSocketIO::onSocketUserJoin(const UserInfoRecord* user) {
    Forward([&](Observer* o) {
        if (IsOwnUid(user->uid)) {
            o->onSocketJoinSuccess(user);
        } else {
            o->onSocketUserJoin(user);
        }
    });
}

void CKestrumSocketIO::onSocketUserList(const std::vector<UserInfoRecord>& users) {
    Forward([&](Observer* o) { o->onSocketUserList(users); });
}

void CKestrumSocketIO::onSocketUserLeave(const char* uid) {
    Forward([&](Observer* o) { o->onSocketUserLeave(uid); });
}

void CKestrumSocketIO::onSocketRoomInfo(const RoomInfoRecord* room) {
    Forward([&](Observer* o) { o->onSocketRoomInfo(room); });
}

void CKestrumSocketIO::onSocketUserInfo(const UserInfoRecord* user) {
    Forward([&](Observer* o) { o->onSocketUserInfo(user); });
}

void CKestrumSocketIO::onSocketUserOperator(const char* operatorUid, const char* type,
                                            const char* target,
                                            const std::vector<UserInfoRecord>& users) {
    Forward([&](Observer* o) { o->onSocketUserOperator(operatorUid, type, target, users); });
}

void CKestrumSocketIO::onSocketUserMsg(const char* uid, const char* msg) {
    Forward([&](Observer* o) { o->onSocketUserMsg(uid, msg); });
}

void CKestrumSocketIO::onSocketRequestResult(const char* op, const char* requestId,
                                             const char* target) {
    Forward([&](Observer* o) { o->onSocketRequestResult(op, requestId, target); });
}

void CKestrumSocketIO::onSocketUserRequest(const char* op, const char* sender,
                                           const char* requestId) {
    Forward([&](Observer* o) { o->onSocketUserRequest(op, sender, requestId); });
}

void CKestrumSocketIO::onSocketUserResponse(bool success, const char* requestId, const char* spare,
                                            const char* reason, const char* sender,
                                            const char* target) {
    Forward([&](Observer* o) {
        o->onSocketUserResponse(success, requestId, spare, reason, sender, target);
    });
}

}  // namespace kestrum::service
