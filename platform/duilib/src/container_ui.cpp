#include "duilib/container_ui.h"

#include <memory>

#include "src/control_peer.h"
#include "src/layer_support.h"
#include "ui/controls/box/box.h"

namespace DuiLib {

namespace {

ui::Box* BoxOf(ui::Control* peer) { return static_cast<ui::Box*>(peer); }

// A child handed to another thread's add. A task that never runs (its container or window went
// first, or it could not be posted) is dropped unrun; the child then goes with it.
class PendingChild {
 public:
  explicit PendingChild(CControlUI* control) : control_(control) {}
  ~PendingChild() { delete control_; }
  PendingChild(const PendingChild&) = delete;
  PendingChild& operator=(const PendingChild&) = delete;

  CControlUI* Release() {
    CControlUI* control = control_;
    control_ = nullptr;
    return control;
  }

 private:
  CControlUI* control_;
};

}  // namespace

CContainerUI::CContainerUI() : CContainerUI(new ControlPeer<ui::Box>(this)) {}

CContainerUI::CContainerUI(ui::Control* peer) : CControlUI(peer) {}

const wchar_t* CContainerUI::GetClass() const { return L"Container"; }

void* CContainerUI::GetInterface(const wchar_t* name) {
  if (TextOf(name) == L"Container") return this;
  return CControlUI::GetInterface(name);
}

CControlUI* CContainerUI::GetItemAt(int index) const {
  return FromPeer(BoxOf(GetPeer())->GetItemAt(index));
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
  return control ? BoxOf(GetPeer())->GetItemIndex(control->GetPeer()) : -1;
}

int CContainerUI::GetCount() const { return BoxOf(GetPeer())->GetCount(); }

bool CContainerUI::Add(CControlUI* control) {
  if (!control) return false;
  const auto pending = std::make_shared<PendingChild>(control);
  if (PostedToWindowThread([this, pending] { AdoptOrDelete(pending->Release(), GetCount()); })) {
    return true;
  }
  pending->Release();
  return BoxOf(GetPeer())->Add(control->GetPeer());
}

bool CContainerUI::AddAt(CControlUI* control, int index) {
  if (!control) return false;
  const auto pending = std::make_shared<PendingChild>(control);
  if (PostedToWindowThread([this, pending, index] { AdoptOrDelete(pending->Release(), index); })) {
    return true;
  }
  pending->Release();
  return BoxOf(GetPeer())->AddAt(control->GetPeer(), index);
}

void CContainerUI::AdoptOrDelete(CControlUI* control, int index) {
  if (!AddAt(control, index)) delete control;
}

bool CContainerUI::Remove(CControlUI* control, bool do_not_destroy) {
  if (!control) return false;
  ui::Box* box = BoxOf(GetPeer());
  if (!do_not_destroy) return box->Remove(control->GetPeer());
  const bool destroys = box->IsAutoDestroyChild();
  box->SetAutoDestroyChild(false);
  ui::Control* child = control->GetPeer();
  const bool removed = box->Remove(child);
  box->SetAutoDestroyChild(destroys);
  // The framework only unlinks it; the caller's control must not keep a parent.
  if (removed) child->SetWindow(child->GetWindow(), nullptr, false);
  return removed;
}

void CContainerUI::RemoveAll() { BoxOf(GetPeer())->RemoveAll(); }

SIZE CContainerUI::GetScrollPos() const { return BoxOf(GetPeer())->GetScrollOffset(); }

SIZE CContainerUI::GetScrollRange() const { return SIZE{0, 0}; }

void CContainerUI::SetScrollPos(SIZE /*pos*/) {}

}  // namespace DuiLib
