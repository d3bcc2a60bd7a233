#pragma once

#include "duilib/label_ui.h"

namespace DuiLib {

// A label whose text wraps over several lines.
class CTextUI : public CLabelUI {
 public:
  CTextUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
};

}  // namespace DuiLib
