// Any byte string read as a resistance never crashes or throws, and what the
// diagram would show is "-" or digits, the separator, one digit and a unit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/resistance.h"

namespace {

bool WellFormed(const std::string& shown, char separator) {
  if (shown == "-") return true;
  const size_t n = shown.size();
  if (n < 4) return false;
  const char unit = shown[n - 1];
  if (unit != 'U' && unit != 'K' && unit != 'M') return false;
  if (shown[n - 3] != separator || shown[n - 2] < '0' || shown[n - 2] > '9') return false;
  for (size_t i = 0; i + 3 < n; ++i)
    if (shown[i] < '0' || shown[i] > '9') return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (char separator : {',', '.'}) {
    const double ohms = dorvane::ParseResistance(text, separator);
    if (!WellFormed(dorvane::FormatResistance(ohms, separator), separator)) std::abort();
  }
  return 0;
}
