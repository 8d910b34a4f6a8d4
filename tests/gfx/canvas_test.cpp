// Pixel tests of the classic raster rules that Canvas promises. Every image
// starts filled with a known colour; expectations come from the rule itself or
// from QFontMetrics.
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <set>
#include <utility>
#include <vector>
#include "support/layout_metrics.h"

#include <gtest/gtest.h>

#include "gfx/canvas.h"
#include "gfx/fonts.h"

namespace dorvane::gfx {
namespace {

using Pixel = std::pair<int, int>;
using PixelSet = std::set<Pixel>;

constexpr QRgb kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kRed = 0xFFFF0000, kYellow = 0xFFFFFF00;

QImage Blank(int w, int h, QRgb fill = kWhite) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

QImage Draw(QImage img, const std::function<void(Canvas&)>& draw) {
  QPainter p(&img);
  {
    Canvas c(p);
    draw(c);
  }
  p.end();
  return img;
}

PixelSet PixelsOf(const QImage& img, QRgb colour) {
  PixelSet out;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) == colour) out.insert({x, y});
  return out;
}

PixelSet NotColour(const QImage& img, QRgb colour) {
  PixelSet out;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != colour) out.insert({x, y});
  return out;
}

PixelSet Box(int l, int t, int r, int b) {  // right and bottom excluded
  PixelSet out;
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x) out.insert({x, y});
  return out;
}

PixelSet Minus(PixelSet a, const PixelSet& b) {
  for (const Pixel& p : b) a.erase(p);
  return a;
}

QRect Bounds(const PixelSet& s) {
  QRect r;
  for (const auto& [x, y] : s) r |= QRect(x, y, 1, 1);
  return r;
}

QFont ArialFont() {
  return PixelFont(QStringLiteral("Arial"), 11);
}

// --- rectangles ---------------------------------------------------------------

struct RectCase {
  const char* name;
  PenStyle pen;
  BrushStyle brush;
  bool outline, fill;
};

TEST(CanvasRectangle, CoversLeftTopToRightBottomExclusive) {
  const RectCase cases[] = {
      {"outline+fill", PenStyle::Solid, BrushStyle::Solid, true, true},
      {"clear pen", PenStyle::Clear, BrushStyle::Solid, false, true},
      {"clear brush", PenStyle::Solid, BrushStyle::Clear, true, false},
  };
  const Rect r{2, 3, 9, 8};
  const PixelSet all = Box(2, 3, 9, 8), inner = Box(3, 4, 8, 7);
  const PixelSet frame = Minus(all, inner);
  for (const RectCase& c : cases) {
    SCOPED_TRACE(c.name);
    const QImage img = Draw(Blank(12, 12), [&](Canvas& cv) {
      cv.setPen({clBlack, 1, c.pen});
      cv.setBrush({clRed, c.brush});
      cv.rectangle(r);
    });
    const PixelSet black = PixelsOf(img, kBlack), red = PixelsOf(img, kRed);
    if (c.outline) {
      EXPECT_EQ(black, frame);
      EXPECT_EQ(red, c.fill ? inner : PixelSet{});
    } else {
      EXPECT_TRUE(black.empty());
      EXPECT_EQ(red, all);
    }
    EXPECT_EQ(NotColour(img, kWhite), c.fill ? all : frame)
        << "nothing outside, a clear brush leaves the inside";
  }
}

TEST(CanvasRectangle, FillRectAndFrameRectExcludeRightAndBottom) {
  const QImage img = Draw(Blank(12, 12), [](Canvas& cv) {
    cv.fillRect({1, 1, 4, 3}, clRed);
    cv.frameRect({5, 5, 10, 9}, clBlack);
  });
  EXPECT_EQ(PixelsOf(img, kRed), Box(1, 1, 4, 3));
  EXPECT_EQ(PixelsOf(img, kBlack), Minus(Box(5, 5, 10, 9), Box(6, 6, 9, 8)));
}

// --- lines --------------------------------------------------------------------

