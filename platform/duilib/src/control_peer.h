#pragma once

#include <string>
#include <type_traits>
#include <utility>

#include "src/layer_support.h"
#include "src/peer_link.h"
#include "ui/controls/box/box.h"
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
  ~ControlPeer() override {
    if constexpr (std::is_base_of_v<ui::Box, Base>) {
      // The face's destructor may still empty the box (lists do). The box is going, as may be
      // its window (whose delayed-delete list has already been emptied), so the children go at
      // once, as the box's own destructor does with the rest.
      Base::SetDelayedDestroy(false);
    }
    DeleteOwner();
  }

  // Relative image names of this layer's controls belong to the layer's resource path, never
  // to the framework's own one.
  void SetAttribute(const std::wstring& name, const std::wstring& value) override {
    Base::SetAttribute(name, IsImageAttribute(name) ? LayerImageSpec(value) : value);
  }

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
