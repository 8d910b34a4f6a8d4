// What a screen reader finds in the two windows, asked through QAccessible
// as the platform bridge asks it.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <limits>

#include "chart/chart.h"
#include "controls/flat_edit.h"
#include "controls/markup_check_box.h"
#include "core/curves.h"
#include "core/taper.h"
#include "forms/frm_about.h"
#include "forms/frm_dial.h"
#include "forms/frm_find_resistor.h"
#include "forms/frm_main.h"
#include "support/divider.h"
#include "support/form_controls.h"

namespace dorvane::forms {
namespace {

constexpr double kNoLoad = std::numeric_limits<double>::infinity();

QAccessibleInterface* Find(QWidget* window, const char* name) {
  QWidget* w = window->findChild<QWidget*>(QString::fromLatin1(name));
  return w ? QAccessible::queryAccessibleInterface(w) : nullptr;
}

// The values the description must give: the core's curves read at 25, 50,
// 75 %, one decimal, comma.
QString Values(const std::vector<CurvePoint>& curve) {
  QStringList out;
  for (int percent : {25, 50, 75})
    out << QString::number(curve[size_t(percent)].y, 'f', 1).replace(u'.', u',') +
               QStringLiteral(" à %1 %").arg(percent);
  return out.join(QStringLiteral(", "));
}

TEST(Accessibility, WindowsAsAScreenReaderFindsThem) {
  qputenv("LC_ALL", "fr_FR.UTF-8");
  TfmMain main;
  main.show();
  QApplication::setActiveWindow(&main);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  main.setDecimalSeparator(',');
  TfmAbout about(&main);
  TfmFindResistor finder(&main, "100K", ',', Fitted::R2);
  TfmDial dial(&main, DialSourceOf(main));

  struct Row {
    QWidget* window;
    const char* object;
    QAccessible::Role role;
    const char* name;
    const char* value;  // nullptr: not checked
  };
  const Row rows[] = {
      {&main, "cbR1", QAccessible::CheckBox, "Ajouter résistance R1", nullptr},
      {&main, "cbR2", QAccessible::CheckBox, "Ajouter résistance R2", nullptr},
      {&main, "cbShowCurveOriginal", QAccessible::CheckBox, "Afficher courbe originale", nullptr},
      {&main, "cbShowCurveLogIdeal", QAccessible::CheckBox, "Afficher courbe log (Pos) théorique", nullptr},
      {&main, "cbShowCurveModified", QAccessible::CheckBox, "Afficher courbe modifiée", nullptr},
      {&main, "edP1", QAccessible::EditableText, "P1", "100K"},
      {&main, "edR1", QAccessible::EditableText, "R1", "10K2"},
      {&main, "edR2", QAccessible::EditableText, "R2", "10K"},
      {&main, "lstPotType", QAccessible::ComboBox, "Type et valeur du potentiomètre original (P1)",
       "Linéaire"},
      {&main, "lblP1", QAccessible::StaticText, "P1 100,0K", nullptr},
      {&main, "Label1", QAccessible::StaticText, "Ra", nullptr},
      {&main, "lblWireType", QAccessible::StaticText, "Montage en Pseudo Log (Log Pos)", nullptr},
      {&main, "Chart1", QAccessible::Chart, "Montage en Pseudo Log (Log Pos)", nullptr},
      {&main, "shR1", QAccessible::Graphic, "", nullptr},
      {&about, "btnOK", QAccessible::PushButton, "OK", nullptr},
      {&about, "SimpleLabel1", QAccessible::StaticText, "Dor", nullptr},
      {&about, "InformationLabel1", QAccessible::StaticText, "1.0.0.0", nullptr},
      {&about, "Bevel1", QAccessible::Separator, "", nullptr},
      // The finder's fields, lists and table by their captions.
      {&finder, "edLoad", QAccessible::EditableText, "Charge sur le curseur :", ""},
      {&finder, "cbTarget", QAccessible::ComboBox, "Loi visée :", "Loi idéale"},
      {&finder, "cbSeries", QAccessible::ComboBox, "Série normalisée :", "E24"},
      {&finder, "lstValues", QAccessible::Tree,
       "Valeurs normalisées autour de la résistance exacte :", nullptr},
      {&finder, "chPreview", QAccessible::Chart, "Aperçu des courbes", nullptr},
      // The dial's fields by their captions, its preview by its marks.
      {&dial, "edRotation", QAccessible::EditableText, "Rotation du bouton (degrés) :", "300"},
      {&dial, "edDiameter", QAccessible::EditableText, "Diamètre du cadran (mm) :", "40"},
      {&dial, "edMarks", QAccessible::EditableText,
       "Repères en % (séparés par « ; ») :", "0; 10; 20; 30; 40; 50; 60; 70; 80; 90; 100"},
      {&dial, "cbScale", QAccessible::CheckBox, "Échelle mécanique 0 à 10 à l'intérieur", nullptr},
      {&dial, "pvDial", QAccessible::Client, "Aperçu du cadran", nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.object);
    QAccessibleInterface* iface = Find(row.window, row.object);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), row.role);
    EXPECT_EQ(iface->text(QAccessible::Name), QString::fromUtf8(row.name));
    if (row.value) {
      EXPECT_EQ(iface->text(QAccessible::Value), QString::fromUtf8(row.value));
    }
    // Reachable from the window, as a screen reader walks the tree.
    EXPECT_GE(iface->parent()->indexOfChild(iface), 0);
  }

