// The chart as a window: the off-screen image, merged repaints and the
// device pixel ratio.
#include <QApplication>
#include <QPainter>
#include <QTest>

#include <cmath>

#include <gtest/gtest.h>

#include "chart_test_support.h"
#include "core/curves.h"
#include "support/widget_helpers.h"

namespace dorvane::chart {
namespace {

using namespace dorvane::chart::support;

using testsupport::Settle;

TEST(ChartWidget, OneDrawingPassPerReplotAndNoneForAnUnchangedPaint) {
  TChart chart;
  SetUpProgramChart(chart);
  chart.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
  Settle();
  const qint64 afterShow = chart.DrawingPassCount();
  EXPECT_GE(afterShow, 1);
  EXPECT_FALSE(chart.ImageStale());

  // The main window's replot: title cleared and set, 3 x 101 points, flags.
  chart.Title()->Text().Clear();
  chart.Title()->Text().Add(kTitle);
  PlotProgramCurves(chart, ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true)), true, true,
                    false);
  EXPECT_TRUE(chart.ImageStale());
  EXPECT_EQ(chart.DrawingPassCount(), afterShow) << "requests only mark the image";
  Settle();
  EXPECT_EQ(chart.DrawingPassCount(), afterShow + 1);

  // Uncovering or repainting an unchanged chart copies the image.
  chart.repaint();
  chart.repaint();
  EXPECT_EQ(chart.DrawingPassCount(), afterShow + 1);
  const QImage shown = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(chart.DrawingPassCount(), afterShow + 1);
  EXPECT_EQ(shown, chart.OffscreenImage());
  EXPECT_EQ(chart.OffscreenImage(), Render(chart)) << "the window shows what DrawToCanvas draws";

  chart.RequestRepaint();
  chart.repaint();
  EXPECT_EQ(chart.DrawingPassCount(), afterShow + 3) << "one for Render, one for the stale image";
}

TEST(ChartWidget, UnbufferedDisplayDrawsEveryPaint) {
  TChart chart;
  SetUpProgramChart(chart);
  chart.setBufferedDisplay(false);
  chart.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
  Settle();
  const qint64 before = chart.DrawingPassCount();
  chart.repaint();
  EXPECT_EQ(chart.DrawingPassCount(), before + 1);
  EXPECT_TRUE(chart.OffscreenImage().isNull());
  const QImage shown = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shown, Render(chart));
}

TEST(ChartWidget, DrawToCanvasAnywhereLeavesTheWindowImageAlone) {
  TChart chart;
  SetUpProgramChart(chart);
  PlotProgramCurves(chart, ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true)), true, true,
                    false);
  const QImage alone = Render(chart);
  QImage window(kWidth, kHeight, QImage::Format_RGB32);
  chart.render(&window);  // the window's image is now fresh
  ASSERT_FALSE(chart.ImageStale());
  const QImage windowImage = chart.OffscreenImage();

  // The same chart drawn into a bigger image at an offset, through an
  // outer clip, is the same picture moved.
  QImage big(kWidth + 60, kHeight + 50, QImage::Format_RGB32);
  big.fill(Qt::magenta);
  {
    QPainter p(&big);
    gfx::Canvas canvas(p);
    canvas.intersectClipRect({0, 0, kWidth + 60, kHeight + 50});
    chart.DrawToCanvas(canvas, {50, 40, 50 + kWidth, 40 + kHeight});
  }
  EXPECT_EQ(big.copy(50, 40, kWidth, kHeight), alone);
  EXPECT_EQ(big.pixel(49, 39), qRgb(255, 0, 255)) << "nothing outside the rectangle";
  EXPECT_EQ(chart.PlotRect().left, Expected().left) << "the window's layout stays";
  EXPECT_FALSE(chart.ImageStale());
  EXPECT_EQ(chart.OffscreenImage(), windowImage);
}

