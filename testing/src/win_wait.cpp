#include "kestrum/testing/win_wait.h"

namespace kestrum::testing_support {

void PumpPending(const MessageFilter& filter) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (filter && filter(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done, const MessageFilter& filter,
               std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        PumpPending(filter);
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool WaitForHandle(HANDLE handle, std::chrono::milliseconds timeout) {
    return WaitForSingleObject(handle, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

}  // namespace kestrum::testing_support
