#include "core/resistance.h"
#include "support/c_locale.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace dorvane {
namespace {

struct NotationCase {
  const char* typed;
  double commaOhms;
  const char* commaShown;
  double pointOhms;
  const char* pointShown;
};

// The notation examples a user meets, read and shown with either separator.
const NotationCase kNotation[] = {
    {"12", 12, "12,0U", 12, "12.0U"},
    {"11,3", 11.3, "11,3U", 0, "-"},
    {"11U3", 11.3, "11,3U", 11.3, "11.3U"},
    {"68U", 68, "68,0U", 68, "68.0U"},
    {"120R", 120, "120,0U", 120, "120.0U"},
    {"  470E", 470, "470,0U", 470, "470.0U"},
    {"4U7", 4.7, "4,7U", 4.7, "4.7U"},
    {"12K8", 12800, "12,8K", 12800, "12.8K"},
    {"12,8K", 12800, "12,8K", 0, "-"},
    {"12.8K", 0, "-", 12800, "12.8K"},
    {"2k2", 2200, "2,2K", 2200, "2.2K"},
    {"10K2", 10200, "10,2K", 10200, "10.2K"},
    {"12,85K", 12850, "12,9K", 0, "-"},
    {"1,25K", 1250, "1,3K", 0, "-"},
    {"100K", 100000, "100,0K", 100000, "100.0K"},
    {"1M3", 1300000, "1,3M", 1300000, "1.3M"},
    {"1 0 K", 10000, "10,0K", 10000, "10.0K"},
    {"", 0, "-", 0, "-"},
    {"K", 0, "-", 0, "-"},
    {"k5", 500, "500,0U", 500, "500.0U"},
    {"1M5K", 1000000, "1,0M", 1000000, "1.0M"},
    {"1K5M", 0, "-", 0, "-"},
    {"1R5U", 0, "-", 0, "-"},
    {"1E3", 1.3, "1,3U", 1.3, "1.3U"},
    {"12K+", 12000, "12,0K", 12000, "12.0K"},
    {"0", 0, "-", 0, "-"},
    {"-5", -5, "-", -5, "-"},
    {"999,96", 999.96, "1000,0U", 0, "-"},
    {"4294967295", 4294967295.0, "4295,0M", 4294967295.0, "4295.0M"},
    {"4294967296", 4294967296.0, "-", 4294967296.0, "-"},
    // Further edges.
    {"999U5", 999.5, "999,5U", 999.5, "999.5U"},
    {"1000", 1000, "1,0K", 1000, "1.0K"},
    {"1000000", 1000000, "1,0M", 1000000, "1.0M"},
    {"1R", 1, "1,0U", 1, "1.0U"},
    {"1E3K", 1e6, "1,0M", 1e6, "1.0M"},  // an exponent survives before K
    {"1e-3K", 1, "1,0U", 1, "1.0U"},
    {"+2K", 2000, "2,0K", 2000, "2.0K"},
    {"2KX", 2000, "2,0K", 2000, "2.0K"},     // an unreadable fraction leaves the whole value
    {"K-5", -500, "-", -500, "-"},           // a signed fraction is a number of tenths
    {"2K2345", 2234, "2,2K", 2234, "2.2K"},  // three characters at most after the letter
    // Two or three digits after the letter are the decimals.
    {"4K75", 4750, "4,8K", 4750, "4.8K"},
    {"1M25", 1250000, "1,3M", 1250000, "1.3M"},
    {"4R75", 4.75, "4,8U", 4.75, "4.8U"},
    {"1K005", 1005, "1,0K", 1005, "1.0K"},
    // Only ASCII letters change case and only the space is dropped.
    {"1\tK", 0, "-", 0, "-"},
    {"1\xA0K", 0, "-", 0, "-"},
    {"\xE9"
     "5",
     0, "-", 0, "-"},
};

void PrintTo(const NotationCase& c, std::ostream* os) {
  *os << "'" << c.typed << "'";
}

class NotationTest : public ::testing::TestWithParam<NotationCase> {};

TEST_P(NotationTest, ReadsAndShowsWithBothSeparators) {
  const NotationCase& c = GetParam();
  const double comma = ParseResistance(c.typed, ',');
  const double point = ParseResistance(c.typed, '.');
  EXPECT_DOUBLE_EQ(comma, c.commaOhms) << "'" << c.typed << "' with a comma";
  EXPECT_DOUBLE_EQ(point, c.pointOhms) << "'" << c.typed << "' with a point";
  EXPECT_EQ(FormatResistance(comma, ','), c.commaShown) << "'" << c.typed << "'";
  EXPECT_EQ(FormatResistance(point, '.'), c.pointShown) << "'" << c.typed << "'";
}

INSTANTIATE_TEST_SUITE_P(Table, NotationTest, ::testing::ValuesIn(kNotation));

TEST(FormatResistance, RangesAndRounding) {
  const struct {
    double ohms;
    const char* shown;
  } cases[] = {
      {470, "470,0U"},
      {999.94, "999,9U"},
      {999.95, "1000,0U"},  // range chosen before rounding
      {999999.5, "1000,0K"},
      {1250, "1,3K"},
      {1350, "1,4K"},  // halves go away from zero
      {12850, "12,9K"},
      {12849.99, "12,8K"},
      {0.04, "0,0U"},
      {0.05, "0,1U"},
      {1e-300, "0,0U"},
      {4294967295.0, "4295,0M"},
      {4294967295.5, "-"},
      {0, "-"},
      {-0.0, "-"},
      {-1, "-"},
      {std::numeric_limits<double>::infinity(), "-"},
      {std::numeric_limits<double>::quiet_NaN(), "-"},
  };
  for (const char* locale : test::kTestLocales) {
    test::ScopedCLocale inForce(locale);
    ASSERT_TRUE(inForce.InForce()) << locale << " is not generated on this machine";
    for (const auto& c : cases)
      EXPECT_EQ(FormatResistance(c.ohms, ','), c.shown) << c.ohms << " under " << locale;
  }
}

TEST(ParseResistance, NumberGrammar) {
  const struct {
    const char* text;
    double ohms;
  } cases[] = {
      {",5", 0.5},   {"5,", 5},          {",", 0},      {"-", 0},          {"+", 0},
      {"1,2,3", 0},  {"--1", 0},         {"1-", 0},     {"12 ,5", 12.5},   {"0x10", 0},
      {"1e400K", 0}, {"1e-400K", 0},     {"1e5K", 1e8}, {"1eK", 0},        {"inf", 0},
      {"nan", 0},    {"1,5e2K", 150000}, {"00012", 12}, {"1e+2K", 100000},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(ParseResistance(c.text, ','), c.ohms) << c.text;
}

TEST(ParseResistance, HostileInputsGiveTheDesignedValue) {
  // NUL bytes and high bytes are ordinary characters: not digits, not letters.
  EXPECT_EQ(ParseResistance(std::string_view("12\0K", 4), ','), 0);
  EXPECT_EQ(ParseResistance(std::string_view("12K\0", 4), ','), 12000);
  EXPECT_EQ(ParseResistance("\x80\xFF", ','), 0);

  // A megabyte of digits is beyond the double range: not a number.
  const std::string digits(1 << 20, '9');
  EXPECT_EQ(ParseResistance(digits, ','), 0);
  // ... but the same with leading zeros is a small number.
  std::string small(1 << 20, '0');
  small.back() = '7';
  EXPECT_EQ(ParseResistance(small, ','), 7);
  std::string longFraction = "0," + std::string(1 << 20, '0') + "1";
  EXPECT_EQ(ParseResistance(longFraction, ','), 0);  // underflows to zero

  // A thousand unit letters: the first M is the marker, the rest is ignored.
  const std::string letters = "3" + std::string(1000, 'M');
  EXPECT_EQ(ParseResistance(letters, ','), 3e6);
  const std::string spaces(1 << 20, ' ');
  EXPECT_EQ(ParseResistance(spaces + "4K7" + spaces, ','), 4700);
}

// Where nobody sees the value read back, only the notation's whole text is
// a value: a text the window would read in part is refused (-1).
TEST(ParseWholeResistance, TheWholeTextOrNothing) {
  const struct {
    const char* text;
    char separator;
    double ohms;
  } cases[] = {
      {"12", ',', 12},          {"11,3", ',', 11.3},     {"4K75", ',', 4750},
      {"12,8K", ',', 12800},    {" 2k2 ", ',', 2200},    {"1M3", '.', 1.3e6},
      {"470E", '.', 470},       {",5K", ',', 500},       {"4294967295", ',', 4294967295.0},
      {"10K5X", ',', -1},       {"4.7K7", '.', -1},      {"4e-324", '.', -1},
      {"99999999999", '.', -1}, {"4294967296", ',', -1}, {"1K2345", ',', -1},
      {"1M5K", ',', -1},        {"K", ',', -1},          {"k5", ',', -1},
      {"0", ',', -1},           {"0K0", ',', -1},        {"-5", ',', -1},
      {"4.7K", ',', -1},        {"1,2,3", ',', -1},      {"", ',', -1},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseWholeResistance(c.text, c.separator), c.ohms) << c.text;
}

// The load: blanks are none, anything the whole-text reader refuses is no
// value at all (NaN), never a load read another way.
TEST(ReadLoadOhms, BlankIsNoneAndTheRestStrict) {
  constexpr double kNone = std::numeric_limits<double>::infinity();
  const struct {
    const char* text;
    double ohms;  // NaN: refused
  } cases[] = {
      {"", kNone},         {" \t\xA0", kNone}, {"47K", 47000},  {"\t4K7 ", 4700},
      {"1M", 1e6},         {"+47K", NAN},      {"4K7555", NAN}, {"1K2K", NAN},
      {"5000000000", NAN}, {"0", NAN},         {"-4K7", NAN},   {"47K\xA0x", NAN},
  };
  for (const auto& c : cases)
    EXPECT_THAT(ReadLoadOhms(c.text, ','), testing::NanSensitiveDoubleNear(c.ohms, 0)) << c.text;
}

}  // namespace
}  // namespace dorvane
