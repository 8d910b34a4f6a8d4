// The chart as a screen reader finds it: named by its title; its description
// is its owner's, who alone knows what the curves are (the main window
// computes it from the laws, as its tool tip does).
#include "chart/chart_accessible.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>

#include "chart/chart.h"

namespace dorvane::chart {
namespace {

TEST(ChartAccessible, NamedByItsTitleDescribedByItsOwner) {
  QAccessible::installFactory(&AccessibleChartFactory);
  TChart chart;
  chart.Title()->setText({QStringLiteral("Essai"), QStringLiteral("deux")});
  auto* series = new TLineSeries(&chart);
  chart.AddSeries(series);
  series->AddPoint(0, 1);
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&chart);
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->role(), QAccessible::Chart);
  EXPECT_EQ(AccessibleChartName(chart), QStringLiteral("Essai deux"));
  EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Essai deux"));
  EXPECT_EQ(iface->text(QAccessible::Description), QString());  // nothing read off the points
  chart.setAccessibleDescription(QStringLiteral("Courbe : 1,0 à 50 % de la course."));
  EXPECT_EQ(iface->text(QAccessible::Description), QStringLiteral("Courbe : 1,0 à 50 % de la course."));
}

}  // namespace
}  // namespace dorvane::chart
