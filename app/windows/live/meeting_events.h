#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "kestrum/core/meeting_timers.h"
#include "kestrum/core/room_roles.h"

// What the in-meeting window decides on the signalling channel's room events, apart from the
// window: the timer ids of the invitations it sends, how the own status bits reach the
// toggles and the engine, when the engine joins the channel, what a user operation means for
// this user, when the host notice shows, how a share stream's room-control result moves the
// video source, and the reconnect road's state. No window types; table tests.
//
// Texts are UTF-8 (names as the meeting data keeps them); the window widens them.
// Threads: the UI thread (every object belongs to one window).
namespace ZuvraKestrum::Live {

// The ids of the window timers that limit the wait for an invitation's answer, the window's range
// of them (meeting_timers.h): each invitation the next in turn, after the last the first again.
// Two hundred invitations wait at once at most, far beyond what a user sends within the answer's
// time-out.
class InvitationTimers {
public:
    static constexpr int kFirst = MeetingTimers::kInvitationTimers.first;
    static constexpr int kLast = MeetingTimers::kInvitationTimers.last;

    static bool Contains(uintptr_t timerId) { return timerId >= kFirst && timerId <= kLast; }
    // The id of the next invitation.
    int next();

private:
    int last_ = kFirst - 1;
};

// The invitation box manager's kinds of pending invitations and open requests, by the request's
// operation ("unmuteAudio", "unmuteVideo"); 0 for any other operation.
constexpr int kPendingMicrophone = 6;
constexpr int kPendingCamera = 7;
constexpr int kRequestMicrophone = 2;
constexpr int kRequestCamera = 3;
int PendingKindOf(const std::string& op);
int RequestKindOf(const std::string& op);

// How the invited user answered, as the server reports it to the inviting side.
enum class InvitationAnswer {
    kAccepted,  // the device is being switched on
    kTimedOut,  // nobody answered before the server's time-out: silent
    kRefused,   // "refused" toast
};
InvitationAnswer AnswerOf(bool success, const std::string& reason);

// What the own status bits (bit 0 microphone off, bit 1 camera off) change: a toggle and the
// engine's local mute follow a bit only when it differs from what was applied last; with the
// communication profile (1) the engine's mode follows too: 2 (audience) when both are off,
// else 1.
struct OwnStatusPlan {
    bool changeAudio = false;
    bool audioMuted = false;
    bool changeVideo = false;
    bool videoMuted = false;
    int engineMode = -1;  // -1: leave the mode
};
OwnStatusPlan PlanOwnStatus(int status, bool audioMuted, bool videoMuted, int channelProfile);

// The engine's share of a room record: the profile and parameters whenever the record names a
// profile (-1: none), the join only the first time.
struct ChannelPlan {
    bool configure = false;
    bool join = false;
};
ChannelPlan PlanChannel(int channelProfile, bool joinAsked);

// A user operation as it concerns this user, who is ownUid.
struct OperationPlan {
    enum ShareButton { kShareAsIs, kShareDisable, kShareEnable };
    // The server confirmed this user's own mute change: the toggles are free again.
    bool enableOwnToggles = false;
    // This user was removed from the room.
    bool removed = false;
    ShareButton shareButton = kShareAsIs;
    // This user's share ended.
    bool ownShareEnded = false;
    // "%s temporary leave" about the operator.
    bool interruptNotice = false;
    // A mute operation: the big view, self tile and tiles take the records' new status.
    bool refreshStatus = false;
};
OperationPlan PlanOperation(const std::string& operatorUid, const std::string& target,
                            const std::string& type, const std::string& ownUid);

// The notice about the room's host, given on each room record: only when the first host
// differs from the one of the window's previous record. "%s apply speaker" names the new host
// when that is someone else; when the role went to nobody or to this user, "%s giveup speaker"
// names the previous host if that was someone else. A host whose nickname is unknown gets no
// notice. One per window, so a new meeting starts without a previous host.
class HostNotice {
public:
    // nickname: the nickname of a uid (empty when unknown). Returns the notice's text in the
    // language (0 English), or empty for none.
    template <class Nickname>
    std::string onRoomRecord(const std::string& firstHost, const std::string& ownUid, int language,
                             Nickname nickname) {
        const std::string previous = previous_;
        previous_ = firstHost;
        if (firstHost == previous) return {};
        if (Roles::HasOtherHost(firstHost, ownUid)) {
            return Compose(language ? "%s 申请主持人" : "%s apply speaker", nickname(firstHost));
        }
        if (Roles::HasOtherHost(previous, ownUid)) {
            return Compose(language ? "%s 放弃主持人" : "%s giveup speaker", nickname(previous));
        }
        return {};
    }
    const std::string& previous() const { return previous_; }

private:
    static std::string Compose(const char* format, const std::string& name);
    std::string previous_;
};

// The notices of the user operations, in the language.
std::string InterruptText(int language, const std::string& name);
std::string RemovedText(int language, const std::string& name);

// What a room-control result (the share stream's id) does to the video source: a share id of
// 1 or more joins it to the channel, -1 leaves; other values leave it as it is.
enum class ShareChannelStep { kNone, kJoin, kLeave };
ShareChannelStep ShareChannelStepOf(int32_t shareId);

// The user's stop of the own share, sent again each period until the server reports the share's
// end, whatever other requests report meanwhile: a failed stop reports nothing that names it, and
// a later room-control request may cut it off before it reports at all. A server that never
// reports it (the share itself was refused, say) has no share to end and is not asked for ever.
class ShareStop {
public:
    // The stop is sent again this many times at most.
    static constexpr int kLimit = 6;
    enum class Tick {
        kEndTimer,   // nothing is waited for (or the window leaves): the period ends
        kSendAgain,  // the stop goes out again
        kGiveUp,     // the bound is reached: the wait ends as if the server had reported it
    };

