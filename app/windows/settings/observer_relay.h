#pragma once

#include <windows.h>

#include <memory>
#include <mutex>

#include "app/windows/settings/settings_messages.h"
#include "app/windows/skeleton/window_registration.h"
#include "kestrum/service/vossary_api.h"

// The service-library observer of a settings window, standing in for the window itself.
//
// A request may report after its window is gone, and releasing observers is not a way out:
// the library's release forgets every observer of a request kind, and so would also silence
// the in-meeting window's portrait download and the course bridge. So each settings window
// class has one relay that lives for the whole process and never goes away; the window attaches
// itself while it exists and gives the library the relay as its requests' observer
// (observerFor), and the relay copies every report into an ObserverEventPayload and posts it as
// WM_SETTINGS_OBSERVER_EVENT to the window, which acts on it on its own thread. A report reaches
// only the window that started the latest request, and only while that window stays attached:
// a window attached later (a window of the class opened again) never takes the answer to
// another's request for its own. Any other report is dropped.
//
// Threads: attach, detach and observerFor on the window's thread; the observer operations on
// the library's worker threads. A report either reaches the queue of the window that asked or
// is freed; a window that detaches then frees what is still queued for it.
// Ownership: made once per window class (SharedRelay) and never destroyed, since the library
// may report at any time, also while the program exits.
class CObserverRelay : public ZuvraKestrum::ICallBack::CUserCallBack {
public:
    CObserverRelay() = default;
    CObserverRelay(const CObserverRelay&) = delete;
    CObserverRelay& operator=(const CObserverRelay&) = delete;

    // window is the class's window from now on (replacing any window attached before); the
    // answers to requests started before reach nobody.
    void attach(HWND window);
    // Reports are dropped from now on, if window is the one attached; the window's message
    // table then frees the reports still queued for it, as it is destroyed.
    void detach(HWND window);
    // The observer to give the library for a request that window starts now: the reports from
    // now on reach that window while it stays attached, and nobody when it is not attached.
    ZuvraKestrum::ICallBack::CUserCallBack* observerFor(HWND window);

    void onCallBackError(const char* api, const char* errorMsg, int code) override;
    void onUpdatePhoto(const char* portraitId) override;
    void onUpdateRoom(bool success) override;
    void onLogUpload(bool ok) override;

private:
    void post(std::unique_ptr<ObserverEventPayload> event);

    std::mutex lock_;
    // Under lock_: the attached window, which attachment it is (one more for each attach), and
    // the attachment whose window started the latest request (0: none attached did).
    HWND window_ = nullptr;
    unsigned attachment_ = 0;
    unsigned asker_ = 0;
};

// relay.attach(window), owned by the window: detached (relay.detach(window)) when the result is
// reset or destroyed. The window's thread, as attach and detach.
[[nodiscard]] CWindowRegistration AttachWindow(CObserverRelay& relay, HWND window);

// The relay of a window class: SharedRelay<CDuiSetAV>() and so on, one per class for the whole
// process.
template <class Window>
CObserverRelay& SharedRelay() {
    static CObserverRelay* const relay = new CObserverRelay;  // never freed, see above
    return *relay;
}
