#include "ui/base/xml/xml_doc.h"

#include <shlwapi.h>

#include <climits>
#include <cwchar>
#include <cwctype>
#include <string>
#include <string_view>

#include "kestrum/common/scoped_handle.h"
#include "kestrum/common/utf.h"
#include "ui/base/resource/resource_hub.h"

namespace ui {

namespace {

bool IsBlank(wchar_t c) { return c != 0 && c <= 32; }

void SkipBlanks(wchar_t*& p) {
  while (IsBlank(*p)) ++p;
}

bool IsNameChar(wchar_t c) { return iswalnum(c) || c == L'_' || c == L':'; }

// Steps over a comment or processing instruction, p standing on its "!" or "?"; without its
// closing sequence it swallows the rest of the text.
void SkipDeclaration(wchar_t*& p) {
  const wchar_t* closing = *p == L'!' ? L"->" : L"?>";
  wchar_t* found = wcsstr(p, closing);
  p = found ? found + 2 : p + wcslen(p);
}

// The character an entity at p stands for, stepping over it; an unknown one is a literal "&".
wchar_t DecodeEntity(wchar_t*& p) {
  static const struct {
    const wchar_t* text;
    std::size_t length;
    wchar_t character;
  } kEntities[] = {
      {L"&amp;", 5, L'&'},  {L"&lt;", 4, L'<'},    {L"&gt;", 4, L'>'},
      {L"&quot;", 6, L'"'}, {L"&apos;", 6, L'\''},
  };
  for (const auto& entity : kEntities) {
    if (wcsncmp(p, entity.text, entity.length) == 0) {
      p += entity.length;
      return entity.character;
    }
  }
  ++p;
  return L'&';
}

void CopyBounded(wchar_t* out, std::size_t out_size, const wchar_t* text) {
  std::size_t length = 0;
  while (length + 1 < out_size && text[length]) {
    out[length] = text[length];
    ++length;
  }
  out[length] = 0;
}

// Whole file or nothing.
class FileReader {
 public:
  explicit FileReader(const std::wstring& path)
      : handle_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}

  bool opened() const { return static_cast<bool>(handle_); }
  [[nodiscard]] bool Size(LONGLONG& size) const {
    LARGE_INTEGER value = {};
    if (!GetFileSizeEx(handle_.get(), &value)) return false;
    size = value.QuadPart;
    return true;
  }
  [[nodiscard]] bool ReadAll(std::vector<BYTE>& bytes) const {
    DWORD read = 0;
    const DWORD wanted = static_cast<DWORD>(bytes.size());
    return ReadFile(handle_.get(), bytes.data(), wanted, &read, nullptr) && read == wanted;
  }

 private:
  const kestrum::common::ScopedHandle handle_;
};

}  // namespace

XmlDoc::XmlDoc(bool preserve_whitespace) : preserve_whitespace_(preserve_whitespace) {}

XmlDoc::~XmlDoc() = default;

bool XmlDoc::LoadFromString(const wchar_t* text) {
  Release();
  if (!text) text = L"";
  text_.assign(text, text + wcslen(text) + 1);
  return Parse();
}

bool XmlDoc::LoadFromMemory(const BYTE* bytes, DWORD length) {
  Release();
  if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    bytes += 3;
    length -= 3;
  }
  // Positions into the text are 32-bit: a length past INT_MAX is refused.
  if (length > static_cast<DWORD>(INT_MAX)) return FailFile(L"File too large");
  const std::wstring wide =
      kestrum::common::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(bytes), length));
  text_.assign(wide.c_str(), wide.c_str() + wide.size() + 1);
  return Parse();
}

bool XmlDoc::LoadFromFile(const wchar_t* path) {
  Release();
  std::wstring full_path = path ? path : L"";
  if (PathIsRelativeW(full_path.c_str())) full_path = ResourceHub::ResourcePath() + full_path;

  FileReader file(full_path);
  if (!file.opened()) return FailFile(L"Error opening file");
  LONGLONG size = 0;
  if (!file.Size(size)) return FailFile(L"Could not read file");
  if (size == 0) return FailFile(L"File is empty");
  if (size > kLargestFile) return FailFile(L"File too large");
  std::vector<BYTE> bytes(static_cast<std::size_t>(size));
  if (!file.ReadAll(bytes)) return FailFile(L"Could not read file");
  return LoadFromMemory(bytes.data(), static_cast<DWORD>(bytes.size()));
}

void XmlDoc::Release() {
  std::vector<wchar_t>().swap(text_);
  std::vector<Element>().swap(elements_);
  deepest_ = 0;
}

XmlNode XmlDoc::Root() {
  if (elements_.size() < 2) return XmlNode();
  return XmlNode(this, 1);
}

bool XmlDoc::Parse() {
  elements_.clear();
  deepest_ = 0;
  AppendElement(0, 0);  // record 0 is reserved: index 0 means "none" in every link
  ClearError();
  wchar_t* p = text_.data();
  if (ParseElements(p, 0, 1)) return true;
  Release();
  return false;
}