// Every pixel of a line lies within half a pixel of the ideal line along the
// minor axis, one pixel per step of the major axis, A painted and B not.
void ExpectRasterLine(const PixelSet& painted, QPoint a, QPoint b) {
  const int dx = b.x() - a.x(), dy = b.y() - a.y();
  const bool xMajor = std::abs(dx) >= std::abs(dy);
  const int steps = std::max(std::abs(dx), std::abs(dy));
  ASSERT_EQ(painted.size(), size_t(steps));
  EXPECT_EQ(painted.count({a.x(), a.y()}), 1u) << "start painted";
  EXPECT_EQ(painted.count({b.x(), b.y()}), 0u) << "end not painted";
  std::set<int> majors;
  for (const auto& [x, y] : painted) {
    if (xMajor) {
      majors.insert(x);
      const double ideal = a.y() + double(x - a.x()) * dy / dx;
      EXPECT_LE(std::abs(y - ideal), 0.5 + 1e-9) << x << "," << y;
    } else {
      majors.insert(y);
      const double ideal = a.x() + double(y - a.y()) * dx / dy;
      EXPECT_LE(std::abs(x - ideal), 0.5 + 1e-9) << x << "," << y;
    }
  }
  EXPECT_EQ(majors.size(), size_t(steps)) << "one pixel per step";
}

TEST(CanvasLine, EndPixelExcludedInEveryDirection) {
  const QPoint centre(12, 12);
  const QPoint ends[] = {{18, 12}, {18, 18}, {12, 18}, {6, 18}, {6, 12}, {6, 6},  {12, 6}, {18, 6},
                         {19, 14}, {14, 19}, {5, 15},  {10, 4}, {20, 9}, {3, 11}, {13, 3}, {17, 22}};
  for (QPoint end : ends) {
    SCOPED_TRACE(testing::Message() << "to " << end.x() << "," << end.y());
    const QImage img =
        Draw(Blank(25, 25), [&](Canvas& cv) { cv.line(centre.x(), centre.y(), end.x(), end.y()); });
    ExpectRasterLine(PixelsOf(img, kBlack), centre, end);
    EXPECT_EQ(NotColour(img, kWhite), PixelsOf(img, kBlack));
  }
}

TEST(CanvasLine, ZeroLengthPaintsNothingAndMovesThePenPosition) {
  QPoint pos;
  const QImage img = Draw(Blank(8, 8), [&](Canvas& cv) {
    cv.line(3, 3, 3, 3);
    cv.lineTo(6, 3);
    pos = cv.penPos();
  });
  EXPECT_EQ(PixelsOf(img, kBlack), Box(3, 3, 6, 4));
  EXPECT_EQ(pos, QPoint(6, 3));
}

TEST(CanvasPolyline, JointsPaintedOnceLastPointLeftOut) {
  // Not-xor paints black over white once and restores white a second time:
  // a joint painted twice would show as a white hole.
  const std::vector<QPoint> pts{{2, 2}, {8, 2}, {8, 8}, {2, 8}, {5, 4}};
  const QImage img = Draw(Blank(12, 12), [&](Canvas& cv) {
    cv.setPen({clBlack, 1, PenStyle::Solid, PenMode::NotXor});
    cv.polyline(pts);
  });
  PixelSet expected;
  for (size_t i = 1; i < pts.size(); ++i) {
    const QImage seg = Draw(
        Blank(12, 12), [&](Canvas& cv) { cv.line(pts[i - 1].x(), pts[i - 1].y(), pts[i].x(), pts[i].y()); });
    for (const Pixel& p : PixelsOf(seg, kBlack)) expected.insert(p);
  }
  EXPECT_EQ(PixelsOf(img, kBlack), expected);
  EXPECT_EQ(expected.count({5, 4}), 0u);
  EXPECT_EQ(PixelsOf(img, kBlack).count({8, 2}), 1u);
  EXPECT_EQ(PixelsOf(img, kBlack).count({8, 8}), 1u);
}

// --- ellipse and polygon ----------------------------------------------------

TEST(CanvasEllipse, RingInsideItsBox) {
  for (int size : {8, 9, 15}) {
    SCOPED_TRACE(size);
    const QImage img = Draw(Blank(24, 24), [&](Canvas& cv) {
      cv.setBrush({clRed, BrushStyle::Clear});
      cv.ellipse({2, 3, 2 + size, 3 + size});
    });
    const QRect b = Bounds(PixelsOf(img, kBlack));
    EXPECT_EQ(b, QRect(2, 3, size, size))
        << "ring " << size << " px across, right column and bottom row left out";
    EXPECT_EQ(img.pixel(2 + size / 2, 3 + size / 2), kWhite) << "clear brush";
  }
  const QImage filled = Draw(Blank(24, 24), [&](Canvas& cv) {
    cv.setBrush({clRed, BrushStyle::Solid});
    cv.ellipse({2, 3, 12, 13});
  });
  EXPECT_EQ(filled.pixel(7, 8), kRed);
  EXPECT_EQ(Bounds(NotColour(filled, kWhite)), QRect(2, 3, 10, 10));
}

