// Text: shaped once and kept, drawn single-line, wrapped, aligned, turned
// upwards, with mnemonics, measured.
#include "gfx/canvas.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QStaticText>

namespace dorvane::gfx {

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
  // A line with no mnemonic and no tab to expand is shaped once and kept.
  auto plainLine = [&](const QString& l) {
    return !(mnemonics && l.contains(u'&')) && !((flags & kExpandTabs) && l.contains(u'\t'));
  };
  auto shownWidth = [&](const QString& l) {
    if (plainLine(l)) return shaped(l).width;
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
    if (plainLine(lines[i])) {
      drawShaped(x, y, shaped(lines[i]));
      continue;
    }
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
