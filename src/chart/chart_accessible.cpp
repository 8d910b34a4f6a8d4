#include "chart/chart_accessible.h"

#include <QAccessibleWidget>
#include <QVariant>

#include "chart/chart.h"

namespace dorvane::chart {

namespace {

// y at x on the polyline through the points (x ascending); false when x is
// outside the points or lands on a gap with no defined value.
bool ValueAt(const TChartSeries& series, double x, double* y) {
  const TChartValueList& xs = *series.XValues();
  const TChartValueList& ys = *series.YValues();
  for (int i = 0; i < series.Count(); ++i) {
    if (xs.Value(i) == x) {
      *y = ys.Value(i);
      return true;
    }
    if (i > 0 && xs.Value(i - 1) < x && x < xs.Value(i)) {
      const double t = (x - xs.Value(i - 1)) / (xs.Value(i) - xs.Value(i - 1));
      *y = ys.Value(i - 1) + t * (ys.Value(i) - ys.Value(i - 1));
      return true;
    }
  }
  return false;
}

QString SeriesTitle(const TChartSeries& series) {
  const QString title = series.property(kSeriesTitleProperty).toString();
  return title.isEmpty() ? series.objectName() : title;
}

class ChartAccessible : public QAccessibleWidget {
 public:
  explicit ChartAccessible(TCustomChart* chart) : QAccessibleWidget(chart, QAccessible::Chart) {}

  QString text(QAccessible::Text t) const override {
    const auto& chart = *static_cast<const TCustomChart*>(widget());
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return AccessibleChartName(chart);
    if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
      return AccessibleChartDescription(chart);
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

QString AccessibleChartDescription(const TCustomChart& chart) {
  const QChar separator = chart.DecimalSeparator().isNull() ? QChar(u'.') : chart.DecimalSeparator();
  QStringList sentences;
  for (const TChartSeries* series : chart.SeriesList()) {
    if (!series->Active() || series->Count() == 0) continue;
    const double first = series->XValues()->Value(0);
    const double last = series->XValues()->Value(series->Count() - 1);
    QStringList values;
    for (const int percent : {25, 50, 75}) {
      double y = 0;
      if (!ValueAt(*series, first + (last - first) * percent / 100.0, &y)) continue;
      QString number = QString::number(y, 'f', 1);
      number.replace(u'.', separator);
      if (number == QStringLiteral("-0") + separator + u'0') number.remove(0, 1);
      values << QStringLiteral("%1 à %2 %").arg(number).arg(percent);
    }
    if (!values.isEmpty())
      sentences << QStringLiteral("%1 : %2 de la course.")
                       .arg(SeriesTitle(*series), values.join(QStringLiteral(", ")));
  }
  return sentences.isEmpty() ? QStringLiteral("Aucune courbe affichée.") : sentences.join(u' ');
}

void NotifyAccessibleChartChanged(TCustomChart& chart) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent name(&chart, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&name);
  QAccessibleEvent description(&chart, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&description);
}

}  // namespace dorvane::chart
