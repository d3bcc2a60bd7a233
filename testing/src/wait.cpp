#include "kestrum/testing/wait.h"

#include <cstdlib>
#include <thread>

namespace kestrum::testing_support {

std::chrono::milliseconds ScaledTestTimeout(const char* scale) {
    if (!scale || !*scale) return kTestTimeout;
    char* end = nullptr;
    const double factor = std::strtod(scale, &end);
    if (*end != '\0' || !(factor > 0)) return kTestTimeout;
    return std::chrono::milliseconds(static_cast<long long>(kTestTimeout.count() * factor));
}

std::chrono::milliseconds TestTimeout() {
    static const std::chrono::milliseconds timeout =
        ScaledTestTimeout(std::getenv(kTestTimeoutScaleVariable));
    return timeout;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace kestrum::testing_support
