#include "json_block_pool.h"

#include <cstdlib>
#include <mutex>

#include "kestrum/json/json_node.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KESTRUM_JSON_ASAN 1
#endif
#elif defined(__SANITIZE_ADDRESS__)
#define KESTRUM_JSON_ASAN 1
#endif
#ifdef KESTRUM_JSON_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace {

// A kept block: its first bytes link it to the next one.
struct KeptBlock {
    KeptBlock* next;
};

// Never destroyed: trees may still be deleted by other static objects' destructors at exit.
std::mutex& PoolMutex()
{
    static std::mutex* mutex = new std::mutex;
    return *mutex;
}

KeptBlock* g_kept = nullptr;
size_t g_kept_count = 0;

// Under the address sanitizer a kept block stays poisoned, so that a node used after its tree
// was deleted is still reported, as it would be after a free.
void Poison(void* block)
{
#ifdef KESTRUM_JSON_ASAN
    ASAN_POISON_MEMORY_REGION(static_cast<char*>(block) + sizeof(KeptBlock), kPooledBlockSize - sizeof(KeptBlock));
#else
    (void)block;
#endif
}

void Unpoison(void* block)
{
#ifdef KESTRUM_JSON_ASAN
    ASAN_UNPOISON_MEMORY_REGION(block, kPooledBlockSize);
#else
    (void)block;
#endif
}

}  // namespace

bool JsonHooksAreRuntime()
{
    return json_malloc == std::malloc && json_free == std::free;
}

void* TakePooledBlock()
{
    {
        std::lock_guard<std::mutex> lock(PoolMutex());
        if (KeptBlock* block = g_kept) {
            g_kept = block->next;
            --g_kept_count;
            Unpoison(block);
            return block;
        }
    }
    return std::malloc(kPooledBlockSize);
}

void ReturnPooledBlock(void* block)
{
    {
        std::lock_guard<std::mutex> lock(PoolMutex());
        if (g_kept_count < kPooledBlockLimit) {
            KeptBlock* kept = static_cast<KeptBlock*>(block);
            kept->next = g_kept;
            g_kept = kept;
            ++g_kept_count;
            Poison(block);
            return;
        }
    }
    std::free(block);
}
