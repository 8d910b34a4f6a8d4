// The chart's clipboard copies against one drawing pass of the same chart
// into an image: the bitmap copy, the SVG copy, each with and without handing
// the result to the clipboard (offscreen platform, in-process clipboard).
// Run: cmake --preset release && cmake --build --preset release --target bench_export &&
//   build/release/bench/bench_export --benchmark_repetitions=15 --benchmark_report_aggregates_only=true
// First run (2 shared cores, CPU medians): drawing pass 288 us, bitmap copy 297 us (1.03x),
// SVG copy 716 us (2.5x, 46 kB).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMimeData>

#include "chart/chart_export.h"
#include "core/curves.h"
#include "cpu_model.h"
#include "gfx/fonts.h"
#include "support/program_chart.h"

namespace {

using dorvane::chart::TChart;

// The main window's chart in its initial state (title, linear and loaded
// law), made in main() after the application.
TChart* chartUnderTest = nullptr;
TChart& Chart() {
  return *chartUnderTest;
}

void SetUp(TChart& c) {
  c.resize(345, 321);
  dorvane::testsupport::ConfigureProgramChart(c);
  c.Title()->Text().Clear();
  c.Title()->Text().Add(QStringLiteral("Montage en Pseudo Log (Log Pos)"));
  dorvane::forms::PlotProgramCurves(
      c, dorvane::ComputeCurves(0, dorvane::LoadedCircuit(100000, 10200, 10000, false, true)), true, true,
      false);
}

void BM_DrawingPass(benchmark::State& state) {
  TChart& chart = Chart();
  for (auto _ : state) benchmark::DoNotOptimize(chart.DrawToImage({345, 321}));
}
BENCHMARK(BM_DrawingPass)->Unit(benchmark::kMicrosecond);

void BM_ExportBitmap(benchmark::State& state) {
  TChart& chart = Chart();
  for (auto _ : state) benchmark::DoNotOptimize(chart.ExportBitmap());
}
BENCHMARK(BM_ExportBitmap)->Unit(benchmark::kMicrosecond);

void BM_CopyAsBitmap(benchmark::State& state) {
  TChart& chart = Chart();
  for (auto _ : state) chart.CopyAsBitmap();
}
BENCHMARK(BM_CopyAsBitmap)->Unit(benchmark::kMicrosecond);

void BM_ExportSvg(benchmark::State& state) {
  TChart& chart = Chart();
  for (auto _ : state) benchmark::DoNotOptimize(chart.ExportSvg());
  state.counters["bytes"] = double(chart.ExportSvg().size());
}
BENCHMARK(BM_ExportSvg)->Unit(benchmark::kMicrosecond);

void BM_CopyAsMetafile(benchmark::State& state) {
  TChart& chart = Chart();
  for (auto _ : state) chart.CopyAsMetafile(true);
}
BENCHMARK(BM_CopyAsMetafile)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  dorvane::gfx::InstallFontSubstitutions();
  TChart chart;
  SetUp(chart);
  chartUnderTest = &chart;
  benchmark::Initialize(&argc, argv);
  dorvane::bench::RecordCpuModel();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
