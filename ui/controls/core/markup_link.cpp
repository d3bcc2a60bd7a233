// The control tree's call into the markup builder, forwarded to the one the window layer installs.
#include "ui/controls/core/markup_link.h"

#include <atomic>

#include "kestrum/common/check.h"

namespace ui {
namespace markup_link {

namespace {

std::atomic<Builder> installed_builder{nullptr};

}  // namespace

void Install(Builder builder) { installed_builder.store(builder, std::memory_order_release); }

Control* BuildBoxFromMarkup(const std::wstring& file, int parent_depth) {
  const Builder builder = installed_builder.load(std::memory_order_acquire);
  KESTRUM_CHECK_MSG(builder, "a child box built its markup with no markup builder installed");
  return builder(file, parent_depth);
}

}  // namespace markup_link
}  // namespace ui
