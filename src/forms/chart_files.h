#pragma once
// The files the main window writes: the chart as a picture (PNG, SVG, PDF)
// and the curves' values (CSV). No dialog here; the menu and the command line
// share these.
#include <QByteArray>
#include <QString>
#include <optional>

#include "core/curves.h"

namespace dorvane::chart {
class TChart;
}

namespace dorvane::forms {

class TfmMain;

enum class OutputType { Png, Svg, Pdf, Csv };

// The type named by the file name's extension (in any case), if any.
std::optional<OutputType> OutputTypeOf(const QString& path);
// The extension of a type, without the point ("png").
QString ExtensionOf(OutputType type);

// The chart drawn afresh, as the window shows it: the clipboard's bitmap as
// PNG, its vector copy as SVG, or one PDF page of the chart's size (points at
// 96 pixels per inch) with its texts kept as text.
QByteArray ChartPng(chart::TChart& chart);
QByteArray ChartSvg(chart::TChart& chart);
QByteArray ChartPdf(chart::TChart& chart);

// The contents of a file of that type for the window as it stands.
QByteArray WindowFileContents(TfmMain& window, OutputType type);

// Writes the data in place of the file, or leaves the file as it was: the
// data goes to a new file beside it that replaces it only once complete.
// Returns why it failed, in French, or an empty string.
QString WriteFileAtomically(const QString& path, const QByteArray& data);

// The message shown when a file could not be written.
QString SaveFailureMessage(const QString& path, const QString& reason);

}  // namespace dorvane::forms
