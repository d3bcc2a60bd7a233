#include "json_codec.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "kestrum/common/utf.h"

namespace ksio {
namespace {

// Builds Messages straight from the reader's events: one pass, no intermediate document. The
// containers under construction collect in scratch lists, one per depth, that keep their capacity
// from one container and one document to the next; a finished container is moved out at its exact
// size. A small event then costs one heap block per container instead of one per growth step of
// each list, and Wine's heap makes every block count.
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
        frames_[depth_ - 1].key.assign(s, length);
        return true;
    }
    bool StartObject() { return Open(false); }
    bool EndObject(rapidjson::SizeType) { return Close(); }
    bool StartArray() { return Open(true); }
    bool EndArray(rapidjson::SizeType) { return Close(); }

    // Forgets whatever an earlier, failed document left half built.
    void Reset() {
        depth_ = 0;
        result_ = Message();
    }
    Message TakeResult() { return std::move(result_); }

private:
    struct Frame {
        bool is_array = false;
        std::string key;
        Message::Array elements;
        Message::Object members;
    };

    bool Open(bool is_array) {
        if (static_cast<int>(depth_) >= kMaxJsonDepth) return false;
        if (frames_.size() == depth_) frames_.emplace_back();
        Frame& frame = frames_[depth_++];
        frame.is_array = is_array;
        frame.elements.clear();
        frame.members.clear();
        return true;
    }

    bool Close() {
        Frame& frame = frames_[--depth_];
        Message value;
        if (frame.is_array) {
            value =
                Message::FromArray(Message::Array(std::make_move_iterator(frame.elements.begin()),
                                                  std::make_move_iterator(frame.elements.end())));
            frame.elements.clear();
        } else {
            value =
                Message::FromObject(Message::Object(std::make_move_iterator(frame.members.begin()),
                                                    std::make_move_iterator(frame.members.end())));
            frame.members.clear();
        }
        return Add(std::move(value));
    }

    bool Add(Message value) {
        if (depth_ == 0) {
            result_ = std::move(value);
        } else if (Frame& frame = frames_[depth_ - 1]; frame.is_array) {
            frame.elements.push_back(std::move(value));
        } else {
            frame.members.emplace_back(frame.key, std::move(value));
        }
        return true;
    }

    std::vector<Frame> frames_;  // frames_[0, depth_) are open; the rest keep their capacity
    size_t depth_ = 0;
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

// The UTF-16 unit of the escape "\uXXXX" that starts at text[at], or -1 when there is none.
int EscapedUnit(std::string_view text, size_t at) {
    if (at + 6 > text.size() || text[at] != '\\' || text[at + 1] != 'u') return -1;
    int unit = 0;
    for (size_t i = at + 2; i < at + 6; ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return -1;
        unit = unit * 16 + digit;
    }
    return unit;
}

bool IsHighSurrogate(int unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(int unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The JSON text with each escape of a lone UTF-16 surrogate (a high one not followed by the
// escape of a low one, or a low one without a high one before it) replaced by "\uFFFD"; false,
// out untouched, when the text holds none. The reader refuses a document with a lone high
// surrogate and would write a lone low one as bytes that are no UTF-8; either way one such
// character in one name would cost the whole event. A backslash of valid JSON stands only in
// a string, so escapes are found without following the strings.
bool ReplaceLoneSurrogateEscapes(std::string_view text, std::string& out) {
    bool replaced = false;
    size_t copied = 0;
    for (size_t at = text.find('\\'); at != std::string_view::npos; at = text.find('\\', at)) {
        const int unit = EscapedUnit(text, at);
        if (IsHighSurrogate(unit) && IsLowSurrogate(EscapedUnit(text, at + 6))) {
            at += 12;
            continue;
        }
        if (!IsHighSurrogate(unit) && !IsLowSurrogate(unit)) {
            at += 2;  // any other escape, "\\" included, is left to the reader
            continue;
        }
        if (!replaced) out.reserve(text.size());
        replaced = true;
        out.append(text.data() + copied, at - copied);
        out.append("\\uFFFD");
        at += 6;
        copied = at;
    }
    if (replaced) out.append(text.data() + copied, text.size() - copied);
    return replaced;
}

size_t Utf8Length(int unit) { return unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3; }

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
    case Message::Type::Null:
        writer.Null();
        break;
    case Message::Type::Boolean:
        writer.Bool(value.AsBool());
        break;
    case Message::Type::Integer:
        writer.Int64(value.AsInt());
        break;
    case Message::Type::Double:
        if (std::isfinite(value.AsDouble())) {
            writer.Double(value.AsDouble());
        } else {
            writer.Null();
        }
        break;
    case Message::Type::String:
        WriteText(value.AsString(), writer);
        break;
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

struct JsonDecoder::Impl {
    MessageBuilder builder;
    rapidjson::Reader reader;  // its parse stack, too, is kept from one document to the next
};

JsonDecoder::JsonDecoder() : impl_(std::make_unique<Impl>()) {}
JsonDecoder::~JsonDecoder() = default;

bool JsonDecoder::Decode(std::string_view text, Message& out) {
    std::string repaired;
    if (ReplaceLoneSurrogateEscapes(text, repaired)) text = repaired;
    rapidjson::MemoryStream stream(text.data(), text.size());
    impl_->builder.Reset();
    // Iterative parsing keeps hostile nesting off the call stack; full precision keeps doubles
    // exactly as the peer printed them.
    constexpr unsigned kFlags = rapidjson::kParseIterativeFlag | rapidjson::kParseFullPrecisionFlag;
    if (!impl_->reader.Parse<kFlags>(stream, impl_->builder)) return false;
    out = impl_->builder.TakeResult();
    return true;
}

bool DecodeJson(std::string_view text, Message& out) {
    JsonDecoder decoder;
    return decoder.Decode(text, out);
}

void AppendJson(const Message& value, std::string& out) {
    rapidjson::StringBuffer buffer;
    Writer writer(buffer);
    WriteValue(value, writer);
    out.append(buffer.GetString(), buffer.GetSize());
}

size_t UnescapedJsonSize(std::string_view text) {
    size_t size = text.size();
    for (size_t at = text.find('\\'); at != std::string_view::npos; at = text.find('\\', at)) {
        const int unit = EscapedUnit(text, at);
        size_t escape = 2;  // "\n", "\"", "\\" and the like
        size_t written = 1;
        if (IsHighSurrogate(unit) && IsLowSurrogate(EscapedUnit(text, at + 6))) {
            escape = 12;
            written = 4;
        } else if (unit >= 0) {
            escape = 6;
            written = Utf8Length(unit);  // a lone surrogate reads as U+FFFD, three bytes too
        }
        size -= std::min(escape - written, size);
        at += escape;
    }
    return size;
}

std::string RepairUtf8(std::string_view text) {
    // The decoder that gives the windows their UTF-16, so that a bad sequence costs as many U+FFFD
    // on the wire as on screen.
    namespace utf = kestrum::common::utf_detail;
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) utf::AppendUtf8(out, utf::DecodeUtf8(text, i));
    return out;
}

}  // namespace ksio
