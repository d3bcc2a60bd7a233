#include "session.h"

#include <string>
#include <utility>

#include <boost/asio/steady_timer.hpp>

#include "connect_uri.h"
#include "handler_table.h"
#include "hop_trace.h"
#include "listener_set.h"
#include "outbox.h"
#include "packet_codec.h"
#include "ws_transport.h"

namespace ksio {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

enum class State { kIdle, kConnecting, kConnected, kWaitingToRetry, kClosed };

constexpr size_t kSendWindow = 64 * 1024;

}  // namespace

struct Session::Impl {
    Impl(boost::asio::io_context& io, Outbox& outbox, const HandlerTable& handlers,
         const ListenerSet& listeners)
        : outbox(outbox),
          handlers(handlers),
          listeners(listeners),
          transport(io, {[this](std::string_view frame) { OnFrame(frame); },
                         [this] { last_activity = Clock::now(); }, [this] { SendWindow(); },
                         [this](const std::string& cause) { OnTransportEnded(cause); }}),
          attempt_timer(io),
          retry_timer(io),
          heartbeat_timer(io) {}

    bool IsActive() const {
        return state == State::kConnecting || state == State::kConnected ||
               state == State::kWaitingToRetry;
    }

    // ---- attempts and their outcomes

    void Start(const ConnectRequest& connect_request) {
        if (IsActive()) return;
        request = connect_request;
        retries = 0;
        limit_breaks = 0;
        std::string error;
        if (!BuildConnectUri(request.origin, request.query, uri, error)) return GiveUp(error);
        BeginAttempt();
    }

    // The next attempt asks with the new pair; the uri of the one under way stays.
    void SetQueryValue(const std::string& key, const std::string& value) {
        if (!IsActive()) return;
        std::map<std::string, std::string> query = request.query;
        query[key] = value;
        std::string next;
        std::string error;
        if (!BuildConnectUri(request.origin, query, next, error)) return;
        request.query = std::move(query);
        uri = std::move(next);
    }

    void BeginAttempt() {
        StopTimers();
        state = State::kConnecting;
        engine_open = false;
        std::string error;
        if (!transport.Open(uri, request.headers, request.connect_timeout, error)) {
            return GiveUp(error);
        }
        StartTimer(attempt_timer, request.connect_timeout, [this] {
            if (state == State::kConnecting) AttemptFailed();
        });
    }

    // cause: what this client could not take from the server, for the listeners; empty for a
    // plain failure or loss.
    void OnTransportEnded(const std::string& cause = "") {
        if (!IsActive() || state == State::kWaitingToRetry) return;
        if (!cause.empty() && ++limit_breaks >= request.policy.max_limit_breaks) {
            transport.Abort();
            return GiveUp(cause + ", on " + std::to_string(limit_breaks) + " connections in a row");
        }
        if (state == State::kConnecting) return AttemptFailed(cause);
        ConnectionLost(cause);
    }

    void AttemptFailed(const std::string& cause = "") {
        transport.Abort();
        if (request.policy.Allows(retries + 1)) return ScheduleRetry(cause);
        GiveUp(cause.empty() ? "no further attempt allowed" : cause);
    }

    // The namespace refused the client: asking again would be refused again, and only the
    // caller can change what it asks with.
    void Refused(std::string_view data) {
        transport.CloseGracefully();
        GiveUp("refused by the server: " + DecodeConnectErrorMessage(data));
    }

    void ConnectionLost(const std::string& cause) {
        transport.Abort();
        if (request.policy.Allows(retries + 1)) return ScheduleRetry(cause);
        End();
        listeners.NotifyClose(CloseReason::kDropped);
    }

    void ScheduleRetry(const std::string& cause) {
        StopTimers();
        ++retries;
        const milliseconds delay = request.policy.DelayBefore(retries);
        state = State::kWaitingToRetry;
        StartTimer(retry_timer, delay, [this] { BeginAttempt(); });
        listeners.NotifyReconnect(retries, delay, cause);
    }

