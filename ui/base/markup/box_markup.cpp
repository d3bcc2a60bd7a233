// Child-box markup: one parsed builder per file, kept by the resource manager.
#include "ui/base/markup/markup_builder.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/controls/core/control.h"
#include "ui/controls/core/markup_link.h"

namespace ui {

Control* ResourceHub::BuildBoxFromMarkup(const std::wstring& file,
                                         const CreateControlCallback& callback) {
  if (std::shared_ptr<MarkupBuilder> cached = CachedBuilder(file)) {
    return cached->Build(nullptr, nullptr, callback);
  }
  auto builder = std::make_shared<MarkupBuilder>();
  Control* control = builder->Load(file, callback, nullptr, nullptr);
  if (control) CacheBuilder(file, builder);
  return control;
}

namespace markup_link {

Control* BuildBoxFromMarkup(const std::wstring& file) {
  return ResourceHub::BuildBoxFromMarkup(file, CreateControlCallback());
}

}  // namespace markup_link

}  // namespace ui
