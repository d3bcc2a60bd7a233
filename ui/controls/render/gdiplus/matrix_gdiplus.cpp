#include "ui/controls/render/gdiplus/matrix_gdiplus.h"

namespace ui {

Matrix_Gdiplus::Matrix_Gdiplus() : matrix_(std::make_unique<Gdiplus::Matrix>()) {}

Gdiplus::Status Matrix_Gdiplus::Translate(int dx, int dy) {
  return matrix_->Translate(static_cast<Gdiplus::REAL>(dx), static_cast<Gdiplus::REAL>(dy),
                            Gdiplus::MatrixOrderPrepend);
}

Gdiplus::Status Matrix_Gdiplus::Scale(int sx, int sy) {
  return matrix_->Scale(static_cast<Gdiplus::REAL>(sx), static_cast<Gdiplus::REAL>(sy),
                        Gdiplus::MatrixOrderPrepend);
}

Gdiplus::Status Matrix_Gdiplus::Rotate(float angle) {
  return matrix_->Rotate(angle, Gdiplus::MatrixOrderPrepend);
}

Gdiplus::Status Matrix_Gdiplus::RotateAt(float angle, const POINT& center) {
  // In prepend order the last step acts first on a point: move the centre to the origin,
  // rotate, move back.
  Gdiplus::Status status = Translate(center.x, center.y);
  if (status != Gdiplus::Ok) return status;
  status = Rotate(angle);
  if (status != Gdiplus::Ok) return status;
  return Translate(-center.x, -center.y);
}

}  // namespace ui
