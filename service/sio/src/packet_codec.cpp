#include "packet_codec.h"

#include <utility>

#include "json_codec.h"

namespace ksio {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A positive integer member that fits the milliseconds type, or false.
bool ReadPositiveMillis(const Message& value, std::chrono::milliseconds& out) {
    if (value.GetType() != Message::Type::Integer || value.AsInt() <= 0) return false;
    out = std::chrono::milliseconds(value.AsInt());
    return true;
}

// Skips "<digits>-", the attachment count of the binary types.
bool SkipAttachmentCount(std::string_view& rest) {
    size_t i = 0;
    while (i < rest.size() && IsDigit(rest[i])) ++i;
    if (i == 0 || i >= rest.size() || rest[i] != '-') return false;
    rest.remove_prefix(i + 1);
    return true;
}

bool ReadNamespace(std::string_view& rest, bool& is_default) {
    is_default = true;
    if (rest.empty() || rest.front() != '/') return true;
    const size_t comma = rest.find(',');
    if (comma == std::string_view::npos) {
        // "/" alone is the default namespace written out; anything else lacks its comma.
        return rest == "/";
    }
    is_default = rest.substr(0, comma) == "/";
    rest.remove_prefix(comma + 1);
    return true;
}

bool ReadAckId(std::string_view& rest, bool& has_id, uint64_t& id) {
    // More digits than this could overflow; no server hands out such ids.
    constexpr size_t kMaxIdDigits = 18;
    size_t i = 0;
    id = 0;
    while (i < rest.size() && IsDigit(rest[i])) {
        if (i == kMaxIdDigits) return false;
        id = id * 10 + static_cast<uint64_t>(rest[i] - '0');
        ++i;
    }
    has_id = i > 0;
    rest.remove_prefix(i);
    return true;
}

}  // namespace

bool ParseEnginePacket(std::string_view frame, EnginePacket& out) {
    if (frame.empty() || frame[0] < '0' || frame[0] > '6') return false;
    out.type = static_cast<EnginePacketType>(frame[0]);
    out.data = frame.substr(1);
    return true;
}

bool ParseEngineOpen(std::string_view data, EngineOpen& out) {
    Message open;
    if (!DecodeJson(data, open)) return false;
    const Message& sid = open.Get("sid");
    EngineOpen result;
    if (sid.GetType() != Message::Type::String ||
        !ReadPositiveMillis(open.Get("pingInterval"), result.ping_interval) ||
        !ReadPositiveMillis(open.Get("pingTimeout"), result.ping_timeout)) {
        return false;
    }
    result.sid = sid.AsString();
    out = std::move(result);
    return true;
}

bool ParseSocketPacket(std::string_view packet, SocketPacket& out) {
    if (packet.empty() || packet[0] < '0' || packet[0] > '6') return false;
    SocketPacket result{};
    result.type = static_cast<SocketPacketType>(packet[0]);
    std::string_view rest = packet.substr(1);
    const bool binary = result.type == SocketPacketType::kBinaryEvent ||
                        result.type == SocketPacketType::kBinaryAck;
    if (binary && !SkipAttachmentCount(rest)) return false;
    if (!ReadNamespace(rest, result.for_default_namespace)) return false;
    if (!ReadAckId(rest, result.has_ack_id, result.ack_id)) return false;
    result.data = rest;
    out = result;
    return true;
}

bool DecodeEventPayload(std::string_view data, std::string& name, Message::Array& args,
                        JsonDecoder& decoder) {
    Message payload;
    if (!decoder.Decode(data, payload) || payload.GetType() != Message::Type::Array) return false;
    Message::Array elements = payload.TakeElements();
    if (elements.empty() || elements[0].GetType() != Message::Type::String) return false;
    name = elements[0].AsString();
    elements.erase(elements.begin());
    args = std::move(elements);
    return true;
}

bool DecodeEventPayload(std::string_view data, std::string& name, Message::Array& args) {
    JsonDecoder decoder;
    return DecodeEventPayload(data, name, args, decoder);
}

std::string PeekEventName(std::string_view data) {
    constexpr size_t kLongestName = 256;
    if (data.substr(0, 2) != "[\"") return "";
    const size_t end = data.substr(0, kLongestName).find('"', 2);
    Message name;
    if (end == std::string_view::npos || !DecodeJson(data.substr(1, end), name)) return "";
    return name.AsString();
}

std::string DecodeConnectErrorMessage(std::string_view data) {
    Message payload;
    if (!DecodeJson(data, payload)) return std::string(data);
    if (payload.GetType() == Message::Type::String) return payload.AsString();
    const Message& message = payload.Get("message");
    if (message.GetType() == Message::Type::String) return message.AsString();
    return std::string(data);
}

std::string EncodeEventFrame(const std::string& name, const Message::Array& args) {
    std::string frame = "42[";
    AppendJson(Message::FromString(name), frame);
    for (const Message& arg : args) {
        frame += ',';
        AppendJson(arg, frame);
    }
    frame += ']';
    return frame;
}

std::string EncodeEmptyAckFrame(uint64_t ack_id) { return "43" + std::to_string(ack_id) + "[]"; }

}  // namespace ksio
