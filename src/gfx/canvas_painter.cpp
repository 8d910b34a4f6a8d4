// The QPainter target: drawing state, clipping, fills, ellipses, polygons,
// text, vector lines, and the pending pixel runs painted through QPainter.
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
#include <QStaticText>

#include "gfx/canvas_raster.h"

namespace dorvane::gfx {

using detail::Raster;
using detail::RasterOf;
using detail::SetComposition;

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
      font_(painter.font()) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  if (grid().on && painter_.hasClipping()) {
    deviceClipKnown_ = painter_.clipRegion().rectCount() <= 1;
    const QRectF c = painter_.clipBoundingRect();
    deviceClip_ = QRect(QPoint(grid_.X(std::llround(c.left())), grid_.Y(std::llround(c.top()))),
                        QPoint(grid_.X(std::llround(c.right())) - 1, grid_.Y(std::llround(c.bottom())) - 1));
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
  return QRect(QPoint(g.X(r.left), g.Y(r.top)), QPoint(g.X(r.right) - 1, g.Y(r.bottom) - 1));
}

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
      for (const QPoint& pt : points) mapped << QPoint(grid_.X(pt.x()), grid_.Y(pt.y()));
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
  const QPaintEngine* engine = painter_.paintEngine();
  if (vector_ || !engine || engine->type() != QPaintEngine::Raster) {
    painter_.save();
    painter_.translate(x, y);
    painter_.rotate(-90);
    if (bkMode_ == BackgroundMode::Opaque)
      painter_.fillRect(QRect(0, 0, t.width, lineHeight()), ToQColor(textBackground_));
    drawShaped(0, 0, t);
    painter_.restore();
    return;
  }
  // On pixels the upright text is turned as an image: glyphs drawn turned
  // are placed on whole pixels one by one, which opens gaps ("Atté nuation").
  const qreal ratio = painter_.device()->devicePixelRatioF();
  QImage upright(QSize(int(std::ceil(t.width * ratio)), int(std::ceil(lineHeight() * ratio))),
                 QImage::Format_ARGB32_Premultiplied);
  upright.setDevicePixelRatio(ratio);
  upright.fill(bkMode_ == BackgroundMode::Opaque ? ToQColor(textBackground_) : QColor(Qt::transparent));
  {
    QPainter p(&upright);
    p.setFont(font_);
    p.setPen(ToQColor(fontColour_));
    p.drawStaticText(QPointF(0, metrics().ascent() - t.ascent), t.glyphs);
  }
  QImage turned = upright.transformed(QTransform().rotate(-90));
  turned.setDevicePixelRatio(ratio);
  painter_.drawImage(QPointF(x, y - t.width), turned);
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
