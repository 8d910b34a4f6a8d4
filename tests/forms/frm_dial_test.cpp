// "Enregistrer le cadran sous...": the dialog's fields, what it says when
// they give no dial, its keyboard, and the files it saves.
#include "forms/frm_dial.h"

#include <gtest/gtest.h>

#include "support/shown_main_window.h"
#include "support/widget_helpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "forms/dial_preview.h"
#include "forms/frm_main.h"

namespace dorvane::forms {
namespace {

class DialDialog : public testsupport::ShownMainWindow {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    Open();
  }
  static void Retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  // "Enregistrer..." pressed; in the file dialog `name` typed and saved;
  // message boxes answered "Non" and recorded.
  QStringList SaveAs(TfmDial& dialog, const QString& name) {
    QStringList messages;
    bool typed = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        messages << box->text().remove(QChar(0x200B));
        for (QAbstractButton* b : box->buttons())
          if (b->text() == u"&Non" || box->buttons().size() == 1) return b->click();
      }
      auto* files = qobject_cast<QFileDialog*>(modal);
      if (!files) return;
      if (typed) return files->reject();
      auto* edit = files->findChild<QLineEdit*>("fileNameEdit");
      if (!edit || !edit->text().contains(u'.')) return;
      edit->setText(name);
      typed = true;
      QPushButton* save = files->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save);
      QMetaObject::invokeMethod(save, &QPushButton::click, Qt::QueuedConnection);
    });
    timer.start(20);
    testsupport::DialControls(dialog).btnSave->click();
    timer.stop();
    return messages;
  }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};

// In percent, the chart's unit as the window starts: the accessibility
// test reads the fields and the preview's marks.
TEST_F(DialDialog, OpensOnTheWindowsCurveInTheChartsUnitAndFitsASmallScreen) {
  window_->setDecibels(true);
  TfmDial dialog(window_.get(), DialSourceOf(*window_));
  dialog.show();
  testsupport::DialControls ui(dialog);
  EXPECT_EQ(ui.edMarks->text(), "0; -3; -6; -10; -15; -20; -25; -30; -40; -50; -60");
  EXPECT_EQ(ui.lblMarks->text(), QString::fromUtf8("Repère&s en dB (séparés par « ; ») :"));
  EXPECT_EQ(ui.lblMessage->text(), "");
  // The window's P1 100K with R2 10K, as it starts.
  ASSERT_TRUE(ui.pvDial->Picture());
  EXPECT_EQ(ui.pvDial->Picture()->circuit, "P1 100K, R2 10K");
  EXPECT_EQ(ui.pvDial->Picture()->marks.size(), 11u);
  // With its title bar on a 640 x 480 screen.
  EXPECT_LE(dialog.sizeHint().width(), 640);
  EXPECT_LE(dialog.sizeHint().height(), 450);
  EXPECT_EQ(dialog.font().pixelSize(), 11);
}

// Every field is on the Tab path with an access key of its own, and the key
// takes the keyboard there.
TEST_F(DialDialog, EveryFieldHasAnAccessKey) {
  TfmDial dialog(window_.get(), DialSourceOf(*window_));
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  const QList<testsupport::TabStop> path = testsupport::TabPathWithAccessKeys(dialog);
  for (const testsupport::TabStop& stop : path) {
    if (!qobject_cast<QLineEdit*>(stop.widget)) continue;
    testsupport::DialControls(dialog).btnCancel->setFocus();
    QTest::keyClick(&dialog, stop.key.toLatin1(), Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), stop.widget) << stop.widget->objectName().toStdString();
  }
  EXPECT_EQ(testsupport::NamesOf(path),
            QString("edRotation edDiameter edMarks cbScale btnSave btnCancel").split(u' '));
  // Alt+M ticks the mechanical scale, unticked as the dialog opens (the
  // button's click shows first), and the preview draws it.
  QTest::keyClick(&dialog, Qt::Key_M, Qt::AltModifier);
  for (int i = 0; i < 50 && !testsupport::DialControls(dialog).cbScale->isChecked(); ++i) QTest::qWait(10);
  EXPECT_TRUE(testsupport::DialControls(dialog).cbScale->isChecked());
  ASSERT_TRUE(testsupport::DialControls(dialog).pvDial->Picture());
  EXPECT_TRUE(testsupport::DialControls(dialog).pvDial->Picture()->settings.mechanicalScale);
}

