// The classic raster rules: lines, patterns, wide pens, rectangle frames and
// focus dots become runs of pixels, gathered for one of the two targets
// (canvas_painter.cpp, canvas_image.cpp) to paint; nothing here paints.
#include "gfx/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

#include "gfx/canvas_raster.h"

namespace dorvane::gfx {

using detail::Raster;
using detail::RasterOf;

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
// Whether the line of that extent passes exactly halfway between two
// pixels somewhere: there the rule here keeps the pixel of the row (or
// column) it comes from, the system's lines take the next one in some
// directions. Elsewhere both paint the nearest pixel.
bool HalfwayStep(QPoint d) {
  const long long dx = std::llabs(d.x()), dy = std::llabs(d.y());
  const long long major = std::max(dx, dy), minor = std::min(dx, dy);
  // Some step i < major has 2 i minor = major (mod 2 major).
  return minor > 0 && major % (2 * std::gcd(minor, major)) == 0;
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
  if (systemLines_ && pen_.style == PenStyle::Solid && !HalfwayStep(b - a)) {
    painterLine(a, b, 1, false);
    if (paintEnd) setPixel(b.x(), b.y(), pen_.colour);
    return;
  }
  // On the device-pixel grid the line steps between the mapped end points.
  const Grid& g = grid();
  const QPoint from(g.DeviceX(a.x()), g.DeviceY(a.y())), to(g.DeviceX(b.x()), g.DeviceY(b.y()));
  const long long ldx = std::llabs(static_cast<long long>(to.x()) - from.x());
  const long long ldy = std::llabs(static_cast<long long>(to.y()) - from.y());
  if (std::max(ldx, ldy) > kLineReach) {
    // Far longer than any device: stepping pixel by pixel would take
    // seconds, and the end pixel lies off every device anyway.
    painterLine(a, b, 1, pen_.style != PenStyle::Solid);
    return;
  }
  stepLine(from, to, paintEnd, g.line);
}

// A slanted line, one pixel at a time along its main direction and
// thickness pixels across it; a pattern's steps are thickness pixels long.
void Canvas::stepLine(QPoint a, QPoint b, bool paintEnd, int thickness) {
  const int dx = std::abs(b.x() - a.x()), dy = std::abs(b.y() - a.y());
  const int sx = b.x() >= a.x() ? 1 : -1, sy = b.y() >= a.y() ? 1 : -1;
  const bool xMajor = dx >= dy;
  const int major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
  const int count = major + (paintEnd ? 1 : 0);
  if (count <= 0) return;

  const bool solid = pen_.style == PenStyle::Solid;
  // The pattern counts logical pixels along the line, as a line across or
  // down does: a dot, thickness pixels long, where each logical step that
  // carries one begins on the device.
  const double scale = grid().on ? grid_.scale : 1.0;
  const auto DotAt = [&](int i) {
    // The last logical step whose mapped start is at or before i.
    const long long step = static_cast<long long>(std::ceil((i + 0.5) / scale)) - 1;
    for (const long long l : {step, step - 1}) {
      if (l < 0 || !PatternOn(pen_.style, int(l % 6))) continue;
      const long long start = static_cast<long long>(std::floor(l * scale + 0.5));
      if (i >= start && i < start + thickness) return true;
    }
    return false;
  };
  int x = a.x(), y = a.y();
  int err = major / 2;
  // A run of solid pixels along the major axis, flushed when the minor
  // coordinate steps.
  int runX = x, runY = y, runLen = 0;
  auto endRun = [&] {
    if (runLen == 0) return;
    if (xMajor)
      addSpan(sx > 0 ? runX : runX - runLen + 1, runY, runLen, thickness);
    else
      addSpan(runX, sy > 0 ? runY : runY - runLen + 1, thickness, runLen);
    runLen = 0;
  };
  for (int i = 0; i < count; ++i) {
    if (solid) {
      if (runLen == 0) {
        runX = x;
        runY = y;
      }
      ++runLen;
    } else if (DotAt(i)) {
      addSpan(x, y, xMajor ? 1 : thickness, xMajor ? thickness : 1);
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
  // Logical pixels lo..hi along the line; on the device-pixel grid the run
  // covers their mapped span and a line's width across.
  const Grid& g = grid();
  auto run = [&](int p, int q, bool dot) {
    const int lo = std::min(p, q), hi = std::max(p, q);
    const int start = horizontal ? g.DeviceX(lo) : g.DeviceY(lo);
    const int len = !g.on ? hi - lo + 1
                    : dot ? g.line
                          : (horizontal ? g.DeviceX(hi + 1LL) : g.DeviceY(hi + 1LL)) - start;
    if (horizontal)
      addSpan(start, g.DeviceY(a.y()), len, g.line);
    else
      addSpan(g.DeviceX(a.x()), start, g.line, len);
  };
  if (pen_.style == PenStyle::Solid) {
    run(at(first), at(end - 1), false);
    return;
  }
  const int period = pen_.style == PenStyle::Dot ? 3 : 2;
  for (long long i = first + (period - first % period) % period; i < end; i += period)
    run(at(i), at(i), true);
}

// Pens wider than one pixel: a band of the pen's width centred on the line,
// start included, end excluded; slanted wide lines are left to QPainter.
void Canvas::wideLine(QPoint a, QPoint b) {
  const int w = pen_.width, off = w / 2;
  // The band [lo, hi) along the line, start included, end excluded.
  auto band = [](long long p, long long q) {
    const long long lo = std::clamp(p < q ? p : q + 1, -kLineReach, kLineReach);
    const long long hi = std::clamp(p < q ? q : p + 1, -kLineReach, kLineReach);
    return std::pair<int, int>(int(lo), int(hi));
  };
  const Grid& g = grid();
  if (a.y() == b.y()) {
    if (a.x() == b.x()) return;
    applyComposition(pen_.mode);
    const auto [lo, hi] = band(a.x(), b.x());
    if (hi > lo) addSpan(g.DeviceX(lo), g.DeviceY(a.y() - off), g.DeviceX(hi) - g.DeviceX(lo), g.Width(w));
  } else if (a.x() == b.x()) {
    applyComposition(pen_.mode);
    const auto [lo, hi] = band(a.y(), b.y());
    if (hi > lo) addSpan(g.DeviceX(a.x() - off), g.DeviceY(lo), g.Width(w), g.DeviceY(hi) - g.DeviceY(lo));
  } else {
    painterLine(a, b, w, false);
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
  const Grid& g = grid();
  addSpan(g.DeviceX(x), g.DeviceY(y), g.line, g.line);
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
  if (grid().on && pen_.style == PenStyle::Solid) {
    // The frame a line's width inside the mapped box, the fill within it.
    const QRect d = deviceRect(r);
    const int dw = grid_.Width(w);
    if (brush_.style == BrushStyle::Solid) {
      flush();
      damageWhole();
      deviceFill(d.adjusted(dw, dw, -dw, -dw), brush_.colour, int(RasterOf(pen_.mode)));
    }
    applyComposition(pen_.mode);
    frameBands(d.left(), d.top(), d.right() + 1, d.bottom() + 1, dw);
    return;
  }
  fillRect({r.left + w, r.top + w, r.right - w, r.bottom - w});
  if (w > 1 || r.width() <= 2 * w || r.height() <= 2 * w) {
    applyComposition(pen_.mode);
    if (grid().on) {
      const QRect d = deviceRect(r);
      frameBands(d.left(), d.top(), d.right() + 1, d.bottom() + 1, grid_.Width(w));
    } else {
      frameBands(r.left, r.top, r.right, r.bottom, w);
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

// Frame bands w pixels wide inside (l, t, r, b), each pixel once.
void Canvas::frameBands(int l, int t, int r, int b, int w) {
  const int width = r - l, height = b - t;
  if (width <= 0 || height <= 0) return;
  const int bw = std::min(w, height), lw = std::min(w, width);
  addSpan(l, t, width, bw);
  if (height > bw) addSpan(l, std::max(t + bw, b - w), width, b - std::max(t + bw, b - w));
  const int innerTop = t + bw, innerBottom = std::max(innerTop, b - w);
  if (innerBottom > innerTop) {
    addSpan(l, innerTop, lw, innerBottom - innerTop);
    if (width > lw)
      addSpan(std::max(l + lw, r - w), innerTop, r - std::max(l + lw, r - w), innerBottom - innerTop);
  }
}

void Canvas::focusRect(const Rect& r) {
  if (r.isEmpty()) return;
  flush();
  pendRaster_ = int(Raster::Invert);
  const Grid& g = grid();
  auto dot = [&](int x, int y) {
    if (((x - r.left) + (y - r.top)) % 2 == 0) addSpan(g.DeviceX(x), g.DeviceY(y), g.line, g.line);
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
