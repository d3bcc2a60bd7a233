#pragma once

#include <windows.h>

#include <string>

namespace DuiLib {

// The text type of the window layer: a wide string with the accessors the windows use.
// A plain value; no conversion to a raw pointer happens implicitly (GetData gives one).
class CDuiString : public std::wstring {
 public:
  using std::wstring::wstring;
  CDuiString() = default;
  CDuiString(const std::wstring& text) : std::wstring(text) {}  // NOLINT: a value conversion
  // A null pointer is the empty text.
  CDuiString(const wchar_t* text) : std::wstring(text ? text : L"") {}  // NOLINT

  const wchar_t* GetData() const { return c_str(); }
  int GetLength() const { return static_cast<int>(size()); }
  bool IsEmpty() const { return empty(); }
  void Empty() { clear(); }
};

// A markup source: a file name or text (the id form is accepted for a zero "no type" only).
class STRINGorID {
 public:
  STRINGorID(const wchar_t* text) : text_(text) {}  // NOLINT: callers pass names directly
  STRINGorID(UINT id) : text_(nullptr), id_(id) {}  // NOLINT
  // A plain 0 would otherwise fit both forms equally well.
  STRINGorID(int id) : text_(nullptr), id_(static_cast<UINT>(id)) {}  // NOLINT

  // Null when an id was given.
  const wchar_t* text() const { return text_; }
  UINT id() const { return id_; }

 private:
  const wchar_t* text_;
  UINT id_ = 0;
};

}  // namespace DuiLib
