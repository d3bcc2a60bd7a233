#include "answer_buffer.h"

namespace kestrum::service {

bool AnswerBuffer::Append(const char* data, size_t bytes) {
    if (overflowed_ || bytes > limit_ - text_.size()) {
        overflowed_ = true;
        return false;
    }
    text_.append(data, bytes);
    return true;
}

void AnswerBuffer::Release() {
    std::string().swap(text_);
    overflowed_ = false;
}

}  // namespace kestrum::service