TEST_F(DialDialog, FieldsThatGiveNoDialSaySoAndCannotBeSaved) {
  window_->setDecibels(true);
  const struct {
    const char *rotation, *diameter, *marks;
    const char* message;
    std::size_t marksShown;  // 0: no dial
  } rows[] = {
      {"179", "40", "0; -20", "La rotation du bouton va de 180 à 340 degrés.", 0},
      {"300.5", "40", "0; -20",
       "La rotation du bouton n'est pas un nombre (le séparateur décimal est « , »).", 0},
      {"270 °", "101", "0; -20", "Le diamètre du cadran va de 20 à 100 mm.", 0},
      {"300", "4O", "0; -20", "Le diamètre du cadran n'est pas un nombre.", 0},
      {"300", "40", "0;;-20", "Repères : un repère est vide entre deux « ; ».", 0},
      {"300", "40", "3; 6", "Aucun repère n'est atteint par la courbe (3 dB et 6 dB).", 0},
      // Some reached: said, and the others make the dial.
      {"300", "40", "0; 3; -20", "3 dB n'est jamais atteint par la courbe : ce repère est laissé de côté.",
       2},
      {"180", "20", "-3,5", "", 1},
      {"340", "100 mm", "0; -10;", "", 2},
  };
  TfmDial dialog(window_.get(), DialSourceOf(*window_));
  dialog.show();
  testsupport::DialControls ui(dialog);
  const QSize size = dialog.size();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.marks);
    Retype(ui.edRotation, row.rotation);
    Retype(ui.edDiameter, row.diameter);
    Retype(ui.edMarks, row.marks);
    EXPECT_EQ(ui.lblMessage->text(), QString::fromUtf8(row.message));
    EXPECT_EQ(ui.btnSave->isEnabled(), row.marksShown > 0);
    EXPECT_EQ(ui.pvDial->Picture() ? ui.pvDial->Picture()->marks.size() : 0u, row.marksShown);
    // The message takes its place without moving anything.
    QApplication::processEvents();
    EXPECT_EQ(dialog.size(), size);
  }
  // Enter on a dial that cannot be made saves nothing and leaves it open.
  Retype(ui.edMarks, "6");
  QTest::keyClick(ui.edMarks, Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(DialDialog, ACircuitWithoutACurveIsSaid) {
  // P1's other laws have no curve (the command line's --law; the window's
  // list stays on the linear law).
  DialSource logarithmic = DialSourceOf(*window_);
  logarithmic.linearLaw = false;
  logarithmic.lawName = QStringLiteral("Logarithmique");
  ui().edP1->setText("abc");  // read as 0 ohm
  const struct {
    DialSource source;
    const char* message;
  } rows[] = {
      {logarithmic,
       "La loi « Logarithmique » de P1 n'a pas de courbe : le cadran se fait sur la loi linéaire."},
      {DialSourceOf(*window_),
       "Le montage n'a pas de courbe : P1, la résistance ajoutée et la charge doivent "
       "valoir plus de 0 Ω dans la fenêtre principale."},
  };
  for (const auto& row : rows) {
    TfmDial dialog(window_.get(), row.source);
    testsupport::DialControls ui(dialog);
    EXPECT_EQ(ui.lblMessage->text(), QString::fromUtf8(row.message));
    EXPECT_FALSE(ui.btnSave->isEnabled());
    EXPECT_FALSE(ui.pvDial->Picture());
  }
  // The bare track, no resistor, with a load: its own loaded law.
  ui().edP1->setText("100K");
  QTest::mouseClick(ui().cbR2, Qt::LeftButton, {}, {5, 10});
  window_->SetLoad({"47K"});
  const DialSource source = DialSourceOf(*window_);
  EXPECT_EQ(source.circuitCaption, "P1 100K, charge 47K");
  EXPECT_FALSE(source.circuit.fitted);
  EXPECT_EQ(source.circuit.loadOhms, 47000);
}

TEST_F(DialDialog, SavesTheKindTheNameGivesAndKeepsTheSettingsForNextTime) {
  window_->setDecibels(true);
  {
    TfmDial dialog(window_.get(), DialSourceOf(*window_));
    dialog.show();
    Retype(testsupport::DialControls(dialog).edRotation, "270");
    Retype(testsupport::DialControls(dialog).edMarks, "0; -20; 6");
    EXPECT_EQ(SaveAs(dialog, Path("repères.csv")), QStringList());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  }
  QFile csv(Path("repères.csv"));
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  // 6 dB is never reached; -20 dB is at 31,62 % of the travel (see the core's test).
  EXPECT_EQ(
      QString::fromUtf8(csv.readAll()),
      QString::fromUtf8("Repère (dB);Position (%);Angle (°)\n0,00;100,00;135,00\n-20,00;31,62;-49,62\n"));
  // The menu's dialog opens as the last one was saved.
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<TfmDial*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    seen = true;
    EXPECT_EQ(testsupport::DialControls(*dialog).edRotation->text(), "270");
    EXPECT_EQ(testsupport::DialControls(*dialog).edMarks->text(), "0; -20; 6");
    dialog->reject();
  });
  SaveDialAs(*window_);
  EXPECT_TRUE(seen);
  // An existing file is replaced only on the user's word; on "Non" the
  // dialog stays.
  {
    TfmDial dialog(window_.get(), DialSourceOf(*window_));
    const QStringList asked = SaveAs(dialog, Path("repères.csv"));
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].contains(QString::fromUtf8("existe déjà")));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
  }
}

}  // namespace
}  // namespace dorvane::forms
