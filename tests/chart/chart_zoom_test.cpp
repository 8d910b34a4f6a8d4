// Zoom, undo, scroll and wheel with real mouse events on the program's
// chart. Pixel positions and axis values come from the chart's layout rules
// (chart_test_support.h), never from the chart itself.
#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "chart/chart_zoom.h"
#include "chart_test_support.h"
#include "core/curves.h"
#include "support/widget_helpers.h"

namespace dorvane::chart {
namespace {

using namespace dorvane::chart::support;

using testsupport::Settle;

void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}
void Press(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
  Send(w, QEvent::MouseButtonPress, p, b, b);
}
void MoveTo(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
  Send(w, QEvent::MouseMove, p, Qt::NoButton, b);
}
void Release(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
  Send(w, QEvent::MouseButtonRelease, p, b, Qt::NoButton);
}
void Drag(QWidget* w, QPoint from, QPoint to, Qt::MouseButton b = Qt::LeftButton) {
  Press(w, from, b);
  MoveTo(w, (from + to) / 2, b);
  MoveTo(w, to, b);
  Release(w, to, b);
}
void Wheel(QWidget* w, QPoint p, int delta) {
  QWheelEvent e(QPointF(p), w->mapToGlobal(QPointF(p)), QPoint(), QPoint(0, delta), Qt::NoButton,
                Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
}

QImage Shown(QWidget& w) {
  return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class ChartZoom : public ::testing::Test {
 protected:
  void SetUp() override { Open(chart_); }
  void Open(TChart& chart,
            Curves curves = ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true))) {
    SetUpProgramChart(chart);
    PlotProgramCurves(chart, curves, true, true, false);
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    Settle();
  }
  // Values at pixels of the unzoomed 0-100 axes.
  double XValue(int px) const { return (px - e_.left) * 100.0 / (e_.right - e_.left); }
  double YValue(int py) const { return 100 - (py - e_.top) * 100.0 / (e_.bottom - e_.top); }
  void ExpectRange(const TChartAxis* a, double min, double max) {
    EXPECT_NEAR(a->Minimum(), min, 1e-9);
    EXPECT_NEAR(a->Maximum(), max, 1e-9);
  }
  QPoint Centre() const { return {e_.X(50), e_.Y(50)}; }

  TChart chart_;
  const Expected e_;
};

TEST_F(ChartZoom, DragsOfSixteenPixelsDoNothingSeventeenZoomOrUndo) {
  enum Outcome { kNothing, kZoom, kUndo };
  struct Case {
    int dx, dy;
    Outcome outcome;
    qreal scale = 1;  // the screen's; drags stay in logical pixels
  } cases[] = {{16, 16, kNothing},   {17, 16, kNothing},  {16, 17, kNothing},    {-17, 16, kNothing},
               {-16, -30, kNothing}, {17, 17, kZoom},     {-17, -17, kUndo},     {17, -17, kUndo},
               {-17, 17, kUndo},     {40, 30, kZoom},     {16, 16, kNothing, 2}, {17, 17, kZoom, 2},
               {-17, -17, kUndo, 2}, {40, 30, kZoom, 1.5}};
  for (const Case& c : cases) {
    DenseChart chart(c.scale);
    Open(chart);
    ASSERT_EQ(chart.devicePixelRatioF(), c.scale);
    QSignalSpy zooms(&chart, &TChart::OnZoom), undos(&chart, &TChart::OnUndoZoom);
    const qint64 passes = chart.DrawingPassCount();
    const QPoint from = Centre(), to = from + QPoint(c.dx, c.dy);
    Drag(&chart, from, to);
    Settle();
    SCOPED_TRACE(::testing::Message() << c.dx << "," << c.dy << " at " << c.scale);
    EXPECT_EQ(zooms.count(), c.outcome == kZoom ? 1 : 0);
    EXPECT_EQ(undos.count(), c.outcome == kUndo ? 1 : 0);
    EXPECT_EQ(chart.Zoomed(), c.outcome == kZoom);
    EXPECT_EQ(chart.DrawingPassCount(), passes + (c.outcome == kNothing ? 0 : 1));
    if (c.outcome == kZoom) {
      ExpectRange(chart.BottomAxis(), XValue(from.x()), XValue(to.x()));
      ExpectRange(chart.LeftAxis(), YValue(to.y()), YValue(from.y()));
    } else {
      ExpectRange(chart.BottomAxis(), 0, 100);
      ExpectRange(chart.LeftAxis(), 0, 100);
    }
  }
}

TEST_F(ChartZoom, ZoomTo20To40RelabelsFinerAndReplotsInTheZoomedView) {
  const QPoint from(e_.X(20), e_.Y(90)), to(e_.X(40), e_.Y(50));
  Drag(&chart_, from, to);
  Settle();
  const double x0 = XValue(from.x()), x1 = XValue(to.x()), y0 = YValue(to.y()), y1 = YValue(from.y());
  ExpectRange(chart_.BottomAxis(), x0, x1);
  EXPECT_NEAR(x0, 20, 0.5);
  EXPECT_NEAR(x1, 40, 0.5);
  EXPECT_FALSE(chart_.BottomAxis()->Automatic());
  EXPECT_LT(chart_.BottomAxis()->Geometry().step, e_.stepX);
  EXPECT_GE(chart_.BottomAxis()->TickPositions().size(), 3u);
  EXPECT_LT(chart_.LeftAxis()->Geometry().step, e_.stepY);

  // An edit replots only the series: the zoom stays.
  const Curves edited = ComputeCurves(0, LoadedCircuit(100000, 10200, 4700, false, true));
  PlotProgramCurves(chart_, edited, true, true, false);
  Settle();
  ExpectRange(chart_.BottomAxis(), x0, x1);
  ExpectRange(chart_.LeftAxis(), y0, y1);
  TChart reference;
  Open(reference, edited);
  reference.BottomAxis()->SetMinMax(x0, x1);
  reference.LeftAxis()->SetMinMax(y0, y1);
  Settle();
  EXPECT_EQ(Shown(chart_), Shown(reference));
}

TEST_F(ChartZoom, UndoBringsBackTheRangesFromBeforeTheFirstZoom) {
  Drag(&chart_, Centre(), Centre() + QPoint(60, 50));
  Settle();
  Drag(&chart_, Centre() - QPoint(40, 40), Centre() + QPoint(40, 30));  // a second zoom inside the first
  Settle();
  EXPECT_TRUE(chart_.Zoomed());
  EXPECT_GT(chart_.BottomAxis()->Minimum(), 50);
  Drag(&chart_, Centre() + QPoint(30, 30), Centre() - QPoint(30, 30));
  Settle();
  EXPECT_FALSE(chart_.Zoomed());
  EXPECT_FALSE(chart_.Mouse().StateSaved());
  for (const TChartAxis* a : {chart_.BottomAxis(), chart_.LeftAxis()}) {
    ExpectRange(a, 0, 100);
    EXPECT_FALSE(a->Automatic());
    EXPECT_FALSE(a->AutomaticMinimum());
    EXPECT_FALSE(a->AutomaticMaximum());
  }
  EXPECT_TRUE(chart_.TopAxis()->Automatic());
  EXPECT_EQ(Shown(chart_), Render(chart_));
}

TEST_F(ChartZoom, RubberBandIsNotXorOverTheUnchangedImage) {
  for (gfx::Colour panel : {gfx::clAqua, gfx::clWhite}) {
    chart_.setColor(panel);
    Settle();
    const QImage plain = Shown(chart_);
    const qint64 passes = chart_.DrawingPassCount();
    // The pen is the panel colour, black on a white panel.
    const QRgb pen = panel == gfx::clWhite ? 0x000000 : 0x00FFFF;
    const QPoint a = Centre(), b = a + QPoint(40, 30);
    Press(&chart_, a);
    EXPECT_EQ(Shown(chart_), plain) << "an empty rectangle shows nothing";
    MoveTo(&chart_, a + QPoint(20, 20));
    MoveTo(&chart_, b);
    Settle();
    const QImage band = Shown(chart_);
    EXPECT_EQ(chart_.DrawingPassCount(), passes) << "a drag never replots";
    int onEdge = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const bool inside = x >= a.x() && x < b.x() && y >= a.y() && y < b.y();
        const bool edge = inside && (x == a.x() || x == b.x() - 1 || y == a.y() || y == b.y() - 1);
        const QRgb want = edge ? (0xFF000000 | (~(pen ^ plain.pixel(x, y)) & 0xFFFFFF)) : plain.pixel(x, y);
        ASSERT_EQ(band.pixel(x, y), want) << x << "," << y;
        onEdge += edge;
      }
    EXPECT_EQ(onEdge, 2 * 40 + 2 * 28);
    // Back to a short drag and let go: the rectangle goes, nothing changes.
    MoveTo(&chart_, a + QPoint(5, 5));
    Release(&chart_, a + QPoint(5, 5));
    Settle();
    EXPECT_EQ(Shown(chart_), plain);
    EXPECT_EQ(chart_.DrawingPassCount(), passes);
  }
}

