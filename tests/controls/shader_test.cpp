#include "controls/shader.h"

#include <cmath>

#include <gtest/gtest.h>
#include <QApplication>
#include <QPalette>

#include "pixels.h"

namespace dorvane::controls {
namespace {

using pixels::Render;
using pixels::RgbAt;

struct Band {
  int start;
  int r, g, b;
};

// The main window's panel: 606 x 374, 0xE1DC73 to blue, 20 horizontal bands.
constexpr Band kProgramBands[20] = {
    {0, 115, 220, 225},  {19, 109, 209, 227}, {37, 103, 198, 228}, {56, 98, 187, 229},  {75, 92, 176, 231},
    {93, 86, 165, 233},  {112, 81, 154, 234}, {131, 75, 143, 235}, {150, 69, 132, 237}, {168, 63, 121, 239},
    {187, 57, 110, 240}, {206, 52, 99, 241},  {224, 46, 88, 243},  {243, 40, 77, 245},  {262, 35, 66, 246},
    {280, 29, 55, 247},  {299, 23, 44, 249},  {318, 17, 33, 251},  {337, 11, 22, 252},  {355, 6, 11, 253},
};

void ProgramSettings(TShader& s) {
  s.resize(606, 374);
  s.setFromColor(14802035);
  s.setToColor(gfx::clBlue);
  s.setDirection(false);
  s.setCaption(QStringLiteral("Shader1"));
}

TEST(Shader, ChildrenAlignInsideAOnePixelMargin) {
  TShader s;
  s.resize(606, 374);
  EXPECT_EQ(s.contentsRect(), QRect(1, 1, 604, 372));
}

TEST(Shader, ProgramPanelBandsRowByRow) {
  TShader s;
  ProgramSettings(s);
  const QImage img = Render(s);
  for (int i = 0; i < 20; ++i) {
    const Band& band = kProgramBands[i];
    const int last = i < 19 ? kProgramBands[i + 1].start - 1 : 373;
    for (int y = band.start; y <= last; ++y)
      for (int x : {0, 1, 300, 604, 605})
        ASSERT_EQ(RgbAt(img, x, y), std::make_tuple(band.r, band.g, band.b))
            << "band " << i << " at " << x << "," << y;
  }
  // The rows named as checks: the first row, band 5 from row 93, band 15 from 280.
  EXPECT_EQ(RgbAt(img, 0, 92), std::make_tuple(92, 176, 231));
  EXPECT_EQ(RgbAt(img, 0, 93), std::make_tuple(86, 165, 233));
  EXPECT_EQ(RgbAt(img, 0, 279), std::make_tuple(35, 66, 246));
  EXPECT_EQ(RgbAt(img, 0, 280), std::make_tuple(29, 55, 247));
  EXPECT_EQ(RgbAt(img, 605, 373), std::make_tuple(6, 11, 253));
}

TEST(Shader, OneStepAndZeroStepsPaintFromColourEverywhere) {
  for (int steps : {1, 0}) {
    TShader s;
    ProgramSettings(s);
    s.setSteps(steps);
    const QImage img = Render(s);
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        ASSERT_EQ(RgbAt(img, x, y), std::make_tuple(0x73, 0xDC, 0xE1))
            << steps << " steps at " << x << "," << y;
    EXPECT_EQ(s.Steps(), 1);  // 0 is kept as 1 once painted
  }
}

TEST(Shader, VerticalStripesAre31ColumnsWide) {
  TShader s;
  ProgramSettings(s);
  s.setDirection(true);
  const QImage img = Render(s);
  // Starts round(i * 606 / 20), the exact product rounded half to even.
  auto start = [](int i) {
    const long double exact = static_cast<long double>(i) * static_cast<long double>(606.0 / 20);
    return static_cast<int>(std::nearbyintl(exact));
  };
  for (int i = 0; i < 20; ++i) {
    const Band& band = kProgramBands[i];
    const int last = i < 19 ? start(i + 1) - 1 : 605;
    for (int x = start(i); x <= last; ++x)
      for (int y : {0, 200, 373})
        ASSERT_EQ(RgbAt(img, x, y), std::make_tuple(band.r, band.g, band.b)) << "stripe " << i << " at " << x;
  }
  // The last stripe is round(30.3) + 1 = 31 columns: 576 .. 606 (cut at 605).
  EXPECT_EQ(start(19), 576);
  EXPECT_EQ(RgbAt(img, 575, 10), std::make_tuple(11, 22, 252));
}

TEST(Shader, WideBandsOverlapTheNextByOneRow) {
  // 10 rows, 4 steps: h = 2.5, bands of round(2.5) + 1 = 3 rows at 0, 2 (2.5
  // to even), 5, 8 (7.5 to even); the later band wins the shared row.
  TShader s;
  s.resize(3, 10);
  s.setFromColor(gfx::Rgb(0, 0, 0));
  s.setToColor(gfx::Rgb(200, 0, 0));
  s.setSteps(4);
  const QImage img = Render(s);
  const int expected[10] = {0, 0, 50, 50, 50, 100, 100, 100, 150, 150};
  for (int y = 0; y < 10; ++y) EXPECT_EQ(qRed(img.pixel(1, y)), expected[y]) << "row " << y;
}

TEST(Shader, RoundsTheExactProductHalfToEven) {
  EXPECT_EQ(RoundProduct(5, 374.0 / 20), 93);  // 93.4999... although 5 * 18.7 gives 93.5 in doubles
  EXPECT_EQ(RoundProduct(3, 1.5), 4);          // 4.5 -> 4
  EXPECT_EQ(RoundProduct(7, 1.5), 10);         // 10.5 -> 10
  EXPECT_EQ(RoundProduct(1, -11.5), -12);
  EXPECT_EQ(RoundProduct(15, 606.0 / 20), 455);  // 454.50000000000001 -> 455
  EXPECT_EQ(RoundProduct(0, 18.7), 0);
}

TEST(Shader, SystemColourIsFrozenAtAssignment) {
  const QPalette saved = QApplication::palette();
  QPalette pal = saved;
  pal.setColor(QPalette::Button, QColor(10, 20, 30));
  QApplication::setPalette(pal);
  TShader s;
  s.resize(20, 20);
  s.setSteps(1);
  s.setFromColor(gfx::clBtnFace);
  EXPECT_EQ(s.FromColor(), gfx::Rgb(10, 20, 30));
  pal.setColor(QPalette::Button, QColor(200, 100, 50));
  QApplication::setPalette(pal);
  EXPECT_EQ(RgbAt(Render(s), 5, 5), std::make_tuple(10, 20, 30));
  QApplication::setPalette(saved);
}

}  // namespace
}  // namespace dorvane::controls
