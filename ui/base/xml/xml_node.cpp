#include "ui/base/xml/xml_node.h"

#include <algorithm>
#include <cwchar>

#include "ui/base/xml/xml_doc.h"

namespace ui {

const wchar_t* XmlNode::At(uint32_t position) const { return document_->text_.data() + position; }

const wchar_t* XmlNode::Name() const {
  if (!document_) return nullptr;
  return At(document_->elements_[element_].name);
}

const wchar_t* XmlNode::Text() const {
  if (!document_) return nullptr;
  return At(document_->elements_[element_].data);
}

XmlNode XmlNode::FirstChild() const {
  if (!document_) return XmlNode();
  const uint32_t child = document_->elements_[element_].first_child;
  return child ? XmlNode(document_, child) : XmlNode();
}

XmlNode XmlNode::NextSibling() const {
  if (!document_) return XmlNode();
  const uint32_t sibling = document_->elements_[element_].next_sibling;
  return sibling ? XmlNode(document_, sibling) : XmlNode();
}

void XmlNode::MapAttributes() {
  attribute_count_ = 0;
  if (!document_) return;
  // The parser left only zeros and blanks between the strings of the start tag: name, then
  // (after the "=" turned blank) the opening quote and the value.
  const wchar_t* name = Name();
  const wchar_t* p = name + wcslen(name) + 1;
  const wchar_t* end = At(document_->elements_[element_].data);
  const wchar_t* base = At(0);
  while (attribute_count_ < kMostAttributes) {
    while (p < end && *p <= 32) ++p;
    if (p >= end) break;
    const uint32_t name_position = static_cast<uint32_t>(p - base);
    p += wcslen(p);
    while (p < end && *p <= 32) ++p;
    if (p >= end || *p != L'"') break;
    ++p;
    attributes_[attribute_count_++] = {name_position, static_cast<uint32_t>(p - base)};
    p += wcslen(p);
  }
}

void XmlNode::EnsureMapped() {
  if (attribute_count_ == 0) MapAttributes();
}

int XmlNode::AttributeCount() {
  EnsureMapped();
  return attribute_count_;
}

bool XmlNode::HasAttributes() { return AttributeCount() > 0; }

const wchar_t* XmlNode::AttributeName(int index) {
  if (!document_) return nullptr;
  EnsureMapped();
  if (index < 0 || index >= attribute_count_) return L"";
  return At(attributes_[index].name);
}

const wchar_t* XmlNode::AttributeValue(int index) {
  if (!document_) return nullptr;
  EnsureMapped();
  if (index < 0 || index >= attribute_count_) return L"";
  return At(attributes_[index].value);
}

bool XmlNode::AttributeValue(const wchar_t* name, wchar_t* buffer, std::size_t buffer_size) {
  if (!document_ || !name || !buffer || buffer_size == 0) return false;
  EnsureMapped();
  for (int i = 0; i < attribute_count_; ++i) {
    if (wcscmp(At(attributes_[i].name), name) != 0) continue;
    const wchar_t* value = At(attributes_[i].value);
    const std::size_t length = std::min({wcslen(value), buffer_size - 1, kLongestCopiedValue});
    wmemcpy(buffer, value, length);
    buffer[length] = 0;
    return true;
  }
  return false;
}

}  // namespace ui
