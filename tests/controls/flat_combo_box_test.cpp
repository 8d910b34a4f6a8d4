#include "controls/flat_combo_box.h"
#include "support/layout_metrics.h"

#include <cstdlib>

#include <gtest/gtest.h>
#include <QApplication>
#include <QFontMetrics>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include "controls/look.h"
#include "gfx/fonts.h"
#include "pixels.h"
#include "support/look_guard.h"

namespace dorvane::controls {
namespace {

using pixels::Diff;
using pixels::Render;
using pixels::RgbAt;
using pixels::RgbOf;
using Combo = TFlatComboBox;

constexpr QPoint kAt(16, 32);
const QColor kParentColour(0xD4, 0xD0, 0xC8);

// lstPotType on a plain form of a known colour.
struct Form {
  QWidget parent;
  Combo* list;
  Form() {
    parent.resize(300, 120);
    parent.setFont(gfx::WindowFont());
    parent.setAutoFillBackground(true);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, kParentColour);
    parent.setPalette(pal);
    list = new Combo(&parent);
    list->setGeometry(kAt.x(), kAt.y(), 137, 21);
    list->addItems(
        {QStringLiteral("Linéaire"), QStringLiteral("Logarithmique"), QStringLiteral("Anti-Logarithmique")});
    list->setFlat(true);
    list->setFlatParentColor(false);
    list->setParentColor(true);
    list->setFocusColor(gfx::clWindow);
    list->setCtl3D(false);
    list->setItemHeight(13);
    list->setItemIndex(-1);
    list->setEnabled(false);
    list->setLabelCaption(QStringLiteral("Type et valeur du potentiomètre original (P1)"));
    list->setLabelPosition(Combo::lpTopLeft);
    list->setLabelTransparent(true);
    list->setLabelAlwaysEnabled(true);
    list->setLabelFont(gfx::WindowFont());
    list->setItemIndex(0);
  }
};

using testsupport::LookGuard;

TEST(FlatComboBox, NewListHasNoLabelAndAButtonAsWideAsAScrollBar) {
  QWidget parent;
  Combo c(&parent);
  EXPECT_EQ(c.Label(), nullptr);  // no caption, no label
  EXPECT_EQ(c.ButtonWidth(), c.style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
}

TEST(FlatComboBox, BottomLineEndsAt116AndRingsTakeTheParentsColour) {
  for (bool themed : {true, false}) {
    LookGuard look(themed);
    Form f;
    const QImage img = Render(f.parent);
    const int y = kAt.y() + 20;
    for (int x = 0; x <= 116; ++x) ASSERT_EQ(img.pixel(kAt.x() + x, y), qRgb(0, 0, 0)) << x;
    for (int x = 117; x < 137; ++x) ASSERT_EQ(img.pixel(kAt.x() + x, y), kParentColour.rgb()) << x;
    // Disabled: the field takes the parent's colour; rings all round.
    for (QPoint p : {QPoint(0, 0), QPoint(1, 1), QPoint(2, 2), QPoint(136, 0), QPoint(135, 19),
                     QPoint(134, 18), QPoint(3, 3), QPoint(60, 17)})
      EXPECT_EQ(img.pixel(kAt + p), kParentColour.rgb()) << themed << " " << p.x() << "," << p.y();
  }
}

TEST(FlatComboBox, InnerRingInTheListsColour) {
  Form f;
  f.list->setEnabled(true);
  f.list->setColor(gfx::clAqua);
  const QImage img = Render(f.parent);
  EXPECT_EQ(img.pixel(kAt + QPoint(1, 1)), kParentColour.rgb());
  EXPECT_EQ(img.pixel(kAt + QPoint(2, 2)), qRgb(0, 255, 255));
  EXPECT_EQ(img.pixel(kAt + QPoint(2, 10)), qRgb(0, 255, 255));
  EXPECT_EQ(img.pixel(kAt + QPoint(0, 20)), qRgb(0, 0, 0));
}

TEST(FlatComboBox, DisabledListTakesTheParentsColourAndGivesItBack) {
  Form f;
  f.list->setColor(gfx::clAqua);  // also clears ParentColor
  EXPECT_EQ(f.list->CurrentBackground(), gfx::FromQColor(kParentColour));
  f.list->setEnabled(true);
  EXPECT_EQ(f.list->CurrentBackground(), gfx::clAqua);
  EXPECT_FALSE(f.list->ParentColor());
}

TEST(FlatComboBox, FieldShowsTheItemGreyedWhenDisabled) {
  // The darkest ink of the field is the text colour: grey text disabled,
  // window text enabled.
  auto darkest = [](const QImage& img) {
    int best = 256 * 3;
    QRgb colour = 0;
    for (int y = kAt.y() + 3; y < kAt.y() + 18; ++y)
      for (int x = kAt.x() + 3; x < kAt.x() + 100; ++x) {
        const QRgb p = img.pixel(x, y);
        if (qRed(p) + qGreen(p) + qBlue(p) < best) {
          best = qRed(p) + qGreen(p) + qBlue(p);
          colour = p;
        }
      }
    return colour;
  };
  auto near = [](QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 8 && std::abs(qGreen(a) - qGreen(b)) <= 8 &&
           std::abs(qBlue(a) - qBlue(b)) <= 8;
  };
  Form f;
  EXPECT_TRUE(near(darkest(Render(f.parent)), gfx::ToQColor(gfx::clGrayText).rgb()));
  f.list->setEnabled(true);
  EXPECT_TRUE(near(darkest(Render(f.parent)), gfx::ToQColor(gfx::clWindowText).rgb()));
  f.list->setItemIndex(-1);  // no item, no ink
  EXPECT_EQ(darkest(Render(f.parent)), kParentColour.rgb());
}

TEST(FlatComboBox, FlatFallbackButtonIsAFaceWithAnArrow) {
  LookGuard look(false);
  Form f;
  const int bw = f.list->ButtonWidth();
  const QImage img = Render(f.parent);
  const QRgb face = gfx::ToQColor(gfx::clBtnFace).rgb();
  // The face around the arrow's box (w - bw + 4, 4)-(w - 4, h - 4).
  for (QPoint p :
       {QPoint(137 - bw + 1, 3), QPoint(137 - bw + 1, 17), QPoint(137 - 4, 10), QPoint(137 - bw + 2, 10)})
    EXPECT_EQ(img.pixel(kAt + p), face) << p.x() << "," << p.y();
}

// Disabling greys the text only: the arrow keeps its normal look, themed or
// not.
TEST(FlatComboBox, DisabledListKeepsItsArrow) {
  for (bool themed : {true, false}) {
    LookGuard look(themed);
    Form f;
    const int bw = f.list->ButtonWidth();
    const QRect arrow = QRect(QPoint(137 - bw + 4, 4), QPoint(137 - 5, 16)).translated(kAt);
    const QImage disabled = Render(f.parent);
    f.list->setEnabled(true);
    const QImage enabled = Render(f.parent);
    EXPECT_TRUE(Diff(disabled, enabled, arrow).empty()) << themed;
    bool ink = false;
    for (int y = arrow.top(); y <= arrow.bottom(); ++y)
      for (int x = arrow.left(); x <= arrow.right(); ++x)
        ink |= enabled.pixel(x, y) != gfx::ToQColor(gfx::clBtnFace).rgb();
    EXPECT_TRUE(ink) << themed;
  }
}

TEST(FlatComboBox, CaptionLabelAboveTheList) {
  Form f;
  TLabel* label = f.list->Label();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->parentWidget(), &f.parent);
  const testsupport::LayoutMetrics fm(gfx::WindowFont());
  // (16, 32 - 13 - 4) with a 13-pixel line; here the line of the font in use.
  EXPECT_EQ(label->pos(), QPoint(16, 32 - fm.height() - 4));
  EXPECT_EQ(label->size(), QSize(fm.horizontalAdvance(f.list->LabelCaption()), fm.height()));
  EXPECT_TRUE(label->isEnabled());  // LabelAlwaysEnabled
  EXPECT_TRUE(label->Transparent());
  // Moving the list moves its caption (the move reaches a hidden list when
  // it is shown).
  f.list->move(40, 60);
  f.parent.show();
  EXPECT_EQ(label->pos(), QPoint(40, 60 - fm.height() - 4));
}

// The list at (16, 32), 137 x 21, margin 4; the caption "100" is 18 x 13
// pixels in the window font.
TEST(FlatComboBox, AllTenLabelPositions) {
  Form f;
  f.list->setLabelCaption(QStringLiteral("100"));
  TLabel* label = f.list->Label();
  ASSERT_EQ(label->size(), QSize(18, 13));
  struct Case {
    Combo::TLabelPosition pos;
    QPoint at;
  };
  const Case cases[] = {
      {Combo::lpLeftTop, {-6, 32}},        {Combo::lpLeftCenter, {-6, 36}},
      {Combo::lpLeftBottom, {-6, 40}},     {Combo::lpTopLeft, {16, 15}},
      {Combo::lpBottomLeft, {16, 57}},     {Combo::lpLeftTopLeft, {12, 32}},
      {Combo::lpLeftCenterLeft, {12, 36}}, {Combo::lpLeftBottomLeft, {12, 40}},
      {Combo::lpTopCenter, {75, 15}},      {Combo::lpBottomCenter, {75, 57}},
  };
  for (const Case& c : cases) {
    f.list->setLabelPosition(c.pos);
    EXPECT_EQ(label->pos(), c.at) << c.pos;
  }
  f.list->setLabelMargin(10);
  EXPECT_EQ(label->pos(), QPoint(75, 63));
}

TEST(FlatComboBox, LabelFollowsVisibilityAndEnabledState) {
  Form f;
  f.parent.show();
  TLabel* label = f.list->Label();
  EXPECT_TRUE(label->isVisible());
  f.list->hide();
  EXPECT_FALSE(label->isVisible());
  f.list->show();
  EXPECT_TRUE(label->isVisible());
  f.list->setLabelAlwaysEnabled(false);
  EXPECT_FALSE(label->isEnabled());
  f.list->setEnabled(true);
  EXPECT_TRUE(label->isEnabled());
  f.list->setEnabled(false);
  EXPECT_FALSE(label->isEnabled());
}

TEST(FlatComboBox, LabelGoesWithTheList) {
  Form f;
  QPointer<TLabel> label = f.list->Label();
  f.parent.show();
  f.list->deleteLater();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(label.isNull());
}

TEST(FlatComboBox, OnlyTheUsersSelectionRaisesOnChange) {
  Form f;
  QSignalSpy spy(f.list, &Combo::OnChange);
  f.list->setItemIndex(2);
  f.list->setItemIndex(0);
  EXPECT_EQ(spy.count(), 0);
  f.list->setEnabled(true);
  QTest::keyClick(f.list, Qt::Key_Down);
  EXPECT_EQ(f.list->ItemIndex(), 1);
  EXPECT_EQ(spy.count(), 1);
}

TEST(FlatComboBox, ButtonWidthAcceptsOnly14To32) {
  Form f;
  f.list->setButtonWidth(20);
  for (int bad : {13, 33, 0, -5}) {
    f.list->setButtonWidth(bad);
    EXPECT_EQ(f.list->ButtonWidth(), 20) << bad;
  }
  f.list->setButtonWidth(32);
  EXPECT_EQ(f.list->ButtonWidth(), 32);
}

TEST(FlatComboBox, FocusColourWhileFocused) {
  Form f;
  f.list->setEnabled(true);
  f.list->setFocusColor(gfx::clAqua);
  f.parent.show();
  QApplication::setActiveWindow(&f.parent);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f.parent));
  f.list->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(f.list->hasFocus());
  EXPECT_EQ(f.list->CurrentBackground(), gfx::clAqua);
  EXPECT_EQ(RgbAt(Render(f.parent), kAt.x() + 2, kAt.y() + 2), RgbOf(gfx::clAqua));
  f.list->clearFocus();
  EXPECT_EQ(f.list->CurrentBackground(), gfx::FromQColor(kParentColour));
}

}  // namespace
}  // namespace dorvane::controls
