#include "core/taper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace dorvane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Published figures, to the decimals they were published with, and how each
// follows by hand. R2 on 100 kΩ at 50 %: 50k || 10k = 25k/3, share
// (25k/3) / (50k + 25k/3) = 1/7; at 25 %: 25k || 10k = 50k/7 over 75k + 50k/7,
// 2/23; at 75 %: 75k || 10k = 150k/17 over 25k + 150k/17, 6/23. R2 = P/16 at
// 50 %: 50k || 6k25 = 50k/9 over 50k + 50k/9, 1/10. A taper code m: b =
// (100/m - 1)^2, A 15 % has sqrt(b) = 17/3 and b^(1/4) = 2.3805, A 10 % b = 81.
// The band of 100k +-20 % with 10k at 50 %: 60k || 10k = 60k/7 over
// 60k + 60k/7 is 1/8, 40k || 10k = 8k over 48k is 1/6.
TEST(Taper, PublishedFigures) {
  const auto r2 = [](double p, double r, double x) {
    return LoadedPercentWithLoad(Fitted::R2, p, r, kInf, x);
  };
  const auto band = LoadedBandAt(Fitted::R2, 100000, 20, 10000, 0, kInf, 50);
  const struct {
    const char* what;
    double value, published, halfUnit;
  } rows[] = {
      {"r = 0.1 at 50 %, 1/7", r2(100000, 10000, 50), 14.29, 0.005},
      {"r = 0.1 at 50 % in dB", Decibels(r2(100000, 10000, 50)), -16.90, 0.005},
      {"r = 0.1 at 25 % in dB, 2/23", Decibels(r2(100000, 10000, 25)), -21.21, 0.005},
      {"r = 0.1 at 75 % in dB, 6/23", Decibels(r2(100000, 10000, 75)), -11.67, 0.005},
      {"r = 1/16 at 50 % in dB, 1/10", Decibels(r2(100000, 6250, 50)), -20.00, 0.005},
      {"A 15 % at 25 %", TaperCodePercent(15, 25), 4.44, 0.005},
      {"A 15 % at 75 %", TaperCodePercent(15, 75), 40.14, 0.005},
      {"A 10 % at 25 %, 2/80", TaperCodePercent(10, 25), 2.50, 0.005},
      {"A 10 % at 75 %, 26/80", TaperCodePercent(10, 75), 32.50, 0.005},
      {"100k +-20 % with 10k, low, 1/8", Decibels(band.low), -18.06, 0.005},
      {"100k +-20 % with 10k, high, 1/6", Decibels(band.high), -15.56, 0.005},
      // Worked here: a 10k load on the wiper doubles R2's conductance, 1/12;
      // R1 = 10k with a 50k load, 50k || 50k over 50k || 10k + 25k, 3/4.
      {"R2 10k and a 10k load at 50 %", LoadedPercentWithLoad(Fitted::R2, 100000, 10000, 10000, 50),
       100.0 / 12, 1e-9},
      {"R1 10k and a 50k load at 50 %", LoadedPercentWithLoad(Fitted::R1, 100000, 10000, 50000, 50), 75,
       1e-9},
      {"R1 10k, no load, 6/7", LoadedPercentWithLoad(Fitted::R1, 100000, 10000, kInf, 50), 600.0 / 7, 1e-9},
      // A load far beyond any product the double range holds is no load; a
      // load of 1 ohm leaves 1/(50 001 + 1) of the input without R2.
      {"R2 10k and a load of 1E300M", LoadedPercentWithLoad(Fitted::R2, 1e5, 1e4, 1e306, 50), 100.0 / 7,
       1e-9},
      {"R1 10k and a load of 1E300M", LoadedPercentWithLoad(Fitted::R1, 1e5, 1e4, 1e306, 50), 600.0 / 7,
       1e-9},
      {"R2 1E300M and a load of 1U", LoadedPercentWithLoad(Fitted::R2, 1e5, 1e306, 1, 50), 100.0 / 50002,
       1e-12},
      {"C 85 % at mid travel", TaperCodePercent(85, 50), 85, 1e-9},
      {"C 80 % mirrors A 20 %", TaperCodePercent(80, 30), 100 - TaperCodePercent(20, 70), 1e-9},
      {"m = 50 is the straight line", TaperCodePercent(50, 37), 37, 0},
      {"10 % is -20 dB", Decibels(10), -20, 1e-12},
  };
  for (const auto& row : rows) EXPECT_NEAR(row.value, row.published, row.halfUnit) << row.what;
  EXPECT_EQ(TaperCodePercent(15, 0), 0);
  EXPECT_EQ(TaperCodePercent(90, 100), 100);
  EXPECT_EQ(Decibels(0), -kInf);

  const double nans[] = {
      TaperCodePercent(0, 50),
      TaperCodePercent(100, 50),
      TaperCodePercent(15, -1),
      TaperCodePercent(15, kNaN),
      Decibels(-1),
      Decibels(kInf),
      r2(0, 10000, 50),
      r2(100000, -1, 50),
      r2(100000, kInf, 50),
      r2(100000, 10000, 101),
      LoadedPercentWithLoad(Fitted::R1, 1e5, 1e4, 0, 50),
      LoadedPercentWithLoad(Fitted::R1, 1e5, 1e4, kNaN, 50),
      LoadedBandAt(Fitted::R2, 1e5, 100, 1e4, 5, kInf, 50).low,
      LoadedBandAt(Fitted::R2, 1e5, 20, 1e4, -1, kInf, 50).high,
  };
  for (double v : nans) EXPECT_TRUE(std::isnan(v)) << v;
}

