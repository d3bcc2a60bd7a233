#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <thread>

#include "alloc_hooks_fake.h"
#include "json_test_util.h"

namespace {

// ---- literals and the top level ----

TEST(JsonParseLiterals, MatchOnTheirOwnLettersOnly)
{
    EXPECT_EQ(JSON_NULL, Parse("null")->type);
    EXPECT_EQ(JSON_FALSE, Parse("false")->type);
    Tree yes = Parse("true");
    EXPECT_EQ(JSON_TRUE, yes->type);
    EXPECT_EQ(1u, yes->valueint);
    EXPECT_EQ(JSON_NULL, Parse("nullx")->type);
    EXPECT_EQ(nullptr, Parse("nul"));
    EXPECT_EQ(nullptr, Parse("True"));
}

TEST(JsonParseTopLevel, IgnoresTextAfterTheFirstValue)
{
    EXPECT_EQ(JSON_INT, Parse("1 2")->type);
    EXPECT_EQ(JSON_OBJECT, Parse("{}xyz")->type);
    EXPECT_EQ(JSON_INT, Parse("1.")->type);
}

TEST(JsonParseTopLevel, SkipsEveryByteFromOneTo32)
{
    Tree tree = Parse(
        "\x01\x1f \t\r\n[\x02"
        "1\x20,\x1f"
        "2 ]");
    ASSERT_TRUE(tree);
    EXPECT_EQ("[1,2]", Print(tree.get()));
}

// ---- numbers ----

struct IntCase {
    const char* text;
    uint64_t bits;
    int32_t sign;
};

class JsonParseIntegers : public ::testing::TestWithParam<IntCase> {};

TEST_P(JsonParseIntegers, HoldBitPatternAndSign)
{
    const IntCase& c = GetParam();
    Tree tree = Parse(c.text);
    ASSERT_TRUE(tree) << c.text;
    EXPECT_EQ(JSON_INT, tree->type) << c.text;
    EXPECT_EQ(c.bits, tree->valueint) << c.text;
    EXPECT_EQ(c.sign, tree->sign) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Cases, JsonParseIntegers,
                         ::testing::Values(IntCase{"0", 0, 1}, IntCase{"-0", 0, -1}, IntCase{"-", 0, -1},
                                           IntCase{"-5", uint64_t(-5), -1}, IntCase{"01", 1, 1}, IntCase{"007", 0, 1},
                                           IntCase{"1e0", 1, 1}, IntCase{"2E+0", 2, 1}, IntCase{"3e-0", 3, 1},
                                           IntCase{"7e", 7, 1}, IntCase{"4294967296", 4294967296u, 1},
                                           IntCase{"9007199254740993", 9007199254740993u, 1},
                                           IntCase{"-4503599627370496", uint64_t(-4503599627370496), -1},
                                           IntCase{"10000000000000000000", 10000000000000000000u, 1},
                                           IntCase{"9223372036854775807", 9223372036854775807u, 1},
                                           IntCase{"-9223372036854775808", 9223372036854775808u, -1},
                                           IntCase{"18446744073709551615", UINT64_MAX, 1},
                                           IntCase{"12345678901234567891", 12345678901234567891u, 1}));

// 64-bit identifiers from servers keep every digit, in the bit pattern and when printed again;
// the double beside them is the nearest one.
TEST(JsonParseNumbers, IntegersOfSixtyFourBitsAreExact)
{
    struct Case {
        const char* text;
        double nearest;
    };
    const Case cases[] = {
        {"9007199254740993", 9007199254740992.0},  // 2^53 + 1: a tie, to even
        {"9007199254740995", 9007199254740996.0},       {"-9223372036854775807", -9223372036854775808.0},
        {"9223372036854775807", 9223372036854775808.0}, {"18446744073709551615", 18446744073709551616.0},
        {"1152921504606846977", 1152921504606846976.0},
    };
    for (const Case& c : cases) {
        Tree tree = Parse(c.text);
        ASSERT_TRUE(tree) << c.text;
        EXPECT_EQ(JSON_INT, tree->type) << c.text;
        EXPECT_EQ(c.nearest, tree->valuedouble) << c.text;
        EXPECT_EQ(c.text, Print(tree.get()));
    }
    const char* ids = "[9223372036854775807,-9223372036854775808,18446744073709551615,9007199254740993]";
    EXPECT_EQ(ids, Reprint(ids));
}

struct DoubleCase {
    const char* text;
    double value;
};

class JsonParseDoubles : public ::testing::TestWithParam<DoubleCase> {};

TEST_P(JsonParseDoubles, ScaleDigitsByPowersOfTen)
{
    const DoubleCase& c = GetParam();
    Tree tree = Parse(c.text);
    ASSERT_TRUE(tree) << c.text;
    EXPECT_EQ(JSON_DOUBLE, tree->type) << c.text;
    EXPECT_DOUBLE_EQ(c.value, tree->valuedouble) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Cases, JsonParseDoubles,
                         ::testing::Values(DoubleCase{"1.0", 1.0}, DoubleCase{"-0.5", -0.5}, DoubleCase{"-.5", -0.5},
                                           DoubleCase{"1e2", 100.0}, DoubleCase{"12.5E-1", 1.25},
                                           DoubleCase{"2e+3", 2000.0}, DoubleCase{"0.000001", 1e-6},
                                           DoubleCase{"1e400", HUGE_VAL}, DoubleCase{"-1e400", -HUGE_VAL},
                                           DoubleCase{"1e-400", 0.0}));

// Integer texts beyond 64 bits (2^64 and up, or below -2^63) become doubles holding the nearest
// value, instead of taking an undefined conversion or wrapping around to the other sign.
TEST(JsonParseNumbers, IntegersBeyondSixtyFourBitsBecomeDoubles)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"18446744073709551616", 18446744073709551616.0},
        {"18446744073709551617", 18446744073709551616.0},
        {"99999999999999999999", 1e20},
        {"-18446744073709551616", -18446744073709551616.0},
        {"-9223372036854775809", -9223372036854775808.0},
        {"123123123123123123123123123123", 1.2312312312312312e29},
        {"9999999999999999583119736832", 1e28},
    };
    for (const Case& c : cases) {
        Tree tree = Parse(c.text);
        ASSERT_TRUE(tree) << c.text;
        EXPECT_EQ(JSON_DOUBLE, tree->type) << c.text;
        EXPECT_EQ(c.value, tree->valuedouble) << c.text;
    }
    Tree huge = Parse("-" + std::string(400, '7'));
    EXPECT_EQ(-HUGE_VAL, huge->valuedouble);
}

