#include "signal_observer.h"

namespace {

std::string Join(const std::vector<std::string>& items) {
    std::string text = "[";
    for (size_t i = 0; i < items.size(); ++i) text += (i ? "," : "") + items[i];
    return text + "]";
}

std::string RoomText(const RoomInfoRecord& room) {
    return std::string(room.rid) + "|" + room.pwd + "|" + room.topic + "|" + Join(room.hosts) +
           "|" + room.hostName + "|" + std::to_string(room.initialStatus) + "|" +
           std::to_string(room.sdkConfigs.channelProfile) + "|" + Join(room.sdkConfigs.parameters) +
           "|" + Join(room.sdkConfigs.shareParameters);
}

}  // namespace

std::string UserText(const UserInfoRecord& user) {
    return std::string(user.uid) + "|" + user.name + "|" + user.portraitId + "|" + user.account +
           "|" + std::to_string(user.status) + "|" + std::to_string(user.shareId) + "|" +
           std::to_string(user.streamId) + "|" + std::to_string(user.feature);
}

std::string UsersText(const std::vector<UserInfoRecord>& users) {
    std::string text = "[";
    for (size_t i = 0; i < users.size(); ++i) text += (i ? ";" : "") + UserText(users[i]);
    return text + "]";
}

bool SignalObserver::WaitFor(const std::string& prefix, size_t count) {
    return lines_.WaitForPrefix(prefix, count);
}

size_t SignalObserver::Count(const std::string& prefix) { return lines_.CountPrefix(prefix); }

std::vector<std::string> SignalObserver::Lines() { return lines_.Lines(); }

std::string SignalObserver::First(const std::string& prefix) {
    for (const std::string& line : lines_.Lines()) {
        if (line.rfind(prefix, 0) == 0) return line;
    }
    return std::string();
}

HANDLE SignalObserver::CloseThread() {
    std::lock_guard<std::mutex> lock(close_thread_mutex_);
    return close_thread_.get();
}

void SignalObserver::onSocketStatus_Open() { Add("open"); }
void SignalObserver::onSocketStatus_Fail() { Add("fail"); }
void SignalObserver::onSocketStatus_Reconnect() { Add("reconnect"); }

void SignalObserver::onSocketStatus_Close() {
    HANDLE thread = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread,
                    SYNCHRONIZE, FALSE, 0);
    {
        std::lock_guard<std::mutex> lock(close_thread_mutex_);
        close_thread_.reset(thread);
    }
    Add("close");
}

void SignalObserver::onSocketUserError(int code, const char* text) {
    Add("error(" + std::to_string(code) + "," + text + ")");
}

void SignalObserver::onSocketJoinSuccess(const UserInfoRecord* user) {
    Add("joinSuccess(" + UserText(*user) + ")");
}

void SignalObserver::onSocketUserJoin(const UserInfoRecord* user) {
    Add("join(" + UserText(*user) + ")");
}

void SignalObserver::onSocketUserLeave(const char* uid) { Add(std::string("leave(") + uid + ")"); }

void SignalObserver::onSocketUserList(const std::vector<UserInfoRecord>& users) {
    Add("list" + UsersText(users));
}

void SignalObserver::onSocketRoomInfo(const RoomInfoRecord* room) {
    Add("room(" + RoomText(*room) + ")");
}

void SignalObserver::onSocketUserOperator(const char* operatorUid, const char* type,
                                          const char* target,
                                          const std::vector<UserInfoRecord>& users) {
    Add(std::string("operator(") + operatorUid + "," + type + "," + target + "," +
        UsersText(users) + ")");
}

void SignalObserver::onSocketUserInfo(const UserInfoRecord* user) {
    Add("info(" + UserText(*user) + ")");
}

void SignalObserver::onSocketUserMsg(const char* uid, const char* msg) {
    Add(std::string("msg(") + uid + "," + msg + ")");
}

void SignalObserver::onSocketRequestResult(const char* op, const char* requestId,
                                           const char* target) {
    Add(std::string("result(") + op + "," + requestId + "," + target + ")");
}

void SignalObserver::onSocketUserRequest(const char* op, const char* sender,
                                         const char* requestId) {
    Add(std::string("request(") + op + "," + sender + "," + requestId + ")");
}

void SignalObserver::onSocketUserResponse(bool success, const char* requestId, const char* spare,
                                          const char* reason, const char* sender,
                                          const char* target) {
    Add(std::string("response(") + (success ? "1" : "0") + "," + requestId + "," + spare + "," +
        reason + "," + sender + "," + target + ")");
}
