#pragma once

#include <cstddef>
#include <string>

namespace kestrum::service {

// The body of one attempt's answer, gathered as it arrives, up to a fixed limit: an append that
// would pass it is refused and marks the buffer overflowed, so that the transfer can be stopped
// there. Its memory stays below twice the limit (the text grows by doubling), and Release gives
// it back.
// Threads: one thread at a time (the request's worker).
class AnswerBuffer {
public:
    explicit AnswerBuffer(size_t limit) : limit_(limit) {}

    // Appends the bytes; false (nothing appended, Overflowed() from now on) when the text would
    // then be longer than the limit.
    [[nodiscard]] bool Append(const char* data, size_t bytes);
    // An append was refused since the last Release.
    bool Overflowed() const { return overflowed_; }

    const std::string& Text() const { return text_; }
    size_t Limit() const { return limit_; }
    // The memory the text holds now.
    size_t Capacity() const { return text_.capacity(); }

    // Empties the buffer, gives its memory back and clears the overflow mark.
    void Release();

private:
    const size_t limit_;
    std::string text_;
    bool overflowed_ = false;
};

}  // namespace kestrum::service
