#include "ws_transport.h"

#include <utility>

#include <websocketpp/client.hpp>
#include <websocketpp/concurrency/none.hpp>
#include <websocketpp/config/asio_no_tls_client.hpp>

#include "hop_trace.h"
#include "kestrum/sio/client.h"

namespace ksio {
namespace {

// The stock client configuration made for one network thread:
// - no locking and no strand: every call and every handler runs on that thread anyway, and under
//   Wine an uncontended lock and a strand's bookkeeping are a measurable share of each event;
// - "dispatch" runs its handler at once instead of posting it: websocketpp hands every send's
//   write to dispatch, and a post costs a pass through the completion port, a Wine server round
//   trip, before the frame even reaches the socket. It is only ever called on the network thread
//   (this transport's contract), and websocketpp calls it last, once its own state is settled;
// - a larger read buffer, so that a burst of events is taken in with fewer socket reads, each of
//   which is a round trip through the Wine server too.
struct NetworkThreadConfig : websocketpp::config::asio_client {
    typedef NetworkThreadConfig type;
    typedef websocketpp::concurrency::none concurrency_type;
    typedef websocketpp::log::basic<concurrency_type, websocketpp::log::elevel> elog_type;
    typedef websocketpp::log::basic<concurrency_type, websocketpp::log::alevel> alog_type;
    typedef websocketpp::random::random_device::int_generator<uint32_t, concurrency_type> rng_type;

    struct transport_config : asio_client::transport_config {
        typedef type::concurrency_type concurrency_type;
        typedef type::elog_type elog_type;
        typedef type::alog_type alog_type;
        static bool const enable_multithreading = false;
    };

    class transport_connection : public websocketpp::transport::asio::connection<transport_config> {
    public:
        using websocketpp::transport::asio::connection<transport_config>::connection;
        websocketpp::lib::error_code dispatch(websocketpp::transport::dispatch_handler handler) {
            handler();
            return websocketpp::lib::error_code();
        }
        // websocketpp asks for the next read once the frames of the previous one are handled.
        void async_read_at_least(size_t num_bytes, char* buf, size_t len,
                                 websocketpp::transport::read_handler handler) {
            MarkHop(Hop::kReadIssued);
            connection::async_read_at_least(
                num_bytes, buf, len,
                [this, handler = std::move(handler)](const websocketpp::lib::error_code& ec,
                                                     size_t bytes) {
                    if (bytes > 0 && on_read) on_read();
                    handler(ec, bytes);
                });
        }

        using connection::async_write;
        void async_write(const std::vector<websocketpp::transport::buffer>& buffers,
                         websocketpp::transport::write_handler handler) {
            connection::async_write(buffers, [this, handler = std::move(handler)](
                                                 const websocketpp::lib::error_code& ec) {
                handler(ec);  // websocketpp starts the next write from here
                if (on_written) on_written();
            });
        }

        // Bytes arrived, maybe only part of a frame; a write of frames finished. The pending
        // operation's handler holds the connection, so this object is alive when they run.
        std::function<void()> on_read;
        std::function<void()> on_written;
    };

    struct transport_type : websocketpp::transport::asio::endpoint<transport_config> {
        typedef transport_connection transport_con_type;
    };

    static const size_t connection_read_buffer_size = 65536;
    // A larger message is refused from its frame header, before it takes any memory: the
    // connection then closes with "message too big".
    static const size_t max_message_size = kMaxFrameBytes;
    static bool const enable_multithreading = false;
};

using WsClient = websocketpp::client<NetworkThreadConfig>;
using ConnectionPtr = WsClient::connection_ptr;

// Long enough for a live server to answer the close frame; short enough that a destructor
// waiting on the network thread is not held up by one that never does.
constexpr long kCloseHandshakeMillis = 1000;

const std::string kTooBigCause =
    "the server sent a message larger than " + std::to_string(kMaxFrameBytes) + " bytes";

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos || text.find('\0') != std::string::npos;
}

void Cut(const ConnectionPtr& connection) {
    boost::system::error_code ignored;
    auto& socket = connection->get_raw_socket();
    socket.shutdown(boost::asio::ip::tcp::socket::shutdown_both, ignored);
    socket.close(ignored);
}

}  // namespace

struct WsTransport::Impl {
    Impl(boost::asio::io_context& io, Callbacks callbacks) : callbacks(std::move(callbacks)) {
        // websocketpp logs to the console by default; this library reports through listeners.
        endpoint.clear_access_channels(websocketpp::log::alevel::all);
        endpoint.clear_error_channels(websocketpp::log::elevel::all);
        endpoint.init_asio(&io);
        // Every frame of this protocol is small and waits for nothing else: Nagle's algorithm
        // would hold a frame back until the previous one is acknowledged.
        endpoint.set_socket_init_handler(
            [](websocketpp::connection_hdl, boost::asio::ip::tcp::socket& socket) {
                boost::system::error_code ignored;
                socket.set_option(boost::asio::ip::tcp::no_delay(true), ignored);
            });
    }

