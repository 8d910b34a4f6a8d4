#include "forms/frm_find_resistor.h"

#include <gtest/gtest.h>

#include "support/shown_main_window.h"
#include "support/widget_helpers.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <cmath>
#include <functional>

#include "chart/chart.h"
#include "controls/flat_edit.h"
#include "controls/label.h"
#include "controls/markup_check_box.h"
#include "core/curves.h"
#include "core/resistance.h"
#include "core/taper.h"
#include "forms/frm_main.h"

namespace dorvane::forms {
namespace {

using testsupport::FinderControls;

QStringList Column(QTreeWidget* list, int column) {
  QStringList out;
  for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(column);
  return out;
}

class FindResistorTest : public testsupport::ShownMainWindow {
 protected:
  // The dialog on P1 100K, R2, aimed at "A 15 %".
  std::unique_ptr<TfmFindResistor> OpenOnA15() {
    Open();
    auto dialog = std::make_unique<TfmFindResistor>(window_.get(), "100K", ',', Fitted::R2);
    dialog->show();
    FinderControls(*dialog).cbTarget->setCurrentIndex(2);
    return dialog;
  }
  // Chooses the menu item and acts on the dialog while it is shown.
  void RunDialog(const std::function<void(TfmFindResistor&)>& act) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<TfmFindResistor*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      seen = true;
      act(*dialog);
      if (dialog->isVisible()) dialog->reject();  // never leave the test hanging
    });
    ui().Trouverlaresistance1->trigger();
    EXPECT_TRUE(seen);
  }

  static void Retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
  }

  // The loaded curve on the chart, point by point.
  std::vector<double> LoadedSeries() {
    std::vector<double> y;
    chart::TChartSeries* s = ui().Chart1->Series(1);
    for (int i = 0; i < s->Count(); ++i) y.push_back(s->YValues()->Value(i));
    return y;
  }
};

TEST_F(FindResistorTest, DefaultsForP1At100K) {
  Open();
  TfmFindResistor dialog(window_.get(), ui().edP1->text(), ',', Fitted::R2);
  const FinderControls ui(dialog);
  EXPECT_TRUE(ui.rbR2->isChecked());
  EXPECT_EQ(ui.edPosition->text(), "50");
  EXPECT_EQ(ui.edWanted->text(), "10");
  EXPECT_EQ(ui.cbSeries->currentText(), "E24");
  EXPECT_EQ(ui.lblP1->text(), "100,0K");
  EXPECT_EQ(ui.cbTarget->currentText(), QString::fromUtf8("Loi idéale"));
  // 100K x 0.5 x 0.5 x 10 / (50 - 10) = 6 250 ohms, exactly.
  EXPECT_EQ(ui.lblExact->text(), QString::fromUtf8("6 250 Ω"));
  EXPECT_EQ(Column(ui.lstValues, 0), QStringList({"5,1K", "5,6K", "6,2K", "6,8K", "7,5K", "8,2K"}));
  ASSERT_TRUE(dialog.ChosenValue());
  EXPECT_EQ(*dialog.ChosenValue(), 6200.0);
  const QTreeWidgetItem* chosen = ui.lstValues->currentItem();
  // 50k || 6k2 = 5 516 over 55 516; the band's corners 80k with 6k51 and
  // 120k with 5k89; the gap to 10^(x/50) from 10 to 100 %, worked apart.
  const char* columns[] = {"6,2K", "9,9 %", "-20,1 dB", "8,2 à 12,3 %", "3,5 dB", "27,1 points", "8,2 dB"};
  for (int c = 0; c < 7; ++c) EXPECT_EQ(chosen->text(c), QString::fromUtf8(columns[c])) << c;
  EXPECT_EQ(ui.lstValues->headerItem()->text(1), QString::fromUtf8("À 50 %"));
  EXPECT_TRUE(ui.btnApply->isEnabled());
  EXPECT_EQ(dialog.font().pixelSize(), 11);
}

// Shown, with the platform's fonts and style (on Windows its own), the
// dialog fits a 640 x 480 screen with its title bar.
TEST_F(FindResistorTest, FitsA640By480Screen) {
  Open();
  TfmFindResistor dialog(window_.get(), ui().edP1->text(), ',', Fitted::R2);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(dialog.size(), dialog.sizeHint());  // a fixed size: what the layout asks for
  EXPECT_LE(dialog.width(), 640);
  EXPECT_LE(dialog.height(), 450);
}

