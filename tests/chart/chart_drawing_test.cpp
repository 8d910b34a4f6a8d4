// The program's chart drawn pixel by pixel: geometry from the font metrics,
// labels, ticks, grid, titles, walls and the curves.
#include <QApplication>
#include <QPainter>
#include <QTest>
#include <algorithm>
#include <cmath>
#include "support/layout_metrics.h"

#include <gtest/gtest.h>

#include "chart_test_support.h"
#include "core/curves.h"

namespace dorvane::chart {
namespace {

using namespace dorvane::chart::support;

class ProgramChart : public ::testing::Test {
 protected:
  void SetUp() override { SetUpProgramChart(chart); }
  TChart chart;
};

// Minor ticks of the program's chart at the quarters between neighbouring
// major ticks, counted from the lower one and rounded half to even, none
// beyond the axis ends. Bottom axis: majors 43, 72, ..., 335 (29 or 30 px
// apart); left axis: majors 31, 56, ..., 286 (25 or 26 px apart).
const std::vector<int> kMinorsX = {50,  57,  65,  79,  86,  94,  109, 116, 123, 138, 145, 153, 167, 174, 182,
                                   196, 203, 211, 225, 232, 240, 255, 262, 269, 284, 291, 299, 313, 320, 328};
const std::vector<int> kMinorsY = {37,  44,  50,  62,  69,  76,  88,  95,  102, 114, 121, 127, 139, 146, 152,
                                   164, 171, 178, 190, 197, 204, 216, 223, 229, 241, 248, 254, 266, 273, 280};

TEST_F(ProgramChart, WorkedGeometry) {
  const Expected e;
  Render(chart);
  EXPECT_EQ(chart.PlotRect(), (gfx::Rect{e.left, e.top, e.right, e.bottom}));
  const TChartAxis& bottom = *chart.BottomAxis();
  const TChartAxis& left = *chart.LeftAxis();
  EXPECT_EQ(bottom.StartPixel(), e.left);
  EXPECT_EQ(bottom.EndPixel(), 335);
  EXPECT_EQ(left.StartPixel(), e.top);
  EXPECT_EQ(left.EndPixel(), e.bottom);
  EXPECT_EQ(bottom.AxisLinePos(), e.bottom);
  EXPECT_EQ(left.AxisLinePos(), e.left);
  EXPECT_EQ(bottom.TitleEdge(), 318 - e.h);
  EXPECT_EQ(bottom.LabelsEdge(), 318 - 2 * e.h);
  EXPECT_EQ(left.TitleEdge(), 3 + e.h);
  EXPECT_EQ(left.LabelsEdge(), 3 + e.h + e.w100 + e.wBlank);
  EXPECT_EQ(e.stepX, 10);
  EXPECT_EQ(bottom.TickPositions(), e.TicksX());
  EXPECT_EQ(left.TickPositions(), e.TicksY());
  EXPECT_EQ(bottom.TickPositions().front(), 335) << "100 at the right end";
  EXPECT_EQ(left.TickPositions().back(), e.bottom) << "0 at the bottom";
}

TEST_F(ProgramChart, BackgroundWallAndAxisLines) {
  const Expected e;
  const QImage img = Render(chart);
  for (QPoint p :
       {QPoint(0, 0), QPoint(344, 0), QPoint(0, 320), QPoint(344, 320), QPoint(2, 100), QPoint(340, 100)})
    EXPECT_EQ(img.pixel(p), kAqua) << p.x() << "," << p.y();
  // The wall is one dark area from the left to the right edge, inclusive.
  for (int y = e.top; y <= e.bottom; ++y)
    for (int x = e.left; x <= e.right; ++x) {
      const QRgb c = img.pixel(x, y);
      ASSERT_TRUE(c == kBlack || c == kGrey) << x << "," << y;
    }
  for (int y = e.top; y <= e.bottom; ++y) EXPECT_EQ(img.pixel(e.right + 1, y), kAqua) << y;
  for (int x = e.left; x <= e.right; ++x) EXPECT_EQ(img.pixel(x, e.top - 1), kAqua) << x;
  // The left axis line is two pixels wide, its outer column left of the
  // wall; ticks start on that column.
  const std::vector<int> ticksY = e.TicksY(), minorsY = kMinorsY;
  for (int y = e.top; y < e.bottom; ++y) {
    const bool tick = std::find(ticksY.begin(), ticksY.end(), y) != ticksY.end() ||
                      std::find(minorsY.begin(), minorsY.end(), y) != minorsY.end();
    EXPECT_EQ(img.pixel(e.left - 1, y), tick ? kGrey : kBlack) << y;
  }
}

TEST_F(ProgramChart, TicksAndMinorTicks) {
  const Expected e;
  const QImage img = Render(chart);
  const std::vector<int> ticks = e.TicksX();
  for (int t : ticks) {
    for (int y = e.bottom + 1; y <= e.bottom + 4; ++y) EXPECT_EQ(img.pixel(t, y), kGrey) << t << "," << y;
    EXPECT_EQ(img.pixel(t, e.bottom + 5), kAqua) << t;
  }
  for (int m : kMinorsX) {
    EXPECT_EQ(img.pixel(m, e.bottom + 1), kGrey) << m;
    EXPECT_EQ(img.pixel(m, e.bottom + 2), kGrey) << m;
    EXPECT_EQ(img.pixel(m, e.bottom + 3), kAqua) << m;
  }
  // No tick anywhere else below the axis, beyond its ends included (left of
  // it the left axis' labels begin).
  for (int x = e.left - 4; x < kWidth; ++x) {
    const bool tick = std::find(ticks.begin(), ticks.end(), x) != ticks.end() ||
                      std::find(kMinorsX.begin(), kMinorsX.end(), x) != kMinorsX.end();
    EXPECT_EQ(img.pixel(x, e.bottom + 2), tick ? kGrey : kAqua) << x;
  }
  for (int m : kMinorsY) {
    EXPECT_EQ(img.pixel(e.left - 2, m), kGrey) << m;
    EXPECT_EQ(img.pixel(e.left - 3, m), kAqua) << m;
  }
  for (int t : e.TicksY()) {
    for (int x = e.left - 4; x <= e.left - 1; ++x) EXPECT_EQ(img.pixel(x, t), kGrey) << x << "," << t;
    EXPECT_EQ(img.pixel(e.left - 5, t), kAqua) << t;
  }
  // Between two ticks of the bottom axis nothing else hangs below the axis.
  EXPECT_EQ(img.pixel(ticks[1] + 1, e.bottom + 1), kAqua);
}

TEST_F(ProgramChart, DottedGridShowsTheWallBetweenDots) {
  const Expected e;
  const QImage img = Render(chart);
  const std::vector<int> xs = e.TicksX(), ys = e.TicksY();
  // Vertical lines: a dot every third row from the top.
  for (size_t i = 1; i + 1 < xs.size(); ++i)
    for (int y = e.top + 1; y < ys[1]; ++y)
      EXPECT_EQ(img.pixel(xs[i], y), (y - e.top) % 3 == 0 ? kGrey : kBlack) << xs[i] << "," << y;
  // Horizontal lines: a dot every third column from the left edge.
  for (size_t i = 1; i + 1 < ys.size(); ++i)
    for (int x = e.left + 1; x < xs[xs.size() - 2]; ++x)
      EXPECT_EQ(img.pixel(x, ys[i]), (x - e.left) % 3 == 0 ? kGrey : kBlack) << x << "," << ys[i];
  // Away from the lines the wall is black.
  EXPECT_EQ(img.pixel(xs[1] + 1, ys[1] + 1), kBlack);
}

TEST_F(ProgramChart, LabelsAndTitlesWhereTheMetricsPutThem) {
  const Expected e;
  const testsupport::LayoutMetrics fm = Metrics();
  const QImage img = Render(chart);
  struct Text {
    QString text;
    QPoint cell;
    QRgb colour;
  };
  std::vector<Text> texts;
  for (int v : {0, 50, 100}) {
    const QString s = QString::number(v);
    const int w = fm.horizontalAdvance(s);
    texts.push_back({s, {e.X(v) - w / 2, 318 - 2 * e.h}, kBlack});
    texts.push_back({s, {3 + e.h + e.w100 + e.wBlank - w, e.Y(v) - e.h / 2}, kBlack});
  }
  texts.push_back({kTitle, {(3 + 335) / 2 - fm.horizontalAdvance(kTitle) / 2, 13}, kBlue});
  texts.push_back(
      {kBottomTitle, {(e.left + 335) / 2 - fm.horizontalAdvance(kBottomTitle) / 2, 318 - e.h}, kBlack});
  for (const Text& t : texts) {
    const QRect cell(t.cell, QSize(fm.horizontalAdvance(t.text), e.h));
    EXPECT_EQ(DifferentPixels(img, ReferenceText(t.text, t.cell, t.colour), cell), 0)
        << t.text.toStdString() << " at " << t.cell.x() << "," << t.cell.y();
  }
  // "100" of the bottom axis reaches into the right margin.
  EXPECT_GT(e.X(100) + fm.horizontalAdvance(QStringLiteral("100")) / 2, 335);
  EXPECT_LT(CountColour(img, kAqua, QRect(336, 318 - 2 * e.h, 9, e.h)), 9 * e.h);

  // The left title reads upwards, centred on the axis, its foot on TitleEdge.
  // Drawn upright and turned, as the title is laid out.
  QImage upright(fm.horizontalAdvance(kLeftTitle), e.h, QImage::Format_RGB32);
  upright.fill(kAqua);
  {
    QPainter p(&upright);
    p.setFont(ChartFont());
    p.setPen(Qt::black);
    p.drawText(QPoint(0, fm.ascent()), kLeftTitle);
  }
  QImage ref(kWidth, kHeight, QImage::Format_RGB32);
  ref.fill(kAqua);
  QPainter(&ref).drawImage(3, (e.top + e.bottom) / 2 + upright.width() / 2 - upright.width(),
                           upright.transformed(QTransform().rotate(-90)));
  const QRect band(3, e.top, e.h, e.bottom - e.top);
  EXPECT_EQ(DifferentPixels(img, ref, band), 0);
  EXPECT_GT(CountNot(img, kAqua, band), 50);
}

TEST_F(ProgramChart, TitleLinesMoveThePlot) {
  const int h = Metrics().height();
  struct Case {
    QStringList lines;
    bool visible;
    int top;
  };
  const Case cases[] = {
      {{}, true, 13},
      {{QStringLiteral("Un")}, true, 13 + h + 5},
      {{QStringLiteral("Un"), QStringLiteral("Deux")}, true, 13 + 2 * h + 5},
      {{QStringLiteral("Un")}, false, 13},
  };
  for (const Case& c : cases) {
    chart.Title()->setText(c.lines);
    chart.Title()->setVisible(c.visible);
    Render(chart);
    EXPECT_EQ(chart.PlotRect().top, c.top) << c.lines.size() << " lines, visible " << c.visible;
  }
}

// Without numbers the left axis keeps no label band, and neither axis has
// ticks or grid; titles and axis lines stay.
void ExpectAxesWithoutNumbers(const QImage& img, TChart& chart) {
  const Expected e(true, false);
  EXPECT_EQ(chart.PlotRect(), (gfx::Rect{e.left, e.top, e.right, e.bottom}));
  EXPECT_EQ(e.left, 3 + e.h + 6);
  EXPECT_EQ(CountColour(img, kAqua, QRect(0, 318 - 2 * e.h, kWidth, e.h)), kWidth * e.h)
      << "no bottom labels";
  EXPECT_EQ(CountColour(img, kAqua, QRect(e.left, e.bottom + 1, e.right - e.left, 4)), (e.right - e.left) * 4)
      << "no ticks";
  const QRect inside(e.left + 1, e.top + 1, e.right - e.left - 1, e.bottom - e.top - 2);
  EXPECT_EQ(CountColour(img, kBlack, inside), inside.width() * inside.height()) << "no grid, no curve";
  for (int y = e.top; y < e.bottom; ++y) ASSERT_EQ(img.pixel(e.left - 1, y), kBlack) << "axis line, " << y;
  EXPECT_GT(CountNot(img, kAqua, QRect(3, e.top, e.h, e.bottom - e.top)), 50) << "left title";
  EXPECT_GT(CountNot(img, kAqua, QRect(0, 318 - e.h, kWidth, e.h)), 50) << "bottom title";
  EXPECT_LT(CountColour(img, kAqua, QRect(0, 13, kWidth, e.h)), kWidth * e.h) << "chart title";
}

TEST_F(ProgramChart, EmptySeriesListDrawsBackgroundTitleWallAndBareAxes) {
  while (chart.SeriesCount() > 0) chart.RemoveSeries(chart.Series(0));
  const QImage img = Render(chart);
  ExpectAxesWithoutNumbers(img, chart);
}

TEST_F(ProgramChart, AllSeriesInactiveKeepTheirPoints) {
  PlotProgramCurves(chart, ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true)), false, false,
                    false);
  const QImage img = Render(chart);
  ExpectAxesWithoutNumbers(img, chart);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(chart.Series(i)->Count(), 101);
}

