#include "freed_memory.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

std::atomic<int> g_poisoners{0};

// Called through a volatile pointer: a plain fill right before free() is a dead store that the
// compiler drops.
void* (*volatile g_fill)(void*, int, size_t) = &std::memset;

}  // namespace

PoisonFreedMemory::PoisonFreedMemory() { ++g_poisoners; }

PoisonFreedMemory::~PoisonFreedMemory() { --g_poisoners; }

// The program's own allocation functions, so that the fill knows each block's size; the
// library's array and nothrow forms come here too.
void* operator new(std::size_t size) {
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    if (block && g_poisoners.load() > 0) g_fill(block, 0xDD, _msize(block));
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
