#include "ui/controls/button/option.h"

#include <algorithm>
#include <vector>

#include "ui/controls/core/window_link.h"

namespace ui {

namespace {

bool IsMember(Window* window, const std::wstring& group, const Control* control) {
  const std::vector<Control*>* members = window_link::OptionGroupMembers(window, group);
  return members && std::find(members->begin(), members->end(), control) != members->end();
}

// Group members are options over either base.
void DeselectMember(Control* member, bool trigger) {
  if (auto* plain = dynamic_cast<CheckBoxTemplate<Control>*>(member)) {
    plain->Selected(false, trigger);
  } else if (auto* box = dynamic_cast<CheckBoxTemplate<Box>*>(member)) {
    box->Selected(false, trigger);
  }
}

}  // namespace

template <typename Base>
OptionTemplate<Base>::~OptionTemplate() {
  LeaveGroup();
}

template <typename Base>
void OptionTemplate<Base>::LeaveGroup() {
  Window* window = this->GetWindow();
  if (window && !group_.empty()) window_link::LeaveOptionGroup(window, group_, this);
}

template <typename Base>
void OptionTemplate<Base>::SetGroup(const std::wstring& name) {
  if (name == group_) return;
  LeaveGroup();
  group_ = name;
  Window* window = this->GetWindow();
  if (window && !group_.empty()) window_link::JoinOptionGroup(window, group_, this);
  Selected(this->selected_, true);
}

template <typename Base>
void OptionTemplate<Base>::SetWindow(Window* window, Box* parent, bool init) {
  Base::SetWindow(window, parent, init);
  if (init && window && !group_.empty()) window_link::JoinOptionGroup(window, group_, this);
}

template <typename Base>
bool OptionTemplate<Base>::DeselectOthers(bool trigger) {
  Window* window = this->GetWindow();
  const std::vector<Control*>* members = window_link::OptionGroupMembers(window, group_);
  if (!members) return true;
  const std::weak_ptr<kbase::WeakFlag> alive = this->AcquireWeakFlag();
  // Handlers may change the group (or destroy members) while it is walked: walk a copy and
  // touch only those still registered.
  const std::vector<Control*> snapshot = *members;
  const std::wstring group = group_;
  for (Control* member : snapshot) {
    if (member == this || !IsMember(window, group, member)) continue;
    DeselectMember(member, trigger);
    if (alive.expired()) return false;
  }
  return true;
}

template <typename Base>
void OptionTemplate<Base>::Selected(bool select, bool trigger) {
  this->selected_ = select;
  if (this->GetWindow()) {
    const std::weak_ptr<kbase::WeakFlag> alive = this->AcquireWeakFlag();
    if (select && !group_.empty() && !DeselectOthers(trigger)) return;
    if (!select) {
      this->DispatchStamped(kEventUnSelect);
    } else if (trigger) {
      this->DispatchStamped(kEventSelect);
    }
    if (alive.expired()) return;
  }
  this->Invalidate();
}

template <typename Base>
void OptionTemplate<Base>::Activate() {
  const std::weak_ptr<kbase::WeakFlag> alive = this->AcquireWeakFlag();
  ButtonTemplate<Base>::Activate();
  if (alive.expired()) return;
  // Only the first click selects; clicking a selected option raises no second "select".
  if (this->IsActivatable() && !this->selected_) Selected(true, true);
}

template <typename Base>
void OptionTemplate<Base>::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"group") {
    SetGroup(value);
  } else {
    CheckBoxTemplate<Base>::SetAttribute(name, value);
  }
}

template class OptionTemplate<Control>;
template class OptionTemplate<Box>;

}  // namespace ui
