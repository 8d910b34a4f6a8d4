// Any byte string read as a dial's marks never crashes: it is refused with a
// reason and no level, or gives at most 40 distinct finite levels that the
// dialog writes back to the same list; placed on a circuit, every mark lands
// within the travel or is said to be out of reach.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/dial.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dorvane;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const char separator : {',', '.'}) {
    for (const DialUnit unit : {DialUnit::Decibels, DialUnit::Percent}) {
      const DialMarksReading r = ReadDialMarks(text, unit, separator);
      if (r.problem.empty() == r.levels.empty() || r.levels.size() > kDialMarksMax) std::abort();
      for (std::size_t i = 0; i < r.levels.size(); ++i) {
        if (!(std::abs(r.levels[i]) <= kDialLevelLimit)) std::abort();
        for (std::size_t j = 0; j < i; ++j)
          if (r.levels[i] == r.levels[j]) std::abort();
      }
      if (r.levels.empty()) continue;
      if (ReadDialMarks(DialMarksText(r.levels, separator), unit, separator).levels != r.levels) std::abort();
      const DialPlacement p = PlaceDialMarks({100000, Fitted::R2, 10000, 47000}, r.levels, unit, 300);
      if (p.placed.size() + p.unreached.size() != r.levels.size()) std::abort();
      for (const DialMark& m : p.placed)
        if (!(m.positionPercent >= 0 && m.positionPercent <= 100 && std::abs(m.angleDegrees) <= 150))
          std::abort();
    }
  }
  return 0;
}
