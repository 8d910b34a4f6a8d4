#pragma once
// The "Fichier" menu's save dialogs: where they start, the name and type a
// typed name gives, and the report of a file that could not be written.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "forms/chart_files.h"

class QWidget;

namespace dorvane::forms {

class TfmMain;

// The folder the dialogs start in: the one of the last file saved (kept
// between runs in the user's settings, "LastFolder" of Dorvane's), at first
// the user's documents folder, or the home folder when there is none.
QString SaveFolder();
void RememberSaveFolder(const QString& file);

// The name to write and its type for a name typed in a dialog, or why that
// name is refused (in French). In the chart's dialog the name's own picture
// extension wins, otherwise the chosen filter's type is added; in the
// values' dialog ".csv" is added. A name ending in the extension of another
// kind of file (".jpg", ".csv" for the chart) is refused, not extended.
struct ChosenFile {
  QString path;
  OutputType type;
  QString problem;
};
ChosenFile ChartFileFor(const QString& chosen, const QString& filter);
ChosenFile ValuesFileFor(const QString& chosen);
// The dial's dialog: the chart's rule with the marks file (.csv) among the
// types.
ChosenFile DialFileFor(const QString& chosen, const QString& filter);

// A message as a message box shows it: long names get break opportunities,
// so that the box wraps them rather than cut them off.
QString Wrappable(const QString& text);

// A warning over `parent`, as plain text, long names wrapped.
void ShowSaveWarning(QWidget* parent, const QString& text);

// Writes the file for the window; a failure is shown in a message box over
// the window, naming the file and the reason. True when written.
bool SaveWithReport(TfmMain& window, const QString& path, OutputType type);

// Asks over `parent` for the name of a file to save, starting in
// SaveFolder(): `choose` turns a typed name and the chosen filter into the
// file, or says why the name will not do; an existing file is replaced only
// on the user's word. None when cancelled.
std::optional<ChosenFile> AskForSaveFile(QWidget& parent, const QString& caption, const QString& name,
                                         const QStringList& filters,
                                         std::function<ChosenFile(const QString&, const QString&)> choose);

// The menu items: ask for a name (the dialog asks before an existing file is
// replaced and says why a name cannot be used), then save. Cancelling does
// nothing.
void SaveChartAs(TfmMain& window);
void ExportValuesAs(TfmMain& window);

}  // namespace dorvane::forms
