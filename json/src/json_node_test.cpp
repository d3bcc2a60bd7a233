#include <gtest/gtest.h>

#include "alloc_hooks_fake.h"
#include "json_test_util.h"

namespace {

TEST(JsonFindMember, IgnoresAsciiCaseAndReturnsTheFirst)
{
    Tree tree = Parse(R"({"Code":1,"code":2,"CODE":3})");
    JsonNode* found = json_find_member(tree.get(), "CODE");
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(1u, found->valueint);
    EXPECT_EQ(found, json_find_member(tree.get(), "cOdE"));
}

TEST(JsonFindMember, ComparesBytesAboveAsciiExactly)
{
    Tree tree = Parse("{\"\xC3\xA9\":1}");
    EXPECT_NE(nullptr, json_find_member(tree.get(), "\xC3\xA9"));
    EXPECT_EQ(nullptr, json_find_member(tree.get(), "\xC3\x89"));
}

TEST(JsonFindMember, NeedsTheWholeName)
{
    Tree tree = Parse(R"({"success":true})");
    EXPECT_EQ(nullptr, json_find_member(tree.get(), "succes"));
    EXPECT_EQ(nullptr, json_find_member(tree.get(), "successes"));
    EXPECT_EQ(nullptr, json_find_member(tree.get(), ""));
}

TEST(JsonFindMember, KeylessChildMatchesOnlyAnAbsentName)
{
    Tree array = Parse("[1]");
    EXPECT_EQ(array->child, json_find_member(array.get(), nullptr));
    EXPECT_EQ(nullptr, json_find_member(array.get(), "a"));
    Tree object = Parse(R"({"a":1})");
    EXPECT_EQ(nullptr, json_find_member(object.get(), nullptr));
}

TEST(JsonFindMember, NothingToFindGivesNull)
{
    EXPECT_EQ(nullptr, json_find_member(nullptr, "a"));
    EXPECT_EQ(nullptr, json_find_member(Parse("{}").get(), "a"));
    EXPECT_EQ(nullptr, json_find_member(Parse("7").get(), "a"));
}

TEST(JsonAppend, LinksAtTheEndBothWays)
{
    Tree array(json_new_node(JSON_ARRAY));
    JsonNode* first = json_new_int(1, 1);
    JsonNode* second = json_new_int(2, 1);
    json_append_item(array.get(), first);
    json_append_item(array.get(), second);
    json_append_item(array.get(), nullptr);
    EXPECT_EQ(first, array->child);
    EXPECT_EQ(second, first->next);
    EXPECT_EQ(first, second->prev);
    EXPECT_EQ(nullptr, second->next);
    EXPECT_EQ("[1,2]", Print(array.get()));
}

TEST(JsonAppend, MemberReplacesTheKeyAndKeepsDuplicates)
{
    Tree object(json_new_node(JSON_OBJECT));
    JsonNode* item = json_new_int(1, 1);
    item->key = json_strdup("old");
    json_append_member(object.get(), "k", item);
    json_append_member(object.get(), "k", json_new_string("v"));
    json_append_member(object.get(), "k", nullptr);
    EXPECT_EQ(R"({"k":1,"k":"v"})", Print(object.get()));
}

TEST(JsonNewNodes, StringCopyFailureLeavesAnAbsentText)
{
    ScopedAllocHooks hooks(1);  // the node succeeds, the copy fails
    JsonNode* node = json_new_string("text");
    ASSERT_NE(nullptr, node);
    EXPECT_EQ(JSON_STRING, node->type);
    EXPECT_EQ(nullptr, node->valuestring);
    json_delete(node);
    EXPECT_EQ(0, hooks.live());
}

TEST(JsonNewNodes, RecordFailureGivesNull)
{
    {
        ScopedAllocHooks hooks(0);
        EXPECT_EQ(nullptr, json_new_string("text"));
    }
    {
        ScopedAllocHooks hooks(0);
        EXPECT_EQ(nullptr, json_new_int(1, 1));
    }
    EXPECT_EQ(nullptr, json_strdup(nullptr));
}

TEST(JsonDelete, FreesFollowingSiblingsAndTheirChildren)
{
    ScopedAllocHooks hooks;
    Tree tree(json_parse(R"([{"a":["x","y"]},"z",[1]])"));
    ASSERT_TRUE(tree);
    JsonNode* children = tree->child;
    tree->child = nullptr;
    json_delete(children);
    tree.reset();
    EXPECT_EQ(0, hooks.live());
}

TEST(JsonDelete, LeavesBorrowedChildrenAndTextAlone)
{
    ScopedAllocHooks hooks;
    Tree owner(json_parse(R"(["kept",[1,2]])"));
    JsonNode* view = json_new_node(JSON_ARRAY | JSON_BORROWED);
    view->child = owner->child->next->child;
    JsonNode* text_view = json_new_node(JSON_STRING | JSON_BORROWED);
    text_view->valuestring = owner->child->valuestring;
    text_view->key = json_strdup("own key");
    json_delete(view);
    json_delete(text_view);
    EXPECT_EQ(R"(["kept",[1,2]])", Print(owner.get()));
    owner.reset();
    EXPECT_EQ(0, hooks.live());
}

}  // namespace
