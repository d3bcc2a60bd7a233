// Message values, their JSON form and the Engine.IO / Socket.IO framing, without a network.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "json_codec.h"
#include "packet_codec.h"

namespace ksio {
namespace {

Message Decoded(const std::string& json) {
    Message out = Message::FromString("untouched");
    EXPECT_TRUE(DecodeJson(json, out)) << json;
    return out;
}

std::string Encoded(const Message& value) {
    std::string out;
    AppendJson(value, out);
    return out;
}

TEST(MessageTest, ReadersOfAnotherTypeGiveNeutralValues) {
    const Message text = Message::FromString("5");
    EXPECT_EQ(text.AsInt(), 0);
    EXPECT_FALSE(text.AsBool());
    EXPECT_TRUE(text.Elements().empty());
    EXPECT_TRUE(text.Get("a").IsNull());
    EXPECT_EQ(Message::FromDouble(2.0).AsInt(), 0);
    EXPECT_EQ(Message::FromInt(2).AsDouble(), 0.0);
    EXPECT_EQ(Message().AsString(), "");
    const Message list = Message::FromArray({Message::FromInt(1)});
    EXPECT_TRUE(list.At(1).IsNull());
    EXPECT_TRUE(list.At(0).At(0).Get("x").IsNull());
}

TEST(MessageTest, ObjectLookupTakesTheFirstMemberWithTheExactKey) {
    const Message object = Message::FromObject({{"uid", Message::FromString("a")},
                                                {"UID", Message::FromString("b")},
                                                {"uid", Message::FromString("c")}});
    EXPECT_EQ(object.Get("uid").AsString(), "a");
    EXPECT_EQ(object.Get("UID").AsString(), "b");
    EXPECT_TRUE(object.Get("Uid").IsNull());
}

TEST(JsonCodecTest, IntegersAndFractionalNumbersStayApart) {
    EXPECT_EQ(Decoded("5").GetType(), Message::Type::Integer);
    EXPECT_EQ(Decoded("5.0").GetType(), Message::Type::Double);
    EXPECT_EQ(Decoded("5e0").GetType(), Message::Type::Double);
    EXPECT_EQ(Decoded("-9223372036854775808").AsInt(), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(Decoded("9223372036854775807").AsInt(), std::numeric_limits<int64_t>::max());
    // Beyond int64 the value can only be approximate, hence a double.
    EXPECT_EQ(Decoded("9223372036854775808").GetType(), Message::Type::Double);
    EXPECT_EQ(Decoded("0.1").AsDouble(), 0.1);
}

TEST(JsonCodecTest, RoundTripsEveryKindInOrder) {
    const std::string json =
        R"({"b":true,"n":null,"i":-3,"d":2.5,"s":"\u4f60\"\\","a":[1,[],{}],"z":{"k":"v"}})";
    const Message value = Decoded(json);
    EXPECT_EQ(value.Members().front().first, "b");
    EXPECT_EQ(value.Members().back().first, "z");
    EXPECT_EQ(value.Get("s").AsString(), "\xE4\xBD\xA0\"\\");
    EXPECT_EQ(Decoded(Encoded(value)), value);
}

TEST(JsonCodecTest, RefusesMalformedOrHostileInput) {
    for (const std::string bad : {"", "[", "[1,]", "{\"a\"}", "1 2", "nul", "\"open", "[1]x"}) {
        Message out = Message::FromString("untouched");
        EXPECT_FALSE(DecodeJson(bad, out)) << bad;
        EXPECT_EQ(out.AsString(), "untouched");
    }
    const std::string deep(kMaxJsonDepth, '[');
    Message out;
    EXPECT_TRUE(DecodeJson(deep + std::string(kMaxJsonDepth, ']'), out));
    EXPECT_FALSE(DecodeJson("[" + deep + std::string(kMaxJsonDepth + 1, ']'), out));
    EXPECT_FALSE(DecodeJson(std::string(100000, '['), out));
}

// The network thread's decoder keeps its working lists from one document to the next: whatever
// the previous document left there, broken off half way included, must not leak into the next.
TEST(JsonCodecTest, ReusedDecoderReadsEachDocumentAsAFreshOneDoes) {
    const std::string deep = std::string(kMaxJsonDepth, '[') + std::string(kMaxJsonDepth, ']');
    const std::string documents[] = {
        R"(["user-list",[{"uid":"1","name":"a"},{"uid":"2","name":"b","extra":[1,2,3]}]])",
        R"({"a":{"b":{"c":[true,null]}},"d":"e"})",
        R"({"open":[1,2,{"half":)",  // broken off with three containers open
        R"([{"k":1},{"k":2}])",
        R"({"x":[)" + std::string(kMaxJsonDepth, '['),  // refused for its depth
        R"({})",
        R"([])",
        deep,
        R"("bare")",
        R"({"after":["deep",{"one":1}]})"};
    JsonDecoder decoder;
    for (const std::string& json : documents) {
        Message fresh = Message::FromString("untouched"), reused = fresh;
        const bool freshOk = DecodeJson(json, fresh);
        EXPECT_EQ(decoder.Decode(json, reused), freshOk) << json;
        EXPECT_EQ(reused, fresh) << json;
    }
}

TEST(JsonCodecTest, WritesNumbersSoThatTheirKindSurvives) {
    EXPECT_EQ(Encoded(Message::FromInt(-1099511627776)), "-1099511627776");
    EXPECT_EQ(Encoded(Message::FromDouble(3.0)), "3.0");
    EXPECT_EQ(Encoded(Message::FromDouble(std::nan(""))), "null");
    EXPECT_EQ(Encoded(Message::FromDouble(std::numeric_limits<double>::infinity())), "null");
}

TEST(JsonCodecTest, RepairsInvalidUtf8InTextsAndKeys) {
    // Each maximal ill-formed subsequence becomes one U+FFFD: a truncated character is one,
    // a second byte that no character may have leaves its lead byte alone.
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(RepairUtf8("ok \xE4\xBD\xA0"), "ok \xE4\xBD\xA0");
    EXPECT_EQ(RepairUtf8("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Encoded(Message::FromString("cut \xE4\xB8")), "\"cut " + r + "\"");
    EXPECT_EQ(RepairUtf8("\xC3x"), r + "x");
    EXPECT_EQ(RepairUtf8("\xF0\x9F\x98!\xF0\x9F"), r + "!" + r);
    EXPECT_EQ(RepairUtf8("\xE4\xB8\xE4\xB8\xAD"), r + "\xE4\xB8\xAD");
    EXPECT_EQ(RepairUtf8("\xC0\xAF"), r + r);                  // overlong "/"
    EXPECT_EQ(RepairUtf8("\xE0\x80\xAF"), r + r + r);          // overlong
    EXPECT_EQ(RepairUtf8("\xED\xA0\x80"), r + r + r);          // surrogate
    EXPECT_EQ(RepairUtf8("\xF4\x90\x80\x80"), r + r + r + r);  // above U+10FFFF
    EXPECT_EQ(RepairUtf8("\x80\xBF\xFF"), r + r + r);
    EXPECT_EQ(Encoded(Message::FromObject({{"k\xFF", Message::FromString("\xFF")}})),
              "{\"k\xEF\xBF\xBD\":\"\xEF\xBF\xBD\"}");
}

// One stray half of a UTF-16 pair in one name must not cost the whole event; measured against the
// cap, every escape counts as what it reads as.
TEST(JsonCodecTest, ReadsEachLoneSurrogateEscapeAsOneReplacementCharacter) {
    const std::string kReplacement = "\xEF\xBF\xBD";
    const struct {
        const char* json;
        std::string text;
    } cases[] = {
        {R"("a\ud800b")", "a" + kReplacement + "b"},
        {R"("\uDBFF")", kReplacement},
        {R"("\udc00x")", kReplacement + "x"},  // a low half alone
        {R"("\uDC00\uD800")", kReplacement + kReplacement},
        {R"("\ud800\u0041")", kReplacement + "A"},
        {R"("\ud83d\ude00 \ud83d")", "\xF0\x9F\x98\x80 " + kReplacement},
        {R"("\\ud800")", "\\ud800"},  // an escaped backslash, then plain letters
        {R"("\u00e9\u4e2d\n\"")", "\xC3\xA9\xE4\xB8\xAD\n\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decoded(c.json).AsString(), c.text) << c.json;
        // What the message is measured to hold against the cap, without decoding it.
        EXPECT_EQ(UnescapedJsonSize(c.json), c.text.size() + 2) << c.json;
    }

    std::string name;
    Message::Array args;
    ASSERT_TRUE(DecodeEventPayload(
        R"(["user-list",[{"uid":"1","name":"\ud800"},{"uid":"2","name":"Bob"}]])", name, args));
    ASSERT_EQ(args.at(0).Elements().size(), 2u);
    EXPECT_EQ(args[0].At(0).Get("name").AsString(), kReplacement);
    EXPECT_EQ(args[0].At(1).Get("name").AsString(), "Bob");
    Message out;
    EXPECT_FALSE(DecodeJson(R"("\ud800)", out));  // still unterminated
}

TEST(EnginePacketTest, SplitsTypeAndPayload) {
    EnginePacket packet;
    ASSERT_TRUE(ParseEnginePacket("2probe", packet));
    EXPECT_EQ(packet.type, EnginePacketType::kPing);
    EXPECT_EQ(packet.data, "probe");
    EXPECT_FALSE(ParseEnginePacket("", packet));
    EXPECT_FALSE(ParseEnginePacket("7", packet));
    EXPECT_FALSE(ParseEnginePacket("x", packet));
}

TEST(EnginePacketTest, ReadsTheOpenHandshake) {
    EngineOpen open;
    ASSERT_TRUE(ParseEngineOpen(
        R"({"sid":"abc","upgrades":[],"pingInterval":25000,"pingTimeout":20000,"maxPayload":1000000})",
        open));
    EXPECT_EQ(open.sid, "abc");
    EXPECT_EQ(open.ping_interval, std::chrono::milliseconds(25000));
    EXPECT_EQ(open.ping_timeout, std::chrono::milliseconds(20000));
    for (const char* bad : {R"({"pingInterval":1,"pingTimeout":1})",
                            R"({"sid":"a","pingInterval":0,"pingTimeout":1})",
                            R"({"sid":"a","pingInterval":1.5,"pingTimeout":1})",
                            R"({"sid":"a","pingInterval":-1,"pingTimeout":1})", "[]", "{"}) {
        EXPECT_FALSE(ParseEngineOpen(bad, open)) << bad;
    }
}

TEST(SocketPacketTest, ReadsNamespaceAckIdAndPayload) {
    SocketPacket packet;
    ASSERT_TRUE(ParseSocketPacket(R"(2["e",1])", packet));
    EXPECT_EQ(packet.type, SocketPacketType::kEvent);
    EXPECT_TRUE(packet.for_default_namespace);
    EXPECT_FALSE(packet.has_ack_id);
    EXPECT_EQ(packet.data, R"(["e",1])");

    ASSERT_TRUE(ParseSocketPacket(R"(217["e"])", packet));
    EXPECT_TRUE(packet.has_ack_id);
    EXPECT_EQ(packet.ack_id, 17u);
    EXPECT_EQ(packet.data, R"(["e"])");

    ASSERT_TRUE(ParseSocketPacket(R"(2/chat,5["e"])", packet));
    EXPECT_FALSE(packet.for_default_namespace);
    ASSERT_TRUE(ParseSocketPacket(R"(2/,["e"])", packet));
    EXPECT_TRUE(packet.for_default_namespace);

    ASSERT_TRUE(ParseSocketPacket(R"(0{"sid":"x"})", packet));
    EXPECT_EQ(packet.type, SocketPacketType::kConnect);
    ASSERT_TRUE(ParseSocketPacket("1", packet));
    EXPECT_EQ(packet.type, SocketPacketType::kDisconnect);
    ASSERT_TRUE(ParseSocketPacket(R"(51-["b",{"_placeholder":true,"num":0}])", packet));
    EXPECT_EQ(packet.type, SocketPacketType::kBinaryEvent);
}

TEST(SocketPacketTest, RefusesBrokenHeaders) {
    SocketPacket packet;
    for (const char* bad :
         {"", "9", "x", "2/chat[\"e\"]", "5[\"b\"]", "5-[]", "21234567890123456789[\"e\"]"}) {
        EXPECT_FALSE(ParseSocketPacket(bad, packet)) << bad;
    }
}

TEST(SocketPacketTest, DecodesEventsAndRefusesOtherPayloads) {
    std::string name;
    Message::Array args;
    ASSERT_TRUE(DecodeEventPayload(R"(["user-join",{"uid":"u"},2])", name, args));
    EXPECT_EQ(name, "user-join");
    ASSERT_EQ(args.size(), 2u);
    EXPECT_EQ(args[0].Get("uid").AsString(), "u");
    ASSERT_TRUE(DecodeEventPayload(R"(["bare"])", name, args));
    EXPECT_TRUE(args.empty());
    for (const char* bad : {"", "[]", "[1]", "{}", R"("e")", R"(["e")"}) {
        EXPECT_FALSE(DecodeEventPayload(bad, name, args)) << bad;
    }
}

TEST(SocketPacketTest, ReadsTheMessageOfAConnectError) {
    EXPECT_EQ(DecodeConnectErrorMessage(R"({"message":"unauthorized","data":{}})"), "unauthorized");
    EXPECT_EQ(DecodeConnectErrorMessage(R"("Invalid namespace")"), "Invalid namespace");
    // Anything else is kept as it came, so that the log still shows it.
    EXPECT_EQ(DecodeConnectErrorMessage(R"({"message":7})"), R"({"message":7})");
    EXPECT_EQ(DecodeConnectErrorMessage("not json"), "not json");
    EXPECT_EQ(DecodeConnectErrorMessage(""), "");
}

TEST(SocketPacketTest, EncodesEmitsAndAcks) {
    EXPECT_EQ(EncodeEventFrame("authorize", {Message::FromString("tok\"en")}),
              R"(42["authorize","tok\"en"])");
    EXPECT_EQ(EncodeEventFrame("ping", {}), R"(42["ping"])");
    EXPECT_EQ(EncodeEmptyAckFrame(12), "4312[]");
}

}  // namespace
}  // namespace ksio
