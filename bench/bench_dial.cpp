// The dial against one drawing pass of the chart into an image: the marks
// placed on the circuit's law, the dial drawn into its 300 dpi picture, each
// kind of file made (the chart's PDF beside the dial's), a PDF saved to the
// disk (synced), and the dialog's preview painted as on a keystroke.
// Run: cmake --preset release && cmake --build --preset release --target bench_dial &&
//   build/release/bench/bench_dial --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "chart/chart_export.h"
#include "core/curves.h"
#include "core/dial.h"
#include "cpu_model.h"
#include "forms/dial_files.h"
#include "forms/dial_preview.h"
#include "gfx/canvas.h"
#include "gfx/fonts.h"
#include "support/program_chart.h"

namespace {

using dorvane::chart::TChart;
using namespace dorvane;

TChart* chartUnderTest = nullptr;

// P1 100K, R2 10K, the dB marks on a 300-degree knob: the README's example.
const Circuit kCircuit{100000, Fitted::R2, 10000};

forms::DialPicture Picture() {
  const std::vector<double> levels = DefaultDialMarks(DialUnit::Decibels);
  forms::DialPicture p;
  p.marks = PlaceDialMarks(kCircuit, levels, DialUnit::Decibels, kDialRotationDefault).placed;
  p.circuit = QStringLiteral("P1 100K, R2 10K");
  return p;
}

void BM_ChartDrawingPass(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(chartUnderTest->DrawToImage({345, 321}));
}
BENCHMARK(BM_ChartDrawingPass)->Unit(benchmark::kMicrosecond);

// The chart's own PDF, for the files' cost beside the drawing.
void BM_ChartPdf(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(forms::ChartPdf(*chartUnderTest));
}
BENCHMARK(BM_ChartPdf)->Unit(benchmark::kMicrosecond);

void BM_DialPlaceMarks(benchmark::State& state) {
  const std::vector<double> levels = DefaultDialMarks(DialUnit::Decibels);
  for (auto _ : state)
    benchmark::DoNotOptimize(PlaceDialMarks(kCircuit, levels, DialUnit::Decibels, kDialRotationDefault));
}
BENCHMARK(BM_DialPlaceMarks)->Unit(benchmark::kMicrosecond);

// Layout and drawing into the 300 dpi picture, no encoding.
void BM_DialDrawImage(benchmark::State& state) {
  const forms::DialPicture picture = Picture();
  for (auto _ : state) {
    const forms::DialLayout layout = forms::LayoutDial(picture);
    const double perMm = forms::kDialPngDpi / 25.4;
    QImage image(int(layout.page.width() * perMm) + 1, int(layout.page.height() * perMm) + 1,
                 QImage::Format_RGB32);
    {
      QPainter painter(&image);
      gfx::Canvas canvas(painter);
      forms::DrawDial(canvas, picture, layout, perMm);
    }
    benchmark::DoNotOptimize(image);
  }
}
BENCHMARK(BM_DialDrawImage)->Unit(benchmark::kMicrosecond);

template <forms::OutputType kType>
void BM_DialFile(benchmark::State& state) {
  const forms::DialPicture picture = Picture();
  qsizetype bytes = 0;
  for (auto _ : state) {
    const forms::FileContents c = forms::DialFileContents(picture, kType);
    bytes = c.data.size();
    benchmark::DoNotOptimize(c);
  }
  state.counters["bytes"] = double(bytes);
}
BENCHMARK_TEMPLATE(BM_DialFile, forms::OutputType::Pdf)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_DialFile, forms::OutputType::Svg)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_DialFile, forms::OutputType::Png)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_DialFile, forms::OutputType::Csv)->Unit(benchmark::kMicrosecond);

// What "Enregistrer" does once the name is chosen: the PDF made, written
// beside the old one, synced and put in its place.
void BM_DialSavePdf(benchmark::State& state) {
  const forms::DialPicture picture = Picture();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("cadran.pdf"));
  for (auto _ : state) {
    if (!forms::SaveDialFile(picture, path, forms::OutputType::Pdf).isEmpty())
      state.SkipWithError("not saved");
  }
}
BENCHMARK(BM_DialSavePdf)->Unit(benchmark::kMicrosecond);

// The dialog's preview on a keystroke: the picture set anew, then painted.
void BM_DialPreviewUpdate(benchmark::State& state) {
  forms::TDialPreview preview;
  preview.resize(280, 260);
  QImage image(280, 260, QImage::Format_RGB32);
  const forms::DialPicture picture = Picture();
  for (auto _ : state) {
    preview.SetPicture(picture);
    preview.render(&image);
  }
}
BENCHMARK(BM_DialPreviewUpdate)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  gfx::InstallFontSubstitutions();
  TChart chart;
  chart.resize(345, 321);
  testsupport::ConfigureProgramChart(chart);
  chart.Title()->Text().Clear();
  chart.Title()->Text().Add(QStringLiteral("Montage en Pseudo Log (Log Pos)"));
  forms::PlotProgramCurves(chart, ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true)), true,
                           true, false);
  chartUnderTest = &chart;
  benchmark::Initialize(&argc, argv);
  bench::RecordCpuModel();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
