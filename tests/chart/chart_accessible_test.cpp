// The chart's description is read off its points, not off the curves the
// program computed: positions between points, travels not starting at 0.
#include "chart/chart_accessible.h"

#include <gtest/gtest.h>

#include <QVariant>

#include "chart/chart.h"

namespace dorvane::chart {
namespace {

TEST(ChartAccessible, DescriptionReadsThePoints) {
  const struct {
    std::vector<std::pair<double, double>> points;
    const char* values;  // "" when the series is left out
  } cases[] = {
      // Travel 10..30: 25 % is x = 15, between (10, 0) and (30, 40).
      {{{10, 0}, {30, 40}}, "10,0 à 25 %, 20,0 à 50 %, 30,0 à 75 %"},
      {{{0, -0.04}, {4, -0.04}}, "0,0 à 25 %, 0,0 à 50 %, 0,0 à 75 %"},
      {{{0, 0}, {1, 10}, {2, 20}, {4, 40}}, "10,0 à 25 %, 20,0 à 50 %, 30,0 à 75 %"},
      {{{5, 7.25}}, "7,3 à 25 %, 7,3 à 50 %, 7,3 à 75 %"},
      {{}, ""},
  };
  for (const auto& c : cases) {
    TChart chart;
    chart.setDecimalSeparator(u',');
    chart.Title()->setText({QStringLiteral("Essai"), QStringLiteral("deux")});
    auto* series = new TLineSeries(&chart);
    series->setProperty(kSeriesTitleProperty, QStringLiteral("Courbe"));
    chart.AddSeries(series);
    auto* hidden = new TLineSeries(&chart);
    hidden->setObjectName(QStringLiteral("Cachée"));
    hidden->AddPoint(0, 1);
    hidden->setActive(false);
    chart.AddSeries(hidden);
    for (const auto& [x, y] : c.points) series->AddPoint(x, y);

    const QString expected =
        *c.values ? QStringLiteral("Courbe : %1 de la course.").arg(QString::fromUtf8(c.values))
                  : QStringLiteral("Aucune courbe affichée.");
    EXPECT_EQ(AccessibleChartDescription(chart), expected) << c.values;
    EXPECT_EQ(AccessibleChartName(chart), QStringLiteral("Essai deux"));
  }
}

}  // namespace
}  // namespace dorvane::chart
