#include "controls/flat_edit.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include "gfx/fonts.h"
#include "pixels.h"

namespace dorvane::controls {
namespace {

using pixels::Diff;
using pixels::Render;
using pixels::RgbAt;
using pixels::RgbOf;

constexpr QPoint kAt(160, 64);
const QColor kParentColour(0, 200, 200);

// A form coloured unlike any edit colour, with one box set up like edR1.
struct Form {
  QWidget parent;
  TFlatEdit* edit;
  explicit Form(const QString& text = QStringLiteral("10K2")) {
    parent.resize(300, 120);
    parent.setFont(gfx::WindowFont());
    parent.setAutoFillBackground(true);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, kParentColour);
    parent.setPalette(pal);
    edit = new TFlatEdit(&parent);
    edit->setGeometry(kAt.x(), kAt.y(), 65, 21);
    edit->setBorderStyle(TFlatEdit::bsNone);
    edit->setFlat(true);
    edit->setFlatParentColor(false);
    edit->setColor(gfx::clWindow);
    edit->setFocusColor(gfx::clWindow);
    edit->setModifiedColor(gfx::clWindow);
    edit->setDisabledColor(gfx::clGray);
    edit->setShowError(true);
    edit->setCanUndo(false);
    edit->setText(text);
  }
};

TEST(FlatEdit, FlatBoxWithTextAtTwoFourAndABottomLine) {
  Form f;
  const QImage img = Render(f.parent);
  QImage expected = img.copy();
  {
    QPainter p(&expected);
    const QRect box(kAt, QSize(65, 21));
    p.fillRect(box, gfx::ToQColor(gfx::clWindow));
    p.fillRect(QRect(kAt.x(), kAt.y() + 20, 65, 1), Qt::black);
    p.setFont(gfx::WindowFont());
    p.setPen(gfx::ToQColor(gfx::clWindowText));
    p.drawText(kAt + QPoint(2, 4 + QFontMetrics(gfx::WindowFont()).ascent()), QStringLiteral("10K2"));
  }
  EXPECT_TRUE(Diff(img, expected).empty());
  // Nothing outside the box.
  EXPECT_EQ(img.pixel(kAt.x() - 1, kAt.y() + 20), kParentColour.rgb());
  EXPECT_EQ(img.pixel(kAt.x() + 65, kAt.y() + 20), kParentColour.rgb());
}

TEST(FlatEdit, DisabledBoxIsGreyWithItsLineAndText) {
  Form f;
  f.edit->setEnabled(false);
  const QImage img = Render(f.parent);
  for (int x = 0; x < 65; ++x) ASSERT_EQ(RgbAt(img, kAt.x() + x, kAt.y() + 20), RgbOf(gfx::clBlack)) << x;
  for (QPoint p : {QPoint(0, 0), QPoint(64, 0), QPoint(64, 19), QPoint(0, 19), QPoint(50, 10)})
    EXPECT_EQ(RgbAt(img, kAt.x() + p.x(), kAt.y() + p.y()), RgbOf(gfx::clGray)) << p.x() << "," << p.y();
  // The text is still there, drawn in the text colour on the grey.
  QImage expected(65, 21, QImage::Format_RGB32);
  expected.fill(gfx::ToQColor(gfx::clGray));
  {
    QPainter p(&expected);
    p.setFont(gfx::WindowFont());
    p.setPen(gfx::ToQColor(gfx::clWindowText));
    p.drawText(QPoint(2, 4 + QFontMetrics(gfx::WindowFont()).ascent()), QStringLiteral("10K2"));
  }
  EXPECT_TRUE(Diff(img.copy(QRect(kAt, QSize(65, 20))), expected.copy(0, 0, 65, 20)).empty());
  EXPECT_EQ(f.edit->Text(), "10K2");
  f.edit->setEnabled(true);
  EXPECT_EQ(RgbAt(Render(f.parent), kAt.x() + 50, kAt.y() + 10), RgbOf(gfx::ToRgb(gfx::clWindow)));
}

TEST(FlatEdit, NoLineWithoutFlatOrWithNoColour) {
  Form f;
  f.edit->setFlatLineColor(gfx::clNone);
  EXPECT_NE(Render(f.parent).pixel(kAt.x() + 50, kAt.y() + 20), qRgb(0, 0, 0));
  f.edit->setFlatLineColor(gfx::clRed);
  EXPECT_EQ(Render(f.parent).pixel(kAt.x() + 50, kAt.y() + 20), qRgb(255, 0, 0));
}

TEST(FlatEdit, OnChangeForEveryChangeOfTheText) {
  Form f;
  QSignalSpy spy(f.edit, &TFlatEdit::OnChange);
  QTest::keyClicks(f.edit, QStringLiteral("K,2 M"));
  EXPECT_EQ(spy.count(), 5);
  EXPECT_EQ(f.edit->Text(), "10K2K,2 M");
  QTest::keyClick(f.edit, Qt::Key_Backspace);
  EXPECT_EQ(spy.count(), 6);
  f.edit->setText(QStringLiteral("1M3"));  // from code
  EXPECT_EQ(spy.count(), 7);
  f.edit->setText(QStringLiteral("1M3"));  // same text: no change
  EXPECT_EQ(spy.count(), 7);
  QApplication::clipboard()->setText(QStringLiteral("470E"));
  f.edit->selectAll();
  f.edit->paste();
  EXPECT_EQ(spy.count(), 8);
  EXPECT_EQ(f.edit->Text(), "470E");
  QTest::keyClick(f.edit, Qt::Key_Return);
  QTest::keyClick(f.edit, Qt::Key_Enter);
  QTest::keyClick(f.edit, Qt::Key_Escape);
  EXPECT_EQ(spy.count(), 8);
  EXPECT_EQ(f.edit->Text(), "470E");
}

// Alt or Ctrl with a key types nothing, in our boxes and in the dialogs'
// plain ones; AltGr (Ctrl+Alt on Windows, its own modifier on X11), Shift
// and the boxes' own shortcuts still work.
TEST(FlatEdit, AltOrCtrlWithAKeyTypesNothing) {
  Form f;
  auto* plain = new QLineEdit(&f.parent);
  RefuseAltAndCtrlTyping(f.parent);
  const struct {
    Qt::Key key;
    const char* text;
    Qt::KeyboardModifiers modifiers;
    const char* after;  // "100K" before
  } keys[] = {
      {Qt::Key_X, "x", Qt::AltModifier, "100K"},
      {Qt::Key_A, "A", Qt::AltModifier | Qt::ShiftModifier, "100K"},
      {Qt::Key_Q, "q", Qt::ControlModifier | Qt::MetaModifier, "100K"},
      {Qt::Key_E, "€", Qt::ControlModifier | Qt::AltModifier, "100K€"},
      {Qt::Key_E, "€", Qt::GroupSwitchModifier, "100K€"},
      {Qt::Key_2, "2", Qt::NoModifier, "100K2"},
      {Qt::Key_X, "X", Qt::ShiftModifier, "100KX"},
  };
  for (QLineEdit* edit : {static_cast<QLineEdit*>(f.edit), plain})
    for (const auto& k : keys) {
      edit->setText(QStringLiteral("100K"));
      QTest::sendKeyEvent(QTest::Click, edit, k.key, QString::fromUtf8(k.text), k.modifiers);
      EXPECT_EQ(edit->text(), QString::fromUtf8(k.after)) << edit->metaObject()->className() << " " << k.text;
    }
  // Ctrl+A, even with an "a" (as a Cyrillic layout gives "ф"), selects all.
  for (QLineEdit* edit : {static_cast<QLineEdit*>(f.edit), plain}) {
    edit->setText(QStringLiteral("100K"));
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_A, QStringLiteral("a"), Qt::ControlModifier);
    EXPECT_EQ(edit->selectedText(), QStringLiteral("100K"));
  }
}