// The band claims the curve's extremes sit at the four corners of the
// tolerance box. Every part inside the box, put through the divider worked
// here by conductances, must land between them.
TEST(Taper, NoPartInsideTheTolerancesFallsOutsideTheBand) {
  const auto divider = [](std::optional<Fitted> fitted, double p, double r, double load, double t) {
    double gUpper = 1 / ((1 - t) * p), gLower = 1 / (t * p);
    if (fitted == Fitted::R1) gUpper += 1 / r;
    if (fitted == Fitted::R2) gLower += 1 / r;
    gLower += 1 / load;  // 1 / +infinity adds nothing
    return 100 * gUpper / (gUpper + gLower);
  };
  const struct {
    const char* what;
    std::optional<Fitted> fitted;
    double resistor, load;
  } circuits[] = {
      {"R1 10k", Fitted::R1, 10e3, kInf},          {"R1 10k, 47k load", Fitted::R1, 10e3, 47e3},
      {"R2 13k", Fitted::R2, 13e3, kInf},          {"R2 13k, 47k load", Fitted::R2, 13e3, 47e3},
      {"R2 1k, 2k2 load", Fitted::R2, 1e3, 2.2e3}, {"no resistor, 22k load", std::nullopt, kInf, 22e3},
  };
  constexpr double kP = 100e3, kPTol = 20, kRTol = 5;
  constexpr int kSteps = 8;
  for (const auto& c : circuits) {
    for (const double x : {1.0, 10.0, 25.0, 50.0, 75.0, 99.0}) {
      const PercentBand band = LoadedBand({kP, c.fitted, c.resistor, c.load}, x / 100, kPTol, kRTol);
      ASSERT_TRUE(band.low <= band.high) << c.what << " at " << x;
      for (int i = 0; i <= kSteps; ++i) {
        for (int j = 0; j <= kSteps; ++j) {
          const double p = kP * (1 + kPTol / 100 * (2.0 * i / kSteps - 1));
          const double r = c.resistor * (1 + kRTol / 100 * (2.0 * j / kSteps - 1));
          const double y = divider(c.fitted, p, r, c.load, x / 100);
          const double slack = 1e-12 * std::abs(y);
          EXPECT_GE(y, band.low - slack) << c.what << " at " << x << " with P1 " << p << ", R " << r;
          EXPECT_LE(y, band.high + slack) << c.what << " at " << x << " with P1 " << p << ", R " << r;
        }
      }
    }
  }
}

}  // namespace
}  // namespace dorvane
