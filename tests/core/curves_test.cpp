#include "core/curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace dorvane {
namespace {

constexpr double kP = 100000;

// Loaded curve for P = 100 kΩ at the wiper positions of the worked table.
TEST(ComputeCurves, WorkedValuesToFourDecimals) {
  const struct {
    int i;
    double r2_10k, r2_10k2, r1_10k, r1_10k2, logX;
  } rows[] = {
      {0, 0, 0, 0, 0, 0},
      {1, 0.9099, 0.9115, 9.9181, 9.7587, 0},
      {10, 5.2632, 5.3125, 52.6316, 52.1875, 50},
      {25, 8.6957, 8.8083, 73.9130, 73.5751, 69.8970},
      {50, 14.2857, 14.4886, 85.7143, 85.5114, 84.9485},
      {75, 26.0870, 26.4249, 91.3043, 91.1917, 93.7531},
      {90, 47.3684, 47.8125, 94.7368, 94.6875, 97.7121},
      {100, 100, 100, 100, 100, 100},
  };
  const Curves r2a = ComputeCurves(0, LoadedCircuit(kP, 0, 10000, false, true));
  const Curves r2b = ComputeCurves(0, LoadedCircuit(kP, 0, 10200, false, true));
  const Curves r1a = ComputeCurves(0, LoadedCircuit(kP, 10000, 0, true, false));
  const Curves r1b = ComputeCurves(0, LoadedCircuit(kP, 10200, 0, true, false));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.i);
    EXPECT_NEAR(r2a.loaded[row.i].y, row.r2_10k, 5e-5);
    EXPECT_NEAR(r2b.loaded[row.i].y, row.r2_10k2, 5e-5);
    EXPECT_NEAR(r1a.loaded[row.i].y, row.r1_10k, 5e-5);
    EXPECT_NEAR(r1b.loaded[row.i].y, row.r1_10k2, 5e-5);
    EXPECT_NEAR(r2a.log[row.i].x, row.logX, 5e-5);
    EXPECT_EQ(r2a.log[row.i].y, row.i);
    EXPECT_EQ(r2a.loaded[row.i].x, row.i);
    EXPECT_EQ(r2a.linear[row.i].x, row.i);
    EXPECT_EQ(r2a.linear[row.i].y, row.i);
  }
}

TEST(ComputeCurves, OnlyTheLinearLawHasCurves) {
  for (int law : {1, 2, -1, 1000}) {
    const Curves c = ComputeCurves(law, LoadedCircuit(kP, 10000, 10000, true, true));
    EXPECT_TRUE(c.linear.empty() && c.loaded.empty() && c.log.empty()) << law;
  }
  const Curves c = ComputeCurves(0, LoadedCircuit(kP, 0, 0, false, false));
  EXPECT_EQ(c.linear.size(), 101u);
  EXPECT_EQ(c.loaded.size(), 101u);
  EXPECT_EQ(c.log.size(), 101u);
}

// A whole loaded curve described by a rule per wiper position.
struct LoadedCase {
  const char* name;
  double p, r1, r2;
  bool r1Fitted, r2Fitted;
  double (*expected)(int i);
};

const LoadedCase kLoaded[] = {
    {"neither fitted", kP, 10000, 10000, false, false, [](int) { return 0.0; }},
    {"P empty, R2", 0, 0, 10000, false, true, [](int) { return 0.0; }},
    {"P empty, R1", 0, 10000, 0, true, false, [](int) { return 0.0; }},
    {"R2 zero", kP, 0, 0, false, true, [](int) { return 0.0; }},
    {"R1 zero", kP, 0, 0, true, false, [](int i) { return i == 0 || i == 100 ? 0.0 : 100.0; }},
    {"R2 negative", kP, 0, -50000, false, true,
     [](int i) {
       if (i == 50) return 0.0;  // Rb + R2 = 0
       const double rb = i * 1000.0, ra = kP - rb, rbl = rb * -50000 / (rb - 50000);
       return rbl / (ra + rbl) * 100;
     }},
    // Rb x R2 leaves the double range, or falls below it, and the parallel
    // does not: the curve is the one the values give.
    {"overflowing products", kP, 0, 1e306, false, true, [](int i) { return double(i); }},
    {"underflowing products", 1e-300, 0, 1e-300, false, true,
     [](int i) {
       const double t = i / 100.0;  // as P = R2 = 1: t/(1 + t) over 1 - t + t/(1 + t)
       return 100 * t / (1 + t - t * t);
     }},
    {"huge but finite R2", kP, 0, 1e300, false, true, [](int i) { return double(i); }},
};

void PrintTo(const LoadedCase& c, std::ostream* os) {
  *os << c.name;
}

class LoadedCurveTest : public ::testing::TestWithParam<LoadedCase> {};

TEST_P(LoadedCurveTest, EveryPoint) {
  const LoadedCase& c = GetParam();
  const Curves curves = ComputeCurves(0, LoadedCircuit(c.p, c.r1, c.r2, c.r1Fitted, c.r2Fitted));
  ASSERT_EQ(curves.loaded.size(), 101u);
  for (int i = 0; i <= 100; ++i) {
    const double y = curves.loaded[i].y;
    EXPECT_TRUE(std::isfinite(y)) << c.name << " at " << i;
    EXPECT_NEAR(y, c.expected(i), 1e-9) << c.name << " at " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, LoadedCurveTest, ::testing::ValuesIn(kLoaded), [](const auto& info) {
  std::string n = info.param.name;
  for (char& ch : n)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return n;
});

TEST(ComputeCurves, R2WinsWhenBothAreFitted) {
  const Curves both = ComputeCurves(0, LoadedCircuit(kP, 3300, 10000, true, true));
  const Curves r2 = ComputeCurves(0, LoadedCircuit(kP, 0, 10000, false, true));
  for (int i = 0; i <= 100; ++i) EXPECT_EQ(both.loaded[i].y, r2.loaded[i].y) << i;
}

TEST(ComputeCurves, NonFiniteInputsNeverLeakOut) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
  for (double v : {inf, -inf, nan, 1e308, -1e308, 4.9e-324}) {
    for (auto [r1f, r2f] : {std::pair{true, false}, std::pair{false, true}}) {
      for (const Curves& c : {ComputeCurves(0, LoadedCircuit(v, v, v, r1f, r2f)),
                              ComputeCurves(0, LoadedCircuit(kP, v, v, r1f, r2f)),
                              ComputeCurves(0, LoadedCircuit(v, 10000, 10000, r1f, r2f))})
        for (const CurvePoint& pt : c.loaded) EXPECT_TRUE(std::isfinite(pt.y)) << v;
    }
  }
}

TEST(ComputeCurves, LogCurveStartsWithTwoPointsAtZero) {
  const Curves c = ComputeCurves(0, LoadedCircuit(kP, 0, 0, false, false));
  EXPECT_EQ(c.log[0].x, 0);
  EXPECT_EQ(c.log[0].y, 0);
  EXPECT_EQ(c.log[1].x, 0);
  EXPECT_EQ(c.log[1].y, 1);
  EXPECT_DOUBLE_EQ(c.log[10].x, 50);
  EXPECT_DOUBLE_EQ(c.log[100].x, 100);
}

}  // namespace
}  // namespace dorvane