TEST(CanvasPolygon, EveryCornerPaintedAndFilled) {
  const std::vector<QPoint> tri{{9, 4}, {1, 8}, {9, 12}};
  const QImage img = Draw(Blank(14, 16), [&](Canvas& cv) {
    cv.setBrush({clBlack, BrushStyle::Solid});
    cv.polygon(tri);
  });
  const PixelSet black = PixelsOf(img, kBlack);
  EXPECT_EQ(Bounds(black), QRect(QPoint(1, 4), QPoint(9, 12)));
  for (QPoint p : tri) EXPECT_EQ(black.count({p.x(), p.y()}), 1u) << p.x() << "," << p.y();
  EXPECT_EQ(black.count({0, 8}), 0u);
  for (int y = 4; y <= 12; ++y) EXPECT_EQ(black.count({9, y}), 1u) << "the right side is whole, y=" << y;
  EXPECT_EQ(NotColour(img, kWhite), black);

  // Outline only with a clear brush: the inside stays white.
  const QImage outline = Draw(Blank(14, 16), [&](Canvas& cv) {
    cv.setBrush({clRed, BrushStyle::Clear});
    cv.polygon(tri);
  });
  EXPECT_EQ(outline.pixel(6, 8), kWhite);
  for (QPoint p : tri) EXPECT_EQ(outline.pixel(p), kBlack);
}

// --- pens ---------------------------------------------------------------------

TEST(CanvasPen, PatternsRestartAtEveryLine) {
  struct Case {
    PenStyle style;
    std::set<int> xs;  // painted columns of a 12-pixel line, end excluded
  };
  const Case cases[] = {
      {PenStyle::Solid, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
      {PenStyle::Dot, {0, 3, 6, 9}},
      {PenStyle::AlternateDot, {0, 2, 4, 6, 8, 10}},
      {PenStyle::Clear, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.style));
    const QImage img = Draw(Blank(16, 6), [&](Canvas& cv) {
      cv.setPen({clBlack, 1, c.style});
      cv.line(0, 1, 12, 1);
      cv.line(0, 3, 12, 3);  // a second line starts its pattern afresh
      cv.line(0, 5, 0, 5);
    });
    PixelSet expected;
    for (int x : c.xs) {
      expected.insert({x, 1});
      expected.insert({x, 3});
    }
    EXPECT_EQ(PixelsOf(img, kBlack), expected);
  }
}

TEST(CanvasPen, VerticalDotsFollowTheLine) {
  const QImage img = Draw(Blank(3, 12), [](Canvas& cv) {
    cv.setPen({clBlack, 1, PenStyle::Dot});
    cv.line(1, 10, 1, 0);  // upwards: first dot at the start
  });
  EXPECT_EQ(PixelsOf(img, kBlack), (PixelSet{{1, 10}, {1, 7}, {1, 4}, {1, 1}}));
}

TEST(CanvasLine, LinesFromFarAwayKeepTheirPattern) {
  // Only the part near the device is stepped; dots count from the start.
  const int far = -1000000000;
  struct Case {
    PenStyle style;
    int width;
    QPoint a, b;
    PixelSet expected;
  };
  PixelSet dotsFromFar, solidRow = Box(0, 2, 13, 3), column = Box(4, 0, 5, 10), wide = Box(0, 6, 20, 8);
  for (int x = 0; x < 13; ++x)
    if ((static_cast<long long>(x) - far) % 3 == 0) dotsFromFar.insert({x, 3});
  const Case cases[] = {
      {PenStyle::Dot, 1, {far, 3}, {13, 3}, dotsFromFar},
      {PenStyle::Solid, 1, {far, 2}, {13, 2}, solidRow},
      {PenStyle::Solid, 1, {4, 2000000000}, {4, -2000000000}, column},
      {PenStyle::Solid, 2, {-2000000000, 7}, {2000000000, 7}, wide},
  };
  for (const Case& c : cases) {
    const QImage img = Draw(Blank(20, 10), [&](Canvas& cv) {
      cv.setPen({clBlack, c.width, c.style});
      cv.line(c.a.x(), c.a.y(), c.b.x(), c.b.y());
    });
    EXPECT_EQ(PixelsOf(img, kBlack), c.expected) << c.a.x() << "," << c.a.y();
  }
  // A slanted line of absurd length still ends, and crosses the image.
  const QImage slanted =
      Draw(Blank(20, 10), [](Canvas& cv) { cv.line(-100000000, -50000000, 100000000, 50000000); });
  EXPECT_FALSE(PixelsOf(slanted, kBlack).empty());
}

