#pragma once

#include <cstddef>
#include <cstring>

// One growing text for a whole print, from the library's allocation hooks. After an allocation
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

    bool failed() const { return failed_; }

    // The NUL-terminated text, now owned by the caller (free with json_free); null after a failure.
    char* Release();

private:
    bool Grow(size_t extra);
    char* Reallocate(size_t capacity);

    char* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
    bool failed_ = false;
};
