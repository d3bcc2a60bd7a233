#include "alloc_hooks_fake.h"

#include <cstdlib>

#include "kestrum/json/json_node.h"

namespace {

long g_fail_at = -1;
long g_allocations = 0;
long g_live = 0;
void* (*g_saved_malloc)(size_t) = nullptr;
void (*g_saved_free)(void*) = nullptr;

void* CountingMalloc(size_t size)
{
    if (g_allocations++ == g_fail_at)
        return nullptr;
    ++g_live;
    return std::malloc(size);
}

void CountingFree(void* block)
{
    if (block == nullptr)
        return;
    --g_live;
    std::free(block);
}

}  // namespace

ScopedAllocHooks::ScopedAllocHooks(long fail_at)
{
    g_fail_at = fail_at;
    g_allocations = 0;
    g_live = 0;
    g_saved_malloc = json_malloc;
    g_saved_free = json_free;
    json_malloc = CountingMalloc;
    json_free = CountingFree;
}

ScopedAllocHooks::~ScopedAllocHooks()
{
    json_malloc = g_saved_malloc;
    json_free = g_saved_free;
}

long ScopedAllocHooks::allocations() const
{
    return g_allocations;
}

long ScopedAllocHooks::live() const
{
    return g_live;
}
