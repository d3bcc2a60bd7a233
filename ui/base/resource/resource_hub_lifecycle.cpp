// Start and Stop of the resource manager, kept apart from its tables because they bring in the
// render back end, GDI+ and the common controls.
#include <windows.h>
#include <commctrl.h>

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

void StartGdiplus(ResourceHubState& state) {
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
  // A second Stop finds the token cleared: GDI+ is shut down once per start.
  if (!state.gdiplus_token) return;
  Gdiplus::GdiplusShutdown(state.gdiplus_token);
  state.gdiplus_token = 0;
}

}  // namespace

void ResourceHub::Start(const std::wstring& root, const CreateControlCallback& callback,
                        bool adapt_dpi, const std::wstring& theme_folder,
                        const std::wstring& language_folder) {
  ResourceHubState& state = ResourceHubState::Get();
  state.render_factory = std::make_unique<RenderFactory_GdiPlus>();
  SetResourcePath(root + theme_folder);
  SetCreateControlCallback(callback);
  if (adapt_dpi) DisplayScale::Instance().EnableAdaptation();
  // Before any window is built, so that its fonts are DPI-scaled and defined for them.
  BuildGlobalMarkup();
  LangTable::Instance().LoadFromFile(root + language_folder + L"\\strings.ini");
  StartGdiplus(state);
  InitCommonControls();
}

void ResourceHub::Stop() {
  ResourceHubState& state = ResourceHubState::Get();
  state.render_factory.reset();
  {
    std::lock_guard<std::recursive_mutex> guard(state.mutex);
    for (const FontRecord& font : state.fonts) DeleteObject(font.hFont);
    state.fonts.clear();
  }
  StopGdiplus(state);
}

std::unique_ptr<IRenderContext> ResourceHub::MakeRenderContext() {
  IRenderFactory* factory = ResourceHubState::Get().render_factory.get();
  return factory ? factory->CreateRenderContext() : nullptr;
}

}  // namespace ui
