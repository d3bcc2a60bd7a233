#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/windows/skeleton/program_dialogs.h"

class CKestrumConfig;
class CKestrumCourse;
class CKestrumData;
class CKestrumZuvra;
class CMsgBoxAnsyManager;
class CVideoSourceTransfer;
struct MsgBoxInviteInfo;

// What the meeting's windows (the in-meeting window and its panels: participants, chat, tiles,
// per-user menu) need of the program around them: the room requests of the course bridge, the
// modal question, toasts, the invitation boxes, the dialog table, the in-meeting window's handle
// and the engine; and what only the in-meeting window needs: the course bridge itself, the
// screen-share video source, the configuration, the quality report of its join and the
// invitation box manager.
// The program's own (ProgramMeetingHost) reaches the singletons; tests give the windows a
// recording host, so each panel runs without the rest of the program.
//
// Texts: uids and messages UTF-8, as the course bridge sends them; box and toast texts wide.
// Threads: the UI thread; the bridge that course() returns is also used on the in-meeting
// window's signalling threads (its own lock covers that). Ownership: the host, and what it
// returns, outlive every window given it.
class IMeetingHost {
public:
    // Room requests (the course bridge queues the device requests and sends bans at once).
    virtual void roomctrlAudio(bool mute, const std::vector<std::string>& uids) = 0;
    virtual void roomctrlVideo(bool mute, const std::vector<std::string>& uids) = 0;
    virtual void roomctrlBan(const std::vector<std::string>& uids) = 0;
    virtual void roomctrlShare(bool share, const std::vector<std::string>& uids) = 0;
    virtual void broadcastMsg(const std::string& text) = 0;
    virtual void sendRequest(const std::string& op, const std::string& target,
                             const std::string& roomName) = 0;

    // A question with OK and Cancel under the caption "Warning", modal over owner; true for OK.
    // It pumps messages: callers copy what they need before asking and re-check afterwards.
    virtual bool confirm(HWND owner, const std::wstring& text) = 0;
    virtual void toast(HWND over, const std::wstring& text, int durationMs) = 0;
    // News of the room (a join, a leave): a later one may take its place before it is shown,
    // where the toasts above all come in turn.
    virtual void passingToast(HWND over, const std::wstring& text, int durationMs) = 0;
    // The invitation box manager's confirmation boxes; the answer comes back to info.notifyWnd.
    virtual void inviteMic(const MsgBoxInviteInfo& info) = 0;
    virtual void inviteCamera(const MsgBoxInviteInfo& info) = 0;

    // The meeting data the windows read and the in-meeting window stores the room's events in.
    virtual CKestrumData& meeting() = 0;
    // The program's dialog table: the room settings windows the meeting opens and updates, the
    // join window it hands the engine back to, the notice box.
    virtual IDialogTable& dialogs() = 0;
    // The in-meeting window (dialog 6 of the application singleton), null while it is closed.
    virtual HWND meetingWindow() = 0;
    // The engine wrapper; null when the program has none.
    virtual CKestrumZuvra* engine() = 0;

    // The in-meeting window's own needs.
    // The course bridge: the signalling connection, the avatar downloads, the target of its
    // results.
    virtual CKestrumCourse* course() = 0;
    // The screen-share video source, made on first use.
    virtual CVideoSourceTransfer* videoSource() = 0;
    // The video source leaves its channel (a no-op while nothing is shared).
    virtual void leaveShareChannel() = 0;
    // The configuration file.
    virtual CKestrumConfig& config() = 0;
    // The quality report after the engine joined the channel.
    virtual void reportJoinChannel() = 0;
    // The invitation box manager of this meeting: the requests to this user and the invitations
    // this user sent.
    virtual CMsgBoxAnsyManager& invitations() = 0;
    // The invitation boxes of this meeting go away with it.
    virtual void dropInvitationBoxes() = 0;

protected:
    ~IMeetingHost() = default;
};

// The host of the running program. Its parts are reached on first use, on the UI thread.
IMeetingHost& ProgramMeetingHost();
