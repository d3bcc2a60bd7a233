#pragma once

#include "ui/base/render/render_factory.h"

namespace ui {

// The framework's one render factory, on GDI and GDI+. Stateless.
class RenderFactory_GdiPlus : public IRenderFactory {
 public:
  std::unique_ptr<IPen> CreatePen(Gdiplus::ARGB color, int width = 1) override;
  std::unique_ptr<IBrush> CreateBrush(HBITMAP bitmap) override;
  std::unique_ptr<IBrush> CreateBrush(Gdiplus::ARGB color) override;
  std::unique_ptr<IMatrix> CreateMatrix() override;
  std::unique_ptr<IPath> CreatePath() override;
  std::unique_ptr<IBitmap> CreateBitmap() override;
  std::unique_ptr<IRenderContext> CreateRenderContext() override;
};

}  // namespace ui
