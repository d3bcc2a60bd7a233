#include "src/peer_link.h"

#include "src/event_translation.h"

namespace DuiLib {

void PeerLink::DeleteOwner() {
  CControlUI* owner = owner_;
  owner_ = nullptr;
  if (!owner) return;
  owner->OnPeerDestroyed();
  delete owner;
}

bool PeerLink::NotifyOwner(ui::EventArgs& args) {
  if (!owner_) return true;
  return owner_->NotifyFrom(args);
}

bool PeerLink::RouteToOwner(ui::EventArgs& args) {
  if (!owner_) return false;
  TEventUI event;
  if (!event_translation::ToLayerEvent(args, &event)) return false;
  CControlUI* sender = CControlUI::FromPeer(args.sender);
  event.pSender = sender ? sender : owner_;
  owner_->Event(event);
  return true;
}

}  // namespace DuiLib
