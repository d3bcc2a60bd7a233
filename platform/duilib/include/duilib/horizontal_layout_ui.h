#pragma once

#include "duilib/container_ui.h"

namespace DuiLib {

// A container that lines its children up left to right (over the framework's horizontal box).
class CHorizontalLayoutUI : public CContainerUI {
 public:
  CHorizontalLayoutUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;

 protected:
  explicit CHorizontalLayoutUI(ui::Control* peer);
};

}  // namespace DuiLib
