#pragma once
// Numbers as the program writes them for people and for spreadsheets, with
// the locale's decimal separator: one rule for the tool tip, the screen
// reader's description, the finder and the values file.
#include <string>

namespace dorvane {

// `value` with `decimals` decimals (0 to 20), no grouping, `separator` for
// the decimal point, whatever the C library's locale. A value that rounds to
// zero has no minus sign ("0,0", never "-0,0"). `trimZeros` drops the zeros
// that end the decimals, and the separator if nothing is left after it.
std::string FormatDecimal(double value, int decimals, char separator, bool trimZeros = false);

}  // namespace dorvane
