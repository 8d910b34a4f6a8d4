// Point storage, ordering, statistics and the repaint rules of a series.
#include <QSignalSpy>
#include <vector>

#include <gtest/gtest.h>

#include "chart/chart.h"
#include "chart/chart_series.h"
#include "chart/chart_value_list.h"

namespace dorvane::chart {
namespace {

// A chart that counts the repaint requests it receives.
class CountingChart : public TChart {
 public:
  int requests = 0;
  void RequestRepaint() override {
    ++requests;
    TChart::RequestRepaint();
  }
};

std::vector<double> Values(const TChartValueList& list) {
  std::vector<double> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Value(i));
  return out;
}

TEST(ValueList, OrderedInsertion) {
  struct Case {
    TChartListOrder order;
    std::vector<double> added;
    std::vector<int> indices;
    std::vector<double> stored;
  };
  const Case cases[] = {
      {loAscending, {5, 3, 5}, {0, 0, 2}, {3, 5, 5}},
      {loAscending, {1, 4, 2, 3, 0}, {0, 1, 1, 2, 0}, {0, 1, 2, 3, 4}},
      {loDescending, {3, 5, 3, 4}, {0, 0, 2, 1}, {5, 4, 3, 3}},
      {loNone, {5, 3, 9, 1}, {0, 1, 2, 3}, {5, 3, 9, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.order));
    TChartValueList list(QStringLiteral("X "), c.order);
    std::vector<int> indices;
    for (double v : c.added) indices.push_back(list.InsertOrdered(v));
    EXPECT_EQ(indices, c.indices);
    EXPECT_EQ(Values(list), c.stored);
  }
}

TEST(ValueList, StatisticsCachedUntilTheNextChange) {
  TChartValueList list(QStringLiteral("Y "), loNone);
  EXPECT_EQ(list.MinValue(), 0);
  EXPECT_EQ(list.MaxValue(), 0);
  EXPECT_EQ(list.Total(), 0);
  EXPECT_EQ(list.TotalABS(), 0);
  for (double v : {4.0, -2.0, 7.0}) list.InsertOrdered(v);
  const int runs = list.StatisticsRuns();
  EXPECT_EQ(list.MinValue(), -2);
  EXPECT_EQ(list.MaxValue(), 7);
  EXPECT_EQ(list.Total(), 9);
  EXPECT_EQ(list.TotalABS(), 13);
  EXPECT_EQ(list.StatisticsRuns(), runs + 1) << "four reads, one computation";
  list.InsertOrdered(-10);
  EXPECT_EQ(list.MinValue(), -10);
  list.setMultiplier(2);
  EXPECT_EQ(list.MaxValue(), 14) << "read back times Multiplier";
  EXPECT_EQ(list.Value(0), 8);
  list.Clear();
  EXPECT_EQ(list.Total(), 0);
  EXPECT_EQ(list.StatisticsRuns(), runs + 4);
}

TEST(Series, PointsFollowTheirXValues) {
  TLineSeries s;
  EXPECT_EQ(s.AddPoint(5, 50), 0);
  EXPECT_EQ(s.AddPoint(3, 30, QStringLiteral("trois"), gfx::clBlue), 0);
  EXPECT_EQ(s.AddPoint(5, 51), 2);
  EXPECT_EQ(Values(*s.XValues()), (std::vector<double>{3, 5, 5}));
  EXPECT_EQ(Values(*s.YValues()), (std::vector<double>{30, 50, 51}));
  EXPECT_EQ(s.PointLabel(0), QStringLiteral("trois"));
  EXPECT_TRUE(s.PointLabel(1).isNull());
  EXPECT_EQ(s.StoredColor(0), gfx::clBlue);
  EXPECT_EQ(s.StoredColor(2), gfx::clAutomatic);
  EXPECT_EQ(s.XValues()->Name(), QStringLiteral("X "));
  EXPECT_EQ(s.YValues()->Name(), QStringLiteral("Y "));
}

TEST(Series, LogCurveKeepsItsTwoZeroXPointsInOrder) {
  TLineSeries s;
  const double xs[] = {0, 0, 15.05, 23.86, 30.10};
  for (int i = 0; i < 5; ++i) s.AddPoint(xs[i], i);
  EXPECT_EQ(Values(*s.YValues()), (std::vector<double>{0, 1, 2, 3, 4}));
  TLineSeries none;
  none.XValues()->setOrder(loNone);
  for (double x : {9.0, 1.0, 5.0}) none.AddPoint(x, x);
  EXPECT_EQ(Values(*none.XValues()), (std::vector<double>{9, 1, 5}));
}

TEST(Series, PointColor) {
  TLineSeries s;
  s.setSeriesColor(gfx::clSilver);
  s.AddPoint(0, 0);
  s.AddPoint(1, 1, QString(), gfx::clLime);
  s.AddPoint(2, 2, QString(), gfx::clNone);
  EXPECT_EQ(s.PointColor(0), gfx::clSilver);
  EXPECT_EQ(s.PointColor(1), gfx::clLime);
  EXPECT_EQ(s.PointColor(2), gfx::clNone);
  EXPECT_EQ(s.PointColor(7), gfx::clSilver) << "no entry";
  EXPECT_EQ(s.PointColor(-1), gfx::clSilver);
  s.setColorEachPoint(true);
  EXPECT_NE(s.PointColor(0), gfx::clSilver);
  for (int i = 3; i <= 16; ++i) s.AddPoint(i, i);
  EXPECT_EQ(s.PointColor(0), s.PointColor(16)) << "palette of 16";
  EXPECT_NE(s.PointColor(3), s.PointColor(4));
  EXPECT_EQ(s.PointColor(1), gfx::clLime) << "an own colour wins";
}

TEST(Series, EventsAndRefusal) {
  TLineSeries s;
  QSignalSpy after(&s, &TChartSeries::OnAfterAdd);
  QSignalSpy cleared(&s, &TChartSeries::OnClearValues);
  s.AddPoint(2, 2);
  s.AddPoint(1, 1);
  ASSERT_EQ(after.count(), 2);
  EXPECT_EQ(after.at(1).at(1).toInt(), 0) << "the index where the point landed";
  int asked = 0;
  s.setOnBeforeAdd([&](TChartSeries*) { return ++asked > 1; });
  EXPECT_EQ(s.AddPoint(3, 3), -1);
  EXPECT_EQ(s.Count(), 2);
  EXPECT_EQ(after.count(), 2);
  EXPECT_EQ(s.AddPoint(3, 3), 2);
  s.RemoveAllPoints();
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.XValues()->Count() + s.YValues()->Count(), 0);
  EXPECT_EQ(cleared.count(), 1);
}

