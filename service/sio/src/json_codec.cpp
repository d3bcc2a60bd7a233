#include "json_codec.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

namespace ksio {
namespace {

// Builds Messages straight from the reader's events: one pass, no intermediate document.
class MessageBuilder : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, MessageBuilder> {
public:
    bool Null() { return Add(Message()); }
    bool Bool(bool b) { return Add(Message::FromBool(b)); }
    bool Int(int i) { return Add(Message::FromInt(i)); }
    bool Uint(unsigned u) { return Add(Message::FromInt(u)); }
    bool Int64(int64_t i) { return Add(Message::FromInt(i)); }
    bool Uint64(uint64_t u) {
        if (u > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
            return Add(Message::FromDouble(static_cast<double>(u)));
        }
        return Add(Message::FromInt(static_cast<int64_t>(u)));
    }
    bool Double(double d) { return Add(Message::FromDouble(d)); }
    bool String(const char* s, rapidjson::SizeType length, bool) {
        return Add(Message::FromString(std::string(s, length)));
    }
    bool Key(const char* s, rapidjson::SizeType length, bool) {
        stack_.back().key.assign(s, length);
        return true;
    }
    bool StartObject() { return Open(false); }
    bool EndObject(rapidjson::SizeType) { return Close(); }
    bool StartArray() { return Open(true); }
    bool EndArray(rapidjson::SizeType) { return Close(); }

    Message TakeResult() { return std::move(result_); }

private:
    struct Frame {
        bool is_array;
        std::string key;
        Message::Array elements;
        Message::Object members;
    };

    bool Open(bool is_array) {
        if (static_cast<int>(stack_.size()) >= kMaxJsonDepth) return false;
        stack_.push_back(Frame{is_array, {}, {}, {}});
        return true;
    }

    bool Close() {
        Frame frame = std::move(stack_.back());
        stack_.pop_back();
        return Add(frame.is_array ? Message::FromArray(std::move(frame.elements))
                                  : Message::FromObject(std::move(frame.members)));
    }

    bool Add(Message value) {
        if (stack_.empty()) {
            result_ = std::move(value);
        } else if (stack_.back().is_array) {
            stack_.back().elements.push_back(std::move(value));
        } else {
            Frame& frame = stack_.back();
            frame.members.emplace_back(std::move(frame.key), std::move(value));
        }
        return true;
    }

    std::vector<Frame> stack_;
    Message result_;
};

// Length of the valid UTF-8 sequence starting at text[i], or 0 when the byte there starts none.
size_t Utf8SequenceLength(std::string_view text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (size_t k = 2; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    }
    return length;
}

bool IsValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8SequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

using Writer = rapidjson::Writer<rapidjson::StringBuffer>;

void WriteText(std::string_view text, Writer& writer) {
    if (IsValidUtf8(text)) {
        writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
        return;
    }
    const std::string repaired = RepairUtf8(text);
    writer.String(repaired.data(), static_cast<rapidjson::SizeType>(repaired.size()));
}

void WriteValue(const Message& value, Writer& writer) {
    switch (value.GetType()) {
    case Message::Type::Null: writer.Null(); break;
    case Message::Type::Boolean: writer.Bool(value.AsBool()); break;
    case Message::Type::Integer: writer.Int64(value.AsInt()); break;
    case Message::Type::Double:
        if (std::isfinite(value.AsDouble())) {
            writer.Double(value.AsDouble());
        } else {
            writer.Null();
        }
        break;
    case Message::Type::String: WriteText(value.AsString(), writer); break;
    case Message::Type::Array:
        writer.StartArray();
        for (const Message& element : value.Elements()) WriteValue(element, writer);
        writer.EndArray();
        break;
    case Message::Type::Object:
        writer.StartObject();
        for (const Message::Member& member : value.Members()) {
            WriteText(member.first, writer);
            WriteValue(member.second, writer);
        }
        writer.EndObject();
        break;
    }
}

}  // namespace

bool DecodeJson(std::string_view text, Message& out) {
    rapidjson::MemoryStream stream(text.data(), text.size());
    MessageBuilder builder;
    rapidjson::Reader reader;
    // Iterative parsing keeps hostile nesting off the call stack; full precision keeps doubles
    // exactly as the peer printed them.
    constexpr unsigned kFlags = rapidjson::kParseIterativeFlag | rapidjson::kParseFullPrecisionFlag;
    if (!reader.Parse<kFlags>(stream, builder)) return false;
    out = builder.TakeResult();
    return true;
}

void AppendJson(const Message& value, std::string& out) {
    rapidjson::StringBuffer buffer;
    Writer writer(buffer);
    WriteValue(value, writer);
    out.append(buffer.GetString(), buffer.GetSize());
}

std::string RepairUtf8(std::string_view text) {
    static constexpr char kReplacement[] = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8SequenceLength(text, i);
        if (length == 0) {
            out.append(kReplacement);
            ++i;
        } else {
            out.append(text.data() + i, length);
            i += length;
        }
    }
    return out;
}

}  // namespace ksio