TEST(CanvasPen, NotXorTwiceRestoresTheImageExactly) {
  QImage before = Blank(24, 24);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) before.setPixel(x, y, qRgb(x * 10, y * 10, (x * y) % 256));
  auto shapes = [](Canvas& cv) {
    cv.setPen({Rgb(0x12, 0x80, 0xF0), 1, PenStyle::Solid, PenMode::NotXor});
    cv.setBrush({clRed, BrushStyle::Clear});
    cv.line(1, 1, 20, 7);
    cv.line(3, 22, 3, 2);
    cv.rectangle({4, 4, 18, 15});
    const std::vector<QPoint> pts{{2, 20}, {10, 12}, {20, 20}, {22, 2}};
    cv.polyline(pts);
    cv.setPen({clBlack, 1, PenStyle::Dot, PenMode::NotXor});
    cv.line(0, 10, 23, 10);
  };
  const QImage once = Draw(before, shapes);
  EXPECT_NE(once, before);
  EXPECT_EQ(Draw(once, shapes), before);
}

TEST(CanvasPen, NotXorOnWhitePaintsThePenColour) {
  const QImage img = Draw(Blank(8, 3), [](Canvas& cv) {
    cv.setPen({clBlack, 1, PenStyle::Solid, PenMode::NotXor});
    cv.line(0, 1, 6, 1);
  });
  EXPECT_EQ(PixelsOf(img, kBlack), Box(0, 1, 6, 2));
}

TEST(CanvasPen, WidePenBandCentredOnTheLine) {
  const QImage img = Draw(Blank(20, 20), [](Canvas& cv) {
    cv.setPen({clBlack, 2});
    cv.line(2, 5, 12, 5);
    cv.line(15, 2, 15, 12);
  });
  EXPECT_EQ(PixelsOf(img, kBlack), [] {
    PixelSet s = Box(2, 4, 12, 6);
    for (const Pixel& p : Box(14, 2, 16, 12)) s.insert(p);
    return s;
  }());
}

// --- clipping -----------------------------------------------------------------

// What is drawn on the painter itself goes over the lines drawn before it.
TEST(CanvasPainter, LinesDrawnEarlierStayBelow) {
  const QImage img = Draw(Blank(8, 4), [](Canvas& c) {
    c.setPen({clBlack, 1});
    c.line(0, 1, 8, 1);
    c.painter().fillRect(QRect(2, 0, 3, 4), QColor(kRed));
  });
  EXPECT_EQ(PixelsOf(img, kRed), Box(2, 0, 5, 4));
  EXPECT_EQ(PixelsOf(img, kBlack), Minus(Box(0, 1, 8, 2), Box(2, 0, 5, 4)));
}

TEST(CanvasClip, NestedIntersectionsWithSaveAndRestore) {
  const QImage img = Draw(Blank(24, 24), [](Canvas& cv) {
    cv.intersectClipRect({2, 2, 20, 20});
    cv.save();
    cv.intersectClipRect({10, 0, 30, 12});
    cv.fillRect({0, 0, 24, 24}, clBlack);  // only 10..19 x 2..11
    cv.restore();
    cv.setPen({clRed});
    cv.line(0, 15, 24, 15);  // clipped to 2..19
    cv.clearClip();
    cv.setPixel(0, 23, clRed);
  });
  EXPECT_EQ(PixelsOf(img, kBlack), Box(10, 2, 20, 12));
  PixelSet red = Box(2, 15, 20, 16);
  red.insert({0, 23});
  EXPECT_EQ(PixelsOf(img, kRed), red);
}

TEST(CanvasClip, SetClipRectReplaces) {
  const QImage img = Draw(Blank(12, 12), [](Canvas& cv) {
    cv.setClipRect({0, 0, 3, 3});
    cv.setClipRect({5, 5, 8, 8});
    cv.fillRect({0, 0, 12, 12}, clBlack);
  });
  EXPECT_EQ(PixelsOf(img, kBlack), Box(5, 5, 8, 8));
}

