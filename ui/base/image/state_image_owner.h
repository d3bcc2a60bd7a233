#pragma once

#include <string>

namespace ui {

class IRenderContext;
class ImageRef;

// What state images and state colours ask of the control that owns them (ui::Control implements
// it). Called on the UI thread while the owner paints.
class StateImageOwner {
 public:
  // Whether the owner's hot fade animation exists: then the normal and hot looks cross-fade by
  // the hot alpha instead of switching.
  virtual bool HasHotAnimation() = 0;
  // 0 (not hot) to 255 (fully hot).
  virtual int HotAlpha() = 0;
  // Draws image (decoding it on demand) with the modify text applied; fade -1 means the image's
  // own fade. False when nothing was drawn.
  virtual bool DrawStateImage(IRenderContext* render, ImageRef& image, const std::wstring& modify,
                              int fade) = 0;

 protected:
  ~StateImageOwner() = default;
};

}  // namespace ui
