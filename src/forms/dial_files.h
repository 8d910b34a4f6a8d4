#pragma once
// The dial's files: PDF and SVG at true size (printed at 100 %, the marks'
// ring has the diameter asked), PNG at 300 dpi, CSV of the marks. No dialog
// here; "Enregistrer le cadran sous..." and the command line share these.
#include <QString>
#include <optional>
#include <span>

#include "core/dial.h"
#include "forms/chart_files.h"
#include "forms/dial_drawing.h"

namespace dorvane::forms {

inline constexpr int kDialPngDpi = 300;

// A circuit as the dial states it, from the values as typed: "P1 100K,
// R2 10K, charge 47K" (no resistor, no load: "P1 100K").
QString DialCircuitCaption(const QString& p1, std::optional<Fitted> fitted, const QString& resistor,
                           const QString& load);

// Why no dial can be drawn with these settings (a rotation outside 180 to
// 340 degrees, a diameter outside 20 to 100 mm), in French; empty if none.
QString DialSettingsProblem(const DialSettings& settings, char separator);

// Levels as a list: "-70 dB, 3 dB et 6 dB".
QString DialMarkNames(std::span<const double> levels, DialUnit unit, char separator);

// The unreached levels as a sentence: "-70 dB et 3 dB ne sont jamais
// atteints par la courbe : ils sont laissés de côté."; empty if none.
QString UnreachedMarksNote(std::span<const double> levels, DialUnit unit, char separator);

FileContents DialPng(const DialPicture& picture);
FileContents DialSvg(const DialPicture& picture);
FileContents DialPdf(const DialPicture& picture);
FileContents DialCsv(const DialPicture& picture);
FileContents DialFileContents(const DialPicture& picture, OutputType type);

// Makes the dial's file of that type and writes it in place of `path` (as
// the chart's files are written). Returns why it failed, in French, or an
// empty string.
QString SaveDialFile(const DialPicture& picture, const QString& path, OutputType type);

}  // namespace dorvane::forms
