#pragma once
// The "Fichier" menu's save dialogs: where they start, the type a chosen name
// gets, and the report of a file that could not be written.
#include <QString>

#include "forms/chart_files.h"

namespace dorvane::forms {

class TfmMain;

// The folder the dialogs start in: the one used last in this run, at first
// the user's documents folder, or the home folder when there is none.
QString SaveFolder();
void RememberSaveFolder(const QString& file);

// The name to write and its type for a name chosen in the chart's dialog: the
// name's own picture extension wins; otherwise the chosen filter's type, whose
// extension is added.
struct ChosenFile {
  QString path;
  OutputType type;
};
ChosenFile ChartFileFor(const QString& chosen, const QString& filter);

// Writes the file for the window; a failure is shown in a message box over
// the window, naming the file and the reason. True when written.
bool SaveWithReport(TfmMain& window, const QString& path, OutputType type);

// The menu items: ask for a name, then save. Cancelling does nothing.
void SaveChartAs(TfmMain& window);
void ExportValuesAs(TfmMain& window);

}  // namespace dorvane::forms
