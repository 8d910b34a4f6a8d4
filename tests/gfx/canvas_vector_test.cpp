// The canvas on a vector device: lines are written as lines over the pixels
// the raster rule paints, and lines and fills are cut to the clip, which the
// SVG writer would otherwise drop.
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <functional>

#include <gtest/gtest.h>

#include "gfx/canvas.h"

namespace dorvane::gfx {
namespace {

constexpr int kSize = 40;

QByteArray Svg(const std::function<void(Canvas&)>& draw) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize({kSize, kSize});
  generator.setViewBox(QRect(0, 0, kSize, kSize));
  generator.setResolution(96);
  QPainter painter(&generator);
  {
    Canvas canvas(painter);
    EXPECT_TRUE(canvas.vector());
    draw(canvas);
  }
  painter.end();
  return buffer.data();
}

QImage Render(const QByteArray& svg) {
  QImage img(kSize, kSize, QImage::Format_RGB32);
  img.fill(Qt::white);
  QSvgRenderer renderer(svg);
  EXPECT_TRUE(renderer.isValid());
  QPainter p(&img);
  renderer.render(&p, QRectF(0, 0, kSize, kSize));
  return img;
}

// Dark enough to count as ink after the renderer's smoothing.
bool Ink(const QImage& img, int x, int y) {
  return qGray(img.pixel(x, y)) < 128;
}

TEST(CanvasVector, OnlyAnSvgGeneratorIsVector) {
  QImage img(4, 4, QImage::Format_RGB32);
  QPainter p(&img);
  EXPECT_FALSE(Canvas(p).vector());
}

TEST(CanvasVector, LinesStayLinesOverTheRasterPixels) {
  const QByteArray svg = Svg([](Canvas& c) {
    c.line(5, 10, 25, 10);  // horizontal: 5..24 painted
    c.line(30, 5, 30, 20);  // vertical: 5..19 painted
    c.line(2, 30, 20, 39);  // slanted
  });
  EXPECT_EQ(svg.count("<polyline"), 3) << svg.constData();
  EXPECT_EQ(svg.count("<rect"), 0);
  const QImage img = Render(svg);
  for (int x = 5; x < 25; ++x) EXPECT_TRUE(Ink(img, x, 10)) << x;
  EXPECT_FALSE(Ink(img, 4, 10));
  EXPECT_FALSE(Ink(img, 25, 10));  // end pixel left out
  EXPECT_FALSE(Ink(img, 15, 9));
  EXPECT_FALSE(Ink(img, 15, 11));
  for (int y = 5; y < 20; ++y) EXPECT_TRUE(Ink(img, 30, y)) << y;
  EXPECT_FALSE(Ink(img, 30, 20));
  EXPECT_FALSE(Ink(img, 30, 4));
}

TEST(CanvasVector, DottedPensBecomeDashPatterns) {
  const QByteArray svg = Svg([](Canvas& c) {
    c.setPen({clBlack, 1, PenStyle::Dot});
    c.line(0, 5, 30, 5);
  });
  ASSERT_TRUE(svg.contains("stroke-dasharray")) << svg.constData();
  const QImage img = Render(svg);
  for (int x = 0; x < 30; ++x) EXPECT_EQ(Ink(img, x, 5), x % 3 == 0) << x;
}

TEST(CanvasVector, LinesAndFillsAreCutToTheClip) {
  const Rect clip{10, 10, 30, 30};
  const QByteArray svg = Svg([&](Canvas& c) {
    c.save();
    c.intersectClipRect(clip);
    c.line(0, 0, 40, 40);                // diagonal through the clip
    c.line(0, 20, 40, 20);               // across it
    c.line(0, 5, 40, 5);                 // wholly outside: nothing
    c.fillRect({0, 32, 40, 40}, clRed);  // outside: nothing
    c.fillRect({25, 25, 40, 40}, clBlack);
    c.restore();
    c.line(0, 38, 5, 38);  // after the restore: not cut
  });
  const QImage img = Render(svg);
  int inkOutside = 0, inkInside = 0;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const bool inClip = clip.contains(x, y);
      if (y == 38 && x < 5) continue;
      (inClip ? inkInside : inkOutside) += Ink(img, x, y) ? 1 : 0;
    }
  EXPECT_EQ(inkOutside, 0);
  EXPECT_GT(inkInside, 0);
  for (int x = 10; x < 30; ++x) {
    EXPECT_TRUE(Ink(img, x, 20)) << x;
    EXPECT_TRUE(Ink(img, x, x)) << x;
  }
  for (int y = 25; y < 30; ++y)
    for (int x = 25; x < 30; ++x) EXPECT_TRUE(Ink(img, x, y)) << x << "," << y;
  for (int x = 0; x < 5; ++x) EXPECT_TRUE(Ink(img, x, 38)) << x;
  EXPECT_FALSE(svg.contains("#ff0000"));
}

}  // namespace
}  // namespace dorvane::gfx
