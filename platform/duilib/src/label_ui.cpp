#include "duilib/label_ui.h"

#include "src/control_peer.h"
#include "src/layer_support.h"
#include "ui/controls/button/label.h"

namespace DuiLib {

namespace {

ui::Label* LabelOf(ui::Control* peer) { return static_cast<ui::Label*>(peer); }

}  // namespace

CLabelUI::CLabelUI() : CLabelUI(new ControlPeer<ui::Label>(this)) {}

CLabelUI::CLabelUI(ui::Control* peer) : CControlUI(peer) {}

const wchar_t* CLabelUI::GetClass() const { return L"Label"; }

void* CLabelUI::GetInterface(const wchar_t* name) {
  if (TextOf(name) == L"Label") return this;
  return CControlUI::GetInterface(name);
}

CDuiString CLabelUI::GetText() const { return LabelOf(GetPeer())->GetText(); }

void CLabelUI::SetText(const wchar_t* text) {
  const CDuiString value = text;
  if (PostedToWindowThread([this, value] { SetText(value.c_str()); })) return;
  LabelOf(GetPeer())->SetText(value);
}

void CLabelUI::SetTextColor(DWORD color) {
  LabelOf(GetPeer())->SetStateTextColor(ui::kControlStateNormal, ColorName(color));
}

DWORD CLabelUI::GetTextColor() const {
  return ColorOf(LabelOf(GetPeer())->GetStateTextColor(ui::kControlStateNormal));
}

void CLabelUI::SetTextPadding(RECT padding) { LabelOf(GetPeer())->SetTextPadding(padding); }

RECT CLabelUI::GetTextPadding() const { return LabelOf(GetPeer())->GetTextPadding(); }

}  // namespace DuiLib
