#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace ui {

class XmlDoc;

// A light handle on one element of an XmlDoc. A node is a value; it does not own the document
// and is valid only while the document keeps its content. Every accessor of an invalid node
// answers an invalid node, null text, 0 or false. The attribute index is built on first use.
//
// Threads: those of its document.
class XmlNode {
 public:
  static constexpr int kMostAttributes = 64;
  // AttributeValue(name, ...) copies at most this many characters.
  static constexpr std::size_t kLongestCopiedValue = 499;

  XmlNode() = default;
  XmlNode(XmlDoc* document, uint32_t element) : document_(document), element_(element) {}

  bool IsValid() const { return document_ != nullptr; }

  const wchar_t* Name() const;
  // The element's text content ("" for an empty element).
  const wchar_t* Text() const;
  XmlNode FirstChild() const;
  XmlNode NextSibling() const;

  void MapAttributes();
  int AttributeCount();
  bool HasAttributes();
  // "" for an index outside 0 .. AttributeCount() - 1.
  const wchar_t* AttributeName(int index);
  const wchar_t* AttributeValue(int index);
  // Copies the value of the first attribute called exactly name into buffer (at most
  // min(buffer_size - 1, kLongestCopiedValue) characters, always terminated). False, with the
  // buffer untouched, when there is no such attribute or no room.
  bool AttributeValue(const wchar_t* name, wchar_t* buffer, std::size_t buffer_size);

 private:
  struct Attribute {
    uint32_t name;
    uint32_t value;
  };

  void EnsureMapped();
  const wchar_t* At(uint32_t position) const;

  XmlDoc* document_ = nullptr;
  uint32_t element_ = 0;
  int attribute_count_ = 0;
  Attribute attributes_[kMostAttributes] = {};
};

}  // namespace ui
