#include "chart/chart_accessible.h"

#include <QAccessibleWidget>
#include <QVariant>

#include "chart/chart.h"

namespace dorvane::chart {

namespace {

class ChartAccessible : public QAccessibleWidget {
 public:
  explicit ChartAccessible(TCustomChart* chart) : QAccessibleWidget(chart, QAccessible::Chart) {}

  QString text(QAccessible::Text t) const override {
    const auto& chart = *static_cast<const TCustomChart*>(widget());
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return AccessibleChartName(chart);
    // The description is the owner's: only it knows what the curves are.
    return QAccessibleWidget::text(t);
  }
};

}  // namespace

QAccessibleInterface* AccessibleChartFactory(const QString&, QObject* object) {
  if (auto* chart = qobject_cast<TCustomChart*>(object)) return new ChartAccessible(chart);
  return nullptr;
}

QString AccessibleChartName(const TCustomChart& chart) {
  return chart.Title()->TextLines().join(u' ').simplified();
}

void NotifyAccessibleChartChanged(TCustomChart& chart) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent name(&chart, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&name);
  QAccessibleEvent description(&chart, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&description);
}

}  // namespace dorvane::chart
