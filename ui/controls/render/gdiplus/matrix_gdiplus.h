#pragma once

#include <memory>

#include "ui/base/render/matrix.h"

namespace ui {

// IMatrix on a GDI+ matrix, identity when made.
class Matrix_Gdiplus : public IMatrix {
 public:
  Matrix_Gdiplus();
  Matrix_Gdiplus(const Matrix_Gdiplus&) = delete;
  Matrix_Gdiplus& operator=(const Matrix_Gdiplus&) = delete;

  Gdiplus::Status Translate(int dx, int dy) override;
  Gdiplus::Status Scale(int sx, int sy) override;
  Gdiplus::Status Rotate(float angle) override;
  Gdiplus::Status RotateAt(float angle, const POINT& center) override;

  Gdiplus::Matrix* GetMatrix() const { return matrix_.get(); }

 private:
  std::unique_ptr<Gdiplus::Matrix> matrix_;
};

}  // namespace ui
