#pragma once
// Numbers as the program writes them for people and for spreadsheets, with
// the locale's decimal separator: one family for the tool tip, the screen
// reader's description, the finder, the axes, the command line and the
// values file; and percentages as people type them.
#include <string>
#include <string_view>

namespace dorvane {

// `value` with `decimals` decimals (0 to 20), no grouping, `separator` for
// the decimal point, whatever the C library's locale. A value that rounds to
// zero has no minus sign ("0,0", never "-0,0"). `trimZeros` drops the zeros
// that end the decimals, and the separator if nothing is left after it.
std::string FormatDecimal(double value, int decimals, char separator, bool trimZeros = false);

// A run of digits grouped by thousands from the right with `separator` (any
// UTF-8 text): "16666" with " " gives "16 666".
std::string GroupThousands(std::string_view digits, std::string_view separator);

// A number written with a point ("4.7K", "11.3"), with `separator` instead.
std::string WithDecimalSeparator(std::string_view number, char separator);

// Ohms to the hundredth, grouped by thousands with a blank, in UTF-8:
// "6 250 Ω", "16 666,67 Ω".
std::string FormatOhms(double ohms, char separator);

// A standard resistor value for a list: from 1K the notation's display with
// the decimals it needs ("6,2K", "1,02K", "10,0K"), below in ohms ("680 Ω",
// "4,7 Ω").
std::string StandardValueCaption(double ohms, char separator);

// A number in percent as typed, in UTF-8: ASCII digits, at most one
// `separator`, a sign first, blanks (any Unicode blank, such as the no-break
// spaces of French typing) around it and a "%" at the end; NaN for anything
// else.
double ReadTypedPercent(std::string_view typed, char separator);

// A tolerance as typed (ReadTypedPercent): NaN unless from 0 to under 100.
double ReadTolerance(std::string_view typed, char separator);

}  // namespace dorvane
