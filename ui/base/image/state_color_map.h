#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "ui/base/image/control_state.h"

namespace ui {

class IRenderContext;
class StateImageOwner;

// A control's colour names by control state (names resolve through the resource manager's
// colour table when drawn). Missing states fall back like state images; the normal and hot
// colours cross-fade while the owner's hot animation runs. UI thread only; the owner is not
// owned and must outlive the painting.
class StateColorMap {
 public:
  void SetOwner(StateImageOwner* owner) { owner_ = owner; }

  // "" for a state without a colour.
  std::wstring Color(ControlState state) const;
  void SetColor(ControlState state, const std::wstring& name);

  void Paint(IRenderContext* render, const RECT& rect, ControlState state) const;

 private:
  StateImageOwner* owner_ = nullptr;
  std::map<ControlState, std::wstring> colors_;
};

}  // namespace ui
