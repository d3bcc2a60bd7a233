#include "ui/controls/render/gdiplus/opaque_fill.h"

#include <algorithm>
#include <vector>

namespace ui {
namespace {

// A region handle freed at the end of the scope.
class ScopedRegion {
 public:
  explicit ScopedRegion(HRGN region) : region_(region) {}
  ~ScopedRegion() {
    if (region_) ::DeleteObject(region_);
  }
  ScopedRegion(const ScopedRegion&) = delete;
  ScopedRegion& operator=(const ScopedRegion&) = delete;
  HRGN get() const { return region_; }

 private:
  HRGN region_;
};

void FillRows(DWORD* bits, int width, const RECT& rect, DWORD argb) {
  for (LONG y = rect.top; y < rect.bottom; ++y) {
    DWORD* row = bits + static_cast<size_t>(y) * width;
    std::fill(row + rect.left, row + rect.right, argb);
  }
}

// The rectangles of a region that is not simple; false when they cannot be read.
bool RegionRects(HRGN region, std::vector<RECT>& rects) {
  const DWORD size = ::GetRegionData(region, 0, nullptr);
  if (size == 0) return false;
  std::vector<BYTE> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (::GetRegionData(region, size, data) != size) return false;
  const auto* first = reinterpret_cast<const RECT*>(data->Buffer);
  rects.assign(first, first + data->rdh.nCount);
  return true;
}

}  // namespace

bool ClipToDrawable(HDC dc, const RECT& rect, RECT& drawable) {
  RECT box;
  if (::GetClipBox(dc, &box) == ERROR) {
    drawable = rect;
    return true;
  }
  return ::IntersectRect(&drawable, &rect, &box) != FALSE;
}

bool OutlineParts(const RECT& rect, int pen_width, RECT parts[4]) {
  if (pen_width < 1 || pen_width % 2 == 0) return false;
  if (rect.right <= rect.left || rect.bottom <= rect.top) return false;
  // A pen of odd width w centred on column x covers the columns x - w/2 to x + w/2.
  const LONG half = pen_width / 2;
  const LONG left = rect.left - half;
  const LONG top = rect.top - half;
  const LONG right = rect.right + half + 1;
  const LONG bottom = rect.bottom + half + 1;
  parts[0] = RECT{left, top, right, rect.top + half + 1};    // top
  parts[1] = RECT{left, rect.bottom - half, right, bottom};  // bottom
  parts[2] = RECT{left, top, rect.left + half + 1, bottom};  // left
  parts[3] = RECT{rect.right - half, top, right, bottom};    // right
  return true;
}

bool StraightLinePart(const RECT& line, int pen_width, RECT& part) {
  if (pen_width < 1 || pen_width % 2 == 0) return false;
  const LONG half = pen_width / 2;
  if (line.top == line.bottom && line.left < line.right) {
    part = RECT{line.left, line.top - half, line.right, line.top + half + 1};
    return true;
  }
  if (line.left == line.right && line.top < line.bottom) {
    part = RECT{line.left - half, line.top, line.left + half + 1, line.bottom};
    return true;
  }
  return false;
}

bool FillOpaque(HDC dc, void* bits, int width, int height, const RECT& rect, DWORD argb) {
  if (!bits || ::GetMapMode(dc) != MM_TEXT || ::GetGraphicsMode(dc) != GM_COMPATIBLE) return false;
  POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
  if (!::LPtoDP(dc, corners, 2)) return false;
  const RECT device{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
  const RECT surface{0, 0, width, height};
  RECT target;
  if (!::IntersectRect(&target, &device, &surface)) return true;

  auto* pixels = static_cast<DWORD*>(bits);
  const ScopedRegion clip(::CreateRectRgn(0, 0, 0, 0));
  if (!clip.get()) return false;
  // Clip regions are kept in device coordinates.
  const int has_clip = ::GetClipRgn(dc, clip.get());
  if (has_clip < 0) return false;
  if (has_clip == 0) {
    FillRows(pixels, width, target, argb);
    return true;
  }
  const ScopedRegion area(::CreateRectRgnIndirect(&target));
  if (!area.get()) return false;
  switch (::CombineRgn(clip.get(), clip.get(), area.get(), RGN_AND)) {
    case NULLREGION:
      return true;
    case SIMPLEREGION: {
      RECT box;
      ::GetRgnBox(clip.get(), &box);
      FillRows(pixels, width, box, argb);
      return true;
    }
    case COMPLEXREGION: {
      std::vector<RECT> parts;
      if (!RegionRects(clip.get(), parts)) return false;
      for (const RECT& part : parts) FillRows(pixels, width, part, argb);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace ui
