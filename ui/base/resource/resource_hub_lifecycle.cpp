// Start and Stop of the resource manager, kept apart from its tables because they bring in the
// render back end and GDI+.
#include <windows.h>

#include <deque>
#include <mutex>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/lang/lang_table.h"
#include "ui/base/markup/markup_builder.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/resource/resource_hub_state.h"
#include "ui/base/window/window.h"
#include "ui/controls/core/control.h"
#include "ui/controls/render/gdiplus/render_factory_gdiplus.h"
#include "ui/controls/render/render_context.h"

namespace ui {

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

void StartGdiplus(ResourceHubState& state) {
  state.gdiplus_stop_pending = false;
  if (state.gdiplus_token) return;
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) state.gdiplus_token = token;
}

// The global definitions apply only to a build with a window; this one exists just for it.
void BuildGlobalMarkup() {
  Window window;
  MarkupBuilder builder;
  delete builder.Load(L"global.xml", CreateControlCallback(), &window, nullptr);
}

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

void ResourceHub::Start(const std::wstring& root, const CreateControlCallback& callback,
                        bool adapt_dpi, const std::wstring& theme_folder,
                        const std::wstring& language_folder) {
  ResourceHubState& state = ResourceHubState::Get();
  {
    Guard guard(state.mutex);
    state.render_factory = std::make_unique<RenderFactory_GdiPlus>();
  }
  SetResourcePath(root + theme_folder);
  SetCreateControlCallback(callback);
  if (adapt_dpi) DisplayScale::Instance().EnableAdaptation();
  // Before any window is built, so that its fonts are DPI-scaled and defined for them.
  BuildGlobalMarkup();
  // Without its language file the program runs on with empty texts (see Start's contract).
  static_cast<void>(LangTable::Instance().LoadFromFile(root + language_folder + L"\\strings.ini"));
  {
    Guard guard(state.mutex);
    StartGdiplus(state);
  }
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
