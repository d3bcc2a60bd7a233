#pragma once

// While one of these lives, every block the test program frees through operator delete is
// filled with 0xDD first, so that code still using a deleted object reads pointers that fault
// instead of the stale values that usually survive a free. For tests of windows that must not
// touch themselves once gone.
//
// Threads: any; blocks other threads free meanwhile are filled too.
class PoisonFreedMemory {
public:
    PoisonFreedMemory();
    ~PoisonFreedMemory();
    PoisonFreedMemory(const PoisonFreedMemory&) = delete;
    PoisonFreedMemory& operator=(const PoisonFreedMemory&) = delete;
};
