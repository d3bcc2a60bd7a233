#include "app/windows/settings/observer_relay.h"

#include <utility>

namespace {

std::string Text(const char* text) { return text ? text : ""; }

std::unique_ptr<ObserverEventPayload> Event(ObserverEventPayload::Kind kind) {
    auto event = std::make_unique<ObserverEventPayload>();
    event->kind = kind;
    return event;
}

}  // namespace

void CObserverRelay::attach(HWND window) {
    std::lock_guard<std::mutex> guard(lock_);
    window_ = window;
    ++attachment_;
}

ZuvraKestrum::ICallBack::CUserCallBack* CObserverRelay::observerFor(HWND window) {
    std::lock_guard<std::mutex> guard(lock_);
    latest_ = 1 - latest_;
    Answer& answer = answers_[latest_];
    answer.asker = window && window == window_ ? attachment_ : 0;
    return &answer;
}

void CObserverRelay::detach(HWND window) {
    std::lock_guard<std::mutex> guard(lock_);
    if (window_ == window) window_ = nullptr;
}

CWindowRegistration AttachWindow(CObserverRelay& relay, HWND window) {
    relay.attach(window);
    return CWindowRegistration([&relay, window] { relay.detach(window); });
}

void CObserverRelay::Answer::onCallBackError(const char* api, const char* errorMsg, int code) {
    auto event = Event(ObserverEventPayload::Kind::kError);
    event->api = Text(api);
    event->text = Text(errorMsg);
    event->code = code;
    relay_.post(*this, std::move(event));
}

void CObserverRelay::Answer::onUpdatePhoto(const char* portraitId) {
    auto event = Event(ObserverEventPayload::Kind::kUpdatePhoto);
    event->text = Text(portraitId);
    relay_.post(*this, std::move(event));
}

void CObserverRelay::Answer::onUpdateRoom(bool success) {
    auto event = Event(ObserverEventPayload::Kind::kUpdateRoom);
    event->code = success ? 1 : 0;
    relay_.post(*this, std::move(event));
}

void CObserverRelay::Answer::onLogUpload(bool ok) {
    auto event = Event(ObserverEventPayload::Kind::kLogUpload);
    event->code = ok ? 1 : 0;
    relay_.post(*this, std::move(event));
}

void CObserverRelay::post(const Answer& answer, std::unique_ptr<ObserverEventPayload> event) {
    // Posting under the lock: a window that has detached gets nothing more, so what it frees
    // from its queue afterwards is all there is.
    std::lock_guard<std::mutex> guard(lock_);
    if (!window_ || answer.asker != attachment_ || !IsWindow(window_)) return;
    PostPayload<WM_SETTINGS_OBSERVER_EVENT>(window_, std::move(event));
}