TEST_F(ProgramChart, ShownAxes) {
  TChart plain;
  EXPECT_TRUE(plain.IsAxisShown(plain.TopAxis())) << "no active series: every visible axis";
  EXPECT_FALSE(plain.IsAxisShown(plain.DepthAxis()));
  auto* s = new TLineSeries(&plain);
  plain.AddSeries(s);
  EXPECT_TRUE(plain.IsAxisShown(plain.BottomAxis()));
  EXPECT_TRUE(plain.IsAxisShown(plain.LeftAxis()));
  EXPECT_FALSE(plain.IsAxisShown(plain.TopAxis()));
  EXPECT_FALSE(plain.IsAxisShown(plain.RightAxis()));
  s->setVertAxis(aBothVertAxis);
  EXPECT_TRUE(plain.IsAxisShown(plain.RightAxis()));
  s->setActive(false);
  EXPECT_TRUE(plain.IsAxisShown(plain.TopAxis()));
  plain.setAxisVisible(false);
  EXPECT_FALSE(plain.IsAxisShown(plain.BottomAxis()));
  EXPECT_FALSE(chart.IsAxisShown(chart.TopAxis()));
  EXPECT_FALSE(chart.IsAxisShown(chart.RightAxis()));
}

TEST(ChartAxes, AutomaticRangeFollowsTheActiveSeries) {
  TChart chart;
  chart.resize(kWidth, kHeight);
  auto* a = new TLineSeries(&chart);
  auto* b = new TLineSeries(&chart);
  chart.AddSeries(a);
  chart.AddSeries(b);
  a->AddPoint(10, 5);
  a->AddPoint(20, 7);
  b->AddPoint(-4, 30);
  Render(chart);
  EXPECT_EQ(chart.BottomAxis()->ShownMin(), -4);
  EXPECT_EQ(chart.BottomAxis()->ShownMax(), 20);
  EXPECT_EQ(chart.LeftAxis()->ShownMax(), 30);
  b->setActive(false);
  Render(chart);
  EXPECT_EQ(chart.BottomAxis()->ShownMin(), 10);
  EXPECT_EQ(chart.LeftAxis()->ShownMin(), 5);
  EXPECT_EQ(chart.LeftAxis()->ShownMax(), 7);
  chart.BottomAxis()->SetMinMax(0, 50);  // a fixed range ignores the points
  Render(chart);
  EXPECT_EQ(chart.BottomAxis()->ShownMin(), 0);
  EXPECT_EQ(chart.BottomAxis()->ShownMax(), 50);
}

