#pragma once

#include "duilib/label_ui.h"

namespace DuiLib {

// A label that clicks: a left-button release inside it, or Space/Enter while it has the focus,
// notifies "click".
class CButtonUI : public CLabelUI {
 public:
  CButtonUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;

  // Image descriptors of the states (see CControlUI::SetBkImage).
  void SetNormalImage(const wchar_t* image);
  void SetHotImage(const wchar_t* image);
  void SetPushedImage(const wchar_t* image);
  void SetDisabledImage(const wchar_t* image);

 protected:
  explicit CButtonUI(ui::Control* peer);
};

}  // namespace DuiLib