bool XmlDoc::ParseElements(wchar_t*& p, uint32_t parent, int depth) {
  uint32_t previous = 0;
  for (;;) {
    SkipBlanks(p);
    // Open elements end with the text only at the two outermost levels.
    if (!*p && parent <= 1) return true;
    if (*p != L'<') return Fail(L"Expected start tag", p);
    if (p[1] == L'/') return true;  // the caller's end tag
    *p++ = 0;
    SkipBlanks(p);
    if (*p == L'!' || *p == L'?') {
      SkipDeclaration(p);
      continue;
    }
    if (!ParseElement(p, parent, depth, previous)) return false;
  }
}

bool XmlDoc::ParseElement(wchar_t*& p, uint32_t parent, int depth, uint32_t& previous) {
  if (depth > kMostElementDepth) return Fail(L"Elements nested too deeply", p);
  if (depth > deepest_) deepest_ = depth;
  const uint32_t index = AppendElement(Position(p), parent);
  if (previous) {
    elements_[previous].next_sibling = index;
  } else if (parent) {
    elements_[parent].first_child = index;
  }
  previous = index;

  wchar_t* name = p;
  while (IsNameChar(*p)) ++p;
  if (!*p) return Fail(L"Error parsing element name", p);
  wchar_t* name_end = p;
  const std::size_t name_length = static_cast<std::size_t>(name_end - name);

  // The character after the name is overwritten here, so "/>" right after a name is read as
  // the name's end followed by ">", and the element stays open.
  if (!ParseAttributes(p)) return false;
  SkipBlanks(p);
  if (p[0] == L'/' && p[1] == L'>') {
    elements_[index].data = Position(p);
    *p = 0;
    p += 2;
  } else if (*p == L'>') {
    ++p;
    elements_[index].data = Position(p);
    wchar_t* text_end = ReadText(p, L'<');
    // Otherwise the "<" that follows the text still has to be read; it is ended there later.
    if (text_end < p) *text_end = 0;
    if (!*p) {
      if (parent > 1) return Fail(L"Expected end-tag start", p);
    } else {
      if (p[1] != L'/' && !ParseElements(p, index, depth + 1)) return false;
      if (p[0] == L'<' && p[1] == L'/' && !ParseEndTag(p, name, name_length)) return false;
    }
  } else {
    return Fail(L"Expected start-tag closing", p);
  }
  *name_end = 0;
  return true;
}

bool XmlDoc::ParseAttributes(wchar_t*& p) {
  if (*p == L'>') return true;
  *p++ = 0;
  SkipBlanks(p);
  while (*p && *p != L'>' && *p != L'/') {
    wchar_t* name_end = p;
    while (IsNameChar(*name_end)) ++name_end;
    p = name_end;
    SkipBlanks(p);
    if (*p != L'=') return Fail(L"Error while parsing attributes", p);
    *p++ = L' ';
    *name_end = 0;
    SkipBlanks(p);
    if (*p != L'"') return Fail(L"Expected attribute value", p);
    ++p;
    wchar_t* value_end = ReadText(p, L'"');
    if (!*p) return Fail(L"Error while parsing attribute string", p);
    *value_end = 0;
    *p++ = 0;  // the closing quote, so that MapAttributes sees only blanks up to the next name
    SkipBlanks(p);
  }
  return true;
}

bool XmlDoc::ParseEndTag(wchar_t*& p, const wchar_t* name, std::size_t name_length) {
  *p = 0;  // ends the element's text
  p += 2;
  SkipBlanks(p);
  if (wcsncmp(p, name, name_length) != 0) return Fail(L"Unmatched closing tag", p);
  p += name_length;
  SkipBlanks(p);
  if (*p != L'>') return Fail(L"Unmatched closing tag", p);
  ++p;
  return true;
}

wchar_t* XmlDoc::ReadText(wchar_t*& p, wchar_t terminator) {
  wchar_t* out = p;
  while (*p && *p != terminator) {
    if (*p == L'&') {
      *out++ = DecodeEntity(p);
    } else if (*p == L' ') {
      *out++ = *p++;
      if (!preserve_whitespace_) SkipBlanks(p);
    } else {
      *out++ = *p++;
    }
  }
  // The text shrank by what entities and collapsed blanks saved; blanks keep the gap skippable.
  for (wchar_t* gap = out; gap < p; ++gap) *gap = L' ';
  return out;
}

uint32_t XmlDoc::AppendElement(uint32_t name, uint32_t parent) {
  if (elements_.size() == elements_.capacity()) {
    elements_.reserve(elements_.capacity() + elements_.capacity() / 2 + 500);
  }
  elements_.push_back(Element{name, 0, 0, parent, 0});
  return static_cast<uint32_t>(elements_.size() - 1);
}

bool XmlDoc::Fail(const wchar_t* message, const wchar_t* location) {
  CopyBounded(error_message_, sizeof(error_message_) / sizeof(wchar_t), message);
  CopyBounded(error_location_, sizeof(error_location_) / sizeof(wchar_t), location);
  return false;
}

bool XmlDoc::FailFile(const wchar_t* message) {
  ClearError();
  return Fail(message, L"");
}

void XmlDoc::ClearError() {
  error_message_[0] = 0;
  error_location_[0] = 0;
}

}  // namespace ui
