#include "ui/windowing/window_impl/window_hit_test.h"

namespace ui {

namespace {

// Chooses among the three codes of one border row by the column the point is in.
LRESULT ByColumn(const RECT& body, const RECT& size_box, LONG x, LRESULT left, LRESULT middle,
                 LRESULT right) {
  if (x < body.left + size_box.left) return left;
  if (x >= body.right - size_box.right) return right;
  return middle;
}

LRESULT SizingCode(const RECT& body, const RECT& size_box, POINT point) {
  if (point.y < body.top + size_box.top) {
    return ByColumn(body, size_box, point.x, HTTOPLEFT, HTTOP, HTTOPRIGHT);
  }
  if (point.y >= body.bottom - size_box.bottom) {
    return ByColumn(body, size_box, point.x, HTBOTTOMLEFT, HTBOTTOM, HTBOTTOMRIGHT);
  }
  return ByColumn(body, size_box, point.x, HTLEFT, HTNOWHERE, HTRIGHT);
}

bool InCaptionBand(const RECT& body, const RECT& caption, POINT point) {
  return point.x >= body.left + caption.left && point.x < body.right - caption.right &&
         point.y >= body.top + caption.top && point.y < body.top + caption.bottom;
}

}  // namespace

LRESULT HitTestWindowFrame(const WindowFrame& frame, POINT point) {
  const RECT body = {frame.client.left + frame.shadow.left, frame.client.top + frame.shadow.top,
                     frame.client.right - frame.shadow.right,
                     frame.client.bottom - frame.shadow.bottom};
  if (!PtInRect(&body, point)) return HTCLIENT;
  if (!frame.maximized) {
    const LRESULT sizing = SizingCode(body, frame.size_box, point);
    if (sizing != HTNOWHERE) return sizing;
  }
  return InCaptionBand(body, frame.caption, point) ? HTCAPTION : HTCLIENT;
}

}  // namespace ui
