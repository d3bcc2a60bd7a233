#pragma once

#include <chrono>

namespace ksio {

// When and how often the client tries again after a failed attempt or a lost connection.
// The delay before attempt n (counted from 1 since the last successful connection) is
// initial_delay * 2^(n-1), capped at max_delay: 5, 10, 20, 25, 25... seconds by default.
struct ReconnectPolicy {
    bool enabled = true;
    unsigned max_attempts = 0;  // 0: unlimited
    std::chrono::milliseconds initial_delay{5000};
    std::chrono::milliseconds max_delay{25000};
    // Connections in a row that may end because the server broke a limit of this client (a
    // message larger than kMaxFrameBytes) before the session gives up: a server that sends such
    // a message on every connection would otherwise be asked again for ever. A connection that
    // lasts until the server's first ping breaks the row. 0 or 1: the first such connection ends
    // the session.
    unsigned max_limit_breaks = 3;

    // The delay before attempt number attempt (1 for the first retry).
    std::chrono::milliseconds DelayBefore(unsigned attempt) const;
    // True when attempt number attempt may still be made.
    bool Allows(unsigned attempt) const;
};

}  // namespace ksio
