#pragma once

#include <string>

#include "ui/controls/button/check_box.h"

namespace ui {

// A check box in a named group of its window: selecting one member deselects the others, and a
// click selects but never deselects. The group registry belongs to the window; an option is a
// member while it is attached and has a group name, and leaves when the name changes or it is
// destroyed.
//
// Threads: the window's thread only. Click, "select" and "unselect" handlers may destroy this
// option or other members; the option stops as soon as it is gone and skips members that left
// the group on the way.
template <typename Base>
class OptionTemplate : public CheckBoxTemplate<Base> {
 public:
  OptionTemplate() = default;
  ~OptionTemplate() override;

  virtual std::wstring GetGroup() const { return group_; }
  // Leaves the old group, joins the new one when attached, then re-applies the selection so a
  // selected option deselects its new group's other members. "" leaves the group.
  virtual void SetGroup(const std::wstring& name);

  // Base overrides.
  // Joins the group when attached with init.
  void SetWindow(Window* window, Box* parent, bool init) override;
  // Stores select even when unchanged. Attached: selecting deselects the other members and
  // raises "select" only when trigger is set; unselecting always raises "unselect".
  void Selected(bool select, bool trigger) override;
  // Clicks, then selects an unselected option.
  void Activate() override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

 private:
  void LeaveGroup();
  // Deselects every other current member; false when this option was destroyed meanwhile.
  bool DeselectOthers(bool trigger);

  std::wstring group_;
};

using Option = OptionTemplate<Control>;
using OptionBox = OptionTemplate<Box>;

extern template class OptionTemplate<Control>;
extern template class OptionTemplate<Box>;

}  // namespace ui