// --- the program's curves -----------------------------------------------------

TEST_F(ProgramChart, InitialCurves) {
  const Expected e;
  const Curves curves = ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true));
  PlotProgramCurves(chart, curves, true, true, false);
  QImage img = Render(chart);
  const QRect clip(e.left + 1, e.top + 1, e.right - e.left - 1, e.bottom - e.top - 2);
  auto pixelOf = [&](const CurvePoint& p) { return QPoint(e.X(p.x), e.Y(p.y)); };
  int greens = 0, reds = 0;
  for (int i = 0; i < 100; ++i) {  // the last point starts no segment
    const QPoint g = pixelOf(curves.linear[size_t(i)]), r = pixelOf(curves.loaded[size_t(i)]);
    if (clip.contains(r)) {
      EXPECT_EQ(img.pixel(r), kRed) << "loaded point " << i;
      ++reds;
    }
    if (clip.contains(g)) {
      EXPECT_TRUE(img.pixel(g) == kGreen || img.pixel(g) == kRed) << "linear point " << i;
      greens += img.pixel(g) == kGreen;
    }
  }
  EXPECT_GT(greens, 90);
  EXPECT_GT(reds, 90);
  EXPECT_EQ(CountColour(img, kSilver, QRect(0, 0, kWidth, kHeight)), 0) << "the log curve is off";
  // Nothing of the curves outside the clip rectangle.
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      if (!clip.contains(x, y)) {
        ASSERT_TRUE(img.pixel(x, y) != kRed && img.pixel(x, y) != kGreen) << x << "," << y;
      }

  chart.Series(2)->setActive(true);
  img = Render(chart);
  int silvers = 0;
  for (int i = 1; i < 100; ++i) {
    const QPoint s = pixelOf(curves.log[size_t(i)]);
    if (clip.contains(s)) {
      EXPECT_EQ(img.pixel(s), kSilver) << "log point " << i << " drawn last";
      ++silvers;
    }
  }
  EXPECT_GT(silvers, 80);
}

