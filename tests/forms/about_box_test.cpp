// The about box: its layout, its pictures, and how it opens and closes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>

#include "controls/etched_line.h"
#include "controls/information_label.h"
#include "controls/scroll_text.h"
#include "controls/three_d_caption.h"
#include "forms/frm_about.h"
#include "forms/pictures.h"
#include "gfx/colour.h"
#include "gfx/fonts.h"
#include "support/layout_metrics.h"
#include "support/look_guard.h"

namespace dorvane::forms {
namespace {

using controls::TInformationLabel;
using controls::TSimpleLabel;

template <typename T = QWidget>
T* Child(const QWidget& form, const char* name) {
  T* w = form.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

// Runs `during` once the modal loop of the next dialog has started.
void WhileModal(const std::function<void(QDialog*)>& during) {
  QTimer::singleShot(0, [during] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    during(dialog);
  });
}

TEST(AboutBox, ControlsInCreationOrderWithTheirBounds) {
  TfmAbout form;
  struct Control {
    const char* name;
    QRect bounds;  // empty size: sized to its text
  };
  const Control controls[] = {
      {"lblInitStatus", {8, 152, 289, 14}},
      {"ScrollText1", {8, 160, 200, 25}},
      {"lblThanks", {8, 144, 0, 0}},
      {"ProgramIcon", {16, 16, 32, 32}},
      {"Bevel2", {16, 56, 273, 9}},
      {"Image1", {16, 72, 12, 12}},
      {"Version", {32, 72, 0, 0}},
      {"Image2", {16, 88, 12, 12}},
      {"Copyright", {32, 88, 0, 0}},
      {"Image3", {16, 104, 12, 12}},
      {"Comments", {32, 104, 0, 0}},
      {"InformationLabel1", {112, 72, 177, 16}},
      {"InformationLabel2", {112, 88, 177, 16}},
      {"InformationLabel3", {112, 104, 177, 16}},
      {"Bevel1", {8, 136, 289, 9}},
      {"SimpleLabel1", {128, 8, 0, 0}},
      {"SimpleLabel2", {}},
      {"Label2", {}},
      {"btnOK", {216, 160, 81, 25}},
  };
  QStringList order;
  for (QObject* o : form.children())
    if (o->isWidgetType()) order << o->objectName();
  QStringList expected;
  for (const Control& c : controls) expected << QString::fromLatin1(c.name);
  EXPECT_EQ(order, expected);
  for (const Control& c : controls) {
    const QWidget* w = Child(form, c.name);
    if (!w || c.bounds == QRect()) continue;
    if (c.bounds.size().isEmpty())
      EXPECT_EQ(w->pos(), c.bounds.topLeft()) << c.name;
    else
      EXPECT_EQ(w->geometry(), c.bounds) << c.name;
  }
  EXPECT_EQ(form.objectName(), "fmAbout");
  EXPECT_EQ(form.windowTitle(), "A propos...");
  EXPECT_EQ(form.size(), QSize(305, 193));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_FALSE(form.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

TEST(AboutBox, TextsAndVersionValues) {
  TfmAbout form;
  EXPECT_EQ(Child<QLabel>(form, "lblThanks")->text(), "Remerciements");
  EXPECT_EQ(Child<QLabel>(form, "Version")->text(), "Version :");
  EXPECT_EQ(Child<QLabel>(form, "Copyright")->text(), "Copyright :");
  EXPECT_EQ(Child<QLabel>(form, "Comments")->text(), "Commentaires :");
  EXPECT_EQ(Child<QLabel>(form, "Label2")->text(), "Modification courbe variation potentiomètre");
  EXPECT_EQ(Child<TInformationLabel>(form, "InformationLabel1")->Text(), "1.0.0.0");
  EXPECT_EQ(Child<TInformationLabel>(form, "InformationLabel2")->Text(), "Copyright \u00A9 2026 Dorvane");
  EXPECT_EQ(Child<TInformationLabel>(form, "InformationLabel3")->Text(), "Freeware");
  EXPECT_EQ(Child<controls::TScrollText>(form, "ScrollText1")->Lines(), QStringList{"-"});
  auto* ok = Child<QPushButton>(form, "btnOK");
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_TRUE(ok->isDefault());
}

TEST(AboutBox, TitleHalvesJoinAndSizeToTheirText) {
  TfmAbout form;
  auto* left = Child<TSimpleLabel>(form, "SimpleLabel1");
  auto* right = Child<TSimpleLabel>(form, "SimpleLabel2");
  EXPECT_EQ(left->Caption() + right->Caption(), "Dorvane");
  const testsupport::LayoutMetrics fm(gfx::PixelFont("Arial", 24, true));
  EXPECT_EQ(left->geometry(), QRect(128, 8, fm.horizontalAdvance(left->Caption()) + 4, fm.height() + 4));
  // Both draw their text 1 pixel in: the right text starts where the left ends.
  EXPECT_EQ(right->geometry(), QRect(128 + fm.horizontalAdvance(left->Caption()), 8,
                                     fm.horizontalAdvance(right->Caption()) + 4, fm.height() + 4));
  EXPECT_EQ(left->FontColor(), gfx::clBlack);
  EXPECT_EQ(right->FontColor(), gfx::clRed);
  EXPECT_EQ(left->Font3DStyle(), controls::T3DCaption::tdRaisedShadow);
}

TEST(AboutBox, PlainLabelsFitTheirText) {
  TfmAbout form;
  const QFontMetrics fm(gfx::PixelFont("Arial", 11));
  struct Case {
    const char* name;
    int left, right;  // the fixed edge; -1 for the one that moves
  };
  for (const Case& c : {Case{"lblThanks", 8, -1}, Case{"Version", 32, -1}, Case{"Copyright", 32, -1},
                        Case{"Comments", 32, -1}, Case{"Label2", -1, 289}}) {
    const QLabel* label = Child<QLabel>(form, c.name);
    const int width = fm.horizontalAdvance(label->text());
    const int left = c.left >= 0 ? c.left : c.right - width;
    EXPECT_EQ(label->geometry(), QRect(left, label->y(), width, 14)) << c.name;
  }
}

TEST(AboutBox, MarbleTilesFromTheCornerAndRepeatsAt245) {
  TfmAbout form;
  const QImage shot = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage marble = MarblePicture().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(marble.size(), QSize(245, 331));
  // Rows no control covers: along the top above the title and the icon,
  // and along the bottom below the button.
  for (int y : {0, 1, 2, 3, 4, 5, 6, 7, 186, 187, 188, 189, 190, 191, 192})
    for (int x = 0; x < 305; ++x) ASSERT_EQ(shot.pixel(x, y), marble.pixel(x % 245, y)) << x << "," << y;
}

// The marble stays light under a dark desktop palette, and so do the texts
// over it: every pixel but the button's is the default palette's.
TEST(AboutBox, DarkPaletteKeepsEveryTextOverTheMarble) {
  QImage shots[2];
  QRect button;
  for (bool dark : {false, true}) {
    std::optional<testsupport::DarkPaletteGuard> palette;
    if (dark) palette.emplace();
    TfmAbout form;
    button = form.findChild<QPushButton*>()->geometry();
    shots[dark] = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  ASSERT_EQ(shots[0].size(), shots[1].size());
  int differing = 0;
  for (int y = 0; y < shots[0].height(); ++y)
    for (int x = 0; x < shots[0].width(); ++x)
      differing += !button.contains(x, y) && shots[0].pixel(x, y) != shots[1].pixel(x, y);
  EXPECT_EQ(differing, 0);
  EXPECT_NE(shots[0].copy(button), shots[1].copy(button)) << "the palette was not in force";
}

TEST(AboutBox, EtchedLinesBulletsAndIcon) {
  const QIcon before = QApplication::windowIcon();
  QPixmap magenta(32, 32);
  magenta.fill(QColor(255, 0, 255));
  QApplication::setWindowIcon(QIcon(magenta));
  TfmAbout form;
  QApplication::setWindowIcon(before);
  const QImage shot = form.grab().toImage().convertToFormat(QImage::Format_RGB32);

  for (const auto& [x0, y0, w] : {std::tuple{8, 136, 289}, std::tuple{16, 56, 273}})
    for (int x = x0; x < x0 + w; ++x) {
      ASSERT_EQ(shot.pixel(x, y0), gfx::ToQColor(gfx::clBtnShadow).rgb()) << x;
      ASSERT_EQ(shot.pixel(x, y0 + 1), gfx::ToQColor(gfx::clBtnHighlight).rgb()) << x;
    }
  const QImage bullet = BulletPicture().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(bullet.size(), QSize(12, 12));
  for (int top : {72, 88, 104}) EXPECT_EQ(shot.copy(16, top, 12, 12), bullet) << top;
  // The application's icon at creation, stretched to 32 x 32.
  for (int y = 16; y < 48; ++y)
    for (int x = 16; x < 48; ++x) ASSERT_EQ(shot.pixel(x, y), qRgb(255, 0, 255)) << x << "," << y;
}

TEST(AboutBox, PicturesAreAsDescribed) {
  const QImage marble = MarblePicture();
  EXPECT_EQ(marble.format(), QImage::Format_Indexed8);
  EXPECT_LE(marble.colorCount(), 85);
  for (QRgb c : marble.colorTable()) {
    EXPECT_EQ(qRed(c), qGreen(c));
    EXPECT_EQ(qGreen(c), qBlue(c));
  }
  // Pale: most of the picture is nearly white.
  int pale = 0;
  for (int y = 0; y < marble.height(); ++y)
    for (int x = 0; x < marble.width(); ++x) pale += qGray(marble.pixel(x, y)) >= 220;
  EXPECT_GT(pale, marble.width() * marble.height() / 2);
  const QImage bullet = BulletPicture();
  EXPECT_LE(bullet.colorCount(), 16);
  EXPECT_EQ(bullet.pixel(6, 6), qRgb(255, 0, 0));
  const QIcon icon = ProgramIcon();
  for (int size : {32, 48, 64, 128, 256})
    EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
  const QImage small(QStringLiteral(":/dorvane/icons/dorvane-32.png"));
  EXPECT_EQ(small.size(), QSize(32, 32));
  EXPECT_LE(small.colorCount(), 16);
}

TEST(AboutBox, ModalCentredEnterClosesEscDoesNot) {
  QWidget main;
  main.resize(400, 300);
  main.show();
  TfmAbout form(&main);
  bool escapeLeftItOpen = false;
  WhileModal([&](QDialog* dialog) {
    EXPECT_EQ(dialog, &form);
    EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
    const QRect screen = dialog->screen()->geometry();
    EXPECT_LE((dialog->frameGeometry().center() - screen.center()).manhattanLength(), 1);
    QTest::keyClick(dialog, Qt::Key_Escape);
    QApplication::processEvents();
    escapeLeftItOpen = dialog->isVisible();
    QTest::keyClick(dialog, Qt::Key_Return);
  });
  EXPECT_EQ(form.exec(), QDialog::Accepted);
  EXPECT_TRUE(escapeLeftItOpen);
  EXPECT_FALSE(Child<controls::TScrollText>(form, "ScrollText1")->Scroll());
  EXPECT_FALSE(Child<QWidget>(form, "lblInitStatus")->isVisible());
}

TEST(AboutBox, TheCloseBoxEndsIt) {
  TfmAbout form;
  WhileModal([](QDialog* dialog) { dialog->close(); });
  EXPECT_EQ(form.exec(), QDialog::Rejected);
}

TEST(AboutBox, ShowAboutBoxBlocksTheOwnerAndDestroysTheDialog) {
  QWidget main;
  main.show();
  QImage first, second;
  for (QImage* shot : {&first, &second}) {
    bool wasModalChild = false;
    WhileModal([&](QDialog* dialog) {
      wasModalChild = qobject_cast<TfmAbout*>(dialog) && dialog->parentWidget() == &main && dialog->isModal();
      *shot = dialog->grab().toImage();
      QTest::keyClick(dialog, Qt::Key_Enter);
    });
    ShowAboutBox(&main);
    EXPECT_TRUE(wasModalChild);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(main.findChildren<TfmAbout*>().isEmpty());
  }
  // A fresh dialog each time, with the same content.
  EXPECT_FALSE(first.isNull());
  EXPECT_EQ(first, second);
}

}  // namespace
}  // namespace dorvane::forms