TEST_F(FindResistorTest, TypingAndChoosingASeriesUpdateAtOnce) {
  Open();
  TfmFindResistor dialog(window_.get(), "100K", ',', Fitted::R2);
  const FinderControls ui(dialog);
  dialog.show();
  Retype(ui.edWanted, "20");
  // 100K x 0.25 x 20 / 30 = 16 667 ohms.
  EXPECT_EQ(ui.lblExact->text(), QString::fromUtf8("16 666,67 Ω"));
  EXPECT_EQ(Column(ui.lstValues, 0), QStringList({"13,0K", "15,0K", "16,0K", "18,0K", "20,0K", "22,0K"}));
  ui.cbSeries->setFocus();
  QTest::keyClick(ui.cbSeries, Qt::Key_Home);
  EXPECT_EQ(ui.cbSeries->currentText(), "E6");
  EXPECT_EQ(ui.edResistorTolerance->text(), "20");  // the series' own
  EXPECT_EQ(Column(ui.lstValues, 0), QStringList({"6,8K", "10,0K", "15,0K", "22,0K", "33,0K", "47,0K"}));
  QTest::keyClick(ui.cbSeries, Qt::Key_End);
  EXPECT_EQ(Column(ui.lstValues, 0).mid(2, 2), QStringList({"16,5K", "16,7K"}));  // E192
  // A position between the chart's points, with the decimal comma; the
  // typed wanted value stays put.
  Retype(ui.edPosition, "37,5");
  EXPECT_EQ(ui.edWanted->text(), "20");
  EXPECT_EQ(ui.lstValues->headerItem()->text(1), QString::fromUtf8("À 37,5 %"));
  // The widest header a position gives still leaves every column in view.
  Retype(ui.edPosition, "99,99");
  QTest::qWait(0);
  EXPECT_EQ(ui.lstValues->headerItem()->text(1), QString::fromUtf8("À 99,99 %"));
  EXPECT_LE(ui.lstValues->header()->length(), ui.lstValues->viewport()->width());
  EXPECT_FALSE(ui.lstValues->horizontalScrollBar()->isVisible());
}

// "A 15 %" with a 47K load on the wiper, +-20 % and +-5 % parts, worked
// apart: at 50 %, 1/R = 0.15 / 0.85 of 50k's conductance... 1/8 823.53 -
// 1/50k - 1/47k, R = 13 877.95; each row's figures likewise.
TEST_F(FindResistorTest, TaperCodeWithALoadAndThePreview) {
  const auto dialog = OpenOnA15();
  const FinderControls ui(*dialog);
  Retype(ui.edLoad, "47K");
  EXPECT_EQ(ui.cbTarget->currentText(), "A 15 %");
  EXPECT_EQ(ui.edWanted->text(), "15");
  EXPECT_EQ(ui.lblExact->text(), QString::fromUtf8("13 877,95 Ω"));
  EXPECT_EQ(Column(ui.lstValues, 0), QStringList({"11,0K", "12,0K", "13,0K", "15,0K", "16,0K", "18,0K"}));
  const char* row13k[] = {"13,0K", "14,5 %", "-16,8 dB", "12,3 à 17,3 %", "3,0 dB", "22,0 points", "12,0 dB"};
  for (int c = 0; c < 7; ++c)
    EXPECT_EQ(ui.lstValues->currentItem()->text(c), QString::fromUtf8(row13k[c])) << c;
  // The preview: target, the selected row's curve and its band, at 50 %.
  chart::TChart& preview = *ui.chPreview;
  const auto at50 = [&](int s) { return preview.Series(s)->YValues()->Value(50); };
  EXPECT_NEAR(at50(0), 15, 1e-9);
  EXPECT_NEAR(at50(1), 14.472, 5e-4);
  EXPECT_NEAR(at50(2), 12.293, 5e-4);
  EXPECT_NEAR(at50(3), 17.297, 5e-4);
  ui.lstValues->setCurrentItem(ui.lstValues->topLevelItem(3));
  EXPECT_NEAR(at50(1), 15.632, 5e-4);  // 15K
  // A tolerance that cannot be read leaves the law drawn, alone.
  Retype(ui.edPotTolerance, "2O");
  EXPECT_EQ(ui.lblMessage->text(),
            QString::fromUtf8("La tolérance de P1 doit être un nombre de 0 à moins de 100."));
  EXPECT_EQ(preview.Series(0)->Count(), 101);
  EXPECT_EQ(preview.Series(1)->Count(), 0);
  Retype(ui.edPotTolerance, "20");
  // A code keeps its mirror across montages.
  ui.rbR1->click();
  EXPECT_EQ(ui.cbTarget->currentText(), "C 85 %");
  EXPECT_EQ(ui.edWanted->text(), "85");
  // "Autre" takes a typed value at mid travel.
  ui.cbTarget->setCurrentIndex(ui.cbTarget->count() - 1);
  EXPECT_TRUE(ui.edTargetMid->isEnabled());
  Retype(ui.edTargetMid, "75");
  EXPECT_EQ(ui.edWanted->text(), "75");
  // A value at mid travel with no law leaves no old figures beside its message.
  for (const char* mid : {"0", "100"}) {
    Retype(ui.edTargetMid, mid);
    EXPECT_TRUE(ui.lblMessage->text().contains(QString::fromUtf8("mi-course"))) << mid;
    EXPECT_EQ(ui.lblExact->text(), "-") << mid;
    EXPECT_EQ(ui.edWanted->text(), "") << mid;
  }
}