    void GiveUp(const std::string& reason) {
        End();
        listeners.NotifyFail(reason);
    }

    void Close() {
        if (!IsActive()) return;
        if (state == State::kConnected) {
            transport.Send(kNamespaceDisconnectFrame);
            transport.CloseGracefully();
        } else {
            transport.Abort();
        }
        End();
        listeners.NotifyClose(CloseReason::kRequested);
    }

    void End() {
        StopTimers();
        state = State::kClosed;
    }

    // ---- Engine.IO

    void OnFrame(std::string_view frame) {
        EnginePacket packet;
        if (!ParseEnginePacket(frame, packet)) return;  // tolerated: nothing to act on
        switch (packet.type) {
        case EnginePacketType::kOpen:
            return OnEngineOpen(packet.data);
        case EnginePacketType::kClose:
            return OnTransportEnded();
        case EnginePacketType::kPing:
            return SendPong(packet.data);
        case EnginePacketType::kMessage:
            return OnSocketPacket(packet.data);
        default:
            return;  // pong, upgrade and noop need no answer
        }
    }

    void OnEngineOpen(std::string_view data) {
        if (state != State::kConnecting || engine_open) return;
        EngineOpen open;
        if (!ParseEngineOpen(data, open)) return AttemptFailed();
        engine_open = true;
        heartbeat_limit = open.ping_interval + open.ping_timeout;
        StartTimer(heartbeat_timer, heartbeat_limit, [this] { CheckHeartbeat(); });
        transport.Send(kNamespaceConnectFrame);
    }

    void SendPong(std::string_view data) {
        limit_breaks = 0;  // the connection outlived whatever the server sent on connecting
        std::string pong(kPongFrame);
        pong.append(data);  // a probe's payload is echoed back
        transport.Send(pong);
    }

    // The server pings every pingInterval and allows pingTimeout for the answer, so silence for
    // longer than both means the link is dead even if TCP has not noticed.
    void CheckHeartbeat() {
        const auto silent = std::chrono::duration_cast<milliseconds>(Clock::now() - last_activity);
        if (silent >= heartbeat_limit) return OnTransportEnded();
        StartTimer(heartbeat_timer, heartbeat_limit - silent, [this] { CheckHeartbeat(); });
    }

    // ---- Socket.IO

    void OnSocketPacket(std::string_view data) {
        SocketPacket packet;
        if (!engine_open || !ParseSocketPacket(data, packet) || !packet.for_default_namespace) {
            return;
        }
        // Writing an escape out never lengthens the text, so only a packet already over the cap
        // on the wire is scanned for what it holds.
        if (packet.data.size() > kMaxMessageBytes) {
            if (const size_t holds = UnescapedJsonSize(packet.data); holds > kMaxMessageBytes) {
                return Drop(packet, holds);
            }
        }
        switch (packet.type) {
        case SocketPacketType::kConnect:
            return OnNamespaceConnected();
        case SocketPacketType::kConnectError:
            if (state == State::kConnecting) Refused(packet.data);
            return;
        case SocketPacketType::kDisconnect:
            return OnServerDisconnect();
        case SocketPacketType::kEvent:
            return OnEvent(packet);
        default:
            return;  // acks and binary packets: never requested by this client
        }
    }

    // Decoding it would cost more than the cap allows; the connection is not to blame.
    void Drop(const SocketPacket& packet, size_t holds) {
        const std::string name = PeekEventName(packet.data);
        const std::string what = name.empty() ? "a message" : "the event \"" + name + "\"";
        listeners.NotifyDrop("dropped " + what + " from the server: it holds " +
                             std::to_string(holds) + " bytes, more than the " +
                             std::to_string(kMaxMessageBytes) + " this client takes");
    }

