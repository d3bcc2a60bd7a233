#include <gtest/gtest.h>

#include <string>

#include "alloc_hooks_fake.h"
#include "kestrum/json/json_document.h"

namespace {

using jdoc::CJsonDocument;

// ---- parsing and printing ----

TEST(JsonDocumentParse, FailureLeavesAnEmptyDocumentAndTellsWhere)
{
    CJsonDocument doc(R"({"a":1,}tail)");
    EXPECT_EQ(nullptr, doc.Node());
    EXPECT_EQ("prase json string error at }tail", doc.LastError());
    EXPECT_EQ("", doc.ToCompactText());
    EXPECT_EQ("", doc.ToIndentedText());
    std::string out = "untouched";
    EXPECT_FALSE(doc.ReadStringMember("a", out));
    EXPECT_EQ("untouched", out);
    EXPECT_EQ(0, doc.ArrayLength());
    EXPECT_EQ(nullptr, doc.MemberObject("a").Node());
}

TEST(JsonDocumentParse, FailureAtTheEndAppendsNothing)
{
    CJsonDocument doc;
    EXPECT_FALSE(doc.ParseText(""));
    EXPECT_EQ("prase json string error at ", doc.LastError());
}

TEST(JsonDocumentParse, AllocationFailureHasNoPosition)
{
    CJsonDocument doc;
    ScopedAllocHooks hooks(0);
    EXPECT_FALSE(doc.ParseText("[1]"));
    EXPECT_EQ("prase json string error at ", doc.LastError());
}

TEST(JsonDocumentParse, ParsingAgainReplacesTheTreeAndKeepsTheOldError)
{
    CJsonDocument doc("[");
    EXPECT_TRUE(doc.ParseText("[1]"));
    EXPECT_EQ("[1]", doc.ToCompactText());
    EXPECT_EQ("prase json string error at ", doc.LastError());
}

// ---- building ----

TEST(JsonDocumentBuild, RequestBodyIsIndentedWithTabs)
{
    CJsonDocument doc;
    EXPECT_TRUE(doc.AddStringMember("rid", "room1"));
    EXPECT_TRUE(doc.AddStringMember("pwd", "secret"));
    EXPECT_EQ("{\n\t\"rid\":\t\"room1\",\n\t\"pwd\":\t\"secret\"\n}", doc.ToIndentedText());
    EXPECT_EQ(R"({"rid":"room1","pwd":"secret"})", doc.ToCompactText());
}

TEST(JsonDocumentBuild, SignedAndUnsignedMembersPrintTheirOwnWay)
{
    CJsonDocument doc;
    EXPECT_TRUE(doc.AddSignedMember("zero", 0));
    EXPECT_TRUE(doc.AddSignedMember("minus", -1));
    EXPECT_TRUE(doc.AddSignedMember("min", INT32_MIN));
    EXPECT_TRUE(doc.AddUnsignedMember("max", 4294967295u));
    EXPECT_EQ(R"({"zero":0,"minus":-1,"min":-2147483648,"max":4294967295})", doc.ToCompactText());
    EXPECT_EQ(-1, json_find_member(doc.Node(), "zero")->sign);
    EXPECT_EQ(1, json_find_member(doc.Node(), "max")->sign);
}

TEST(JsonDocumentBuild, SameKeyTwiceKeepsBothAndReadsTheFirst)
{
    CJsonDocument doc;
    EXPECT_TRUE(doc.AddStringMember("k", "first"));
    EXPECT_TRUE(doc.AddStringMember("K", "second"));
    EXPECT_EQ(R"({"k":"first","K":"second"})", doc.ToCompactText());
    std::string out;
    EXPECT_TRUE(doc.ReadStringMember("k", out));
    EXPECT_EQ("first", out);
}

TEST(JsonDocumentBuild, ListMemberIsFilledThroughItsChild)
{
    CJsonDocument doc;
    EXPECT_TRUE(doc.AddStringMember("rid", "r"));
    EXPECT_TRUE(doc.AddEmptyArray("uids"));
    EXPECT_TRUE(doc.AddEmptyObject("extra"));
    CJsonDocument& uids = doc.MemberObject("uids");
    EXPECT_TRUE(uids.AppendString("u1"));
    EXPECT_TRUE(uids.AppendString("u2"));
    EXPECT_TRUE(doc.MemberObject("extra").AddSignedMember("n", 3));
    EXPECT_EQ(R"({"rid":"r","uids":["u1","u2"],"extra":{"n":3}})", doc.ToCompactText());
    EXPECT_EQ("{\n\t\"rid\":\t\"r\",\n\t\"uids\":\t[\"u1\", \"u2\"],\n\t\"extra\":\t{\n\t\t\"n\":\t3\n\t}\n}",
              doc.ToIndentedText());
}

TEST(JsonDocumentBuild, AppendStringMakesAnArrayDocument)
{
    CJsonDocument doc;
    EXPECT_TRUE(doc.AppendString("a"));
    EXPECT_TRUE(doc.AppendString(""));
    EXPECT_EQ(R"(["a",""])", doc.ToCompactText());
    EXPECT_EQ(2, doc.ArrayLength());
}

TEST(JsonDocumentBuild, WrongContainerKindFailsWithItsText)
{
    CJsonDocument object;
    object.AddSignedMember("n", 1);
    EXPECT_FALSE(object.AppendString("x"));
    EXPECT_EQ("not a json array! json object?", object.LastError());

    CJsonDocument array;
    array.AppendString("x");
    EXPECT_FALSE(array.AddStringMember("k", "v"));
    EXPECT_EQ("not a json object! json array?", array.LastError());
    EXPECT_FALSE(array.AddEmptyObject("k"));
    EXPECT_FALSE(array.AddEmptyArray("k"));
    EXPECT_FALSE(array.AddSignedMember("k", 1));
    EXPECT_FALSE(array.AddUnsignedMember("k", 1));
    EXPECT_EQ(R"(["x"])", array.ToCompactText());
}

TEST(JsonDocumentBuild, AllocationFailuresSetTheirTexts)
{
    struct Case {
        long fail_at;
        bool (*add)(CJsonDocument&);
        const char* error;
    };
    const Case cases[] = {
        {0, [](CJsonDocument& d) { return d.AddStringMember("k", "v"); }, "json data is null!"},
        {0, [](CJsonDocument& d) { return d.AppendString("v"); }, "json data is null!"},
        {1, [](CJsonDocument& d) { return d.AddEmptyObject("k"); }, "create sub empty object error!"},
        {1, [](CJsonDocument& d) { return d.AddEmptyArray("k"); }, "create sub empty array error!"},
        {1, [](CJsonDocument& d) { return d.AddSignedMember("k", 1); }, ""},
        {1, [](CJsonDocument& d) { return d.AddUnsignedMember("k", 1); }, ""},
        {1, [](CJsonDocument& d) { return d.AddStringMember("k", "v"); }, ""},
        {1, [](CJsonDocument& d) { return d.AppendString("v"); }, ""},
    };
    for (const Case& c : cases) {
        ScopedAllocHooks hooks(c.fail_at);
        {
            CJsonDocument doc;
            EXPECT_FALSE(c.add(doc)) << c.error;
            EXPECT_EQ(c.error, doc.LastError());
        }
        EXPECT_EQ(0, hooks.live()) << c.error;
    }
}

TEST(JsonDocumentBuild, StringMemberWhoseCopyFailsStillCounts)
{
    ScopedAllocHooks hooks(2);  // root, node, then the value copy fails
    CJsonDocument doc;
    EXPECT_TRUE(doc.AddStringMember("k", "v"));
    std::string out = "untouched";
    EXPECT_TRUE(doc.ReadStringMember("k", out));
    EXPECT_EQ("", out);
}

// ---- reading ----

TEST(JsonDocumentRead, StringMembersOnlyFromObjects)
{
    CJsonDocument doc(R"({"Name":"x","n":5,"list":["a"]})");
    std::string out;
    EXPECT_TRUE(doc.ReadStringMember("name", out));
    EXPECT_EQ("x", out);
    out = "untouched";
    EXPECT_FALSE(doc.ReadStringMember("n", out));
    EXPECT_FALSE(doc.ReadStringMember("missing", out));
    EXPECT_EQ("untouched", out);
    CJsonDocument array(R"(["a"])");
    EXPECT_FALSE(array.ReadStringMember("a", out));
}

TEST(JsonDocumentRead, ArrayElementsByIndex)
{
    CJsonDocument doc(R"(["zero","one",2])");
    EXPECT_EQ(3, doc.ArrayLength());
    std::string out;
    EXPECT_TRUE(doc.ReadStringAt(1, out));
    EXPECT_EQ("one", out);
    EXPECT_TRUE(doc.ReadStringAt(-3, out));
    EXPECT_EQ("zero", out);
    out = "untouched";
    EXPECT_FALSE(doc.ReadStringAt(2, out));
    EXPECT_FALSE(doc.ReadStringAt(3, out));
    EXPECT_EQ("untouched", out);
    CJsonDocument empty("[]");
    EXPECT_FALSE(empty.ReadStringAt(0, out));
    CJsonDocument object(R"({"a":"b"})");
    EXPECT_EQ(0, object.ArrayLength());
    EXPECT_FALSE(object.ReadStringAt(0, out));
}

// ---- child documents ----

TEST(JsonDocumentChildren, ChainThroughNestedObjects)
{
    CJsonDocument doc(R"({"platform":{"windows":{"minimum":{"version":"1.2"}}}})");
    std::string version;
    EXPECT_TRUE(doc.MemberObject("platform")
                    .MemberObject("windows")
                    .MemberObject("minimum")
                    .ReadStringMember("version", version));
    EXPECT_EQ("1.2", version);
    EXPECT_FALSE(
        doc.MemberObject("platform").MemberObject("mac").MemberObject("minimum").ReadStringMember("version", version));
}

TEST(JsonDocumentChildren, MissingMemberGivesAnEmptyChild)
{
    CJsonDocument doc(R"({"a":1})");
    CJsonDocument& missing = doc.MemberObject("b");
    EXPECT_EQ(nullptr, missing.Node());
    std::string out;
    EXPECT_FALSE(missing.ReadStringMember("x", out));
    EXPECT_EQ(0, missing.ArrayLength());
    EXPECT_EQ(nullptr, doc.MemberObject("a").MemberObject("x").Node());  // not an object
}

TEST(JsonDocumentChildren, CachedUnderTheExactKey)
{
    CJsonDocument doc(R"({"Data":{"id":"7"}})");
    CJsonDocument& lower = doc.MemberObject("data");
    CJsonDocument& upper = doc.MemberObject("DATA");
    EXPECT_EQ(&lower, &doc.MemberObject("data"));
    EXPECT_NE(&lower, &upper);
    EXPECT_EQ(lower.Node(), upper.Node());
    EXPECT_EQ(json_find_member(doc.Node(), "data"), lower.Node());
}

TEST(JsonDocumentChildren, ResetDropsChildrenButNotTheError)
{
    CJsonDocument doc("x");
    doc.ParseText(R"({"a":{"b":"c"}})");
    EXPECT_NE(nullptr, doc.MemberObject("a").Node());
    doc.ResetDocument();
    EXPECT_EQ(nullptr, doc.Node());
    EXPECT_EQ("prase json string error at x", doc.LastError());
    doc.ParseText(R"({"a":{"b":"d"}})");
    std::string out;
    EXPECT_TRUE(doc.MemberObject("a").ReadStringMember("b", out));
    EXPECT_EQ("d", out);
}

TEST(JsonDocumentChildren, BorrowingDocumentFreesNoNodes)
{
    ScopedAllocHooks hooks;
    {
        CJsonDocument doc(R"({"a":{"b":["c"]}})");
        long live = hooks.live();
        {
            CJsonDocument view(json_find_member(doc.Node(), "a"));
            EXPECT_EQ(R"({"b":["c"]})", view.ToCompactText());
            view.MemberObject("b").AppendString("d");
        }
        EXPECT_EQ(live + 2, hooks.live());  // the appended string node and its text
        EXPECT_EQ(R"({"a":{"b":["c","d"]}})", doc.ToCompactText());
    }
    EXPECT_EQ(0, hooks.live());
}

}  // namespace
