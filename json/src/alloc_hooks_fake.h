#pragma once

#include <cstddef>

// Test seam: replaces json_malloc / json_free while alive, counts blocks, and can make one
// allocation fail. Single-threaded tests only; the hooks are global.
class ScopedAllocHooks {
public:
    // fail_at: index (from 0) of the allocation that returns null; negative for none.
    explicit ScopedAllocHooks(long fail_at = -1);
    ~ScopedAllocHooks();
    ScopedAllocHooks(const ScopedAllocHooks&) = delete;
    ScopedAllocHooks& operator=(const ScopedAllocHooks&) = delete;

    long allocations() const;  // attempts so far, the failed one included
    long live() const;         // blocks handed out and not yet freed
};