// Lines of an opaque colour go straight into a 32-bit image; any other image
// format is painted by QPainter. Both must give the same pixels wherever the
// lines meet a clip edge, the image's edge, a translation or a scale.
TEST(CanvasClip, DirectPixelsMatchQPainterAtEveryEdge) {
  struct Case {
    const char* name;
    qreal dpr;
    QPoint offset;            // painter translation before the canvas
    std::vector<Rect> clips;  // intersected in turn
    bool nothing = false;     // the clip leaves no pixel
    size_t onPainter = 0;     // the first clips set on the painter itself
  };
  const Case cases[] = {
      {"plain", 1, {}, {}},
      {"inverted clip", 1, {}, {{17, 4, 3, 15}}, true},
      {"clip inverted upwards", 2, {}, {{3, 14, 17, 4}}, true},
      {"clipped", 1, {}, {{3, 4, 17, 15}}},
      {"nested clips", 1, {}, {{1, 1, 20, 18}, {5, 0, 30, 11}}},
      {"translated and clipped", 1, {3, -2}, {{2, 3, 16, 14}}},
      {"high density, clipped", 2, {}, {{3, 4, 17, 15}}},
      {"high density, translated", 2, {-1, 2}, {{0, 2, 15, 19}}},
      {"scale 1.25, clipped", 1.25, {}, {{3, 4, 17, 15}}},
      {"scale 1.5, translated and clipped", 1.5, {1, -1}, {{2, 3, 16, 14}}},
      {"scale 1.5, a clip on the painter, then the canvas's",
       1.5,
       {},
       {{2, 3, 16, 14}, {5, 0, 30, 11}},
       false,
       1},
  };
  auto draw = [](Canvas& cv) {
    const PenStyle styles[] = {PenStyle::Solid, PenStyle::Dot, PenStyle::AlternateDot};
    for (int i = 0; i < 3; ++i) {
      cv.setPen({i == 1 ? clRed : clBlack, 1, styles[i]});
      cv.line(-3 + i, 2 + 4 * i, 25, 2 + 4 * i);  // across left and right edges
      cv.line(4 + 5 * i, -2, 4 + 5 * i, 24);      // across top and bottom edges
      cv.line(24 - i, 22, -1, 1 + 3 * i);         // slanted, both ends outside
    }
    cv.setPen({clBlue, 2});
    cv.line(-4, 16, 30, 16);
    cv.setPen({clBlack});
    cv.setBrush({clYellow});
    cv.rectangle({14, 12, 26, 25});
    for (const QPoint& p : {QPoint(0, 0), QPoint(3, 4), QPoint(16, 14), QPoint(17, 15), QPoint(19, 19),
                            QPoint(-1, 5), QPoint(20, 5), QPoint(5, 20)})
      cv.setPixel(p.x(), p.y(), clRed);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto render = [&](QImage::Format format) {
      QImage img(QSize(20, 20) * c.dpr, format);
      img.fill(Qt::white);
      img.setDevicePixelRatio(c.dpr);
      QPainter p(&img);
      p.translate(c.offset);
      {
        Canvas cv(p);
        for (size_t i = 0; i < c.clips.size(); ++i) {
          if (i < c.onPainter)
            cv.painter().setClipRect(c.clips[i].toQRect());
          else
            cv.intersectClipRect(c.clips[i]);
        }
        draw(cv);
      }
      p.end();
      return img.convertToFormat(QImage::Format_RGB32);
    };
    const QImage direct = render(QImage::Format_RGB32);
    EXPECT_EQ(direct, render(QImage::Format_RGB888));
    EXPECT_EQ(PixelsOf(direct, kRed).empty(), c.nothing);
    if (c.nothing) {
      EXPECT_TRUE(NotColour(direct, kWhite).empty());
    }
  }
}

