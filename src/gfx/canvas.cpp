// The canvas's state and its mapping to the device: construction and what it
// puts back on the painter, pens, brushes, fonts, saved states, clipping, and
// the device-pixel grid of a scaled raster device.
#include "gfx/canvas.h"
#include "gfx/fonts.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

namespace dorvane::gfx {

struct Canvas::State {
  Pen pen;
  Brush brush;
  QFont font;
  Colour fontColour;
  BackgroundMode bkMode;
  Colour textBackground;
  QPoint pos;
  std::optional<QRect> deviceClip;
  bool deviceClipKnown;
};

Canvas::Canvas(QPainter& painter)
    : painter_(painter),
      entry_{painter.pen(),
             painter.brush(),
             painter.font(),
             painter.background(),
             painter.renderHints(),
             painter.compositionMode(),
             painter.worldTransform(),
             painter.hasClipping(),
             painter.hasClipping() ? painter.clipRegion() : QRegion()},
      vector_(painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::SVG),
      systemLines_(painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Windows),
      font_(painter.font()) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  if (grid().on && painter_.hasClipping()) {
    deviceClipKnown_ = painter_.clipRegion().rectCount() <= 1;
    const QRectF c = painter_.clipBoundingRect();
    deviceClip_ = QRect(
        QPoint(grid_.DeviceX(std::llround(c.left())), grid_.DeviceY(std::llround(c.top()))),
        QPoint(grid_.DeviceX(std::llround(c.right())) - 1, grid_.DeviceY(std::llround(c.bottom())) - 1));
  }
}

int Canvas::Grid::Map(long long c, double offset) const {
  // Far beyond any device: kept where int arithmetic on it stays safe.
  const double d = std::floor(double(c) * scale + offset + 0.5);
  return int(std::clamp(d, -1073741824.0, 1073741823.0));
}

int Canvas::Grid::Width(int logical) const {
  if (!on) return logical;
  return std::max(1, int(std::lround(std::clamp(logical * scale, -1e9, 1e9))));
}

const Canvas::Grid& Canvas::grid() const {
  if (!gridStale_) return grid_;
  gridStale_ = false;
  grid_ = Grid{};
  const QPaintEngine* engine = painter_.paintEngine();
  if (vector_ || !engine || engine->type() != QPaintEngine::Raster) return grid_;
  const QTransform m = painter_.deviceTransform();
  if (m.type() > QTransform::TxScale || m.m11() != m.m22() || !(m.m11() > 0 && m.m11() <= 64) ||
      m.m11() == 1 || std::abs(m.dx()) > 1e6 || std::abs(m.dy()) > 1e6)
    return grid_;
  grid_.on = true;
  grid_.scale = m.m11();
  grid_.dx = m.dx();
  grid_.dy = m.dy();
  grid_.line = std::max(1, int(std::lround(grid_.scale)));
  return grid_;
}

QRect Canvas::deviceRect(const Rect& r) const {
  if (r.isEmpty()) return QRect();
  const Grid& g = grid();
  return QRect(QPoint(g.DeviceX(r.left), g.DeviceY(r.top)),
               QPoint(g.DeviceX(r.right) - 1, g.DeviceY(r.bottom) - 1));
}

Canvas::~Canvas() {
  if (!painter_.isActive()) return;
  flush();
  while (!saved_.empty()) restore();
  painter_.setWorldTransform(entry_.world);
  if (entry_.clipping)
    painter_.setClipRegion(entry_.clip);
  else
    painter_.setClipping(false);
  painter_.setPen(entry_.pen);
  painter_.setBrush(entry_.brush);
  painter_.setFont(entry_.font);
  painter_.setBackground(entry_.background);
  painter_.setRenderHints(~entry_.hints, false);
  painter_.setRenderHints(entry_.hints, true);
  painter_.setCompositionMode(entry_.mode);
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
  saved_.push_back(
      {pen_, brush_, font_, fontColour_, bkMode_, textBackground_, pos_, deviceClip_, deviceClipKnown_});
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
  deviceClip_ = s.deviceClip;
  deviceClipKnown_ = s.deviceClipKnown;
  gridStale_ = true;
  saved_.pop_back();
}

namespace {
// A rectangle whose right or bottom edge lies before its left or top one
// clips everything away: QRect would flip it into a real area.
QRect ClipArea(const Rect& r) {
  return r.isEmpty() ? QRect() : r.toQRect();
}
}  // namespace

void Canvas::setClipRect(const Rect& r) {
  flush();
  painter_.setClipRect(ClipArea(r), Qt::ReplaceClip);
  deviceClip_ = deviceRect(r);
  deviceClipKnown_ = true;
}

void Canvas::intersectClipRect(const Rect& r) {
  flush();
  const bool clipped = painter_.hasClipping();
  painter_.setClipRect(ClipArea(r), clipped ? Qt::IntersectClip : Qt::ReplaceClip);
  // Narrowing a clip set on the painter behind the canvas's back leaves it
  // unknown.
  if (!clipped)
    deviceClipKnown_ = true;
  else if (!deviceClip_)
    deviceClipKnown_ = false;
  deviceClip_ = deviceClip_ && clipped ? *deviceClip_ & deviceRect(r) : deviceRect(r);
}

void Canvas::clearClip() {
  flush();
  painter_.setClipping(false);
  deviceClip_.reset();
  deviceClipKnown_ = true;
}

const QPaintDevice* Canvas::device() const {
  return painter_.device();
}

int Canvas::lineHeight() const {
  if (lineHeight_ < 0) lineHeight_ = LineHeight(font_, painter_.device());
  return lineHeight_;
}

}  // namespace dorvane::gfx
