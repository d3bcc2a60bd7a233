#include "print_buffer.h"

#include <cstdlib>

#include "json_block_pool.h"
#include "kestrum/json/json_node.h"

namespace {

constexpr size_t kInitialCapacity = 256;
// A text that outgrows this moves into a block of the pool (see Grow).
constexpr size_t kPooledFrom = 4096;

}  // namespace

PrintBuffer::~PrintBuffer()
{
    FreeData();
}

void PrintBuffer::FreeData()
{
    if (data_ == nullptr)
        return;
    if (pooled_)
        ReturnPooledBlock(data_);
    else
        json_free(data_);
}

void PrintBuffer::AppendRepeated(char c, size_t count)
{
    if (capacity_ - size_ >= count || Grow(count)) {
        std::memset(data_ + size_, c, count);
        size_ += count;
    }
}

char* PrintBuffer::Release()
{
    Append('\0');
    if (failed_)
        return nullptr;
    char* text = data_;
    if (pooled_) {
        text = static_cast<char*>(json_malloc(size_));
        if (text != nullptr)
            std::memcpy(text, data_, size_);
        ReturnPooledBlock(data_);
    }
    data_ = nullptr;
    pooled_ = false;
    size_ = capacity_ = 0;
    return text;
}

// Small texts grow in place where the runtime allows; replaced hooks offer no realloc, so then
// the text is copied, and doubling keeps the copies linear overall.
char* PrintBuffer::Reallocate(size_t capacity, bool pooled)
{
    if (!pooled && !pooled_ && JsonHooksAreRuntime())
        return static_cast<char*>(std::realloc(data_, capacity));
    char* data = static_cast<char*>(pooled ? TakePooledBlock() : json_malloc(capacity));
    if (data == nullptr)
        return nullptr;
    if (size_ != 0)
        std::memcpy(data, data_, size_);
    FreeData();
    pooled_ = pooled;
    return data;
}

// Growing a large text on a Windows heap costs more than writing it: Wine's heap moves the block
// and commits fresh pages at each step (a fifth of the time to print 100 KB). So a text that
// outgrows a few kilobytes is written into a block of the pool, which has its pages, and copied
// once into a heap block of its own size by Release; one larger than a pooled block grows on.
bool PrintBuffer::Grow(size_t extra)
{
    if (failed_)
        return false;
    size_t capacity = capacity_ == 0 ? kInitialCapacity : capacity_ * 2;
    if (capacity - size_ < extra)
        capacity = size_ + extra;
    bool pooled = capacity > kPooledFrom && capacity <= kPooledBlockSize && JsonHooksAreRuntime();
    if (pooled)
        capacity = kPooledBlockSize;
    char* data = Reallocate(capacity, pooled);
    if (data == nullptr) {
        failed_ = true;
        return false;
    }
    data_ = data;
    capacity_ = capacity;
    return true;
}
