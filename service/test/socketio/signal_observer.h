#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "kestrum/common/scoped_handle.h"
#include "kestrum/service/socketio_interface.h"
#include "kestrum/testing/line_recorder.h"

// Writes every notification of the signalling handle down as one line, in order, e.g.
//   "open", "reconnect", "error(-1,text)", "joinSuccess(<user>)", "join(<user>)", "leave(uid)",
//   "list[<user>;<user>]", "room(<room>)", "operator(op,type,target,[<user>;...])",
//   "info(<user>)", "msg(uid,text)", "result(op,requestId,target)",
//   "request(op,sender,requestId)", "response(1,requestId,spare,reason,sender,target)"
// with <user> = "uid|name|portraitId|account|status|shareId|streamId|feature" and
// <room> = "rid|pwd|topic|[hosts]|hostName|initialStatus|channelProfile|[parameters]|[share]".
// Notifications arrive on the network thread; the waits run on the test thread.
class SignalObserver : public ZuvraKestrum::socketio::CSocketIOCallBack {
public:
    // Waits until count lines start with prefix (false when they did not by the tests' timeout).
    bool WaitFor(const std::string& prefix, size_t count = 1);
    size_t Count(const std::string& prefix);
    std::vector<std::string> Lines();
    // The first line starting with prefix, "" when none.
    std::string First(const std::string& prefix);
    // The thread that reported the latest "close", null before any: the network thread, which
    // goes on to finish the close. Owned by this observer until the next "close".
    HANDLE CloseThread();

    void onSocketStatus_Open() override;
    void onSocketStatus_Close() override;
    void onSocketStatus_Fail() override;
    void onSocketStatus_Reconnect() override;
    void onSocketUserError(int code, const char* text) override;
    void onSocketJoinSuccess(const UserInfoRecord* user) override;
    void onSocketUserJoin(const UserInfoRecord* user) override;
    void onSocketUserLeave(const char* uid) override;
    void onSocketUserList(const std::vector<UserInfoRecord>& users) override;
    void onSocketRoomInfo(const RoomInfoRecord* room) override;
    void onSocketUserOperator(const char* operatorUid, const char* type, const char* target,
                              const std::vector<UserInfoRecord>& users) override;
    void onSocketUserInfo(const UserInfoRecord* user) override;
    void onSocketUserMsg(const char* uid, const char* msg) override;
    void onSocketRequestResult(const char* op, const char* requestId, const char* target) override;
    void onSocketUserRequest(const char* op, const char* sender, const char* requestId) override;
    void onSocketUserResponse(bool success, const char* requestId, const char* spare,
                              const char* reason, const char* sender, const char* target) override;

private:
    void Add(std::string line) { lines_.Add(std::move(line)); }

    kestrum::testing_support::LineRecorder lines_;
    std::mutex close_thread_mutex_;
    kestrum::common::ScopedHandle close_thread_;
};

std::string UserText(const UserInfoRecord& user);
std::string UsersText(const std::vector<UserInfoRecord>& users);
