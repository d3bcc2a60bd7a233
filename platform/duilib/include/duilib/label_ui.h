#pragma once

#include <windows.h>

#include "duilib/control_ui.h"

namespace DuiLib {

// A one-line text (over the framework label).
class CLabelUI : public CControlUI {
 public:
  CLabelUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
  CDuiString GetText() const override;
  void SetText(const wchar_t* text) override;

  // 0xAARRGGBB.
  void SetTextColor(DWORD color);
  DWORD GetTextColor() const;
  void SetTextPadding(RECT padding);
  RECT GetTextPadding() const;

 protected:
  explicit CLabelUI(ui::Control* peer);
};

}  // namespace DuiLib