// The main window's dB scale: 0 down to -60 dB, a label every 10 dB, the
// curves at 20 log10(y / 100) and 0 % on the bottom line.
TEST_F(ProgramChart, DecibelScale) {
  const Expected e;
  const testsupport::LayoutMetrics fm = Metrics();
  forms::SetVerticalScale(chart, true, QString());
  const Curves curves = ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true));
  PlotProgramCurves(chart, curves, true, true, false, true);
  const QImage img = Render(chart);
  const int left = 3 + e.h + fm.horizontalAdvance(QStringLiteral("-60")) + e.wBlank + 6;
  EXPECT_EQ(chart.PlotRect(), (gfx::Rect{left, e.top, e.right, e.bottom}));
  const auto x = [&](double v) { return left + Round(v * (e.right - left) / 100); };
  const auto y = [&](double db) { return e.bottom - Round((db + 60) * (e.bottom - e.top) / 60); };
  std::vector<int> ticks;
  for (int db = 0; db >= -60; db -= 10) ticks.push_back(y(db));
  EXPECT_EQ(chart.LeftAxis()->TickPositions(), ticks);
  EXPECT_EQ(chart.LeftAxis()->Title()->Caption(), QString::fromUtf8("Atténuation (dB)"));
  const QRect clip(left + 1, e.top + 1, e.right - left - 1, e.bottom - e.top - 2);
  int reds = 0;
  for (int i = 1; i < 100; ++i) {
    const QPoint r(x(i), y(20 * std::log10(curves.loaded[size_t(i)].y / 100)));
    if (clip.contains(r)) reds += img.pixel(r) == kRed;
  }
  EXPECT_GT(reds, 90);
  EXPECT_EQ(chart.Series(1)->YValues()->Value(0), -60);  // 0 %
}

