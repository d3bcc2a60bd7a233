// The meeting's windows in the running program: the host over the application singleton and the
// other singletons, and the in-meeting window's default constructor that the dialog table's
// factory calls.

#include "app/kestrum/kestrum.h"
#include "app/windows/live/dui_live.h"
#include "app/windows/meeting/meeting_host.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_quality_upload.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/core/msgbox_ansy_manager.h"
#include "kestrum/core/video_source_transfer.h"
#include "ui/windowing/toast/toast.h"

namespace {

class CProgramMeetingHost final : public IMeetingHost {
public:
    void roomctrlAudio(bool mute, const std::vector<std::string>& uids) override {
        course()->roomctrl_audio(mute, uids);
    }
    void roomctrlVideo(bool mute, const std::vector<std::string>& uids) override {
        course()->roomctrl_video(mute, uids);
    }
    void roomctrlBan(const std::vector<std::string>& uids) override {
        course()->roomctrl_ban(uids);
    }
    void roomctrlShare(bool share, const std::vector<std::string>& uids) override {
        course()->roomctrl_share(share, uids);
    }
    void broadcastMsg(const std::string& text) override { course()->broadcastMsg(text); }
    void sendRequest(const std::string& op, const std::string& target,
                     const std::string& roomName) override {
        course()->sendRequest(op, target, roomName);
    }

    bool confirm(HWND owner, const std::wstring& text) override {
        return MessageBoxW(owner, text.c_str(), L"Warning", MB_OKCANCEL) == IDOK;
    }
    void toast(HWND over, const std::wstring& text, int durationMs) override {
        shared::Toast::Show(text, durationMs, over);
    }
    void passingToast(HWND over, const std::wstring& text, int durationMs) override {
        shared::Toast::ShowPassing(text, durationMs, over);
    }
    void inviteMic(const MsgBoxInviteInfo& info) override {
        CMsgBoxAnsyManager::getInstance()->msgbox_invitemic(info);
    }
    void inviteCamera(const MsgBoxInviteInfo& info) override {
        CMsgBoxAnsyManager::getInstance()->msgbox_invitecamera(info);
    }

    CKestrumData& meeting() override { return *g_kestrumData; }
    IDialogTable& dialogs() override { return ProgramDialogTable(); }
    HWND meetingWindow() override { return dialogs().dialogWindow(ProgramDialogs::kLiveDlg); }
    // Made by start-up and the join window on the UI thread; never made from here.
    CKestrumZuvra* engine() override { return CSingleton<CKestrumZuvra>::existingInstance(); }

    CKestrumCourse* course() override { return CSingleton<CKestrumCourse>::getInstance(); }
    CVideoSourceTransfer* videoSource() override {
        return CSingleton<CVideoSourceTransfer>::getInstance();
    }
    // The video source is made when a share starts; without one there is no channel to leave.
    void leaveShareChannel() override {
        if (CVideoSourceTransfer* source = CSingleton<CVideoSourceTransfer>::existingInstance()) {
            source->leaveChannel();
        }
    }
    CKestrumConfig& config() override { return *CSingleton<CKestrumConfig>::getInstance(); }
    void reportJoinChannel() override {
        CSingleton<CKestrumQualityUpload>::getInstance()->reportJoinChannel(0);
    }
    CMsgBoxAnsyManager& invitations() override { return *CMsgBoxAnsyManager::getInstance(); }
    void dropInvitationBoxes() override { CMsgBoxAnsyManager::destroyInstance(); }
};

}  // namespace

IMeetingHost& ProgramMeetingHost() {
    static CProgramMeetingHost host;
    return host;
}

// Only the program refers to it, so test programs, which build the window over a host of their
// own, do not load the service library at start.
CDuiLive::CDuiLive() : CDuiLive(ProgramMeetingHost()) {}
