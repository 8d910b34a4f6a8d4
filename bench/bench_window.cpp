// One keystroke in the main window to the updated chart image (the text
// change, the update rule with its replot, one drawing pass of the chart into
// its image and the copy out of it), against the drawing pass and copy alone.
// The chart is painted on its own (grab), without the rest of the window's
// repaint that the keystroke also asks for.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "chart/chart.h"
#include "controls/flat_edit.h"
#include "cpu_model.h"
#include "forms/frm_main.h"
#include "gfx/fonts.h"

namespace {

dorvane::forms::TfmMain& Window() {
  static dorvane::forms::TfmMain* window = [] {
    auto* w = new dorvane::forms::TfmMain;  // lives until the process ends
    w->show();
    QApplication::processEvents();
    return w;
  }();
  return *window;
}

// The R2 box, as the user types into it.
dorvane::controls::TFlatEdit& R2Box() {
  static auto* box = Window().findChild<dorvane::controls::TFlatEdit*>(QStringLiteral("edR2"));
  return *box;
}

void BM_KeystrokeToChartImage(benchmark::State& state) {
  bool flip = false;
  for (auto _ : state) {
    R2Box().setText(flip ? QStringLiteral("10K") : QStringLiteral("10K2"));
    flip = !flip;
    benchmark::DoNotOptimize(Window().Chart().grab());
  }
}
BENCHMARK(BM_KeystrokeToChartImage);

// The text change and the update rule with its replot, without the paint.
void BM_KeystrokeWithoutPaint(benchmark::State& state) {
  bool flip = false;
  for (auto _ : state) {
    R2Box().setText(flip ? QStringLiteral("10K") : QStringLiteral("10K2"));
    flip = !flip;
  }
  QApplication::processEvents();
}
BENCHMARK(BM_KeystrokeWithoutPaint);

// The same keystroke with a legend in the plot (a load, the band and two
// pinned curves): the legend looks for the corner that covers the fewest
// curve pixels on every replot.
void BM_KeystrokeWithALegend(benchmark::State& state) {
  static dorvane::forms::TfmMain* window = [] {
    auto* w = new dorvane::forms::TfmMain;  // lives until the process ends
    w->show();
    dorvane::LoadSettings load;
    load.loadText = "47K";
    w->SetLoad(load);
    w->setBand(true);
    auto* box = w->findChild<dorvane::controls::TFlatEdit*>(QStringLiteral("edR2"));
    for (const char* pin : {"4K7", "22K"}) {
      box->setText(QString::fromLatin1(pin));
      w->PinModifiedCurve();
    }
    QApplication::processEvents();
    return w;
  }();
  auto* box = window->findChild<dorvane::controls::TFlatEdit*>(QStringLiteral("edR2"));
  if (window->Pinned().size() != 2) state.SkipWithError("the curves were not pinned");
  bool flip = false;
  for (auto _ : state) {
    box->setText(flip ? QStringLiteral("10K") : QStringLiteral("10K2"));
    flip = !flip;
    benchmark::DoNotOptimize(window->Chart().grab());
  }
}
BENCHMARK(BM_KeystrokeWithALegend);

void BM_ChartDrawingPassAlone(benchmark::State& state) {
  for (auto _ : state) {
    Window().Chart().RequestRepaint();
    benchmark::DoNotOptimize(Window().Chart().grab());
  }
}
BENCHMARK(BM_ChartDrawingPassAlone);

// A zoom in or out to the updated chart image: the background image is made
// again, so this should cost no more than the whole pass above.
void BM_ChartReplotAfterZoom(benchmark::State& state) {
  auto& chart = Window().Chart();
  const double min = chart.BottomAxis()->Minimum(), max = chart.BottomAxis()->Maximum();
  const double span = max - min;
  const qint64 backgrounds = chart.BackgroundPassCount();
  bool flip = false;
  for (auto _ : state) {
    if (flip)
      chart.BottomAxis()->SetMinMax(min, max);
    else
      chart.BottomAxis()->SetMinMax(min + span / 10, max - span / 10);
    flip = !flip;
    benchmark::DoNotOptimize(chart.grab());
  }
  chart.BottomAxis()->SetMinMax(min, max);
  if (chart.BackgroundPassCount() - backgrounds < state.iterations())
    state.SkipWithError("a zoom kept the old background");
}
BENCHMARK(BM_ChartReplotAfterZoom);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  dorvane::gfx::InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  dorvane::bench::RecordCpuModel();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
