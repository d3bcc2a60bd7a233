#pragma once

#include <windows.h>

#include "ui/controls/list/list_box.h"

namespace ui {

// A list of many equal-height rows shown by a small pool of element controls. The data provider
// makes the elements and fills one with a row; as the view scrolls past the pool's span the
// elements are moved to the rows that come into view and refilled, so the number of controls
// does not grow with the rows. The scroll range covers every row. An element's list index (and
// so GetCurSel) is its place in the pool, not its row.
//
// Threads: the window's thread only; the provider is called on it.
// Ownership: the list owns the elements the provider creates; the provider is not owned and must
// outlive the list or be replaced first.
class VirtualListBox : public ListBox {
 public:
  class IDataProvider {
   public:
    virtual ~IDataProvider() = default;
    // A new element (the list takes it); null makes no element.
    virtual Control* CreateElement() = 0;
    // Shows row index in element.
    virtual void FillElement(Control* element, int index) = 0;
    // The number of rows.
    virtual int GetElementCount() = 0;
  };

  // Takes ownership of layout (a VirtualLayout when null). clock null means the real clock.
  explicit VirtualListBox(Layout* layout = nullptr, AnimationClock* clock = nullptr);

  virtual void SetDataProvider(IDataProvider* provider) { data_provider_ = provider; }
  // Pixels, not DPI-scaled.
  virtual void SetElementHeight(int height) { element_height_ = height; }
  // Sets the pool size (it must exceed the rows that fit the view) and makes one element for
  // each of the first rows, up to that size.
  virtual void InitElement(int max_count);
  // Follows a changed row count: grows or shrinks the pool and refills every element.
  virtual void Refresh();
  // Hooks for subclasses: the arrow keys do nothing else.
  virtual void OnKeyDown(wchar_t /*key*/) {}
  virtual void OnKeyUp(wchar_t /*key*/) {}

  IDataProvider* GetDataProvider() const { return data_provider_; }
  int GetElementHeight() const { return element_height_; }
  int GetMaxElementCount() const { return max_element_count_; }
  // The provider's row count; 0 without a provider.
  int GetRowCount() const;
  // Moves the pool to the rows in view when force is set or the view has left the pool's span.
  void ReuseElements(bool force);

  // Base overrides.
  void SetPos(RECT rect) override;
  void HandleEvent(EventArgs& args) override;
  void RemoveAll() override;
  void SetScrollPos(SIZE pos) override;

 private:
  // Whether the pool must move; *direction 1 fills downward from the first row in view, -1
  // keeps spare elements above it.
  bool NeedReuse(int* direction);
  bool HasMoreRowsThanElements() const { return GetRowCount() > GetCount(); }
  // Puts element at row in content coordinates, across the list's full width.
  void PlaceElement(Control* element, int row) const;
  // Creates and appends one element; false when the provider made none.
  bool AddElement();
  void FillElement(Control* element, int row);

  IDataProvider* data_provider_ = nullptr;
  int element_height_ = 0;
  int max_element_count_ = 0;
  int last_scroll_y_ = 0;
  bool reuse_started_ = false;
};

}  // namespace ui
