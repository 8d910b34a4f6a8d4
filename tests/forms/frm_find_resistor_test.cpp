#include "forms/frm_find_resistor.h"

#include <gtest/gtest.h>

#include "support/shown_main_window.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

#include "chart/chart.h"
#include "controls/flat_edit.h"
#include "controls/label.h"
#include "controls/markup_check_box.h"
#include "core/curves.h"
#include "forms/frm_main.h"
#include "ui_frm_find_resistor.h"
#include "ui_frm_main.h"

namespace dorvane::forms {
namespace {

QStringList Column(QTreeWidget* list, int column) {
  QStringList out;
  for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(column);
  return out;
}

class FindResistorTest : public testsupport::ShownMainWindow {
 protected:
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
  auto& ui = dialog.controls();
  EXPECT_TRUE(ui.rbR2->isChecked());
  EXPECT_EQ(ui.edPosition->text(), "50");
  EXPECT_EQ(ui.edWanted->text(), "10");
  EXPECT_EQ(ui.cbSeries->currentText(), "E24");
  EXPECT_EQ(ui.lblP1->text(), "100,0K");
  // 100K x 0.5 x 0.5 x 10 / (50 - 10) = 6 250 ohms.
  EXPECT_EQ(ui.lblExact->text(), QString::fromUtf8("6,3K (6 250 Ω)"));
  EXPECT_EQ(Column(ui.lstValues, 0), QStringList({"5,1K", "5,6K", "6,2K", "6,8K", "7,5K", "8,2K"}));
  ASSERT_TRUE(dialog.ChosenValue());
  EXPECT_EQ(*dialog.ChosenValue(), 6200.0);
  const QTreeWidgetItem* chosen = ui.lstValues->currentItem();
  EXPECT_EQ(chosen->text(1), QString::fromUtf8("9,9 % à 50 %"));
  EXPECT_EQ(chosen->text(2), QString::fromUtf8("27,1 points"));
  EXPECT_TRUE(ui.btnApply->isEnabled());
  EXPECT_EQ(dialog.font().pixelSize(), 11);
}

TEST_F(FindResistorTest, TypingAndChoosingASeriesUpdateAtOnce) {
  Open();
  TfmFindResistor dialog(window_.get(), "100K", ',', Fitted::R2);
  auto& ui = dialog.controls();
  dialog.show();
  Retype(ui.edWanted, "20");
  // 100K x 0.25 x 20 / 30 = 16 667 ohms.
  EXPECT_EQ(ui.lblExact->text(), QString::fromUtf8("16,7K (16 667 Ω)"));
  EXPECT_EQ(Column(ui.lstValues, 0), QStringList({"13,0K", "15,0K", "16,0K", "18,0K", "20,0K", "22,0K"}));
  ui.cbSeries->setFocus();
  QTest::keyClick(ui.cbSeries, Qt::Key_Home);
  EXPECT_EQ(ui.cbSeries->currentText(), "E6");
  EXPECT_EQ(Column(ui.lstValues, 0), QStringList({"6,8K", "10,0K", "15,0K", "22,0K", "33,0K", "47,0K"}));
  QTest::keyClick(ui.cbSeries, Qt::Key_End);
  EXPECT_EQ(Column(ui.lstValues, 0).mid(2, 2), QStringList({"16,5K", "16,7K"}));  // E192
  // A position between the chart's points, with the decimal comma; the
  // typed wanted value stays put.
  Retype(ui.edPosition, "37,5");
  EXPECT_EQ(ui.edWanted->text(), "20");
  EXPECT_TRUE(ui.lstValues->currentItem()->text(1).endsWith(QString::fromUtf8(" à 37,5 %")));
}

TEST_F(FindResistorTest, TheWantedValueFollowsTheIdealLawUntilTyped) {
  Open();
  TfmFindResistor dialog(window_.get(), "100K", ',', Fitted::R1);
  auto& ui = dialog.controls();
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
  auto& ui = dialog.controls();
  dialog.show();
  const struct {
    const char *position, *wanted, *says;
  } cases[] = {
      {"50", "60", "R2 ne peut qu'abaisser"},
      {"50", "50", "R2 ne peut qu'abaisser"},
      {"0", "0,5", "entre 0 et 100"},
      {"100", "50", "entre 0 et 100"},
      {"50", "1.5", "pas un nombre"},
      {"5O", "10", "pas un nombre"},
      {"", "10", "pas un nombre"},
  };
  for (const auto& c : cases) {
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
  // The same wanted value is in reach of the other montage.
  Retype(ui.edPosition, "50");
  Retype(ui.edWanted, "60");
  ui.rbR1->click();
  EXPECT_EQ(ui.stkResults->currentWidget(), ui.lstValues);
  EXPECT_TRUE(ui.btnApply->isEnabled());

  TfmFindResistor noP1(window_.get(), "", ',', Fitted::R2);
  EXPECT_TRUE(noP1.controls().lblMessage->text().contains("P1"));
  EXPECT_FALSE(noP1.controls().btnApply->isEnabled());
}

TEST_F(FindResistorTest, AppliquerWritesTheValueAndTicksAsAClickWould) {
  Open();
  const qint64 runs = window_->RuleRunCount();
  RunDialog([](TfmFindResistor& d) { QTest::mouseClick(d.controls().btnApply, Qt::LeftButton); });
  EXPECT_EQ(ui().edR2->text(), "6K2");
  EXPECT_TRUE(ui().cbR2->Checked());
  EXPECT_EQ(ui().lblR2->Caption(), "R2\r6,2K");
  EXPECT_GT(window_->RuleRunCount(), runs);
  const Curves expected = ComputeCurves(0, 100000, 0, 6200, false, true);
  std::vector<double> y;
  for (const CurvePoint& p : expected.loaded) y.push_back(p.y);
  EXPECT_EQ(LoadedSeries(), y);

  // The other montage: R1 is ticked through the rule, which unticks R2.
  RunDialog([](TfmFindResistor& d) {
    d.controls().rbR1->click();
    QTest::keyClick(d.controls().edWanted, Qt::Key_Return);  // the default button
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
  RunDialog([](TfmFindResistor& d) { EXPECT_TRUE(d.controls().rbR1->isChecked()); });
}

TEST_F(FindResistorTest, DoubleClickAppliesThatRow) {
  Open();
  RunDialog([](TfmFindResistor& d) {
    QTreeWidget* list = d.controls().lstValues;
    const QRect first = list->visualItemRect(list->topLevelItem(0));
    // A double-click is a click, then a second press reported as such.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_TRUE(d.isVisible());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first.center());
  });
  EXPECT_EQ(ui().edR2->text(), "5K1");
  EXPECT_EQ(ui().lblR2->Caption(), "R2\r5,1K");
}

TEST_F(FindResistorTest, AnnulerAndEscapeChangeNothing) {
  Open();
  const std::vector<double> before = LoadedSeries();
  const qint64 runs = window_->RuleRunCount();
  RunDialog([](TfmFindResistor& d) {
    d.controls().rbR1->click();
    Retype(d.controls().edWanted, "80");
    QTest::mouseClick(d.controls().btnCancel, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
  });
  RunDialog([](TfmFindResistor& d) {
    QTest::keyClick(d.controls().edWanted, Qt::Key_Escape);
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
    auto& ui = d.controls();
    EXPECT_EQ(ui.lblP1->text(), "100.0K");
    Retype(ui.edPosition, "37.5");
    EXPECT_EQ(ui.stkResults->currentWidget(), ui.lstValues);
    EXPECT_TRUE(ui.lstValues->currentItem()->text(1).endsWith(QString::fromUtf8(" à 37.5 %")));
    Retype(ui.edPosition, "37,5");
    EXPECT_EQ(ui.stkResults->currentWidget(), ui.lblMessage);
  });
}

TEST_F(FindResistorTest, MenuBetweenEditionAndAide) {
  Open();
  QStringList titles;
  for (QAction* a : ui().MainMenu1->actions()) titles << a->text();
  EXPECT_EQ(titles, QStringList({"&Fichier", "&Edition", "&Montage", "&Affichage", "&Outils", "A&ide"}));
  EXPECT_EQ(ui().Trouverlaresistance1->text(), QString::fromUtf8("&Trouver la résistance..."));
}

}  // namespace
}  // namespace dorvane::forms
