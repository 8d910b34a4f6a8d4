#include "chart/chart_accessible.h"

#include <QAccessibleWidget>
#include <QVariant>

#include "chart/chart.h"

namespace dorvane::chart {

namespace {

constexpr char kSourceName[] = "dorvane.descriptionSource";

// Held by the chart as a child, so that it goes with it.
class DescriptionSource : public QObject {
 public:
  DescriptionSource(QObject* chart, std::function<QString()> make) : QObject(chart), make_(std::move(make)) {
    setObjectName(kSourceName);
  }
  QString Make() const { return make_ ? make_() : QString(); }

 private:
  std::function<QString()> make_;
};

class ChartAccessible : public QAccessibleWidget {
 public:
  explicit ChartAccessible(TCustomChart* chart) : QAccessibleWidget(chart, QAccessible::Chart) {}

  QString text(QAccessible::Text t) const override {
    const auto& chart = *static_cast<const TCustomChart*>(widget());
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return AccessibleChartName(chart);
    // The description is the owner's: only it knows what the curves are.
    if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
      if (const auto* source = widget()->findChild<QObject*>(kSourceName, Qt::FindDirectChildrenOnly))
        return static_cast<const DescriptionSource*>(source)->Make();
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

void SetDescriptionSource(TCustomChart& chart, std::function<QString()> source) {
  delete chart.findChild<QObject*>(kSourceName, Qt::FindDirectChildrenOnly);
  new DescriptionSource(&chart, std::move(source));  // owned by the chart
}

void NotifyAccessibleChartChanged(TCustomChart& chart) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent name(&chart, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&name);
  QAccessibleEvent description(&chart, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&description);
}

}  // namespace dorvane::chart
