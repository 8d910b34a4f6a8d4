#include "forms/chart_value_tip.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "chart/chart.h"
#include "core/taper.h"

namespace dorvane::forms {
namespace {

bool Within(int pixel, const chart::TChartAxis& axis) {
  return pixel >= std::min(axis.StartPixel(), axis.EndPixel()) &&
         pixel <= std::max(axis.StartPixel(), axis.EndPixel());
}

bool Shown(const chart::TChart& chart, int index) {
  const chart::TChartSeries* series = chart.Series(index);
  return series && series->Active() && series->Count() > 0;
}

}  // namespace

QString ChartValueTipText(const chart::TChart& chart, QPoint at, const MainWindowInputs& in) {
  const chart::TChartAxis& bottom = *chart.BottomAxis();
  if (!Within(at.x(), bottom) || !Within(at.y(), *chart.LeftAxis())) return {};
  const double position = bottom.PixelToValue(at.x());
  if (!(position >= 0 && position <= 100)) return {};
  const QChar point = QChar::fromLatin1(in.decimalSeparator);
  auto percent = [point](double v) {
    return QString::number(v, 'f', 1).replace(u'.', point) + QStringLiteral(" %");
  };
  // On the dB scale each curve's value in dB too; the position stays in %.
  auto value = [&](double v) {
    if (!in.decibels) return percent(v);
    const double db = Decibels(v);
    const QString dbText = std::isfinite(db) ? QString::number(db, 'f', 1).replace(u'.', point)
                                             : QString::fromUtf8(db < 0 ? "-∞" : "-");
    return percent(v) + QStringLiteral(" (%1 dB)").arg(dbText);
  };
  QString text = QStringLiteral("Position ") + percent(position);
  const std::optional<CurveValues> values = PlotValuesAt(in, position);
  if (!values) return text;
  QStringList parts;
  if (Shown(chart, 0)) parts << QStringLiteral("originale ") + value(values->linear);
  if (Shown(chart, 1)) parts << QStringLiteral("modifiée ") + value(values->loaded);
  if (Shown(chart, 2)) parts << QStringLiteral("log théorique ") + value(values->log);
  if (!parts.isEmpty()) text += QStringLiteral(" : ") + parts.join(QStringLiteral(", "));
  return text;
}

ChartValueTip::ChartValueTip(chart::TChart& chart, std::function<MainWindowInputs()> inputs)
    : QObject(&chart), chart_(chart), inputs_(std::move(inputs)) {
  chart.installEventFilter(this);
}

bool ChartValueTip::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &chart_ || event->type() != QEvent::ToolTip) return false;
  auto* help = static_cast<QHelpEvent*>(event);
  const QString text = QGuiApplication::mouseButtons() == Qt::NoButton
                           ? ChartValueTipText(chart_, help->pos(), inputs_())
                           : QString();
  if (text.isEmpty()) {
    QToolTip::hideText();
    event->ignore();
  } else {
    // Tied to the pixel under the pointer: the next rest elsewhere asks again.
    QToolTip::showText(help->globalPos(), text, &chart_, QRect(help->pos(), QSize(1, 1)));
  }
  return true;
}

}  // namespace dorvane::forms
