// The meeting's windows in the running program: the host over the application singleton and the
// other singletons, and the in-meeting window's default constructor that the dialog table's
// factory calls.

#include "app/kestrum/kestrum.h"
#include "app/windows/live/dui_live.h"
#include "app/windows/live/live_services.h"
#include "app/windows/meeting/meeting_host.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/core/msgbox_ansy_manager.h"
#include "ui/base/toast/toast.h"

namespace {

class CProgramMeetingHost final : public IMeetingHost {
public:
    void roomctrlAudio(bool mute, const std::vector<std::string>& uids) override {
        course().roomctrl_audio(mute, uids);
    }
    void roomctrlVideo(bool mute, const std::vector<std::string>& uids) override {
        course().roomctrl_video(mute, uids);
    }
    void roomctrlBan(const std::vector<std::string>& uids) override { course().roomctrl_ban(uids); }
    void roomctrlShare(bool share, const std::vector<std::string>& uids) override {
        course().roomctrl_share(share, uids);
    }
    void broadcastMsg(const std::string& text) override { course().broadcastMsg(text); }
    void sendRequest(const std::string& op, const std::string& target,
                     const std::string& roomName) override {
        course().sendRequest(op, target, roomName);
    }

    bool confirm(HWND owner, const std::wstring& text) override {
        return MessageBoxW(owner, text.c_str(), L"Warning", MB_OKCANCEL) == IDOK;
    }
    void toast(HWND over, const std::wstring& text, int durationMs) override {
        shared::Toast::Show(text, durationMs, over);
    }
    void inviteMic(const MsgBoxInviteInfo& info) override {
        CMsgBoxAnsyManager::getInstance()->msgbox_invitemic(info);
    }
    void inviteCamera(const MsgBoxInviteInfo& info) override {
        CMsgBoxAnsyManager::getInstance()->msgbox_invitecamera(info);
    }

    IDialogTable& dialogs() override { return ProgramDialogTable(); }
    HWND meetingWindow() override { return dialogs().dialogWindow(ProgramDialogs::kLiveDlg); }
    // Made by start-up and the join window on the UI thread; never made from here.
    CKestrumZuvra* engine() override { return CSingleton<CKestrumZuvra>::existingInstance(); }

private:
    static CKestrumCourse& course() { return *CSingleton<CKestrumCourse>::getInstance(); }
};

}  // namespace

IMeetingHost& ProgramMeetingHost() {
    static CProgramMeetingHost host;
    return host;
}

// Only the program refers to it, so test programs, which build the window over their own
// services, do not load the service library at start.
CDuiLive::CDuiLive() : CDuiLive(ProgramMeetingHost(), ProgramLiveServices()) {}