TEST_F(ChartZoom, RightDragScrollsUntilTheMouseLeavesThePlot) {
  QSignalSpy scrolls(&chart_, &TChart::OnScroll);
  const QPoint c = Centre();
  const double dx = 10 * 100.0 / (e_.right - e_.left), dy = 6 * 100.0 / (e_.bottom - e_.top);
  Press(&chart_, c, Qt::RightButton);
  EXPECT_TRUE(chart_.Mouse().ScrollDrag().active);
  EXPECT_EQ(chart_.cursor().shape(), Qt::ArrowCursor);
  MoveTo(&chart_, c + QPoint(10, 0), Qt::RightButton);
  ExpectRange(chart_.BottomAxis(), -dx, 100 - dx);  // the plot follows the mouse
  ExpectRange(chart_.LeftAxis(), 0, 100);
  MoveTo(&chart_, c + QPoint(10, -6), Qt::RightButton);
  ExpectRange(chart_.LeftAxis(), -dy, 100 - dy);
  EXPECT_EQ(scrolls.count(), 2);
  Settle();
  EXPECT_EQ(chart_.BottomAxis()->ShownMin(), chart_.BottomAxis()->Minimum());

  // Out of the plot: the drag stops there, also when the mouse comes back.
  MoveTo(&chart_, QPoint(e_.right + 2, c.y()), Qt::RightButton);
  EXPECT_FALSE(chart_.Mouse().ScrollDrag().active);
  MoveTo(&chart_, c, Qt::RightButton);
  ExpectRange(chart_.BottomAxis(), -dx, 100 - dx);
  EXPECT_EQ(scrolls.count(), 2);
  Release(&chart_, c, Qt::RightButton);

  // Leaving the control stops a scroll and gives the cursor back.
  chart_.setCursor(Qt::CrossCursor);
  Press(&chart_, c, Qt::RightButton);
  EXPECT_EQ(chart_.cursor().shape(), Qt::ArrowCursor);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&chart_, &leave);
  EXPECT_FALSE(chart_.Mouse().ScrollDrag().active);
  EXPECT_EQ(chart_.cursor().shape(), Qt::CrossCursor);
  MoveTo(&chart_, c + QPoint(20, 20), Qt::RightButton);
  ExpectRange(chart_.BottomAxis(), -dx, 100 - dx);

  // A scroll saved the ranges: undo brings back 0-100.
  Drag(&chart_, c, c - QPoint(30, 30));
  ExpectRange(chart_.BottomAxis(), 0, 100);
  ExpectRange(chart_.LeftAxis(), 0, 100);
}

