#include "forms/save_dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

#include "forms/frm_main.h"

namespace dorvane::forms {
namespace {

QString lastFolder;  // for this run only

struct Filter {
  OutputType type;
  const char* text;
};
const Filter kChartFilters[] = {
    {OutputType::Png, "Image PNG (*.png)"},
    {OutputType::Svg, "Image SVG (*.svg)"},
    {OutputType::Pdf, "Document PDF (*.pdf)"},
};
constexpr char kValuesFilter[] = "Valeurs CSV (*.csv)";

}  // namespace

QString SaveFolder() {
  if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir()) return lastFolder;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
  return QDir::homePath();
}

void RememberSaveFolder(const QString& file) {
  lastFolder = QFileInfo(file).absolutePath();
}

ChosenFile ChartFileFor(const QString& chosen, const QString& filter) {
  const std::optional<OutputType> named = OutputTypeOf(chosen);
  if (named && *named != OutputType::Csv) return {chosen, *named};
  OutputType type = OutputType::Png;
  for (const Filter& f : kChartFilters)
    if (filter == QString::fromUtf8(f.text)) type = f.type;
  return {chosen + u'.' + ExtensionOf(type), type};
}

bool SaveWithReport(TfmMain& window, const QString& path, OutputType type) {
  const QString reason = WriteFileAtomically(path, WindowFileContents(window, type));
  if (reason.isEmpty()) return true;
  QMessageBox::warning(&window, QCoreApplication::applicationName(), SaveFailureMessage(path, reason));
  return false;
}

void SaveChartAs(TfmMain& window) {
  QStringList filters;
  for (const Filter& f : kChartFilters) filters << QString::fromUtf8(f.text);
  QString filter = filters.first();
  const QString chosen =
      QFileDialog::getSaveFileName(&window, QStringLiteral("Enregistrer le graphique sous"),
                                   QDir(SaveFolder()).filePath(QStringLiteral("graphique.png")),
                                   filters.join(QStringLiteral(";;")), &filter);
  if (chosen.isEmpty()) return;
  RememberSaveFolder(chosen);
  const ChosenFile file = ChartFileFor(chosen, filter);
  SaveWithReport(window, file.path, file.type);
}

void ExportValuesAs(TfmMain& window) {
  QString chosen = QFileDialog::getSaveFileName(&window, QStringLiteral("Exporter les valeurs"),
                                                QDir(SaveFolder()).filePath(QStringLiteral("valeurs.csv")),
                                                QString::fromUtf8(kValuesFilter));
  if (chosen.isEmpty()) return;
  RememberSaveFolder(chosen);
  if (OutputTypeOf(chosen) != OutputType::Csv) chosen += QStringLiteral(".csv");
  SaveWithReport(window, chosen, OutputType::Csv);
}

}  // namespace dorvane::forms
