#include "duilib/vertical_layout_ui.h"

#include "src/control_peer.h"
#include "src/layer_support.h"
#include "ui/controls/box/v_box.h"

namespace DuiLib {

CVerticalLayoutUI::CVerticalLayoutUI() : CVerticalLayoutUI(new ControlPeer<ui::VBox>(this)) {}

CVerticalLayoutUI::CVerticalLayoutUI(ui::Control* peer) : CContainerUI(peer) {}

const wchar_t* CVerticalLayoutUI::GetClass() const { return L"VerticalLayout"; }

void* CVerticalLayoutUI::GetInterface(const wchar_t* name) {
  if (TextOf(name) == L"VerticalLayout") return this;
  return CContainerUI::GetInterface(name);
}

}  // namespace DuiLib