// One red series on the program's chart without a title; returns the image.
struct OneSeries {
  TChart chart;
  TLineSeries* series;
  Expected e{false};
  OneSeries() {
    chart.resize(kWidth, kHeight);
    ConfigureProgramChart(chart);
    chart.Title()->Text().Clear();
    series = static_cast<TLineSeries*>(chart.Series(1));
    chart.Series(0)->setActive(false);
    chart.Series(2)->setActive(false);
  }
  bool RedIn(const QImage& img, int x, int y0, int y1) const {
    for (int y = y0; y <= y1; ++y)
      if (img.pixel(x, y) == kRed) return true;
    return false;
  }
};

TEST(ChartSeriesDrawing, ZeroColumnAndPlotEdgesAreClipped) {
  OneSeries s;
  for (double y : {50.0, 100.0, 0.0}) {
    s.series->RemoveAllPoints();
    s.series->AddPoint(0, y);
    s.series->AddPoint(100, y);
    const QImage img = Render(s.chart);
    const int row = s.e.Y(y);
    const int painted = CountColour(img, kRed, QRect(0, 0, kWidth, kHeight));
    if (y == 50) {
      EXPECT_NE(img.pixel(s.e.left, row), kRed) << "x = 0 lies on the clipped left edge";
      EXPECT_EQ(img.pixel(s.e.left + 1, row), kRed);
      EXPECT_EQ(painted, s.e.right - s.e.left - 1) << "columns left + 1 .. right - 1";
    } else {
      EXPECT_EQ(painted, 0) << "top and bottom rows are clipped, y = " << y;
    }
  }
}

