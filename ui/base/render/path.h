#pragma once

#include <memory>

#include "ui/base/callback/weak_callback.h"
#include "ui/base/render/gdiplus_headers.h"

namespace ui {

class IMatrix;
class IPen;

// A geometric path of lines, curves and shapes in integer coordinates. Rectangles are
// (left, top, right, bottom) with right and bottom exclusive. Adders return the GDI+ status and
// never throw; a point list whose count is not positive adds nothing. UI thread only.
class IPath : public kbase::SupportWeakCallback {
 public:
  ~IPath() override = default;

  virtual std::unique_ptr<IPath> Clone() const = 0;
  virtual Gdiplus::Status Reset() = 0;
  virtual Gdiplus::Status SetFillMode(Gdiplus::FillMode mode) = 0;
  virtual Gdiplus::FillMode GetFillMode() const = 0;
  virtual Gdiplus::Status StartFigure() = 0;
  virtual Gdiplus::Status CloseFigure() = 0;
  virtual Gdiplus::Status AddLine(int x1, int y1, int x2, int y2) = 0;
  virtual Gdiplus::Status AddLines(const POINT* points, int count) = 0;
  virtual Gdiplus::Status AddBezier(int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                                    int y4) = 0;
  virtual Gdiplus::Status AddCurve(const POINT* points, int count) = 0;
  virtual Gdiplus::Status AddRect(const RECT& rect) = 0;
  virtual Gdiplus::Status AddRect(int left, int top, int right, int bottom) = 0;
  virtual Gdiplus::Status AddEllipse(const RECT& rect) = 0;
  virtual Gdiplus::Status AddEllipse(int left, int top, int right, int bottom) = 0;
  // Angles in degrees.
  virtual Gdiplus::Status AddArc(int x, int y, int width, int height, float start_angle,
                                 float sweep_angle) = 0;
  virtual Gdiplus::Status AddPie(int x, int y, int width, int height, float start_angle,
                                 float sweep_angle) = 0;
  virtual Gdiplus::Status AddPolygon(const POINT* points, int count) = 0;
  // The bounds, widened by pen when it is not null.
  virtual RECT GetBounds(const IPen* pen) const = 0;
  // Whether the point lies inside the filled path.
  virtual bool ContainsPoint(int x, int y) const = 0;
  // Whether the point lies on the outline drawn with pen.
  virtual bool OutlineContainsPoint(int x, int y, const IPen* pen) const = 0;
  // Moves every point through matrix, which must not be null.
  virtual Gdiplus::Status Transform(const IMatrix* matrix) = 0;
};

}  // namespace ui