// A caller puts back only the recorded damage: every pixel the canvas changed
// must lie in it, at any density and clip; anything painted another way
// makes the whole image damaged.
TEST(CanvasDamage, CoversEveryChangedPixel) {
  struct Case {
    const char* name;
    qreal dpr;
    QPoint offset;
    std::optional<Rect> clip;
    bool text;  // text goes through the painter
  };
  const Case cases[] = {
      {"plain", 1, {}, {}, false},
      {"clipped", 1, {}, Rect{3, 4, 17, 15}, false},
      {"high density, translated, clipped", 2, {-1, 2}, Rect{0, 2, 15, 19}, false},
      {"text", 1, {}, {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QImage img(QSize(20, 20) * c.dpr, QImage::Format_RGB32);
    img.fill(kWhite);
    img.setDevicePixelRatio(c.dpr);
    Canvas::Damage damage;
    QPainter p(&img);
    p.translate(c.offset);
    {
      Canvas cv(p);
      cv.setDamage(&damage);
      if (c.clip) cv.intersectClipRect(*c.clip);
      for (int i = 0; i < 3; ++i) {
        cv.setPen({i == 1 ? clRed : clBlack, 1, i == 2 ? PenStyle::Dot : PenStyle::Solid});
        cv.line(-3 + i, 2 + 4 * i, 25, 2 + 4 * i);
        cv.line(4 + 5 * i, -2, 4 + 5 * i, 24);
        cv.line(24 - i, 22, -1, 1 + 3 * i);
        cv.line(2, 19 - i, 17, 1 + 7 * i);
      }
      cv.setPixel(5, 6, clRed);
      if (c.text) cv.textOut(2, 2, QStringLiteral("Ab"));
    }
    p.end();
    EXPECT_EQ(damage.whole, c.text);
    if (damage.whole) continue;
    int changed = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        if (img.pixel(x, y) == kWhite) continue;
        ++changed;
        const bool covered = std::any_of(damage.rects.begin(), damage.rects.end(),
                                         [&](const QRect& r) { return r.contains(x, y); });
        EXPECT_TRUE(covered) << "device pixel " << x << "," << y;
      }
    EXPECT_GT(changed, 0);
  }
}

// --- text ---------------------------------------------------------------------

// Reference text drawn by QPainter with the cell's top-left corner given.
QImage ReferenceText(QSize size, QPoint cellTopLeft, const QString& text, const QFont& font) {
  QImage img = Blank(size.width(), size.height());
  QPainter p(&img);
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(QPoint(cellTopLeft.x(), cellTopLeft.y() + QFontMetrics(font, &img).ascent()), text);
  return img;
}

TEST(CanvasText, TextOutAlignment) {
  const QFont font = ArialFont();
  const QString text = QStringLiteral("Chart 100");
  const QImage probe = Blank(1, 1);
  const int w = QFontMetrics(font, &probe).horizontalAdvance(text);
  struct Case {
    TextAlign align;
    int left;
  };
  const Case cases[] = {{TextAlign::Left, 60}, {TextAlign::Center, 60 - w / 2}, {TextAlign::Right, 60 - w}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.align));
    const QImage img = Draw(Blank(120, 20), [&](Canvas& cv) {
      cv.setFont(font);
      cv.setBackgroundMode(BackgroundMode::Transparent);
      cv.textOut(60, 3, text, c.align);
    });
    EXPECT_EQ(img, ReferenceText({120, 20}, {c.left, 3}, text, font));
  }
}

TEST(CanvasText, OpaqueBackgroundFillsTheCellTransparentLeavesIt) {
  const QFont font = ArialFont();
  const QImage probe = Blank(1, 1);
  const testsupport::LayoutMetrics fm(font, &probe);
  const QString text = QStringLiteral("ab");
  const int w = fm.horizontalAdvance(text), h = fm.height();
  for (bool opaque : {true, false}) {
    SCOPED_TRACE(opaque);
    const QImage img = Draw(Blank(40, 30), [&](Canvas& cv) {
      cv.setFont(font);
      cv.setTextBackground(clYellow);
      cv.setBackgroundMode(opaque ? BackgroundMode::Opaque : BackgroundMode::Transparent);
      cv.textOut(5, 4, text);
    });
    const QRect cell(5, 4, w, h);
    if (opaque)
      EXPECT_EQ(Bounds(NotColour(img, kWhite)), cell);
    else
      EXPECT_TRUE(cell.contains(Bounds(NotColour(img, kWhite))));
    EXPECT_EQ(img.pixel(5, 4), opaque ? kYellow : kWhite);
    EXPECT_EQ(img.pixel(5 + w - 1, 4 + h - 1), opaque ? kYellow : kWhite);
    EXPECT_TRUE(PixelsOf(img, kYellow).empty() != opaque);
  }
}

TEST(CanvasText, DrawTextBottomAlignedInABox) {
  const QFont font = ArialFont();
  const QImage probe = Blank(1, 1);
  const testsupport::LayoutMetrics fm(font, &probe);
  const QString text = QStringLiteral("Bas");
  const QImage img = Draw(Blank(80, 40), [&](Canvas& cv) {
    cv.setFont(font);
    cv.setBackgroundMode(BackgroundMode::Transparent);
    cv.drawText(Rect{10, 0, 70, 36}, text, kSingleLine | kAlignBottom);
  });
  EXPECT_EQ(img, ReferenceText({80, 40}, {10, 36 - fm.height()}, text, font));
}