// "A 15 %" on 100K: the resistor comes from the law's own value, not from
// the two decimals "Valeur voulue" shows (122,36 Ω at 1 %, 33K at 99,99 %,
// "0" and no resistor at 0,01 %, 4 430,85 Ω with a 47K load at 25 %).
TEST_F(FindResistorTest, TheLawsOwnValueIsTheTarget) {
  const auto dialog = OpenOnA15();
  const FinderControls ui(*dialog);
  const struct {
    const char *position, *load, *shown, *exact, *chosen;
  } rows[] = {
      {"1", "", "0,113", "126,71 Ω", "130 Ω"},
      {"99,99", "", "99,9642", "38 740,57 Ω", "39,0K"},
      {"0,01", "", "0,00112", "1,26 Ω", "1,3 Ω"},
      {"25", "47K", "4,44", "4 427,19 Ω", "4,3K"},
  };
  for (const auto& r : rows) {
    Retype(ui.edLoad, r.load);
    Retype(ui.edPosition, r.position);
    EXPECT_EQ(ui.edWanted->text(), QString::fromUtf8(r.shown)) << r.position;
    EXPECT_EQ(ui.lblExact->text(), QString::fromUtf8(r.exact)) << r.position;
    ASSERT_NE(ui.lstValues->currentItem(), nullptr) << r.position;
    EXPECT_EQ(ui.lstValues->currentItem()->text(0), QString::fromUtf8(r.chosen)) << r.position;
  }
  // Typed, the value shown is the target.
  Retype(ui.edWanted, "4,44");
  EXPECT_EQ(ui.lblExact->text(), QString::fromUtf8("4 430,85 Ω"));
}

// Every field is on the Tab path and has its own access key, on itself or on
// the label that leads to it.
TEST_F(FindResistorTest, EveryFieldHasAnAccessKey) {
  Open();
  TfmFindResistor dialog(window_.get(), "100K", ',', Fitted::R2);
  dialog.show();
  // Down the left column, then the right one, as the dialog shows them.
  EXPECT_EQ(testsupport::NamesOf(testsupport::TabPathWithAccessKeys(dialog)),
            QString("rbR1 rbR2 cbTarget edTargetMid edPosition edWanted edRangeFrom edRangeTo edLoad "
                    "cbSeries edPotTolerance edResistorTolerance lstValues btnApply btnCancel")
                .split(u' '));
  // "jusqu'à" keeps its distance from both of its fields.
  const FinderControls ui(dialog);
  EXPECT_GE(ui.lblRangeTo->geometry().left() - ui.edRangeFrom->geometry().right(), 4);
  EXPECT_GE(ui.edRangeTo->geometry().left() - ui.lblRangeTo->geometry().right(), 4);
}

