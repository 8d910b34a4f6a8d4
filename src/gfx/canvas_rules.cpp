// The classic raster rules: lines, patterns, wide pens, rectangle frames and
// focus dots become runs of pixels, gathered for one of the two targets
// (canvas_painter.cpp, canvas_image.cpp) to paint.
#include "gfx/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QPainter>

#include "gfx/canvas_raster.h"

namespace dorvane::gfx {

using detail::Raster;
using detail::RasterOf;
using detail::SetComposition;

namespace {
// Pens with a pattern say per step whether the pixel is painted.
bool PatternOn(PenStyle style, int step) {
  switch (style) {
    case PenStyle::Solid:
      return true;
    case PenStyle::Dot:
      return step % 3 == 0;
    case PenStyle::AlternateDot:
      return step % 2 == 0;
    case PenStyle::Clear:
      return false;
  }
  return true;
}
}  // namespace

void Canvas::addSpan(int x, int y, int w, int h) {
  if (w == 1 && h == 1)
    pendingPixels_.emplace_back(x, y);
  else
    pending_.emplace_back(x, y, w, h);
}

void Canvas::applyComposition(PenMode mode) {
  const Raster r = RasterOf(mode);
  if ((!pending_.empty() || !pendingPixels_.empty()) &&
      (pendColour_ != pen_.colour || Raster(pendRaster_) != r))
    flush();
  pendColour_ = pen_.colour;
  pendRaster_ = int(r);
}

void Canvas::strokeLine(QPoint a, QPoint b, bool paintEnd) {
  if (pen_.style == PenStyle::Clear) return;
  if (pen_.width > 1 && pen_.style == PenStyle::Solid) {
    wideLine(a, b);
    return;
  }
  if (vector_ && a != b) {
    vectorLine(a, b, paintEnd);
    return;
  }
  applyComposition(pen_.mode);

  if (a.x() == b.x() || a.y() == b.y()) {
    axisLine(a, b, paintEnd);
    return;
  }
  const long long ldx = std::llabs(static_cast<long long>(b.x()) - a.x());
  const long long ldy = std::llabs(static_cast<long long>(b.y()) - a.y());
  if (std::max(ldx, ldy) > kLineReach) {
    // Far longer than any device: stepping pixel by pixel would take
    // seconds, and the end pixel lies off every device anyway.
    flush();
    SetComposition(painter_, RasterOf(pen_.mode));
    damageWhole();
    QPen qp(ToQColor(pen_.colour), 1, pen_.style == PenStyle::Solid ? Qt::SolidLine : Qt::DotLine,
            Qt::FlatCap);
    qp.setCosmetic(true);
    painter_.setPen(qp);
    painter_.drawLine(a, b);
    SetComposition(painter_, Raster::Copy);
    return;
  }

  const int dx = int(ldx), dy = int(ldy);
  const int sx = b.x() >= a.x() ? 1 : -1, sy = b.y() >= a.y() ? 1 : -1;
  const bool xMajor = dx >= dy;
  const int major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
  const int count = major + (paintEnd ? 1 : 0);
  if (count <= 0) return;

  const bool solid = pen_.style == PenStyle::Solid;
  int x = a.x(), y = a.y();
  int err = major / 2;
  // A run of solid pixels along the major axis, flushed when the minor
  // coordinate steps.
  int runX = x, runY = y, runLen = 0;
  auto endRun = [&] {
    if (runLen == 0) return;
    if (xMajor)
      addSpan(sx > 0 ? runX : runX - runLen + 1, runY, runLen, 1);
    else
      addSpan(runX, sy > 0 ? runY : runY - runLen + 1, 1, runLen);
    runLen = 0;
  };
  for (int i = 0; i < count; ++i) {
    if (solid) {
      if (runLen == 0) {
        runX = x;
        runY = y;
      }
      ++runLen;
    } else if (PatternOn(pen_.style, i)) {
      addSpan(x, y, 1, 1);
    }
    err -= minor;
    const bool stepMinor = err < 0;
    if (stepMinor) err += major;
    if (xMajor) {
      x += sx;
      if (stepMinor) {
        endRun();
        y += sy;
      }
    } else {
      y += sy;
      if (stepMinor) {
        endRun();
        x += sx;
      }
    }
  }
  endRun();
}

// Horizontal and vertical lines: one run for a solid pen, the pattern's
// pixels otherwise. Only the part within kLineReach of the origin is
// visited, with the pattern counted from the real start.
void Canvas::axisLine(QPoint a, QPoint b, bool paintEnd) {
  const bool horizontal = a.y() == b.y();
  const long long from = horizontal ? a.x() : a.y(), to = horizontal ? b.x() : b.y();
  const int step = to >= from ? 1 : -1;
  const long long count = std::llabs(to - from) + (paintEnd ? 1 : 0);
  long long first = 0, end = count;  // steps first .. end - 1
  if (step > 0) {
    first = std::max(first, -kLineReach - from);
    end = std::min(end, kLineReach - from + 1);
  } else {
    first = std::max(first, from - kLineReach);
    end = std::min(end, from + kLineReach + 1);
  }
  if (first >= end) return;
  auto at = [&](long long i) { return int(from + i * step); };
  auto run = [&](int p, int q) {
    const int lo = std::min(p, q), len = std::abs(q - p) + 1;
    if (horizontal)
      addSpan(lo, a.y(), len, 1);
    else
      addSpan(a.x(), lo, 1, len);
  };
  if (pen_.style == PenStyle::Solid) {
    run(at(first), at(end - 1));
    return;
  }
  const int period = pen_.style == PenStyle::Dot ? 3 : 2;
  for (long long i = first + (period - first % period) % period; i < end; i += period) run(at(i), at(i));
}

// A one-pixel line on a vector device: a geometric line, one pixel wide,
// over the pixels the raster rule paints (from the outer edge of A's pixel
// along the main direction to the outer edge of the last painted pixel), cut
// to the clip rectangle.
// start included, end excluded; slanted wide lines are left to QPainter.
void Canvas::wideLine(QPoint a, QPoint b) {
  const int w = pen_.width, off = w / 2;
  // The band [lo, hi) along the line, start included, end excluded.
  auto band = [](long long p, long long q) {
    const long long lo = std::clamp(p < q ? p : q + 1, -kLineReach, kLineReach);
    const long long hi = std::clamp(p < q ? q : p + 1, -kLineReach, kLineReach);
    return std::pair<int, int>(int(lo), int(hi));
  };
  if (a.y() == b.y()) {
    if (a.x() == b.x()) return;
    applyComposition(pen_.mode);
    const auto [lo, hi] = band(a.x(), b.x());
    if (hi > lo) addSpan(lo, a.y() - off, hi - lo, w);
  } else if (a.x() == b.x()) {
    applyComposition(pen_.mode);
    const auto [lo, hi] = band(a.y(), b.y());
    if (hi > lo) addSpan(a.x() - off, lo, w, hi - lo);
  } else {
    flush();
    damageWhole();
    SetComposition(painter_, RasterOf(pen_.mode));
    QPen qp(ToQColor(pen_.colour), w, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    painter_.setPen(qp);
    painter_.drawLine(a, b);
    SetComposition(painter_, Raster::Copy);
  }
}

void Canvas::lineTo(int x, int y) {
  strokeLine(pos_, {x, y}, false);
  pos_ = {x, y};
}

void Canvas::polyline(std::span<const QPoint> points) {
  if (points.empty()) return;
  moveTo(points[0].x(), points[0].y());
  for (size_t i = 1; i < points.size(); ++i) lineTo(points[i].x(), points[i].y());
}

void Canvas::setPixel(int x, int y, Colour colour) {
  const Pen saved = pen_;
  pen_.colour = colour;
  applyComposition(PenMode::Copy);
  addSpan(x, y, 1, 1);
  pen_ = saved;
}

void Canvas::rectangle(const Rect& in) {
  Rect r{std::min(in.left, in.right), std::min(in.top, in.bottom), std::max(in.left, in.right),
         std::max(in.top, in.bottom)};
  if (r.isEmpty()) return;
  const bool outlined = pen_.style != PenStyle::Clear;
  if (!outlined) {
    fillRect(r);
    return;
  }
  const int w = std::max(1, pen_.width);
  fillRect({r.left + w, r.top + w, r.right - w, r.bottom - w});
  if (w > 1 || r.width() <= 2 * w || r.height() <= 2 * w) {
    // Frame bands drawn inside the rectangle, each pixel once.
    applyComposition(pen_.mode);
    const int bw = std::min(w, r.height()), lw = std::min(w, r.width());
    addSpan(r.left, r.top, r.width(), bw);
    if (r.height() > bw)
      addSpan(r.left, std::max(r.top + bw, r.bottom - w), r.width(),
              r.bottom - std::max(r.top + bw, r.bottom - w));
    const int innerTop = r.top + bw, innerBottom = std::max(innerTop, r.bottom - w);
    if (innerBottom > innerTop) {
      addSpan(r.left, innerTop, lw, innerBottom - innerTop);
      if (r.width() > lw)
        addSpan(std::max(r.left + lw, r.right - w), innerTop, r.right - std::max(r.left + lw, r.right - w),
                innerBottom - innerTop);
    }
    return;
  }
  // Clockwise, each side without its end: every corner painted once.
  moveTo(r.left, r.top);
  lineTo(r.right - 1, r.top);
  lineTo(r.right - 1, r.bottom - 1);
  lineTo(r.left, r.bottom - 1);
  lineTo(r.left, r.top);
}

void Canvas::focusRect(const Rect& r) {
  if (r.isEmpty()) return;
  flush();
  pendRaster_ = int(Raster::Invert);
  auto dot = [&](int x, int y) {
    if (((x - r.left) + (y - r.top)) % 2 == 0) addSpan(x, y, 1, 1);
  };
  for (int x = r.left; x < r.right; ++x) dot(x, r.top);
  if (r.height() > 1)
    for (int x = r.left; x < r.right; ++x) dot(x, r.bottom - 1);
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    dot(r.left, y);
    if (r.width() > 1) dot(r.right - 1, y);
  }
  flush();
  pendRaster_ = int(Raster::Copy);
}

}  // namespace dorvane::gfx
