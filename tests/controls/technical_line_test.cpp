#include "controls/technical_line.h"

#include <cstdlib>

#include <gtest/gtest.h>
#include <QApplication>
#include <QEvent>

#include "controls/shader.h"
#include "pixels.h"
#include "support/widget_helpers.h"

namespace dorvane::controls {
namespace {

using pixels::Bounds;
using pixels::Diff;
using pixels::PointSet;
using pixels::Render;
using TL = TTechnicalLine;

struct Instance {
  const char* name;
  int left, top, width, height;
  TL::TTechnicalLineTypes type;
  TL::TSignPlaces places;
  TL::TLineEndings start, end;
  bool filled;
};

// The ten wires of the main window's circuit diagram.
constexpr Instance kProgramLines[10] = {
    {"TechnicalLine1", 73, 200, 32, 17, TL::lsStraightLeftToRight, TL::spStart, TL::leClosedArrowLeft,
     TL::leClosedArrowRight, true},
    {"TechnicalLine2", 56, 152, 17, 25, TL::lsStraightTopToBottom, TL::spNoWhere, TL::leClosedArrowLeft,
     TL::leClosedArrowRight, true},
    {"TechnicalLine3", 56, 240, 17, 25, TL::lsStraightTopToBottom, TL::spNoWhere, TL::leClosedArrowLeft,
     TL::leClosedArrowRight, true},
    {"TechnicalLine4", 96, 152, 17, 9, TL::lsStraightTopToBottom, TL::spNoWhere, TL::leClosedArrowLeft,
     TL::leClosedArrowRight, true},
    {"TechnicalLine5", 96, 200, 17, 9, TL::lsStraightTopToBottom, TL::spNoWhere, TL::leClosedArrowLeft,
     TL::leClosedArrowRight, true},
    {"TechnicalLine6", 64, 256, 129, 17, TL::lsStraightLeftToRight, TL::spEnd, TL::leClosedArrowLeft,
     TL::leCircle, false},
    {"TechnicalLine7", 64, 144, 129, 17, TL::lsStraightLeftToRight, TL::spEnd, TL::leClosedArrowLeft,
     TL::leCircle, false},
    {"TechnicalLine8", 104, 200, 89, 17, TL::lsStraightLeftToRight, TL::spEnd, TL::leClosedArrowLeft,
     TL::leCircle, false},
    {"TechnicalLine9", 96, 208, 17, 9, TL::lsStraightTopToBottom, TL::spNoWhere, TL::leClosedArrowLeft,
     TL::leClosedArrowRight, true},
    {"TechnicalLine10", 96, 256, 17, 9, TL::lsStraightTopToBottom, TL::spNoWhere, TL::leClosedArrowLeft,
     TL::leClosedArrowRight, true},
};

void ProgramPanel(TShader& panel) {
  panel.resize(606, 374);
  panel.setFromColor(14802035);
  panel.setToColor(gfx::clBlue);
}

TL* AddLine(TShader& panel, const Instance& in) {
  auto* line = new TL(&panel);
  line->setObjectName(QString::fromLatin1(in.name));
  line->setGeometry(in.left, in.top, in.width, in.height);
  line->setColor(gfx::clBlack);
  line->setSignSize(8);
  line->setLineType(in.type);
  line->setSignPlaces(in.places);
  line->setLineStartSign(in.start);
  line->setLineEndingsign(in.end);
  if (in.filled) line->setFillColor(gfx::clBlack);
  return line;
}

// Pixels a line changes on the gradient, relative to its top-left corner;
// every one of them must be black.
PointSet DrawnPixels(const Instance& in, int penWidth = 1) {
  TShader bare;
  ProgramPanel(bare);
  const QImage before = Render(bare);
  TShader panel;
  ProgramPanel(panel);
  AddLine(panel, in)->setLineWidth(penWidth);
  const QImage after = Render(panel);
  PointSet out;
  for (const QPoint& p : Diff(before, after)) {
    EXPECT_EQ(after.pixel(p), qRgb(0, 0, 0)) << in.name << " at " << p.x() << "," << p.y();
    out.insert(p - QPoint(in.left, in.top));
  }
  return out;
}

PointSet Segment(QPoint a, QPoint b) {  // horizontal or vertical, end excluded
  PointSet s;
  const QPoint step(b.x() > a.x() ? 1 : b.x() < a.x() ? -1 : 0, b.y() > a.y() ? 1 : b.y() < a.y() ? -1 : 0);
  for (QPoint p = a; p != b; p += step) s.insert(p);
  return s;
}

TEST(TechnicalLine, DefaultsOfANewLine) {
  TL line;
  EXPECT_EQ(line.LineType(), TL::lsStraightLeftToRight);
  EXPECT_EQ(line.LineStartSign(), TL::leNothing);
  EXPECT_EQ(line.LineEndingsign(), TL::leClosedArrowRight);
  EXPECT_EQ(line.SignPlaces(), TL::spEnd);
  EXPECT_EQ(line.SignSize(), 40);
  EXPECT_EQ(line.FillColor(), gfx::clNone);
  EXPECT_EQ(line.LineColor(), gfx::clBlack);
  EXPECT_EQ(line.LineWidth(), 1);
  EXPECT_TRUE(line.Transparent());
  EXPECT_EQ(line.size(), QSize(130, 45));
  EXPECT_EQ(line.Bevel()->Mode(), TBevel::bmCustom);
  EXPECT_EQ(line.Bevel()->StandardStyle(), TBevel::lsSingleLowered);
  EXPECT_EQ(line.Bevel()->Extent(), 0);
}

TEST(TechnicalLine, StraightWiresOfTheProgram) {
  // Vertical wires: (8, 1) -> (8, H - 1); the rails: (1, 8) -> (W - 9, 8).
  for (const Instance& in : kProgramLines) {
    if (in.places == TL::spNoWhere) {
      EXPECT_EQ(DrawnPixels(in), Segment({8, 1}, {8, in.height - 1})) << in.name;
    }
  }
}

TEST(TechnicalLine, RailsEndInHollowCircles) {
  for (const Instance& in : kProgramLines) {
    if (in.places != TL::spEnd) continue;
    const PointSet drawn = DrawnPixels(in);
    const int lineEnd = in.width - 9;  // 120 for the 129-pixel rails, 80 for the wiper output
    PointSet line, circle;
    for (const QPoint& p : drawn) (p.x() < lineEnd ? line : circle).insert(p);
    EXPECT_EQ(line, Segment({1, 8}, {lineEnd, 8})) << in.name;
    // A ring 8 across in the box (W - 9, 4, W - 1, 12), hollow.
    EXPECT_EQ(Bounds(circle), QRect(lineEnd, 4, 8, 8)) << in.name;
    for (int y = 6; y <= 9; ++y)
      for (int x = lineEnd + 2; x <= lineEnd + 5; ++x)
        EXPECT_FALSE(circle.count({x, y})) << in.name << " " << x << "," << y;
    EXPECT_TRUE(circle.count({lineEnd, 7}) && circle.count({lineEnd + 7, 8})) << in.name;
  }
}

TEST(TechnicalLine, WiperArrowPointsLeft) {
  const PointSet drawn = DrawnPixels(kProgramLines[0]);
  PointSet arrow, line;
  for (const QPoint& p : drawn) (p.x() <= 9 && p.y() != 8 ? arrow : line).insert(p);
  // Filled triangle (9, 4), (1, 8), (9, 12), then the line (9, 8) -> (31, 8).
  EXPECT_EQ(Bounds(drawn), QRect(QPoint(1, 4), QPoint(30, 12)));
  EXPECT_EQ(Bounds(arrow), QRect(QPoint(2, 4), QPoint(9, 12)));
  for (int x = 1; x <= 30; ++x) EXPECT_TRUE(drawn.count({x, 8})) << x;
  EXPECT_FALSE(drawn.count({31, 8}));
  for (int y = 4; y <= 12; ++y) EXPECT_TRUE(drawn.count({9, y})) << y;  // the base, corners included
  for (int x = 1; x <= 9; ++x) {  // filled: each column one unbroken run through row 8
    int first = 8, last = 8;
    while (drawn.count({x, first - 1})) --first;
    while (drawn.count({x, last + 1})) ++last;
    int rows = 0;
    for (int y = 0; y < 17; ++y) rows += int(drawn.count({x, y}));
    EXPECT_EQ(rows, last - first + 1) << x;
    EXPECT_LE(std::abs((8 - first) - (last - 8)), 1) << x;  // about symmetric
  }
  EXPECT_FALSE(drawn.count({1, 7}) || drawn.count({1, 9}));  // a one-pixel tip
}

TEST(TechnicalLine, WholeDiagramInPanelCoordinates) {
  TShader bare;
  ProgramPanel(bare);
  const QImage before = Render(bare);
  TShader panel;
  ProgramPanel(panel);
  for (const Instance& in : kProgramLines) AddLine(panel, in);
  const QImage after = Render(panel);
  const PointSet arrow = Diff(before, after, QRect(QPoint(60, 200), QPoint(82, 215)));
  EXPECT_EQ(Bounds(arrow), QRect(QPoint(74, 204), QPoint(82, 212)));
  EXPECT_TRUE(arrow.count({74, 208}));  // the tip
  for (int x = 82; x <= 103; ++x) EXPECT_EQ(after.pixel(x, 208), qRgb(0, 0, 0)) << x;
  // The three terminals, with the gradient inside them.
  for (int top : {148, 260, 204}) {
    const PointSet ring = Diff(before, after, QRect(QPoint(184, top - 2), QPoint(195, top + 9)));
    EXPECT_EQ(Bounds(ring), QRect(QPoint(184, top), QPoint(191, top + 7))) << top;
    EXPECT_EQ(after.pixel(187, top + 3), before.pixel(187, top + 3)) << top;
    EXPECT_NE(after.pixel(187, top + 3), qRgb(0, 0, 0)) << top;
  }
}

TEST(TechnicalLine, ThickPenShrinksTheWorkingRectangle) {
  // Width 3: p = 1, working rectangle (2, 2, W - 2, H - 2); the line is a
  // band three rows high from x = 3 up to W - 3.
  Instance in{"thick",       64,   144, 129, 17, TL::lsStraightLeftToRight, TL::spNoWhere, TL::leNothing,
              TL::leNothing, false};
  EXPECT_EQ(Bounds(DrawnPixels(in, 3)), QRect(QPoint(3, 7), QPoint(125, 9)));
  // The end box (119, 4, 127, 12) shrinks by 1: a ring 6 across.
  in.places = TL::spEnd;
  in.end = TL::leCircle;
  PointSet circle;
  for (const QPoint& p : DrawnPixels(in, 3))
    if (p.x() >= 119) circle.insert(p);
  EXPECT_EQ(Bounds(circle), QRect(120, 5, 6, 6));
}

TEST(TechnicalLine, SignsThatAreNotShownDoNotRepaint) {
  TShader panel;
  ProgramPanel(panel);
  TL* line = AddLine(panel, kProgramLines[0]);  // spStart
  panel.show();
  QApplication::processEvents();
  testsupport::PaintCounter counter(line);

  line->setLineEndingsign(TL::leCircle);
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 0);
  EXPECT_EQ(line->LineEndingsign(), TL::leCircle);

  line->setSignPlaces(TL::spBoth);
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 1);

  line->setLineEndingsign(TL::leClosedArrowRight);
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 2);

  line->setSignPlaces(TL::spEnd);
  QApplication::processEvents();
  const int before = counter.paints;
  line->setLineStartSign(TL::leCircle);  // start sign hidden now
  line->setSignPlaces(TL::spEnd);        // equal value: nothing
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, before);
  line->LineSettings()->setWidth(2);
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, before + 1);
}

}  // namespace
}  // namespace dorvane::controls
