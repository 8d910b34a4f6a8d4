// The laws at any wiper position, and the values file written from the curves.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "core/curves.h"
#include "core/decimal.h"
#include "core/load.h"

namespace dorvane {
namespace {

struct Circuit {
  double p, r1, r2;
  bool r1Fitted, r2Fitted;
};
const Circuit kCircuits[] = {
    {100000, 10200, 10000, false, true}, {100000, 10000, 0, true, false},
    {100000, 0, 0, true, false},       // R1 = 0: 100 except at the ends
    {100000, 0, -50000, false, true},  // Rb + R2 = 0 at 50 %
    {0, 10000, 10000, true, true},
};

TEST(CurveValuesAt, AgreesWithTheCurvesAtEveryWholePosition) {
  for (const Circuit& c : kCircuits) {
    const Curves curves = ComputeCurves(0, LoadedCircuit(c.p, c.r1, c.r2, c.r1Fitted, c.r2Fitted));
    for (int i = 0; i <= 100; ++i) {
      const auto v = CurveValuesAt(i, 0, LoadedCircuit(c.p, c.r1, c.r2, c.r1Fitted, c.r2Fitted));
      ASSERT_TRUE(v) << i;
      EXPECT_EQ(v->linear, curves.linear[i].y) << i;
      EXPECT_EQ(v->loaded, curves.loaded[i].y)
          << "p " << c.p << " r1 " << c.r1 << " r2 " << c.r2 << " at " << i;
    }
  }
}

TEST(CurveValuesAt, BetweenPositionsAndAtTheEdges) {
  // 37.5 % with R2 = 10 kOhm across the lower 37.5 kOhm of 100 kOhm:
  // Rb' = 37500 * 10000 / 47500, share Rb' / (62500 + Rb').
  const double rb = 37500.0 * 10000 / 47500;
  const struct {
    double at;
    double linear, loaded, log;
  } rows[] = {
      {37.5, 37.5, rb / (62500 + rb) * 100, std::pow(10, 0.75)},
      {0, 0, 0, 1},
      {50, 50, 100.0 / 7, 10},
      {100, 100, 100, 100},
  };
  for (const auto& r : rows) {
    const auto v = CurveValuesAt(r.at, 0, LoadedCircuit(100000, 0, 10000, false, true));
    ASSERT_TRUE(v) << r.at;
    EXPECT_DOUBLE_EQ(v->linear, r.linear) << r.at;
    EXPECT_NEAR(v->loaded, r.loaded, 1e-9) << r.at;
    EXPECT_NEAR(v->log, r.log, 1e-9) << r.at;
  }
  for (double outside :
       {-0.001, 100.001, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
    EXPECT_FALSE(CurveValuesAt(outside, 0, LoadedCircuit(100000, 0, 10000, false, true))) << outside;
  EXPECT_FALSE(CurveValuesAt(50, 1, LoadedCircuit(100000, 0, 10000, false, true)));
}

// The rows after the byte-order mark, which every file starts with.
std::vector<std::vector<std::string>> Rows(const std::string& csv, char field) {
  std::vector<std::vector<std::string>> rows;
  EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
  std::istringstream lines(csv.substr(3));
  for (std::string line; std::getline(lines, line);) {
    rows.emplace_back();
    std::istringstream fields(line);
    for (std::string f; std::getline(fields, f, field);) rows.back().push_back(f);
  }
  return rows;
}

double Number(std::string text, char point) {
  for (char& c : text)
    if (c == point) c = '.';
  return std::stod(text);
}

TEST(CurvesCsv, RowsAreTheCurvesToFourDecimalsInBothNotations) {
  const Curves curves = ComputeCurves(0, LoadedCircuit(100000, 0, 10000, false, true));
  const struct { char separator, field, point; } notations[] = {{',', ';', ','}, {'.', ',', '.'}};
  for (const auto& n : notations) {
    SCOPED_TRACE(n.separator);
    const std::string csv = CurvesCsv(curves, n.separator);
    ASSERT_EQ(csv.back(), '\n');
    EXPECT_EQ(csv.find('\r'), std::string::npos);
    const auto rows = Rows(csv, n.field);
    ASSERT_EQ(rows.size(), 102u);
    EXPECT_EQ(rows[0].size(), 7u);
    EXPECT_EQ(rows[0][2], "Courbe modifiée (%)");
    EXPECT_EQ(rows[0][5], "Courbe modifiée (dB)");
    for (int i = 0; i <= 100; ++i) {
      const auto& row = rows[i + 1];
      ASSERT_EQ(row.size(), 7u) << i;
      for (const std::string& f : row) {
        if (f.empty() && i == 0) continue;  // 0 % in dB
        const auto point = f.find(n.point);
        ASSERT_NE(point, std::string::npos) << f;
        EXPECT_EQ(f.size() - point - 1, 4u) << f;
      }
      EXPECT_EQ(Number(row[0], n.point), i);
      EXPECT_NEAR(Number(row[1], n.point), curves.linear[i].y, 5e-5);
      EXPECT_NEAR(Number(row[2], n.point), curves.loaded[i].y, 5e-5) << i;
      EXPECT_NEAR(Number(row[3], n.point), std::pow(10, i / 50.0), 5e-5) << i;
      if (i > 0) {
        EXPECT_NEAR(Number(row[4], n.point), 20 * std::log10(i / 100.0), 5e-5) << i;
        EXPECT_NEAR(Number(row[5], n.point), 20 * std::log10(curves.loaded[i].y / 100), 5e-5) << i;
      }
      EXPECT_NEAR(Number(row[6], n.point), 0.4 * i - 40, 5e-5) << i;  // 20 log10(10^(x/50) / 100)
    }
  }
  EXPECT_EQ(Rows(CurvesCsv(curves, ','), ';')[51][2], "14,2857");
  EXPECT_EQ(Rows(CurvesCsv(curves, '.'), ',')[1][3], "1.0000");
  EXPECT_EQ(Rows(CurvesCsv(curves, ','), ';')[51][5], "-16,9020");  // 1/7
  EXPECT_EQ(Rows(CurvesCsv(curves, '.'), ',')[1][4], "");
}

// P1 100K, R2 13K and a 47K load on the wiper, worked by hand: at 50 %,
// 50K || 13K || 47K = 8 460,3 ohms over 58 460,3 is 14,4718 %; at 25 %,
// 25K || 13K || 47K = 7 235,9 over 82 235,9 is 8,7990 %. With only the load,
// at 50 %: 50K || 47K = 24 226,8 over 74 226,8 is 32,6389 %. Each curve's
// title names its whole circuit and the band's its tolerances, never with
// the field separator; the band and a pinned curve follow as columns.
TEST(CurvesCsv, ALoadABandAndPinnedCurvesInTheirColumns) {
  Curves c = ComputeCurves(0, LoadedCircuit(100000, 0, 13000, false, true, 47000));
  EXPECT_NEAR(c.loaded[50].y, 14.4718, 5e-5);
  EXPECT_NEAR(c.loaded[25].y, 8.7990, 5e-5);
  EXPECT_NEAR(ComputeCurves(0, LoadedCircuit(100000, 0, 0, false, false, 47000)).loaded[50].y, 32.6389, 5e-5);
  AddBandCurves(c, LoadedCircuit(100000, 0, 13000, false, true, 47000), 20, 5);
  const CsvNotes notes{
      {"100K", "", "R2 13K", "47K"}, {"20", "99,999"}, {{{"22K", "", "R2 10K", "4,7K"}, c.linear}}};
  for (const char separator : {',', '.'}) {
    const char field = separator == ',' ? ';' : ',';
    const auto rows = Rows(CurvesCsv(c, separator, notes), field);
    ASSERT_EQ(rows[0].size(), 10u) << separator;
    EXPECT_EQ(rows[0][1], "Courbe originale P1 100K (%)");
    EXPECT_EQ(rows[0][2], "Courbe modifiée P1 100K avec R2 13K et charge 47K (%)");
    EXPECT_EQ(rows[0][5], "Courbe modifiée P1 100K avec R2 13K et charge 47K (dB)");
    EXPECT_EQ(rows[0][7], separator == ','
                              ? "Bande basse P1 100K ±20 % avec R2 13K ±99,999 % et charge 47K (%)"
                              : "Bande basse P1 100K ±20 % avec R2 13K ±99 999 % et charge 47K (%)");
    EXPECT_TRUE(rows[0][8].starts_with("Bande haute P1 100K ±20 % avec R2 13K")) << rows[0][8];
    EXPECT_EQ(rows[0][9], separator == ',' ? "Figée P1 22K avec R2 10K et charge 4,7K (%)"
                                           : "Figée P1 22K avec R2 10K et charge 4 7K (%)");
    ASSERT_EQ(rows[51].size(), 10u);
    EXPECT_LT(Number(rows[51][7], separator), Number(rows[51][2], separator));
    EXPECT_GT(Number(rows[51][8], separator), Number(rows[51][2], separator));
    EXPECT_EQ(Number(rows[51][9], separator), 50);
  }
}

// Every part of a circuit, in the legend's words and in a title's.
TEST(CircuitName, LabelsAndTitlesNameWhatIsThere) {
  const struct {
    CircuitName name;
    const char* label;  // with P1
    const char* title;  // the modified curve's column
    const char* band;
  } cases[] = {
      {{"100K", "", "R2 10K", "47K"},
       "P1 100K, R2 10K, charge 47K",
       "Courbe modifiée P1 100K avec R2 10K et charge 47K (%)",
       "Bande P1 ±20 % R ±5 %"},
      {{"100K", "", "", "47K"},
       "P1 100K, charge 47K",
       "Courbe modifiée P1 100K avec charge 47K (%)",
       "Bande P1 ±20 %"},
      {{"100K", "Logarithmique", "R2 10K", ""},
       "P1 100K Logarithmique, R2 10K",
       "Courbe modifiée P1 100K Logarithmique avec R2 10K (%)",
       "Bande P1 ±20 % R ±5 %"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CircuitLabel(c.name), c.label);
    EXPECT_EQ(CircuitLabel(c.name, false), std::string(c.label).substr(std::string(c.label).find(", ") + 2));
    Curves none;
    const auto titles = Rows(CurvesCsv(none, ',', {c.name, {}, {}}), ';')[0];
    EXPECT_EQ(titles[2], c.title);
    EXPECT_EQ(titles[1],
              "Courbe originale " + std::string(c.label).substr(0, std::string(c.label).find(',')) + " (%)");
    EXPECT_EQ(BandLabel(c.name, {"20", "5"}), c.band);
  }
}

// A tolerance is written as typed: a double would say 100 for 99,999, the
// value refused, and 0 for 0,001.
TEST(ToleranceText, AsTypedWithTheLocalesSeparator) {
  const struct {
    const char* typed;
    double percent;
    char separator;
    const char* text;
  } cases[] = {
      {"99,999", 99.999, ',', "99,999"}, {" 12,50 %", 12.5, ',', "12,50"}, {"+5", 5, ',', "5"},
      {"99.999", 99.999, ',', "99,999"},  // typed under a point locale
      {"", 99.999, '.', "99.999"},       {"", 0.001, ',', "0,001"},        {"", 20, ',', "20"},
  };
  for (const auto& c : cases) EXPECT_EQ(ToleranceText(c.typed, c.percent, c.separator), c.text) << c.typed;
}

TEST(CurvesCsv, ALawWithoutCurvesGivesTheHeaderAlone) {
  const std::string csv = CurvesCsv(ComputeCurves(2, LoadedCircuit(100000, 0, 10000, false, true)), ',');
  EXPECT_EQ(csv,
            "\xEF\xBB\xBFPosition (%);Courbe originale (%);Courbe modifiée (%);Courbe log théorique "
            "(%);Courbe originale (dB);"
            "Courbe modifiée (dB);Courbe log théorique (dB)\n");
}

// A system's list separator (Windows' regional setting) is followed where it
// can separate fields; one that would mix with the numbers is not.
TEST(CurvesCsv, TheListSeparatorSeparatesFieldsWhenItCan) {
  const struct {
    char decimal, preferred, field;
  } cases[] = {{'.', ';', ';'}, {'.', '\t', ','}, {',', '|', '|'}, {',', ',', ';'}, {'.', '.', ','},
               {'.', '-', ','}, {'.', '"', ','},  {',', '5', ';'}, {'.', 'E', ','}};
  const Curves c = ComputeCurves(0, LoadedCircuit(100000, 0, 10000, false, true));
  for (const auto& t : cases) {
    EXPECT_EQ(CsvFieldSeparator(t.decimal, t.preferred), t.field) << t.decimal << " " << int(t.preferred);
    const auto rows = Rows(CurvesCsv(c, t.decimal, {}, t.preferred), t.field);
    ASSERT_EQ(rows.size(), 102u);
    EXPECT_EQ(rows[51].size(), 7u) << t.decimal << " " << int(t.preferred);
  }
}

TEST(CurvesCsv, NegativeZeroIsWrittenAsZero) {
  for (const double y : {-0.0, -0.00001, -0.0000499}) {
    Curves c;
    c.linear = {{0, 0}};
    c.loaded = {{0, y}};
    EXPECT_EQ(Rows(CurvesCsv(c, '.'), ',')[1][2], "0.0000") << y;
  }
}

// The one rule for numbers shown with the locale's separator.
TEST(FormatDecimal, SeparatorDecimalsTrimmingAndNoMinusZero) {
  EXPECT_EQ(FormatDecimal(-0.04, 1, ','), "0,0");
  EXPECT_EQ(FormatDecimal(-0.06, 1, ','), "-0,1");
  EXPECT_EQ(FormatDecimal(12.5, 2, ',', true), "12,5");
  EXPECT_EQ(FormatDecimal(10, 2, '.', true), "10");
  EXPECT_EQ(FormatDecimal(1e300, 1, ',').size(), 303u);  // every digit, no overflow
}

// Percentages as French typing gives them: no-break spaces before the "%",
// the locale's separator only, and nothing after a broken UTF-8 byte.
TEST(ReadTypedPercent, WhatPeopleTypeAndNothingElse) {
  const struct {
    const char* typed;
    double percent;  // NaN: refused
  } cases[] = {
      {"20", 20},   {" 12,5 %", 12.5}, {"5\u00A0%", 5},    {"\u202F0,5\u202F%\u3000", 0.5},
      {"-3", -3},   {"+3", 3},         {"99,999", 99.999}, {"", NAN},
      {"%", NAN},   {"12.5", NAN},     {"1,2,3", NAN},     {"1 2", NAN},
      {"2%%", NAN}, {"\u0663", NAN},   {"5\xC2", NAN},     {"5\xE2\x80%", NAN},
  };
  for (const auto& c : cases)
    EXPECT_THAT(ReadTypedPercent(c.typed, ','), testing::NanSensitiveDoubleNear(c.percent, 0)) << c.typed;
  EXPECT_TRUE(std::isnan(ReadTolerance("100", ',')));
  EXPECT_EQ(ReadTolerance("0", ','), 0);
}

}  // namespace
}  // namespace dorvane
