#include "forms/frm_main.h"
#include "support/layout_metrics.h"
#include "support/look_guard.h"
#include "support/shown_main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "chart/chart.h"
#include "controls/flat_combo_box.h"
#include "controls/flat_edit.h"
#include "controls/label.h"
#include "controls/markup_check_box.h"
#include "controls/shape.h"
#include "core/curves.h"
#include "core/resistance.h"
#include "forms/application.h"
#include "forms/chart_files.h"
#include "forms/chart_value_tip.h"
#include "forms/frm_about.h"
#include "forms/frm_find_resistor.h"
#include "forms/frm_load.h"
#include "gfx/colour.h"

namespace dorvane::forms {
namespace {

using gfx::clBlack;
using gfx::clGray;
using gfx::clWhite;

// A window created under a given numeric locale, shown offscreen.
class MainWindowTest : public testsupport::ShownMainWindow {
 protected:
  void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 10)); }

  // The series hold exactly the curves computed from the boxes' texts.
  void ExpectSeriesMatchBoxes() {
    const char sep = window_->DecimalSeparator();
    auto read = [&](controls::TFlatEdit* e) {
      return ParseResistance(e->text().toLatin1().toStdString(), sep);
    };
    const Curves c = ComputeCurves(ui().lstPotType->ItemIndex(),
                                   LoadedCircuit(read(ui().edP1), read(ui().edR1), read(ui().edR2),
                                                 ui().cbR1->Checked(), ui().cbR2->Checked()));
    const std::vector<CurvePoint>* lists[] = {&c.linear, &c.loaded, &c.log};
    for (int s = 0; s < 3; ++s) {
      chart::TChartSeries* series = ui().Chart1->Series(s);
      ASSERT_EQ(series->Count(), int(lists[s]->size())) << s;
      // Points are stored in ascending x; the curves are produced that way too.
      for (int i = 0; i < series->Count(); ++i) {
        ASSERT_EQ(series->XValues()->Value(i), (*lists[s])[i].x) << s << " " << i;
        ASSERT_EQ(series->YValues()->Value(i), (*lists[s])[i].y) << s << " " << i;
      }
    }
  }
};

TEST_F(MainWindowTest, InitialStateInACommaLocale) {
  Open();
  EXPECT_EQ(window_->windowTitle(), QString::fromUtf8("Potentiomètre - Modification courbe variation"));
  EXPECT_EQ(ui().Chart1->Title()->TextLines(), QStringList{"Montage en Pseudo Log (Log Pos)"});
  EXPECT_EQ(ui().lblWireType->Caption(), "Montage en Pseudo Log (Log Pos)");
  EXPECT_EQ(ui().lblP1->Caption(), "P1\r100,0K");
  EXPECT_EQ(ui().lblR1->Caption(), "R1");
  EXPECT_EQ(ui().lblR2->Caption(), "R2\r10,0K");
  EXPECT_EQ(ui().lblR1->FontColor(), clGray);
  EXPECT_EQ(ui().lblR2->FontColor(), clBlack);
  EXPECT_EQ(ui().shR1->BrushColor(), clGray);
  EXPECT_EQ(ui().shR2->BrushColor(), clWhite);
  EXPECT_FALSE(ui().edR1->isEnabled());
  EXPECT_EQ(ui().edR1->text(), "10K2");
  EXPECT_TRUE(ui().edR2->isEnabled());
  EXPECT_TRUE(ui().cbShowCurveModified->isVisible());
  EXPECT_EQ(ui().lstPotType->ItemIndex(), 0);
  EXPECT_FALSE(ui().lstPotType->isEnabled());
  EXPECT_TRUE(ui().Chart1->Series(0)->Active());
  EXPECT_TRUE(ui().Chart1->Series(1)->Active());
  EXPECT_FALSE(ui().Chart1->Series(2)->Active());
  EXPECT_EQ(ui().Chart1->Series(2)->Count(), 101);
  EXPECT_EQ(QApplication::focusWidget(), ui().edR2);
  ExpectSeriesMatchBoxes();
}

