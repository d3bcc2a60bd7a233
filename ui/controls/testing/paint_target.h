#pragma once

#include <windows.h>

#include <memory>

#include "ui/base/resource/resource_hub_state.h"
#include "ui/controls/render/gdiplus/render_context_gdiplus.h"
#include "ui/controls/render/gdiplus/render_factory_gdiplus.h"

namespace ui {

// A cleared memory render context for pixel probes, with the resource hub's GDI+ factory
// installed while it lives (controls take their off-screen contexts from that factory).
// Test thread only; GDI+ must be running (see render_test_environment.cpp).
class PaintTarget {
 public:
  explicit PaintTarget(int width = 32, int height = 32) {
    ResourceHubState::Get().render_factory = std::make_unique<RenderFactory_GdiPlus>();
    ready_ = context_.Resize(width, height);
    context_.Clear();
  }
  ~PaintTarget() { ResourceHubState::Get().render_factory.reset(); }
  PaintTarget(const PaintTarget&) = delete;
  PaintTarget& operator=(const PaintTarget&) = delete;

  bool Ready() const { return ready_; }
  RenderContext_GdiPlus* Context() { return &context_; }
  RECT Everywhere() { return RECT{0, 0, context_.GetWidth(), context_.GetHeight()}; }

  // The ARGB pixel at (x, y).
  DWORD At(int x, int y) {
    return static_cast<DWORD*>(context_.GetBits())[y * context_.GetWidth() + x];
  }

 private:
  RenderContext_GdiPlus context_;
  bool ready_ = false;
};

}  // namespace ui
