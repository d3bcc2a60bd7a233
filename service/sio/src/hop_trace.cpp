#include "hop_trace.h"

namespace ksio {

namespace detail {
std::atomic<HopObserver> hop_observer{nullptr};
}  // namespace detail

void SetHopObserver(HopObserver observer) { detail::hop_observer.store(observer); }

}  // namespace ksio
