#include "ui/base/image/image_ref.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "ui/base/image/image_info.h"

namespace ui {

namespace {
// Browsers show GIF delays this short as 100 ms, and files are made for them.
constexpr int kShortestHonouredDelayMs = 30;
constexpr int kShortDelayReplacementMs = 100;
constexpr int kShortestDelayMs = 50;
}  // namespace

void ImageRef::SetSpecText(const std::wstring& text) {
  ClearDecoded();
  spec.Reset();
  spec.spec_text = text;
  spec.file_name = text;
  spec.Parse(text);
}

void ImageRef::ClearDecoded() {
  frame_index = 0;
  status = 0;
  loop_count = 0;
  image.reset();
}

int ImageRef::FrameDelay() const {
  if (!image || frame_index < 0) return 0;
  const auto& delays = image->frame_delays();
  const std::size_t index = static_cast<std::size_t>(frame_index);
  if (index >= delays.size() || frame_index >= image->FrameCount()) return 0;
  const int64_t delay = static_cast<int64_t>(delays[index]) * 10;
  if (delay < kShortestHonouredDelayMs) return kShortDelayReplacementMs;
  return static_cast<int>(std::min<int64_t>(std::max<int64_t>(delay, kShortestDelayMs), INT_MAX));
}

}  // namespace ui