TEST_F(ChartZoom, AllowScrollCanVetoAnAxis) {
  QObject::connect(&chart_, &TChart::OnAllowScroll, [](TChartAxis* axis, double&, double&, bool& allow) {
    if (axis->Kind() == AxisKind::Bottom) allow = false;
  });
  const QPoint c = Centre();
  Press(&chart_, c, Qt::RightButton);
  MoveTo(&chart_, c + QPoint(10, 10), Qt::RightButton);
  Release(&chart_, c + QPoint(10, 10), Qt::RightButton);
  ExpectRange(chart_.BottomAxis(), 0, 100);
  EXPECT_NEAR(chart_.LeftAxis()->Minimum(), 10 * 100.0 / (e_.bottom - e_.top), 1e-9);
}

TEST_F(ChartZoom, WhatAPressStarts) {
  const QPoint c = Centre();
  const int labelRow = e_.bottom + 6 + e_.h / 2, labelColumn = e_.left - 6 - e_.w100 / 2;
  struct Case {
    const char* what;
    QPoint at;
    bool curves;
    bool starts;
  } cases[] = {
      {"title", {kWidth / 2, 13 + e_.h / 2}, true, false},
      {"cyan margin", {1, 1}, true, false},
      {"right margin", {e_.right + 3, c.y()}, true, false},
      {"bottom labels", {c.x(), labelRow}, true, false},
      {"left labels", {labelColumn, c.y()}, true, false},
      {"plot", c, true, true},
      {"curve", {e_.X(50), e_.Y(50)}, true, true},
      {"bottom axis band, gap side", {c.x(), e_.bottom - 3}, true, true},
      {"bottom axis band, ticks", {c.x(), e_.bottom + 5}, true, true},
      {"left axis band", {e_.left - 5, c.y()}, true, true},
      {"plot without curves", c, false, false},
      {"axis without curves", {c.x(), e_.bottom + 2}, false, true},
  };
  for (const Case& k : cases) {
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton}) {
      TChart chart;
      Open(chart);
      if (!k.curves) {
        for (int s = 0; s < chart.SeriesCount(); ++s) chart.Series(s)->setActive(false);
        Settle();
      }
      Press(&chart, k.at, b);
      const bool started =
          (b == Qt::LeftButton ? chart.Mouse().ZoomDrag() : chart.Mouse().ScrollDrag()).active;
      EXPECT_EQ(started, k.starts) << k.what << " button " << int(b);
      MoveTo(&chart, k.at + QPoint(30, 30), b);
      Release(&chart, k.at + QPoint(30, 30), b);
      if (!k.starts) {
        EXPECT_FALSE(chart.Zoomed()) << k.what;
      }
    }
  }
}

