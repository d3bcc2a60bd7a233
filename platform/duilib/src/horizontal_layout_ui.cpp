#include "duilib/horizontal_layout_ui.h"

#include "src/control_peer.h"
#include "src/layer_support.h"
#include "ui/controls/box/h_box.h"

namespace DuiLib {

CHorizontalLayoutUI::CHorizontalLayoutUI() : CHorizontalLayoutUI(new ControlPeer<ui::HBox>(this)) {}

CHorizontalLayoutUI::CHorizontalLayoutUI(ui::Control* peer) : CContainerUI(peer) {}

const wchar_t* CHorizontalLayoutUI::GetClass() const { return L"HorizontalLayout"; }

void* CHorizontalLayoutUI::GetInterface(const wchar_t* name) {
  if (TextOf(name) == L"HorizontalLayout") return this;
  return CContainerUI::GetInterface(name);
}

}  // namespace DuiLib
