#pragma once
// Resistance values in the short notation of circuit diagrams ("4K7", "1M3",
// "470E", "11,3").
#include <string>
#include <string_view>

namespace dorvane {

// Reads a typed value as ohms. The text is taken as raw 8-bit characters.
// Never fails: an unreadable value is 0; a leading minus gives a negative
// value, passed on as it is.
double ParseResistance(std::string_view text, char decimalSeparator);

// The largest value the notation writes, 2^32 - 1 ohms.
inline constexpr double kLargestWrittenOhms = 4294967295.0;

// A value box as the window computes with it: what ParseResistance reads,
// except that a value above kLargestWrittenOhms, which the notation cannot
// write and the caption shows as "-", counts as unreadable, 0.
double ReadValueBox(std::string_view text, char decimalSeparator);

// A value given where no one sees it read, such as the command line: the
// whole text must be one of the notation's forms (a number with the
// separator, then at most one unit letter; or whole digits, the letter and
// one to three decimals; blanks and case ignored), above 0 and at most
// kLargestWrittenOhms. Returns the ohms, or a negative number when the text
// is anything else.
double ParseWholeResistance(std::string_view text, char decimalSeparator);

// The load on the wiper as typed, wherever it is typed (the load dialog, the
// finder, the command line): blanks alone are no load, +infinity; otherwise
// what ParseWholeResistance reads, NaN when it refuses the text.
double ReadLoadOhms(std::string_view text, char decimalSeparator);

// The unit letter a value is written with and the ohms it stands for: 'M'
// (10^6) from 1 000 000 ohms, 'K' (10^3) from 1 000, 'U' (1) below. Every
// text that writes a value in the notation picks its letter here.
struct ResistanceUnit {
  char letter;
  double ohms;
};
ResistanceUnit UnitOf(double ohms);

// The short text shown under a name in the circuit diagram: "12,8K", "470,0U",
// "1,3M", or "-" for 0, negative, not-a-number and anything above 2^32 - 1.
std::string FormatResistance(double ohms, char decimalSeparator);

}  // namespace dorvane
