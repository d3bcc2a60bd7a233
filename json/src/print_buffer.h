#pragma once

#include <cstddef>
#include <cstring>

// One growing text for a whole print, from the library's allocation hooks (a large one is
// written in a block of the pool and copied out at the end). After an allocation
// failure every further append is dropped and Release gives null, so printers need not check
// each step. Used by one thread; frees what it still holds when destroyed.
class PrintBuffer {
public:
    PrintBuffer() = default;
    ~PrintBuffer();
    PrintBuffer(const PrintBuffer&) = delete;
    PrintBuffer& operator=(const PrintBuffer&) = delete;

    void Append(char c)
    {
        if (size_ < capacity_ || Grow(1))
            data_[size_++] = c;
    }

    void Append(const char* text, size_t length)
    {
        if (capacity_ - size_ >= length || Grow(length)) {
            std::memcpy(data_ + size_, text, length);
            size_ += length;
        }
    }

    void AppendRepeated(char c, size_t count);

    // Room for at least `count` more bytes, to be filled and then taken with Commit; null after an
    // allocation failure. Writing in place saves a copy per number and a check per byte.
    char* Reserve(size_t count)
    {
        if (capacity_ - size_ >= count || Grow(count))
            return data_ + size_;
        return nullptr;
    }

    // Takes the first `count` reserved bytes (no more than reserved) into the text.
    void Commit(size_t count) { size_ += count; }

    bool failed() const { return failed_; }

    // The text so far, without a NUL.
    const char* data() const { return data_; }
    size_t size() const { return size_; }

    // The NUL-terminated text, now owned by the caller (free with json_free); null after a failure.
    char* Release();

private:
    bool Grow(size_t extra);
    char* Reallocate(size_t capacity, bool pooled);
    void FreeData();

    char* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
    bool pooled_ = false;  // data_ is a block of the pool
    bool failed_ = false;
};
