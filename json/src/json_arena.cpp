#include "json_arena.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "json_block_pool.h"

namespace {

static_assert(sizeof(ArenaBlock) % alignof(JsonNode) == 0, "nodes after the header stay aligned");
static_assert(sizeof(JsonNode) % alignof(JsonNode) == 0, "nodes in a row stay aligned");

// Bytes of nodes and texts that one byte of typical service JSON becomes (a value every ten
// bytes or so); only sizes the first block, so that a small answer takes one small block.
constexpr size_t kBytesPerTextByte = sizeof(JsonNode) / 8 + 1;
constexpr size_t kSmallestBlock = 512;
// Below the size from which Windows heaps hand out blocks straight from the system (Wine's takes
// about 500 KB); blocks of this size are kept in the pool.
constexpr size_t kLargestBlock = kPooledBlockSize;

}  // namespace

ParseArena::ParseArena(const char* text)
{
    size_t length = strnlen(text, kLargestBlock / kBytesPerTextByte);
    size_t size = sizeof(ArenaBlock) + sizeof(JsonNode) + length * kBytesPerTextByte;
    next_size_ = std::clamp(size, kSmallestBlock, kLargestBlock);
}

ParseArena::~ParseArena()
{
    Publish();
}

void ParseArena::Publish()
{
    if (block_ == nullptr)
        return;
    block_->live.store(nodes_in_block_, std::memory_order_relaxed);
    block_ = nullptr;
    front_ = back_ = nullptr;
    nodes_in_block_ = 0;
}

bool ParseArena::StartBlock()
{
    Publish();
    size_t size = next_size_;
    bool pooled = size == kPooledBlockSize && JsonHooksAreRuntime();
    void* memory = pooled ? TakePooledBlock() : json_malloc(size);
    if (memory == nullptr)
        return false;
    next_size_ = std::min(size * 2, kLargestBlock);
    block_ = new (memory) ArenaBlock{{0}, static_cast<uint32_t>(size), pooled};
    front_ = static_cast<char*>(memory) + sizeof(ArenaBlock);
    back_ = static_cast<char*>(memory) + size;
    return true;
}

char* ParseArena::OwnText(size_t size)
{
    return static_cast<char*>(json_malloc(size));
}

void NodeReleaser::Flush()
{
    if (block_ != nullptr && block_->live.fetch_sub(released_, std::memory_order_acq_rel) == released_) {
        if (block_->pooled)
            ReturnPooledBlock(block_);
        else
            json_free(block_);
    }
    block_ = nullptr;
    released_ = 0;
}
