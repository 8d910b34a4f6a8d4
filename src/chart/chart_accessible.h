#pragma once
// What a screen reader learns about a chart, which is only pixels otherwise:
// it is named by its title; its description, the values of the curves it
// shows, is set by its owner (QWidget::setAccessibleDescription) or made by
// the owner's source when a screen reader asks for it.
#include <QString>
#include <functional>

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

// Where the description comes from when none is set: made only when asked,
// so that a keystroke does not write a description nobody reads.
void SetDescriptionSource(TCustomChart& chart, std::function<QString()> source);

// Tells screen readers that the title or the curves changed.
void NotifyAccessibleChartChanged(TCustomChart& chart);

}  // namespace dorvane::chart
