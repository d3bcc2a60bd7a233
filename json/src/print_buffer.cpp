#include "print_buffer.h"

#include <cstdlib>

#include "kestrum/json/json_node.h"

namespace {

constexpr size_t kInitialCapacity = 256;

}  // namespace

PrintBuffer::~PrintBuffer()
{
    if (data_ != nullptr)
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
    data_ = nullptr;
    size_ = capacity_ = 0;
    return text;
}

// Large texts grow in place where the runtime allows (realloc can remap pages instead of
// copying them); replaced hooks offer no realloc, so then the text is copied, and doubling
// keeps the copies linear overall.
char* PrintBuffer::Reallocate(size_t capacity)
{
    if (json_malloc == std::malloc && json_free == std::free)
        return static_cast<char*>(std::realloc(data_, capacity));
    char* data = static_cast<char*>(json_malloc(capacity));
    if (data == nullptr)
        return nullptr;
    if (size_ != 0)
        std::memcpy(data, data_, size_);
    if (data_ != nullptr)
        json_free(data_);
    return data;
}

bool PrintBuffer::Grow(size_t extra)
{
    if (failed_)
        return false;
    size_t capacity = capacity_ == 0 ? kInitialCapacity : capacity_ * 2;
    if (capacity - size_ < extra)
        capacity = size_ + extra;
    char* data = Reallocate(capacity);
    if (data == nullptr) {
        failed_ = true;
        return false;
    }
    data_ = data;
    capacity_ = capacity;
    return true;
}