  // States as laid out: R2 fitted, R1 not, so R1's box is disabled.
  const testsupport::MainControls ui(main);
  QAccessibleInterface* cbR1 = Find(&main, "cbR1");
  QAccessibleInterface* edR1 = Find(&main, "edR1");
  EXPECT_TRUE(cbR1->state().checkable);
  EXPECT_FALSE(cbR1->state().checked);
  EXPECT_TRUE(Find(&main, "cbR2")->state().checked);
  EXPECT_TRUE(edR1->state().disabled);
  EXPECT_FALSE(Find(&main, "edR2")->state().disabled);
  ui.edP1->setFocus();
  EXPECT_TRUE(Find(&main, "edP1")->state().focused);

  // The chart describes the two shown curves, their laws at 25, 50, 75 %.
  const Curves curves = ComputeCurves(0, LoadedCircuit(100e3, 10.2e3, 10e3, false, true));
  EXPECT_EQ(Find(&main, "Chart1")->text(QAccessible::Description),
            QStringLiteral("Courbe originale : %1 de la course. Courbe modifiée : %2 de la course.")
                .arg(Values(curves.linear), Values(curves.loaded)));

  // The preview: the law, the chosen 6K2 and its band at 25, 50, 75 %.
  QStringList law, curve, band;
  for (int at : {25, 50, 75}) {
    const auto one = [](double v) { return QString::number(v, 'f', 1).replace(u'.', u','); };
    law << QStringLiteral("%1 à %2 %").arg(one(IdealLawPercent(Fitted::R2, at))).arg(at);
    curve << QStringLiteral("%1 à %2 %")
                 .arg(one(LoadedPercentWithLoad(Fitted::R2, 100e3, 6200, kNoLoad, at)))
                 .arg(at);
    const PercentBand b = LoadedBandAt(Fitted::R2, 100e3, 20, 6200, 5, kNoLoad, at);
    band << QStringLiteral("%1 à %2 % à %3 %").arg(one(b.low), one(b.high)).arg(at);
  }
  EXPECT_EQ(Find(&finder, "chPreview")->text(QAccessible::Description),
            QString::fromUtf8("Loi visée : %1 de la course. Valeur choisie 6,2K : %2 de la course. "
                              "Bande de tolérance : %3 de la course.")
                .arg(law.join(", "), curve.join(", "), band.join(", ")));
  // The dial's preview: each mark and its angle, the window's R2 10K on P1
  // 100K worked out apart.
  QStringList marks;
  for (int level = 0; level <= 100; level += 10) {
    const double t = level == 0 ? 0 : level == 100 ? 1 : testsupport::R2Position(100e3, 10e3, level / 100.0);
    marks << QStringLiteral("%1 % à %2°")
                 .arg(level)
                 .arg(QString::number(300 * (t - 0.5), 'f', 1).replace(u'.', u','));
  }
  EXPECT_EQ(Find(&dial, "pvDial")->text(QAccessible::Description), marks.join(", "));

  // The toggle action clicks: the rule runs once, R1 is fitted, R2 dropped.
  auto* action = cbR1->actionInterface();
  ASSERT_NE(action, nullptr);
  ASSERT_TRUE(action->actionNames().contains(QAccessibleActionInterface::toggleAction()));
  const qint64 runs = main.RuleRunCount();
  action->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_EQ(main.RuleRunCount(), runs + 1);
  EXPECT_TRUE(cbR1->state().checked);
  EXPECT_FALSE(Find(&main, "cbR2")->state().checked);
  EXPECT_FALSE(edR1->state().disabled);
  EXPECT_EQ(Find(&main, "lblR1")->text(QAccessible::Name), QStringLiteral("R1 10,2K"));

  // A disabled box offers no toggle, and forcing one does nothing.
  ui.cbR2->setEnabled(false);
  QAccessibleActionInterface* r2 = Find(&main, "cbR2")->actionInterface();
  EXPECT_FALSE(r2->actionNames().contains(QAccessibleActionInterface::toggleAction()));
  r2->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_FALSE(ui.cbR2->Checked());
  EXPECT_EQ(main.RuleRunCount(), runs + 1);
  EXPECT_TRUE(Find(&main, "cbR2")->state().disabled);

  // No curve shown: the description says so.
  ui.cbShowCurveOriginal->Click();
  ui.cbShowCurveModified->Click();
  EXPECT_EQ(Find(&main, "Chart1")->text(QAccessible::Description), QStringLiteral("Aucune courbe affichée."));
  qunsetenv("LC_ALL");
}

}  // namespace
}  // namespace dorvane::forms