TEST(JsonParseNumbers, HugeExponentDigitsDoNotOverflow)
{
    std::string many(5000, '9');
    Tree up = Parse("1e" + many);
    ASSERT_TRUE(up);
    EXPECT_TRUE(std::isinf(up->valuedouble));
    Tree down = Parse("1e-" + many);
    ASSERT_TRUE(down);
    EXPECT_EQ(0.0, down->valuedouble);
}

// ---- strings ----

std::string ParsedText(const std::string& json)
{
    Tree tree = Parse(json);
    if (!tree)
        return "<parse failed>";
    if (tree->type != JSON_STRING)
        return "<not a string>";
    return tree->valuestring;
}

TEST(JsonParseStrings, DecodeShortEscapes)
{
    EXPECT_EQ("a\b\f\n\r\tz", ParsedText(R"("a\b\f\n\r\tz")"));
    EXPECT_EQ("\"\\/q", ParsedText(R"("\"\\\/\q")"));
    EXPECT_EQ("", ParsedText(R"("")"));
}

TEST(JsonParseStrings, DecodeUnicodeEscapesToUtf8)
{
    EXPECT_EQ("A", ParsedText(R"("\u0041")"));
    EXPECT_EQ("\xC3\xA9", ParsedText(R"("\u00e9")"));
    EXPECT_EQ("\xE4\xB8\xAD", ParsedText(R"("\u4E2D")"));
    EXPECT_EQ("\xF0\x9F\x98\x80", ParsedText(R"("\uD83D\uDE00")"));
    EXPECT_EQ("\xF0\xA0\x80\x80", ParsedText(R"("\uD840\uDC00")"));
}

TEST(JsonParseStrings, DropCodesWithoutCharacter)
{
    EXPECT_EQ("ab", ParsedText(R"("a\u0000b")"));
    EXPECT_EQ("ab", ParsedText(R"("a\uDC00b")"));
    EXPECT_EQ("ab", ParsedText(R"("a\uD800b")"));        // high surrogate without a partner
    EXPECT_EQ("ab", ParsedText(R"("a\uD800\u0041b")"));  // partner is no low surrogate: both go
    EXPECT_EQ("ab", ParsedText(R"("a\uxyzwb")"));        // no hex digit reads as 0
}

TEST(JsonParseStrings, UnicodeEscapeAlwaysTakesFourCharacters)
{
    EXPECT_EQ("Aq", ParsedText(R"("\u41zzq")"));
    EXPECT_EQ("A", ParsedText(R"("\u 41x")"));     // leading blank tolerated
    EXPECT_EQ("A!", ParsedText("\"\\u41\"x!\""));  // even when they include a quote
}

TEST(JsonParseStrings, AcceptUnterminatedStringAtTheEnd)
{
    EXPECT_EQ("abc", ParsedText(R"("abc)"));
    EXPECT_EQ("abc", ParsedText("\"abc\\"));  // backslash as the last character
}

// A truncated escape at the end of the text must not read past the terminating NUL; the string
// ends there as an unterminated one. The text is copied into an exact-size heap block so that
// AddressSanitizer sees any read beyond it.
std::string ParsedExactText(const std::string& json)
{
    std::unique_ptr<char[]> exact(new char[json.size() + 1]);
    std::memcpy(exact.get(), json.c_str(), json.size() + 1);
    Tree tree(json_parse(exact.get()));
    return tree && tree->type == JSON_STRING ? tree->valuestring : "<failed>";
}

TEST(JsonParseStrings, TruncatedUnicodeEscapeEndsTheString)
{
    EXPECT_EQ("ab", ParsedExactText(R"("ab\u12)"));
    EXPECT_EQ("ab", ParsedExactText(R"("ab\u)"));
    EXPECT_EQ("ab", ParsedExactText(R"("ab\uD83D\uDE)"));
    EXPECT_EQ("ab", ParsedExactText(R"("ab\uD83D\)"));
    EXPECT_EQ("ab", ParsedExactText(R"("ab\uD83D)"));
}

TEST(JsonParseStrings, TruncatedEscapeInsideContainerFailsAtTheEnd)
{
    std::string text = R"({"k":"v\u1)";
    EXPECT_EQ(nullptr, Parse(text));
    ASSERT_NE(nullptr, json_error_position());
    EXPECT_EQ('\0', *json_error_position());
}

TEST(JsonParseStrings, KeepBytesAboveAsciiUnchanged)
{
    EXPECT_EQ("\xC3\xA9\xFF", ParsedText("\"\xC3\xA9\xFF\""));
}

// ---- containers ----

TEST(JsonParseContainers, LinkChildrenBothWays)
{
    Tree tree = Parse("[1, 2, 3]");
    ASSERT_TRUE(tree);
    JsonNode* first = tree->child;
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(nullptr, first->prev);
    JsonNode* second = first->next;
    EXPECT_EQ(first, second->prev);
    EXPECT_EQ(second, second->next->prev);
    EXPECT_EQ(nullptr, second->next->next);
}

TEST(JsonParseContainers, KeepDuplicateKeysInTextOrder)
{
    Tree tree = Parse(R"({"a":1,"A":2,"a":3})");
    ASSERT_TRUE(tree);
    EXPECT_STREQ("a", tree->child->key);
    EXPECT_STREQ("A", tree->child->next->key);
    EXPECT_EQ(3u, tree->child->next->next->valueint);
    EXPECT_EQ(nullptr, tree->child->valuestring);  // the key moved out of the value text
}

TEST(JsonParseContainers, AcceptEmptyContainers)
{
    EXPECT_EQ("[]", Reprint("[ ]"));
    EXPECT_EQ("{}", Reprint(" { } "));
    EXPECT_EQ("[[],{}]", Reprint("[[],{}]"));
}

// ---- failures ----

struct ErrorCase {
    const char* text;
    size_t offset;  // where the error position must point
};

class JsonParseErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(JsonParseErrors, PointAtTheOffendingCharacter)
{
    const ErrorCase& c = GetParam();
    EXPECT_EQ(nullptr, json_parse(c.text)) << c.text;
    ASSERT_NE(nullptr, json_error_position()) << c.text;
    EXPECT_EQ(c.offset, static_cast<size_t>(json_error_position() - c.text)) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Cases, JsonParseErrors,
                         ::testing::Values(ErrorCase{"", 0}, ErrorCase{"   ", 3}, ErrorCase{"x", 0},
                                           ErrorCase{"[1,]", 3}, ErrorCase{"[1 2]", 3}, ErrorCase{"[1", 2},
                                           ErrorCase{R"({"a":1,})", 7}, ErrorCase{R"({"a" 1})", 5},
                                           ErrorCase{R"({a:1})", 1}, ErrorCase{R"({"a":1;)", 6},
                                           ErrorCase{R"({"a":})", 5}, ErrorCase{"[.5]", 1}, ErrorCase{"[+1]", 1},
                                           // A '.' without a digit, and digits after a leading zero, stay in the text.
                                           ErrorCase{"[1.]", 2}, ErrorCase{"[007]", 2}));

TEST(JsonParseFailure, SuccessClearsThePosition)
{
    EXPECT_EQ(nullptr, Parse("[x"));
    EXPECT_NE(nullptr, json_error_position());
    EXPECT_TRUE(Parse("[1]"));
    EXPECT_EQ(nullptr, json_error_position());
    EXPECT_EQ(nullptr, json_parse(nullptr));
    EXPECT_EQ(nullptr, json_error_position());
}

TEST(JsonParseDepth, AcceptsNestingUpToTheLimit)
{
    std::string text = std::string(JSON_MAX_DEPTH, '[') + std::string(JSON_MAX_DEPTH, ']');
    EXPECT_TRUE(Parse(text));
    std::string objects;
    for (int i = 0; i < JSON_MAX_DEPTH; ++i)
        objects += "{\"k\":";
    objects += "1" + std::string(JSON_MAX_DEPTH, '}');
    EXPECT_TRUE(Parse(objects));
}

TEST(JsonParseDepth, FailsOneLevelDeeperAtThatBracket)
{
    std::string text = std::string(JSON_MAX_DEPTH + 1, '[') + std::string(JSON_MAX_DEPTH + 1, ']');
    EXPECT_EQ(nullptr, json_parse(text.c_str()));
    ASSERT_NE(nullptr, json_error_position());
    EXPECT_EQ(static_cast<long>(JSON_MAX_DEPTH), json_error_position() - text.c_str());
}

TEST(JsonParseDepth, HostileNestingFailsWithoutExhaustingTheStack)
{
    std::string text(1000000, '[');
    EXPECT_EQ(nullptr, Parse(text));
    std::string mixed;
    for (int i = 0; i < 200000; ++i)
        mixed += "{\"a\":[";
    EXPECT_EQ(nullptr, Parse(mixed));
}

TEST(JsonParseFailure, ErrorPositionBelongsToTheCallingThread)
{
    const char* bad = "[1,x]";
    const char* seen_by_other = "untouched";
    EXPECT_EQ(nullptr, json_parse(bad));
    std::thread other([&seen_by_other] {
        Tree tree(json_parse("[1]"));
        seen_by_other = json_error_position();
    });
    other.join();
    EXPECT_EQ(nullptr, seen_by_other);
    EXPECT_EQ(bad + 3, json_error_position());
}

TEST(JsonParseFailure, AllocationFailureAnywhereLeaksNothingAndSetsNoPosition)
{
    const char* text = R"({"a":[1,"x\u00e9",{"b":null}],"c":"d"})";
    long needed = 0;
    {
        ScopedAllocHooks hooks;
        Tree tree(json_parse(text));
        ASSERT_TRUE(tree);
        needed = hooks.allocations();
    }
    for (long fail_at = 0; fail_at < needed; ++fail_at) {
        ScopedAllocHooks hooks(fail_at);
        EXPECT_EQ(nullptr, json_parse(text)) << fail_at;
        EXPECT_EQ(nullptr, json_error_position()) << fail_at;
        EXPECT_EQ(0, hooks.live()) << fail_at;
    }
}

}  // namespace
