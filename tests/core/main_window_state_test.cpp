#include "core/main_window_state.h"

#include <gtest/gtest.h>

#include "core/curves.h"

namespace dorvane {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kGrey = 0x808080, kBlack = 0;

// The window as laid out: P1 100K, R1 10K2 (not fitted), R2 10K (fitted),
// linear and loaded curves shown, log curve not.
MainWindowInputs Initial(char separator = ',') {
  MainWindowInputs in;
  in.lawIndex = 0;
  in.p1Text = "100K";
  in.r1Text = "10K2";
  in.r2Text = "10K";
  in.r1Ticked = false;
  in.r2Ticked = true;
  in.showLinear = true;
  in.showLoaded = true;
  in.showLog = false;
  in.sender = RuleSender::None;
  in.decimalSeparator = separator;
  return in;
}

TEST(MainWindowState, InitialStateAfterCreation) {
  const MainWindowState s = ComputeMainWindowState(Initial());
  EXPECT_FALSE(s.r1Ticked);
  EXPECT_TRUE(s.r2Ticked);
  EXPECT_EQ(s.title, "Montage en Pseudo Log (Log Pos)");
  EXPECT_TRUE(s.loadedBoxVisible);
  EXPECT_FALSE(s.r1Enabled);
  EXPECT_EQ(s.r1BodyColour, kGrey);
  EXPECT_EQ(s.r1CaptionColour, kGrey);
  EXPECT_TRUE(s.r2Enabled);
  EXPECT_EQ(s.r2BodyColour, kWhite);
  EXPECT_EQ(s.r2CaptionColour, kBlack);
  EXPECT_EQ(s.p1Caption, "P1\r100,0K");
  EXPECT_EQ(s.r1Caption, "R1");
  EXPECT_EQ(s.r2Caption, "R2\r10,0K");
  EXPECT_TRUE(s.plot.linearActive);
  EXPECT_TRUE(s.plot.loadedActive);
  EXPECT_FALSE(s.plot.logActive);
  const Curves expected = ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true));
  ASSERT_EQ(s.plot.curves.loaded.size(), 101u);
  for (int i = 0; i <= 100; ++i) EXPECT_EQ(s.plot.curves.loaded[i].y, expected.loaded[i].y);
  EXPECT_EQ(s.plot.curves.log.size(), 101u);  // filled although not shown
}

TEST(MainWindowState, PointLocaleCaptions) {
  const MainWindowState s = ComputeMainWindowState(Initial('.'));
  EXPECT_EQ(s.p1Caption, "P1\r100.0K");
  EXPECT_EQ(s.r2Caption, "R2\r10.0K");
}

// The exclusion of R1 and R2 and what follows from the ticks.
struct TickCase {
  const char* name;
  bool r1In, r2In;
  RuleSender sender;
  bool r1Out, r2Out;
  const char* title;
};

const TickCase kTicks[] = {
    {"R1 ticked while R2 ticked", true, true, RuleSender::R1Box, true, false,
     "Montage en Pseudo Anti-Log (Log Neg)"},
    {"R2 ticked while R1 ticked", true, true, RuleSender::R2Box, false, true,
     "Montage en Pseudo Log (Log Pos)"},
    {"R2 unticked alone", false, false, RuleSender::R2Box, false, false, "Montage sans modification"},
    {"R1 unticked alone", false, false, RuleSender::R1Box, false, false, "Montage sans modification"},
    {"R1 clicked with R2 off", true, false, RuleSender::R1Box, true, false,
     "Montage en Pseudo Anti-Log (Log Neg)"},
    // Only a click of the R boxes excludes: an edit never changes a tick.
    {"both ticked, edit", true, true, RuleSender::Other, true, true, "Montage en Pseudo Anti-Log (Log Neg)"},
    {"both ticked, no sender", true, true, RuleSender::None, true, true,
     "Montage en Pseudo Anti-Log (Log Neg)"},
};

void PrintTo(const TickCase& c, std::ostream* os) {
  *os << c.name;
}

class TickTest : public ::testing::TestWithParam<TickCase> {};

TEST_P(TickTest, ExclusionTitleAndDiagram) {
  const TickCase& c = GetParam();
  MainWindowInputs in = Initial();
  in.r1Ticked = c.r1In;
  in.r2Ticked = c.r2In;
  in.sender = c.sender;
  const MainWindowState s = ComputeMainWindowState(in);
  EXPECT_EQ(s.r1Ticked, c.r1Out);
  EXPECT_EQ(s.r2Ticked, c.r2Out);
  EXPECT_EQ(s.title, c.title);
  EXPECT_EQ(s.loadedBoxVisible, c.r1Out || c.r2Out);
  EXPECT_EQ(s.r1Enabled, c.r1Out);
  EXPECT_EQ(s.r2Enabled, c.r2Out);
  EXPECT_EQ(s.r1BodyColour, c.r1Out ? kWhite : kGrey);
  EXPECT_EQ(s.r2BodyColour, c.r2Out ? kWhite : kGrey);
  EXPECT_EQ(s.r1CaptionColour, c.r1Out ? kBlack : kGrey);
  EXPECT_EQ(s.r2CaptionColour, c.r2Out ? kBlack : kGrey);
  EXPECT_EQ(s.r1Caption, c.r1Out ? "R1\r10,2K" : "R1");
  EXPECT_EQ(s.r2Caption, c.r2Out ? "R2\r10,0K" : "R2");
  // The loaded series needs a fitted resistor even though its box stays ticked.
  EXPECT_EQ(s.plot.loadedActive, c.r1Out || c.r2Out);
  // The curves follow the ticks after the exclusion (R2 wins if both remain).
  const Curves expected = ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, c.r1Out, c.r2Out));
  for (int i = 0; i <= 100; ++i) ASSERT_EQ(s.plot.curves.loaded[i].y, expected.loaded[i].y) << i;
}