    void Retire() {
        ++generation;
        current.reset();
    }

    bool IsCurrent(uint64_t gen) const { return gen == generation && current; }

    void CutRetired(websocketpp::connection_hdl hdl) {
        websocketpp::lib::error_code ec;
        if (ConnectionPtr connection = endpoint.get_con_from_hdl(hdl, ec)) Cut(connection);
    }

    void Bind(const ConnectionPtr& connection, uint64_t gen) {
        connection->on_read = [this, gen] {
            if (IsCurrent(gen)) callbacks.on_bytes();
        };
        connection->on_written = [this, gen] {
            if (IsCurrent(gen)) callbacks.on_written();
        };
        connection->set_open_handler([this, gen](websocketpp::connection_hdl hdl) {
            if (!IsCurrent(gen)) CutRetired(hdl);
        });
        connection->set_message_handler(
            [this, gen](websocketpp::connection_hdl hdl, WsClient::message_ptr message) {
                if (!IsCurrent(gen)) return CutRetired(hdl);
                if (message->get_opcode() != websocketpp::frame::opcode::text) return;
                MarkHop(Hop::kFrameRead);
                callbacks.on_text(message->get_payload());
            });
        connection->set_fail_handler([this, gen](websocketpp::connection_hdl) { Ended(gen, ""); });
        connection->set_close_handler([this, gen](websocketpp::connection_hdl hdl) {
            websocketpp::lib::error_code ec;
            const ConnectionPtr closed = endpoint.get_con_from_hdl(hdl, ec);
            const bool tooBig = closed && closed->get_local_close_code() ==
                                              websocketpp::close::status::message_too_big;
            Ended(gen, tooBig ? kTooBigCause : "");
        });
    }

    void Ended(uint64_t gen, const std::string& cause) {
        if (!IsCurrent(gen)) return;
        Retire();
        callbacks.on_ended(cause);
    }

    Callbacks callbacks;
    WsClient endpoint;
    ConnectionPtr current;
    uint64_t generation = 0;
};

WsTransport::WsTransport(boost::asio::io_context& io, Callbacks callbacks)
    : impl_(std::make_unique<Impl>(io, std::move(callbacks))) {}

WsTransport::~WsTransport() { Abort(); }

bool WsTransport::Open(const std::string& uri, const std::map<std::string, std::string>& headers,
                       std::chrono::milliseconds handshake_timeout, std::string& error) {
    Abort();
    for (const auto& [key, value] : headers) {
        // A line break would let a caller's text inject further headers into the request.
        if (key.empty() || HasLineBreak(key) || HasLineBreak(value)) {
            error = "invalid header: " + key;
            return false;
        }
    }
    websocketpp::lib::error_code ec;
    ConnectionPtr connection = impl_->endpoint.get_connection(uri, ec);
    if (ec) {
        error = "invalid address " + uri + ": " + ec.message();
        return false;
    }
    for (const auto& [key, value] : headers) connection->append_header(key, value);
    connection->set_open_handshake_timeout(static_cast<long>(handshake_timeout.count()));
    connection->set_close_handshake_timeout(kCloseHandshakeMillis);
    impl_->Bind(connection, impl_->generation);
    impl_->current = connection;
    impl_->endpoint.connect(connection);
    return true;
}

void WsTransport::Send(std::string_view frame) {
    const ConnectionPtr& connection = impl_->current;
    if (!connection || connection->get_state() != websocketpp::session::state::open) return;
    // A broken connection reports itself through on_ended; the result adds nothing.
    connection->send(frame.data(), frame.size(), websocketpp::frame::opcode::text);
    MarkHop(Hop::kFrameQueued);
}

size_t WsTransport::Queued() const {
    const ConnectionPtr& connection = impl_->current;
    return connection ? connection->get_buffered_amount() : 0;
}

void WsTransport::CloseGracefully() {
    ConnectionPtr connection = impl_->current;
    impl_->Retire();
    if (!connection) return;
    websocketpp::lib::error_code ec;
    connection->close(websocketpp::close::status::normal, "", ec);
    if (ec) Cut(connection);  // not open yet: nothing to close politely
}

void WsTransport::Abort() {
    ConnectionPtr connection = impl_->current;
    impl_->Retire();
    if (connection) Cut(connection);
}

}  // namespace ksio
