#include <gtest/gtest.h>
#include <QFontMetrics>
#include <QPainter>
#include "support/layout_metrics.h"

#include "controls/label.h"
#include "controls/shape.h"
#include "gfx/fonts.h"
#include "pixels.h"

namespace dorvane::controls {
namespace {

using pixels::Diff;
using pixels::Render;

const QColor kParentColour(0, 200, 200);

struct Form {
  QWidget parent;
  Form() {
    parent.resize(300, 300);
    parent.setFont(gfx::WindowFont());
    parent.setAutoFillBackground(true);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, kParentColour);
    parent.setPalette(pal);
  }
};

TEST(Shape, RectangleWithBrushAndOnePixelPen) {
  Form f;
  auto* shape = new TShape(&f.parent);
  shape->setGeometry(96, 160, 17, 41);
  auto check = [&](QRgb fill) {
    const QImage img = Render(f.parent);
    for (int y = 159; y <= 201; ++y)
      for (int x = 95; x <= 113; ++x) {
        const bool inside = x >= 96 && x <= 112 && y >= 160 && y <= 200;
        const bool edge = inside && (x == 96 || x == 112 || y == 160 || y == 200);
        const QRgb want = !inside ? kParentColour.rgb() : edge ? qRgb(0, 0, 0) : fill;
        ASSERT_EQ(img.pixel(x, y), want) << x << "," << y;
      }
  };
  check(qRgb(255, 255, 255));
  shape->setBrushColor(gfx::clGray);
  check(qRgb(128, 128, 128));
}

QFont Bold() {
  return gfx::PixelFont(QStringLiteral("MS Sans Serif"), 11, true);
}

// lblP1: bold, right-aligned, laid out at (33, 192), 16 x 13.
TLabel* AddP1(QWidget& parent) {
  auto* label = new TLabel(&parent);
  label->setGeometry(33, 192, 16, 13);
  label->setCaption(QStringLiteral("P1"));  // a layout may set the caption first
  label->setFont(Bold());
  label->setAlignment(TLabel::taRightJustify);
  label->ensurePolished();
  return label;
}

TEST(Label, RightAlignedLabelGrowsToTheLeftAndShrinksBack) {
  Form f;
  TLabel* label = AddP1(f.parent);
  const testsupport::LayoutMetrics fm(Bold());
  EXPECT_EQ(label->geometry(),
            QRect(49 - fm.horizontalAdvance("P1"), 192, fm.horizontalAdvance("P1"), fm.height()));
  const QRect one = label->geometry();
  label->setCaption(QStringLiteral("P1\r100K"));
  const int w = std::max(fm.horizontalAdvance("P1"), fm.horizontalAdvance("100K"));
  EXPECT_EQ(label->geometry(), QRect(49 - w, 192, w, 2 * fm.height()));
  label->setCaption(QStringLiteral("P1"));
  EXPECT_EQ(label->geometry(), one);
}

TEST(Label, LeftAlignedLabelKeepsItsLeftEdge) {
  Form f;
  auto* label = new TLabel(&f.parent);
  label->setGeometry(120, 168, 17, 13);
  label->setFont(Bold());
  label->ensurePolished();
  label->setCaption(QStringLiteral("R1\r10,2K"));
  const testsupport::LayoutMetrics fm(Bold());
  EXPECT_EQ(label->geometry(), QRect(120, 168, fm.horizontalAdvance("10,2K"), 2 * fm.height()));
}

TEST(Label, TwoLinesEachAlignedOverTheBackground) {
  Form f;
  TLabel* label = AddP1(f.parent);
  label->setCaption(QStringLiteral("P1\r100K"));
  label->setFontColor(gfx::clRed);
  const QImage img = Render(f.parent);
  QImage expected(f.parent.size(), QImage::Format_RGB32);
  expected.fill(kParentColour);
  {
    QPainter p(&expected);
    p.setFont(Bold());
    p.setPen(QColor(255, 0, 0));
    const testsupport::LayoutMetrics fm(Bold());
    const QRect r = label->geometry();
    // Each line ends at the label's right edge, by whole pixels; a glyph's
    // overhang beyond the label is cut like everything the label paints.
    p.setClipRect(r);
    const int right = r.left() + r.width();
    p.drawText(QPoint(right - fm.horizontalAdvance("P1"), r.top() + fm.ascent()), "P1");
    p.drawText(QPoint(right - fm.horizontalAdvance("100K"), r.top() + fm.height() + fm.ascent()), "100K");
  }
  const QRect bad = Bounds(Diff(img, expected));
  EXPECT_TRUE(bad.isNull()) << "differs in " << bad.x() << "," << bad.y() << " " << bad.width() << "x"
                            << bad.height();
}

TEST(Label, WithoutAutoSizeTheBoundsStay) {
  Form f;
  auto* label = new TLabel(&f.parent);
  label->setAutoSize(false);
  label->setGeometry(16, 120, 56, 13);
  label->ensurePolished();
  label->setCaption(QStringLiteral("Montage en Pseudo Log (Log Pos)"));
  EXPECT_EQ(label->geometry(), QRect(16, 120, 56, 13));
}

}  // namespace
}  // namespace dorvane::controls
