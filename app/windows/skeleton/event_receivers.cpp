#include "app/windows/skeleton/event_receivers.h"

#include "kestrum/core/kestrum_zuvra.h"

CWindowRegistration TargetWindow(std::atomic<HWND>& target, HWND window) {
    target = window;
    return CWindowRegistration(
        [&target, window]() mutable { target.compare_exchange_strong(window, nullptr); });
}

CWindowRegistration ReceiveEngineEvents(CKestrumZuvra& engine, HWND window, HWND successor) {
    engine.SetMsgReceiver(window);
    return CWindowRegistration([&engine, window, successor] {
        if (engine.MsgReceiver() == window) engine.SetMsgReceiver(successor);
    });
}