// The controls' settings in the window as the design gives them, those the
// layout sets and those it leaves at a new control's value alike.
TEST_F(MainWindowTest, ControlsHoldTheirSettings) {
  Open();
  using controls::TFlatComboBox;
  using controls::TFlatEdit;
  using controls::TMarkupCheckBox;
  struct Setting {
    const char* control;
    const char* property;
    QVariant value;
  };
  const auto colour = [](gfx::Colour c) { return QVariant(unsigned(c)); };
  std::vector<Setting> settings;
  for (const char* edit : {"edP1", "edR1", "edR2"})
    for (const Setting& s : std::initializer_list<Setting>{
             {edit, "Flat", true},
             {edit, "FlatLineColor", colour(gfx::clBlack)},
             {edit, "FlatParentColor", false},
             {edit, "Color", colour(gfx::clWindow)},
             {edit, "FocusColor", colour(gfx::clWindow)},
             {edit, "FocusFontColor", colour(gfx::clWindowText)},
             {edit, "DisabledColor", colour(gfx::clGray)},
             {edit, "ModifiedColor", colour(gfx::clWindow)},
             {edit, "ShowModified", false},
             {edit, "ShowError", true},
             {edit, "ErrorColor", colour(gfx::clRed)},
             {edit, "ErrorFontColor", colour(gfx::clWhite)},
             {edit, "BorderStyle", QVariant::fromValue(TFlatEdit::bsNone)},
             {edit, "CanUndo", false},
             {edit, "AutoSelect", true},
             {edit, "ReturnIsTab", false},
             {edit, "Version", QStringLiteral("2.7.0.2")},
         })
      settings.push_back(s);
  for (const Setting& s : std::initializer_list<Setting>{
           {"lstPotType", "Flat", true},
           {"lstPotType", "FlatLineColor", colour(gfx::clBlack)},
           {"lstPotType", "FlatParentColor", false},
           {"lstPotType", "ParentColor", true},
           {"lstPotType", "FocusColor", colour(gfx::clWindow)},
           {"lstPotType", "DropWidth", 0},
           {"lstPotType", "LabelPosition", QVariant::fromValue(TFlatComboBox::lpTopLeft)},
           {"lstPotType", "LabelMargin", 4},
           {"lstPotType", "LabelTransparent", true},
           {"lstPotType", "LabelAlwaysEnabled", true},
           {"lstPotType", "AutoFocus", false},
           {"lstPotType", "Version", QStringLiteral("1.2.0.0")},
           {"Shader1", "FromColor", colour(14802035)},
           {"Shader1", "ToColor", colour(gfx::clBlue)},
           {"Shader1", "Steps", 20},
           {"Shader1", "Direction", false},
           {"Shader1", "Version", QStringLiteral("1.1.0.0")},
       })
    settings.push_back(s);
  for (const char* box : {"cbR1", "cbR2"})
    for (const Setting& s : std::initializer_list<Setting>{
             {box, "ShadowColor", colour(gfx::clGray)},
             {box, "ShadowOffset", 1},
         })
      settings.push_back(s);
  // The "Afficher" boxes set the shadow tag's settings, which no caption uses.
  for (const char* box : {"cbShowCurveOriginal", "cbShowCurveModified", "cbShowCurveLogIdeal"})
    for (const Setting& s : std::initializer_list<Setting>{
             {box, "ShadowColor", colour(gfx::clNone)},
             {box, "ShadowOffset", 0},
         })
      settings.push_back(s);
  for (const char* box :
       {"cbR1", "cbR2", "cbShowCurveOriginal", "cbShowCurveModified", "cbShowCurveLogIdeal"})
    for (const Setting& s : std::initializer_list<Setting>{
             {box, "ButtonType", QVariant::fromValue(TMarkupCheckBox::btWinXP)},
             {box, "ButtonVertAlign", QVariant::fromValue(TMarkupCheckBox::tlTop)},
             {box, "ReadOnly", false},
             {box, "Ellipsis", false},
             {box, "URLColor", colour(gfx::clBlue)},
             {box, "TabStop", false},
             {box, "Version", QStringLiteral("1.4.5.2")},
         })
      settings.push_back(s);
  for (const Setting& s : settings) {
    const QObject* control = window_->findChild<QObject*>(QString::fromLatin1(s.control));
    ASSERT_NE(control, nullptr) << s.control;
    EXPECT_EQ(control->property(s.property), s.value) << s.control << "." << s.property;
  }
}

TEST_F(MainWindowTest, PointLocaleCaptions) {
  Open("en_US.UTF-8");
  EXPECT_EQ(ui().lblP1->Caption(), "P1\r100.0K");
  EXPECT_EQ(ui().lblR2->Caption(), "R2\r10.0K");
}

