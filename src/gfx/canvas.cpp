#include "gfx/canvas.h"
#include "gfx/fonts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <QStaticText>

namespace dorvane::gfx {

namespace {
// What a batch of pending pixels does to the destination.
enum class Raster { Copy, NotXor, Invert };

Raster RasterOf(PenMode mode) {
  return mode == PenMode::NotXor ? Raster::NotXor : Raster::Copy;
}

void SetComposition(QPainter& p, Raster r) {
  switch (r) {
    case Raster::Copy:
      p.setCompositionMode(QPainter::CompositionMode_SourceOver);
      break;
    case Raster::NotXor:
      p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
      break;
    case Raster::Invert:
      p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      break;
  }
}

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

struct Canvas::State {
  Pen pen;
  Brush brush;
  QFont font;
  Colour fontColour;
  BackgroundMode bkMode;
  Colour textBackground;
  QPoint pos;
};

Canvas::Canvas(QPainter& painter)
    : painter_(painter),
      vector_(painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::SVG),
      font_(painter.font()) {
  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

Canvas::~Canvas() {
  flush();
  painter_.restore();
}

void Canvas::setPen(const Pen& pen) {
  pen_ = pen;
}

void Canvas::setBrush(const Brush& brush) {
  brush_ = brush;
}

void Canvas::setFont(const QFont& font) {
  if (font == font_) return;
  font_ = font;
  metrics_.reset();
  lineHeight_ = -1;
}

const QFontMetrics& Canvas::metrics() const {
  if (!metrics_) metrics_.emplace(font_, painter_.device());
  return *metrics_;
}

void Canvas::save() {
  flush();
  saved_.push_back({pen_, brush_, font_, fontColour_, bkMode_, textBackground_, pos_});
  painter_.save();
}

void Canvas::restore() {
  if (saved_.empty()) return;
  flush();
  painter_.restore();
  const State& s = saved_.back();
  pen_ = s.pen;
  brush_ = s.brush;
  setFont(s.font);
  fontColour_ = s.fontColour;
  bkMode_ = s.bkMode;
  textBackground_ = s.textBackground;
  pos_ = s.pos;
  saved_.pop_back();
}

void Canvas::setClipRect(const Rect& r) {
  flush();
  painter_.setClipRect(r.toQRect(), Qt::ReplaceClip);
}

void Canvas::intersectClipRect(const Rect& r) {
  flush();
  if (painter_.hasClipping())
    painter_.setClipRect(r.toQRect(), Qt::IntersectClip);
  else
    painter_.setClipRect(r.toQRect(), Qt::ReplaceClip);
}

void Canvas::clearClip() {
  flush();
  painter_.setClipping(false);
}

// ---------------------------------------------------------------------------
// Pixel batches: lines become runs of pixels painted by one drawRects call.

bool Canvas::clipFor(QRectF& clip) const {
  if (!painter_.hasClipping()) return false;
  clip = painter_.clipBoundingRect();
  return true;
}

// A 32-bit image that the raster engine paints into, reached without
// QPainter. Every logical pixel is a scale x scale block at
// (x * scale + dx, y * scale + dy); clip is in device pixels.
struct Canvas::DirectTarget {
  quint32* bits = nullptr;
  qsizetype stride = 0;  // in pixels
  int scale = 1, dx = 0, dy = 0;
  QRect clip;
};

// Qt paints single pixels and thin runs one span at a time through its
// generic fill routine, whose speed depends on the processor; copied pixels
// of an opaque colour are cheaper and steadier written directly. Anything
// unusual (another device, a rotation, a fractional offset, a clip that is
// not one rectangle, a translucent painter) keeps the QPainter path.
bool Canvas::directTarget(DirectTarget& t) const {
  QPaintEngine* engine = painter_.paintEngine();
  QPaintDevice* device = painter_.device();
  if (vector_ || !engine || engine->type() != QPaintEngine::Raster || device->devType() != QInternal::Image ||
      engine->paintDevice() != device || !engine->systemClip().isEmpty() || painter_.opacity() != 1.0)
    return false;
  auto* image = static_cast<QImage*>(device);
  const QImage::Format format = image->format();
  if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
       format != QImage::Format_ARGB32_Premultiplied) ||
      !image->isDetached())
    return false;
  const QTransform m = painter_.deviceTransform();
  if (m.type() > QTransform::TxScale || m.m11() != m.m22() || m.m11() < 1 || m.m11() > 64 ||
      m.m11() != std::floor(m.m11()) || m.dx() != std::floor(m.dx()) || m.dy() != std::floor(m.dy()) ||
      std::abs(m.dx()) > 1e6 || std::abs(m.dy()) > 1e6)
    return false;
  t.scale = int(m.m11());
  t.dx = int(m.dx());
  t.dy = int(m.dy());
  t.clip = image->rect();
  if (painter_.hasClipping()) {
    const QRegion clip = painter_.clipRegion();  // logical coordinates
    if (clip.rectCount() > 1) return false;
    const QRect r = clip.boundingRect();
    t.clip &=
        QRect(r.x() * t.scale + t.dx, r.y() * t.scale + t.dy, r.width() * t.scale, r.height() * t.scale);
  }
  t.bits = reinterpret_cast<quint32*>(image->bits());
  t.stride = image->bytesPerLine() / qsizetype(sizeof(quint32));
  return t.bits != nullptr;
}

void Canvas::flushDirect(const DirectTarget& t, quint32 pixel) {
  const QRect& c = t.clip;
  // Logical pixels left..right, top..bottom (inclusive), cut to the clip.
  auto fill = [&](long long left, long long top, long long right, long long bottom) {
    const long long l = std::max<long long>(left * t.scale + t.dx, c.left());
    const long long r = std::min<long long>((right + 1) * t.scale + t.dx, c.right() + 1);
    const long long b = std::min<long long>((bottom + 1) * t.scale + t.dy, c.bottom() + 1);
    const long long y0 = std::max<long long>(top * t.scale + t.dy, c.top());
    if (l >= r || y0 >= b) return;
    if (damage_) addDamage(QRect(QPoint(int(l), int(y0)), QPoint(int(r - 1), int(b - 1))));
    for (long long y = y0; y < b; ++y) std::fill(t.bits + y * t.stride + l, t.bits + y * t.stride + r, pixel);
  };
  if (t.scale == 1 && t.dx == 0 && t.dy == 0) {
    const int l = c.left(), r = c.right(), top = c.top(), b = c.bottom();
    for (const QPoint& p : pendingPixels_)
      if (p.x() >= l && p.x() <= r && p.y() >= top && p.y() <= b) {
        t.bits[p.y() * t.stride + p.x()] = pixel;
        if (damage_) addDamage(QRect(p, p));
      }
  } else {
    for (const QPoint& p : pendingPixels_) fill(p.x(), p.y(), p.x(), p.y());
  }
  for (const QRect& r : pending_) fill(r.left(), r.top(), r.right(), r.bottom());
  pendingPixels_.clear();
  pending_.clear();
}

void Canvas::addDamage(const QRect& r) {
  // Runs of a slanted line touch end to end: one rectangle serves both.
  if (!damage_->rects.empty()) {
    QRect& last = damage_->rects.back();
    const bool sameRows = last.top() == r.top() && last.bottom() == r.bottom();
    const bool sameColumns = last.left() == r.left() && last.right() == r.right();
    if ((sameRows && r.left() <= last.right() + 1 && r.right() >= last.left() - 1) ||
        (sameColumns && r.top() <= last.bottom() + 1 && r.bottom() >= last.top() - 1)) {
      last |= r;
      return;
    }
  }
  damage_->rects.push_back(r);
}

void Canvas::flush() {
  if (pending_.empty() && pendingPixels_.empty()) return;
  if (Raster(pendRaster_) == Raster::Copy) {
    const QColor colour = ToQColor(pendColour_);
    DirectTarget target;
    if (colour.alpha() == 255 && directTarget(target)) {
      flushDirect(target, colour.rgba());
      SetComposition(painter_, Raster::Copy);
      return;
    }
  }
  damageWhole();
  if (vector_) {
    // No single points on a vector device, and the SVG writer keeps no clip:
    // the pixel runs are cut here.
    for (const QPoint& pt : pendingPixels_) pending_.emplace_back(pt.x(), pt.y(), 1, 1);
    pendingPixels_.clear();
    QRectF clip;
    if (clipFor(clip)) {
      const QRect c = clip.toAlignedRect();
      std::erase_if(pending_, [&](QRect& r) {
        r = r.intersected(c);
        return r.isEmpty();
      });
    }
    if (pending_.empty()) return;
  }
  SetComposition(painter_, Raster(pendRaster_));
  const QColor colour = Raster(pendRaster_) == Raster::Invert ? QColor(Qt::white) : ToQColor(pendColour_);
  if (!pendingPixels_.empty()) {
    // A point of a one-pixel cosmetic pen covers exactly its pixel when
    // logical and device pixels are the same; otherwise it would stay one
    // device pixel, so a scaled painter gets rectangles.
    const bool unscaled = painter_.device()->devicePixelRatio() == 1 &&
                          painter_.worldTransform().type() <= QTransform::TxTranslate;
    if (unscaled) {
      QPen pen(colour, 1);
      pen.setCosmetic(true);
      painter_.setPen(pen);
      painter_.drawPoints(pendingPixels_.data(), int(pendingPixels_.size()));
    } else {
      for (const QPoint& p : pendingPixels_) pending_.emplace_back(p.x(), p.y(), 1, 1);
    }
    pendingPixels_.clear();
  }
  if (!pending_.empty()) {
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(colour);
    painter_.drawRects(pending_.data(), int(pending_.size()));
    pending_.clear();
  }
  SetComposition(painter_, Raster::Copy);
}

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
void Canvas::vectorLine(QPoint a, QPoint b, bool paintEnd) {
  flush();
  damageWhole();
  const QPointF d(b - a);
  const double major = std::max(std::abs(d.x()), std::abs(d.y()));
  const QPointF unit = d / major, centre(0.5, 0.5);
  QPointF p = QPointF(a) + centre - unit * 0.5;
  QPointF q = QPointF(b) + centre - unit * 0.5 + (paintEnd ? unit : QPointF());
  double t0 = 0, t1 = 1;
  QRectF clip;
  if (clipFor(clip)) {
    // Liang-Barsky against the clip rectangle.
    const QPointF v = q - p;
    const double edges[4][2] = {{-v.x(), p.x() - clip.left()},
                                {v.x(), clip.right() - p.x()},
                                {-v.y(), p.y() - clip.top()},
                                {v.y(), clip.bottom() - p.y()}};
    for (const auto& [den, num] : edges) {
      if (den == 0) {
        if (num < 0) return;
        continue;
      }
      const double t = num / den;
      if (den < 0)
        t0 = std::max(t0, t);
      else
        t1 = std::min(t1, t);
    }
    if (t0 >= t1) return;
  }
  const QPointF v = q - p;
  QPen qp(ToQColor(pen_.colour), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  if (pen_.style == PenStyle::Dot || pen_.style == PenStyle::AlternateDot) {
    // Dots are laid along the line's length; one pixel each.
    qp.setDashPattern(pen_.style == PenStyle::Dot ? QList<qreal>{1, 2} : QList<qreal>{1, 1});
    qp.setDashOffset(t0 * std::hypot(v.x(), v.y()));
  }
  painter_.setPen(qp);
  painter_.setBrush(Qt::NoBrush);
  SetComposition(painter_, RasterOf(pen_.mode));
  painter_.drawLine(QLineF(p + v * t0, p + v * t1));
  SetComposition(painter_, Raster::Copy);
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

// ---------------------------------------------------------------------------
// Filled shapes.

QRect Canvas::fillArea(const Rect& r) const {
  QRectF clip;
  return vector_ && clipFor(clip) ? r.toQRect().intersected(clip.toAlignedRect()) : r.toQRect();
}

void Canvas::fillRect(const Rect& r, Colour colour) {
  if (r.isEmpty() || colour == clNone) return;
  flush();
  damageWhole();
  const QRect area = fillArea(r);
  if (!area.isEmpty()) painter_.fillRect(area, ToQColor(colour));
}

void Canvas::fillRect(const Rect& r) {
  if (brush_.style == BrushStyle::Clear || r.isEmpty()) return;
  flush();
  damageWhole();
  const QRect area = fillArea(r);
  if (area.isEmpty()) return;
  SetComposition(painter_, RasterOf(pen_.mode));
  painter_.fillRect(area, ToQColor(brush_.colour));
  SetComposition(painter_, Raster::Copy);
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

void Canvas::frameRect(const Rect& r, Colour colour) {
  if (r.isEmpty() || colour == clNone) return;
  flush();
  damageWhole();
  const QColor c = ToQColor(colour);
  painter_.fillRect(QRect(r.left, r.top, r.width(), 1), c);
  if (r.height() > 1) painter_.fillRect(QRect(r.left, r.bottom - 1, r.width(), 1), c);
  if (r.height() > 2) {
    painter_.fillRect(QRect(r.left, r.top + 1, 1, r.height() - 2), c);
    if (r.width() > 1) painter_.fillRect(QRect(r.right - 1, r.top + 1, 1, r.height() - 2), c);
  }
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

void Canvas::ellipse(const Rect& box) {
  if (box.width() < 1 || box.height() < 1) return;
  damageWhole();
  flush();
  SetComposition(painter_, RasterOf(pen_.mode));
  if (pen_.style == PenStyle::Clear) {
    painter_.setPen(Qt::NoPen);
  } else {
    QPen qp(ToQColor(pen_.colour));
    qp.setCosmetic(true);
    qp.setWidth(1);
    painter_.setPen(qp);
  }
  painter_.setBrush(brush_.style == BrushStyle::Solid ? QBrush(ToQColor(brush_.colour))
                                                      : QBrush(Qt::NoBrush));
  painter_.drawEllipse(QRect(box.left, box.top, box.width() - 1, box.height() - 1));
  SetComposition(painter_, Raster::Copy);
}

void Canvas::polygon(std::span<const QPoint> points) {
  if (points.size() < 2) return;
  damageWhole();
  if (brush_.style == BrushStyle::Solid) {
    flush();
    SetComposition(painter_, RasterOf(pen_.mode));
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ToQColor(brush_.colour));
    painter_.drawPolygon(points.data(), int(points.size()));
    SetComposition(painter_, Raster::Copy);
  }
  // Each edge without its end point: every corner is the start of one edge.
  for (size_t i = 0; i < points.size(); ++i) strokeLine(points[i], points[(i + 1) % points.size()], false);
  pos_ = points[0];
}

// ---------------------------------------------------------------------------
// Text.

struct Canvas::ShapedText {
  QStaticText glyphs;
  int width = 0;
  qreal ascent = 0;  // of the laid-out line, maybe fractional
};

namespace {
constexpr qsizetype kShapedTextLimit = 2048;

struct ShapedKey {
  QFont font;
  QString text;
  int dpi;
  bool operator==(const ShapedKey&) const = default;
};
size_t qHash(const ShapedKey& k, size_t seed = 0) {
  return qHashMulti(seed, k.font, k.text, k.dpi);
}
}  // namespace

const Canvas::ShapedText& Canvas::shaped(const QString& text) const {
  // One user-interface thread draws; the store is bounded by emptying it.
  static QHash<ShapedKey, ShapedText> cache;
  static const bool emptiedAtExit = [] {
    qAddPostRoutine([] { cache.clear(); });
    return true;
  }();
  Q_UNUSED(emptiedAtExit);
  ShapedKey key{font_, text, painter_.device()->logicalDpiY()};
  auto it = cache.constFind(key);
  if (it != cache.constEnd()) return *it;
  if (cache.size() >= kShapedTextLimit) cache.clear();
  ShapedText t;
  t.glyphs.setText(text);
  t.glyphs.setTextFormat(Qt::PlainText);
  t.glyphs.setPerformanceHint(QStaticText::AggressiveCaching);
  t.glyphs.prepare(QTransform(), font_);
  t.width = metrics().horizontalAdvance(text);
  t.ascent = QFontMetricsF(font_, painter_.device()).ascent();
  return *cache.insert(std::move(key), std::move(t));
}

// The text's cell has its top-left corner at (left, top); the baseline lies
// the integer ascent below, exactly where drawText would put it.
void Canvas::drawShaped(int left, int top, const ShapedText& t) {
  damageWhole();
  painter_.setFont(font_);
  painter_.setPen(ToQColor(fontColour_));
  painter_.drawStaticText(QPointF(left, top + metrics().ascent() - t.ascent), t.glyphs);
}

int Canvas::textWidth(const QString& text) const {
  return shaped(text).width;
}

const QPaintDevice* Canvas::device() const {
  return painter_.device();
}

int Canvas::lineHeight() const {
  if (lineHeight_ < 0) lineHeight_ = LineHeight(font_, painter_.device());
  return lineHeight_;
}

void Canvas::textOut(int x, int y, const QString& text, TextAlign align) {
  flush();
  damageWhole();
  const ShapedText& t = shaped(text);
  const int w = t.width;
  const int left = align == TextAlign::Left ? x : align == TextAlign::Center ? x - w / 2 : x - w;
  if (bkMode_ == BackgroundMode::Opaque)
    painter_.fillRect(QRect(left, y, w, lineHeight()), ToQColor(textBackground_));
  drawShaped(left, y, t);
}

void Canvas::textOutRotated90(int x, int y, const QString& text) {
  flush();
  damageWhole();
  const ShapedText& t = shaped(text);
  painter_.save();
  painter_.translate(x, y);
  painter_.rotate(-90);
  if (bkMode_ == BackgroundMode::Opaque)
    painter_.fillRect(QRect(0, 0, t.width, lineHeight()), ToQColor(textBackground_));
  drawShaped(0, 0, t);
  painter_.restore();
}

QString WithoutMnemonics(const QString& text) {
  if (!text.contains(u'&')) return text;
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && ++i >= text.size()) break;
    out += text[i];
  }
  return out;
}

int Canvas::drawText(Rect& r, const QString& text, unsigned flags) {
  flush();
  damageWhole();
  const QFontMetrics& fm = metrics();
  const bool single = flags & kSingleLine;
  const bool wrap = (flags & kWordBreak) && !single;
  const bool mnemonics = flags & kMnemonics;
  int qf = 0;
  if (flags & kExpandTabs) qf |= Qt::TextExpandTabs;
  if (mnemonics) qf |= Qt::TextShowMnemonic;

  if (wrap) {
    // Wrapped text is laid out by Qt; lines are ascent + descent apart.
    qf |= Qt::TextWordWrap | Qt::AlignTop;
    qf |= (flags & kAlignCenter) ? Qt::AlignHCenter : (flags & kAlignRight) ? Qt::AlignRight : Qt::AlignLeft;
    const QRect bounds = fm.boundingRect(r.toQRect(), qf, text);
    if (flags & kCalcRect) {
      r.right = r.left + bounds.width();
      r.bottom = r.top + bounds.height();
      return bounds.height();
    }
    if (bkMode_ == BackgroundMode::Opaque)
      painter_.fillRect((flags & kNoClip) ? bounds : bounds.intersected(r.toQRect()),
                        ToQColor(textBackground_));
    painter_.save();
    if (!(flags & kNoClip))
      painter_.setClipRect(r.toQRect(), painter_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    painter_.setFont(font_);
    painter_.setPen(ToQColor(fontColour_));
    painter_.drawText(r.toQRect(), qf, text);
    painter_.restore();
    return bounds.height();
  }

  // Unwrapped text is placed line by line with the classic integer rules:
  // centred at left + (width - text width) / 2, right-aligned ending at the
  // right edge, lines ascent + descent high.
  QStringList lines =
      single ? QStringList{QString(text).replace(u'\n', u' ').replace(u'\r', u' ')} : text.split(u'\n');
  if (!single)
    for (QString& l : lines)
      if (l.endsWith(u'\r')) l.chop(1);
  const int lineHeight = this->lineHeight();
  auto shownWidth = [&](const QString& l) {
    const QString plain = mnemonics ? WithoutMnemonics(l) : l;
    // Only a tab needs Qt's layout to be measured; everything else is its advance.
    return (flags & kExpandTabs) && plain.contains(u'\t')
               ? fm.boundingRect(QRect(), Qt::TextExpandTabs, plain).width()
               : fm.horizontalAdvance(plain);
  };
  if ((flags & kEndEllipsis))
    for (QString& l : lines)
      if (shownWidth(l) > r.width()) l = fm.elidedText(l, Qt::ElideRight, std::max(0, r.width()), qf);
  int widest = 0;
  std::vector<int> widths;
  for (const QString& l : lines) widths.push_back(shownWidth(l)), widest = std::max(widest, widths.back());
  const int total = lineHeight * int(lines.size());
  if (flags & kCalcRect) {
    r.right = r.left + widest;
    r.bottom = r.top + total;
    return total;
  }
  int y = r.top;
  if (single && (flags & kAlignBottom))
    y = r.bottom - lineHeight;
  else if (single && (flags & kAlignVCenter))
    y = r.top + (r.height() - lineHeight) / 2;

  painter_.save();
  if (!(flags & kNoClip))
    painter_.setClipRect(r.toQRect(), painter_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  painter_.setFont(font_);
  for (qsizetype i = 0; i < lines.size(); ++i, y += lineHeight) {
    const int w = widths[size_t(i)];
    const int x = (flags & kAlignCenter)  ? r.left + (r.width() - w) / 2
                  : (flags & kAlignRight) ? r.right - w
                                          : r.left;
    if (bkMode_ == BackgroundMode::Opaque)
      painter_.fillRect(QRect(x, y, w, lineHeight), ToQColor(textBackground_));
    painter_.setPen(ToQColor(fontColour_));
    // A box wider than the text keeps Qt from moving the line; the text
    // starts at its left edge.
    painter_.drawText(QRect(x, y, w + lineHeight, lineHeight),
                      qf | Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, lines[i]);
  }
  painter_.restore();
  return total;
}

}  // namespace dorvane::gfx
