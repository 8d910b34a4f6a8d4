// The about box reads its version values from the program file at every
// paint, with nothing cached: what one lookup and one full paint cost, next
// to the same dialog painted with plain labels as baseline.
#include <benchmark/benchmark.h>
#include "cpu_model.h"

#include <QApplication>
#include <QImage>
#include <QLabel>

#include "forms/frm_about.h"
#include "gfx/fonts.h"
#include "version/version_record.h"

namespace {

void BM_VersionLookup(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(dorvane::version::LookupVersionString(u"ProductVersion"));
}
BENCHMARK(BM_VersionLookup);

void BM_AboutBoxPaint(benchmark::State& state) {
  dorvane::forms::TfmAbout form;
  QImage image(form.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    form.render(&image);
    benchmark::DoNotOptimize(image.bits());
  }
}
BENCHMARK(BM_AboutBoxPaint)->Unit(benchmark::kMicrosecond);

// Baseline: a dialog of the same size with the same texts in plain labels.
void BM_PlainDialogPaint(benchmark::State& state) {
  QWidget dialog;
  dialog.resize(305, 193);
  const char* texts[] = {"Version :",
                         "Copyright :",
                         "Commentaires :",
                         "1.0.0.0",
                         "Copyright (C) 2026 Dorvane",
                         "Freeware",
                         "Remerciements",
                         "Dorvane",
                         "Modification courbe variation potentiometre"};
  int y = 8;
  for (const char* t : texts) (new QLabel(QString::fromLatin1(t), &dialog))->move(8, y += 16);
  QImage image(dialog.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    dialog.render(&image);
    benchmark::DoNotOptimize(image.bits());
  }
}
BENCHMARK(BM_PlainDialogPaint)->Unit(benchmark::kMicrosecond);

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