// The rule unticks the other box from code: that raises no OnClick, so each
// click runs the rule once, through the layout's own bindings.
TEST_F(MainWindowTest, OneRuleRunPerClickAndNoneFromTheRulesUnticking) {
  Open();
  struct Step {
    const char* box;
    bool viaMenu;  // the "Montage" menu's item instead of the box
    bool r1, r2;   // ticks after the click
  };
  const Step steps[] = {{"cbR1", false, true, false}, {"cbR1", true, false, false},
                        {"cbR2", true, false, true},  {"cbR1", true, true, false},
                        {"cbR2", false, false, true}, {"cbR2", true, false, false},
                        {"cbR2", false, false, true}, {"cbR1", true, true, false}};
  QSignalSpy r1Clicks(ui().cbR1, &controls::TMarkupCheckBox::OnClick);
  QSignalSpy r2Clicks(ui().cbR2, &controls::TMarkupCheckBox::OnClick);
  int r1Expected = 0, r2Expected = 0;
  for (const Step& step : steps) {
    const bool r1 = QByteArray(step.box) == "cbR1";
    const qint64 runs = window_->RuleRunCount();
    if (step.viaMenu) {
      // The menu shows the boxes' states as it opens.
      emit ui().Montage1->aboutToShow();
      EXPECT_EQ(ui().AjouterresistanceR11->isChecked(), ui().cbR1->Checked()) << step.box;
      EXPECT_EQ(ui().AjouterresistanceR21->isChecked(), ui().cbR2->Checked()) << step.box;
      (r1 ? ui().AjouterresistanceR11 : ui().AjouterresistanceR21)->trigger();
    } else {
      Click(r1 ? ui().cbR1 : ui().cbR2);
    }
    (r1 ? r1Expected : r2Expected) += 1;
    EXPECT_EQ(window_->RuleRunCount(), runs + 1) << step.box;
    EXPECT_EQ(r1Clicks.count(), r1Expected) << step.box;
    EXPECT_EQ(r2Clicks.count(), r2Expected) << step.box;
    EXPECT_EQ(ui().cbR1->Checked(), step.r1) << step.box;
    EXPECT_EQ(ui().cbR2->Checked(), step.r2) << step.box;
  }
}

TEST_F(MainWindowTest, TickingR1UnticksR2) {
  Open();
  Click(ui().cbR1);
  EXPECT_FALSE(ui().cbR2->Checked());
  EXPECT_TRUE(ui().cbR1->Checked());
  EXPECT_FALSE(ui().cbR2->Checked());
  EXPECT_EQ(ui().Chart1->Title()->TextLines(), QStringList{"Montage en Pseudo Anti-Log (Log Neg)"});
  EXPECT_TRUE(ui().edR1->isEnabled());
  EXPECT_FALSE(ui().edR2->isEnabled());
  EXPECT_EQ(ui().shR1->BrushColor(), clWhite);
  EXPECT_EQ(ui().shR2->BrushColor(), clGray);
  EXPECT_EQ(ui().lblR1->Caption(), "R1\r10,2K");
  EXPECT_EQ(ui().lblR2->Caption(), "R2");
  EXPECT_EQ(ui().lblR2->FontColor(), clGray);
  ExpectSeriesMatchBoxes();
  // And back: ticking R2 unticks R1.
  Click(ui().cbR2);
  EXPECT_FALSE(ui().cbR1->Checked());
  EXPECT_TRUE(ui().cbR2->Checked());
  EXPECT_EQ(ui().Chart1->Title()->TextLines(), QStringList{"Montage en Pseudo Log (Log Pos)"});
  ExpectSeriesMatchBoxes();
}

TEST_F(MainWindowTest, UntickingBothHidesTheLoadedCurveUntilReticked) {
  Open();
  Click(ui().cbR2);
  EXPECT_FALSE(ui().cbR1->Checked());
  EXPECT_FALSE(ui().cbR2->Checked());
  EXPECT_EQ(ui().Chart1->Title()->TextLines(), QStringList{"Montage sans modification"});
  EXPECT_FALSE(ui().cbShowCurveModified->isVisible());
  EXPECT_TRUE(ui().cbShowCurveModified->Checked());
  EXPECT_FALSE(ui().Chart1->Series(1)->Active());
  EXPECT_FALSE(ui().edR1->isEnabled());
  EXPECT_FALSE(ui().edR2->isEnabled());
  Click(ui().cbR2);
  EXPECT_TRUE(ui().Chart1->Series(1)->Active());
  EXPECT_TRUE(ui().cbShowCurveModified->isVisible());
}

