#pragma once

#include "ui/base/callback/weak_callback.h"
#include "ui/base/render/gdiplus_headers.h"

namespace ui {

class IRenderContext;

// Clips a render context for the lifetime of the scope and restores the previous clip when it
// ends. Scopes nest. The context must outlive the scope.
class AutoClip : public kbase::SupportWeakCallback {
 public:
  // Does nothing at all when clip is false or render is null.
  AutoClip(IRenderContext* render, const RECT& rect, bool clip = true);
  // A rectangle with corners rounded by a width x height ellipse.
  AutoClip(IRenderContext* render, const RECT& rect, int width, int height, bool clip = true);
  ~AutoClip() override;
  AutoClip(const AutoClip&) = delete;
  AutoClip& operator=(const AutoClip&) = delete;

 private:
  IRenderContext* render_ = nullptr;
  bool clip_ = false;
};

}  // namespace ui
