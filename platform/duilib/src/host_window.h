#pragma once

#include "ui/windowing/window/window.h"

namespace DuiLib {

class CPaintManagerUI;

// The framework window a paint manager drives: bound to the handle of a CWindowWnd (it never
// creates one) and knowing its manager, so controls can find the manager through their window.
//
// Threads: the UI thread. Ownership: owned by its manager, which clears the link before it
// destroys the host.
class HostWindow : public ui::Window {
 public:
  // The layer's windows draw their own frame and never wrap their root in a shadow box, so
  // they carry no shadow margin either.
  explicit HostWindow(CPaintManagerUI* manager) : manager_(manager) {
    GetShadow().SetAttached(false);
  }

  CPaintManagerUI* manager() const { return manager_; }
  void ClearManager() { manager_ = nullptr; }

 private:
  CPaintManagerUI* manager_;
};

}  // namespace DuiLib
