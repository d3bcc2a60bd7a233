#pragma once

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "kestrum/common/thread_affinity.h"
#include "kestrum/core/invite_box_ui.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/core/meeting_timers.h"

// Answers of the invitation boxes, posted to the window named in the box's record. WPARAM points
// to that record inside the manager: the receiver reads it in place and frees nothing. LPARAM is
// the answer (0 yes, 1 no).
enum InviteAnswerMessage : UINT {
    WM_MSGBOX_INVITE_MIC_RET = 0x528,      // MsgBoxInviteInfo (micInvite)
    WM_MSGBOX_INVITE_CAMERA_RET = 0x529,   // MsgBoxInviteInfo (cameraInvite)
    WM_MSGBOX_REQUEST_MIC_RET = 0x52A,     // MsgBoxRequestInfo (micRequest)
    WM_MSGBOX_REQUEST_CAMERA_RET = 0x52B,  // MsgBoxRequestInfo (cameraRequest)
};

// An invitation to turn on the microphone or camera, as the participants window asks for it.
struct MsgBoxInviteInfo {
    int32_t type = 0;          // 0 microphone, 1 camera (not read by the manager)
    std::string uid;           // the participant to invite (UTF-8)
    HWND notifyWnd = nullptr;  // receives the answer
    HWND parentWnd = nullptr;  // owner of the box
    MsgBox* box = nullptr;     // the box, written by the manager
    HWND boxWnd = nullptr;     // the box's window: `box` is valid only while it exists
};

// A participant asking the user to turn a device on, with the latest request it sent. An earlier
// request of the same sender is superseded: it stays unanswered and the server ends it.
struct MsgBoxRequester {
    std::string uid;        // the sender (UTF-8)
    std::string requestId;  // its latest request of the box's kind
    std::string nickname;   // UTF-8
};

// Requests to turn on the own microphone or camera, shown together in one box.
struct MsgBoxRequestInfo {
    int32_t type = 0;          // 2 microphone, 3 camera (not read by the manager)
    HWND notifyWnd = nullptr;  // receives the answer
    HWND parentWnd = nullptr;  // owner of the box
    MsgBox* box = nullptr;     // the open box, null while none is open
    HWND boxWnd = nullptr;     // the box's window: `box` is valid only while it exists
    // One entry per sender, in the order they first asked; at most
    // CMsgBoxAnsyManager::kMaxRequesters.
    std::vector<MsgBoxRequester> requesters;
};

// An invitation the server accepted for delivery, waiting for the invited user's answer.
struct MsgBoxPendingInfo {
    int32_t type = 0;  // 6 microphone, 7 camera
    std::string requestId;
    std::string nickname;  // the invited participant (UTF-8)
    std::string uid;       // the invited participant; empty in an `out` that found nothing
    int32_t eventId = 0;   // the caller's window timer that limits the wait
};

// The argument of the notices; they use only `nickname` and `parent`.
struct MsgBoxNoticeInfo {
    int32_t kind = 0;
    std::string requestId;
    std::string nickname;   // UTF-8
    HWND parent = nullptr;  // owner of the toast
};

// Keeps the boxes and notices of the microphone and camera invitations on both sides of the
// exchange: the inviting side's confirmation boxes, the invited side's request boxes (requests
// that arrive while one is open are merged into it) and the invitations waiting for an answer.
// Each box's answer is posted as an InviteAnswerMessage; the manager never talks to the network.
// Nicknames are UTF-8, as the course messages carry them, and are widened only for the boxes.
//
// Ownership: one instance per process, from getInstance until destroyInstance. The boxes are
// framework windows that free themselves; the manager keeps their pointers and windows and uses
// a pointer only while its window exists.
//
// Threads: every operation runs on the UI thread, except the boxes' answers, which the
// framework delivers on its own thread. An answer is posted under the manager lock, so the
// manager and its records stay alive while the answer is read and posted; an answer that
// arrives after destroyInstance, or for a box that has since been replaced or closed, is
// dropped. Lock order: the manager lock before a request lock. The builds with checks take the
// first thread that calls an operation for the UI thread and hold the others to it.
class CMsgBoxAnsyManager : public CKestrumDump {
public:
    // The meeting window's timers of the requests (meeting_timers.h).
    static constexpr int kMicRequestTimer = ZuvraKestrum::MeetingTimers::kMicRequestTimer;
    static constexpr int kCameraRequestTimer = ZuvraKestrum::MeetingTimers::kCameraRequestTimer;
    static constexpr int kNoticeMs = 5000;
    // Senders kept in one request box. A participant who is not host cannot invite, so a real
    // room has a sender or two; a flood of senders must not make the box or its answer grow.
    static constexpr size_t kMaxRequesters = 10;
    // Characters of a sender's nickname the box shows, as many as the join window lets a user
    // type; a longer one ends in an ellipsis.
    static constexpr size_t kShownNameLength = 18;

    // Where boxes and toasts go; set once at start-up, before the first getInstance. Until then
    // (or with null) nothing is shown. The interface must outlive every manager.
    static void setBoxUi(IInviteBoxUi* ui);

