#include "app/windows/meeting/testing/recording_meeting_host.h"

#include "kestrum/common/utf.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/msgbox_ansy_manager.h"

namespace window_testing {

namespace {

std::string Joined(const std::vector<std::string>& uids) {
    std::string out;
    for (const std::string& uid : uids) out += (out.empty() ? "" : ",") + uid;
    return out;
}

}  // namespace

void RecordingMeetingHost::roomctrlAudio(bool mute, const std::vector<std::string>& uids) {
    calls.push_back("roomctrlAudio " + std::to_string(mute) + " " + Joined(uids));
}

void RecordingMeetingHost::roomctrlVideo(bool mute, const std::vector<std::string>& uids) {
    calls.push_back("roomctrlVideo " + std::to_string(mute) + " " + Joined(uids));
}

void RecordingMeetingHost::roomctrlBan(const std::vector<std::string>& uids) {
    calls.push_back("roomctrlBan " + Joined(uids));
}

void RecordingMeetingHost::roomctrlShare(bool share, const std::vector<std::string>& uids) {
    calls.push_back("roomctrlShare " + std::to_string(share) + " " + Joined(uids));
}

void RecordingMeetingHost::broadcastMsg(const std::string& text) {
    calls.push_back("broadcastMsg " + text);
}

void RecordingMeetingHost::sendRequest(const std::string& op, const std::string& target,
                                       const std::string& roomName) {
    calls.push_back("sendRequest " + op + " " + target + " " + roomName);
}

bool RecordingMeetingHost::confirm(HWND, const std::wstring& text) {
    calls.push_back("confirm " + kestrum::common::WideToUtf8(text));
    if (whileConfirming) whileConfirming();
    return confirmAnswer;
}

void RecordingMeetingHost::toast(HWND, const std::wstring& text, int durationMs) {
    calls.push_back("toast " + std::to_string(durationMs) + " " +
                    kestrum::common::WideToUtf8(text));
}

void RecordingMeetingHost::passingToast(HWND over, const std::wstring& text, int durationMs) {
    toast(over, text, durationMs);
    calls.back().insert(0, "passing ");
}

void RecordingMeetingHost::inviteMic(const MsgBoxInviteInfo& info) {
    calls.push_back("inviteMic " + info.uid);
}

void RecordingMeetingHost::inviteCamera(const MsgBoxInviteInfo& info) {
    calls.push_back("inviteCamera " + info.uid);
}

void RecordingMeetingHost::openDialog(unsigned id) {
    calls.push_back("openDialog " + std::to_string(id));
}

void RecordingMeetingHost::closeDialog(unsigned id) {
    calls.push_back("closeDialog " + std::to_string(id));
}

void RecordingMeetingHost::showMsgBox(HWND, const std::wstring& text, int, int type) {
    calls.push_back("showMsgBox " + std::to_string(type) + " " + kestrum::common::WideToUtf8(text));
}

CKestrumConfig& RecordingMeetingHost::config() {
    return *CSingleton<CKestrumConfig>::getInstance();
}

CMsgBoxAnsyManager& RecordingMeetingHost::invitations() {
    return *CMsgBoxAnsyManager::getInstance();
}

std::vector<std::string> RecordingMeetingHost::callsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& call : calls) {
        if (call.compare(0, prefix.size(), prefix) == 0) out.push_back(call);
    }
    return out;
}

}  // namespace window_testing
