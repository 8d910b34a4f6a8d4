// The chart's copies for the clipboard: the bitmap is the window's image,
// the SVG is the same drawing one pixel smaller, a refused clipboard keeps
// its content, and copying neither changes the chart nor asks for a paint.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTest>

#include <gtest/gtest.h>

#include "chart/chart_export.h"
#include "chart_test_support.h"
#include "core/curves.h"
#include "support/widget_helpers.h"

namespace dorvane::chart {
namespace {

using namespace dorvane::chart::support;

using testsupport::PaintCounter;
using testsupport::Settle;

class Refusing final : public ClipboardPort {
 public:
  bool Replace(std::unique_ptr<QMimeData>) override {
    ++calls;
    return false;
  }
  int calls = 0;
};

struct ActiveSet {
  bool linear, loaded, log;
};

class ChartExport : public ::testing::TestWithParam<ActiveSet> {
 protected:
  void SetUp() override {
    SetUpProgramChart(chart_);
    const ActiveSet a = GetParam();
    PlotProgramCurves(chart_, ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true)), a.linear,
                      a.loaded, a.log);
    chart_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart_));
    Settle();
  }
  QImage WindowImage() { return chart_.grab().toImage().convertToFormat(QImage::Format_RGB32); }

  TChart chart_;
};

TEST_P(ChartExport, BitmapIsTheWindowImagePixelForPixel) {
  const QImage shown = WindowImage();
  ASSERT_EQ(shown.size(), QSize(kWidth, kHeight));
  chart_.CopyAsBitmap();
  const QImage copied = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(copied.size(), QSize(kWidth, kHeight));
  EXPECT_EQ(copied, shown);
  EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasImage());
  // A window on a screen at 200 % or 150 % copies the same 1x picture.
  for (const qreal scale : {2.0, 1.5}) {
    DenseChart dense(scale);
    SetUpProgramChart(dense);
    const ActiveSet a = GetParam();
    PlotProgramCurves(dense, ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true)), a.linear,
                      a.loaded, a.log);
    QImage target(QSize(kWidth, kHeight) * scale, QImage::Format_RGB32);
    target.setDevicePixelRatio(scale);
    dense.render(&target);
    EXPECT_EQ(dense.OffscreenImage().devicePixelRatio(), scale);
    EXPECT_EQ(dense.ExportBitmap().convertToFormat(QImage::Format_RGB32), copied) << scale;
  }
}

TEST_P(ChartExport, SvgIsOnePixelSmallerAndShowsPanelAndPlotWhereTheBitmapDoes) {
  const QImage bitmap = WindowImage();
  chart_.CopyAsMetafile(true);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_TRUE(data->hasFormat("image/svg+xml"));
  const QByteArray svg = data->data("image/svg+xml");
  EXPECT_TRUE(svg.contains(R"(<svg width="344" height="320")")) << svg.left(300).constData();
  EXPECT_TRUE(svg.contains(R"(viewBox="0 0 344 320")"));
  QSvgRenderer renderer(svg);
  ASSERT_TRUE(renderer.isValid());
  EXPECT_EQ(renderer.defaultSize(), QSize(344, 320));

  QImage drawn(344, 320, QImage::Format_RGB32);
  drawn.fill(Qt::white);
  {
    QPainter p(&drawn);
    renderer.render(&p);
  }
  // Away from edges (the renderer smooths them), aqua and black agree.
  int aqua = 0, black = 0;
  for (int y = 1; y < 319; ++y)
    for (int x = 1; x < 343; ++x) {
      const QRgb c = bitmap.pixel(x, y);
      if (c != kAqua && c != kBlack) continue;
      bool uniform = true;
      for (int dy = -1; dy <= 1 && uniform; ++dy)
        for (int dx = -1; dx <= 1 && uniform; ++dx) uniform = bitmap.pixel(x + dx, y + dy) == c;
      if (!uniform) continue;
      ASSERT_EQ(drawn.pixel(x, y), c) << x << "," << y;
      ++(c == kAqua ? aqua : black);
    }
  EXPECT_GT(aqua, 10000);
  EXPECT_GT(black, 30000);
}

INSTANTIATE_TEST_SUITE_P(Curves, ChartExport,
                         ::testing::Values(ActiveSet{true, true, false}, ActiveSet{true, true, true},
                                           ActiveSet{false, false, false}));

class ChartExportOnce : public ChartExport {};

