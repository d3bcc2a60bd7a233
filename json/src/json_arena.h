#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "kestrum/json/json_node.h"

// Storage of parsed trees: the nodes of one parse fill a few large blocks from the front, their
// keys and texts from the back. A node finds its block through JsonNode::block_offset; a block
// counts the nodes in it that are still alive and is freed with the last of them. Nodes thus
// stay independent of each other (any of them may be deleted, moved to another tree or kept after
// the rest of its tree), while a whole tree is freed with one heap call per block.
//
// A key or text of a node lies in the node's own block or is a heap block of its own (a text too
// long for the rest of the block, or one assigned after the parse); the address tells which, so
// nothing needs to be recorded per text.

// Header of a block; the nodes follow it.
struct alignas(alignof(JsonNode)) ArenaBlock {
    std::atomic<uint32_t> live;  // nodes in the block not yet deleted
    uint32_t size;               // bytes, this header included
    bool pooled;                 // from the block pool, not from json_malloc
};

// The block of a parsed node, null for a node that is a heap block of its own.
inline ArenaBlock* BlockOf(const JsonNode* node)
{
    if (node->block_offset == 0)
        return nullptr;
    const char* at = reinterpret_cast<const char*>(node) - node->block_offset;
    return reinterpret_cast<ArenaBlock*>(const_cast<char*>(at));
}

// Whether a key or text of the node lies in the node's block (else it is a heap block or null).
inline bool TextInBlock(const JsonNode* node, const char* text)
{
    const ArenaBlock* block = BlockOf(node);
    return block != nullptr && text != nullptr &&
           reinterpret_cast<uintptr_t>(text) - reinterpret_cast<uintptr_t>(block) < block->size;
}

// Hands out the nodes and texts of one parse. Used by one thread, for one parse.
class ParseArena {
public:
    // text: the text to be parsed; its length sizes the first block.
    explicit ParseArena(const char* text);
    // Publishes the count of the block being filled: from then on the nodes may be deleted.
    ~ParseArena();
    ParseArena(const ParseArena&) = delete;
    ParseArena& operator=(const ParseArena&) = delete;

    // A zero-filled node of type false, or null when memory ran out.
    JsonNode* NewNode()
    {
        if (static_cast<size_t>(back_ - front_) < sizeof(JsonNode) && !StartBlock())
            return nullptr;
        JsonNode* node = reinterpret_cast<JsonNode*>(front_);
        *node = JsonNode();
        node->block_offset = static_cast<uint32_t>(front_ - reinterpret_cast<char*>(block_));
        front_ += sizeof(JsonNode);
        ++nodes_in_block_;
        return node;
    }

    // Room for a text of `size` bytes owned by the node made last, or null when memory ran out.
    char* NewText(size_t size)
    {
        if (static_cast<size_t>(back_ - front_) >= size) {
            back_ -= size;
            return back_;
        }
        return OwnText(size);
    }

    // Makes the counts of every block handed out so far visible to json_delete. To be called
    // before deleting what was parsed (a failed parse deletes its partial tree at once).
    void Publish();

private:
    bool StartBlock();
    char* OwnText(size_t size);

    ArenaBlock* block_ = nullptr;  // block being filled
    char* front_ = nullptr;        // next node
    char* back_ = nullptr;         // end of the free room; texts grow down from here
    uint32_t nodes_in_block_ = 0;  // not yet published
    size_t next_size_ = 0;         // size of the next block
};

// Frees a key or text of the node unless it lies in the node's block (where it goes with the
// block). To be called before the node itself is released.
inline void ReleaseText(const JsonNode* node, char* text)
{
    if (text != nullptr && !TextInBlock(node, text))
        json_free(text);
}

// Releases nodes for json_delete. The counts of a run of nodes from one block are given back in
// one step: a tree's nodes lie together, so that is one atomic step per block rather than per
// node, yet nodes of one parse moved into trees on other threads are counted correctly. Whatever
// is still counted goes back when the releaser is destroyed.
class NodeReleaser {
public:
    NodeReleaser() = default;
    ~NodeReleaser() { Flush(); }
    NodeReleaser(const NodeReleaser&) = delete;
    NodeReleaser& operator=(const NodeReleaser&) = delete;

    // Frees the node's record, or counts it off its block.
    void ReleaseNode(JsonNode* node)
    {
        ArenaBlock* block = BlockOf(node);
        if (block == nullptr) {
            json_free(node);
            return;
        }
        if (block != block_) {
            Flush();
            block_ = block;
        }
        ++released_;
    }

private:
    void Flush();

    ArenaBlock* block_ = nullptr;
    uint32_t released_ = 0;
};
