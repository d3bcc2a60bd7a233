#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "kestrum/sio/message.h"
#include "kestrum/sio/reconnect_policy.h"

namespace ksio {

class ClientCore;

// An event received from the server: its name and its arguments in order.
class Event {
public:
    Event(const std::string& name, const Message::Array& args) : name_(name), args_(args) {}

    const std::string& Name() const { return name_; }
    const Message::Array& Args() const { return args_; }
    // The argument at index, or Null when the server sent fewer.
    const Message& Arg(size_t index) const;

private:
    const std::string& name_;
    const Message::Array& args_;
};

// Called on the network thread; the event and its values are valid only during the call.
using EventHandler = std::function<void(const Event&)>;

// The most a message from the server may hold: its socket.io payload as it reads with every JSON
// escape written out, so that a server that escapes non-ASCII text (\uXXXX, six bytes on the wire
// for three of UTF-8) costs no more than one that does not. A larger message is dropped, and the
// drop listener says so; the connection carries on. The largest messages of a meeting are chat
// messages, which a socket.io server refuses above 1 MB by default when a client sends them, and
// the participant lists, about 150 bytes per participant (a room of 14,000 fits).
constexpr size_t kMaxMessageBytes = size_t{2} << 20;  // 2 MiB

// The largest websocket message the client reads at all, a guard on memory: it is held whole
// before its socket.io payload is measured. Well above any message within kMaxMessageBytes in its
// most escaped form; a larger one is refused from its frame header, before it takes any memory,
// and fails the connection that carries it.
constexpr size_t kMaxFrameBytes = size_t{32} << 20;  // 32 MiB

// Why a connection ended for good (no further automatic attempt).
enum class CloseReason {
    kRequested,         // Close, SyncClose or the destructor
    kServerDisconnect,  // the server disconnected the namespace
    kDropped,           // the connection was lost and reconnection is disabled
};

using OpenListener = std::function<void()>;
using CloseListener = std::function<void(CloseReason)>;
// reason: why the session failed, for the log: the server's refusal message, or what made the
// attempts end (used up, unusable origin or header).
using FailListener = std::function<void(const std::string& reason)>;
// attempt counts from 1 since the last successful connection; delay is the wait before it. cause:
// for the log, what ended the connection or attempt when the server broke a limit of this
// client (a message larger than kMaxFrameBytes); empty for a plain failure or loss.
using ReconnectListener = std::function<void(unsigned attempt, std::chrono::milliseconds delay,
                                             const std::string& cause)>;
// what: for the log, the message the client dropped (its event name and size) and why.
using DropListener = std::function<void(const std::string& what)>;

// The default namespace "/" of a client. Owned by its Client and valid as long as the Client.
// Every member may be called from any thread, including from handlers and listeners.
class Socket {
public:
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    // Registers the handler for an event name, replacing any earlier one. Handlers stay
    // registered across reconnections. An event without a handler is dropped.
    void On(const std::string& event, EventHandler handler);

    // Sends the event with its arguments, without asking for an acknowledgement. Emits made
    // while the namespace is not connected (before Connect, during a connection attempt or while
    // waiting to reconnect) are kept and sent in order as soon as it is connected; emits from one
    // thread always reach the server in the order they were made.
    void Emit(const std::string& event, Message::Array args = {});

    // Sends the event first each time the namespace is connected, before the waiting emits: on
    // the first connection and again after every automatic reconnection, since the server sees
    // a reconnected client as a new one (an authorization, say). Replaces any earlier one; takes
    // effect from the next namespace connection.
    void EmitOnEveryConnect(const std::string& event, Message::Array args = {});

private:
    friend class Client;
    explicit Socket(ClientCore& core) : core_(core) {}

    ClientCore& core_;
};

// A socket.io client for the default namespace over Engine.IO v4, websocket transport only,
// plain TCP (no TLS).
//
// Threads: Connect starts one network thread, which delivers every listener call and every
// event; Close lets it end and SyncClose (or the destructor) waits for it. The listeners and
// handlers must not block that thread for long.
//
// Lifecycle: Connect begins a session; it ends in exactly one of
//   - the close listener: Close/SyncClose/destructor, a server disconnect, or a lost connection
//     with reconnection disabled;
//   - the fail listener: a failed attempt when no further attempt is allowed, an origin or
//     header that cannot be used, a connect error from the server (the namespace refused
//     the client, whose message the listener receives), or a server that broke a limit of this
//     client on too many connections in a row.
// In between, the open listener runs each time the namespace is connected, and the reconnect
// listener each time an attempt is scheduled after a failure or a lost connection. Neither a
// connect error nor a server disconnect is ever retried: the server said no, and asking again
// the same way would only be refused again.
// The connection counts as lost when the server sends nothing for pingInterval + pingTimeout, and
// when it sends a message larger than kMaxFrameBytes (the reconnect listener says so); a server
// that does so on connection after connection ends the session (ReconnectPolicy). A message
// within that but holding more than kMaxMessageBytes is dropped: the drop listener runs, and the
// connection carries on.
//
// Set* and Clear* may be called from any thread; a listener call already under way when one is
// replaced or cleared still completes. Connect, Close and SyncClose may be called from any thread
// except that SyncClose and the destructor wait for the network thread and so must not be called
// from a listener or handler (the destructor tolerates it by letting the thread finish alone).
class Client {
public:
    Client();
    // Closes like SyncClose (the close listener still runs if a session was active), then drops
    // every listener and handler.
    ~Client();

    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    void SetOpenListener(OpenListener listener);
    void SetCloseListener(CloseListener listener);
    void SetFailListener(FailListener listener);
    void SetReconnectListener(ReconnectListener listener);
    void SetDropListener(DropListener listener);
    void ClearConnectionListeners();

    // Used by the next Connect.
    void SetReconnectPolicy(const ReconnectPolicy& policy);
    // Longest time one attempt may take from the TCP connect to the namespace connection
    // (default 20 s); an attempt that takes longer counts as failed.
    void SetConnectTimeout(std::chrono::milliseconds timeout);

    // Starts a session towards origin ("http://host:port"), sending each query pair (percent-
    // encoded) and each header with the websocket request. Returns at once: the outcome arrives
    // through the listeners. One session per Connect: a second call is ignored until Close or
    // SyncClose has been called (even if the first session has already failed or closed).
    void Connect(const std::string& origin, const std::map<std::string, std::string>& query = {},
                 const std::map<std::string, std::string>& headers = {});

    // Sets one query pair (adding it when new) for the session's attempts from now on, its
    // automatic reconnections included; the connection open now keeps what it was opened with.
    // Without a session it does nothing: the next Connect gives the whole query. A value that
    // cannot be sent leaves the query as it was.
    void SetQueryValue(const std::string& key, const std::string& value);

    // The default namespace; the same object for the client's whole life.
    Socket& DefaultSocket() { return socket_; }

    // Ends the session: tells the server, cancels any pending reconnection and lets the network
    // thread finish. Returns at once; the close listener runs on the network thread.
    void Close();
    // Close, then waits until the network thread has ended (a server that does not answer the
    // websocket close is cut off after a short grace period). ClosingClients::Adopt ends a client
    // without that wait.
    void SyncClose();

private:
    friend class ClosingClients;

    std::shared_ptr<ClientCore> core_;
    Socket socket_;
};

}  // namespace ksio