TEST(ChartSeriesDrawing, OnePointAndRepeatedPixelsDrawNothing) {
  OneSeries s;
  s.series->AddPoint(40, 40);
  EXPECT_EQ(CountColour(Render(s.chart), kRed, QRect(0, 0, kWidth, kHeight)), 0);
  ASSERT_EQ(s.e.X(40), s.e.X(40.01));
  ASSERT_EQ(s.e.Y(40), s.e.Y(40.01));
  s.series->AddPoint(40.01, 40.01);  // the same pixel
  EXPECT_EQ(CountColour(Render(s.chart), kRed, QRect(0, 0, kWidth, kHeight)), 0);
  s.series->AddPoint(80, 40.01);
  const QImage img = Render(s.chart);
  const int row = s.e.Y(40);
  EXPECT_EQ(CountColour(img, kRed, QRect(0, row, kWidth, 1)), s.e.X(80) - s.e.X(40));
  EXPECT_EQ(CountColour(img, kRed, QRect(0, 0, kWidth, kHeight)), s.e.X(80) - s.e.X(40));
  EXPECT_EQ(img.pixel(s.e.X(40), row), kRed) << "from the shared pixel on";
}

TEST(ChartSeriesDrawing, FarAndNullPoints) {
  OneSeries s;
  // A point beyond the 16-bit pixel range is skipped: its neighbours join.
  s.series->AddPoint(0, 0);
  s.series->AddPoint(50, 1e9);
  s.series->AddPoint(100, 100);
  QImage img = Render(s.chart);
  EXPECT_TRUE(s.RedIn(img, s.e.X(75), s.e.Y(75) - 1, s.e.Y(75) + 1));
  EXPECT_EQ(CountColour(img, kRed, QRect(0, s.e.top, kWidth, 20)), 20) << "one diagonal, no spike";

  // A null point is stored but joins neither neighbour.
  s.series->RemoveAllPoints();
  s.series->AddPoint(0, 10);
  s.series->AddPoint(25, 50);
  s.series->AddPoint(50, 50, QString(), gfx::clNone);
  s.series->AddPoint(75, 10);
  s.series->AddPoint(100, 10);
  img = Render(s.chart);
  EXPECT_TRUE(s.RedIn(img, s.e.X(12), s.e.top, s.e.bottom));
  EXPECT_FALSE(s.RedIn(img, s.e.X(37), s.e.top, s.e.bottom));
  EXPECT_FALSE(s.RedIn(img, s.e.X(62), s.e.top, s.e.bottom));
  EXPECT_EQ(img.pixel(s.e.X(87), s.e.Y(10)), kRed);
}

