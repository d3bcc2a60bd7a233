#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include <boost/asio/io_context.hpp>

namespace ksio {

// One websocket connection at a time over plain TCP. Network thread only.
//
// The callbacks concern the current connection only: once Open starts another one, or
// CloseGracefully or Abort retires it, nothing more is reported about it, and a retired
// connection that still manages to open is cut at once.
class WsTransport {
public:
    struct Callbacks {
        std::function<void(std::string_view frame)> on_text;  // one text frame
        // Bytes arrived, maybe only part of a frame: a large one takes a while on a slow link.
        std::function<void()> on_bytes;
        // A write to the socket has finished: Queued may have fallen.
        std::function<void()> on_written;
        // The connection failed or closed (at most once). cause: empty, or what this client
        // could not take from the server (a message larger than kMaxFrameBytes).
        std::function<void(const std::string& cause)> on_ended;
    };

    WsTransport(boost::asio::io_context& io, Callbacks callbacks);
    ~WsTransport();

    WsTransport(const WsTransport&) = delete;
    WsTransport& operator=(const WsTransport&) = delete;

    // Retires any current connection and starts connecting to uri. False, with the reason, when
    // the request cannot be made (bad URI, a header containing a line break).
    [[nodiscard]] bool Open(const std::string& uri,
                            const std::map<std::string, std::string>& headers,
                            std::chrono::milliseconds handshake_timeout, std::string& error);
    // Queues a text frame; dropped unless the connection is open. A frame is written at once when
    // no write is under way, else with all those queued meanwhile once it is over.
    void Send(std::string_view frame);
    // Bytes of the frames queued and not yet being written; 0 without an open connection.
    size_t Queued() const;
    // Starts the websocket close handshake (bounded by a short timeout) and retires the connection.
    void CloseGracefully();
    // Cuts the TCP connection and retires it.
    void Abort();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ksio
