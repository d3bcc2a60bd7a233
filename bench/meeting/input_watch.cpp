#include "input_watch.h"

#include <algorithm>

namespace {

using bench_floors::Clock;
using bench_floors::Milliseconds;

bool AnswersUser(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_KEYFIRST && message <= WM_KEYLAST) || message == WM_NCMOUSEMOVE ||
           message == WM_PAINT;
}

// The point in SendInput's absolute coordinates (0 to 65535 over the primary screen).
INPUT MouseAt(POINT at) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

}  // namespace

InputWatch::InputWatch(POINT at) : at_(at), lastAnswer_(Clock::now()) {
    injector_ = std::thread([this] { Inject(); });
}

InputWatch::~InputWatch() {
    stop_ = true;
    injector_.join();
}

void InputWatch::Inject() {
    for (int step = 0; !stop_; ++step) {
        // A move to where the cursor already is would be no input at all.
        INPUT input = MouseAt(POINT{at_.x + (step % 2 ? 3 : -3), at_.y});
        SendInput(1, &input, sizeof input);
        Sleep(kPeriodMs);
    }
}

bool InputWatch::Run(MSG& message) {
    const Clock::time_point start = Clock::now();
    if (AnswersUser(message.message)) {
        longestGapMs_ = std::max(longestGapMs_, Milliseconds(start - lastAnswer_));
        lastAnswer_ = start;
        ++answered_;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    const double ms = Milliseconds(Clock::now() - start);
    Spent& spent = spent_.emplace(message.message, Spent{message.message, 0, 0}).first->second;
    ++spent.count;
    spent.ms += ms;
    if (ms > longestMessageMs_) {
        longestMessageMs_ = ms;
        longestMessage_ = message.message;
    }
    return true;
}

double InputWatch::LongestGapMs() const {
    return std::max(longestGapMs_, Milliseconds(Clock::now() - lastAnswer_));
}

std::vector<InputWatch::Spent> InputWatch::CostliestMessages(size_t count) const {
    std::vector<Spent> all;
    for (const auto& entry : spent_) all.push_back(entry.second);
    std::sort(all.begin(), all.end(), [](const Spent& a, const Spent& b) { return a.ms > b.ms; });
    if (all.size() > count) all.resize(count);
    return all;
}
