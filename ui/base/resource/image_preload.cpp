#include "ui/base/resource/image_preload.h"

#include <chrono>
#include <utility>

#include "ui/base/image/image_info.h"
#include "ui/base/resource/resource_hub.h"

namespace ui {

ImagePreload::~ImagePreload() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
}

void ImagePreload::Start(std::vector<std::wstring> paths) {
  if (thread_.joinable()) return;
  thread_ = std::thread([this, paths = std::move(paths)] { Decode(paths); });
}

bool ImagePreload::Wait(DWORD timeout_ms) {
  if (!thread_.joinable()) return true;
  std::unique_lock<std::mutex> lock(mutex_);
  return finished_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [this] { return done_; });
}

void ImagePreload::Decode(const std::vector<std::wstring>& paths) {
  const ResourceHub::WindowLease gdiplus_in_use;
  for (const std::wstring& path : paths) {
    if (stopping_) break;
    std::shared_ptr<ImageInfo> image = ResourceHub::ObtainImage(path);
    if (!image) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    held_.push_back(std::move(image));
  }
  std::lock_guard<std::mutex> lock(mutex_);
  done_ = true;
  finished_.notify_all();
}

}  // namespace ui