TEST(ChartSeriesDrawing, SegmentsEnteringAndLeavingThePlot) {
  OneSeries s;
  s.series->AddPoint(0, 0);
  s.series->AddPoint(100, 100);
  s.series->AddPoint(200, 0);
  s.chart.BottomAxis()->SetMinMax(50, 100);
  QImage img = Render(s.chart);
  EXPECT_EQ(s.series->FirstDrawnIndex(), 1);
  EXPECT_EQ(s.series->LastDrawnIndex(), 1);
  // From the left edge at y = 50 up to (100, 100).
  EXPECT_TRUE(s.RedIn(img, s.e.left + 2, s.e.Y(50) - 2, s.e.Y(50) + 1));
  EXPECT_TRUE(s.RedIn(img, (s.e.left + s.e.right) / 2, s.e.Y(75) - 1, s.e.Y(75) + 1));

  s.chart.BottomAxis()->SetMinMax(0, 50);
  img = Render(s.chart);
  EXPECT_EQ(s.series->FirstDrawnIndex(), 0);
  EXPECT_EQ(s.series->LastDrawnIndex(), 1) << "the point past the right edge is still drawn";
  EXPECT_TRUE(s.RedIn(img, s.e.right - 2, s.e.Y(50) - 2, s.e.Y(50) + 2))
      << "the segment leaves through the edge";

  // The entering segment is left out when the point before it is null.
  s.series->RemoveAllPoints();
  s.series->AddPoint(0, 0, QString(), gfx::clNone);
  s.series->AddPoint(100, 100);
  s.chart.BottomAxis()->SetMinMax(50, 100);
  EXPECT_EQ(CountColour(Render(s.chart), kRed, QRect(0, 0, kWidth, kHeight)), 0);
}

TEST(ChartSeriesDrawing, ListOrderAndSegmentColour) {
  OneSeries s;
  TChartSeries* green = s.chart.Series(0);
  green->setActive(true);
  for (TChartSeries* series : {green, static_cast<TChartSeries*>(s.series)}) {
    series->AddPoint(0, 40);
    series->AddPoint(100, 60);
  }
  s.series->LinePen()->setColor(gfx::clBlue);  // never used for segments
  const QImage img = Render(s.chart);
  const QRect all(0, 0, kWidth, kHeight);
  EXPECT_GT(CountColour(img, kRed, all), 200);
  EXPECT_EQ(CountColour(img, kGreen, all), 0) << "the later series covers the earlier";
  EXPECT_EQ(CountColour(img, kBlue, all), 0);
}

TEST(ChartSeriesDrawing, StepBelowRangeOneAndDecimalSeparator) {
  OneSeries s;
  s.chart.setDecimalSeparator(u',');
  s.chart.BottomAxis()->SetMinMax(0, 0.5);
  Render(s.chart);
  const TChartAxis& axis = *s.chart.BottomAxis();
  EXPECT_NEAR(axis.Geometry().step, 0.05, 1e-15);
  EXPECT_EQ(axis.TickPositions().size(), 11u);
  EXPECT_EQ(axis.LabelText(0.05), QStringLiteral("0,05"));
  EXPECT_EQ(axis.LabelText(0.5), QStringLiteral("0,5"));
}

