#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/base/image/image_attributes.h"

namespace ui {

class ImageInfo;

// A control's reference to one image: its parsed attribute string, the decoded image once the
// control has loaded it (shared with every control showing the same file) and the state of its
// frame animation. UI thread only.
class ImageRef {
 public:
  ImageRef() = default;

  // Starts over with text: a text without "file" or "res" is itself the file name.
  void SetSpecText(const std::wstring& text);
  // Releases the decoded image and rewinds the animation; the parsed ImageSpec stays.
  void ClearDecoded();
  // Milliseconds to show the current frame: 0 without a decoded animated image or for a frame
  // index beyond its frames; delays below 30 ms mean 100 ms, and none is shorter than 50 ms.
  int FrameDelay() const;

  ImageSpec spec;
  std::shared_ptr<ImageInfo> image;
  int frame_index = 0;
  BYTE status = 0;
  int loop_count = 0;
};

}  // namespace ui
