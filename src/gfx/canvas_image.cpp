// The image target: copied pixels of an opaque colour written straight
// into a 32-bit image's scan lines, with the damage they leave.
#include "gfx/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>

#include "gfx/canvas_raster.h"

namespace dorvane::gfx {

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
  if (grid().on) {
    // The runs are in device pixels already, and so is the canvas's clip; a
    // clip the canvas does not know keeps the QPainter path.
    if (painter_.hasClipping() && (!deviceClip_ || !deviceClipKnown_)) return false;
    t.clip = image->rect();
    if (painter_.hasClipping()) t.clip &= *deviceClip_;
    t.bits = reinterpret_cast<quint32*>(image->bits());
    t.stride = image->bytesPerLine() / qsizetype(sizeof(quint32));
    return t.bits != nullptr;
  }
  // Off the grid the painter is unscaled (a scaled raster painter is on it):
  // only a move by whole pixels is taken here.
  const QTransform m = painter_.deviceTransform();
  if (m.type() > QTransform::TxTranslate || m.dx() != std::floor(m.dx()) || m.dy() != std::floor(m.dy()) ||
      std::abs(m.dx()) > 1e6 || std::abs(m.dy()) > 1e6)
    return false;
  t.dx = int(m.dx());
  t.dy = int(m.dy());
  t.clip = image->rect();
  if (painter_.hasClipping()) {
    const QRegion clip = painter_.clipRegion();  // logical coordinates
    if (clip.rectCount() > 1) return false;
    t.clip &= clip.boundingRect().translated(t.dx, t.dy);
  }
  t.bits = reinterpret_cast<quint32*>(image->bits());
  t.stride = image->bytesPerLine() / qsizetype(sizeof(quint32));
  return t.bits != nullptr;
}

void Canvas::flushDirect(const DirectTarget& t, quint32 pixel) {
  const QRect& c = t.clip;
  // Pixels left..right, top..bottom (inclusive), moved and cut to the clip.
  auto fill = [&](long long left, long long top, long long right, long long bottom) {
    const long long l = std::max<long long>(left + t.dx, c.left());
    const long long r = std::min<long long>(right + 1 + t.dx, c.right() + 1);
    const long long b = std::min<long long>(bottom + 1 + t.dy, c.bottom() + 1);
    const long long y0 = std::max<long long>(top + t.dy, c.top());
    if (l >= r || y0 >= b) return;
    if (damage_) addDamage(QRect(QPoint(int(l), int(y0)), QPoint(int(r - 1), int(b - 1))));
    for (long long y = y0; y < b; ++y) std::fill(t.bits + y * t.stride + l, t.bits + y * t.stride + r, pixel);
  };
  if (t.dx == 0 && t.dy == 0) {
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

}  // namespace dorvane::gfx
