#include "ui/controls/render/gdiplus/nine_part_layout.h"

namespace ui {
namespace {

// A stretch of one axis: destination and source ranges.
struct Span {
  LONG dest_near;
  LONG dest_far;
  LONG source_near;
  LONG source_far;
};

// The pieces of the middle along one axis: one stretched span, or tiles of the source's extent.
// A source extent that is not positive cannot be tiled: the axis then has no pieces at all
// (instead of dividing by zero or mirroring the image).
std::vector<Span> SplitAxis(const Span& whole, bool tiled) {
  if (!tiled) return {whole};
  std::vector<Span> tiles;
  const LONG tile = whole.source_far - whole.source_near;
  if (tile <= 0) return tiles;
  for (LONG begin = whole.dest_near; begin < whole.dest_far; begin += tile) {
    const LONG end = begin + tile < whole.dest_far ? begin + tile : whole.dest_far;
    tiles.push_back({begin, end, whole.source_near, whole.source_near + (end - begin)});
  }
  return tiles;
}

bool Meets(const RECT& a, const RECT& b) {
  RECT common;
  return ::IntersectRect(&common, &a, &b) != FALSE;
}

// Column or row i (0 near border, 1 middle, 2 far border) of a range with its two borders.
Span Band(int i, LONG dest_near, LONG dest_far, LONG dest_border_near, LONG dest_border_far,
          LONG source_near, LONG source_far, LONG border_near, LONG border_far) {
  switch (i) {
    case 0:
      return {dest_near, dest_near + dest_border_near, source_near, source_near + border_near};
    case 1:
      return {dest_near + dest_border_near, dest_far - dest_border_far, source_near + border_near,
              source_far - border_far};
    default:
      return {dest_far - dest_border_far, dest_far, source_far - border_far, source_far};
  }
}

ImagePart Combine(const Span& x, const Span& y) {
  return {{x.dest_near, y.dest_near, x.dest_far, y.dest_far},
          {x.source_near, y.source_near, x.source_far, y.source_far}};
}

}  // namespace

std::vector<ImagePart> LayOutNinePartImage(const RECT& paint, const RECT& dest, const RECT& source,
                                           const RECT& corners, const RECT& dest_corners,
                                           bool xtiled, bool ytiled) {
  auto column = [&](int i) {
    return Band(i, dest.left, dest.right, dest_corners.left, dest_corners.right, source.left,
                source.right, corners.left, corners.right);
  };
  auto row = [&](int i) {
    return Band(i, dest.top, dest.bottom, dest_corners.top, dest_corners.bottom, source.top,
                source.bottom, corners.top, corners.bottom);
  };

  std::vector<ImagePart> parts;
  const ImagePart middle = Combine(column(1), row(1));
  if (Meets(middle.dest, paint)) {
    for (const Span& y : SplitAxis(row(1), ytiled)) {
      for (const Span& x : SplitAxis(column(1), xtiled)) parts.push_back(Combine(x, y));
    }
  }

  const bool column_present[3] = {corners.left > 0, true, corners.right > 0};
  const bool row_present[3] = {corners.top > 0, true, corners.bottom > 0};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      if (r == 1 && c == 1) continue;
      if (!column_present[c] || !row_present[r]) continue;
      ImagePart part = Combine(column(c), row(r));
      if (Meets(part.dest, paint)) parts.push_back(part);
    }
  }
  return parts;
}

}  // namespace ui
