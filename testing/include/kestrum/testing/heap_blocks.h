#pragma once

#include <malloc.h>

#include <cstddef>

// The one leak count of the tests: the C runtime heap's blocks in use. operator new and malloc
// serve a test program, the code it links and the C++ runtime DLL from this heap, so a test that
// takes the count before and after some calls sees whether they gave back every block:
//
//     const long before = kestrum::testing_support::UsedHeapBlocks();
//     sink.onError(1, "text");  // posts to a window that is gone: the record must be freed
//     EXPECT_EQ(kestrum::testing_support::UsedHeapBlocks(), before);
//
// It counts every thread's blocks: a test that compares two counts runs while no other thread
// allocates. Windows builds only (the C runtime's _heapwalk).

namespace kestrum::testing_support {

inline long UsedHeapBlocks() {
    _HEAPINFO entry = {};
    long used = 0;
    while (_heapwalk(&entry) == _HEAPOK) {
        if (entry._useflag == _USEDENTRY) ++used;
    }
    return used;
}

// The bytes of those blocks: how much a call keeps, for a test that bounds it.
inline size_t UsedHeapBytes() {
    _HEAPINFO entry = {};
    size_t used = 0;
    while (_heapwalk(&entry) == _HEAPOK) {
        if (entry._useflag == _USEDENTRY) used += entry._size;
    }
    return used;
}

}  // namespace kestrum::testing_support
