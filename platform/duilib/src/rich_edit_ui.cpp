#include "duilib/rich_edit_ui.h"

#include <richedit.h>

#include "src/control_peer.h"
#include "src/layer_support.h"
#include "ui/controls/layout/layout.h"
#include "ui/controls/richedit/rich_edit.h"

namespace DuiLib {

namespace {

ui::RichEdit* EditOf(ui::Control* peer) { return static_cast<ui::RichEdit*>(peer); }

}  // namespace

CRichEditUI::CRichEditUI() : CRichEditUI(new ControlPeer<ui::RichEdit>(this)) {}

CRichEditUI::CRichEditUI(ui::Control* peer) : CContainerUI(peer) {}

const wchar_t* CRichEditUI::GetClass() const { return L"RichEdit"; }

void* CRichEditUI::GetInterface(const wchar_t* name) {
  if (TextOf(name) == L"RichEdit") return this;
  return CContainerUI::GetInterface(name);
}

CDuiString CRichEditUI::GetText() const { return EditOf(GetPeer())->GetText(); }

void CRichEditUI::SetText(const wchar_t* text) {
  const CDuiString value = text;
  if (PostedToWindowThread([this, value] { SetText(value.c_str()); })) return;
  EditOf(GetPeer())->SetText(value);
}

void CRichEditUI::SetTextColor(DWORD color) { EditOf(GetPeer())->SetTextColor(ColorName(color)); }

DWORD CRichEditUI::GetTextColor() const { return ColorOf(EditOf(GetPeer())->GetTextColor()); }

void CRichEditUI::SetTextPadding(RECT padding) {
  ui::RichEdit* edit = EditOf(GetPeer());
  edit->GetLayout()->SetPadding(padding, true);
  edit->ArrangeSelf();
}

RECT CRichEditUI::GetTextPadding() const { return EditOf(GetPeer())->GetLayout()->GetPadding(); }

void CRichEditUI::SetSel(long start, long end) {
  LRESULT result = 0;
  EditOf(GetPeer())->TxSendMessage(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end),
                                   &result);
}

void CRichEditUI::SetReadOnly(bool read_only) {
  GetPeer()->SetAttribute(L"readonly", read_only ? L"true" : L"false");
}

bool CRichEditUI::IsReadOnly() const { return EditOf(GetPeer())->IsReadOnly(); }

}  // namespace DuiLib
