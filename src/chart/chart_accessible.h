#pragma once
// What a screen reader learns about a chart, which is only pixels otherwise:
// it is named by its title; its description, the values of the curves it
// shows, is set by its owner (QWidget::setAccessibleDescription).
#include <QString>

class QAccessibleInterface;
class QObject;

namespace dorvane::chart {

class TCustomChart;

// A series' name for people (a QString property), as descriptions give it.
inline constexpr char kSeriesTitleProperty[] = "Title";

// For QAccessible::installFactory.
QAccessibleInterface* AccessibleChartFactory(const QString& className, QObject* object);

// The title's lines joined by blanks.
QString AccessibleChartName(const TCustomChart& chart);

// Tells screen readers that the title or the curves changed.
void NotifyAccessibleChartChanged(TCustomChart& chart);

}  // namespace dorvane::chart
