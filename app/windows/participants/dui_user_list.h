#pragma once

#include <windows.h>

#include <chrono>
#include <deque>
#include <string>
#include <vector>

#include "app/windows/meeting/meeting_host.h"
#include "app/windows/participants/invitation_waits.h"
#include "app/windows/participants/user_list.h"
#include "app/windows/skeleton/dui_window.h"
#include "app/windows/skeleton/timer_table.h"
#include "duilib/label_ui.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/core/msgbox_ansy_manager.h"
#include "kestrum/records/user_info_record.h"

// The participants panel of the in-meeting window: the participant count in its title and the
// list of participants (CUserList, the skin's custom control "UserList"). On a row the user
// switches the own microphone or camera, switches another participant's off, invites another
// participant to switch it on (the invitation box; its answer comes back as
// WM_MSGBOX_INVITE_MIC_RET / _CAMERA_RET), or removes a participant after a question; the host
// turns every other participant's microphone off at once ("Mute all", the same queued room
// control as a row's). The invitations whose answer is awaited show a waiting look on their rows
// until the participant's device is seen on, the in-meeting window reports a refusal, a time-out
// or the server's refusal of the request, or a bounded wait ends. What a click changes on a row
// before the room answers (an option shown off, one disabled until the echo) lasts until the
// room's list, a failed room control, or a bounded wait: the rows then show the room's state.
//
// Skin "UserList-en.xml" / "UserList-zh.xml", rows "UserListItem-*.xml". Requests, the
// question, toasts and invitation boxes go through the host; the in-meeting window
// (host.meetingWindow()) owns the boxes and toasts and learns of the close button by
// WM_USERLIST_CLOSED.
//
// Threads: the UI thread only. The in-meeting window calls every public operation there,
// avatar results included: it receives them from the library's worker threads as posted
// messages and only then calls updateUserPhoto, so no control is touched elsewhere.
//
// Ownership: created with new by the in-meeting window as its child; deletes itself when its
// window is destroyed. The host outlives it.
class CDuiUserList : public CDuiWindow<CDuiUserList>,
                     public DuiLib::IDialogBuilderCallback,
                     public CKestrumDump {
public:
    static constexpr int kNotSupportedToastMs = 5000;
    // A clicked row waits this long for the room's answer, as the tool bar's toggles do.
    static constexpr UINT_PTR kOptionWaitTimer = 1;
    static constexpr UINT kOptionWaitMs = 5000;
    // The invitations' bounded waits are checked each tick: the request's time-out (the
    // meeting data's) and a grace for the server's answers.
    static constexpr UINT_PTR kInvitationWaitTimer = 2;
    // Participants who joined get their rows in slices of at most kAddSliceMs, one per tick,
    // after the window's input and paint: a crowd joining at once does not hold the window.
    static constexpr UINT_PTR kAddTimer = 3;
    static constexpr int kAddSliceMs = 15;
    static constexpr UINT kInvitationTickMs = 1000;
    static constexpr int kAnswerGraceMs = 5000;

    explicit CDuiUserList(IMeetingHost& host);

    const wchar_t* GetWindowClassName() const override { return L"UIUserListMainWnd"; }
    // "UserList" makes the list on this window's paint manager; any other name nothing.
    DuiLib::CControlUI* CreateControl(const wchar_t* className) override;

    static CDuiMessageMap<CDuiUserList> MessageMap();
    static CDuiNotifyMap<CDuiUserList> NotifyMap();

    // What the in-meeting window tells the panel. Each leaves the rows alone while the list is
    // missing (before the skin is built).
    void socketNotifyAddUser(const UserInfoRecord& record);
    void socketNotifyRemoteUser(const std::string& uid);
    // Every row anew from participants; invitations still waiting show their look again, those
    // whose device is now on end. changed: as CUserList::UpdateListItem takes it.
    void updateUserList(const std::vector<UserInfoRecord>& participants,
                        const std::vector<size_t>* changed = nullptr);
    void updateAudioStatus(const std::string& uid, bool muted);
    void updateAudioStatusByStream(int streamId, bool muted);
    void updateVideoStatusByStream(int streamId, bool on);
    void updateHostStatus();
    void updateUserPhoto(const UserInfoRecord& record);
    // The invitation to uid was refused or timed out.
    void stopMicWaiting(const std::string& uid);
    void stopCameraWaiting(const std::string& uid);
    void updateUserCount();
    // A room-control request failed: the rows show the devices as the room listed them.
    void roomControlFailed();
    // The server passed an invitation on (its request result for op and the invited uid).
    void invitationPassedOn(const std::string& op, const std::string& uid);
    // The server refused a request: the invitations it has not passed on end.
    void invitationsRefused();

    // Tests shorten the waits.
    void setOptionWaitMs(UINT ms) { optionWaitMs_ = ms; }
    void setAnswerGraceMs(int ms) { answerGraceMs_ = ms; }

    // The list with every participant reported so far in it.
    CUserList* list() {
        addWaitingRows();
        return list_;
    }
    const ZuvraKestrum::Participants::InvitationWaits& waits() const { return waits_; }

private:
    using Device = ZuvraKestrum::Participants::Device;

    void OnCreate();
    bool OnTimer(UINT_PTR timer);
    static CTimerTable<CDuiUserList> TimerTable();
    void OnOptionWaitTimer();
    void OnAddTimer();
    // Rows for the participants waiting for theirs: all of them, or those a slice has time for.
    void addWaitingRows();
    void addWaitingRowsFor(std::chrono::milliseconds slice);
    void OnInvitationWaitTimer();
    void OnMsgBoxRequestmic(MsgBoxInviteInfo* info, bool yes);
    void OnMsgBoxRequestcamera(MsgBoxInviteInfo* info, bool yes);

    void DoInitWnd(DuiLib::TNotifyUI& notification);
    void DoClose(DuiLib::TNotifyUI& notification);
    void DoCanBanned(DuiLib::TNotifyUI& notification);
    void DoAllBanned(DuiLib::TNotifyUI& notification);
    void DoItemClick(DuiLib::TNotifyUI& notification);
    void DoItemActive(DuiLib::TNotifyUI& notification);
    void DoTickBtn(DuiLib::TNotifyUI& notification);
    void DoCameraStatusOpt(DuiLib::TNotifyUI& notification);
    void DoMicStatusOpt(DuiLib::TNotifyUI& notification);

    void onOptionClick(DuiLib::TNotifyUI& notification, Device device);
    // An invitation box's answer: on yes the row waits and the request goes out.
    void onInviteAnswer(Device device, const MsgBoxInviteInfo* info, bool yes);
    void setWaiting(Device device, const std::string& uid, bool waiting);
    void endWaits(const std::vector<ZuvraKestrum::Participants::WaitEntry>& ended);
    // "Mute all" is the room's host's only, even while the room has none.
    void refreshRoomButtons();

    IMeetingHost& host_;
    CKestrumData& meeting_;
    DuiLib::CControlUI* title_ = nullptr;
    DuiLib::CControlUI* muteAll_ = nullptr;  // "AllBanned"; null in a skin without it
    UINT optionWaitMs_ = kOptionWaitMs;
    int answerGraceMs_ = kAnswerGraceMs;
    ZuvraKestrum::Participants::InvitationWaits waits_;
    CUserList* list_ = nullptr;
    std::deque<UserInfoRecord> waitingRows_;  // joined, row not made yet, in order
};
