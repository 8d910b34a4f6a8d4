// The axis arithmetic: value/pixel map, label step, label values and text.
#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "chart/axis_scale.h"
#include "support/c_locale.h"

namespace dorvane::chart {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(AxisMap, HorizontalFromStartVerticalFromEnd) {
  const AxisMap h(true, false, 42, 335, 0, 100);
  const AxisMap v(false, false, 30, 288, 0, 100);
  EXPECT_EQ(h.ValueToPixel(0), 42);
  EXPECT_EQ(h.ValueToPixel(100), 335);
  EXPECT_EQ(v.ValueToPixel(0), 288);
  EXPECT_EQ(v.ValueToPixel(100), 30);
  EXPECT_EQ(h.CenterPixel(), 188);
  EXPECT_DOUBLE_EQ(h.PixelToValue(42), 0);
  EXPECT_DOUBLE_EQ(h.PixelToValue(335), 100);
  EXPECT_DOUBLE_EQ(v.PixelToValue(30), 100);
  EXPECT_DOUBLE_EQ(v.PixelToValue(288), 0);
  // Inverted axes swap the rules.
  EXPECT_EQ(AxisMap(true, true, 42, 335, 0, 100).ValueToPixel(0), 335);
  EXPECT_EQ(AxisMap(false, true, 30, 288, 0, 100).ValueToPixel(0), 30);
}

TEST(AxisMap, RoundsHalvesToEven) {
  // Span 5 pixels over 0..10: every odd value falls on half a pixel.
  const AxisMap h(true, false, 0, 5, 0, 10);
  const int expected[] = {0, 0, 1, 2, 2, 2, 3, 4, 4, 4, 5};  // t = 0, .5, 1, 1.5, 2, 2.5 ...
  for (int v = 0; v <= 10; ++v) EXPECT_EQ(h.ValueToPixel(v), expected[v]) << v;
  const AxisMap v(false, false, 0, 5, 0, 10);
  EXPECT_EQ(v.ValueToPixel(1), 5);  // 5 - Round(0.5)
  EXPECT_EQ(v.ValueToPixel(3), 3);  // 5 - Round(1.5)
  // Halves, negatives, the largest fractions and values already whole.
  const std::pair<double, double> rounds[] = {{2.5, 2},
                                              {3.5, 4},
                                              {-2.5, -2},
                                              {-3.5, -4},
                                              {0.49999999999999994, 0},
                                              {-0.3, -0.0},
                                              {4503599627370495.5, 4503599627370496},
                                              {1e300, 1e300},
                                              {-kInf, -kInf}};
  for (const auto& [in, out] : rounds) {
    EXPECT_EQ(RoundHalfEven(in), out) << in;
    EXPECT_EQ(std::signbit(RoundHalfEven(in)), std::signbit(out)) << in;
  }
  EXPECT_TRUE(std::isnan(RoundHalfEven(kNaN)));
}

TEST(AxisMap, DegenerateInputsGiveTheCentre) {
  const AxisMap flat(true, false, 10, 30, 5, 5);
  EXPECT_EQ(flat.ValueToPixel(5), 20);
  const AxisMap h(true, false, 10, 30, 0, 1);
  EXPECT_EQ(h.ValueToPixel(1e300), 20);
  EXPECT_EQ(h.ValueToPixel(kInf), 20);
  EXPECT_EQ(h.ValueToPixel(kNaN), 20);
  // Large but within the int range: no overflow of start + t.
  const AxisMap wide(true, false, 100, 200, 0, 1);
  EXPECT_EQ(wide.ValueToPixel(2e7), 100 + 2000000000);
  EXPECT_EQ(AxisMap(true, false, 10, 10, 0, 1).PixelToValue(15), 0) << "no span";
}

TEST(LabelStep, NextStepRunsOneTwoFive) {
  double s = 1;
  const double expected[] = {2, 5, 10, 20, 50, 100, 200, 500, 1000};
  for (double e : expected) {
    s = NextLabelStep(s);
    EXPECT_DOUBLE_EQ(s, e);
  }
  EXPECT_DOUBLE_EQ(NextLabelStep(0.1), 0.2);
  EXPECT_DOUBLE_EQ(NextLabelStep(0.2), 0.5);
  EXPECT_DOUBLE_EQ(NextLabelStep(0.5), 1);
  EXPECT_DOUBLE_EQ(NextLabelStep(3), 5);
  EXPECT_DOUBLE_EQ(NextLabelStep(7), 10);
  EXPECT_FALSE(std::isfinite(NextLabelStep(kInf)));
  EXPECT_FALSE(std::isfinite(NextLabelStep(0)));
  EXPECT_FALSE(std::isfinite(NextLabelStep(kNaN)));
}

TEST(LabelStep, Table) {
  struct Case {
    double range;
    int pixels, size, separation;
    double increment, step;
  };
  const Case cases[] = {
      {100, 250, 14, 10, 0, 10},     // N = Round(250 / 15) = 17
      {100, 258, 12, 10, 0, 5},      // N = Round(258 / 13) = 20: 100 / 5 = 20 fits
      {100, 293, 18, 10, 0, 10},     // N = Round(293 / 20) = 15
      {100, 30, 12, 10, 0, 50},      // N = 2
      {100, 5, 12, 10, 0, 1e-12},    // no room: N = 0
      {100, 250, 0, 10, 0, 100},     // L = 0: N = 1
      {100, 250, 14, 0, 0, 1},       // no separation: no search
      {100, 250, 14, 10, 3, 10},     // from the increment 3: 5, then 10
      {100, 250, 14, 10, 25, 25},    // an increment that fits stays
      {0.37, 250, 14, 10, 0, 0.05},  // below 1 the search starts at 1e-12
      {0.001, 100, 14, 10, 0, 0.0002}, {1e6, 250, 14, 10, 0, 1e5},
      {-100, 250, 14, 10, 0, 1},  // reversed range: the first step fits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.range << " over " << c.pixels << " px, label " << c.size);
    const double step = LabelStep({c.range, c.pixels, c.size, c.separation, c.increment});
    EXPECT_NEAR(step, c.step, c.step * 1e-9);
  }
}

TEST(LabelStep, NonFiniteOrAbsurdRangesEndWithoutLabels) {
  for (double range : {kInf, -kInf, kNaN, 1.7e308}) {
    SCOPED_TRACE(range);
    const double step = LabelStep({range, 250, 14, 10, 0});
    EXPECT_GT(step, 0);
    EXPECT_LE(LabelValues(0, range, step, true).size(), 20u);
  }
  EXPECT_DOUBLE_EQ(LabelStep({100, 250, 14, 10, kNaN}), 10) << "a NaN increment is ignored";
}

TEST(LabelValues, FromTheTopValueDown) {
  const std::vector<double> v = LabelValues(0, 100, 10, true);
  ASSERT_EQ(v.size(), 11u);
  for (size_t i = 0; i < v.size(); ++i) EXPECT_DOUBLE_EQ(v[i], 100 - 10.0 * i);
  // First label rounded down to a whole step, last not below the minimum.
  const std::vector<double> w = LabelValues(3, 47, 10, true);
  EXPECT_EQ(w, (std::vector<double>{40, 30, 20, 10}));
  EXPECT_EQ(LabelValues(3, 47, 10, false), (std::vector<double>{47, 37, 27, 17, 7}));
  EXPECT_EQ(LabelValues(5, 5, 1, true), (std::vector<double>{5}));
  EXPECT_EQ(LabelValues(-60, 0, 10, true), (std::vector<double>{0, -10, -20, -30, -40, -50, -60}));
}

TEST(LabelValues, RefusedOrBounded) {
  EXPECT_TRUE(LabelValues(100, 0, 10, true).empty()) << "reversed";
  EXPECT_TRUE(LabelValues(0, 100, 1e-12, true).empty()) << "1e14 steps";
  EXPECT_TRUE(LabelValues(0, 100, 0, true).empty());
  EXPECT_TRUE(LabelValues(0, 100, -1, true).empty());
  EXPECT_TRUE(LabelValues(kNaN, 100, 10, true).empty());
  EXPECT_TRUE(LabelValues(0, kInf, 10, true).empty());
  EXPECT_TRUE(LabelValues(-1.7e308, 1.7e308, 1e300, true).empty()) << "the range itself overflows";
  // Far from zero a step below the spacing of doubles cannot move the value.
  const std::vector<double> far = LabelValues(1e22 - 1e5, 1e22, 1e4, true);
  EXPECT_LE(far.size(), 11u);
}

TEST(FormatAxisValue, Table) {
  struct Case {
    double v;
    const char* comma;  // decimal ',', thousands '.'
    const char* point;  // decimal '.', thousands ','
  };
  const Case cases[] = {
      {0, "0", "0"},
      {100, "100", "100"},
      {2.5, "2,5", "2.5"},
      {0.05, "0,05", "0.05"},
      {1234567, "1.234.567", "1,234,567"},
      {-1500.25, "-1.500,25", "-1,500.25"},
      {0.12345, "0,123", "0.123"},
      {0.0004, "0", "0"},
      {-0.0004, "0", "0"},
      {1000, "1.000", "1,000"},
      {999.9996, "1.000", "1,000"},
      {0.30000000000000004, "0,3", "0.3"},
  };
  // The C library's locale must not show through, whatever the user's is.
  for (const char* locale : test::kTestLocales) {
    test::ScopedCLocale inForce(locale);
    ASSERT_TRUE(inForce.InForce()) << locale << " is not generated on this machine";
    for (const Case& c : cases) {
      EXPECT_EQ(FormatAxisValue(c.v, u',', u'.').toStdString(), c.comma) << c.v << " under " << locale;
      EXPECT_EQ(FormatAxisValue(c.v, u'.', u',').toStdString(), c.point) << c.v << " under " << locale;
    }
  }
  EXPECT_TRUE(FormatAxisValue(kNaN, u'.', u',').isEmpty());
  EXPECT_FALSE(FormatAxisValue(1e300, u'.', u',').isEmpty());
  // The C library's numeric locale changes nothing (other separators, so
  // no text remembered above answers).
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  ASSERT_NE(std::setlocale(LC_NUMERIC, test::CLocaleName("fr_FR.UTF-8")), nullptr)
      << "fr_FR.UTF-8 is not generated";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  for (const Case& c : cases) {
    std::string expected = c.point;
    for (char& ch : expected) ch = ch == ',' ? '|' : ch == '.' ? '#' : ch;
    EXPECT_EQ(FormatAxisValue(c.v, u'#', u'|').toStdString(), expected) << c.v << " under fr_FR";
  }
  std::setlocale(LC_NUMERIC, before.c_str());
}

}  // namespace
}  // namespace dorvane::chart
