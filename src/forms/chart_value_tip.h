#pragma once
// The values under the pointer: while the pointer rests over the chart's
// plot, a tool tip gives the wiper position there and the value of every
// curve shown, computed from the laws at that position (never read from
// pixels). The chart's own drawing is left alone, so its copies never show it.
#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <vector>

#include "core/main_window_state.h"

namespace dorvane::chart {
class TChart;
}

namespace dorvane::forms {

// The tool tip's text for a point of the chart (chart pixels, as laid out by
// its last drawing pass) with the window's values; empty outside the plot or
// outside positions 0 to 100 %. The three series are the linear, loaded and
// logarithmic laws, in that order; a curve counts as shown when its series is
// active and holds points. On the dB scale each value is given in dB too.
// With the band shown the loaded value is followed by the band there ("bande
// 12,9 à 18,3 %", on the dB scale in dB too); each pinned curve adds a line
// of its own, named by its label.
struct PinnedReading {
  QString label;
  Circuit circuit;
};
QString ChartValueTipText(const chart::TChart& chart, QPoint at, const MainWindowInputs& in,
                          bool decibels = false, const std::vector<PinnedReading>& pinned = {});

// What the tool tip reads of the window when asked.
struct ChartReading {
  MainWindowInputs in;
  bool decibels = false;
  std::vector<PinnedReading> pinned;
};

// What a screen reader is told of the chart: for each curve shown, its values
// at 25, 50 and 75 % of the travel, computed from the laws as the tool tip's
// ("Courbe modifiée : 2,9 à 25 %, 9,3 à 50 %, 23,4 à 75 % de la course."),
// or "Aucune courbe affichée.". A series is named by its
// chart::kSeriesTitleProperty.
QString ChartValuesDescription(const chart::TChart& chart, const MainWindowInputs& in);

class ChartValueTip : public QObject {
  Q_OBJECT

 public:
  // Watches the chart's tool-tip requests; `read` gives the window's values.
  ChartValueTip(chart::TChart& chart, std::function<ChartReading()> read);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  chart::TChart& chart_;
  std::function<ChartReading()> read_;
};

}  // namespace dorvane::forms