// Under a dark palette the preview's labels, titles and frame stay dark on
// a light panel, as on the main chart.
TEST_F(FindResistorTest, ThePreviewReadsUnderADarkPalette) {
  Open();
  const QPalette before = QApplication::palette();
  QPalette dark(QColor(0x32, 0x32, 0x32));  // as a dark desktop theme sets it
  QApplication::setPalette(dark);
  TfmFindResistor dialog(window_.get(), "100K", ',', Fitted::R2);
  dialog.show();
  chart::TChart& preview = *FinderControls(dialog).chPreview;
  const QImage shot = preview.grab().toImage();
  // Left of the plot: the tick labels, the axis title and the frame's edge.
  const int margin = preview.BottomAxis()->StartPixel() - 1;
  int light = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < margin; ++x) light += qGray(shot.pixel(x, y)) > 200;
  QApplication::setPalette(before);
  EXPECT_GT(light, margin * shot.height() / 2);
}

TEST_F(FindResistorTest, TheWantedValueFollowsTheIdealLawUntilTyped) {
  Open();
  TfmFindResistor dialog(window_.get(), "100K", ',', Fitted::R1);
  const FinderControls ui(dialog);
  dialog.show();
  EXPECT_EQ(ui.edWanted->text(), "90");  // 100 - 10^(50/50)
  QTest::mouseClick(ui.rbR2, Qt::LeftButton, {}, QPoint(5, ui.rbR2->height() / 2));
  EXPECT_EQ(ui.edWanted->text(), "10");
  Retype(ui.edPosition, "25");
  EXPECT_EQ(ui.edWanted->text(), "3,16");  // 10^0.5
}