    // The manager, created on first use and again after destroyInstance. Any thread.
    static CMsgBoxAnsyManager* getInstance();
    // Deletes the manager (when leaving the meeting). UI thread: answers already posted to the
    // thread's windows point into the manager and are removed from its queue unread.
    static void destroyInstance();

    ~CMsgBoxAnsyManager() override;

    // Shows the confirmation box for inviting info.uid, answered by WM_MSGBOX_INVITE_*_RET to
    // info.notifyWnd. A box of the same kind that is still open is closed without an answer.
    void msgbox_invitemic(const MsgBoxInviteInfo& info);
    void msgbox_invitecamera(const MsgBoxInviteInfo& info);

    // Shows the request box for the first entry of info.requesters, or merges it into the box
    // of that kind that is open: a sender already listed keeps its entry and name and only its
    // request id changes; a new sender is listed while fewer than kMaxRequesters are, and is
    // dropped (its request left unanswered) once that many are. The box's text changes only when
    // a sender is added. Answered by WM_MSGBOX_REQUEST_*_RET to the stored notifyWnd; the
    // receiver answers every entry's request id, then sets `box` to null and clears
    // `requesters`. True when a box was opened for this request: the caller starts the box's
    // time-out then, and only then, so that requests that keep coming never defer it.
    bool msgbox_requestmic(const MsgBoxRequestInfo& info);
    bool msgbox_requestcamera(const MsgBoxRequestInfo& info);

    // kMicRequestTimer / kCameraRequestTimer: closes the open request box of that kind without
    // an answer and empties its record. Other ids: nothing.
    void msgbox_timeout(int timerId, HWND window);

    // Pending invitations. The caller starts the window timer info.eventId on its own window.
    void msgbox_append(const MsgBoxPendingInfo& info);
    // The first entry with this request id: its timer on wnd is killed and it is removed.
    void msgbox_accepted(const std::string& requestId, HWND wnd);
    // The same, copying the entry to out, then the refusal toast over wnd. No match: out is left
    // as it is and nothing is shown.
    void msgbox_refused(const std::string& requestId, HWND wnd, MsgBoxPendingInfo& out);
    // The first entry with this timer id (already killed by the caller) to out and removed, then
    // the time-out toast over wnd. No match: nothing.
    void msgbox_noresponse(int eventId, HWND wnd, MsgBoxPendingInfo& out);

    // Toasts of kNoticeMs over info.parent naming info.nickname.
    void notifyMicTimeout(const MsgBoxNoticeInfo& info);
    void notifyCameraTimeout(const MsgBoxNoticeInfo& info);
    void notifyMicRefused(const MsgBoxNoticeInfo& info);
    void notifyCameraRefused(const MsgBoxNoticeInfo& info);

    MsgBoxInviteInfo micInvite;
    MsgBoxInviteInfo cameraInvite;
    std::mutex micRequestLock;
    std::mutex cameraRequestLock;
    MsgBoxRequestInfo micRequest;
    MsgBoxRequestInfo cameraRequest;
    std::vector<MsgBoxPendingInfo> pendingList;

private:
    enum Kind { kMicrophone = 0, kCamera = 1 };

    // Which box a record's answer belongs to: 0 while none. answerPosted: the open box's answer
    // went to the receiver, which has not yet emptied the record.
    struct BoxState {
        uint32_t serial = 0;
        bool answerPosted = false;
    };

    CMsgBoxAnsyManager();

    MsgBoxInviteInfo& invite(Kind kind) { return kind == kMicrophone ? micInvite : cameraInvite; }
    MsgBoxRequestInfo& request(Kind kind) {
        return kind == kMicrophone ? micRequest : cameraRequest;
    }
    std::mutex& requestLock(Kind kind) {
        return kind == kMicrophone ? micRequestLock : cameraRequestLock;
    }

    void showInvite(Kind kind, const MsgBoxInviteInfo& info);
    bool showRequest(Kind kind, const MsgBoxRequestInfo& info);
    void openRequestBox(Kind kind, const MsgBoxRequestInfo& info);
    void closeRequestBox(Kind kind);
    // Empties the request record and forgets its box: no box open, no answer pending.
    void resetRequest(Kind kind);
    // Removes the first entry that matches under the manager lock; true when one did.
    template <typename Match>
    bool takePending(Match match, MsgBoxPendingInfo& out);
    void notify(const wchar_t* const texts[2], const MsgBoxNoticeInfo& info);

    // The boxes' answer callbacks (framework thread), for the box with that serial.
    static void onInviteMicRet(uint32_t serial, int answer);
    static void onInviteCameraRet(uint32_t serial, int answer);
    static void onRequestMicRet(uint32_t serial, int answer);
    static void onRequestCameraRet(uint32_t serial, int answer);
    using Answer = void (*)(uint32_t serial, int answer);
    // Shows a box whose answer goes to answer with the box's serial.
    static InviteBox showBox(HWND parent, const InviteBoxTexts& texts, Answer answer,
                             uint32_t serial);
    static void postInviteAnswer(Kind kind, uint32_t serial, int answer);
    static void postRequestAnswer(Kind kind, uint32_t serial, int answer);

    static IInviteBoxUi& ui();

    BoxState inviteState_[2];   // guarded by the manager lock
    BoxState requestState_[2];  // guarded by the kind's request lock
    kestrum::common::ThreadAffinity uiThread_;
};
