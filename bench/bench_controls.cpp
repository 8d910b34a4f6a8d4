// Costs of the styled controls on the paths that run per keystroke: a
// mark-up caption, a flat edit box taking a key and repainting, a check box
// repaint. Baseline: the same box as a plain QLineEdit.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>

#include "controls/flat_edit.h"
#include "controls/markup.h"
#include "controls/markup_check_box.h"
#include "cpu_model.h"
#include "gfx/fonts.h"

namespace {

using namespace dorvane;

void BM_DrawMarkupCaption(benchmark::State& state) {
  QImage image(209, 20, QImage::Format_RGB32);
  QPainter painter(&image);
  gfx::Canvas canvas(painter);
  canvas.setFont(gfx::WindowFont());
  const QString caption =
      QStringLiteral("Afficher <FONT color=\"#C0C0C0\"  >courbe log (Pos) théorique</FONT>");
  for (auto _ : state) benchmark::DoNotOptimize(controls::DrawMarkup(canvas, caption, {17, 4, 209, 20}));
}
BENCHMARK(BM_DrawMarkupCaption);

template <class Edit>
void EditKeystroke(benchmark::State& state) {
  Edit edit;
  edit.setGeometry(0, 0, 65, 21);
  edit.setFont(gfx::WindowFont());
  if constexpr (std::is_same_v<Edit, controls::TFlatEdit>) {
    edit.setFlat(true);
    edit.setFlatParentColor(false);
  }
  QImage image(65, 21, QImage::Format_RGB32);
  int i = 0;
  for (auto _ : state) {
    edit.setText((++i & 1) ? QStringLiteral("10K2") : QStringLiteral("10K"));
    edit.render(&image);
  }
}
void BM_FlatEditKeystroke(benchmark::State& state) {
  EditKeystroke<controls::TFlatEdit>(state);
}
void BM_PlainLineEditKeystroke(benchmark::State& state) {
  EditKeystroke<QLineEdit>(state);
}
BENCHMARK(BM_FlatEditKeystroke);
BENCHMARK(BM_PlainLineEditKeystroke);

void BM_CheckBoxPaint(benchmark::State& state) {
  controls::TMarkupCheckBox box;
  box.setGeometry(0, 0, 161, 20);
  box.setFont(gfx::WindowFont());
  box.setButtonType(controls::TMarkupCheckBox::btWinXP);
  box.setCaption(QStringLiteral("Afficher <FONT color=\"#80FF00\">courbe originale</FONT>"));
  QImage image(161, 20, QImage::Format_RGB32);
  for (auto _ : state) box.render(&image);
}
BENCHMARK(BM_CheckBoxPaint);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  gfx::InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  dorvane::bench::RecordCpuModel();
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
