// Any range, span and label size: the label step search and the label loop
// end, the labels stay few, and the value/pixel map never overflows.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "chart/axis_scale.h"

namespace {
template <class T>
T Take(const uint8_t*& data, size_t& size) {
  T v{};
  const size_t n = size < sizeof(T) ? size : sizeof(T);
  std::memcpy(&v, data, n);
  data += n;
  size -= n;
  return v;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dorvane::chart;
  const double min = Take<double>(data, size), max = Take<double>(data, size);
  const double increment = Take<double>(data, size);
  const int pixels = Take<int16_t>(data, size), labelSize = Take<int16_t>(data, size);
  const int separation = Take<int16_t>(data, size);
  const int start = Take<int16_t>(data, size), end = Take<int16_t>(data, size);
  const bool roundFirst = Take<uint8_t>(data, size) & 1;

  const double step = LabelStep({max - min, pixels, labelSize, separation, increment});
  if (!(step >= kMinLabelStep)) std::abort();
  const std::vector<double> values = LabelValues(min, max, step, roundFirst);
  if (values.size() > size_t(kMaxLabelSteps)) std::abort();
  for (double v : values) (void)FormatAxisValue(v, u',', u'.');

  for (bool horizontal : {true, false}) {
    const AxisMap map(horizontal, false, start, end, min, max);
    for (double v : {min, max, increment, (min + max) / 2}) {
      const int p = map.ValueToPixel(v);
      (void)map.PixelToValue(p);
    }
  }
  return 0;
}
