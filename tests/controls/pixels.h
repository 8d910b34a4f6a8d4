#pragma once
// Helpers for the pixel tests of the styled controls.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <set>
#include <tuple>

#include "gfx/colour.h"

namespace dorvane::controls::pixels {

// The widget and its children as they appear on screen.
inline QImage Render(QWidget& w) {
  QImage image(w.size(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  w.render(&image);
  return image;
}

inline std::tuple<int, int, int> RgbAt(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return {qRed(p), qGreen(p), qBlue(p)};
}

inline std::tuple<int, int, int> RgbOf(gfx::Colour c) {
  return {gfx::RedOf(c), gfx::GreenOf(c), gfx::BlueOf(c)};
}

struct PointLess {
  bool operator()(const QPoint& a, const QPoint& b) const {
    return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
  }
};
using PointSet = std::set<QPoint, PointLess>;

// Pixels of `area` where the two images differ.
inline PointSet Diff(const QImage& a, const QImage& b, QRect area = {}) {
  if (area.isNull()) area = a.rect();
  PointSet out;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) out.insert({x, y});
  return out;
}

inline QRect Bounds(const PointSet& points) {
  QRect r;
  for (const QPoint& p : points) r = r.united(QRect(p, QSize(1, 1)));
  return r;
}

// Whether the two images agree inside area (in the images' own coordinates).
inline bool SameIn(const QImage& a, const QImage& b, const QRect& area) {
  return Diff(a, b, area).empty();
}

}  // namespace dorvane::controls::pixels
