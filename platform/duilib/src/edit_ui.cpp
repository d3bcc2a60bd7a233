#include "duilib/edit_ui.h"

#include "src/layer_support.h"

namespace DuiLib {

CEditUI::CEditUI() {
  SetAttribute(L"multiline", L"false");
  SetAttribute(L"wanttab", L"false");
  SetAttribute(L"wantreturnmsg", L"true");
}

const wchar_t* CEditUI::GetClass() const { return L"Edit"; }

void* CEditUI::GetInterface(const wchar_t* name) {
  if (TextOf(name) == L"Edit") return this;
  return CRichEditUI::GetInterface(name);
}

}  // namespace DuiLib
