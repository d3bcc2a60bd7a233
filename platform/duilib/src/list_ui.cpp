#include "duilib/list_ui.h"

#include "src/control_peer.h"
#include "src/layer_support.h"
#include "ui/controls/layout/v_layout.h"
#include "ui/controls/list/list_box.h"

namespace DuiLib {

namespace {

ui::ListBox* ListOf(ui::Control* peer) { return static_cast<ui::ListBox*>(peer); }

}  // namespace

CListUI::CListUI() : CVerticalLayoutUI(new ControlPeer<ui::ListBox>(this, new ui::VLayout)) {
  // Lists scroll vertically unless their skin says otherwise.
  GetPeer()->SetAttribute(L"vscrollbar", L"true");
}

const wchar_t* CListUI::GetClass() const { return L"List"; }

void* CListUI::GetInterface(const wchar_t* name) {
  const std::wstring wanted = TextOf(name);
  if (wanted == L"List") return this;
  if (wanted == L"IListOwner") return static_cast<IListOwnerUI*>(this);
  return CVerticalLayoutUI::GetInterface(name);
}

void CListUI::DoEvent(TEventUI& event) { CVerticalLayoutUI::DoEvent(event); }

int CListUI::GetCurSel() const { return ListOf(GetPeer())->GetCurSel(); }

bool CListUI::SelectItem(int index, bool take_focus, bool notify) {
  return ListOf(GetPeer())->SelectItem(index, take_focus, notify);
}

SIZE CListUI::GetScrollPos() const { return ListOf(GetPeer())->GetScrollPos(); }

SIZE CListUI::GetScrollRange() const { return ListOf(GetPeer())->GetScrollRange(); }

void CListUI::SetScrollPos(SIZE pos) { ListOf(GetPeer())->SetScrollPos(pos); }

void CListUI::EndDown() { ListOf(GetPeer())->EndDown(true, false); }

void CListUI::HomeUp() { ListOf(GetPeer())->HomeUp(); }

const wchar_t* CListUI::NotificationFor(int framework_event) const {
  if (framework_event == ui::kEventSelect) return L"itemselect";
  return CVerticalLayoutUI::NotificationFor(framework_event);
}

}  // namespace DuiLib
