#include <gtest/gtest.h>

#include <memory>

#include "ui/base/render/bitmap.h"
#include "ui/base/render/brush.h"
#include "ui/base/render/matrix.h"
#include "ui/base/render/path.h"
#include "ui/base/render/pen.h"
#include "ui/base/render/render_context.h"
#include "ui/controls/render/gdiplus/render_factory_gdiplus.h"

namespace ui {
namespace {

class DrawingObjectsTest : public ::testing::Test {
 protected:
  RenderFactory_GdiPlus factory_;
};

TEST_F(DrawingObjectsTest, PenWidthIsWholePixelsAndCloneKeepsTheStyle) {
  std::unique_ptr<IPen> pen = factory_.CreatePen(0xFF102030, 3);
  EXPECT_EQ(3, pen->GetWidth());
  EXPECT_EQ(Gdiplus::Ok, pen->SetWidth(0));
  EXPECT_EQ(0, pen->GetWidth());

  pen->SetWidth(5);
  pen->SetColor(0x80FF0000);
  pen->SetStartCap(Gdiplus::LineCapRound);
  pen->SetDashStyle(Gdiplus::DashStyleDot);
  std::unique_ptr<IPen> clone = pen->Clone();
  EXPECT_EQ(5, clone->GetWidth());
  EXPECT_EQ(0x80FF0000u, clone->GetColor());
  EXPECT_EQ(Gdiplus::LineCapRound, clone->GetStartCap());
  EXPECT_EQ(Gdiplus::DashStyleDot, clone->GetDashStyle());
}

TEST_F(DrawingObjectsTest, BrushesReportTheirColourAndNoBitmap) {
  std::unique_ptr<IBrush> solid = factory_.CreateBrush(Gdiplus::ARGB{0xFF00FF00});
  EXPECT_EQ(0xFF00FF00u, solid->GetColor());
  EXPECT_EQ(nullptr, solid->GetBitmap());
  EXPECT_EQ(0xFF00FF00u, solid->Clone()->GetColor());

  std::unique_ptr<IRenderContext> source = factory_.CreateRenderContext();
  ASSERT_TRUE(source->Resize(4, 4));
  HBITMAP bitmap = source->DetachBitmap();
  std::unique_ptr<IBrush> texture = factory_.CreateBrush(bitmap);
  EXPECT_EQ(0u, texture->GetColor());
  EXPECT_EQ(nullptr, texture->GetBitmap());
  EXPECT_EQ(nullptr, texture->Clone()->GetBitmap());
  ::DeleteObject(bitmap);  // the brush keeps its own copy
}

TEST_F(DrawingObjectsTest, RotateAtTurnsAroundTheCentre) {
  std::unique_ptr<IMatrix> matrix = factory_.CreateMatrix();
  ASSERT_EQ(Gdiplus::Ok, matrix->RotateAt(90, POINT{10, 10}));
  std::unique_ptr<IPath> path = factory_.CreatePath();
  path->AddRect(19, 9, 21, 11);  // a 2 x 2 square around (20, 10)
  ASSERT_EQ(Gdiplus::Ok, path->Transform(matrix.get()));
  const RECT bounds = path->GetBounds(nullptr);
  EXPECT_EQ(9, bounds.left);
  EXPECT_EQ(19, bounds.top);
  EXPECT_EQ(11, bounds.right);
  EXPECT_EQ(21, bounds.bottom);
}

TEST_F(DrawingObjectsTest, MatrixOperationsApplyInPrependOrder) {
  std::unique_ptr<IMatrix> matrix = factory_.CreateMatrix();
  matrix->Translate(100, 0);
  matrix->Scale(2, 2);  // prepended: scales first, then moves
  std::unique_ptr<IPath> path = factory_.CreatePath();
  path->AddRect(1, 1, 2, 2);
  path->Transform(matrix.get());
  const RECT bounds = path->GetBounds(nullptr);
  EXPECT_EQ(102, bounds.left);
  EXPECT_EQ(2, bounds.top);
  EXPECT_EQ(104, bounds.right);
}

TEST_F(DrawingObjectsTest, EmptyPointListsAddNothing) {
  std::unique_ptr<IPath> path = factory_.CreatePath();
  POINT points[] = {{0, 0}, {10, 10}};
  EXPECT_NE(Gdiplus::Ok, path->AddLines(points, 0));
  EXPECT_NE(Gdiplus::Ok, path->AddLines(points, -3));
  EXPECT_NE(Gdiplus::Ok, path->AddPolygon(nullptr, 5));
  EXPECT_NE(Gdiplus::Ok, path->AddCurve(nullptr, 2));
  const RECT bounds = path->GetBounds(nullptr);
  EXPECT_EQ(0, bounds.right - bounds.left);
  EXPECT_EQ(0, bounds.bottom - bounds.top);
}

TEST_F(DrawingObjectsTest, PathHitTestsUseTheFillAndTheOutline) {
  std::unique_ptr<IPath> path = factory_.CreatePath();
  path->AddRect(RECT{10, 10, 50, 30});
  EXPECT_TRUE(path->ContainsPoint(30, 20));
  EXPECT_FALSE(path->ContainsPoint(60, 20));

  std::unique_ptr<IPen> pen = factory_.CreatePen(0xFF000000, 4);
  EXPECT_TRUE(path->OutlineContainsPoint(10, 20, pen.get()));
  EXPECT_FALSE(path->OutlineContainsPoint(30, 20, pen.get()));
  EXPECT_FALSE(path->OutlineContainsPoint(10, 20, nullptr));

  const RECT widened = path->GetBounds(pen.get());
  EXPECT_LT(widened.left, 10);
  EXPECT_GT(widened.right, 50);
}

TEST_F(DrawingObjectsTest, PathCloneIsIndependent) {
  std::unique_ptr<IPath> path = factory_.CreatePath();
  path->AddEllipse(0, 0, 10, 10);
  path->SetFillMode(Gdiplus::FillModeWinding);
  std::unique_ptr<IPath> clone = path->Clone();
  path->Reset();
  EXPECT_EQ(Gdiplus::FillModeWinding, clone->GetFillMode());
  EXPECT_TRUE(clone->ContainsPoint(5, 5));
  EXPECT_FALSE(path->ContainsPoint(5, 5));
}

TEST_F(DrawingObjectsTest, TransformWithoutMatrixIsRefused) {
  std::unique_ptr<IPath> path = factory_.CreatePath();
  EXPECT_EQ(Gdiplus::InvalidParameter, path->Transform(nullptr));
}

TEST_F(DrawingObjectsTest, FactoryBitmapsStartEmpty) {
  std::unique_ptr<IBitmap> bitmap = factory_.CreateBitmap();
  EXPECT_EQ(nullptr, bitmap->GetBits());
  EXPECT_EQ(0, bitmap->GetWidth());
  std::unique_ptr<IRenderContext> context = factory_.CreateRenderContext();
  EXPECT_NE(nullptr, context->GetDC());
  EXPECT_EQ(nullptr, context->GetBits());
}

}  // namespace
}  // namespace ui
