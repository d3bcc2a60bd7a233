#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "alloc_hooks_fake.h"
#include "json_test_util.h"

// Parsed trees share a few blocks between many nodes and texts; these cases check that each node
// still behaves as a value of its own: detached, moved, kept after its tree, renamed, deleted in
// any order, and that the blocks go back once the last node in them is gone.

namespace {

// An array of `count` objects, each with a text of `text_size` bytes: large enough for several
// blocks when count is in the thousands.
std::string Records(int count, size_t text_size = 8)
{
    std::string text = "[";
    for (int i = 0; i < count; ++i) {
        text += i == 0 ? "" : ",";
        text +=
            R"({"id":)" + std::to_string(i) + R"(,"name":")" + std::string(text_size, 'a' + i % 26) + R"(","on":true})";
    }
    return text + "]";
}

// Unlinks a child from its container, as callers do by hand.
JsonNode* Detach(JsonNode* container, JsonNode* child)
{
    if (child->prev != nullptr)
        child->prev->next = child->next;
    else
        container->child = child->next;
    if (child->next != nullptr)
        child->next->prev = child->prev;
    child->next = child->prev = nullptr;
    return child;
}

TEST(JsonParsedStorage, ABigDocumentTakesFewBlocksAndGivesThemAllBack)
{
    ScopedAllocHooks hooks;
    std::string text = Records(5000);
    Tree tree = Parse(text);
    ASSERT_TRUE(tree);
    EXPECT_LT(hooks.allocations(), 20);  // against 20001 nodes and 15000 texts
    EXPECT_EQ(text, Print(tree.get()));
    tree.reset();
    EXPECT_EQ(0, hooks.live());
}

TEST(JsonParsedStorage, TextsTooLongForTheirBlockReadAndFreeAlike)
{
    ScopedAllocHooks hooks;
    // Texts of many sizes, so that some do not fit the rest of their block, up to one larger
    // than any block.
    std::string text = "[";
    for (size_t size = 1; size < 600000; size = size * 3 + 1)
        text += "\"" + std::string(size, 'x') + "\",{\"" + std::string(size, 'k') + "\":1},";
    text += Records(3000, 60).substr(1);
    Tree tree = Parse(text);
    ASSERT_TRUE(tree);
    EXPECT_EQ(text, Print(tree.get()));
    tree.reset();
    EXPECT_EQ(0, hooks.live());
}

TEST(JsonParsedStorage, AllocationFailureAcrossBlocksLeaksNothing)
{
    std::string text = Records(3000, 40);
    text.insert(1, "\"" + std::string(300000, 'y') + "\",");
    long needed = 0;
    {
        ScopedAllocHooks hooks;
        Tree tree = Parse(text);
        ASSERT_TRUE(tree);
        needed = hooks.allocations();
    }
    ASSERT_GT(needed, 2);
    for (long fail_at = 0; fail_at < needed; ++fail_at) {
        ScopedAllocHooks hooks(fail_at);
        EXPECT_EQ(nullptr, json_parse(text.c_str())) << fail_at;
        EXPECT_EQ(0, hooks.live()) << fail_at;
    }
}

TEST(JsonParsedNodes, ADetachedValueOutlivesItsTree)
{
    ScopedAllocHooks hooks;
    Tree tree = Parse(Records(2000));
    ASSERT_TRUE(tree);
    JsonNode* first = tree->child;
    JsonNode* middle = json_find_member(tree->child, "id");  // a member inside the first record
    ASSERT_NE(nullptr, middle);
    Tree kept(Detach(tree.get(), first));
    JsonNode* last = tree->child;
    while (last->next != nullptr)
        last = last->next;
    Tree kept_last(Detach(tree.get(), last));
    tree.reset();
    EXPECT_EQ(R"({"id":0,"name":"aaaaaaaa","on":true})", Print(kept.get()));
    EXPECT_EQ(R"({"id":1999,"name":"xxxxxxxx","on":true})", Print(kept_last.get()));
    EXPECT_STREQ("id", middle->key);
    kept.reset();
    kept_last.reset();
    EXPECT_EQ(0, hooks.live());
}

TEST(JsonParsedNodes, DeletingPartsInAnyOrderFreesEverythingOnce)
{
    ScopedAllocHooks hooks;
    Tree tree = Parse(Records(1500));
    ASSERT_TRUE(tree);
    // Delete every other record on its own, then a run of siblings, then the rest.
    for (JsonNode* record = tree->child; record != nullptr && record->next != nullptr; record = record->next)
        json_delete(Detach(tree.get(), record->next));
    JsonNode* run = tree->child->next;
    tree->child->next = nullptr;
    run->prev = nullptr;
    json_delete(run);
    EXPECT_EQ(R"([{"id":0,"name":"aaaaaaaa","on":true}])", Print(tree.get()));
    tree.reset();
    EXPECT_EQ(0, hooks.live());
}

TEST(JsonParsedNodes, MovedValuesStayValidInTheirNewTree)
{
    ScopedAllocHooks hooks;
    Tree built(json_new_node(JSON_OBJECT));
    {
        Tree source = Parse(R"({"user":{"uid":"u1","tags":["a","b"]},"other":[1,2]})");
        ASSERT_TRUE(source);
        JsonNode* user = Detach(source.get(), json_find_member(source.get(), "user"));
        json_append_member(built.get(), "moved", user);  // renames the parsed key
        Tree second = Parse(R"(["x","y"])");
        json_append_item(json_find_member(user, "tags"), Detach(second.get(), second->child->next));
        json_append_member(built.get(), "n", json_new_int(7, 1));
    }
    EXPECT_EQ(R"({"moved":{"uid":"u1","tags":["a","b","y"]},"n":7})", Print(built.get()));
    built.reset();
    EXPECT_EQ(0, hooks.live());
}

TEST(JsonParsedNodes, ReplacedKeysAndTextsAreFreedWithTheNode)
{
    ScopedAllocHooks hooks;
    Tree tree = Parse(R"({"a":"parsed","b":"kept"})");
    ASSERT_TRUE(tree);
    tree->child->valuestring = json_strdup("assigned");
    tree->child->key = json_strdup("A");
    json_append_member(tree.get(), "c", Detach(tree.get(), tree->child->next));
    EXPECT_EQ(R"({"A":"assigned","c":"kept"})", Print(tree.get()));
    tree.reset();
    EXPECT_EQ(0, hooks.live());
}

TEST(JsonParsedNodes, BorrowingViewsLeaveParsedChildrenAlone)
{
    ScopedAllocHooks hooks;
    Tree owner = Parse(R"({"list":["one","two"]})");
    ASSERT_TRUE(owner);
    Tree view(json_new_node(JSON_ARRAY | JSON_BORROWED));
    view->child = json_find_member(owner.get(), "list")->child;
    view.reset();
    EXPECT_EQ(R"({"list":["one","two"]})", Print(owner.get()));
    owner.reset();
    EXPECT_EQ(0, hooks.live());
}

// Nodes of one parse moved into trees that two threads delete at the same time share the blocks'
// counts; a lost count would free a block twice or never (the sanitizer build reports both).
TEST(JsonParsedNodes, PartsOfOneParseDeleteOnTwoThreadsAtOnce)
{
    std::string text = Records(3000);
    for (int round = 0; round < 40; ++round) {
        JsonNode* tree = json_parse(text.c_str());
        ASSERT_NE(nullptr, tree);
        // Every other record moves, so that both trees hold nodes in every block.
        JsonNode* moved = json_new_node(JSON_ARRAY);
        for (JsonNode* record = tree->child; record != nullptr && record->next != nullptr; record = record->next)
            json_append_item(moved, Detach(tree, record->next));
        std::atomic<bool> ready(false);
        std::thread other([moved, &ready] {
            ready = true;
            json_delete(moved);
        });
        while (!ready) {
        }
        json_delete(tree);
        other.join();
    }
}

}  // namespace
