#include "forms/chart_value_tip.h"

#include <QHelpEvent>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "chart/chart.h"
#include "chart/chart_accessible.h"
#include "core/decimal.h"
#include "core/taper.h"
#include "forms/main_chart.h"

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

QString OneDecimal(double value, char separator) {
  return QString::fromStdString(FormatDecimal(value, 1, separator));
}

// The shown curves' series and values at a position, in series order: the
// one computation behind the tool tip and the description.
QList<std::pair<int, double>> ShownValuesAt(const chart::TChart& chart, const MainWindowInputs& in,
                                            double position) {
  QList<std::pair<int, double>> out;
  const std::optional<CurveValues> values = PlotValuesAt(in, position);
  if (!values) return out;
  const double byLaw[3] = {values->linear, values->loaded, values->log};
  for (int i = 0; i < 3; ++i)
    if (Shown(chart, i)) out.append({i, byLaw[i]});
  return out;
}

QString SeriesTitle(const chart::TChart& chart, int index) {
  const QString title = chart.Series(index)->property(chart::kSeriesTitleProperty).toString();
  return title.isEmpty() ? chart.Series(index)->objectName() : title;
}

}  // namespace

QString ChartValueTipText(const chart::TChart& chart, QPoint at, const MainWindowInputs& in, bool decibels,
                          const std::vector<PinnedReading>& pinned) {
  const chart::TChartAxis& bottom = *chart.BottomAxis();
  if (!Within(at.x(), bottom) || !Within(at.y(), *chart.LeftAxis())) return {};
  const double position = bottom.PixelToValue(at.x());
  if (!(position >= 0 && position <= 100)) return {};
  auto percent = [&](double v) { return OneDecimal(v, in.decimalSeparator) + QStringLiteral(" %"); };
  auto dB = [&](double v) {
    const double db = Decibels(v);
    return std::isfinite(db) ? OneDecimal(db, in.decimalSeparator) : QString::fromUtf8(db < 0 ? "-∞" : "-");
  };
  // On the dB scale each curve's value in dB too; the position stays in %.
  auto value = [&](double v) {
    return decibels ? percent(v) + QStringLiteral(" (%1 dB)").arg(dB(v)) : percent(v);
  };
  QString text = QStringLiteral("Position ") + percent(position);
  static const char* const kNames[] = {"originale", "modifiée", "log théorique"};
  QStringList parts;
  for (const auto& [series, v] : ShownValuesAt(chart, in, position)) {
    parts << QString::fromUtf8(kNames[series]) + u' ' + value(v);
    if (series != 1 || !Shown(chart, kBandLowSeries)) continue;
    if (const std::optional<PercentBand> band = PlotBandAt(in, position)) {
      QString text = QString::fromUtf8("bande %1 à %2")
                         .arg(OneDecimal(band->low, in.decimalSeparator), percent(band->high));
      if (decibels) text += QString::fromUtf8(" (%1 à %2 dB)").arg(dB(band->low), dB(band->high));
      parts << text;
    }
  }
  if (!parts.isEmpty()) text += QStringLiteral(" : ") + parts.join(QStringLiteral(", "));
  for (size_t i = 0; i < pinned.size(); ++i) {
    if (!Shown(chart, kFirstPinnedSeries + int(i))) continue;
    const double y = LoadedPercent(pinned[i].circuit, position / 100);
    text +=
        u'\n' + pinned[i].label + QStringLiteral(" : ") + (std::isnan(y) ? QStringLiteral("-") : value(y));
  }
  return text;
}

QString ChartValuesDescription(const chart::TChart& chart, const MainWindowInputs& in) {
  QStringList sentences;
  QList<QStringList> values;
  for (const int percent : {25, 50, 75}) {
    const auto shown = ShownValuesAt(chart, in, percent);
    for (qsizetype i = 0; i < shown.size(); ++i) {
      if (values.size() <= i) values.append({SeriesTitle(chart, shown[i].first)});
      values[i]
          << QStringLiteral("%1 à %2 %").arg(OneDecimal(shown[i].second, in.decimalSeparator)).arg(percent);
    }
  }
  for (const QStringList& v : values)
    sentences << QStringLiteral("%1 : %2 de la course.").arg(v.front(), v.mid(1).join(QStringLiteral(", ")));
  return sentences.isEmpty() ? QStringLiteral("Aucune courbe affichée.") : sentences.join(u' ');
}

ChartValueTip::ChartValueTip(chart::TChart& chart, std::function<ChartReading()> read)
    : QObject(&chart), chart_(chart), read_(std::move(read)) {
  chart.installEventFilter(this);
}

bool ChartValueTip::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &chart_ || event->type() != QEvent::ToolTip) return false;
  auto* help = static_cast<QHelpEvent*>(event);
  // No look at the buttons: Qt asks only after the pointer rested with none
  // held, and its own button state can stay "pressed" for good when a
  // release goes to a window that closed on the press (the finder's
  // double-click).
  const ChartReading reading = read_();
  const QString text = ChartValueTipText(chart_, help->pos(), reading.in, reading.decibels, reading.pinned);
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
