#include "duilib/list_container_element_ui.h"

#include "duilib/list_owner_ui.h"
#include "src/control_peer.h"
#include "src/layer_support.h"
#include "ui/controls/list/list_container_element.h"
#include "ui/controls/list/list_owner.h"

namespace DuiLib {

namespace {

ui::ListContainerElement* ElementOf(ui::Control* peer) {
  return static_cast<ui::ListContainerElement*>(peer);
}

}  // namespace

CListContainerElementUI::CListContainerElementUI()
    : CListContainerElementUI(new ControlPeer<ui::ListContainerElement>(this)) {}

CListContainerElementUI::CListContainerElementUI(ui::Control* peer) : CContainerUI(peer) {}

const wchar_t* CListContainerElementUI::GetClass() const { return L"ListContainerElement"; }

void* CListContainerElementUI::GetInterface(const wchar_t* name) {
  if (TextOf(name) == L"ListContainerElement") return this;
  return CContainerUI::GetInterface(name);
}

int CListContainerElementUI::GetIndex() const { return ElementOf(GetPeer())->GetIndex(); }

void CListContainerElementUI::SetIndex(int index) { ElementOf(GetPeer())->SetIndex(index); }

IListOwnerUI* CListContainerElementUI::GetOwner() const {
  auto* list = dynamic_cast<ui::Control*>(ElementOf(GetPeer())->GetOwner());
  CControlUI* face = FromPeer(list);
  return face ? static_cast<IListOwnerUI*>(face->GetInterface(L"IListOwner")) : nullptr;
}

bool CListContainerElementUI::IsSelected() const { return ElementOf(GetPeer())->IsSelected(); }

bool CListContainerElementUI::Select(bool select) {
  ui::ListContainerElement* element = ElementOf(GetPeer());
  element->Selected(select, true);
  return element->IsSelected() == select;
}

const wchar_t* CListContainerElementUI::NotificationFor(int framework_event) const {
  switch (framework_event) {
    case ui::kEventClick:
      return L"itemclick";
    case ui::kEventMouseDoubleClick:
      return L"itemactivate";
    // The list notifies the selection.
    case ui::kEventSelect:
    case ui::kEventUnSelect:
      return nullptr;
    default:
      return CContainerUI::NotificationFor(framework_event);
  }
}

}  // namespace DuiLib
