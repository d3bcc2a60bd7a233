#include <gtest/gtest.h>

#include <string>

#include "alloc_hooks_fake.h"
#include "json_test_util.h"

namespace {

Tree MakeInt(uint64_t bits, int32_t sign)
{
    return Tree(json_new_int(bits, sign));
}

// ---- scalars ----

TEST(JsonPrintScalars, LiteralsAndNumbers)
{
    EXPECT_EQ("null", Reprint("null"));
    EXPECT_EQ("true", Reprint("true"));
    EXPECT_EQ("false", Reprint("false"));
    EXPECT_EQ("0", Reprint("-0"));
    EXPECT_EQ("0", Reprint("-"));
    EXPECT_EQ("-5", Reprint("-5"));
    EXPECT_EQ("1", Reprint("1.0"));
    EXPECT_EQ("4294967296", Reprint("4294967296"));
    EXPECT_EQ("0.500000", Reprint("0.5"));
    EXPECT_EQ("0.000000", Reprint("1e-7"));
}

TEST(JsonPrintScalars, IntegerBranchFollowsTheSign)
{
    EXPECT_EQ("-1", Print(MakeInt(UINT64_MAX, -1).get()));
    EXPECT_EQ("18446744073709551615", Print(MakeInt(UINT64_MAX, 1).get()));
    EXPECT_EQ("4294967295", Print(MakeInt(UINT32_MAX, 1).get()));
    EXPECT_EQ("-9223372036854775808", Print(MakeInt(uint64_t(1) << 63, -1).get()));
    EXPECT_EQ("7", Print(MakeInt(7, 0).get()));  // a sign other than -1 prints unsigned
}

TEST(JsonPrintScalars, UnknownTypeGivesNull)
{
    Tree node(json_new_node(8));
    EXPECT_EQ("<null>", Print(node.get()));
    EXPECT_EQ(nullptr, json_print_value(nullptr, 0, false));
}

// ---- strings ----

TEST(JsonPrintStrings, EscapeQuoteBackslashAndControlBytes)
{
    Tree node(json_new_string("q\"b\\\b\f\n\r\t\x01\x1f\x7f\xC3\xA9/"));
    EXPECT_EQ(R"("q\"b\\\b\f\n\r\t\u0001\u001f)"
              "\x7f\xC3\xA9/\"",
              Print(node.get()));
}

TEST(JsonPrintStrings, AbsentTextPrintsAsEmptyString)
{
    Tree node(json_new_node(JSON_STRING));
    EXPECT_EQ("\"\"", Print(node.get()));
    Tree object = Parse(R"({"k":"v"})");
    object->child->valuestring = nullptr;  // a parsed text goes back with its block
    EXPECT_EQ(R"({"k":""})", Print(object.get()));
}

TEST(JsonPrintStrings, MemberWithoutKeyPrintsEmptyKey)
{
    Tree object(json_new_node(JSON_OBJECT));
    json_append_item(object.get(), json_new_int(1, 1));
    EXPECT_EQ(R"({"":1})", Print(object.get()));
}

// ---- containers ----

TEST(JsonPrintCompact, HasNoBlanks)
{
    EXPECT_EQ(R"({"rid":"abc","n":5,"l":[1,true,null],"o":{}})",
              Reprint(R"({ "rid" : "abc", "n": 5, "l": [ 1, true, null ], "o": { } })"));
}

TEST(JsonPrintFormatted, IndentsMembersWithTabs)
{
    EXPECT_EQ("{\n\t\"rid\":\t\"abc\",\n\t\"n\":\t5\n}", Reprint(R"({"rid":"abc","n":5})", true));
}

TEST(JsonPrintFormatted, NestedObjectIndentsOneMoreLevel)
{
    EXPECT_EQ("{\n\t\"o\":\t{\n\t\t\"a\":\t1\n\t}\n}", Reprint(R"({"o":{"a":1}})", true));
}

TEST(JsonPrintFormatted, ArraysStayOnOneLine)
{
    EXPECT_EQ("[1, [], [2, 3]]", Reprint("[1,[],[2,3]]", true));
    EXPECT_EQ("{\n\t\"l\":\t[1, 2]\n}", Reprint(R"({"l":[1,2]})", true));
    EXPECT_EQ("[{\n\t\t\"a\":\t1\n\t}]", Reprint(R"([{"a":1}])", true));
}

TEST(JsonPrintFormatted, EmptyObjectKeepsItsLineBreak)
{
    Tree object = Parse("{}");
    EXPECT_EQ("{\n}", Print(object.get(), 0, true));
    EXPECT_EQ("{\n\t\t}", Print(object.get(), 2, true));
    EXPECT_EQ("{\n}", Print(object.get(), -3, true));
}

TEST(JsonPrintContainers, UnprintableChildFailsTheWholeText)
{
    Tree tree = Parse(R"({"a":[1,2]})");
    tree->child->child->next->type = 99;
    EXPECT_EQ("<null>", Print(tree.get()));
    EXPECT_EQ("<null>", Print(tree.get(), 0, true));
}

TEST(JsonPrintContainers, LongOutputGrowsTheBuffer)
{
    // About 2 KB (a heap text throughout), 90 KB (written in a pooled block, copied out at the
    // end) and 600 KB (grown past a pooled block onto the heap).
    for (int count : {100, 3000, 20000}) {
        std::string text = "[";
        for (int i = 0; i < count; ++i)
            text += (i ? ",\"" : "\"") + std::to_string(i) + std::string(i % 50, 'x') + "\"";
        text += "]";
        EXPECT_EQ(text, Reprint(text)) << count;
    }
}

TEST(JsonPrintFailure, AllocationFailureAnywhereGivesNullAndLeaksNothing)
{
    std::string text = "[";
    for (int i = 0; i < 300; ++i)
        text += R"({"key":"value","n":-12345,"d":0.25},)";
    text += "1]";
    Tree tree = Parse(text);
    ASSERT_TRUE(tree);
    long needed = 0;
    {
        ScopedAllocHooks hooks;
        json_free(json_print_value(tree.get(), 0, true));
        needed = hooks.allocations();
    }
    ASSERT_GT(needed, 1);
    for (long fail_at = 0; fail_at < needed; ++fail_at) {
        ScopedAllocHooks hooks(fail_at);
        EXPECT_EQ(nullptr, json_print_value(tree.get(), 0, true)) << fail_at;
        EXPECT_EQ(0, hooks.live()) << fail_at;
    }
}

}  // namespace
