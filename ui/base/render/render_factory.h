#pragma once

#include <memory>

#include "ui/base/render/gdiplus_headers.h"

namespace ui {

class IBitmap;
class IBrush;
class IMatrix;
class IPath;
class IPen;
class IRenderContext;

// Makes the framework's drawing objects. Every result is a new object owned by the caller.
// The factory holds no state; it is used on the UI thread only and needs GDI+ to be started
// (GdiplusStartup) before any pen, brush, path or matrix is made.
// The interfaces stand in the base, below the controls and the images that draw with them; the
// GDI+ back end that implements them is ui/controls/render/gdiplus.
class IRenderFactory {
 public:
  // Owned factories are deleted through this interface.
  virtual ~IRenderFactory() = default;

  virtual std::unique_ptr<IPen> CreatePen(Gdiplus::ARGB color, int width = 1) = 0;
  // A texture brush tiling a copy of bitmap; the HBITMAP stays the caller's.
  virtual std::unique_ptr<IBrush> CreateBrush(HBITMAP bitmap) = 0;
  virtual std::unique_ptr<IBrush> CreateBrush(Gdiplus::ARGB color) = 0;
  // The identity matrix.
  virtual std::unique_ptr<IMatrix> CreateMatrix() = 0;
  virtual std::unique_ptr<IPath> CreatePath() = 0;
  // An empty bitmap; Init gives it pixels.
  virtual std::unique_ptr<IBitmap> CreateBitmap() = 0;
  // A context with its memory DC but no pixels yet: Resize it before drawing.
  virtual std::unique_ptr<IRenderContext> CreateRenderContext() = 0;
};

}  // namespace ui
