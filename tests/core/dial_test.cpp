#include "core/dial.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "support/divider.h"

namespace dorvane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
using testsupport::R2Position;
using testsupport::SearchedPosition;

TEST(DialMarks, AnglesAgreeWithTheCircuitWorkedApart) {
  // Where a share (0..1) is reached: R2 in closed form, R1's curve as R2's
  // turned over (y1(t) = 1 - y2(1 - t)), a load by halving.
  const auto expected = [](const Circuit& c, double s) {
    const double r1 = c.fitted == Fitted::R1 ? c.resistor : kInf;
    const double r2 = c.fitted == Fitted::R2 ? c.resistor : kInf;
    if (!std::isinf(c.loadOhms)) return SearchedPosition(c.p, r1, r2, c.loadOhms, s);
    if (!c.fitted) return s;
    return c.fitted == Fitted::R2 ? R2Position(c.p, r2, s) : 1 - R2Position(c.p, r1, 1 - s);
  };
  const struct {
    Circuit circuit;
    double rotation;
  } cases[] = {
      {{100000, Fitted::R2, 10000}, 300},
      {{470000, Fitted::R2, 4700}, 180},
      {{100000, Fitted::R1, 10000}, 340},
      {{100000, Fitted::R2, 13000, 47000}, 300},
      {{100000, Fitted::R1, 22000, 10000}, 270},
      {{50000, std::nullopt, kInf, 4700}, 300},
      {{100000, std::nullopt}, 300},  // the bare track
  };
  for (const auto& c : cases) {
    for (const DialUnit unit : {DialUnit::Decibels, DialUnit::Percent}) {
      const std::vector<double> levels = DefaultDialMarks(unit);
      const DialPlacement placed = PlaceDialMarks(c.circuit, levels, unit, c.rotation);
      ASSERT_EQ(placed.placed.size(), levels.size()) << c.rotation;
      EXPECT_TRUE(placed.unreached.empty());
      for (std::size_t i = 0; i < levels.size(); ++i) {
        SCOPED_TRACE(std::to_string(c.circuit.p) + " at " + std::to_string(c.rotation) + "°, level " +
                     std::to_string(levels[i]));
        const double share = unit == DialUnit::Decibels ? std::pow(10.0, levels[i] / 20) : levels[i] / 100;
        const double t = share <= 0 ? 0 : share >= 1 ? 1 : expected(c.circuit, share);
        EXPECT_EQ(placed.placed[i].level, levels[i]);
        EXPECT_NEAR(placed.placed[i].positionPercent, 100 * t, 1e-8);
        EXPECT_NEAR(placed.placed[i].angleDegrees, c.rotation * (t - 0.5), 1e-8);
      }
    }
  }
}

TEST(DialMarks, EndsOfTheTravelAndLevelsNeverReached) {
  const Circuit r2{100000, Fitted::R2, 10000, 47000};
  const struct {
    double level;
    DialUnit unit;
    double position;  // percent; NaN: never reached
  } rows[] = {
      {0.01, DialUnit::Decibels, kNaN},
      {100.01, DialUnit::Percent, kNaN},
      {-0.01, DialUnit::Percent, kNaN},
      {-1000, DialUnit::Decibels, 1.1e-48},  // reached, just off the start
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.level);
    const double level[] = {row.level};
    const DialPlacement p = PlaceDialMarks(r2, level, row.unit, 300);
    if (std::isnan(row.position)) {
      EXPECT_TRUE(p.placed.empty());
      ASSERT_EQ(p.unreached.size(), 1u);
      EXPECT_EQ(p.unreached[0], row.level);
      continue;
    }
    ASSERT_EQ(p.placed.size(), 1u);
    EXPECT_NEAR(p.placed[0].positionPercent, row.position, 1e-9);
    if (row.position > 0 && row.position < 1e-40) {
      EXPECT_GT(p.placed[0].positionPercent, 0);
    }
  }
  // A circuit with nothing to solve places no mark at all.
  const double levels[] = {0, -20};
  for (const Circuit& none :
       {Circuit{0, Fitted::R2, 10000}, Circuit{kInf, std::nullopt}, Circuit{kNaN, std::nullopt},
        Circuit{100000, Fitted::R2, 0}, Circuit{100000, Fitted::R1, -10000},
        Circuit{100000, Fitted::R1, kInf}, Circuit{100000, {}, kInf, 0}, Circuit{100000, {}, kInf, kNaN}}) {
    const DialPlacement p = PlaceDialMarks(none, levels, DialUnit::Decibels, 300);
    EXPECT_TRUE(p.placed.empty());
    EXPECT_EQ(p.unreached.size(), 2u);
  }
}

