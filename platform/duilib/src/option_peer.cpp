#include "src/option_peer.h"

#include <memory>

namespace DuiLib {

void OptionPeer::Activate() {
  if (!GetGroup().empty()) {
    ControlPeer<ui::Option>::Activate();
    return;
  }
  if (!IsActivatable() || !GetWindow()) return;
  const std::weak_ptr<kbase::WeakFlag> alive = AcquireWeakFlag();
  ui::Button::Activate();
  if (alive.expired() || !IsActivatable()) return;
  Selected(!IsSelected(), true);
}

}  // namespace DuiLib
