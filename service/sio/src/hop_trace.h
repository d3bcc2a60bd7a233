#pragma once

#include <atomic>

namespace ksio {

// Points on an event's way through the network thread, for a latency breakdown: a diagnostic
// program (the signalling bench) installs an observer and timestamps each call. Without one a
// mark costs one relaxed load.
enum class Hop {
    kDrainStart,   // the network thread begins sending waiting emits
    kFrameQueued,  // a frame was handed to the websocket connection, which has begun writing it
    kReadIssued,   // the connection asks the socket for more bytes: once per socket read
    kFrameRead,    // a complete text frame was read from the socket
    kHandlerCall,  // an event was decoded and its handler is about to run
    kCount,        // the number of hops
};

// Called on the network thread; must be quick and must not call into the client.
using HopObserver = void (*)(Hop hop);

// Installs (or, with nullptr, removes) the process-wide observer. For diagnostics only. Any thread,
// at any time; a mark under way may still reach the observer that was there when it began, so a
// removed observer must stay callable.
void SetHopObserver(HopObserver observer);

namespace detail {
extern std::atomic<HopObserver> hop_observer;
}  // namespace detail

inline void MarkHop(Hop hop) {
    if (const HopObserver observer = detail::hop_observer.load(std::memory_order_relaxed)) {
        observer(hop);
    }
}

}  // namespace ksio
