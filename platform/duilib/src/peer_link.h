#pragma once

#include "duilib/control_ui.h"
#include "ui/controls/core/event_args.h"

namespace DuiLib {

// The framework side of a control of this layer: implemented by every peer (ControlPeer), it
// ties the framework control to the CControlUI that faces it.
//
// Threads: the UI thread. Ownership: a peer owns its face (the owner) and deletes it when the
// peer is destroyed; a face deleted first drops itself from the peer beforehand.
class PeerLink {
 public:
  explicit PeerLink(CControlUI* owner) : owner_(owner) {}
  virtual ~PeerLink() = default;
  PeerLink(const PeerLink&) = delete;
  PeerLink& operator=(const PeerLink&) = delete;

  CControlUI* Owner() const { return owner_; }
  // The face is going away on its own; the peer must not call it again.
  void DropOwner() { owner_ = nullptr; }
  // The framework control's own handling, without the layer's DoEvent.
  virtual void BaseHandleEvent(ui::EventArgs& args) = 0;

 protected:
  // For the peer's destructor: deletes the face while the peer is still whole.
  void DeleteOwner();
  // Notifies for an event raised at the peer; false when the peer was destroyed meanwhile.
  bool NotifyOwner(ui::EventArgs& args);
  // Hands an event to the face's OnEvent and DoEvent; false (nothing done) when the event has no
  // counterpart in this layer or there is no face.
  bool RouteToOwner(ui::EventArgs& args);

 private:
  CControlUI* owner_;
};

}  // namespace DuiLib
