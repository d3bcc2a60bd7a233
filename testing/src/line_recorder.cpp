#include "kestrum/testing/line_recorder.h"

#include <algorithm>
#include <utility>

namespace kestrum::testing_support {
namespace {

size_t CountStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

}  // namespace

void LineRecorder::Add(std::string line) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.push_back(std::move(line));
    }
    changed_.notify_all();
}

std::vector<std::string> LineRecorder::Lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
}

size_t LineRecorder::Count(const std::string& line) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::count(lines_.begin(), lines_.end(), line);
}

size_t LineRecorder::CountPrefix(const std::string& prefix) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return CountStartingWith(lines_, prefix);
}

bool LineRecorder::WaitFor(const std::string& line, size_t count,
                           std::chrono::milliseconds timeout) const {
    return WaitUntil(
        [&](const std::vector<std::string>& lines) {
            return static_cast<size_t>(std::count(lines.begin(), lines.end(), line)) >= count;
        },
        timeout);
}

bool LineRecorder::WaitForPrefix(const std::string& prefix, size_t count,
                                 std::chrono::milliseconds timeout) const {
    return WaitUntil(
        [&](const std::vector<std::string>& lines) {
            return CountStartingWith(lines, prefix) >= count;
        },
        timeout);
}

bool LineRecorder::WaitUntil(const std::function<bool(const std::vector<std::string>&)>& done,
                             std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return done(lines_); });
}

}  // namespace kestrum::testing_support