INSTANTIATE_TEST_SUITE_P(Cases, TickTest, ::testing::ValuesIn(kTicks), [](const auto& info) {
  std::string n = info.param.name;
  for (char& ch : n)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return n;
});

// A P1 shown as "-" is one the curves cannot use either: empty, or above
// what the notation writes; so is an R2 above it.
TEST(MainWindowState, EmptyP1ShowsDashAndFlattensTheLoadedCurve) {
  for (const char* p1 : {"", "4294967296", "40000M"}) {
    MainWindowInputs in = Initial();
    in.p1Text = p1;
    in.sender = RuleSender::Other;
    const MainWindowState s = ComputeMainWindowState(in);
    EXPECT_EQ(s.p1Caption, "P1\r-") << p1;
    for (const CurvePoint& p : s.plot.curves.loaded) EXPECT_EQ(p.y, 0) << p1;
    EXPECT_EQ(PlotValuesAt(in, 50)->loaded, 0) << p1;
  }
  MainWindowInputs in = Initial();
  in.r2Text = "5000M";
  EXPECT_EQ(ComputeMainWindowState(in).r2Caption, "R2\r-");
  EXPECT_EQ(ComputePlot(in).curves.loaded[50].y, 0);
  in.r2Text = "4294967295";  // the largest written value still counts
  EXPECT_NE(ComputePlot(in).curves.loaded[50].y, 0);
  in.p1Text = "";
  const MainWindowState s = ComputeMainWindowState(in);
  const Curves reference = ComputeCurves(0, LoadedCircuit(100000, 0, 0, false, false));
  for (int i = 0; i <= 100; ++i) {
    EXPECT_EQ(s.plot.curves.linear[i].y, reference.linear[i].y);
    EXPECT_EQ(s.plot.curves.log[i].x, reference.log[i].x);
  }
}

TEST(MainWindowState, UnfittedR1TextChangesNothingVisible) {
  MainWindowInputs a = Initial(), b = Initial();
  b.r1Text = "garbage";
  b.sender = RuleSender::Other;
  const MainWindowState sa = ComputeMainWindowState(a), sb = ComputeMainWindowState(b);
  EXPECT_EQ(sb.r1Caption, "R1");
  for (int i = 0; i <= 100; ++i) EXPECT_EQ(sa.plot.curves.loaded[i].y, sb.plot.curves.loaded[i].y);
}

TEST(MainWindowState, OtherLawsEmptyTheSeriesButStillSetTheTexts) {
  for (int law : {1, 2, -1}) {
    MainWindowInputs in = Initial();
    in.lawIndex = law;
    const MainWindowState s = ComputeMainWindowState(in);
    EXPECT_TRUE(s.plot.curves.linear.empty() && s.plot.curves.loaded.empty() && s.plot.curves.log.empty());
    EXPECT_EQ(s.title, "Montage en Pseudo Log (Log Pos)");
    EXPECT_EQ(s.p1Caption, "P1\r100,0K");
  }
}

TEST(ComputePlot, SeriesFlagsFollowTheBoxes) {
  for (int mask = 0; mask < 64; ++mask) {
    MainWindowInputs in = Initial();
    in.showLinear = mask & 1;
    in.showLoaded = mask & 2;
    in.showLog = mask & 4;
    in.r1Ticked = mask & 8;
    in.r2Ticked = mask & 16;
    in.band = mask & 32;
    const PlotOutputs p = ComputePlot(in);
    EXPECT_EQ(p.linearActive, in.showLinear) << mask;
    EXPECT_EQ(p.loadedActive, in.showLoaded && (in.r1Ticked || in.r2Ticked)) << mask;
    EXPECT_EQ(p.logActive, in.showLog) << mask;
    // The band is the modified curve's spread: hidden with it.
    EXPECT_EQ(p.bandActive, in.band && p.loadedActive) << mask;
    EXPECT_EQ(PlotBandAt(in, 50).has_value(), p.bandActive) << mask;
  }
}

// The modified curve's circuit as typed, for the legend and the files.
TEST(ModifiedCircuitName, WhatTheBoxesAndTheLoadHold) {
  const struct {
    bool r1, r2;
    int law;
    const char* load;
    CircuitName name;
  } cases[] = {
      {true, false, 0, " 47K ", {"100K", "", "R1 10K2", "47K"}},
      {true, true, 0, "1M", {"100K", "", "R2 10K", "1M"}},  // R2 wins, as in the curve
      {false, false, 0, "4,7K", {"100K", "", "", "4,7K"}},
      {false, true, 2, "", {"100K", "Anti-Logarithmique", "R2 10K", ""}},
  };
  for (const auto& c : cases) {
    MainWindowInputs in = Initial();
    in.p1Text = " 100K";
    in.r1Ticked = c.r1, in.r2Ticked = c.r2, in.lawIndex = c.law;
    ApplyLoadSettings(in, {c.load, 10, 2, "10", "2"});
    EXPECT_EQ(ModifiedCircuitName(in), c.name) << c.load;
  }
  // A load known only by its ohms is written in the notation; an empty box
  // as the diagram shows it.
  MainWindowInputs in = Initial();
  in.loadOhms = 22000;
  in.p1Text = "";
  EXPECT_EQ(ModifiedCircuitName(in), (CircuitName{"-", "", "R2 10K", "22,0K"}));
}

}  // namespace
}  // namespace dorvane
