// The QPainter target: the pending pixel runs painted through QPainter,
// lines on vector devices, fills, ellipses and polygons.
#include "gfx/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>

#include "gfx/canvas_raster.h"

namespace dorvane::gfx {

using detail::Raster;
using detail::RasterOf;
using detail::SetComposition;

template <class Paint>
void Canvas::inDevicePixels(Paint paint) {
  painter_.save();
  // The world transform that leaves device coordinates as they are.
  painter_.setWorldTransform(painter_.deviceTransform().inverted() * painter_.worldTransform());
  // A clip the canvas does not know stays as the painter has it.
  if (deviceClip_ && deviceClipKnown_ && painter_.hasClipping())
    painter_.setClipRect(*deviceClip_, Qt::ReplaceClip);
  paint();
  painter_.restore();
}

void Canvas::deviceFill(const QRect& r, Colour colour, int raster) {
  if (r.isEmpty()) return;
  inDevicePixels([&] {
    SetComposition(painter_, Raster(raster));
    painter_.fillRect(r, ToQColor(colour));
  });
}

// ---------------------------------------------------------------------------
// Pixel batches: the runs of the raster rules painted by one drawRects call.

bool Canvas::clipFor(QRectF& clip) const {
  if (!painter_.hasClipping()) return false;
  clip = painter_.clipBoundingRect();
  return true;
}

// Pending pixels go straight into the image when they can (see
// canvas_image.cpp), through QPainter otherwise.
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
  // On the device-pixel grid the runs are in device pixels already.
  if (grid().on)
    inDevicePixels([&] { paintPending(true); });
  else
    paintPending(false);
}

void Canvas::paintPending(bool devicePixels) {
  SetComposition(painter_, Raster(pendRaster_));
  const QColor colour = Raster(pendRaster_) == Raster::Invert ? QColor(Qt::white) : ToQColor(pendColour_);
  if (!pendingPixels_.empty()) {
    // A point of a one-pixel cosmetic pen covers exactly its pixel when
    // logical and device pixels are the same; otherwise it would stay one
    // device pixel, so a scaled painter gets rectangles.
    const bool unscaled = devicePixels || (painter_.device()->devicePixelRatio() == 1 &&
                                           painter_.worldTransform().type() <= QTransform::TxTranslate);
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

// A line QPainter draws as it is: a cosmetic one, solid or dotted, or a
// band `width` pixels wide, with the pen's colour and mode.
void Canvas::painterLine(QPoint a, QPoint b, int width, bool dotted) {
  flush();
  damageWhole();
  SetComposition(painter_, RasterOf(pen_.mode));
  QPen qp(ToQColor(pen_.colour), width, dotted ? Qt::DotLine : Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  qp.setCosmetic(width == 1);
  painter_.setPen(qp);
  painter_.drawLine(a, b);
  SetComposition(painter_, Raster::Copy);
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
  if (grid().on) {
    deviceFill(deviceRect(r), colour, int(Raster::Copy));
    return;
  }
  const QRect area = fillArea(r);
  if (!area.isEmpty()) painter_.fillRect(area, ToQColor(colour));
}

void Canvas::fillRect(const Rect& r) {
  if (brush_.style == BrushStyle::Clear || r.isEmpty()) return;
  flush();
  damageWhole();
  if (grid().on) {
    deviceFill(deviceRect(r), brush_.colour, int(RasterOf(pen_.mode)));
    return;
  }
  const QRect area = fillArea(r);
  if (area.isEmpty()) return;
  SetComposition(painter_, RasterOf(pen_.mode));
  painter_.fillRect(area, ToQColor(brush_.colour));
  SetComposition(painter_, Raster::Copy);
}

void Canvas::frameRect(const Rect& r, Colour colour) {
  if (r.isEmpty() || colour == clNone) return;
  flush();
  damageWhole();
  if (grid().on) {
    // Bands of a line's width inside the mapped box.
    const Pen saved = pen_;
    pen_ = {colour, 1, PenStyle::Solid, PenMode::Copy};
    applyComposition(PenMode::Copy);
    const QRect d = deviceRect(r);
    frameBands(d.left(), d.top(), d.right() + 1, d.bottom() + 1, grid_.line);
    pen_ = saved;
    flush();
    return;
  }
  const QColor c = ToQColor(colour);
  painter_.fillRect(QRect(r.left, r.top, r.width(), 1), c);
  if (r.height() > 1) painter_.fillRect(QRect(r.left, r.bottom - 1, r.width(), 1), c);
  if (r.height() > 2) {
    painter_.fillRect(QRect(r.left, r.top + 1, 1, r.height() - 2), c);
    if (r.width() > 1) painter_.fillRect(QRect(r.right - 1, r.top + 1, 1, r.height() - 2), c);
  }
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
  if (grid().on) {
    // A ring a line wide, inside the mapped box.
    const QRect d = deviceRect(box);
    const int w = grid_.line;
    if (pen_.style != PenStyle::Clear) {
      QPen qp(ToQColor(pen_.colour), w);
      qp.setJoinStyle(Qt::MiterJoin);
      painter_.setPen(qp);
    }
    const QPen pen = painter_.pen();
    const QBrush brush = painter_.brush();
    const qreal inset = pen_.style == PenStyle::Clear ? 0 : w / 2.0;
    inDevicePixels([&] {
      painter_.setPen(pen);
      painter_.setBrush(brush);
      painter_.drawEllipse(QRectF(d).adjusted(inset, inset, -inset, -inset));
    });
    SetComposition(painter_, Raster::Copy);
    return;
  }
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
    if (grid().on) {
      QPolygon mapped;
      for (const QPoint& pt : points) mapped << QPoint(grid_.DeviceX(pt.x()), grid_.DeviceY(pt.y()));
      inDevicePixels([&] {
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(ToQColor(brush_.colour));
        painter_.drawPolygon(mapped);
      });
    } else {
      painter_.drawPolygon(points.data(), int(points.size()));
    }
    SetComposition(painter_, Raster::Copy);
  }
  // Each edge without its end point: every corner is the start of one edge.
  for (size_t i = 0; i < points.size(); ++i) strokeLine(points[i], points[(i + 1) % points.size()], false);
  pos_ = points[0];
}

}  // namespace dorvane::gfx