struct ActiveForm : Form {
  TFlatEdit* other;
  ActiveForm() {
    other = new TFlatEdit(&parent);
    other->setGeometry(kAt.x(), kAt.y() + 30, 65, 21);
    parent.show();
    QApplication::setActiveWindow(&parent);
  }
};

TEST(FlatEdit, FocusSelectsAllAndUsesTheFocusColour) {
  ActiveForm f;
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f.parent));
  f.edit->setFocusColor(gfx::clAqua);
  f.edit->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(f.edit->hasFocus());
  EXPECT_EQ(f.edit->selectedText(), "10K2");
  EXPECT_EQ(f.edit->CurrentBackground(), gfx::clAqua);
  EXPECT_EQ(RgbAt(Render(f.parent), kAt.x() + 60, kAt.y() + 2), RgbOf(gfx::clAqua));
  f.other->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(f.edit->CurrentBackground(), gfx::clWindow);
  EXPECT_EQ(RgbAt(Render(f.parent), kAt.x() + 60, kAt.y() + 2), RgbOf(gfx::ToRgb(gfx::clWindow)));
}

TEST(FlatEdit, EscapeUndoesOnlyWithCanUndo) {
  ActiveForm f;
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f.parent));
  f.edit->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(f.edit, QStringLiteral("47K"));
  QTest::keyClick(f.edit, Qt::Key_Escape);
  EXPECT_EQ(f.edit->Text(), "47K");
  f.edit->setCanUndo(true);
  f.other->setFocus(Qt::TabFocusReason);
  f.edit->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(f.edit, QStringLiteral("1"));
  QSignalSpy spy(f.edit, &TFlatEdit::OnChange);
  QTest::keyClick(f.edit, Qt::Key_Escape);
  EXPECT_EQ(f.edit->Text(), "47K");
  EXPECT_EQ(spy.count(), 1);
}

