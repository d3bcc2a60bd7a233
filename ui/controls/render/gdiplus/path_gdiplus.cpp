#include "ui/controls/render/gdiplus/path_gdiplus.h"

#include <vector>

#include "ui/controls/render/gdiplus/matrix_gdiplus.h"
#include "ui/controls/render/gdiplus/pen_gdiplus.h"

namespace ui {
namespace {

// A missing list or a count that is not positive yields an empty list, which the drawing
// library refuses with its own status instead of reading past the caller's array.
std::vector<Gdiplus::Point> ToPoints(const POINT* points, int count) {
  std::vector<Gdiplus::Point> result;
  if (!points || count <= 0) return result;
  result.reserve(count);
  for (int i = 0; i < count; ++i) result.emplace_back(points[i].x, points[i].y);
  return result;
}

Gdiplus::Pen* NativePen(const IPen* pen) {
  auto* gdiplus_pen = dynamic_cast<const Pen_GdiPlus*>(pen);
  return gdiplus_pen ? gdiplus_pen->GetPen() : nullptr;
}

}  // namespace

Path_Gdiplus::Path_Gdiplus()
    : path_(std::make_unique<Gdiplus::GraphicsPath>(Gdiplus::FillModeAlternate)) {}

Path_Gdiplus::Path_Gdiplus(const Path_Gdiplus& other) : path_(other.path_->Clone()) {
  if (!path_) path_ = std::make_unique<Gdiplus::GraphicsPath>(other.path_->GetFillMode());
}

std::unique_ptr<IPath> Path_Gdiplus::Clone() const { return std::make_unique<Path_Gdiplus>(*this); }

Gdiplus::Status Path_Gdiplus::Reset() { return path_->Reset(); }

Gdiplus::Status Path_Gdiplus::SetFillMode(Gdiplus::FillMode mode) {
  return path_->SetFillMode(mode);
}

Gdiplus::FillMode Path_Gdiplus::GetFillMode() const { return path_->GetFillMode(); }

Gdiplus::Status Path_Gdiplus::StartFigure() { return path_->StartFigure(); }

Gdiplus::Status Path_Gdiplus::CloseFigure() { return path_->CloseFigure(); }

Gdiplus::Status Path_Gdiplus::AddLine(int x1, int y1, int x2, int y2) {
  return path_->AddLine(x1, y1, x2, y2);
}

Gdiplus::Status Path_Gdiplus::AddLines(const POINT* points, int count) {
  std::vector<Gdiplus::Point> list = ToPoints(points, count);
  return path_->AddLines(list.data(), static_cast<INT>(list.size()));
}

Gdiplus::Status Path_Gdiplus::AddBezier(int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                                        int y4) {
  return path_->AddBezier(x1, y1, x2, y2, x3, y3, x4, y4);
}

Gdiplus::Status Path_Gdiplus::AddCurve(const POINT* points, int count) {
  std::vector<Gdiplus::Point> list = ToPoints(points, count);
  return path_->AddCurve(list.data(), static_cast<INT>(list.size()));
}

Gdiplus::Status Path_Gdiplus::AddRect(const RECT& rect) {
  return AddRect(rect.left, rect.top, rect.right, rect.bottom);
}

Gdiplus::Status Path_Gdiplus::AddRect(int left, int top, int right, int bottom) {
  return path_->AddRectangle(Gdiplus::Rect(left, top, right - left, bottom - top));
}

Gdiplus::Status Path_Gdiplus::AddEllipse(const RECT& rect) {
  return AddEllipse(rect.left, rect.top, rect.right, rect.bottom);
}

Gdiplus::Status Path_Gdiplus::AddEllipse(int left, int top, int right, int bottom) {
  return path_->AddEllipse(left, top, right - left, bottom - top);
}

Gdiplus::Status Path_Gdiplus::AddArc(int x, int y, int width, int height, float start_angle,
                                     float sweep_angle) {
  return path_->AddArc(x, y, width, height, start_angle, sweep_angle);
}

Gdiplus::Status Path_Gdiplus::AddPie(int x, int y, int width, int height, float start_angle,
                                     float sweep_angle) {
  return path_->AddPie(x, y, width, height, start_angle, sweep_angle);
}

Gdiplus::Status Path_Gdiplus::AddPolygon(const POINT* points, int count) {
  std::vector<Gdiplus::Point> list = ToPoints(points, count);
  return path_->AddPolygon(list.data(), static_cast<INT>(list.size()));
}

RECT Path_Gdiplus::GetBounds(const IPen* pen) const {
  Gdiplus::Rect bounds;
  path_->GetBounds(&bounds, nullptr, NativePen(pen));
  return RECT{bounds.X, bounds.Y, bounds.X + bounds.Width, bounds.Y + bounds.Height};
}

bool Path_Gdiplus::ContainsPoint(int x, int y) const {
  return path_->IsVisible(x, y, nullptr) != FALSE;
}

bool Path_Gdiplus::OutlineContainsPoint(int x, int y, const IPen* pen) const {
  Gdiplus::Pen* native = NativePen(pen);
  if (!native) return false;
  return path_->IsOutlineVisible(x, y, native, nullptr) != FALSE;
}

Gdiplus::Status Path_Gdiplus::Transform(const IMatrix* matrix) {
  auto* gdiplus_matrix = dynamic_cast<const Matrix_Gdiplus*>(matrix);
  if (!gdiplus_matrix) return Gdiplus::InvalidParameter;
  return path_->Transform(gdiplus_matrix->GetMatrix());
}

}  // namespace ui
