#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "kestrum/json/json_node.h"

namespace jdoc {

// A JSON document: either an owned tree (parsed from text, or built by the adders) or a node
// borrowed from another document's tree, plus the child documents handed out by MemberObject
// and the text of the last failure. Texts are UTF-8 bytes passed through unchanged.
//
// Thread safety: none; a document is used by one thread at a time. Different documents may be
// used on different threads at once.
// Lifetime: child documents from MemberObject are owned by this document and live until it is
// reset or destroyed; a borrowing document must not outlive the tree it borrows from.
// Nothing here throws, apart from std::bad_alloc out of the standard containers.
class CJsonDocument {
public:
    CJsonDocument();
    // Parses the text; on failure the document is empty and LastError() tells where it stopped.
    explicit CJsonDocument(const std::string& text);
    // Wraps a node of another tree without taking ownership.
    explicit CJsonDocument(JsonNode* node);
    virtual ~CJsonDocument();

    CJsonDocument(const CJsonDocument&) = delete;
    CJsonDocument& operator=(const CJsonDocument&) = delete;

    // Replaces the content with the parsed text. True when the text parsed; false leaves the
    // document empty and sets the last error to "prase json string error at " and the rest of
    // the text from where parsing stopped.
    bool ParseText(const std::string& text);

    // Frees the owned tree and every child document; the last error stays.
    void ResetDocument();

    // The node printed compact, or TAB-indented from depth 0; empty when the document is empty or
    // printing fails.
    std::string ToCompactText() const;
    std::string ToIndentedText() const;

    // Member adders. An empty document first becomes an empty object. They fail (false, with the
    // last error set as listed in the source) when the node is not an object or memory ran out.
    // An existing member with the same key stays; the new one is appended after it.
    bool AddEmptyObject(const std::string& key);
    bool AddEmptyArray(const std::string& key);
    bool AddStringMember(const std::string& key, const std::string& value);
    // The integer prints signed ("-1"); AddUnsignedMember's prints unsigned ("4294967295").
    bool AddSignedMember(const std::string& key, int32_t value);
    bool AddUnsignedMember(const std::string& key, uint32_t value);

    // Appends a string element. An empty document first becomes an empty array. False when the
    // node is not an array or memory ran out.
    bool AppendString(const std::string& value);

    // The child document for the member with this key (looked up ignoring case), cached under the
    // exact key. Never fails: a missing member gives an empty child document, whose readers
    // return false, 0 and empty children.
    CJsonDocument& MemberObject(const std::string& key);

    // True and out set only when the node is an object whose first member with this key (ignoring
    // case) is a string; otherwise false and out untouched.
    bool ReadStringMember(const std::string& key, std::string& out) const;

    // Number of elements of an array node; 0 for anything else.
    int32_t ArrayLength() const;

    // True and out set when the node is an array whose element at index (0 or less reads the
    // first) exists and is a string; otherwise false and out untouched.
    bool ReadStringAt(int32_t index, std::string& out) const;

    // The document's node: its own root, else the borrowed node, else null. Response readers use
    // it with json_find_member for integer and boolean members.
    JsonNode* Node() const;

    // Text of the last failure, empty until one happens.
    const std::string& LastError() const;

private:
    JsonNode* ObjectForAdding();
    bool AddContainer(const std::string& key, int32_t type, const char* failure);
    std::string Print(bool formatted) const;

    JsonNode* root_ = nullptr;
    JsonNode* borrowed_ = nullptr;
    std::string last_error_;
    std::map<std::string, std::unique_ptr<CJsonDocument>> children_;
};

}  // namespace jdoc
