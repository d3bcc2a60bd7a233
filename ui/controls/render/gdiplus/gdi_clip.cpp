#include "ui/controls/render/gdiplus/gdi_clip.h"

namespace ui {
namespace {

// Regions live in device coordinates while callers clip in logical ones.
RECT ToDevice(HDC dc, const RECT& rect) {
  POINT origin{};
  ::GetWindowOrgEx(dc, &origin);
  RECT device = rect;
  ::OffsetRect(&device, -origin.x, -origin.y);
  return device;
}

}  // namespace

void GdiClip::CreateClip(HDC dc, const RECT& rect) {
  if (!dc) return;
  RECT device = ToDevice(dc, rect);
  Intersect(dc, ::CreateRectRgnIndirect(&device));
}

void GdiClip::CreateRoundClip(HDC dc, const RECT& rect, int width, int height) {
  if (!dc) return;
  RECT device = ToDevice(dc, rect);
  // Round regions exclude their right and bottom edges one pixel more than rectangles do.
  Intersect(dc, ::CreateRoundRectRgn(device.left, device.top, device.right + 1, device.bottom + 1,
                                     width, height));
}

void GdiClip::ClearClip(HDC dc) {
  if (!dc) return;
  ::RestoreDC(dc, -1);
}

void GdiClip::Intersect(HDC dc, HRGN region) {
  // The state is saved even when the region could not be made, so that the caller's ClearClip
  // always has a matching level to restore.
  ::SaveDC(dc);
  if (!region) return;
  ::ExtSelectClipRgn(dc, region, RGN_AND);
  ::DeleteObject(region);
}

}  // namespace ui