// At every scale the window's image has the device size and the layout stays
// in layout pixels; lines, ticks and dots sit on device pixels (a logical
// coordinate c at floor(c * s + 0.5), a one-pixel line round(s) wide), and
// the curves step by device pixels rather than by blown-up 1x pixels.
TEST(ChartWidget, ImageAtDeviceSizeDrawnInDevicePixels) {
  const Expected e;
  for (const qreal s : {1.0, 1.25, 1.5, 2.0}) {
    SCOPED_TRACE(s);
    DenseChart chart(s);
    SetUpProgramChart(chart);
    PlotProgramCurves(chart, ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true)), true, true,
                      true);
    const QSize deviceSize(int(std::ceil(kWidth * s)), int(std::ceil(kHeight * s)));
    QImage target(deviceSize, QImage::Format_RGB32);
    target.setDevicePixelRatio(s);
    chart.render(&target);
    const QImage& image = chart.OffscreenImage();
    EXPECT_EQ(image.size(), deviceSize);
    EXPECT_EQ(image.devicePixelRatio(), s);
    EXPECT_EQ(chart.PlotRect(), (gfx::Rect{e.left, e.top, e.right, e.bottom})) << "layout pixels";
    EXPECT_EQ(chart.LeftAxis()->TickPositions(), e.TicksY());
    const QImage single = Render(chart);
    const QImage dense = chart.DrawToImage({kWidth, kHeight}, s);
    EXPECT_EQ(dense, image);
    if (s == 1) {
      EXPECT_EQ(dense, single);
    }

    auto D = [s](int c) { return int(std::floor(c * s + 0.5)); };
    const int line = std::max(1, int(std::lround(s)));
    auto curve = [](QRgb c) { return c == kRed || c == kGreen || c == kSilver; };
    // Away from the curves and from the edges a line may overlap at a
    // fractional scale, each logical pixel starts with its 1x colour.
    int compared = 0;
    for (int y = e.top; y <= e.bottom + 4; ++y)
      for (int x = e.left - 4; x <= e.right; ++x) {
        // The axis lines hide the grid's first dots at 1x; a wider dot on a
        // fractional scale may show one device pixel past them.
        if (std::abs(x - e.left) <= 2 || std::abs(y - e.bottom) <= 2) continue;
        const QRgb c = single.pixel(x, y);
        bool plain = !curve(dense.pixel(D(x), D(y)));
        for (int dy = -1; dy <= 1 && plain; ++dy)
          for (int dx = -1; dx <= 1 && plain; ++dx) {
            const QRgb n = single.pixel(x + dx, y + dy);
            plain = !curve(n) && (dx > 0 || dy > 0 || n == c);
          }
        if (!plain) continue;
        ASSERT_EQ(dense.pixel(D(x), D(y)), c) << x << "," << y;
        ++compared;
      }
    EXPECT_GT(compared, 50000);
    // Ticks: a line's width across, four logical pixels long below the axis.
    for (int t : e.TicksX()) {
      int across = 0;
      while (dense.pixel(D(t) + across, D(e.bottom + 3)) == kGrey) ++across;
      EXPECT_EQ(across, line) << t;
      for (int y = D(e.bottom + 1); y < D(e.bottom + 5); ++y)
        EXPECT_EQ(dense.pixel(D(t), y), kGrey) << t << "," << y;
      EXPECT_EQ(dense.pixel(D(t), D(e.bottom + 5)), kAqua) << t;
    }
    // Grid dots a line's width square, one per three logical pixels.
    const int gx = D(e.TicksX()[1]);
    for (int y = e.top + 3; y < e.TicksY()[1] - 3; y += 3) {
      int down = 0;
      while (dense.pixel(gx, D(y) + down) == kGrey) ++down;
      EXPECT_EQ(down, line) << y;
    }
    // Curves step by device pixels: at scale 2 not all of them lie in the
    // 2 x 2 blocks a blown-up 1x curve would.
    if (s == 2) {
      int offBlock = 0;
      for (int y = 0; y + 1 < dense.height(); y += 2)
        for (int x = 0; x + 1 < dense.width(); x += 2) {
          const int reds = (dense.pixel(x, y) == kRed) + (dense.pixel(x + 1, y) == kRed) +
                           (dense.pixel(x, y + 1) == kRed) + (dense.pixel(x + 1, y + 1) == kRed);
          offBlock += reds == 1 || reds == 2 || reds == 3;
        }
      EXPECT_GT(offBlock, 50);
    }
  }
}

}  // namespace
}  // namespace dorvane::chart
