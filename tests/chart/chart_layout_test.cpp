// The chart's layout before any paint: the geometry a chart reports without
// being drawn is the one a drawing pass then draws at.
#include <gtest/gtest.h>

#include "chart_test_support.h"
#include "core/curves.h"

namespace dorvane::chart {
namespace {

using namespace dorvane::chart::support;

struct AxisSnapshot {
  int start, end, line, labels, title;
  std::vector<int> ticks, minors;
  friend bool operator==(const AxisSnapshot&, const AxisSnapshot&) = default;
};

AxisSnapshot Snapshot(const TChartAxis& a) {
  return {a.StartPixel(), a.EndPixel(),      a.AxisLinePos(),        a.LabelsEdge(),
          a.TitleEdge(),  a.TickPositions(), a.Geometry().minorTicks};
}

TEST(ChartLayout, GeometryWithoutAPaintIsWhereThePaintDraws) {
  const Curves curves = ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true));
  const std::vector<std::pair<const char*, std::function<void(TChart&)>>> cases = {
      {"program chart", [](TChart&) {}},
      {"two-line title and a foot",
       [](TChart& c) {
         c.Title()->Text().Add(QStringLiteral("Deux"));
         c.Foot()->Text().Add(QStringLiteral("Pied"));
       }},
      {"zoomed", [](TChart& c) { c.ZoomRect(QRect(120, 80, 60, 50)); }},
      {"curves off", [&](TChart& c) { PlotProgramCurves(c, curves, false, false, false); }},
      {"resized", [](TChart& c) { c.resize(500, 260); }},
  };
  for (const auto& [what, change] : cases) {
    SCOPED_TRACE(what);
    TChart chart;
    SetUpProgramChart(chart);
    PlotProgramCurves(chart, curves, true, true, false);
    change(chart);
    const gfx::Rect plot = chart.PlotRect();
    const AxisSnapshot bottom = Snapshot(*chart.BottomAxis()), left = Snapshot(*chart.LeftAxis());
    EXPECT_EQ(chart.DrawingPassCount(), 0) << "laid out, not drawn";
    ASSERT_FALSE(bottom.ticks.empty() && std::string(what) != "curves off");

    const QImage img = chart.DrawToImage(chart.size());
    EXPECT_EQ(chart.PlotRect(), plot);
    // Drawing at another size lays out for that target only.
    chart.DrawToImage({700, 500});
    EXPECT_EQ(chart.PlotRect(), plot);
    EXPECT_EQ(Snapshot(*chart.BottomAxis()), bottom);
    EXPECT_EQ(Snapshot(*chart.LeftAxis()), left);
    // The picture agrees: the wall ends where the plot does, the ticks and
    // minor ticks lie below and beside the axis lines where the layout said.
    EXPECT_EQ(img.pixel(plot.right, plot.top + 1), kBlack);
    EXPECT_EQ(img.pixel(plot.right + 1, plot.top + 1), kAqua);
    EXPECT_EQ(img.pixel(plot.left + 1, plot.top - 1), kAqua);
    for (int x : bottom.ticks) EXPECT_EQ(img.pixel(x, bottom.line + 3), kGrey) << "tick at " << x;
    for (int x : bottom.minors) EXPECT_EQ(img.pixel(x, bottom.line + 2), kGrey) << "minor at " << x;
    for (int y : left.ticks) EXPECT_EQ(img.pixel(left.line - 4, y), kGrey) << "tick at " << y;
    for (int y : left.minors) EXPECT_EQ(img.pixel(left.line - 2, y), kGrey) << "minor at " << y;
  }
}

}  // namespace
}  // namespace dorvane::chart
