#pragma once

#include <windows.h>

#include "duilib/container_ui.h"

namespace DuiLib {

// A text box (over the framework's rich edit): multi-line by default. Typing and SetText
// notify "textchanged"; Enter notifies "return" when the skin asks for it ("wantreturnmsg").
class CRichEditUI : public CContainerUI {
 public:
  CRichEditUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
  CDuiString GetText() const override;
  void SetText(const wchar_t* text) override;

  // 0xAARRGGBB.
  void SetTextColor(DWORD color);
  DWORD GetTextColor() const;
  // The space between the box's edges and its text.
  void SetTextPadding(RECT padding);
  RECT GetTextPadding() const;
  // Selects characters start to end (end -1: to the end of the text); the caret goes to end.
  void SetSel(long start, long end);
  void SetReadOnly(bool read_only);
  bool IsReadOnly() const;

 protected:
  explicit CRichEditUI(ui::Control* peer);
};

}  // namespace DuiLib
