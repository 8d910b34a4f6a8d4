// Ten thousand random user actions on the real window: no crash, never both
// resistors fitted, and the chart always shows the curves of the boxes' texts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <random>
#include <vector>

#include "chart/chart.h"
#include "controls/flat_combo_box.h"
#include "controls/flat_edit.h"
#include "controls/markup_check_box.h"
#include "core/curves.h"
#include "core/resistance.h"
#include "forms/frm_main.h"
#include "support/form_controls.h"

namespace dorvane::forms {
namespace {

QString RandomText(std::mt19937& rng, int maxLen) {
  static const char kAlphabet[] = "0123456789KkMmUuRrEe,.+- \t";
  std::uniform_int_distribution<int> len(0, maxLen), pick(0, int(sizeof kAlphabet) - 2), any(1, 0xFFFF);
  QString s;
  const int n = len(rng);
  s.reserve(n);
  for (int i = 0; i < n; ++i) s += (i % 7 == 6) ? QChar(char16_t(any(rng))) : QChar(kAlphabet[pick(rng)]);
  return s;
}

// Painting now and then is enough to draw every kind of state.
constexpr int kStepsPerPaint = 500;

TEST(Soak, TenThousandRandomActions) {
  qputenv("LC_ALL", "fr_FR.UTF-8");
  TfmMain window;
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const testsupport::MainControls ui(window);
  std::mt19937 rng(20261207);
  std::uniform_int_distribution<int> action(0, 99);
  const QList<Qt::Key> keys = {Qt::Key_0,      Qt::Key_5,     Qt::Key_K,      Qt::Key_M,
                               Qt::Key_U,      Qt::Key_Comma, Qt::Key_Period, Qt::Key_Backspace,
                               Qt::Key_Delete, Qt::Key_Tab,   Qt::Key_Return, Qt::Key_Escape,
                               Qt::Key_Space,  Qt::Key_Left,  Qt::Key_Home};
  const QSize area = ui.Shader1->size();
  struct Inputs {
    int law = -1;
    QString p1, r1, r2;
    bool r1Ticked = false, r2Ticked = false;
    char sep = 0;
    bool operator==(const Inputs&) const = default;
  } checked;
  std::vector<CurvePoint> expected;
  for (int step = 0; step < 10000; ++step) {
    const int a = action(rng);
    if (a < 40) {  // a click anywhere, with any button
      const QPoint at(std::uniform_int_distribution<int>(0, area.width() - 1)(rng),
                      std::uniform_int_distribution<int>(0, area.height() - 1)(rng));
      QWidget* target = ui.Shader1->childAt(at);
      if (!target) target = ui.Shader1;
      const Qt::MouseButton button = a < 30 ? Qt::LeftButton : a < 35 ? Qt::RightButton : Qt::MiddleButton;
      QTest::mouseClick(target, button, {}, target->mapFrom(ui.Shader1, at));
    } else if (a < 85) {  // keys into whatever has the focus
      QWidget* focus = QApplication::focusWidget();
      if (!focus) focus = ui.edR2;
      QTest::keyClick(focus, keys[std::uniform_int_distribution<int>(0, int(keys.size()) - 1)(rng)]);
    } else if (a < 95) {  // paste, now and then a huge text
      QWidget* focus = QApplication::focusWidget();
      // Past twice the toolkit's usual limit of 32767; pastes pile up, and
      // every later keystroke lays out and reads the whole text again.
      const int maxLen = std::uniform_int_distribution<int>(0, 20)(rng) == 0 ? (1 << 16) : 12;
      QApplication::clipboard()->setText(RandomText(rng, maxLen));
      if (focus) QTest::keyClick(focus, Qt::Key_V, Qt::ControlModifier);
    } else if (a < 98) {  // menu use that leaves the window open
      QAction* items[] = {ui.Indexdelaide1,        ui.AjouterresistanceR11,
                          ui.AjouterresistanceR21, ui.Affichercourbeoriginale1,
                          ui.Affichercourbelog1,   ui.Affichercourbemodifiee1};
      QAction* item = items[std::uniform_int_distribution<int>(0, 5)(rng)];
      emit ui.Montage1->aboutToShow();
      emit ui.Affichage1->aboutToShow();
      if (item->isEnabled()) item->trigger();
    } else {  // text set from code, as a program would
      controls::TFlatEdit* boxes[] = {ui.edP1, ui.edR1, ui.edR2};
      boxes[std::uniform_int_distribution<int>(0, 2)(rng)]->setText(RandomText(rng, 10));
    }
    if (step % kStepsPerPaint == 0) QApplication::processEvents();

    ASSERT_FALSE(ui.cbR1->Checked() && ui.cbR2->Checked()) << "step " << step;
    // The expected curve is computed again only when what it reads changed.
    const Inputs now{
        ui.lstPotType->ItemIndex(), ui.edP1->text(),    ui.edR1->text(),          ui.edR2->text(),
        ui.cbR1->Checked(),         ui.cbR2->Checked(), window.DecimalSeparator()};
    if (!(now == checked)) {
      checked = now;
      auto read = [&](const QString& text) { return ReadValueBox(text.toLatin1().toStdString(), now.sep); };
      expected = ComputeCurves(now.law, LoadedCircuit(read(now.p1), read(now.r1), read(now.r2), now.r1Ticked,
                                                      now.r2Ticked))
                     .loaded;
    }
    chart::TChartSeries* loaded = ui.Chart1->Series(1);
    ASSERT_EQ(loaded->Count(), int(expected.size())) << "step " << step;
    for (int i = 0; i < loaded->Count(); ++i)
      ASSERT_EQ(loaded->YValues()->Value(i), expected[i].y) << "step " << step;
  }
  EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace dorvane::forms
