// One keystroke in the main window to the updated chart image (the text
// change, the update rule, one drawing pass and its copy to the window),
// against the chart's drawing pass and copy alone.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "chart/chart.h"
#include "controls/flat_edit.h"
#include "forms/frm_main.h"
#include "gfx/fonts.h"
#include "ui_frm_main.h"

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

void BM_KeystrokeToChartImage(benchmark::State& state) {
  auto& ui = Window().controls();
  bool flip = false;
  for (auto _ : state) {
    ui.edR2->setText(flip ? QStringLiteral("10K") : QStringLiteral("10K2"));
    flip = !flip;
    ui.Chart1->repaint();
  }
}
BENCHMARK(BM_KeystrokeToChartImage);

void BM_ChartDrawingPassAlone(benchmark::State& state) {
  auto& ui = Window().controls();
  for (auto _ : state) {
    ui.Chart1->RequestRepaint();
    ui.Chart1->repaint();
  }
}
BENCHMARK(BM_ChartDrawingPassAlone);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  dorvane::gfx::InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
