#include "duilib/button_ui.h"

#include "src/control_peer.h"
#include "src/layer_support.h"
#include "ui/controls/button/button.h"

namespace DuiLib {

namespace {

void SetStateImage(ui::Control* peer, ui::ControlState state, const wchar_t* image) {
  peer->SetStateImage(state, LayerImageSpec(TextOf(image)));
}

}  // namespace

CButtonUI::CButtonUI() : CButtonUI(new ControlPeer<ui::Button>(this)) {}

CButtonUI::CButtonUI(ui::Control* peer) : CLabelUI(peer) {}

const wchar_t* CButtonUI::GetClass() const { return L"Button"; }

void* CButtonUI::GetInterface(const wchar_t* name) {
  if (TextOf(name) == L"Button") return this;
  return CLabelUI::GetInterface(name);
}

void CButtonUI::SetNormalImage(const wchar_t* image) {
  SetStateImage(GetPeer(), ui::kControlStateNormal, image);
}

void CButtonUI::SetHotImage(const wchar_t* image) {
  SetStateImage(GetPeer(), ui::kControlStateHot, image);
}

void CButtonUI::SetPushedImage(const wchar_t* image) {
  SetStateImage(GetPeer(), ui::kControlStatePushed, image);
}

void CButtonUI::SetDisabledImage(const wchar_t* image) {
  SetStateImage(GetPeer(), ui::kControlStateDisabled, image);
}

}  // namespace DuiLib