TEST_F(MainWindowTest, AfficherBoxesOnlyReplot) {
  for (bool viaMenu : {false, true}) {
    Open();
    // The "Affichage" menu's items are the keyboard's way to the same boxes.
    const auto click = [&](controls::TMarkupCheckBox* box, QAction* item) {
      if (!viaMenu) return Click(box);
      emit ui().Affichage1->aboutToShow();
      EXPECT_EQ(item->isChecked(), box->Checked()) << item->text().toStdString();
      item->trigger();
    };
    const qint64 runs = window_->RuleRunCount();
    click(ui().cbShowCurveModified, ui().Affichercourbemodifiee1);
    EXPECT_FALSE(ui().cbShowCurveModified->Checked()) << viaMenu;
    EXPECT_FALSE(ui().Chart1->Series(1)->Active()) << viaMenu;
    EXPECT_EQ(ui().Chart1->Title()->TextLines(), QStringList{"Montage en Pseudo Log (Log Pos)"});
    EXPECT_EQ(ui().lblR2->Caption(), "R2\r10,0K");
    click(ui().cbShowCurveLogIdeal, ui().Affichercourbelog1);
    EXPECT_TRUE(ui().Chart1->Series(2)->Active()) << viaMenu;
    click(ui().cbShowCurveOriginal, ui().Affichercourbeoriginale1);
    EXPECT_FALSE(ui().Chart1->Series(0)->Active()) << viaMenu;
    EXPECT_EQ(window_->RuleRunCount(), runs) << viaMenu;
    // No resistor fitted: the loaded curve's box is hidden, its item greyed.
    Click(ui().cbR2);
    emit ui().Affichage1->aboutToShow();
    EXPECT_FALSE(ui().Affichercourbemodifiee1->isEnabled());
    TearDown();
  }
}

// Texts drawn straight on the gradient keep the design's colours under a
// dark desktop palette; only what paints its own background follows it.
TEST_F(MainWindowTest, DarkPaletteKeepsTheTextsOverTheGradient) {
  QImage shots[2];
  std::vector<QRect> ownBackground;
  for (bool dark : {false, true}) {
    std::optional<testsupport::DarkPaletteGuard> palette;
    if (dark) palette.emplace();
    Open();
    ownBackground.clear();
    for (QWidget* w : std::initializer_list<QWidget*>{ui().edP1, ui().edR1, ui().edR2, ui().StatusBar1})
      ownBackground.push_back(w->geometry());
    ownBackground.push_back(ui().lstPotType->geometry());
    for (auto* box : ui().Shader1->findChildren<controls::TMarkupCheckBox*>())
      ownBackground.push_back(box->BoxRect().translated(box->pos()));
    shots[dark] = ui().Shader1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    TearDown();
  }
  ASSERT_EQ(shots[0].size(), shots[1].size());
  int differing = 0;
  for (int y = 0; y < shots[0].height(); ++y)
    for (int x = 0; x < shots[0].width(); ++x) {
      const bool own = std::any_of(ownBackground.begin(), ownBackground.end(),
                                   [&](const QRect& r) { return r.contains(x, y); });
      differing += !own && shots[0].pixel(x, y) != shots[1].pixel(x, y);
    }
  EXPECT_EQ(differing, 0);
  const QRect status = ownBackground[3];
  EXPECT_NE(shots[0].copy(status), shots[1].copy(status)) << "the palette was not in force";
}