TEST(SeriesRepaint, RequestsFollowTheActiveFlag) {
  CountingChart chart;
  auto* s = new TLineSeries(&chart);
  chart.AddSeries(s);
  struct Step {
    const char* what;
    std::function<void()> act;
    int requests;
  };
  const Step steps[] = {
      {"add while active", [&] { s->AddPoint(1, 1); }, 1},
      {"remove all while active", [&] { s->RemoveAllPoints(); }, 1},
      {"remove all on an empty active series", [&] { s->RemoveAllPoints(); }, 1},
      {"Active to its own value", [&] { s->setActive(true); }, 0},
      {"Active off", [&] { s->setActive(false); }, 1},
      {"add while inactive", [&] { s->AddPoint(2, 2); }, 0},
      {"remove all while inactive", [&] { s->RemoveAllPoints(); }, 0},
      {"SeriesColor to its own value", [&] { s->setSeriesColor(s->SeriesColor()); }, 0},
      {"SeriesColor changed", [&] { s->setSeriesColor(gfx::clLime); }, 1},
      {"line pen changed", [&] { s->LinePen()->setWidth(2); }, 1},
      {"Active on", [&] { s->setActive(true); }, 1},
  };
  for (const Step& step : steps) {
    chart.requests = 0;
    step.act();
    EXPECT_EQ(chart.requests, step.requests) << step.what;
  }
}

TEST(ChartRepaint, TitleAndSettingsRequestRepaints) {
  CountingChart chart;
  struct Step {
    const char* what;
    std::function<void()> act;
    int requests;
  };
  const Step steps[] = {
      {"title cleared", [&] { chart.Title()->Text().Clear(); }, 1},
      {"title line added", [&] { chart.Title()->Text().Add(QStringLiteral("x")); }, 1},
      {"title font", [&] { chart.Title()->setFont(QFont(QStringLiteral("Arial"), 20)); }, 1},
      {"colour unchanged", [&] { chart.setColor(chart.Color()); }, 0},
      {"colour", [&] { chart.setColor(gfx::clAqua); }, 1},
      {"margin", [&] { chart.setMarginLeft(1); }, 1},
      {"margin unchanged", [&] { chart.setMarginLeft(1); }, 0},
      {"wall colour", [&] { chart.BackWall()->setColor(gfx::clBlack); }, 1},
      {"axis title", [&] { chart.LeftAxis()->Title()->setCaption(QStringLiteral("t")); }, 1},
      {"axis grid pen", [&] { chart.LeftAxis()->Grid()->setColor(gfx::clRed); }, 1},
      {"axis range", [&] { chart.LeftAxis()->SetMinMax(0, 10); }, 1},
      {"axis range unchanged", [&] { chart.LeftAxis()->SetMinMax(0, 10); }, 0},
      {"decimal separator", [&] { chart.setDecimalSeparator(u'!'); }, 1},
  };
  for (const Step& step : steps) {
    chart.requests = 0;
    step.act();
    EXPECT_EQ(chart.requests, step.requests) << step.what;
  }
}

TEST(ChartSeriesList, OrderOwnershipAndRemoval) {
  auto chart = std::make_unique<TChart>();
  QPointer<TLineSeries> a = new TLineSeries, b = new TLineSeries(chart.get());
  a->setParentChart(chart.get());
  chart->AddSeries(b);
  chart->AddSeries(b);
  ASSERT_EQ(chart->SeriesCount(), 2);
  EXPECT_EQ(chart->Series(0), a);
  EXPECT_EQ(chart->Series(1), b);
  EXPECT_EQ(chart->Series(2), nullptr);
  EXPECT_EQ(a->parent(), chart.get());
  chart->RemoveSeries(a);
  EXPECT_EQ(chart->SeriesCount(), 1);
  EXPECT_EQ(a->ParentChart(), nullptr);
  a->setParentChart(chart.get());
  EXPECT_EQ(chart->Series(1), a);
  b->AddPoint(1, 1);
  chart.reset();  // the chart destroys its series without calling back
  EXPECT_TRUE(a.isNull());
  EXPECT_TRUE(b.isNull());
}

}  // namespace
}  // namespace dorvane::chart
