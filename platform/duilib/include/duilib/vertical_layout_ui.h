#pragma once

#include "duilib/container_ui.h"

namespace DuiLib {

// A container that stacks its children top to bottom (over the framework's vertical box).
class CVerticalLayoutUI : public CContainerUI {
 public:
  CVerticalLayoutUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;

 protected:
  explicit CVerticalLayoutUI(ui::Control* peer);
};

}  // namespace DuiLib
