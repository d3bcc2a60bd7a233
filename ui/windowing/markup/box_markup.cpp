// Child-box markup: one parsed builder per file, kept by the resource manager.
#include "ui/base/resource/resource_hub.h"
#include "ui/controls/core/control.h"
#include "ui/controls/core/markup_link.h"
#include "ui/windowing/markup/markup_builder.h"
#include "ui/windowing/window/control_links.h"

namespace ui {

namespace {

Control* BuildCachedMarkup(const std::wstring& file, const CreateControlCallback& callback,
                           int parent_depth) {
  if (std::shared_ptr<MarkupBuilder> cached = ResourceHub::CachedBuilder(file)) {
    return cached->Build(nullptr, nullptr, callback, parent_depth);
  }
  auto builder = std::make_shared<MarkupBuilder>();
  Control* control = builder->Load(file, callback, nullptr, nullptr, parent_depth);
  if (control) ResourceHub::CacheBuilder(file, builder);
  return control;
}

// A child box's file, built for the box's place in its tree.
Control* BuildChildBoxMarkup(const std::wstring& file, int parent_depth) {
  return BuildCachedMarkup(file, CreateControlCallback(), parent_depth);
}

}  // namespace

Control* ResourceHub::BuildBoxFromMarkup(const std::wstring& file,
                                         const CreateControlCallback& callback) {
  return BuildCachedMarkup(file, callback, 0);
}

void InstallMarkupLink() { markup_link::Install(&BuildChildBoxMarkup); }

}  // namespace ui
