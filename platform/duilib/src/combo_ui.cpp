#include "duilib/combo_ui.h"

#include <memory>

#include "duilib/paint_manager_ui.h"
#include "src/control_peer.h"
#include "src/layer_support.h"
#include "ui/controls/list/list_box.h"
#include "ui/windowing/combo/combo.h"

namespace DuiLib {

namespace {

ui::Combo* ComboOf(ui::Control* peer) { return static_cast<ui::Combo*>(peer); }

}  // namespace

CComboUI::CComboUI() : CContainerUI(new ControlPeer<ui::Combo>(this)) {}

const wchar_t* CComboUI::GetClass() const { return L"Combo"; }

void* CComboUI::GetInterface(const wchar_t* name) {
  if (TextOf(name) == L"Combo") return this;
  return CContainerUI::GetInterface(name);
}

CDuiString CComboUI::GetText() const { return ComboOf(GetPeer())->GetText(); }

CControlUI* CComboUI::GetItemAt(int index) const {
  return FromPeer(ComboOf(GetPeer())->GetListBox()->GetItemAt(index));
}

int CComboUI::GetCurSel() const { return ComboOf(GetPeer())->GetCurSel(); }

bool CComboUI::SelectItem(int index, bool /*take_focus*/, bool notify) {
  ui::Combo* combo = ComboOf(GetPeer());
  const int old = combo->GetCurSel();
  if (!combo->SelectItem(index)) return false;
  CPaintManagerUI* manager = GetManager();
  if (notify && manager) {
    manager->SendNotify(this, L"itemselect", static_cast<WPARAM>(index), static_cast<LPARAM>(old));
  }
  return true;
}

const wchar_t* CComboUI::NotificationFor(int framework_event) const {
  if (framework_event == ui::kEventSelect) return L"itemselect";
  return CContainerUI::NotificationFor(framework_event);
}

}  // namespace DuiLib
