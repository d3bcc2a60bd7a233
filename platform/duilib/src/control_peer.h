#pragma once

#include <utility>

#include "src/peer_link.h"
#include "ui/controls/core/event_args.h"

namespace DuiLib {

// A framework control of class Base that belongs to a control of this layer: its events pass
// through the face's DoEvent, and the events raised at it become notifications.
//
// Threads and ownership: see PeerLink.
template <typename Base>
class ControlPeer : public Base, public PeerLink {
 public:
  template <typename... Args>
  explicit ControlPeer(CControlUI* owner, Args&&... args)
      : Base(std::forward<Args>(args)...), PeerLink(owner) {}
  ~ControlPeer() override { DeleteOwner(); }

  void DispatchEvent(ui::EventArgs& args) override {
    if (args.sender == this && !NotifyOwner(args)) return;
    Base::DispatchEvent(args);
  }
  void HandleEvent(ui::EventArgs& args) override {
    if (RouteToOwner(args)) return;
    Base::HandleEvent(args);
  }
  void BaseHandleEvent(ui::EventArgs& args) override { Base::HandleEvent(args); }
};

}  // namespace DuiLib