TEST_F(MainWindowTest, EmptyingP1) {
  Open();
  ui().edP1->setFocus();
  QTest::keyClick(ui().edP1, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(ui().edP1, Qt::Key_Delete);
  EXPECT_EQ(ui().edP1->text(), "");
  EXPECT_EQ(ui().lblP1->Caption(), "P1\r-");
  for (int i = 0; i < ui().Chart1->Series(1)->Count(); ++i)
    EXPECT_EQ(ui().Chart1->Series(1)->YValues()->Value(i), 0);
  ExpectSeriesMatchBoxes();
}

TEST_F(MainWindowTest, OtherLawEmptiesEverySeries) {
  Open();
  ui().lstPotType->setItemIndex(1);
  window_->cbR1Click();
  for (int s = 0; s < 3; ++s) EXPECT_EQ(ui().Chart1->Series(s)->Count(), 0);
  EXPECT_EQ(ui().lblP1->Caption(), "P1\r100,0K");
}

TEST_F(MainWindowTest, OneKeystrokeIsOneRuleRunAndOneDrawingPass) {
  Open();
  QApplication::processEvents();
  ui().Chart1->grab();  // the first pass, if it has not happened yet
  const qint64 runs = window_->RuleRunCount(), passes = ui().Chart1->DrawingPassCount();
  ui().edR2->setFocus();
  QTest::keyClick(ui().edR2, Qt::Key_End);
  QTest::keyClick(ui().edR2, Qt::Key_2);
  EXPECT_EQ(ui().edR2->text(), "10K2");
  EXPECT_EQ(window_->RuleRunCount(), runs + 1);
  QApplication::processEvents();
  ui().Chart1->repaint();
  EXPECT_EQ(ui().Chart1->DrawingPassCount(), passes + 1);
  EXPECT_EQ(ui().lblR2->Caption(), "R2\r10,2K");
}

// The notation has no length limit: a paste longer than a line edit's
// default maximum must reach the rules whole.
TEST_F(MainWindowTest, LongPasteIsNotCut) {
  Open();
  const QString pasted = QString(33000, ' ') + "4K7";
  QApplication::clipboard()->setText(pasted);
  ui().edR2->setFocus();
  QTest::keyClick(ui().edR2, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(ui().edR2, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(ui().edR2->text(), pasted);
  EXPECT_EQ(ui().lblR2->Caption(), "R2\r4,7K");
}

TEST_F(MainWindowTest, TwoLineCaptionGrowsLeftAndDown) {
  Open();
  const QRect g = ui().lblP1->geometry();
  EXPECT_EQ(g.x() + g.width(), 49);
  EXPECT_LT(g.x(), 33);
  const testsupport::LayoutMetrics fm(ui().lblP1->font());
  EXPECT_EQ(g.y(), 192);
  EXPECT_EQ(g.height(), 2 * fm.height());
  EXPECT_EQ(g.width(), std::max(fm.horizontalAdvance("P1"), fm.horizontalAdvance("100,0K")));
}

TEST_F(MainWindowTest, FixedFrameAndMenus) {
  Open();
  EXPECT_EQ(window_->minimumSize(), window_->maximumSize());
  EXPECT_FALSE(window_->windowFlags() & Qt::WindowMaximizeButtonHint);
  // Fixed for every platform's decorations, and a maximise request is refused.
  EXPECT_TRUE(window_->windowFlags() & Qt::MSWindowsFixedSizeDialogHint);
  // Every fixed window of the program, dialogs and message boxes included.
  KeepFixedWindowsAtTheirSize(*qApp);
  TfmAbout about(window_.get());
  TfmFindResistor finder(window_.get(), "100K", ',', Fitted::R2, false);
  QMessageBox question(QMessageBox::Question, "Dorvane", "?", QMessageBox::Yes | QMessageBox::No,
                       window_.get());
  for (QWidget* w : std::initializer_list<QWidget*>{window_.get(), &about, &finder, &question}) {
    w->show();
    const QSize size = w->size();
    w->setWindowState(Qt::WindowMaximized);
    QTest::qWait(50);
    EXPECT_FALSE(w->isMaximized()) << w->metaObject()->className();
    EXPECT_EQ(w->size(), size) << w->metaObject()->className();
  }
  EXPECT_TRUE(window_->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(ui().Shader1->size(), QSize(606, 374));
  EXPECT_EQ(ui().StatusBar1->geometry(), QRect(1, 354, 604, 19));
  EXPECT_EQ(ui().StatusBar1->currentMessage(),
            QString::fromUtf8("Exemples de valeur de résistance (pour P1, R1 et R2) : "
                              "12; 11,3; 11U3, 68U; 120R;  470E; 12K8; 12,8K; 1M3"));
  EXPECT_TRUE(ui().StatusBar1->autoFillBackground());  // on the button face, not the gradient
  EXPECT_FALSE(ui().Indexdelaide1->isEnabled());
  EXPECT_EQ(ui().Indexdelaide1->text(), "&Index de l'aide");
  EXPECT_EQ(ui().CopierenMetafile1->text(), "C&opier en Metafile");
  EXPECT_EQ(ui().Copier1->text(), "&Copier en Bitmap ");
  EXPECT_EQ(ui().Fichier1->title(), "&Fichier");
}

TEST_F(MainWindowTest, TabVisitsTheEnabledValueBoxesOnly) {
  Open();
  auto tab = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); };
  EXPECT_EQ(QApplication::focusWidget(), ui().edR2);
  tab();
  EXPECT_EQ(QApplication::focusWidget(), ui().edP1);
  tab();
  EXPECT_EQ(QApplication::focusWidget(), ui().edR2);
  Click(ui().cbR1);  // R1 fitted: edR1 takes part, edR2 drops out
  ui().edP1->setFocus();
  tab();
  EXPECT_EQ(QApplication::focusWidget(), ui().edR1);
  tab();
  EXPECT_EQ(QApplication::focusWidget(), ui().edP1);
}

TEST_F(MainWindowTest, LocaleChangeIsReadAgain) {
  Open();
  qputenv("LC_ALL", "en_US.UTF-8");
  QEvent change(QEvent::LocaleChange);
  QApplication::sendEvent(window_.get(), &change);
  EXPECT_EQ(window_->DecimalSeparator(), '.');
  EXPECT_EQ(ui().lblP1->Caption(), "P1\r100.0K");
  EXPECT_EQ(ui().StatusBar1->currentMessage(),
            QString::fromUtf8("Exemples de valeur de résistance (pour P1, R1 et R2) : "
                              "12; 11.3; 11U3, 68U; 120R;  470E; 12K8; 12.8K; 1M3"));
}

// The pixels of these colours inside a rectangle of the image.
int PixelsOf(const QImage& image, const std::set<QRgb>& colours, const QRect& r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += colours.count(image.pixel(x, y) | 0xFF000000u) > 0;
  return n;
}

// The legend as drawn, measured on the chart's pixels: the curve pixels
// (the active series' colours, drawn without the legend) inside its box and
// inside the box's mirror images in the other corners (top left, top right,
// bottom left, bottom right), and the curve pixels it hid.
struct LegendPixels {
  int chosen = -1;             // index of the drawn box among the corners
  std::array<int, 4> corners;  // curve pixels under each
  int covered = 0;
};
LegendPixels MeasureLegend(chart::TChart& chart) {
  std::set<QRgb> curves;
  for (int i = 0; i < chart.SeriesCount(); ++i)
    if (chart.Series(i)->Active()) curves.insert(gfx::ToQColor(chart.Series(i)->SeriesColor()).rgb());
  const QImage with = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRect box = chart.PlotNotesRect().toQRect();
  const auto notes = chart.PlotNotes();
  chart.setPlotNotes({}, chart.BackColor());
  const QImage without = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
  chart.setPlotNotes(notes, chart.BackColor());
  const QRect plot = chart.PlotRect().toQRect();
  const int mirrorX = plot.left() + plot.right() + 1 - box.left() - box.width();
  const int mirrorY = plot.top() + plot.bottom() + 1 - box.top() - box.height();
  const int xs[] = {std::min(box.left(), mirrorX), std::max(box.left(), mirrorX)};
  const int ys[] = {std::min(box.top(), mirrorY), std::max(box.top(), mirrorY)};
  LegendPixels out;
  for (int i = 0; i < 4; ++i) {
    const QRect corner(xs[i % 2], ys[i / 2], box.width(), box.height());
    out.corners[size_t(i)] = PixelsOf(without, curves, corner);
    if (corner == box && out.chosen < 0) out.chosen = i;
  }
  for (int y = 0; y < with.height(); ++y)
    for (int x = 0; x < with.width(); ++x)
      out.covered +=
          curves.count(without.pixel(x, y) | 0xFF000000u) && with.pixel(x, y) != without.pixel(x, y);
  return out;
}

// The load, the band and pinned curves appear only when asked for: the
// diagram draws the load, the titles say it, the band frames the curve, and
// every curve is named by its whole circuit in the legend, the tool tip and
// the values file.
TEST_F(MainWindowTest, LoadBandAndPinnedCurves) {
  Open();
  auto* load = window_->findChild<controls::TShape*>("shLoad");
  auto* loadCaption = window_->findChild<controls::TLabel*>("lblLoad");
  ASSERT_TRUE(load && loadCaption);
  EXPECT_FALSE(load->isVisible());
  const QRect ra = ui().Shader1->findChild<QWidget*>("Label1")->geometry();
  const QRect rb = ui().Shader1->findChild<QWidget*>("Label2")->geometry();

  // The dialog refuses a load of 0 and says why, then takes 47K, which
  // Alt+X leaves as it is.
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<TfmLoad*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->LoadField()->setText("0");
    dialog->accept();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->Message()->text().contains("0"));
    dialog->LoadField()->setText("47K");
    QTest::sendKeyEvent(QTest::Click, dialog->LoadField(), Qt::Key_X, QStringLiteral("x"), Qt::AltModifier);
    dialog->accept();
  });
  window_->findChild<QAction*>("Chargeettolerances1")->trigger();
  EXPECT_EQ(window_->Load().loadText, "47K");
  EXPECT_TRUE(load->isVisible());
  EXPECT_EQ(loadCaption->Caption(), "Charge\r47,0K");
  EXPECT_EQ(ui().Chart1->Title()->TextLines(), QStringList{"Montage en Pseudo Log (Log Pos), charge 47,0K"});
  // The curve is now the wiper's share of the input, and the axis says so.
  EXPECT_EQ(ui().Chart1->LeftAxis()->Title()->Caption(),
            QString::fromUtf8("Tension au curseur (en % de la tension d'entrée)"));
  // "Ra" and "Rb" stay at their terminals, clear of the load, whose caption
  // goes under its body, inside the diagram even for the longest value.
  for (const char* value : {"47K", "4294967295"}) {
    window_->SetLoad({value, 20, 5, "", ""});
    const QRect body = load->geometry(), caption = loadCaption->geometry();
    EXPECT_EQ(ui().Shader1->findChild<QWidget*>("Label1")->geometry(), ra);
    EXPECT_EQ(ui().Shader1->findChild<QWidget*>("Label2")->geometry(), rb);
    EXPECT_GE(body.left() - rb.right(), 8) << value;
    EXPECT_FALSE(caption.intersects(ra) || caption.intersects(rb) || caption.intersects(body)) << value;
    EXPECT_GT(caption.top(), body.bottom()) << value;
    EXPECT_GE(caption.right(), body.center().x()) << value;
    EXPECT_LT(caption.right(), ui().Chart1->geometry().left()) << value;
  }
  EXPECT_EQ(loadCaption->Caption(), "Charge\r4295,0M");
  window_->SetLoad({"47K", 20, 5, "", ""});
  // R2 10K and 47K across the lower half: 50K || 10K || 47K over the track.
  const double lower = 1 / (1 / 50e3 + 1 / 10e3 + 1 / 47e3);
  EXPECT_NEAR(ui().Chart1->Series(1)->YValues()->Value(50), 100 * lower / (50e3 + lower), 1e-9);

  window_->findChild<QAction*>("Bandedetolerance1")->trigger();
  EXPECT_LT(ui().Chart1->Series(3)->YValues()->Value(50), ui().Chart1->Series(1)->YValues()->Value(50));
  const QPoint at50(ui().Chart1->BottomAxis()->ValueToPixel(50), ui().Chart1->LeftAxis()->EndPixel() - 10);
  EXPECT_TRUE(ChartValueTipText(*ui().Chart1, at50, window_->Inputs()).contains("bande "));
  // In dB the band is in dB too.
  static const QRegularExpression dbBand(
      QString::fromUtf8(R"(modifiée 12,4 % \(-18,1 dB\), bande \d+,\d à \d+,\d % \(-\d+,\d à -\d+,\d dB\))"));
  EXPECT_TRUE(ChartValueTipText(*ui().Chart1, at50, window_->Inputs(), true).contains(dbBand))
      << ChartValueTipText(*ui().Chart1, at50, window_->Inputs(), true).toStdString();

  // Two values pinned side by side, each named with its P1; the live curve
  // and the band are named too, and the live curve is drawn over its pinned
  // twin.
  QAction* pin = window_->findChild<QAction*>("Figerlacourbemodifiee1");
  pin->trigger();
  ui().edR2->setText("13K");
  pin->trigger();
  using Note = chart::TCustomAxisPanel::PlotNote;
  EXPECT_EQ(ui().Chart1->PlotNotes(),
            (std::vector<Note>{{gfx::clRed, "R2 13K, charge 47K"},
                               {0x8080FF, QString::fromUtf8("Bande P1 ±20 % R ±5 %")},
                               {0x00FFFF, "P1 100K, R2 10K, charge 47K"},
                               {0xFF00FF, "P1 100K, R2 13K, charge 47K"}}));
  {
    QImage chart = ui().Chart1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QPainter(&chart).fillRect(ui().Chart1->PlotNotesRect().toQRect(), Qt::black);
    EXPECT_GT(PixelsOf(chart, {0xFFFF0000u}, ui().Chart1->PlotRect().toQRect()), 150);
  }
  // The README's worked example.
  if (qEnvironmentVariableIsSet("DORVANE_EXAMPLE_SCREENSHOT"))
    window_->grab().save(qEnvironmentVariable("DORVANE_EXAMPLE_SCREENSHOT"));

  // Another P1: the pins still say theirs, in the tool tip and the file.
  ui().edP1->setText("10K");
  std::vector<PinnedReading> pinned;
  for (const auto& p : window_->Pinned())
    pinned.push_back({QString::fromStdString(CircuitLabel(p.curve.name)), p.circuit});
  const QStringList tip =
      ChartValueTipText(*ui().Chart1, at50, window_->Inputs(), false, pinned).split(u'\n');
  ASSERT_EQ(tip.size(), 3);
  EXPECT_EQ(tip[1], "P1 100K, R2 10K, charge 47K : 12,4 %");
  EXPECT_EQ(ui().Chart1->PlotNotes()[2].text, "P1 100K, R2 10K, charge 47K");
  const QList<QByteArray> titles =
      WindowFileContents(*window_, OutputType::Csv).data.split('\n').front().split(';');
  EXPECT_TRUE(titles.contains("Courbe modifiée P1 10K avec R2 13K et charge 47K (%)"));
  EXPECT_TRUE(titles.contains("Bande basse P1 10K ±20 % avec R2 13K ±5 % et charge 47K (%)"));
  EXPECT_TRUE(titles.contains("Figée P1 100K avec R2 10K et charge 47K (%)"));

  // The band goes with the modified curve, and a hidden curve is no pin.
  Click(ui().cbShowCurveModified);
  EXPECT_FALSE(ui().Chart1->Series(3)->Active());
  emit ui().Affichage1->aboutToShow();
  EXPECT_FALSE(pin->isEnabled());
  EXPECT_FALSE(window_->PinModifiedCurve());
  EXPECT_EQ(ui().Chart1->PlotNotes().size(), 2u);
  Click(ui().cbShowCurveModified);
  EXPECT_TRUE(ui().Chart1->Series(3)->Active());
  emit ui().Affichage1->aboutToShow();
  EXPECT_TRUE(pin->isEnabled());

  window_->findChild<QAction*>("Effacerlescourbesfigees1")->trigger();
  EXPECT_FALSE(ui().Chart1->Series(5)->Active());
  // A tolerance as typed: 0,001 is no flat band, and the dialog shows it
  // again as it was typed.
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<TfmLoad*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->P1ToleranceField()->setText("0,001");
    dialog->accept();
  });
  window_->findChild<QAction*>("Chargeettolerances1")->trigger();
  EXPECT_EQ(ui().Chart1->PlotNotes().back().text, QString::fromUtf8("Bande P1 ±0,001 % R ±5 %"));
  EXPECT_EQ(TfmLoad(window_.get(), window_->Load(), ',').P1ToleranceField()->text(), "0,001");
  // Without a load, the design's axis title again.
  window_->SetLoad({});
  EXPECT_EQ(ui().Chart1->LeftAxis()->Title()->Caption(),
            QString::fromUtf8("Valeur résistance Rb (en % de la valeur totale)"));
}