TEST_F(ChartZoom, SeriesHitFindsTheLastActiveCurveFirst) {
  // The green linear curve runs through (50, 50); the red loaded one lies
  // far below it there.
  const ChartHit onLinear = chart_.Mouse().HitTest({e_.X(50), e_.Y(50)});
  EXPECT_EQ(onLinear.kind, ChartHit::Series);
  EXPECT_EQ(onLinear.series, chart_.Series(0));
  const ChartHit offCurves = chart_.Mouse().HitTest({e_.X(50), e_.Y(80)});
  EXPECT_EQ(offCurves.kind, ChartHit::Plot);
  // Both curves meet at (100, 100): the later series wins.
  const ChartHit corner = chart_.Mouse().HitTest({e_.X(99), e_.Y(99) + 1});
  EXPECT_EQ(corner.series, chart_.Series(1));
}

TEST_F(ChartZoom, WheelMovesTheVerticalAxesByThreePercentAndRepaintsAtOnce) {
  const qint64 passes = chart_.DrawingPassCount();
  Wheel(&chart_, Centre(), -120);  // down
  ExpectRange(chart_.LeftAxis(), 3, 103);
  EXPECT_EQ(chart_.DrawingPassCount(), passes + 1);
  Wheel(&chart_, Centre(), 240);  // two notches up
  ExpectRange(chart_.LeftAxis(), 3 - 2 * 3, 103 - 2 * 3);
  Wheel(&chart_, Centre(), 60);  // half a notch waits for the other half
  ExpectRange(chart_.LeftAxis(), -3, 97);
  Wheel(&chart_, Centre(), 60);
  ExpectRange(chart_.LeftAxis(), -3 - 3, 97 - 3);
  ExpectRange(chart_.BottomAxis(), 0, 100);
  EXPECT_FALSE(chart_.Mouse().StateSaved());
}

TEST_F(ChartZoom, AnimatedZoomStepsThereWithRepaintsAndEndsAtTheSameRanges) {
  const QRect r(e_.X(20), e_.Y(80), e_.X(60) - e_.X(20), e_.Y(30) - e_.Y(80));
  TChart plain;  // never shown: the layout is there without a paint
  SetUpProgramChart(plain);
  PlotProgramCurves(plain, ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true)), true, true,
                    false);
  plain.ZoomRect(r);
  chart_.setAnimatedZoom(true);
  QSignalSpy zooms(&chart_, &TChart::OnZoom);
  const qint64 passes = chart_.DrawingPassCount();
  chart_.ZoomRect(r);
  EXPECT_EQ(chart_.DrawingPassCount(), passes + chart_.AnimatedZoomSteps() - 1);
  EXPECT_EQ(zooms.count(), 1);
  ExpectRange(chart_.BottomAxis(), XValue(r.left()), XValue(r.left() + r.width()));
  for (auto [a, b] :
       {std::pair{chart_.BottomAxis(), plain.BottomAxis()}, {chart_.LeftAxis(), plain.LeftAxis()}})
    ExpectRange(a, b->Minimum(), b->Maximum());
}