    // The user stopped the share: the wait starts again from the first period.
    void start() {
        waiting_ = true;
        sentAgain_ = 0;
    }
    // The server reported the end, or the share started anew.
    void end() { waiting_ = false; }
    [[nodiscard]] Tick onTick(bool leaving);
    bool waiting() const { return waiting_; }

private:
    bool waiting_ = false;
    int sentAgain_ = 0;
};

// The signalling connection as the window shows it. A lost connection shows the reconnecting
// notice in the window, which stays usable throughout (the user may leave at any time); the
// service library tries again on its own, after its own back-off. The library never tries again
// after the server refused it: the road asks for a new connection after a back-off of its own
// (firstRetryDelay, doubling up to maxRetryDelay), refusalRetries times at most. The next open
// connection hides the notice. When the refusals run out, or no connection opened giveUpAfter
// after the loss, the meeting ends (the window leaves and says why); nothing follows that step.
// A refusal of the first connection, before any loss, leaves the window as it is.
class ReconnectRoad {
public:
    struct Limits {
        int refusalRetries = 3;
        std::chrono::milliseconds firstRetryDelay{2000};
        std::chrono::milliseconds maxRetryDelay{16000};
        std::chrono::milliseconds giveUpAfter{60000};
    };
    enum class GiveUp { kNo, kRefused, kUnreachable };
    struct Step {
        bool showNotice = false;  // the reconnecting notice in the window
        bool hideNotice = false;
        bool startDeadline = false;  // the give-up timer, limits().giveUpAfter
        bool stopDeadline = false;
        std::chrono::milliseconds reconnectAfter{-1};  // a new connection after this; -1: none
        GiveUp giveUp = GiveUp::kNo;
    };

    ReconnectRoad() = default;
    explicit ReconnectRoad(const Limits& limits) : limits_(limits) {}

    // WM_SOCKET_RECONNECT: the library's next attempt is scheduled.
    Step onReconnecting();
    // WM_SOCKET_FAIL: the server refused the connection, or the library gave up on one.
    Step onRefused();
    // The give-up timer ran out.
    Step onDeadline();
    // WM_SOCKET_OPEN.
    Step onOpen();

    // A connection is being made again; the notice shows meanwhile.
    bool reconnecting() const { return reconnecting_; }
    const Limits& limits() const { return limits_; }

private:
    Step end(GiveUp why);

    Limits limits_;
    bool reconnecting_ = false;
    bool opened_ = false;  // a connection has been open
    bool ended_ = false;
    int refusals_ = 0;  // since the connection was lost
};

}  // namespace ZuvraKestrum::Live
