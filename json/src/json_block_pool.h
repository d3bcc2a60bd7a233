#pragma once

#include <cstddef>

// Large blocks kept for reuse: the full-size blocks of parsed trees once their tree is deleted,
// and the blocks that large texts are printed into. A Windows heap hands the memory of a large
// free area back to the system, so without the pool every big parse would fill fresh pages, and
// their page faults took about half of a 5 MB parse under Wine. The pool keeps at most
// kPooledBlockLimit blocks; it takes part only while the allocation hooks are the runtime's
// malloc and free (replaced hooks see every block).
//
// Thread safety: any thread may take and return blocks.

constexpr size_t kPooledBlockSize = 256 * 1024;
constexpr size_t kPooledBlockLimit = 32;  // 8 MB

// Whether json_malloc and json_free are still the runtime's malloc and free.
bool JsonHooksAreRuntime();

// A block of kPooledBlockSize bytes, from the pool or from malloc; null when memory ran out.
void* TakePooledBlock();

// Keeps a block from TakePooledBlock for reuse, or frees it when the pool is full.
void ReturnPooledBlock(void* block);
