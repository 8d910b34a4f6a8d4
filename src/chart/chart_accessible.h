#pragma once
// What a screen reader learns about a chart, which is only pixels otherwise:
// it is named by its title and describes the curves it shows.
#include <QString>

class QAccessibleInterface;
class QObject;

namespace dorvane::chart {

class TCustomChart;

// A series names itself in the description through this property (a
// QString); without it the series' object name is used.
inline constexpr char kSeriesTitleProperty[] = "Title";

// For QAccessible::installFactory.
QAccessibleInterface* AccessibleChartFactory(const QString& className, QObject* object);

// The title's lines joined by blanks.
QString AccessibleChartName(const TCustomChart& chart);

// One sentence per active series with points: its values at 25, 50 and 75 %
// of its travel (its first to its last x), read off the points between
// which each position falls, one decimal, the chart's decimal separator.
QString AccessibleChartDescription(const TCustomChart& chart);

// Tells screen readers that the title or the curves changed.
void NotifyAccessibleChartChanged(TCustomChart& chart);

}  // namespace dorvane::chart
