// The chart as a window: the off-screen image, merged repaints and the
// device pixel ratio.
#include <QApplication>
#include <QPainter>
#include <QTest>

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
  PlotProgramCurves(chart, ComputeCurves(0, 100000, 10200, 10000, false, true), true, true, false);
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
  PlotProgramCurves(chart, ComputeCurves(0, 100000, 10200, 10000, false, true), true, true, false);
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
  EXPECT_EQ(chart.PlotRect().left, Expected().left + 50);
  EXPECT_FALSE(chart.ImageStale());
  EXPECT_EQ(chart.OffscreenImage(), windowImage);
}

// A chart on a screen of twice the density.
class DenseChart : public TChart {
 protected:
  int metric(PaintDeviceMetric m) const override {
    if (m == PdmDevicePixelRatio) return 2;
    if (m == PdmDevicePixelRatioScaled) return int(2 * QPaintDevice::devicePixelRatioFScale());
    return TChart::metric(m);
  }
};

TEST(ChartWidget, ImageAtDeviceSizeDrawingInLayoutPixels) {
  DenseChart chart;
  SetUpProgramChart(chart);
  PlotProgramCurves(chart, ComputeCurves(0, 100000, 10200, 10000, false, true), true, true, true);
  QImage target(2 * kWidth, 2 * kHeight, QImage::Format_RGB32);
  target.setDevicePixelRatio(2);
  chart.render(&target);
  const QImage& image = chart.OffscreenImage();
  EXPECT_EQ(image.size(), QSize(2 * kWidth, 2 * kHeight));
  EXPECT_EQ(image.devicePixelRatio(), 2);
  const Expected e;
  EXPECT_EQ(chart.PlotRect(), (gfx::Rect{e.left, e.top, e.right, e.bottom})) << "layout pixels";

  // Shapes become 2 x 2 blocks of the 1x picture: wall, axes, ticks, grid
  // and curves (text is drawn at full density and left out).
  const QImage single = Render(chart);
  const QImage dense = chart.DrawToImage({kWidth, kHeight}, 2);
  EXPECT_EQ(dense, image);
  int compared = 0;
  for (int y = e.top; y <= e.bottom + 4; ++y)
    for (int x = e.left - 4; x <= e.right; ++x) {
      const QRgb c = single.pixel(x, y);
      for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) ASSERT_EQ(dense.pixel(2 * x + dx, 2 * y + dy), c) << x << "," << y;
      ++compared;
    }
  EXPECT_GT(compared, 70000);
  EXPECT_EQ(chart.LeftAxis()->TickPositions(), e.TicksY());
}

}  // namespace
}  // namespace dorvane::chart
