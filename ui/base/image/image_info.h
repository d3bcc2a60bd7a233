#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ui {

// A decoded image: one 32-bit device-independent bitmap per frame, ready to paint without GDI+,
// frame delays for animated images and whether any pixel is not fully opaque. Shared between
// the controls that show the same file (see ResourceHub::ObtainImage); immutable once decoded.
//
// Threads: decoded on any thread while GDI+ is started (the resource manager's Start, kept
// running by a ResourceHub::WindowLease), used and destroyed on any thread: its frames are
// selected into a DC only for the length of one draw. Owns its frames and deletes them with
// itself.
class ImageInfo {
 public:
  ~ImageInfo();
  ImageInfo(const ImageInfo&) = delete;
  ImageInfo& operator=(const ImageInfo&) = delete;

  // Null when GDI+ cannot decode the file. path is recorded as the image's path.
  [[nodiscard]] static std::unique_ptr<ImageInfo> LoadFromFile(const std::wstring& path);
  // Decodes a global memory block holding an image file. Takes ownership of block, which is
  // freed on every path (a null block gives null).
  [[nodiscard]] static std::unique_ptr<ImageInfo> LoadFromMemory(HGLOBAL block,
                                                                 const std::wstring& path);

  int width() const { return width_; }
  int height() const { return height_; }
  const std::wstring& path() const { return path_; }
  bool has_alpha() const { return alpha_; }
  int FrameCount() const { return static_cast<int>(frames_.size()); }
  // Null for an index outside the frames.
  HBITMAP Frame(int index) const;
  // Hundredths of a second per frame; empty for a single frame.
  const std::vector<uint32_t>& frame_delays() const { return frame_delays_; }

  // Set by the resource manager for images it caches, so that the last release drops the entry.
  bool cached() const { return cached_; }
  void set_cached(bool cached) { cached_ = cached; }

 private:
  ImageInfo() = default;
  friend class ImageDecoder;

  int width_ = 0;
  int height_ = 0;
  std::wstring path_;
  bool alpha_ = false;
  bool cached_ = false;
  std::vector<uint32_t> frame_delays_;
  std::vector<HBITMAP> frames_;
};

}  // namespace ui