TEST_F(ChartZoom, MouseOnAChartNeverDrawnActsOnItsLayout) {
  // The same drags on a chart that was never drawn land where they land on
  // the shown one: the mouse reads the layout, which needs no paint.
  TChart unpainted;
  SetUpProgramChart(unpainted);
  PlotProgramCurves(unpainted, ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true)), true, true,
                    false);
  for (TChart* chart : {&unpainted, &chart_}) {
    Drag(chart, Centre(), Centre() + QPoint(60, 50));
    Drag(chart, Centre() + QPoint(10, 10), Centre() + QPoint(40, 30), Qt::RightButton);
  }
  EXPECT_EQ(unpainted.DrawingPassCount(), 0);
  EXPECT_TRUE(unpainted.Zoomed());
  for (auto [a, b] :
       {std::pair{unpainted.BottomAxis(), chart_.BottomAxis()}, {unpainted.LeftAxis(), chart_.LeftAxis()}})
    ExpectRange(a, b->Minimum(), b->Maximum());
  Wheel(&unpainted, {100, 100}, -120);
  const TChartAxis& left = *chart_.LeftAxis();
  EXPECT_NEAR(unpainted.LeftAxis()->Minimum(), left.Minimum() + 0.03 * (left.Maximum() - left.Minimum()),
              1e-9);
}

TEST_F(ChartZoom, NestedZoomsAwayFromTheCurvesDrawNoneOfThemAndKeepTicksOnTheAxes) {
  // The upper left of the plot holds no curve: below x = 20 both stay
  // at or under y = 20.
  const Curves curves = ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true));
  for (const auto* list : {&curves.linear, &curves.loaded})
    for (const CurvePoint& p : *list)
      if (p.x <= 20) {
        ASSERT_LE(p.y, 20);
      }
  Drag(&chart_, {e_.X(5), e_.Y(95)}, QPoint(e_.X(5), e_.Y(95)) + QPoint(18, 18));
  for (int i = 1; i < 12; ++i) {
    Drag(&chart_, Centre(), Centre() + QPoint(18, 18));
    Settle();
  }
  const TChartAxis& bottom = *chart_.BottomAxis();
  const TChartAxis& left = *chart_.LeftAxis();
  ASSERT_LT(bottom.Maximum(), 20);
  ASSERT_GT(left.Minimum(), 20);
  EXPECT_LT(bottom.Maximum() - bottom.Minimum(), 1e-8);
  EXPECT_NEAR(left.Maximum() - left.Minimum(), 1e-10, 1e-13) << "at the range floor";

  const QImage shown = Shown(chart_);
  EXPECT_EQ(CountColour(shown, kGreen, shown.rect()), 0);
  EXPECT_EQ(CountColour(shown, kRed, shown.rect()), 0);

  for (const TChartAxis* a : {&bottom, &left}) {
    const int lo = std::min(a->StartPixel(), a->EndPixel()), hi = std::max(a->StartPixel(), a->EndPixel());
    const AxisGeometry& g = a->Geometry();
    EXPECT_FALSE(g.ticks.empty());
    for (const std::vector<int>* list : {&g.ticks, &g.minorTicks})
      for (int p : *list) {
        EXPECT_GE(p, lo);
        EXPECT_LE(p, hi);
      }
    for (const AxisLabel& label : g.labels) {
      EXPECT_GE(label.pixel, lo) << label.text.toStdString();
      EXPECT_LE(label.pixel, hi) << label.text.toStdString();
    }
  }
  // Nothing grey below the bottom axis's ticks or left of the left axis's
  // beyond the span: no tick or grid line off the axes.
  const Expected& e = e_;
  for (int y = e.bottom + 1; y < e.bottom + 7; ++y)
    for (int x : {bottom.StartPixel() - 3, bottom.EndPixel() + 3})
      EXPECT_NE(shown.pixel(x, y), kGrey) << x << "," << y;
  for (int y = left.EndPixel() + 1; y < left.EndPixel() + 20; ++y)
    for (int x = left.AxisLinePos() - 6; x < left.AxisLinePos(); ++x)
      EXPECT_NE(shown.pixel(x, y), kGrey) << x << "," << y;
}

}  // namespace
}  // namespace dorvane::chart