TEST(CanvasText, DrawTextHorizontalAlignmentAndMeasure) {
  const QFont font = ArialFont();
  const QImage probe = Blank(1, 1);
  const testsupport::LayoutMetrics fm(font, &probe);
  const QString text = QStringLiteral("Milieu");
  const int w = fm.horizontalAdvance(text);
  struct Case {
    unsigned flags;
    int left;
  };
  const Case cases[] = {{kAlignLeft, 3}, {kAlignCenter, 3 + (74 - w) / 2}, {kAlignRight, 77 - w}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    const QImage img = Draw(Blank(80, 20), [&](Canvas& cv) {
      cv.setFont(font);
      cv.setBackgroundMode(BackgroundMode::Transparent);
      cv.drawText(Rect{3, 2, 77, 18}, text, kSingleLine | c.flags);
    });
    EXPECT_EQ(img, ReferenceText({80, 20}, {c.left, 2}, text, font));
  }

  Rect measured{4, 5, 4, 5};
  int height = 0;
  const QImage untouched = Draw(Blank(80, 20), [&](Canvas& cv) {
    cv.setFont(font);
    height = cv.drawText(measured, text, kSingleLine | kCalcRect);
  });
  EXPECT_EQ(untouched, Blank(80, 20));
  EXPECT_EQ(measured, (Rect{4, 5, 4 + w, 5 + fm.height()}));
  EXPECT_EQ(height, fm.height());

  Rect twoLines{0, 0, 0, 0};
  Draw(Blank(4, 4), [&](Canvas& cv) {
    cv.setFont(font);
    cv.drawText(twoLines, QStringLiteral("P1\n100,0K"), kCalcRect);
  });
  EXPECT_EQ(twoLines, (Rect{0, 0, fm.horizontalAdvance(QStringLiteral("100,0K")), 2 * fm.height()}));
}

TEST(CanvasText, Mnemonics) {
  const QFont font = ArialFont();
  auto drawn = [&](const QString& text, unsigned flags) {
    return Draw(Blank(80, 20), [&](Canvas& cv) {
      cv.setFont(font);
      cv.setBackgroundMode(BackgroundMode::Transparent);
      cv.drawText(Rect{2, 2, 78, 18}, text, kSingleLine | flags);
    });
  };
  EXPECT_EQ(drawn(QStringLiteral("R&&D"), kMnemonics), drawn(QStringLiteral("R&D"), 0));
  const QImage underlined = drawn(QStringLiteral("&Fichier"), kMnemonics);
  const QImage plain = drawn(QStringLiteral("Fichier"), 0);
  EXPECT_NE(underlined, plain);
  // The underline lies below the baseline of the cell.
  const QImage probe = Blank(1, 1);
  const int baseline = 2 + QFontMetrics(font, &probe).ascent();
  for (const auto& [x, y] : Minus(NotColour(underlined, kWhite), NotColour(plain, kWhite)))
    EXPECT_GE(y, baseline);
}

TEST(CanvasText, Rotated90ReadsUpwards) {
  const QFont font = ArialFont();
  const QImage probe = Blank(1, 1);
  const testsupport::LayoutMetrics fm(font, &probe);
  // Ink only at the start of the string: reading upwards puts it at the bottom.
  const QString text = QStringLiteral("W            ");
  const int w = fm.horizontalAdvance(text), wW = fm.horizontalAdvance(QStringLiteral("W"));
  const QImage img = Draw(Blank(40, 120), [&](Canvas& cv) {
    cv.setFont(font);
    cv.setBackgroundMode(BackgroundMode::Transparent);
    cv.textOutRotated90(10, 100, text);
  });
  const QRect ink = Bounds(NotColour(img, kWhite));
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GE(ink.left(), 10);
  EXPECT_LT(ink.right(), 10 + fm.height());
  EXPECT_LE(ink.bottom(), 100);
  EXPECT_GE(ink.top(), 100 - wW - 1) << "the first letter sits at the bottom";
  // The top of the letters faces left: the cap's stroke starts left of the baseline.
  EXPECT_LE(ink.left(), 10 + fm.ascent() - fm.capHeight() + 1);
  EXPECT_GE(ink.right(), 10 + fm.ascent() - 2);

  const QImage opaque = Draw(Blank(40, 120), [&](Canvas& cv) {
    cv.setFont(font);
    cv.setTextBackground(clYellow);
    cv.textOutRotated90(10, 100, text);
  });
  EXPECT_EQ(Bounds(NotColour(opaque, kWhite)), QRect(10, 100 - w, fm.height(), w));
}

