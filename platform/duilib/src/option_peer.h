#pragma once

#include "src/control_peer.h"
#include "ui/controls/button/option.h"

namespace DuiLib {

// The framework option behind COptionUI. In a group it behaves as the framework's option; in
// no group a click toggles it. Either way the click is raised before the selection changes.
class OptionPeer : public ControlPeer<ui::Option> {
 public:
  using ControlPeer<ui::Option>::ControlPeer;

  void Activate() override;
};

}  // namespace DuiLib
