#include "duilib/text_ui.h"

#include "src/layer_support.h"

namespace DuiLib {

CTextUI::CTextUI() { SetAttribute(L"singleline", L"false"); }

const wchar_t* CTextUI::GetClass() const { return L"Text"; }

void* CTextUI::GetInterface(const wchar_t* name) {
  if (TextOf(name) == L"Text") return this;
  return CLabelUI::GetInterface(name);
}

}  // namespace DuiLib
