#pragma once
// The files the main window writes: the chart as a picture (PNG, SVG, PDF)
// and the curves' values (CSV). No dialog here; the menu and the command line
// share these.
#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

#include "core/curves.h"
#include "core/load.h"
#include "core/main_window_state.h"

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

// A file's bytes, or why they could not be made (in French).
struct FileContents {
  QByteArray data;
  QString problem;
};

// The chart drawn afresh, as the window shows it: the clipboard's bitmap as
// PNG, its vector copy as SVG, or one PDF page of the chart's size (points at
// 96 pixels per inch) with its texts kept as text. A chart without area
// gives no file of any type.
FileContents ChartPng(chart::TChart& chart);
FileContents ChartSvg(chart::TChart& chart);
FileContents ChartPdf(chart::TChart& chart);

// What a values file states beyond the three laws: the modified curve's
// circuit, the band's tolerances, the pinned curves.
CsvNotes ProgramFileNotes(const MainWindowInputs& in, const std::vector<PinnedCurve>& pinned);

// The contents of a file of that type for the main window's chart and what
// its controls hold: the chart's picture, or the values the replot
// computes from the inputs, with the notes.
FileContents ProgramFileContents(chart::TChart& chart, const MainWindowInputs& in, const CsvNotes& notes,
                                 OutputType type);
// The same for the window as it stands.
FileContents WindowFileContents(TfmMain& window, OutputType type);

// Why no file of that name can be written there, found before trying (a
// folder or a device of that name, a name longer than the folder allows),
// in French; empty when nothing stands in the way.
QString TargetProblem(const QString& path);

// TargetProblem, then why the file could not be created there, found by
// creating the save's new file beside it and removing it at once (a folder
// that does not exist, that takes no files, or is read-only).
QString CreationProblem(const QString& path);

// Writes the data in place of the file, or leaves the file as it was: the
// data goes to a new file beside it that replaces it only once every byte
// is on the disk (a full disk is seen here, and the new file removed).
// Returns why it failed, in French, or an empty string.
QString WriteFileAtomically(const QString& path, const QByteArray& data);

// Makes the file of that type (ProgramFileContents) and writes it in place
// of `path`. Returns why it failed, in French, or an empty string.
QString SaveProgramFile(chart::TChart& chart, const MainWindowInputs& in, const CsvNotes& notes,
                        const QString& path, OutputType type);
// The same for the window as it stands.
QString SaveWindowFile(TfmMain& window, const QString& path, OutputType type);

// The message shown when a file could not be written.
QString SaveFailureMessage(const QString& path, const QString& reason);

// A value or an option as the program's messages quote it, as typed:
// « 4/7K ».
QString Quoted(const QString& text);
// A file or folder name as the program's messages quote it, with the
// system's separators: « C:\dossier\courbe.png » on Windows.
QString QuotedFile(const QString& path);

}  // namespace dorvane::forms
