#pragma once
// The arithmetic of an axis, free of drawing: the value <-> pixel map, the
// label step with its 1-2-5 sequence, the label values and their text.
#include <QChar>
#include <QString>
#include <optional>
#include <vector>

namespace dorvane::chart {

// The smallest step; an axis without room for labels gets it, and then shows
// none because its range spans too many steps.
inline constexpr double kMinLabelStep = 1e-12;
// An axis shows labels only when its range holds fewer steps than this.
inline constexpr double kMaxLabelSteps = 10000;

// Nearest integer, halves to even.
double RoundHalfEven(double v);

// Maps values of one axis onto pixels and back: a small value that the
// series, the mouse handling and the export can copy and keep.
class AxisMap {
 public:
  AxisMap() = default;
  AxisMap(bool horizontal, bool inverted, int startPixel, int endPixel, double min, double max)
      : horizontal_(horizontal),
        inverted_(inverted),
        start_(startPixel),
        end_(endPixel),
        min_(min),
        max_(max) {}

  // Outside the int range (or for a zero range) the centre pixel.
  int ValueToPixel(double value) const;
  // The pixel of a value, or none when it lies too far off to have one
  // (where ValueToPixel falls back on the centre, except for a zero range,
  // whose every value sits on the centre). What is drawn at a position must
  // use this: the centre is no place for a point far out of view.
  std::optional<int> PixelOf(double value) const;
  // 0 when the span is narrower than one pixel.
  double PixelToValue(int pixel) const;

  bool Horizontal() const { return horizontal_; }
  bool Inverted() const { return inverted_; }
  int StartPixel() const { return start_; }
  int EndPixel() const { return end_; }
  int PixelSize() const { return end_ - start_; }
  int CenterPixel() const { return (start_ + end_) / 2; }
  double Min() const { return min_; }
  double Max() const { return max_; }
  double Range() const { return max_ - min_; }

 private:
  bool horizontal_ = true;
  bool inverted_ = false;
  int start_ = 0, end_ = 0;
  double min_ = 0, max_ = 0;
};

// The step that follows s in the sequence 1, 2, 5, 10, 20, 50 ... (and
// 0.5, 0.2, 0.1 ... below 1). Not finite for a step that is not positive
// and finite.
double NextLabelStep(double s);

struct LabelStepInput {
  double range = 0;   // shown maximum - shown minimum
  int pixelSize = 0;  // length of the axis in pixels
  int labelSize = 0;  // widest label (horizontal) or label height (vertical)
  int separationPercent = 10;
  double increment = 0;  // the axis's own step; 0 for automatic
};
// The label step; kMinLabelStep when no label fits or the range is not a
// finite number.
double LabelStep(const LabelStepInput& in);

// Label values from the top down: the first is the highest whole step not
// above max (max itself unless roundFirst), the last the lowest not below
// min. Empty when the range is reversed, not finite or holds too many steps.
std::vector<double> LabelValues(double min, double max, double step, bool roundFirst);

// A value as the axis writes it ("#,##0.###"): thousands grouped, at most
// three decimals, trailing zeros left out.
QString FormatAxisValue(double value, QChar decimalSeparator, QChar thousandSeparator);

}  // namespace dorvane::chart
