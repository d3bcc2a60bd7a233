#pragma once

#include "duilib/rich_edit_ui.h"

namespace DuiLib {

// A one-line text box: typing and SetText notify "textchanged", Enter notifies "return".
class CEditUI : public CRichEditUI {
 public:
  CEditUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
};

}  // namespace DuiLib
