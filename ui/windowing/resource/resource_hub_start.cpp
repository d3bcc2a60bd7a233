// Start of the resource manager: the one piece of it that needs the layers above the base, since
// it makes the GDI+ render back end of ui/controls and builds the global markup into a window.
#include <windows.h>

#include <memory>
#include <mutex>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/lang/lang_table.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/resource/resource_hub_state.h"
#include "ui/controls/core/control.h"
#include "ui/controls/render/gdiplus/render_factory_gdiplus.h"
#include "ui/windowing/markup/markup_builder.h"
#include "ui/windowing/window/window.h"

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

}  // namespace

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

}  // namespace ui