TEST(ChartRanges, SettersRefuseContradictions) {
  TChart chart;
  TChartAxis& axis = *chart.LeftAxis();
  axis.setMaximum(100);
  struct Case {
    std::function<void()> act;
    const char* message;
  };
  const Case cases[] = {
      {[&] { axis.setMinimum(101); }, "La valeur minimum de l'axe doit être <= Maximum"},
      {[&] { axis.setMaximum(-1); }, "La valeur maximum de l'axe doit être >= Minimum"},
      {[&] { axis.setIncrement(-0.5); }, "L'incrément de l'axe doit être >= 0"},
  };
  for (const Case& c : cases) {
    try {
      c.act();
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const EChartError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
  EXPECT_EQ(axis.Minimum(), 0);
  EXPECT_EQ(axis.Maximum(), 100);
  EXPECT_EQ(axis.Increment(), 0);
  chart.setLoading(true);
  axis.setMinimum(150);  // while loading the check waits
  EXPECT_EQ(axis.Minimum(), 150);
  chart.setLoading(false);
  EXPECT_THROW(axis.setIncrement(-1), EChartError) << "always refused";

  axis.SetMinMax(80, 20);
  EXPECT_EQ(axis.Minimum(), 20);
  EXPECT_EQ(axis.Maximum(), 80);
  EXPECT_FALSE(axis.Automatic());
  axis.SetMinMax(5, 5);
  EXPECT_EQ(axis.Minimum(), 5);
  EXPECT_NEAR(axis.Maximum() - axis.Minimum(), 1e-10, 1e-15);
}

TEST(ChartRanges, AbsurdRangesDrawWithoutHanging) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  const std::pair<double, double> ranges[] = {
      {0, inf}, {-1.7e308, 1.7e308}, {1e22 - 1e5, 1e22}, {-1e-300, 1e-300}, {1e15, 1e15 + 1e-3}};
  for (auto [lo, hi] : ranges) {
    SCOPED_TRACE(::testing::Message() << lo << " .. " << hi);
    OneSeries s;
    s.series->AddPoint(0, 0);
    s.series->AddPoint(1e300, -1e300);
    s.series->AddPoint(std::numeric_limits<double>::quiet_NaN(), inf);
    s.chart.BottomAxis()->SetMinMax(lo, hi);
    s.chart.LeftAxis()->SetMinMax(lo, hi);
    const QImage img = Render(s.chart);
    EXPECT_EQ(img.pixel(0, 0), kAqua);
    EXPECT_LE(s.chart.LeftAxis()->TickPositions().size(), 2000u);
  }
}

TEST(ChartRanges, AbsurdSettingsDrawWithoutHanging) {
  const std::vector<std::pair<const char*, std::function<void(TChart&)>>> settings = {
      {"tick lengths",
       [](TChart& c) {
         c.BottomAxis()->setTickLength(2000000000);
         c.LeftAxis()->setMinorTickLength(-2000000000);
         c.LeftAxis()->setTickInnerLength(2000000000);
       }},
      {"label and title sizes",
       [](TChart& c) {
         c.BottomAxis()->setLabelsSize(2000000000);
         c.LeftAxis()->setTitleSize(-2000000000);
       }},
      {"margins",
       [](TChart& c) {
         c.setMarginLeft(100000);
         c.setMarginTop(-100000);
         c.setBorderWidth(2000000000);
       }},
      {"positions",
       [](TChart& c) {
         c.BottomAxis()->setStartPosition(1e300);
         c.LeftAxis()->setEndPosition(-std::numeric_limits<double>::infinity());
       }},
      {"separation and minor count",
       [](TChart& c) {
         c.BottomAxis()->setLabelsSeparation(-5);
         c.LeftAxis()->setLabelsSeparation(2000000000);
         c.LeftAxis()->setMinorTickCount(2000000000);
       }},
      {"wide pens",
       [](TChart& c) {
         c.BottomAxis()->Axis()->setWidth(100000);
         c.LeftAxis()->Grid()->setWidth(100000);
         static_cast<TLineSeries*>(c.Series(1))->LinePen()->setWidth(1000);
       }},
  };
  for (const auto& [what, apply] : settings) {
    SCOPED_TRACE(what);
    TChart chart;
    SetUpProgramChart(chart);
    PlotProgramCurves(chart, ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true)), true, true,
                      true);
    apply(chart);
    const QImage img = Render(chart);
    EXPECT_FALSE(img.isNull());
  }
}

}  // namespace
}  // namespace dorvane::chart