TEST(CanvasText, Extents) {
  const QFont font = ArialFont();
  const QImage probe = Blank(1, 1);
  const testsupport::LayoutMetrics fm(font, &probe);
  QImage img = Blank(10, 10);
  QPainter p(&img);
  Canvas cv(p);
  cv.setFont(font);
  for (const QString& s : {QStringLiteral("W"), QStringLiteral("100"), QStringLiteral(" "),
                           QStringLiteral("Valeur résistance")}) {
    EXPECT_EQ(cv.textWidth(s), fm.horizontalAdvance(s)) << s.toStdString();
    EXPECT_EQ(cv.textExtent(s), QSize(fm.horizontalAdvance(s), fm.height()));
  }
  EXPECT_EQ(cv.textHeight(), fm.height());
  // Measurements follow the font, also for a text measured before.
  const QFont big = PixelFont(QStringLiteral("Arial"), 20, true);
  const testsupport::LayoutMetrics bigFm(big, &img);
  cv.setFont(big);
  EXPECT_EQ(cv.textWidth(QStringLiteral("100")), bigFm.horizontalAdvance(QStringLiteral("100")));
  EXPECT_EQ(cv.textHeight(), bigFm.height());
  cv.save();
  cv.setFont(font);
  cv.restore();
  EXPECT_EQ(cv.textHeight(), bigFm.height()) << "restore brings the font's metrics back";
}

TEST(CanvasText, SameTextInAnotherFontIsDrawnInThatFont) {
  const QFont small = ArialFont(), big = PixelFont(QStringLiteral("Arial"), 16, true);
  for (const QFont& f : {small, big, small}) {
    const QImage img = Draw(Blank(80, 24), [&](Canvas& cv) {
      cv.setFont(f);
      cv.setBackgroundMode(BackgroundMode::Transparent);
      cv.textOut(2, 2, QStringLiteral("Axe 50"));
    });
    EXPECT_EQ(img, ReferenceText({80, 24}, {2, 2}, QStringLiteral("Axe 50"), f));
  }
}

// --- high density -------------------------------------------------------------

TEST(CanvasDensity, LogicalPixelBecomesADeviceBlock) {
  QImage img = Blank(24, 24);
  img.setDevicePixelRatio(2);
  img = Draw(img, [](Canvas& cv) {
    cv.line(1, 1, 5, 1);
    cv.line(8, 2, 8, 4);
    cv.setPixel(10, 10, clRed);
    cv.setPen({clBlack, 1, PenStyle::Clear});
    cv.setBrush({clRed});
    cv.rectangle({1, 6, 3, 8});
  });
  PixelSet black = Box(2, 2, 10, 4);
  for (const Pixel& p : Box(16, 4, 18, 8)) black.insert(p);
  EXPECT_EQ(PixelsOf(img, kBlack), black);
  PixelSet red = Box(20, 20, 22, 22);
  for (const Pixel& p : Box(2, 12, 6, 16)) red.insert(p);
  EXPECT_EQ(PixelsOf(img, kRed), red);
}

TEST(CanvasDensity, DottedLineDotsAreBlocks) {
  QImage img = Blank(16, 4);
  img.setDevicePixelRatio(2);
  img = Draw(img, [](Canvas& cv) {
    cv.setPen({clBlack, 1, PenStyle::Dot});
    cv.line(0, 1, 7, 1);
  });
  PixelSet expected = Box(0, 2, 2, 4);
  for (const Pixel& p : Box(6, 2, 8, 4)) expected.insert(p);
  for (const Pixel& p : Box(12, 2, 14, 4)) expected.insert(p);
  EXPECT_EQ(PixelsOf(img, kBlack), expected);
}

// A wide or patterned pen keeps the logical rule at every scale: the frame
// lands on the mapped box, and a slanted dotted line has one dot every three
// logical pixels.
TEST(CanvasDensity, PatternedPensFollowTheLogicalPixels) {
  QImage box = Blank(48, 48);
  box.setDevicePixelRatio(2);
  box = Draw(box, [](Canvas& cv) {
    cv.setPen({clBlack, 2, PenStyle::Dot});
    cv.setBrush({clBlack, BrushStyle::Clear});
    cv.rectangle({10, 10, 20, 20});
  });
  PixelSet frame = Box(20, 20, 40, 40);
  for (const Pixel& p : Box(24, 24, 36, 36)) frame.erase(p);
  EXPECT_EQ(PixelsOf(box, kBlack), frame);

  for (const double scale : {1.0, 1.25, 1.5, 2.0}) {
    QImage img = Blank(int(40 * scale) + 2, int(12 * scale) + 2);
    img.setDevicePixelRatio(scale);
    img = Draw(img, [](Canvas& cv) {
      cv.setPen({clBlack, 1, PenStyle::Dot});
      cv.line(0, 0, 30, 10);
    });
    std::set<int> columns;
    for (const Pixel& p : PixelsOf(img, kBlack)) columns.insert(p.first);
    int dots = 0, last = -2;
    for (const int x : columns) dots += x != last + 1, last = x;
    EXPECT_EQ(dots, 10) << scale;
  }
}

}  // namespace
}  // namespace dorvane::gfx
