// One model update as the window runs it on every keystroke: three parses,
// three formats and the three curves, against the curves alone.
#include <benchmark/benchmark.h>

#include "core/curves.h"
#include "core/main_window_state.h"
#include "core/resistance.h"
#include "cpu_model.h"

namespace {

dorvane::MainWindowInputs Inputs() {
  dorvane::MainWindowInputs in;
  in.p1Text = "100K";
  in.r1Text = "10K2";
  in.r2Text = "10K2";
  in.r2Ticked = true;
  in.showLinear = in.showLoaded = true;
  in.sender = dorvane::RuleSender::Other;
  in.decimalSeparator = ',';
  return in;
}

void BM_ModelUpdate(benchmark::State& state) {
  const dorvane::MainWindowInputs in = Inputs();
  for (auto _ : state) benchmark::DoNotOptimize(dorvane::ComputeMainWindowState(in));
}
BENCHMARK(BM_ModelUpdate);

void BM_CurvesOnly(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(
        dorvane::ComputeCurves(0, dorvane::LoadedCircuit(100000, 10200, 10200, false, true)));
}
BENCHMARK(BM_CurvesOnly);

void BM_ParseAndFormat(benchmark::State& state) {
  for (auto _ : state) {
    const double v = dorvane::ParseResistance("12,85K", ',');
    benchmark::DoNotOptimize(dorvane::FormatResistance(v, ','));
  }
}
BENCHMARK(BM_ParseAndFormat);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  dorvane::bench::RecordCpuModel();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