TEST_P(ChartExportOnce, SvgKeepsTextAsTextAndCurvesAsLinesInsideThePlot) {
  chart_.CopyAsMetafile(false);
  const QByteArray svg = QGuiApplication::clipboard()->mimeData()->data("image/svg+xml");
  const QString text = QString::fromUtf8(svg);
  EXPECT_TRUE(text.contains(">" + kTitle + "</text>"));
  EXPECT_TRUE(text.contains(">" + kBottomTitle + "</text>"));
  EXPECT_TRUE(text.contains(">100</text>"));
  // The red curve: polylines only, every end inside the plot's clip.
  const Expected e;
  static const QRegularExpression group(R"re(stroke="#ff0000"[^>]*>\s*((?:<polyline[^>]*>\s*)+))re");
  static const QRegularExpression points(R"re(points="([-\d.]+),([-\d.]+) ([-\d.]+),([-\d.]+) ")re");
  int segments = 0;
  for (auto g = group.globalMatch(text); g.hasNext();) {
    const QString lines = g.next().captured(1);
    for (auto m = points.globalMatch(lines); m.hasNext(); ++segments) {
      const auto p = m.next();
      for (int k : {1, 3}) {
        EXPECT_GE(p.captured(k).toDouble(), e.left + 1 - 1e-9);
        EXPECT_LE(p.captured(k).toDouble(), e.right + 1e-9);
      }
      for (int k : {2, 4}) {
        EXPECT_GE(p.captured(k).toDouble(), e.top + 1 - 1e-9);
        EXPECT_LE(p.captured(k).toDouble(), e.bottom - 1 + 1e-9);
      }
    }
  }
  EXPECT_GT(segments, 20);
  EXPECT_LT(svg.count("<rect"), 200) << "lines are not written pixel by pixel";
}

TEST_P(ChartExportOnce, CopyingChangesNothingAndAsksForNoPaint) {
  const qint64 passes = chart_.DrawingPassCount();
  PaintCounter counter(&chart_);
  const double bottomMax = chart_.BottomAxis()->Maximum();
  const QStringList title = chart_.Title()->TextLines();
  chart_.CopyAsBitmap();
  chart_.CopyAsMetafile(true);
  EXPECT_EQ(chart_.DrawingPassCount(), passes + 2);
  Settle();
  EXPECT_EQ(counter.paints, 0) << "no paint was asked for";
  EXPECT_TRUE(chart_.BufferedDisplay());
  EXPECT_EQ(chart_.BottomAxis()->Maximum(), bottomMax);
  EXPECT_EQ(chart_.Title()->TextLines(), title);
  // The off-screen image was dropped: the next paint draws afresh.
  EXPECT_TRUE(chart_.ImageStale());
  chart_.repaint();
  EXPECT_EQ(chart_.DrawingPassCount(), passes + 3);
}

TEST_P(ChartExportOnce, ACopyShowsAnUnpaintedChangeAndReplacesTheLastCopy) {
  chart_.CopyAsBitmap();
  const QImage first = QGuiApplication::clipboard()->image();
  chart_.Title()->Text().Clear();
  chart_.Title()->Text().Add(QStringLiteral("Montage en Pseudo Anti-Log"));
  chart_.CopyAsBitmap();  // before any paint
  const QImage second = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  EXPECT_NE(second, first.convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(second, WindowImage());

  chart_.CopyAsMetafile(true);  // the SVG replaces the bitmap
  EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasImage());
  EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat("image/svg+xml"));
}

TEST_P(ChartExportOnce, ARefusedClipboardRaisesTheMessageAndKeepsItsContent) {
  QGuiApplication::clipboard()->setText(QStringLiteral("avant"));
  Refusing refusing;
  {
    ScopedChartClipboard scope(refusing);
    for (int k = 0; k < 2; ++k) {
      try {
        k == 0 ? chart_.CopyAsBitmap() : chart_.CopyAsMetafile(true);
        ADD_FAILURE() << "no error raised";
      } catch (const EClipboardError& error) {
        EXPECT_STREQ(error.what(), "Ne peut ouvrir le Presse-papiers");
      }
    }
  }
  EXPECT_EQ(refusing.calls, 2);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("avant"));
  EXPECT_TRUE(chart_.BufferedDisplay());
  // The system clipboard is back.
  chart_.CopyAsBitmap();
  EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasImage());
}

INSTANTIATE_TEST_SUITE_P(Plotted, ChartExportOnce, ::testing::Values(ActiveSet{true, true, false}));

TEST(ChartExportSize, VectorCopyIsOnePixelSmallerButNeverEmpty) {
  struct Case {
    QSize chart, svg;
  } cases[] = {{{345, 321}, {344, 320}}, {{2, 2}, {1, 1}}, {{1, 1}, {1, 1}}, {{0, 0}, {1, 1}}};
  for (const Case& c : cases) {
    TChart chart;
    SetUpProgramChart(chart);
    chart.resize(c.chart);
    QSvgRenderer renderer(chart.ExportSvg());
    EXPECT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.defaultSize(), c.svg) << c.chart.width();
    EXPECT_FALSE(chart.ExportBitmap().isNull());
  }
}

}  // namespace
}  // namespace dorvane::chart
