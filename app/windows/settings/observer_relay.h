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
// itself while it exists and gives the library, for each request, the observer the relay hands
// out for it (observerFor). That observer copies every report of its request into an
// ObserverEventPayload and posts it as WM_SETTINGS_OBSERVER_EVENT to the window that started
// the request, which acts on it on its own thread, and only while that window stays attached: a
// window attached later (a window of the class opened again) never takes the answer to
// another's request for its own, not even after asking itself. Any other report is dropped.
//
// The answers carry nothing of their request, so the observer is what names it. A relay's
// requests are all of one kind (a window class sends one kind through its relay), and the
// library ends a request's reports once the next request of its kind has started
// (vossary_api.h): so two observers, handed out in turn, tell the latest request from the one
// before, which may still report while the latest one starts.
//
// Threads: attach, detach and observerFor on the window's thread; the observers' operations on
// the library's worker threads. A report either reaches the queue of the window that asked or
// is freed; a window that detaches then frees what is still queued for it.
// Ownership: made once per window class (SharedRelay) and never destroyed, since the library
// may report at any time, also while the program exits; its observers are part of it.
class CObserverRelay {
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
    // The observer to give the library, at once, for the request of the relay's kind that window
    // starts now: its reports reach that window while it stays attached, and nobody when it is
    // not attached. The observer handed out the time before last is handed out again, for
    // another request.
    ZuvraKestrum::ICallBack::CUserCallBack* observerFor(HWND window);

private:
    // The observer of one request: which attachment asked (0: none did), under the relay's lock.
    class Answer : public ZuvraKestrum::ICallBack::CUserCallBack {
    public:
        explicit Answer(CObserverRelay& relay) : relay_(relay) {}

        void onCallBackError(const char* api, const char* errorMsg, int code) override;
        void onUpdatePhoto(const char* portraitId) override;
        void onUpdateRoom(bool success) override;
        void onLogUpload(bool ok) override;

        unsigned asker = 0;

    private:
        CObserverRelay& relay_;
    };

    // Posts event to the attached window if answer.asker is its attachment.
    void post(const Answer& answer, std::unique_ptr<ObserverEventPayload> event);

    std::mutex lock_;
    // Under lock_: the attached window, which attachment it is (one more for each attach), and
    // which observer went to the latest request.
    HWND window_ = nullptr;
    unsigned attachment_ = 0;
    Answer answers_[2] = {Answer(*this), Answer(*this)};
    unsigned latest_ = 0;
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
