#include "core/finder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "core/resistance.h"

namespace dorvane {
namespace {

constexpr double kP = 100000;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Loaded shares for P = 100 kΩ and 10 kΩ, worked out by hand as fractions:
// with R2 at i = 50, Rb' = 50k || 10k = 25k/3 and y = (25k/3)/(50k + 25k/3)
// = 1/7. The R1 curve is the R2 curve mirrored: y1(i) = 100 - y2(100 - i).
TEST(SolveFittedResistor, ExactSharesGiveTheResistorBack) {
  const struct {
    double position, r2Share;
  } rows[] = {{1, 1000.0 / 1099}, {10, 100.0 / 19}, {25, 200.0 / 23},    {50, 100.0 / 7},
              {75, 600.0 / 23},   {90, 900.0 / 19}, {99, 99000.0 / 1099}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.position);
    EXPECT_NEAR(SolveFittedResistor(Fitted::R2, kP, row.position, row.r2Share), 10000, 1e-9 * 10000);
    EXPECT_NEAR(SolveFittedResistor(Fitted::R1, kP, 100 - row.position, 100 - row.r2Share), 10000,
                1e-9 * 10000);
  }
}

// The worked table of the loaded curve, given to four decimals: the true
// resistor lies between the solutions for the value plus and minus half a
// unit of the last decimal.
TEST(SolveFittedResistor, WorkedTableInvertedRowByRow) {
  const struct {
    int i;
    double r2_10k, r2_10k2, r1_10k, r1_10k2;
  } rows[] = {
      {1, 0.9099, 0.9115, 9.9181, 9.7587},      {10, 5.2632, 5.3125, 52.6316, 52.1875},
      {25, 8.6957, 8.8083, 73.9130, 73.5751},   {50, 14.2857, 14.4886, 85.7143, 85.5114},
      {75, 26.0870, 26.4249, 91.3043, 91.1917}, {90, 47.3684, 47.8125, 94.7368, 94.6875},
  };
  const auto expectBracketed = [](Fitted which, int i, double shown, double ohms) {
    const double a = SolveFittedResistor(which, kP, i, shown - 5e-5);
    const double b = SolveFittedResistor(which, kP, i, shown + 5e-5);
    EXPECT_LE(std::min(a, b), ohms) << i << " " << shown;
    EXPECT_GE(std::max(a, b), ohms) << i << " " << shown;
  };
  for (const auto& row : rows) {
    expectBracketed(Fitted::R2, row.i, row.r2_10k, 10000);
    expectBracketed(Fitted::R2, row.i, row.r2_10k2, 10200);
    expectBracketed(Fitted::R1, row.i, row.r1_10k, 10000);
    expectBracketed(Fitted::R1, row.i, row.r1_10k2, 10200);
  }
}

TEST(SolveFittedResistor, NoResistorDoesIt) {
  const struct {
    const char* what;
    Fitted which;
    double p, position, percent;
  } cases[] = {
      {"R2 at the start of the travel", Fitted::R2, kP, 0, 0.5},
      {"R2 at the end of the travel", Fitted::R2, kP, 100, 50},
      {"R1 at the start of the travel", Fitted::R1, kP, 0, 50},
      {"R1 at the end of the travel", Fitted::R1, kP, 100, 99.5},
      {"R2 above the linear curve", Fitted::R2, kP, 50, 60},
      {"R2 on the linear curve", Fitted::R2, kP, 50, 50},
      {"R1 below the linear curve", Fitted::R1, kP, 50, 40},
      {"R1 on the linear curve", Fitted::R1, kP, 50, 50},
      {"R2 down to zero", Fitted::R2, kP, 50, 0},
      {"R1 up to 100", Fitted::R1, kP, 50, 100},
      {"negative wanted value", Fitted::R2, kP, 50, -1},
      {"position beyond the travel", Fitted::R1, kP, 120, 130},
      {"no track", Fitted::R2, 0, 50, 10},
      {"negative track", Fitted::R2, -kP, 50, 10},
      {"too large to hold", Fitted::R2, 1e308, 50, 49.999},
      {"NaN track", Fitted::R2, kNaN, 50, 10},
      {"NaN position", Fitted::R1, kP, kNaN, 90},
      {"NaN value", Fitted::R1, kP, 50, kNaN},
      {"infinite track", Fitted::R1, kInf, 50, 90},
      {"infinite value", Fitted::R2, kP, 50, -kInf},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(std::isnan(SolveFittedResistor(c.which, c.p, c.position, c.percent))) << c.what;
}

// The lists as published (IEC 60063).
const std::vector<double> kPublished[] = {
    {1.0, 1.5, 2.2, 3.3, 4.7, 6.8},
    {1.0, 1.2, 1.5, 1.8, 2.2, 2.7, 3.3, 3.9, 4.7, 5.6, 6.8, 8.2},
    {1.0, 1.1, 1.2, 1.3, 1.5, 1.6, 1.8, 2.0, 2.2, 2.4, 2.7, 3.0,
     3.3, 3.6, 3.9, 4.3, 4.7, 5.1, 5.6, 6.2, 6.8, 7.5, 8.2, 9.1},
    {1.00, 1.05, 1.10, 1.15, 1.21, 1.27, 1.33, 1.40, 1.47, 1.54, 1.62, 1.69, 1.78, 1.87, 1.96, 2.05,
     2.15, 2.26, 2.37, 2.49, 2.61, 2.74, 2.87, 3.01, 3.16, 3.32, 3.48, 3.65, 3.83, 4.02, 4.22, 4.42,
     4.64, 4.87, 5.11, 5.36, 5.62, 5.90, 6.19, 6.49, 6.81, 7.15, 7.50, 7.87, 8.25, 8.66, 9.09, 9.53},
    {1.00, 1.02, 1.05, 1.07, 1.10, 1.13, 1.15, 1.18, 1.21, 1.24, 1.27, 1.30, 1.33, 1.37, 1.40, 1.43,
     1.47, 1.50, 1.54, 1.58, 1.62, 1.65, 1.69, 1.74, 1.78, 1.82, 1.87, 1.91, 1.96, 2.00, 2.05, 2.10,
     2.15, 2.21, 2.26, 2.32, 2.37, 2.43, 2.49, 2.55, 2.61, 2.67, 2.74, 2.80, 2.87, 2.94, 3.01, 3.09,
     3.16, 3.24, 3.32, 3.40, 3.48, 3.57, 3.65, 3.74, 3.83, 3.92, 4.02, 4.12, 4.22, 4.32, 4.42, 4.53,
     4.64, 4.75, 4.87, 4.99, 5.11, 5.23, 5.36, 5.49, 5.62, 5.76, 5.90, 6.04, 6.19, 6.34, 6.49, 6.65,
     6.81, 6.98, 7.15, 7.32, 7.50, 7.68, 7.87, 8.06, 8.25, 8.45, 8.66, 8.87, 9.09, 9.31, 9.53, 9.76},
    {1.00, 1.01, 1.02, 1.04, 1.05, 1.06, 1.07, 1.09, 1.10, 1.11, 1.13, 1.14, 1.15, 1.17, 1.18, 1.20,
     1.21, 1.23, 1.24, 1.26, 1.27, 1.29, 1.30, 1.32, 1.33, 1.35, 1.37, 1.38, 1.40, 1.42, 1.43, 1.45,
     1.47, 1.49, 1.50, 1.52, 1.54, 1.56, 1.58, 1.60, 1.62, 1.64, 1.65, 1.67, 1.69, 1.72, 1.74, 1.76,
     1.78, 1.80, 1.82, 1.84, 1.87, 1.89, 1.91, 1.93, 1.96, 1.98, 2.00, 2.03, 2.05, 2.08, 2.10, 2.13,
     2.15, 2.18, 2.21, 2.23, 2.26, 2.29, 2.32, 2.34, 2.37, 2.40, 2.43, 2.46, 2.49, 2.52, 2.55, 2.58,
     2.61, 2.64, 2.67, 2.71, 2.74, 2.77, 2.80, 2.84, 2.87, 2.91, 2.94, 2.98, 3.01, 3.05, 3.09, 3.12,
     3.16, 3.20, 3.24, 3.28, 3.32, 3.36, 3.40, 3.44, 3.48, 3.52, 3.57, 3.61, 3.65, 3.70, 3.74, 3.79,
     3.83, 3.88, 3.92, 3.97, 4.02, 4.07, 4.12, 4.17, 4.22, 4.27, 4.32, 4.37, 4.42, 4.48, 4.53, 4.59,
     4.64, 4.70, 4.75, 4.81, 4.87, 4.93, 4.99, 5.05, 5.11, 5.17, 5.23, 5.30, 5.36, 5.42, 5.49, 5.56,
     5.62, 5.69, 5.76, 5.83, 5.90, 5.97, 6.04, 6.12, 6.19, 6.26, 6.34, 6.42, 6.49, 6.57, 6.65, 6.73,
     6.81, 6.90, 6.98, 7.06, 7.15, 7.23, 7.32, 7.41, 7.50, 7.59, 7.68, 7.77, 7.87, 7.96, 8.06, 8.16,
     8.25, 8.35, 8.45, 8.56, 8.66, 8.76, 8.87, 8.98, 9.09, 9.20, 9.31, 9.42, 9.53, 9.65, 9.76, 9.88},
};
constexpr ESeries kSeries[] = {ESeries::E6,  ESeries::E12, ESeries::E24,
                               ESeries::E48, ESeries::E96, ESeries::E192};

TEST(SeriesValues, AsPublished) {
  const size_t sizes[] = {6, 12, 24, 48, 96, 192};
  for (int s = 0; s < 6; ++s) {
    ASSERT_EQ(kPublished[s].size(), sizes[s]);  // the test's own lists
    EXPECT_EQ(SeriesValues(kSeries[s]), kPublished[s]) << "E" << sizes[s];
  }
}

// Every value of every decade is its decimal rounded to the nearest double,
// as the C library reads the decimal; and the notation the dialog writes
// reads back to exactly that value in both separators.
TEST(NearestStandardValues, ExactDecimalsInEveryDecade) {
  EXPECT_EQ(NearestStandardValues(ESeries::E24, 4700, 1).front(), 4700.0);
  EXPECT_EQ(NearestStandardValues(ESeries::E96, 1020, 1).front(), 1020.0);
  for (int s = 0; s < 6; ++s) {
    const std::vector<double> all = NearestStandardValues(kSeries[s], 1e300, 100000);
    ASSERT_EQ(all.size(), kPublished[s].size() * 10);
    for (size_t i = 0; i < all.size(); ++i) {
      const long digits = std::lround(kPublished[s][i % kPublished[s].size()] * 100);
      const std::string decimal =
          std::to_string(digits) + "e" + std::to_string(int(i / kPublished[s].size()) - 2);
      ASSERT_EQ(all[i], std::strtod(decimal.c_str(), nullptr)) << decimal;
      for (char separator : {',', '.'}) {
        const std::string text = StandardValueText(all[i], separator);
        ASSERT_EQ(ParseResistance(text, separator), all[i]) << text;
      }
    }
  }
}

TEST(NearestStandardValues, AroundAValueAndAtTheEnds) {
  using V = std::vector<double>;
  const struct {
    const char* what;
    ESeries series;
    double ohms;
    int perSide;
    V expected;
  } cases[] = {
      {"across a decade", ESeries::E24, 9500, 3, {7500, 8200, 9100, 10000, 11000, 12000}},
      {"on a standard value", ESeries::E24, 4700, 3, {3900, 4300, 4700, 5100, 5600, 6200}},
      {"just below a value", ESeries::E12, 4699.999, 2, {3300, 3900, 4700, 5600}},
      {"E192 at 9.2", ESeries::E192, 9195, 1, {9090, 9200}},
      {"bottom end", ESeries::E24, 1.05, 3, {1.0, 1.1, 1.2, 1.3}},
      {"below 1 ohm", ESeries::E6, 0.5, 3, {1.0, 1.5, 2.2}},
      {"top end", ESeries::E6, 9e9, 3, {3.3e9, 4.7e9, 6.8e9}},
      {"far above", ESeries::E6, 1e300, 2, {4.7e9, 6.8e9}},
      {"smallest positive", ESeries::E6, 5e-324, 1, {1.0}},
      {"zero", ESeries::E24, 0, 3, {}},
      {"negative", ESeries::E24, -4700, 3, {}},
      {"NaN", ESeries::E24, kNaN, 3, {}},
      {"infinite", ESeries::E24, kInf, 3, {}},
      {"no values asked", ESeries::E24, 4700, 0, {}},
      {"negative count", ESeries::E24, 4700, -5, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NearestStandardValues(c.series, c.ohms, c.perSide), c.expected) << c.what;
  EXPECT_EQ(NearestStandardValues(ESeries::E6, 4700, std::numeric_limits<int>::max()).size(), 60u);
}

// With a load on the wiper, figures worked by hand: on 100 kΩ at 50 %, R2 =
// 10k beside a 10k load leaves 50k || 5k = 50k/11 over 50k + 50k/11, 1/12;
// R1 = 10k with a 50k load gives 25k over 25k + 25k/3, 3/4; the load alone
// gives 25k over 75k, 1/3.
TEST(SolveLoadedResistor, LoadOnTheWiper) {
  const struct {
    const char* what;
    double value, expected;
  } rows[] = {
      {"R2 with a 10k load", SolveLoadedResistor(Fitted::R2, kP, 10000, 50, 100.0 / 12), 10000},
      {"R1 with a 50k load", SolveLoadedResistor(Fitted::R1, kP, 50000, 50, 75), 10000},
      {"no load is the unloaded solution", SolveLoadedResistor(Fitted::R2, kP, kInf, 50, 10), 6250},
      {"the load alone", UnfittedPercent(kP, 50000, 50), 100.0 / 3},
      {"no load at all", UnfittedPercent(kP, kInf, 37), 37},
      {"a load of 1E300M is none", SolveLoadedResistor(Fitted::R2, kP, 1e306, 50, 10), 6250},
      {"R1 with a load of 1E300M", SolveLoadedResistor(Fitted::R1, kP, 1e306, 50, 90), 6250},
      {"what a load of 1E300M leaves", UnfittedPercent(kP, 1e306, 50), 50},
      {"what a load of 1U leaves, 1/50 002", UnfittedPercent(kP, 1, 50), 100.0 / 50002},
  };
  for (const auto& r : rows) EXPECT_NEAR(r.value, r.expected, 1e-9 * r.expected) << r.what;
  // Beyond what the load leaves, and bad loads.
  for (double v :
       {SolveLoadedResistor(Fitted::R2, kP, 50000, 50, 34),
        SolveLoadedResistor(Fitted::R1, kP, 50000, 50, 33), SolveLoadedResistor(Fitted::R2, kP, 0, 50, 10),
        SolveLoadedResistor(Fitted::R2, kP, kNaN, 50, 10), SolveLoadedResistor(Fitted::R2, kP, 50000, 0, 10)})
    EXPECT_TRUE(std::isnan(v)) << v;
}

// 10k on 100k +-20 % at 50 %: 1/7, band 1/8 to 1/6, gangs 20 log10(4/3) =
// 2.4988 dB apart; against A 15 % at 50 % alone, 15 - 100/7 = 5/7 points and
// 20 log10(1.05) = 0.4238 dB.
TEST(EvaluateStandardValue, ColumnsOfARow) {
  FinderSetup s;
  s.target = {Fitted::R2, 15.0};
  s.p = kP, s.loadOhms = kInf, s.potTolerancePercent = 20, s.resistorTolerancePercent = 0;
  s.positionPercent = 50, s.rangeFromPercent = s.rangeToPercent = 50;
  const FinderRow row = EvaluateStandardValue(s, 10000);
  const double expected[][2] = {{row.percent, 100.0 / 7},  {row.bandLow, 12.5},
                                {row.bandHigh, 100.0 / 6}, {row.gangDecibels, 2.4988},
                                {row.gapPoints, 5.0 / 7},  {row.gapDecibels, 0.4238},
                                {row.decibels, -16.9020}};
  for (const auto& e : expected) EXPECT_NEAR(e[0], e[1], 5e-5);
  s.rangeFromPercent = 60;
  EXPECT_TRUE(std::isnan(EvaluateStandardValue(s, 10000).gapPoints));  // reversed range
  EXPECT_EQ(SeriesTolerancePercent(ESeries::E6), 20);
  EXPECT_EQ(SeriesTolerancePercent(ESeries::E192), 0.5);
}

// Each reason for an empty list, in the order they are tried; R2 10 % at
// 50 % on 100k is 6 250 ohms, between 6,2K and 6,8K in E24.
TEST(FindStandardValues, ReasonsAndRows) {
  const struct {
    Fitted which;
    double p, load, position, wanted;
    FinderReason reason;
  } rows[] = {
      {Fitted::R2, 0, kInf, kNaN, kNaN, FinderReason::NoP},
      {Fitted::R2, kInf, kInf, 50, 10, FinderReason::NoP},
      {Fitted::R2, kP, kInf, kNaN, kNaN, FinderReason::PositionNotANumber},
      {Fitted::R2, kP, kInf, 100, kNaN, FinderReason::PositionOutside},
      {Fitted::R2, kP, kInf, 0, 10, FinderReason::PositionOutside},
      {Fitted::R2, kP, kInf, 50, kNaN, FinderReason::WantedNotANumber},
      {Fitted::R2, kP, kInf, 50, 49.99999, FinderReason::OutOfReach},
      {Fitted::R2, kP, kInf, 50, 50, FinderReason::R2OnlyLowers},
      {Fitted::R2, kP, 50000, 50, 34, FinderReason::R2OnlyLowers},
      {Fitted::R1, kP, kInf, 50, 40, FinderReason::R1OnlyRaises},
      {Fitted::R1, kP, kInf, 50, 100, FinderReason::R1OnlyRaises},
      // The sums overflow.
      {Fitted::R2, 1e308, kInf, 50, 49.9999, FinderReason::TooLarge},
      {Fitted::R2, kP, kInf, 50, 10, FinderReason::None},
  };
  for (const auto& r : rows) {
    FinderSetup s;
    s.target.which = r.which;
    s.p = r.p, s.loadOhms = r.load, s.positionPercent = r.position;
    const FinderOutcome out = FindStandardValues(s, r.wanted, ESeries::E24, 3);
    EXPECT_EQ(out.reason, r.reason) << r.p << " " << r.position << " " << r.wanted;
    EXPECT_EQ(out.rows.empty(), r.reason != FinderReason::None);
  }
  FinderSetup s;
  s.p = kP, s.loadOhms = kInf, s.positionPercent = 50;
  const FinderOutcome out = FindStandardValues(s, 10, ESeries::E24, 3);
  EXPECT_EQ(out.exactOhms, 6250);
  ASSERT_EQ(out.rows.size(), 6u);
  EXPECT_EQ(out.rows.front().ohms, 5100);
  EXPECT_EQ(out.rows[size_t(out.closest)].ohms, 6200);
  // What it takes, and the curve without resistor that a reason names.
  // 100k x 0.25 x 49.99999 / 0.00001, to the digits the difference keeps.
  EXPECT_NEAR(FindStandardValues(s, 49.99999, ESeries::E24, 3).exactOhms, 124999975000, 2e5);
  s.loadOhms = 50000;
  EXPECT_NEAR(FindStandardValues(s, 34, ESeries::E24, 3).unfittedPercent, 100.0 / 3, 1e-9);
  // Only what the value boxes can be given: 4 000M at 40 % has no neighbour above.
  s.p = 4e9, s.loadOhms = kInf;
  const FinderOutcome top = FindStandardValues(s, 40, ESeries::E24, 3);
  ASSERT_EQ(top.rows.size(), 3u);
  EXPECT_EQ(top.rows.back().ohms, 3.9e9);
}

TEST(StandardValueText, LetterForTheDecimalPoint) {
  const struct {
    double ohms;
    const char* text;
  } cases[] = {{6200, "6K2"},   {1020, "1K02"}, {10000, "10K"}, {102000, "102K"}, {4.7, "4,7U"},
               {2.61, "2,61U"}, {1, "1U"},      {470, "470U"},  {1.5e6, "1M5"},   {9.88e9, "9880M"},
               {0, ""},         {-10, ""},      {kNaN, ""},     {kInf, ""}};
  for (const auto& c : cases) EXPECT_EQ(StandardValueText(c.ohms, ','), c.text) << c.ohms;
}

}  // namespace
}  // namespace dorvane
