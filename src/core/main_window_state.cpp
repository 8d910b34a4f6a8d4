#include "core/main_window_state.h"

#include "core/resistance.h"

#include <cmath>

namespace dorvane {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kGrey = 0x808080, kBlack = 0x000000;

std::string Caption(const char* name, const std::string& text, char separator) {
  return std::string(name) + '\r' + FormatResistance(ParseResistance(text, separator), separator);
}

}  // namespace

namespace {

bool Loaded(const MainWindowInputs& in) {
  return !std::isinf(in.loadOhms);
}

// The notation's 8-bit text (Latin-1) in UTF-8, without the blanks around it.
std::string TypedUtf8(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  std::string out;
  for (std::size_t i = first; i <= last; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += char(c);
    } else {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

MainWindowInputs OpeningInputs(char decimalSeparator) {
  MainWindowInputs in;
  in.p1Text = "100K";
  in.r1Text = "10K2";
  in.r2Text = "10K";
  in.r2Ticked = true;
  in.showLinear = in.showLoaded = true;
  in.decimalSeparator = decimalSeparator;
  return in;
}

Circuit CircuitOf(const MainWindowInputs& in) {
  const char sep = in.decimalSeparator;
  return LoadedCircuit(ReadValueBox(in.p1Text, sep), ReadValueBox(in.r1Text, sep),
                       ReadValueBox(in.r2Text, sep), in.r1Ticked, in.r2Ticked, in.loadOhms);
}

void ApplyLoadSettings(MainWindowInputs& in, const LoadSettings& settings) {
  in.loadOhms = LoadOhms(settings, in.decimalSeparator);
  in.loadText = settings.loadText;
  in.p1TolerancePercent = settings.p1TolerancePercent;
  in.resistorTolerancePercent = settings.resistorTolerancePercent;
  in.p1ToleranceText = settings.p1ToleranceText;
  in.resistorToleranceText = settings.resistorToleranceText;
}

CircuitName ModifiedCircuitName(const MainWindowInputs& in) {
  static const char* const kLaws[] = {"", "Logarithmique", "Anti-Logarithmique"};
  // An empty box reads 0 ohm, which the diagram shows as "-".
  const auto typed = [](const std::string& text) {
    const std::string utf8 = TypedUtf8(text);
    return utf8.empty() ? std::string("-") : utf8;
  };
  CircuitName name;
  name.p1 = typed(in.p1Text);
  name.law = in.lawIndex > 0 && in.lawIndex < 3 ? kLaws[in.lawIndex] : "";
  if (in.r2Ticked)
    name.resistor = "R2 " + typed(in.r2Text);
  else if (in.r1Ticked)
    name.resistor = "R1 " + typed(in.r1Text);
  if (Loaded(in)) {
    name.load = TypedUtf8(in.loadText);
    if (name.load.empty()) name.load = FormatResistance(in.loadOhms, in.decimalSeparator);
  }
  return name;
}

BandTolerances BandTolerancesOf(const MainWindowInputs& in) {
  return {ToleranceText(in.p1ToleranceText, in.p1TolerancePercent, in.decimalSeparator),
          ToleranceText(in.resistorToleranceText, in.resistorTolerancePercent, in.decimalSeparator)};
}

PlotOutputs ComputePlot(const MainWindowInputs& in) {
  const Circuit circuit = CircuitOf(in);
  PlotOutputs out;
  const bool hasLoaded = HasLoadedCurve(circuit);
  out.linearActive = in.showLinear;
  out.loadedActive = in.showLoaded && hasLoaded;
  out.logActive = in.showLog;
  out.curves = ComputeCurves(in.lawIndex, circuit);
  if (in.band && out.loadedActive && !out.curves.loaded.empty()) {
    AddBandCurves(out.curves, circuit, in.p1TolerancePercent, in.resistorTolerancePercent);
    out.bandActive = true;
  }
  out.modifiedName = ModifiedCircuitName(in);
  out.bandTolerances = BandTolerancesOf(in);
  return out;
}

std::optional<CurveValues> PlotValuesAt(const MainWindowInputs& in, double position) {
  return CurveValuesAt(position, in.lawIndex, CircuitOf(in));
}

std::optional<PercentBand> PlotBandAt(const MainWindowInputs& in, double position) {
  const Circuit circuit = CircuitOf(in);
  if (!in.band || !in.showLoaded || in.lawIndex != 0 || !HasLoadedCurve(circuit)) return std::nullopt;
  const PercentBand b =
      LoadedBand(circuit, position / 100, in.p1TolerancePercent, in.resistorTolerancePercent);
  if (!std::isfinite(b.low) || !std::isfinite(b.high)) return std::nullopt;
  return b;
}

MainWindowState ComputeMainWindowState(const MainWindowInputs& in) {
  MainWindowState s;
  // At most one resistor: the box just clicked unticks the other one.
  s.r1Ticked = in.r1Ticked;
  s.r2Ticked = in.r2Ticked;
  if (in.sender == RuleSender::R1Box && s.r2Ticked) s.r2Ticked = false;
  if (in.sender == RuleSender::R2Box && s.r1Ticked) s.r1Ticked = false;

  s.title = s.r1Ticked ? kTitleAntiLog : s.r2Ticked ? kTitleLog : kTitleUnloaded;
  MainWindowInputs ticked = in;
  ticked.r1Ticked = s.r1Ticked;
  ticked.r2Ticked = s.r2Ticked;
  s.loadedBoxVisible = HasLoadedCurve(CircuitOf(ticked));
  s.chartTitle = s.title;
  if (Loaded(in)) {
    const std::string load = FormatResistance(in.loadOhms, in.decimalSeparator);
    s.chartTitle += ", charge " + load;
    s.loadShown = true;
    s.loadCaption = "Charge\r" + load;
  }

  s.r1Enabled = s.r1Ticked;
  s.r1BodyColour = s.r1Ticked ? kWhite : kGrey;
  s.r1CaptionColour = s.r1Ticked ? kBlack : kGrey;
  s.r2Enabled = s.r2Ticked;
  s.r2BodyColour = s.r2Ticked ? kWhite : kGrey;
  s.r2CaptionColour = s.r2Ticked ? kBlack : kGrey;

  const char sep = in.decimalSeparator;
  s.p1Caption = Caption("P1", in.p1Text, sep);
  s.r1Caption = s.r1Ticked ? Caption("R1", in.r1Text, sep) : "R1";
  s.r2Caption = s.r2Ticked ? Caption("R2", in.r2Text, sep) : "R2";

  s.plot = ComputePlot(ticked);
  return s;
}

}  // namespace dorvane
