#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/windows/meeting/meeting_host.h"

namespace window_testing {

// A meeting host for window tests: every request, toast and box becomes one line of `calls`
// ("roomctrlAudio 1 u1,u2", "confirm Remove Bob from the room?", "passing toast 3000 Bob joined",
// ...; wide texts as UTF-8), the question gets `confirmAnswer`, and `whileConfirming` runs
// inside the question, where a real modal box would pump messages (tests post into the window
// from there). Its dialog table is `dialogTable` when set (a road test gives the program's),
// else the host itself, which records "openDialog 3", "closeDialog 6" and "showMsgBox 1 <text>"
// and has no dialog open.
//
// The meeting data is the test's own (`meetingData`, given at construction or set before the
// first window).
// The in-meeting window's own needs: the bridge and the video source the test gives
// (`courseBridge`, `videoSourceOf`; none when unset), the program's configuration and
// invitation box manager, and counted join reports and box drops; the share channel's leave does
// nothing.
class RecordingMeetingHost : public IMeetingHost, public IDialogTable {
public:
    RecordingMeetingHost() = default;
    explicit RecordingMeetingHost(CKestrumData& meeting) : meetingData(&meeting) {}

    void roomctrlAudio(bool mute, const std::vector<std::string>& uids) override;
    void roomctrlVideo(bool mute, const std::vector<std::string>& uids) override;
    void roomctrlBan(const std::vector<std::string>& uids) override;
    void roomctrlShare(bool share, const std::vector<std::string>& uids) override;
    void broadcastMsg(const std::string& text) override;
    void sendRequest(const std::string& op, const std::string& target,
                     const std::string& roomName) override;
    bool confirm(HWND owner, const std::wstring& text) override;
    void toast(HWND over, const std::wstring& text, int durationMs) override;
    void passingToast(HWND over, const std::wstring& text, int durationMs) override;
    void inviteMic(const MsgBoxInviteInfo& info) override;
    void inviteCamera(const MsgBoxInviteInfo& info) override;
    CKestrumData& meeting() override { return *meetingData; }
    IDialogTable& dialogs() override { return dialogTable ? *dialogTable : *this; }
    HWND meetingWindow() override { return meetingHandle; }
    CKestrumZuvra* engine() override { return engineWrapper; }
    CKestrumCourse* course() override { return courseBridge ? courseBridge() : nullptr; }
    CVideoSourceTransfer* videoSource() override {
        return videoSourceOf ? videoSourceOf() : nullptr;
    }
    void leaveShareChannel() override {}
    CKestrumConfig& config() override;
    void reportJoinChannel() override { ++joinReports; }
    CMsgBoxAnsyManager& invitations() override;
    void dropInvitationBoxes() override { ++boxDrops; }

    CDuiFrameWindow* dialog(unsigned) override { return nullptr; }
    HWND dialogWindow(unsigned) override { return nullptr; }
    void openDialog(unsigned id) override;
    void closeDialog(unsigned id) override;
    void showMsgBox(HWND owner, const std::wstring& text, int code, int type) override;

    // The calls that start with prefix, in order.
    std::vector<std::string> callsStartingWith(const std::string& prefix) const;

    std::vector<std::string> calls;
    bool confirmAnswer = true;
    std::function<void()> whileConfirming;
    CKestrumData* meetingData = nullptr;
    HWND meetingHandle = nullptr;
    CKestrumZuvra* engineWrapper = nullptr;
    IDialogTable* dialogTable = nullptr;
    CKestrumCourse* (*courseBridge)() = nullptr;
    CVideoSourceTransfer* (*videoSourceOf)() = nullptr;
    int joinReports = 0;
    int boxDrops = 0;
};

}  // namespace window_testing
