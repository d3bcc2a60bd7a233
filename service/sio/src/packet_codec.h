#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "json_codec.h"
#include "kestrum/sio/message.h"

namespace ksio {

// Engine.IO v4 packets as text websocket frames: one type digit, then the payload.
enum class EnginePacketType : char {
    kOpen = '0',
    kClose = '1',
    kPing = '2',
    kPong = '3',
    kMessage = '4',
    kUpgrade = '5',
    kNoop = '6',
};

struct EnginePacket {
    EnginePacketType type;
    std::string_view data;  // points into the frame
};

// False for an empty frame or an unknown type digit.
[[nodiscard]] bool ParseEnginePacket(std::string_view frame, EnginePacket& out);

// The server's handshake, the payload of the open packet.
struct EngineOpen {
    std::string sid;
    std::chrono::milliseconds ping_interval{0};
    std::chrono::milliseconds ping_timeout{0};
};

// False unless the payload is an object with a string "sid" and positive integer
// "pingInterval" and "pingTimeout".
[[nodiscard]] bool ParseEngineOpen(std::string_view data, EngineOpen& out);

// Socket.IO v5 packets, carried inside Engine.IO message packets:
//   <type>[<attachments>-][<namespace>,][<ack id>][<JSON payload>]
enum class SocketPacketType : char {
    kConnect = '0',
    kDisconnect = '1',
    kEvent = '2',
    kAck = '3',
    kConnectError = '4',
    kBinaryEvent = '5',
    kBinaryAck = '6',
};

struct SocketPacket {
    SocketPacketType type;
    bool for_default_namespace;  // false when the packet names another namespace
    bool has_ack_id;
    uint64_t ack_id;
    std::string_view data;  // the JSON payload, possibly empty; points into the input
};

// False for an unknown type or a malformed header (unterminated namespace, oversized id, ...).
[[nodiscard]] bool ParseSocketPacket(std::string_view packet, SocketPacket& out);

// Reads an event payload ["name", args...]. False when it is not an array whose first element
// is a string.
[[nodiscard]] bool DecodeEventPayload(std::string_view data, std::string& name,
                                      Message::Array& args);
// The same with a decoder that keeps its working memory from one payload to the next.
[[nodiscard]] bool DecodeEventPayload(std::string_view data, std::string& name,
                                      Message::Array& args, JsonDecoder& decoder);

// The name of the event whose payload data is, read from its start alone; empty when it does not
// start with one (a short name without escapes, as every event of this protocol has).
std::string PeekEventName(std::string_view data);

// The message of a connect error payload: {"message": text} as current servers send it, or a
// bare JSON text as older ones do; any other payload is returned as it stands.
std::string DecodeConnectErrorMessage(std::string_view data);

// Complete websocket frames (Engine.IO type included) sent by the client.
inline constexpr std::string_view kPongFrame = "3";
inline constexpr std::string_view kNamespaceConnectFrame = "40";
inline constexpr std::string_view kNamespaceDisconnectFrame = "41";
std::string EncodeEventFrame(const std::string& name, const Message::Array& args);
std::string EncodeEmptyAckFrame(uint64_t ack_id);

}  // namespace ksio
