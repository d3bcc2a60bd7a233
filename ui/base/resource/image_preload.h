#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ui {

class ImageInfo;

// Decodes images ahead of the paint that first needs them, on a thread of its own, and keeps them
// decoded for as long as it lives. The images enter the resource hub's cache, where a control
// that names one finds it decoded (ResourceHub::ObtainImage) instead of decoding it on its
// window's thread; the hub's cache holds no image alive, this object does.
//
// Threads: Start, Wait and the destructor belong to the thread that made the object; the
// decoding runs on a thread that Start starts and the destructor joins. GDI+ must be started
// (ResourceHub::Start); the decoding thread holds a window lease, so that a Stop meanwhile leaves
// GDI+ running until it is done.
// Lifetime: the destructor ends the decoding after the file under way and releases the images
// (the hub then drops those that nothing else holds).
class ImagePreload {
 public:
  ImagePreload() = default;
  ~ImagePreload();
  ImagePreload(const ImagePreload&) = delete;
  ImagePreload& operator=(const ImagePreload&) = delete;

  // Starts decoding the files, in order; each path names its file as a control's image resolves
  // it (absolute, slashes of either kind). A file that cannot be decoded is skipped. Only the
  // first call starts anything.
  void Start(std::vector<std::wstring> paths);
  // Waits up to timeout_ms for the decoding to end; true when it has ended or never started.
  [[nodiscard]] bool Wait(DWORD timeout_ms);

  // The image files that the markup file names in its image attributes (those whose names end
  // in "image"), in document order and each once, so that a preload decodes them in the order a
  // window built from the markup first paints them. A relative name is taken from image_folder,
  // as the window's controls take it. Empty when the markup cannot be read. Any thread.
  static std::vector<std::wstring> FilesNamedBy(const std::wstring& markup_path,
                                                const std::wstring& image_folder);

 private:
  void Decode(const std::vector<std::wstring>& paths);

  std::thread thread_;
  std::atomic<bool> stopping_{false};
  std::mutex mutex_;
  std::condition_variable finished_;
  bool done_ = false;                             // under mutex_
  std::vector<std::shared_ptr<ImageInfo>> held_;  // under mutex_
};

}  // namespace ui
