#include "forms/main_chart.h"

#include <algorithm>
#include <cmath>

#include "core/taper.h"

#include "chart/axis_scale.h"
#include "chart/chart_accessible.h"
#include "forms/notation_text.h"

namespace dorvane::forms {

using namespace chart;

void ConfigureProgramChart(TChart& chart) {
  chart.setLoading(true);
  chart.setObjectName(QStringLiteral("Chart1"));
  chart.setColor(gfx::clAqua);
  chart.setBackColor(gfx::clBlack);
  chart.setBevelOuter(bvNone);
  chart.setMarginLeft(1);
  chart.setMarginBottom(1);
  chart.setView3D(false);
  chart.Title()->setText({QStringLiteral("Montage en Pseudo Anti-Log")});
  chart.Legend()->setVisible(false);
  chart.BackWall()->Brush()->setColor(gfx::clWhite);
  chart.BackWall()->setColor(gfx::clBlack);

  struct AxisSetting {
    TChartAxis* axis;
    const char* title;
  };
  for (const AxisSetting& a :
       {AxisSetting{chart.BottomAxis(), "Position curseur (en % de la course totale)"},
        AxisSetting{chart.LeftAxis(), "Valeur résistance Rb (en % de la valeur totale)"}}) {
    a.axis->setAutomatic(false);
    a.axis->setAutomaticMinimum(false);
    a.axis->setAutomaticMaximum(false);
    a.axis->setMaximum(100);
    a.axis->setMinimum(0);
    a.axis->Title()->setCaption(QString::fromUtf8(a.title));
  }
  chart.TopAxis()->setVisible(false);
  chart.RightAxis()->setVisible(false);

  struct SeriesSetting {
    const char* name;
    gfx::Colour colour;
    int pointerSize;
    const char* title;  // for people: screen readers
  };
  // The three laws, then what the user may add, inactive until asked for:
  // the band's two edges and the pinned curves.
  const SeriesSetting settings[] = {
      {"Series1", 0x00FF80, 2, "Courbe originale"},
      {"Series2", gfx::clRed, 4, "Courbe modifiée"},
      {"Series3", gfx::clSilver, 4, "Courbe log (Pos) théorique"},
      {"SeriesBandLow", kBandColour, 4, "Bande de tolérance, bas"},
      {"SeriesBandHigh", kBandColour, 4, "Bande de tolérance, haut"},
      {"SeriesPinned1", PinnedColour(0), 4, "Courbe figée 1"},
      {"SeriesPinned2", PinnedColour(1), 4, "Courbe figée 2"},
      {"SeriesPinned3", PinnedColour(2), 4, "Courbe figée 3"},
      {"SeriesPinned4", PinnedColour(3), 4, "Courbe figée 4"},
  };
  for (const SeriesSetting& s : settings) {
    auto* series = new TLineSeries(&chart);
    series->setObjectName(QString::fromLatin1(s.name));
    series->setProperty(kSeriesTitleProperty, QString::fromUtf8(s.title));
    series->setSeriesColor(s.colour);
    series->Marks().Visible = false;
    series->Pointer().Visible = false;
    series->Pointer().HorizSize = series->Pointer().VertSize = s.pointerSize;
    series->XValues()->setOrder(loAscending);
    series->YValues()->setOrder(loNone);
    series->XValues()->setName(QStringLiteral("X "));
    series->YValues()->setName(QStringLiteral("Y "));
    series->XValues()->setMultiplier(1);
    series->YValues()->setMultiplier(1);
    series->setActive(chart.SeriesCount() < 3);
    chart.AddSeries(series);
  }
  chart.setLoading(false);
}

gfx::Colour PinnedColour(int index) {
  // Yellow, magenta, orange, white: apart from the laws' green, red, silver
  // and the band's pink on the black plot.
  constexpr gfx::Colour kColours[kMaxPinnedCurves] = {0x00FFFF, 0xFF00FF, 0x0080FF, 0xFFFFFF};
  return kColours[std::clamp(index, 0, kMaxPinnedCurves - 1)];
}

void PlotAddedCurves(TChart& chart, const PlotOutputs& plot, const std::vector<PinnedCurve>& pinned,
                     bool refillPinned, bool decibels) {
  const auto fill = [&](int index, const std::vector<CurvePoint>* points) {
    TChartSeries* series = chart.Series(index);
    if (!series) return;
    series->RemoveAllPoints();
    if (points)
      for (const CurvePoint& pt : *points)
        series->AddPoint(pt.x, decibels ? ChartDecibels(pt.y) : pt.y, QString(), gfx::clAutomatic);
    series->setActive(points && !points->empty());
  };
  fill(kBandLowSeries, plot.bandActive ? &plot.curves.bandLow : nullptr);
  fill(kBandHighSeries, plot.bandActive ? &plot.curves.bandHigh : nullptr);
  const size_t shown = std::min(pinned.size(), size_t(kMaxPinnedCurves));
  if (refillPinned)
    for (size_t i = 0; i < size_t(kMaxPinnedCurves); ++i)
      fill(kFirstPinnedSeries + int(i), i < shown ? &pinned[i].points : nullptr);
  std::vector<TCustomAxisPanel::PlotNote> notes;
  const bool added = plot.bandActive || shown > 0;
  TChartSeries* modified = chart.Series(1);
  if (added && plot.loadedActive && modified)
    notes.push_back(
        {modified->SeriesColor(), QString::fromStdString(CircuitLabel(plot.modifiedName, false))});
  if (plot.bandActive)
    notes.push_back({kBandColour, QString::fromStdString(BandLabel(plot.modifiedName, plot.bandTolerances))});
  for (size_t i = 0; i < shown; ++i)
    notes.push_back({PinnedColour(int(i)), QString::fromStdString(CircuitLabel(pinned[i].name))});
  chart.setPlotNotes(notes, chart.BackColor());
  // A pinned curve equal to the modified one must not hide it.
  chart.setSeriesOnTop(added ? modified : nullptr);
}

double ChartDecibels(double percent) {
  const double db = Decibels(percent);
  return db > kDecibelFloor ? db : kDecibelFloor;  // NaN too
}

QString ProgramPercentTitle(bool loaded) {
  return QString::fromUtf8(loaded ? "Tension au curseur (en % de la tension d'entrée)"
                                  : "Valeur résistance Rb (en % de la valeur totale)");
}

double DecibelLabelStep(double min, double max) {
  const double range = max - min;
  if (!(range > 0) || !std::isfinite(range)) return 10;
  // The labels a step writes: its multiples from min to max.
  const auto count = [&](double step) {
    const double slack = 1e-9 * step;
    return std::floor((max + slack) / step) - std::ceil((min - slack) / step) + 1;
  };
  // Up the 1-2-5 steps from well below a sixth of the range to the first
  // that writes fewer than six labels; of two as close to six, the fewer.
  double step = std::pow(10.0, std::floor(std::log10(range / 6)) - 1);
  double best = step;
  for (int guard = 0; guard < 12; ++guard) {
    if (std::abs(count(step) - 6) <= std::abs(count(best) - 6)) best = step;
    if (count(step) < 6) break;
    step = chart::NextLabelStep(step);
  }
  return best;
}

void SetVerticalScale(TChart& chart, bool decibels, const QString& percentTitle) {
  TChartAxis* axis = chart.LeftAxis();
  // Both bounds at once: the old range may lie wholly outside the new one.
  if (decibels)
    axis->SetMinMax(kDecibelFloor, 0);
  else
    axis->SetMinMax(0, 100);
  axis->setIncrement(decibels ? DecibelLabelStep(kDecibelFloor, 0) : 0);
  // A zoom or a scroll in dB keeps about as many labels as the whole scale
  // (an increment is only set in dB).
  if (!axis->property("dorvane.followsRange").toBool()) {
    axis->setProperty("dorvane.followsRange", true);
    QObject::connect(axis, &TChartAxis::Changed, axis, [axis] {
      if (axis->Increment() > 0) axis->setIncrement(DecibelLabelStep(axis->Minimum(), axis->Maximum()));
    });
  }
  axis->Title()->setCaption(decibels ? QString::fromUtf8("Atténuation (dB)") : percentTitle);
}

void PlotProgramCurves(TChart& chart, const Curves& curves, bool showLinear, bool showLoaded, bool showLog,
                       bool decibels) {
  // The laws' series; those the user added are refilled by PlotAddedCurves.
  for (int i = 0; i < 3 && i < chart.SeriesCount(); ++i) chart.Series(i)->RemoveAllPoints();
  const std::vector<CurvePoint>* lists[3] = {&curves.linear, &curves.loaded, &curves.log};
  const size_t n = std::max({curves.linear.size(), curves.loaded.size(), curves.log.size()});
  for (size_t i = 0; i < n; ++i)
    for (int s = 0; s < 3 && s < chart.SeriesCount(); ++s)
      if (i < lists[s]->size())
        chart.Series(s)->AddPoint((*lists[s])[i].x,
                                  decibels ? ChartDecibels((*lists[s])[i].y) : (*lists[s])[i].y, QString(),
                                  gfx::clAutomatic);
  const bool active[3] = {showLinear, showLoaded, showLog};
  for (int s = 0; s < 3 && s < chart.SeriesCount(); ++s) chart.Series(s)->setActive(active[s]);
}

void PlotProgramState(TChart& chart, const PlotOutputs& plot, const std::vector<PinnedCurve>& pinned,
                      bool refillPinned, bool decibels) {
  PlotProgramCurves(chart, plot.curves, plot.linearActive, plot.loadedActive, plot.logActive, decibels);
  PlotAddedCurves(chart, plot, pinned, refillPinned, decibels);
}

void SetProgramChartTitle(TChart& chart, const std::string& title) {
  chart.Title()->Text().Clear();
  chart.Title()->Text().Add(FromNotationBytes(title));
}

void ShowAsTheProgramChart(TChart& chart, const MainWindowInputs& in, bool decibels) {
  chart.resize(kProgramChartWidth, kProgramChartHeight);
  ConfigureProgramChart(chart);
  chart.setDecimalSeparator(QChar::fromLatin1(in.decimalSeparator));
  const MainWindowState s = ComputeMainWindowState(in);
  if (decibels)
    SetVerticalScale(chart, true, ProgramPercentTitle(s.loadShown));
  else
    chart.LeftAxis()->Title()->setCaption(ProgramPercentTitle(s.loadShown));
  SetProgramChartTitle(chart, s.chartTitle);
  PlotProgramState(chart, s.plot, {}, true, decibels);
}

}  // namespace dorvane::forms
