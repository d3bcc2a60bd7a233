// Stop of the resource manager and what windows lease from it, kept apart from its tables because
// they bring in GDI+. Start, which makes the render back end and builds the global markup, is the
// window layer's (ui/windowing/resource/resource_hub_start.cpp).
#include <windows.h>

#include <deque>
#include <mutex>

#include "ui/base/render/render_context.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/resource/resource_hub_state.h"

namespace ui {

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

void StopGdiplus(ResourceHubState& state) {
  state.gdiplus_stop_pending = false;
  // A second Stop finds the token cleared: GDI+ is shut down once per start.
  if (!state.gdiplus_token) return;
  Gdiplus::GdiplusShutdown(state.gdiplus_token);
  state.gdiplus_token = 0;
}

// What Stop left to windows: their fonts and GDI+. Called once none is left.
void ReleaseStopped(ResourceHubState& state) {
  for (const std::deque<FontRecord>& fonts : state.stopped_fonts) {
    for (const FontRecord& font : fonts) DeleteObject(font.hFont);
  }
  state.stopped_fonts.clear();
  if (state.gdiplus_stop_pending) StopGdiplus(state);
}

}  // namespace

ResourceHub::WindowLease::WindowLease() {
  ResourceHubState& state = ResourceHubState::Get();
  Guard guard(state.mutex);
  ++state.window_leases;
}

ResourceHub::WindowLease::~WindowLease() {
  ResourceHubState& state = ResourceHubState::Get();
  Guard guard(state.mutex);
  if (--state.window_leases == 0) ReleaseStopped(state);
}

void ResourceHub::Stop() {
  ResourceHubState& state = ResourceHubState::Get();
  Guard guard(state.mutex);
  state.render_factory.reset();
  if (!state.fonts.empty()) {
    // A swap keeps the records where FontInfo's callers found them.
    state.stopped_fonts.emplace_back();
    state.stopped_fonts.back().swap(state.fonts);
  }
  state.gdiplus_stop_pending = state.gdiplus_token != 0;
  if (state.window_leases == 0) ReleaseStopped(state);
}

std::unique_ptr<IRenderContext> ResourceHub::MakeRenderContext() {
  ResourceHubState& state = ResourceHubState::Get();
  Guard guard(state.mutex);
  return state.render_factory ? state.render_factory->CreateRenderContext() : nullptr;
}

}  // namespace ui