TEST(DialMarks, TypedListsReadStrictly) {
  const struct {
    const char* text;
    DialUnit unit;
    char separator;
    std::vector<double> levels;
    const char* problem = "";
  } rows[] = {
      {"  -3,5 dB ;-20dB;\t0 ", DialUnit::Decibels, ',', {-3.5, -20, 0}},
      {"\u221220\u00A0dB", DialUnit::Decibels, ',', {-20}},  // "−20 dB", as printed
      {"-3.5; +2", DialUnit::Decibels, '.', {-3.5, 2}},
      {"0; 50 %; 100;", DialUnit::Percent, ',', {0, 50, 100}},
      {",5", DialUnit::Percent, ',', {0.5}},
      {"", DialUnit::Decibels, ',', {}, "aucun repère"},
      {" ; ", DialUnit::Decibels, ',', {}, "aucun repère"},
      {"0;;-3", DialUnit::Decibels, ',', {}, "vide"},
      {"-3.5", DialUnit::Decibels, ',', {}, "« -3.5 » n'est pas un nombre (le séparateur décimal est « , »)"},
      {"-3,5", DialUnit::Percent, '.', {}, "séparateur décimal est « . »"},
      {"nan", DialUnit::Decibels, '.', {}, "« nan » n'est pas un nombre"},
      {"inf", DialUnit::Decibels, '.', {}, "n'est pas un nombre"},
      {"-1e3", DialUnit::Decibels, '.', {}, "n'est pas un nombre"},
      {"1 000", DialUnit::Percent, '.', {}, "n'est pas un nombre"},
      {"- 3", DialUnit::Decibels, '.', {}, "n'est pas un nombre"},
      {".", DialUnit::Decibels, '.', {}, "n'est pas un nombre"},
      {"-20 %", DialUnit::Decibels, ',', {}, "« -20 % » n'est pas en dB"},
      {"50 dB", DialUnit::Percent, ',', {}, "n'est pas en %"},
      {"-3,125", DialUnit::Decibels, ',', {}, "plus de deux décimales"},
      {"-1000,01", DialUnit::Decibels, ',', {}, "hors de -1000 à 1000 dB"},
      {"-20; -6; -20,0", DialUnit::Decibels, ',', {}, "le repère « -20 dB » est donné deux fois"},
      {"0; -0", DialUnit::Decibels, ',', {}, "donné deux fois"},
      {"00000000000000000000000000000001", DialUnit::Percent, ',', {}, "« 000000000000000000000000… » n'est"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    const DialMarksReading r = ReadDialMarks(row.text, row.unit, row.separator);
    EXPECT_EQ(r.levels, row.levels);
    if (*row.problem)
      EXPECT_NE(r.problem.find(row.problem), std::string::npos) << r.problem;
    else
      EXPECT_EQ(r.problem, "");
  }
  std::string many;
  for (int i = 0; i <= 40; ++i) many += std::to_string(-i) + ";";
  EXPECT_EQ(ReadDialMarks(many, DialUnit::Decibels, ',').problem, "plus de 40 repères (41)");
  many.resize(many.rfind("-40;"));
  EXPECT_EQ(ReadDialMarks(many, DialUnit::Decibels, ',').levels.size(), 40u);
  // What the dialog shows reads back as it was.
  for (const DialUnit unit : {DialUnit::Decibels, DialUnit::Percent}) {
    const std::vector<double> marks = DefaultDialMarks(unit);
    EXPECT_EQ(ReadDialMarks(DialMarksText(marks, ','), unit, ',').levels, marks);
  }
}

TEST(DialMarks, LabelsNumbersAndTheMarksFile) {
  EXPECT_EQ(DialMarkLabel(-20, DialUnit::Decibels, ','), "-20 dB");
  EXPECT_EQ(DialMarkLabel(-3.5, DialUnit::Decibels, ','), "-3,5 dB");
  EXPECT_EQ(DialMarkLabel(50, DialUnit::Percent, '.'), "50 %");
  EXPECT_EQ(DialMarksText(DefaultDialMarks(DialUnit::Decibels), ','),
            "0; -3; -6; -10; -15; -20; -25; -30; -40; -50; -60");
  const struct {
    const char* text;
    const char* unit;
    double value;
  } numbers[] = {{"300", "°", 300},    {" 270,5 ° ", "°", 270.5}, {"40mm", "mm", 40},  {"40 MM", "mm", 40},
                 {"40.5", "mm", kNaN}, {"", "mm", kNaN},          {"4e1", "mm", kNaN}, {"40 cm", "mm", kNaN}};
  for (const auto& n : numbers) {
    const double v = ReadDialNumber(n.text, ',', n.unit);
    if (std::isnan(n.value))
      EXPECT_TRUE(std::isnan(v)) << n.text;
    else
      EXPECT_EQ(v, n.value) << n.text;
  }
  const DialMark marks[] = {{-20, 31.6228, -55.1317}, {0, 100, 150}};
  EXPECT_EQ(DialMarksCsv(marks, DialUnit::Decibels, ','),
            "Repère (dB);Position (%);Angle (°)\n-20,00;31,62;-55,13\n0,00;100,00;150,00\n");
  EXPECT_EQ(DialMarksCsv(marks, DialUnit::Percent, '.'),
            "Repère (%),Position (%),Angle (°)\n-20.00,31.62,-55.13\n0.00,100.00,150.00\n");
}

}  // namespace
}  // namespace dorvane
