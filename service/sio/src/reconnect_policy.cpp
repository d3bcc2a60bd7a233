#include "kestrum/sio/reconnect_policy.h"

#include <algorithm>

namespace ksio {

std::chrono::milliseconds ReconnectPolicy::DelayBefore(unsigned attempt) const {
    const auto initial = std::max(initial_delay, std::chrono::milliseconds(0));
    const auto cap = std::max(max_delay, initial);
    if (initial.count() == 0) return initial;
    auto delay = initial;
    // Doubling stops at the cap, so it neither overflows nor loops long for a high attempt count.
    for (unsigned n = 1; n < attempt && delay < cap; ++n) delay = std::min(delay * 2, cap);
    return delay;
}

bool ReconnectPolicy::Allows(unsigned attempt) const {
    return enabled && (max_attempts == 0 || attempt <= max_attempts);
}

}  // namespace ksio