// The legend goes where it covers the fewest curve pixels, the top left
// corner when it covers none there; when every corner covers some, the
// curves show through it. Four pins and the band, in % and in dB.
TEST_F(MainWindowTest, LegendTakesTheCornerThatCoversTheFewestCurvePixels) {
  const struct {
    const char* name;
    const char* load;
    std::vector<std::string> pins;
    bool log, everyCornerCovered;  // in %
  } cases[] = {
      {"the README's example", "47K", {"R2 10K", "R2 13K"}, false, false},
      {"four pins and the band", "47K", {"R2 10K", "R2 13K", "R2 22K", "R1 2K2"}, false, false},
      // Steep and flat curves in every corner, with the log law.
      {"every corner covered", "", {"R1 1K", "R1 3K3", "R2 1K", "R2 3K3"}, true, true},
  };
  for (const auto& c : cases) {
    Open();
    window_->SetLoad({c.load, 20, 5, "", ""});
    window_->setBand(true);
    if (c.log) Click(ui().cbShowCurveLogIdeal);
    for (const std::string& pin : c.pins) {
      const bool r1 = pin.starts_with("R1");
      if (r1 != ui().cbR1->Checked()) Click(r1 ? ui().cbR1 : ui().cbR2);
      (r1 ? ui().edR1 : ui().edR2)->setText(QString::fromStdString(pin.substr(3)));
      ASSERT_TRUE(window_->PinModifiedCurve()) << c.name;
    }
    ASSERT_EQ(ui().Chart1->PlotNotes().size(), c.pins.size() + 2) << c.name;
    for (const bool decibels : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (decibels ? ", dB" : ", %"));
      window_->setDecibels(decibels);
      const LegendPixels legend = MeasureLegend(*ui().Chart1);
      ASSERT_GE(legend.chosen, 0);
      const int least = *std::min_element(legend.corners.begin(), legend.corners.end());
      EXPECT_EQ(legend.corners[size_t(legend.chosen)], least);
      for (int i = 0; i < legend.chosen; ++i) EXPECT_GT(legend.corners[size_t(i)], least) << i;
      // Over a free corner it hides nothing; over curves, the glyphs some.
      EXPECT_LT(legend.covered * 2, std::max(least, 1));
      if (c.everyCornerCovered && !decibels) {
        EXPECT_GT(least, 0);
      }
    }
    // A zoom places it again.
    window_->setDecibels(false);
    ui().Chart1->BottomAxis()->SetMinMax(50, 100);
    ui().Chart1->LeftAxis()->SetMinMax(50, 100);
    const LegendPixels zoomed = MeasureLegend(*ui().Chart1);
    EXPECT_EQ(zoomed.corners[size_t(zoomed.chosen)],
              *std::min_element(zoomed.corners.begin(), zoomed.corners.end()));
    TearDown();
  }
}

TEST_F(MainWindowTest, QuitClosesTheWindow) {
  Open();
  ui().Quitter1->trigger();
  EXPECT_FALSE(window_->isVisible());
}

}  // namespace
}  // namespace dorvane::forms
