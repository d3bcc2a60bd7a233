#pragma once

#include "ui/base/window/window.h"

namespace DuiLib {

class CPaintManagerUI;

// The framework window a paint manager drives: bound to the handle of a CWindowWnd (it never
// creates one) and knowing its manager, so controls can find the manager through their window.
//
// Threads: the UI thread. Ownership: owned by its manager, which clears the link before it
// destroys the host.
class HostWindow : public ui::Window {
 public:
  explicit HostWindow(CPaintManagerUI* manager) : manager_(manager) {}

  CPaintManagerUI* manager() const { return manager_; }
  void ClearManager() { manager_ = nullptr; }

 private:
  CPaintManagerUI* manager_;
};

}  // namespace DuiLib