TEST(FlatEdit, ReturnIsTabMovesTheFocusOn) {
  ActiveForm f;
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f.parent));
  f.edit->setFocus(Qt::TabFocusReason);
  QTest::keyClick(f.edit, Qt::Key_Return);
  EXPECT_TRUE(f.edit->hasFocus());
  f.edit->setReturnIsTab(true);
  QTest::keyClick(f.edit, Qt::Key_Return);
  EXPECT_TRUE(f.other->hasFocus());
  EXPECT_EQ(f.edit->Text(), "10K2");
}

TEST(FlatEdit, InvalidTextShowsTheErrorColours) {
  Form f;
  f.edit->setValueValidator([](const QString& t) { return !t.contains(u'x'); });
  f.edit->setText(QStringLiteral("1x"));
  EXPECT_TRUE(f.edit->HasError());
  EXPECT_EQ(f.edit->CurrentBackground(), gfx::clRed);
  EXPECT_EQ(f.edit->CurrentTextColour(), gfx::clWhite);
  EXPECT_EQ(RgbAt(Render(f.parent), kAt.x() + 60, kAt.y() + 2), RgbOf(gfx::clRed));
  f.edit->setText(QStringLiteral("1K"));
  EXPECT_FALSE(f.edit->HasError());
  EXPECT_EQ(f.edit->CurrentBackground(), gfx::clWindow);
  f.edit->setShowError(false);
  f.edit->setText(QStringLiteral("2x"));
  EXPECT_FALSE(f.edit->HasError());
}

TEST(FlatEdit, FlatParentColourTakesTheParentsColour) {
  Form f;
  f.edit->setFlatParentColor(true);
  EXPECT_EQ(f.edit->CurrentBackground(), gfx::FromQColor(kParentColour));
  EXPECT_EQ(Render(f.parent).pixel(kAt.x() + 60, kAt.y() + 2), kParentColour.rgb());
}

}  // namespace
}  // namespace dorvane::controls
