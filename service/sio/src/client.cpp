#include "kestrum/sio/client.h"

#include <utility>

#include "client_core.h"
#include "packet_codec.h"

namespace ksio {
namespace {

const Message kMissingArg;

}  // namespace

const Message& Event::Arg(size_t index) const {
    return index < args_.size() ? args_[index] : kMissingArg;
}

void Socket::On(const std::string& event, EventHandler handler) {
    core_.handlers.Set(event, std::move(handler));
}

void Socket::Emit(const std::string& event, Message::Array args) {
    // Encoded here rather than on the network thread, which also carries every incoming event.
    if (core_.outbox.Push(EncodeEventFrame(event, args))) core_.ScheduleDrain();
}

void Socket::EmitOnEveryConnect(const std::string& event, Message::Array args) {
    core_.outbox.SetGreeting(EncodeEventFrame(event, args));
}

Client::Client() : core_(std::make_shared<ClientCore>()), socket_(*core_) {}

Client::~Client() {
    core_->SyncClose();
    core_->listeners.Clear();
    core_->handlers.Clear();
}

void Client::SetOpenListener(OpenListener listener) {
    core_->listeners.SetOpen(std::move(listener));
}
void Client::SetCloseListener(CloseListener listener) {
    core_->listeners.SetClose(std::move(listener));
}
void Client::SetFailListener(FailListener listener) {
    core_->listeners.SetFail(std::move(listener));
}
void Client::SetReconnectListener(ReconnectListener listener) {
    core_->listeners.SetReconnect(std::move(listener));
}
void Client::SetDropListener(DropListener listener) {
    core_->listeners.SetDrop(std::move(listener));
}
void Client::ClearConnectionListeners() { core_->listeners.Clear(); }

void Client::SetReconnectPolicy(const ReconnectPolicy& policy) {
    core_->SetReconnectPolicy(policy);
}
void Client::SetConnectTimeout(std::chrono::milliseconds timeout) {
    core_->SetConnectTimeout(timeout);
}

void Client::Connect(const std::string& origin, const std::map<std::string, std::string>& query,
                     const std::map<std::string, std::string>& headers) {
    ConnectRequest request;
    request.origin = origin;
    request.query = query;
    request.headers = headers;
    core_->Connect(std::move(request));
}

void Client::SetQueryValue(const std::string& key, const std::string& value) {
    core_->SetQueryValue(key, value);
}

void Client::Close() { core_->Close(); }
void Client::SyncClose() { core_->SyncClose(); }

}  // namespace ksio
