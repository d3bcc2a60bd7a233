#pragma once

#include <memory>

#include "ui/base/render/path.h"

namespace ui {

// IPath on a GDI+ graphics path, alternate fill mode when made.
class Path_Gdiplus : public IPath {
 public:
  Path_Gdiplus();
  Path_Gdiplus(const Path_Gdiplus& other);
  Path_Gdiplus& operator=(const Path_Gdiplus&) = delete;

  std::unique_ptr<IPath> Clone() const override;
  Gdiplus::Status Reset() override;
  Gdiplus::Status SetFillMode(Gdiplus::FillMode mode) override;
  Gdiplus::FillMode GetFillMode() const override;
  Gdiplus::Status StartFigure() override;
  Gdiplus::Status CloseFigure() override;
  Gdiplus::Status AddLine(int x1, int y1, int x2, int y2) override;
  Gdiplus::Status AddLines(const POINT* points, int count) override;
  Gdiplus::Status AddBezier(int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                            int y4) override;
  Gdiplus::Status AddCurve(const POINT* points, int count) override;
  Gdiplus::Status AddRect(const RECT& rect) override;
  Gdiplus::Status AddRect(int left, int top, int right, int bottom) override;
  Gdiplus::Status AddEllipse(const RECT& rect) override;
  Gdiplus::Status AddEllipse(int left, int top, int right, int bottom) override;
  Gdiplus::Status AddArc(int x, int y, int width, int height, float start_angle,
                         float sweep_angle) override;
  Gdiplus::Status AddPie(int x, int y, int width, int height, float start_angle,
                         float sweep_angle) override;
  Gdiplus::Status AddPolygon(const POINT* points, int count) override;
  RECT GetBounds(const IPen* pen) const override;
  bool ContainsPoint(int x, int y) const override;
  bool OutlineContainsPoint(int x, int y, const IPen* pen) const override;
  Gdiplus::Status Transform(const IMatrix* matrix) override;

  Gdiplus::GraphicsPath* GetPath() const { return path_.get(); }

 private:
  std::unique_ptr<Gdiplus::GraphicsPath> path_;
};

}  // namespace ui
