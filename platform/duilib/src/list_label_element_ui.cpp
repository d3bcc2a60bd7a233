#include "duilib/list_label_element_ui.h"

#include "src/layer_support.h"
#include "ui/controls/list/list_container_element.h"

namespace DuiLib {

namespace {

// The element is a label over a box.
ui::LabelBox* LabelOf(ui::Control* peer) { return static_cast<ui::LabelBox*>(peer); }

}  // namespace

CListLabelElementUI::CListLabelElementUI() = default;

const wchar_t* CListLabelElementUI::GetClass() const { return L"ListLabelElement"; }

void* CListLabelElementUI::GetInterface(const wchar_t* name) {
  if (TextOf(name) == L"ListLabelElement") return this;
  return CListContainerElementUI::GetInterface(name);
}

CDuiString CListLabelElementUI::GetText() const { return LabelOf(GetPeer())->GetText(); }

void CListLabelElementUI::SetText(const wchar_t* text) {
  const CDuiString value = text;
  if (PostedToWindowThread([this, value] { SetText(value.c_str()); })) return;
  LabelOf(GetPeer())->SetText(value);
}

}  // namespace DuiLib
