#pragma once

#include "duilib/list_container_element_ui.h"

namespace DuiLib {

// A list item that shows one line of text.
class CListLabelElementUI : public CListContainerElementUI {
 public:
  CListLabelElementUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
  CDuiString GetText() const override;
  void SetText(const wchar_t* text) override;
};

}  // namespace DuiLib
