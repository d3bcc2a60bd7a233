#include "duilib/option_ui.h"

#include <memory>

#include "src/layer_support.h"
#include "src/option_peer.h"

namespace DuiLib {

namespace {

ui::Option* OptionOf(ui::Control* peer) { return static_cast<ui::Option*>(peer); }

}  // namespace

COptionUI::COptionUI() : COptionUI(new OptionPeer(this)) {}

COptionUI::COptionUI(ui::Control* peer) : CButtonUI(peer) {}

const wchar_t* COptionUI::GetClass() const { return L"Option"; }

void* COptionUI::GetInterface(const wchar_t* name) {
  if (TextOf(name) == L"Option") return this;
  return CButtonUI::GetInterface(name);
}

bool COptionUI::IsSelected() const { return OptionOf(GetPeer())->IsSelected(); }

void COptionUI::Selected(bool selected, bool notify) {
  ui::Option* option = OptionOf(GetPeer());
  if (option->IsSelected() == selected) return;
  const std::weak_ptr<kbase::WeakFlag> alive = option->AcquireWeakFlag();
  silent_ = !notify;
  option->Selected(selected, notify);
  if (!alive.expired()) silent_ = false;
}

CDuiString COptionUI::GetGroup() const { return OptionOf(GetPeer())->GetGroup(); }

void COptionUI::SetGroup(const wchar_t* group) { OptionOf(GetPeer())->SetGroup(TextOf(group)); }

void COptionUI::SetSelectedImage(const wchar_t* image) {
  OptionOf(GetPeer())->SetSelectedStateImage(ui::kControlStateNormal,
                                             LayerImageSpec(TextOf(image)));
}

const wchar_t* COptionUI::NotificationFor(int framework_event) const {
  const bool selection =
      framework_event == ui::kEventSelect || framework_event == ui::kEventUnSelect;
  if (selection && silent_) return nullptr;
  return CButtonUI::NotificationFor(framework_event);
}

}  // namespace DuiLib
