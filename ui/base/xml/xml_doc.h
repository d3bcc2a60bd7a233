#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/base/xml/xml_node.h"

namespace ui {

// The framework's reader for markup files. It parses a whole document in place inside one UTF-16
// buffer: names, values and texts become zero-terminated strings in that buffer, elements become
// records in one array. It accepts a stated subset of XML, and markup is written against it:
// - attribute values only in double quotes; entities &amp; &lt; &gt; &quot; &apos; only (any
//   other "&" stays as written);
// - "/>" right after an element name does not close the element (a blank or an attribute must
//   stand between them);
// - comments and processing instructions are skipped; elements left open by the end of the text
//   end there when they are the outermost element or its direct children;
// - elements nest at most kMostElementDepth deep;
// - at most 64 attributes of an element are seen.
// A failed load leaves the document empty, with ErrorMessage and ErrorLocation filled.
//
// Threads: one thread at a time. Nodes handed out point into the document and are valid until
// the next load, Release or the document's destruction.
class XmlDoc {
 public:
  static constexpr DWORD kLargestFile = 4 * 1024 * 1024;
  // Elements open inside each other deeper than this fail the load ("Elements nested too
  // deeply", located at the element that goes too deep), so hostile text cannot exhaust the
  // stack of the recursive reader; reading that deep takes about 40 KB of a 32-bit stack.
  static constexpr int kMostElementDepth = 256;

  // preserve_whitespace keeps runs of blanks in texts (the markup builder always asks for it);
  // otherwise a run that begins with a space collapses to that space.
  explicit XmlDoc(bool preserve_whitespace = true);
  ~XmlDoc();
  XmlDoc(const XmlDoc&) = delete;
  XmlDoc& operator=(const XmlDoc&) = delete;

  [[nodiscard]] bool LoadFromString(const wchar_t* text);
  // UTF-8 bytes (a leading byte-order mark is skipped); no other encoding is recognised.
  [[nodiscard]] bool LoadFromMemory(const BYTE* bytes, DWORD length);
  // A relative path is taken from the resource path (ResourceHub::ResourcePath).
  [[nodiscard]] bool LoadFromFile(const wchar_t* path);
  void Release();

  // The first top-level element; an invalid node when there is none.
  XmlNode Root();
  // How deep the loaded elements nest: 1 for a root without children, 0 for no elements.
  int Depth() const { return deepest_; }

  const wchar_t* ErrorMessage() const { return error_message_; }
  const wchar_t* ErrorLocation() const { return error_location_; }

 private:
  friend class XmlNode;

  struct Element {
    uint32_t name;          // text position of the name
    uint32_t first_child;   // record index, 0 = none
    uint32_t next_sibling;  // record index, 0 = none
    uint32_t parent;        // record index, 0 = top level
    uint32_t data;          // text position of the element's text
  };

  bool Parse();
  // depth: how many elements are open at p, counting those about to be read (1 at the top).
  bool ParseElements(wchar_t*& p, uint32_t parent, int depth);
  bool ParseElement(wchar_t*& p, uint32_t parent, int depth, uint32_t& previous);
  bool ParseAttributes(wchar_t*& p);
  bool ParseEndTag(wchar_t*& p, const wchar_t* name, std::size_t name_length);
  wchar_t* ReadText(wchar_t*& p, wchar_t terminator);
  uint32_t AppendElement(uint32_t name, uint32_t parent);
  uint32_t Position(const wchar_t* p) const { return static_cast<uint32_t>(p - text_.data()); }
  bool Fail(const wchar_t* message, const wchar_t* location);
  bool FailFile(const wchar_t* message);
  void ClearError();

  const bool preserve_whitespace_;
  std::vector<wchar_t> text_;
  std::vector<Element> elements_;
  int deepest_ = 0;
  wchar_t error_message_[100] = {};
  wchar_t error_location_[50] = {};
};

}  // namespace ui