    void OnNamespaceConnected() {
        if (state != State::kConnecting) return;
        attempt_timer.cancel();
        state = State::kConnected;
        retries = 0;
        if (const std::string greeting = outbox.Greeting(); !greeting.empty()) {
            transport.Send(greeting);
        }
        Drain();
        listeners.NotifyOpen();
    }

    void OnServerDisconnect() {
        if (!IsActive()) return;
        transport.CloseGracefully();
        End();
        listeners.NotifyClose(CloseReason::kServerDisconnect);
    }

    void OnEvent(const SocketPacket& packet) {
        if (state != State::kConnected) return;
        std::string name;
        Message::Array args;
        if (!DecodeEventPayload(packet.data, name, args, decoder)) return;
        if (const auto handler = handlers.Find(name)) {
            MarkHop(Hop::kHandlerCall);
            (*handler)(Event(name, args));
        }
        // The server is waiting for this answer; an empty one tells it the event arrived.
        if (packet.has_ack_id && state == State::kConnected) {
            transport.Send(EncodeEmptyAckFrame(packet.ack_id));
        }
    }

    void Drain() {
        if (state != State::kConnected) return;
        MarkHop(Hop::kDrainStart);
        SendWindow();
    }

    // Hands the connection no more than kSendWindow bytes beyond the write under way: a pong or
    // the close, sent past the outbox, then waits behind that much at most, not behind a burst.
    // The rest follows as the writes finish.
    void SendWindow() {
        if (state != State::kConnected) return;
        for (size_t queued = transport.Queued(); queued < kSendWindow;
             queued = transport.Queued()) {
            const std::vector<std::string> frames = outbox.TakeUpTo(kSendWindow - queued);
            if (frames.empty()) return;
            for (const std::string& frame : frames) transport.Send(frame);
        }
    }

    // ---- timers

    // Every timer's completion carries the epoch it was started in: a completion already queued
    // when the state moved on must not act.
    template <typename Action>
    void StartTimer(boost::asio::steady_timer& timer, milliseconds delay, Action action) {
        timer.expires_after(delay);
        timer.async_wait([this, action, started = epoch](const boost::system::error_code& ec) {
            if (!ec && started == epoch) action();
        });
    }

    void StopTimers() {
        ++epoch;
        attempt_timer.cancel();
        retry_timer.cancel();
        heartbeat_timer.cancel();
    }

    Outbox& outbox;
    const HandlerTable& handlers;
    const ListenerSet& listeners;
    WsTransport transport;
    JsonDecoder decoder;
    boost::asio::steady_timer attempt_timer;
    boost::asio::steady_timer retry_timer;
    boost::asio::steady_timer heartbeat_timer;

    State state = State::kIdle;
    ConnectRequest request;
    std::string uri;
    unsigned retries = 0;
    unsigned limit_breaks = 0;  // connections in a row ended by a limit break
    uint64_t epoch = 0;
    bool engine_open = false;
    milliseconds heartbeat_limit{0};
    Clock::time_point last_activity;
};

Session::Session(boost::asio::io_context& io, Outbox& outbox, const HandlerTable& handlers,
                 const ListenerSet& listeners)
    : impl_(std::make_unique<Impl>(io, outbox, handlers, listeners)) {
    // Built on the client's thread for a network thread that does not exist yet.
    network_thread_.Detach();
}

Session::~Session() = default;

void Session::Start(const ConnectRequest& request) {
    KESTRUM_CHECK_THREAD(network_thread_);
    impl_->Start(request);
}

void Session::SetQueryValue(const std::string& key, const std::string& value) {
    KESTRUM_CHECK_THREAD(network_thread_);
    impl_->SetQueryValue(key, value);
}

void Session::Close() {
    KESTRUM_CHECK_THREAD(network_thread_);
    impl_->Close();
}

void Session::Drain() {
    KESTRUM_CHECK_THREAD(network_thread_);
    impl_->Drain();
}

}  // namespace ksio
