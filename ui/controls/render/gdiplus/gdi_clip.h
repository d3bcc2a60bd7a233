#pragma once

#include "ui/base/render/clip.h"

namespace ui {

// IClip on GDI regions: each clip is built in device coordinates and intersected with the DC's
// current clip after a SaveDC, which ClearClip undoes.
class GdiClip : public IClip {
 public:
  void CreateClip(HDC dc, const RECT& rect) override;
  void CreateRoundClip(HDC dc, const RECT& rect, int width, int height) override;
  void ClearClip(HDC dc) override;

 private:
  static void Intersect(HDC dc, HRGN region);
};

}  // namespace ui
