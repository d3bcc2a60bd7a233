#pragma once

#include <cstddef>
#include <cstdint>

// The one table of the timer ids on the meeting window: the window's own, its media part's, the
// invitations it sends (handed out in turn from a range), the invitation box manager's requests,
// and the frame's upload wait that every window class inherits. Each part keeps its own name for
// its id, taken from here, and the period it starts the timer with.
//
// A row also says which windows start its timer; two rows of one window holding the same id would
// run one handler for the other's timer, and the check below stops that at compile time. The
// frame's upload wait runs on the settings windows only: the meeting window never uploads, and its
// toggle wait holds the same id.
//
// A new timer of the meeting window gets its row here. TIMER(name, id, windows) is one id,
// RANGE(name, first, last, windows) the ids first to last, both included.
#define KESTRUM_MEETING_TIMERS(TIMER, RANGE)                                                     \
    TIMER(kBarTimer, 10, kMeetingWindow)     /* the bars hide after the pointer rests */         \
    TIMER(kSpeakerTimer, 12, kMeetingWindow) /* media: the loudest speaker's mark */             \
    TIMER(kAvatarTimer, 13, kMeetingWindow)  /* the next participant's avatar */                 \
    TIMER(kVolumeTimer, 14, kMeetingWindow)  /* media: the own volume */                         \
    RANGE(kInvitationTimers, 1000, 1199, kMeetingWindow) /* invitations this user sent */        \
    TIMER(kMicRequestTimer, 1201, kMeetingWindow)        /* a request to this user */            \
    TIMER(kCameraRequestTimer, 1202, kMeetingWindow)     /* a request to this user */            \
    TIMER(kShareRestopTimer, 1401, kMeetingWindow)       /* media: the share's stop again */     \
    TIMER(kToggleWaitTimer, 1402, kMeetingWindow)        /* the toggles wait for the echo */     \
    TIMER(kReconnectDeadlineTimer, 1403, kMeetingWindow) /* the reconnect road gives up */       \
    TIMER(kBigViewTimer, 1404, kMeetingWindow)           /* media: the big view's participant */ \
    TIMER(kUploadWaitTimer, 1402, kSettingsWindows)      /* the frame's wait after an upload */

namespace ZuvraKestrum::MeetingTimers {

// The windows that start a row's timer, as bits.
enum Windows : unsigned { kMeetingWindow = 1, kSettingsWindows = 2 };

struct Range {
    uintptr_t first;
    uintptr_t last;
};

#define KESTRUM_TIMER_CONSTANT(name, id, windows) inline constexpr uintptr_t name = id;
#define KESTRUM_RANGE_CONSTANT(name, first, last, windows) inline constexpr Range name{first, last};
KESTRUM_MEETING_TIMERS(KESTRUM_TIMER_CONSTANT, KESTRUM_RANGE_CONSTANT)
#undef KESTRUM_TIMER_CONSTANT
#undef KESTRUM_RANGE_CONSTANT

struct Row {
    uintptr_t first;
    uintptr_t last;
    unsigned windows;
};

#define KESTRUM_TIMER_ROW(name, id, windows) Row{id, id, windows},
#define KESTRUM_RANGE_ROW(name, first, last, windows) Row{first, last, windows},
inline constexpr Row kRows[] = {KESTRUM_MEETING_TIMERS(KESTRUM_TIMER_ROW, KESTRUM_RANGE_ROW)};
#undef KESTRUM_TIMER_ROW
#undef KESTRUM_RANGE_ROW

template <size_t kCount>
constexpr bool NoWindowHoldsAnIdTwice(const Row (&rows)[kCount]) {
    for (size_t i = 0; i < kCount; ++i) {
        for (size_t j = i + 1; j < kCount; ++j) {
            const bool sameWindow = (rows[i].windows & rows[j].windows) != 0;
            if (sameWindow && rows[i].first <= rows[j].last && rows[j].first <= rows[i].last) {
                return false;
            }
        }
    }
    return true;
}

static_assert(NoWindowHoldsAnIdTwice(kRows), "two timers of one window share an id");

}  // namespace ZuvraKestrum::MeetingTimers