TEST_F(FindResistorTest, ImpossibleTargetsSaySoAndCannotBeApplied) {
  Open();
  TfmFindResistor dialog(window_.get(), "100K", ',', Fitted::R2);
  const FinderControls ui(dialog);
  dialog.show();
  const struct {
    const char *position, *wanted, *load, *says;
  } cases[] = {
      {"50", "60", "", "R2 ne peut qu'abaisser"},
      {"50", "50", "", "R2 ne peut qu'abaisser"},
      {"0", "0,5", "", "entre 0 et 100"},
      {"100", "50", "", "entre 0 et 100"},
      {"50", "1.5", "", "séparateur décimal attendu est la virgule"},
      {"5O", "10", "", "pas un nombre"},
      {"", "10", "", "pas un nombre"},
      // What a load of 1 ohm leaves, 1/50 002, and of 1 milliohm.
      {"50", "1", "1U", "entre 0 et 0,002\u00a0%"},
      {"50", "1", "0,001", "entre 0 et 0,000002\u00a0%"},
      // A load as the load dialog reads it, and said as it says it.
      {"50", "10", "+47K",
       "La charge « +47K » n'est pas une résistance de plus de 0 ohm (par exemple 47K ; vide pour aucune)."},
      {"50", "10", "0", "« 0 » n'est pas une résistance"},
      {"50", "10", "-4K7", "« -4K7 » n'est pas une résistance"},
      {"50", "10", "4K7555", "« 4K7555 » n'est pas une résistance"},
      {"50", "10", "1K2K", "« 1K2K » n'est pas une résistance"},
      {"50", "10", "5000000000", "« 5000000000 » n'est pas une résistance"},
      {"50", "10", "4.7K", "(le séparateur décimal est « , »)."},
  };
  for (const auto& c : cases) {
    if (*c.load)
      Retype(ui.edLoad, c.load);
    else
      ui.edLoad->clear();
    Retype(ui.edPosition, c.position);
    Retype(ui.edWanted, c.wanted);
    EXPECT_EQ(ui.stkResults->currentWidget(), ui.lblMessage) << c.position << " " << c.wanted;
    EXPECT_TRUE(ui.lblMessage->text().contains(QString::fromUtf8(c.says)))
        << ui.lblMessage->text().toStdString();
    EXPECT_FALSE(ui.btnApply->isEnabled());
    EXPECT_EQ(ui.lblExact->text(), "-");
    QTest::keyClick(ui.edWanted, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
  }
  EXPECT_FALSE(dialog.ReadLoadSettings());
  // Alt+A, the access key of "Appliquer", types nothing while it is disabled.
  QTest::sendKeyEvent(QTest::Click, ui.edLoad, Qt::Key_A, QStringLiteral("a"), Qt::AltModifier);
  EXPECT_EQ(ui.edLoad->text(), "4.7K");
  ui.edLoad->clear();
  // Beyond what the notation writes: 100K x 0.25 x 49.99999 / 0.00001.
  Retype(ui.edPosition, "50");
  Retype(ui.edWanted, "49,99999");
  EXPECT_TRUE(ui.lblMessage->text().contains(QString::fromUtf8("Hors de portée")));
  EXPECT_TRUE(ui.lblMessage->text().contains(QString::fromUtf8("4\u00a0294\u00a0967\u00a0295\u00a0Ω")));
  EXPECT_EQ(ui.lblExact->text(), QString::fromUtf8("hors de portée"));
  EXPECT_FALSE(ui.btnApply->isEnabled());
  // The same wanted value is in reach of the other montage.
  Retype(ui.edPosition, "50");
  Retype(ui.edWanted, "60");
  ui.rbR1->click();
  EXPECT_EQ(ui.stkResults->currentWidget(), ui.lstValues);
  EXPECT_TRUE(ui.btnApply->isEnabled());

  // Below 1K in ohms: 10K x 0.25 x 10 / 40.
  TfmFindResistor small(window_.get(), "10K", ',', Fitted::R2);
  EXPECT_EQ(FinderControls(small).lblExact->text(), QString::fromUtf8("625 Ω"));
  EXPECT_EQ(Column(FinderControls(small).lstValues, 0),
            QString::fromUtf8("510 Ω|560 Ω|620 Ω|680 Ω|750 Ω|820 Ω").split(u'|'));

  TfmFindResistor noP1(window_.get(), "", ',', Fitted::R2);
  EXPECT_TRUE(FinderControls(noP1).lblMessage->text().contains("P1"));
  EXPECT_FALSE(FinderControls(noP1).btnApply->isEnabled());
  // 4 000M at 40 %: exactly 4 000M, and of its neighbours only those that
  // "Appliquer" can write, which read back as the same value.
  TfmFindResistor top(window_.get(), "4000M", ',', Fitted::R2);
  top.show();
  Retype(FinderControls(top).edWanted, "40");
  EXPECT_EQ(Column(FinderControls(top).lstValues, 0), QStringList({"3300,0M", "3600,0M", "3900,0M"}));
  ASSERT_TRUE(top.ChosenValue());
  ApplyFittedResistor(*window_, Fitted::R2, *top.ChosenValue());
  EXPECT_EQ(this->ui().edR2->text(), "3900M");
  EXPECT_EQ(this->ui().lblR2->Caption(), "R2\r3900,0M");
}

TEST_F(FindResistorTest, AppliquerWritesTheValueAndTicksAsAClickWould) {
  Open();
  const qint64 runs = window_->RuleRunCount();
  RunDialog([](TfmFindResistor& d) { QTest::mouseClick(FinderControls(d).btnApply, Qt::LeftButton); });
  EXPECT_EQ(ui().edR2->text(), "6K2");
  EXPECT_TRUE(ui().cbR2->Checked());
  EXPECT_EQ(ui().lblR2->Caption(), "R2\r6,2K");
  EXPECT_GT(window_->RuleRunCount(), runs);
  const Curves expected = ComputeCurves(0, LoadedCircuit(100000, 0, 6200, false, true));
  std::vector<double> y;
  for (const CurvePoint& p : expected.loaded) y.push_back(p.y);
  EXPECT_EQ(LoadedSeries(), y);

  // The other montage: R1 is ticked through the rule, which unticks R2.
  RunDialog([](TfmFindResistor& d) {
    FinderControls(d).rbR1->click();
    QTest::keyClick(FinderControls(d).edWanted, Qt::Key_Return);  // the default button
  });
  EXPECT_EQ(ui().edR1->text(), "6K2");  // 100K x 0.25 x 10 / 40 again
  EXPECT_TRUE(ui().cbR1->Checked());
  EXPECT_FALSE(ui().cbR2->Checked());
  EXPECT_TRUE(ui().edR1->isEnabled());
  EXPECT_FALSE(ui().edR2->isEnabled());
  EXPECT_EQ(ui().Chart1->Title()->TextLines(), QStringList{"Montage en Pseudo Anti-Log (Log Neg)"});
  EXPECT_EQ(ui().lblR1->Caption(), "R1\r6,2K");
  EXPECT_EQ(ui().lblR2->Caption(), "R2");

  // Opened again, the dialog starts from R1.
  RunDialog([](TfmFindResistor& d) { EXPECT_TRUE(FinderControls(d).rbR1->isChecked()); });

  // The window's load and tolerances go in, as typed (rounded, 99,999
  // would read 100, which is refused); "Appliquer" brings the finder's
  // back, and the window draws the curve the finder worked out.
  window_->SetLoad({"47K", 99.999, 2, "99,999", "2"});
  RunDialog([](TfmFindResistor& d) {
    EXPECT_EQ(d.ReadLoadSettings(), std::optional(LoadSettings{"47K", 99.999, 2, "99,999", "2"}));
    FinderControls(d).rbR2->click();
    Retype(FinderControls(d).edLoad, "22K");
    QTest::mouseClick(FinderControls(d).btnApply, Qt::LeftButton);
  });
  EXPECT_EQ(window_->Load(), (LoadSettings{"22K", 99.999, 2, "99,999", "2"}));
  const double r2 = ParseResistance(ui().edR2->text().toStdString(), ',');
  EXPECT_NEAR(LoadedSeries()[40], LoadedPercentWithLoad(Fitted::R2, 100000, r2, 22000, 40), 1e-9);
  EXPECT_TRUE(ui().Chart1->Title()->TextLines().front().endsWith(", charge 22,0K"));
}

TEST_F(FindResistorTest, DoubleClickAppliesThatRow) {
  Open();
  RunDialog([](TfmFindResistor& d) {
    QTreeWidget* list = FinderControls(d).lstValues;
    const QRect first = list->visualItemRect(list->topLevelItem(0));
    // A double-click is a click, then a second press reported as such.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_TRUE(d.isVisible());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first.center());
  });
  EXPECT_EQ(ui().edR2->text(), "5K1");
  EXPECT_EQ(ui().lblR2->Caption(), "R2\r5,1K");
}

// A double-click through the window system; the dialog closes on its second
// press, so on X11 the release often goes to a window that is gone. Resting
// on the plot must still give the tool tip.
TEST_F(FindResistorTest, TheToolTipShowsAfterADoubleClickWhoseReleaseIsLost) {
  Open();
  RunDialog([](TfmFindResistor& d) {
    QTreeWidget* list = FinderControls(d).lstValues;
    const QPoint at = list->viewport()->mapTo(&d, list->visualItemRect(list->topLevelItem(1)).center());
    int& t = QTest::lastMouseTimestamp;
    for (const QEvent::Type type :
         {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress})
      qt_handleMouseEvent(d.windowHandle(), at, d.mapToGlobal(at),
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton,
                          type, {}, ++t);
    t += QTest::mouseDoubleClickInterval;
  });
  EXPECT_EQ(ui().edR2->text(), "5K6");
  EXPECT_EQ(QGuiApplication::mouseButtons(), Qt::LeftButton);  // what the lost release leaves
  chart::TChart& chart = *ui().Chart1;
  const QPoint rest((chart.BottomAxis()->StartPixel() + chart.BottomAxis()->EndPixel()) / 2,
                    (chart.LeftAxis()->StartPixel() + chart.LeftAxis()->EndPixel()) / 2);
  QHelpEvent help(QEvent::ToolTip, rest, chart.mapToGlobal(rest));
  QApplication::sendEvent(&chart, &help);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_TRUE(QToolTip::text().startsWith("Position ")) << QToolTip::text().toStdString();
  QToolTip::hideText();
  // The release at last, for the tests after this one.
  qt_handleMouseEvent(window_->windowHandle(), rest, rest, Qt::NoButton, Qt::LeftButton,
                      QEvent::MouseButtonRelease, {}, ++QTest::lastMouseTimestamp);
}

TEST_F(FindResistorTest, AnnulerAndEscapeChangeNothing) {
  Open();
  const std::vector<double> before = LoadedSeries();
  const qint64 runs = window_->RuleRunCount();
  RunDialog([](TfmFindResistor& d) {
    FinderControls(d).rbR1->click();
    Retype(FinderControls(d).edWanted, "80");
    QTest::mouseClick(FinderControls(d).btnCancel, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
  });
  RunDialog([](TfmFindResistor& d) {
    QTest::keyClick(FinderControls(d).edWanted, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_EQ(window_->RuleRunCount(), runs);
  EXPECT_EQ(ui().edR2->text(), "10K");
  EXPECT_EQ(ui().edR1->text(), "10K2");
  EXPECT_TRUE(ui().cbR2->Checked());
  EXPECT_FALSE(ui().cbR1->Checked());
  EXPECT_EQ(LoadedSeries(), before);
}

TEST_F(FindResistorTest, PointLocale) {
  Open("en_US.UTF-8");
  RunDialog([](TfmFindResistor& d) {
    const FinderControls ui(d);
    EXPECT_EQ(ui.lblP1->text(), "100.0K");
    Retype(ui.edPosition, "37.5");
    EXPECT_EQ(ui.stkResults->currentWidget(), ui.lstValues);
    EXPECT_EQ(ui.lstValues->headerItem()->text(1), QString::fromUtf8("À 37.5 %"));
    Retype(ui.edPosition, "37,5");
    EXPECT_EQ(ui.stkResults->currentWidget(), ui.lblMessage);
  });
}

TEST_F(FindResistorTest, MenuBetweenEditionAndAide) {
  Open();
  QStringList titles;
  for (QAction* a : ui().MainMenu1->actions()) titles << a->text();
  EXPECT_EQ(titles, QStringList({"&Fichier", "&Edition", "&Montage", "Aff&ichage", "&Outils", "&Aide"}));
  EXPECT_EQ(ui().Trouverlaresistance1->text(), QString::fromUtf8("&Trouver la résistance..."));
}

// "Affichage" > "Échelle en décibels": off at start; on, the chart and the
// finder's preview in dB; the command line's switch shows in the menu.
TEST_F(FindResistorTest, DecibelScaleFromTheMenu) {
  Open();
  QAction* item = ui().Echelleendecibels1;
  EXPECT_TRUE(ui().Affichage1->actions().contains(item));
  EXPECT_FALSE(item->isChecked());
  EXPECT_EQ(ui().Chart1->LeftAxis()->Maximum(), 100);
  item->trigger();
  EXPECT_TRUE(window_->Decibels());
  EXPECT_EQ(ui().Chart1->LeftAxis()->Minimum(), -60);
  EXPECT_EQ(ui().Chart1->LeftAxis()->Title()->Caption(), QString::fromUtf8("Atténuation (dB)"));
  EXPECT_NEAR(LoadedSeries()[50], 20 * std::log10(1.0 / 7), 1e-9);  // R2 10K on 100K
  RunDialog([](TfmFindResistor& d) { EXPECT_EQ(FinderControls(d).chPreview->LeftAxis()->Minimum(), -60); });
  // Zoomed in dB, the step of 1, 2 or 5 x 10^n dB whose labels number
  // closest to six, the fewer of two as close.
  const struct {
    double min, max, step;
    size_t labels;
  } zooms[] = {
      {-60, 0, 10, 7}, {-25, -15, 2, 5},    {-40, -10, 5, 7},
      {-33, -9, 5, 5}, {-20.75, -15, 1, 6}, {-3.3, -2.1, 0.2, 6},
  };
  for (const auto& z : zooms) {
    ui().Chart1->LeftAxis()->SetMinMax(z.min, z.max);
    const std::vector<chart::AxisLabel>& labels = ui().Chart1->LeftAxis()->Geometry().labels;
    ASSERT_GE(labels.size(), 2u) << z.min;
    EXPECT_NEAR(labels[0].value - labels[1].value, z.step, 1e-9) << z.min << " to " << z.max;
    EXPECT_EQ(labels.size(), z.labels) << z.min << " to " << z.max;
  }
  item->trigger();
  EXPECT_EQ(ui().Chart1->LeftAxis()->Maximum(), 100);
  EXPECT_NEAR(LoadedSeries()[50], 100.0 / 7, 1e-9);
  window_->setDecibels(true);
  EXPECT_TRUE(item->isChecked());
}

}  // namespace
}  // namespace dorvane::forms
