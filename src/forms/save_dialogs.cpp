#include "forms/save_dialogs.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <functional>
#include <optional>

#include "controls/flat_edit.h"
#include "forms/frm_main.h"
#include "platform/save_dialog.h"

namespace dorvane::forms {
namespace {

// The last folder is kept between runs in the user's settings (Windows'
// registry under HKCU\Software\Dorvane, a file under ~/.config/Dorvane
// elsewhere); the uninstaller removes it.
constexpr char kLastFolderKey[] = "LastFolder";
QSettings UserSettings() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Dorvane"),
                   QStringLiteral("Dorvane"));
}

using Chooser = std::function<ChosenFile(const QString& path, const QString& filter)>;

QString ReplaceQuestion(const QString& path) {
  return QStringLiteral("Le fichier %1 existe déjà.\nVoulez-vous le remplacer ?")
      .arg(QuotedFile(QFileInfo(path).fileName()));
}

// What a name typed in a save dialog comes to, in the dialog's folder and
// with its filter: the same rules for the toolkit's dialog and the system's.
platform::SaveNameVerdict Judge(const QString& typed, const QString& folder, const QString& filter,
                                const Chooser& choose, ChosenFile* chosen) {
  using platform::SaveNameVerdict;
  if (typed.trimmed().isEmpty()) return {SaveNameVerdict::Ignore, {}};
  QString name = typed;
  if (name == u'~' || name.startsWith(QStringLiteral("~/"))) name = QDir::homePath() + name.mid(1);
  const QString path = QDir::cleanPath(QDir(folder).absoluteFilePath(name));
  if (QFileInfo(path).isDir()) return {SaveNameVerdict::OpenFolder, path};
  const ChosenFile file = choose(path, filter);
  *chosen = file;
  const QString problem = file.problem.isEmpty() ? CreationProblem(file.path) : file.problem;
  if (!problem.isEmpty()) return {SaveNameVerdict::Refuse, SaveFailureMessage(file.path, problem)};
  if (QFileInfo::exists(file.path)) return {SaveNameVerdict::AskToReplace, ReplaceQuestion(file.path)};
  return {SaveNameVerdict::Accept, {}};
}

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

// Kinds of files this program does not write: a name ending so was meant as
// one of them, and adding our extension would hide the mistake.
bool ForeignType(const QString& suffix) {
  static const QStringList kTypes = {"jpg", "jpeg", "jpe", "gif", "bmp", "tif", "tiff", "webp", "ico", "xpm",
                                     "eps", "ps",   "emf", "wmf", "txt", "tsv", "xls",  "xlsx", "ods"};
  return kTypes.contains(suffix.toLower());
}

QString WrongType(const QString& what, const QString& suffix) {
  return QStringLiteral("%1, pas en %2").arg(what, Quoted(u'.' + suffix));
}

// The name typed in the dialog, written as typed: Qt's own reading takes
// double quotes for a list of names and adds no extension before it asks
// about replacing a file.
class SaveDialog : public QFileDialog {
 public:
  SaveDialog(QWidget* parent, const QString& caption, const QString& name, const QStringList& filters,
             Chooser choose)
      : QFileDialog(parent, caption, SaveFolder()), choose_(std::move(choose)) {
    // The same dialog on every desktop, the one the tests drive.
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilters(filters);
    selectNameFilter(filters.first());
    selectFile(name);
    if ((save_ = SaveButton())) save_->installEventFilter(this);
    controls::RefuseAltAndCtrlTyping(*this);
  }

  const std::optional<ChosenFile>& Chosen() const { return chosen_; }

  void accept() override {
    using platform::SaveNameVerdict;
    QLineEdit* edit = NameField();
    const QString typed = edit ? edit->text() : selectedFiles().value(0);
    ChosenFile file;
    const SaveNameVerdict verdict =
        Judge(typed, directory().absolutePath(), selectedNameFilter(), choose_, &file);
    switch (verdict.kind) {
      case SaveNameVerdict::Ignore:
        return;
      case SaveNameVerdict::OpenFolder:
        setDirectory(verdict.text);
        if (edit) edit->clear();
        return;
      case SaveNameVerdict::Refuse:
        ShowSaveWarning(this, verdict.text);
        return;
      case SaveNameVerdict::AskToReplace:
        if (!AskToReplace(verdict.text)) return;
        break;
      case SaveNameVerdict::Accept:
        break;
    }
    chosen_ = file;
    QDialog::accept();
  }

 protected:
  // Qt greys "Enregistrer" for a name too long, without a word: keep it
  // pressable so that accept() can say why the name will not do.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == save_ && event->type() == QEvent::EnabledChange && !save_->isEnabled()) {
      const QLineEdit* edit = NameField();
      if (edit && !edit->text().trimmed().isEmpty()) save_->setEnabled(true);
    }
    return QFileDialog::eventFilter(watched, event);
  }

 private:
  // The toolkit's dialog has no way to give the name as typed (its selected
  // files take double quotes for a list of names) nor to leave "Enregistrer"
  // pressable for a name too long, so its name field and button are found by
  // the names its widget dialog gives them. Both give nullptr when a version
  // renames them, and the dialog then works as the toolkit's own (the save
  // tests of odd names fail): that is the sign to look again.
  QLineEdit* NameField() const { return findChild<QLineEdit*>(QStringLiteral("fileNameEdit")); }
  QPushButton* SaveButton() const {
    const auto* box = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    return box ? box->button(QDialogButtonBox::Save) : nullptr;
  }

  bool AskToReplace(const QString& question) {
    QMessageBox box(QMessageBox::Question, windowTitle(), Wrappable(question),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Oui"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Non"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
  }

  Chooser choose_;
  QPushButton* save_ = nullptr;
  std::optional<ChosenFile> chosen_;
};

std::optional<ChosenFile> AskForFile(TfmMain& window, const QString& caption, const QString& name,
                                     const QStringList& filters, Chooser choose) {
  return AskForSaveFile(window, caption, name, filters, std::move(choose));
}

void SaveChosen(TfmMain& window, const std::optional<ChosenFile>& file) {
  // A failed save leaves the folder of the last good one: the next dialog
  // never opens where nothing could be written (a /proc, a lost drive).
  if (file && SaveWithReport(window, file->path, file->type)) RememberSaveFolder(file->path);
}

}  // namespace

std::optional<ChosenFile> AskForSaveFile(QWidget& parent, const QString& caption, const QString& name,
                                         const QStringList& filters,
                                         std::function<ChosenFile(const QString&, const QString&)> choose) {
  // The system's dialog where there is one for this platform.
  ChosenFile chosen;
  platform::SaveDialogRequest request;
  request.parent = &parent;
  request.caption = caption;
  request.folder = SaveFolder();
  request.name = name;
  request.filters = filters;
  request.messageTitle = QCoreApplication::applicationName();
  request.judge = [&](const QString& typed, const QString& folder, const QString& filter) {
    return Judge(typed, folder, filter, choose, &chosen);
  };
  if (const std::optional<bool> accepted = platform::RunSystemSaveDialog(request))
    return *accepted ? std::optional<ChosenFile>(chosen) : std::nullopt;
  SaveDialog dialog(&parent, caption, name, filters, std::move(choose));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Chosen();
}

QString SaveFolder() {
  const QString lastFolder = UserSettings().value(QLatin1String(kLastFolderKey)).toString();
  if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir()) return lastFolder;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
  return QDir::homePath();
}

void RememberSaveFolder(const QString& file) {
  UserSettings().setValue(QLatin1String(kLastFolderKey), QFileInfo(file).absolutePath());
}

namespace {

// A trailing dot or blank is no part of the extension typed: "graphique."
// and "graphique.png " are "graphique" and "graphique.png" (as a Windows
// desktop would store them too).
QString WithoutTrailingDotsAndBlanks(const QString& path) {
  qsizetype end = path.size();
  while (end > 0 && (path[end - 1] == u'.' || path[end - 1].isSpace())) --end;
  const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
  const QString name = path.mid(nameStart, end - nameStart);
  return name.isEmpty() || name.endsWith(u'/') ? path : path.left(end);
}

// The toolkit's dialog has no filter typed in the name: a wildcard is said to
// be none of a name rather than written into one.
QString WildcardProblem(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  for (const QChar c : {u'*', u'?'})
    if (name.contains(c))
      return QStringLiteral(
                 "%1 ne peut pas faire partie d'un nom de fichier ; le type de fichier se choisit dans "
                 "la liste des types")
          .arg(Quoted(c));
  return {};
}

}  // namespace

ChosenFile ChartFileFor(const QString& typed, const QString& filter) {
  const QString chosen = WithoutTrailingDotsAndBlanks(typed);
  if (const QString problem = WildcardProblem(chosen); !problem.isEmpty())
    return {chosen, OutputType::Png, problem};
  const std::optional<OutputType> named = OutputTypeOf(chosen);
  if (named && *named != OutputType::Csv) return {chosen, *named, {}};
  const QString suffix = QFileInfo(chosen).suffix();
  if (named || ForeignType(suffix))
    return {chosen, OutputType::Png,
            WrongType(QStringLiteral("le graphique s'enregistre en .png, .svg ou .pdf"), suffix)};
  OutputType type = OutputType::Png;
  for (const Filter& f : kChartFilters)
    if (filter == QString::fromUtf8(f.text)) type = f.type;
  return {chosen + u'.' + ExtensionOf(type), type, {}};
}

ChosenFile DialFileFor(const QString& typed, const QString& filter) {
  const QString chosen = WithoutTrailingDotsAndBlanks(typed);
  if (const QString problem = WildcardProblem(chosen); !problem.isEmpty())
    return {chosen, OutputType::Pdf, problem};
  if (const std::optional<OutputType> named = OutputTypeOf(chosen)) return {chosen, *named, {}};
  const QString suffix = QFileInfo(chosen).suffix();
  if (ForeignType(suffix))
    return {chosen, OutputType::Pdf,
            WrongType(QStringLiteral("le cadran s'enregistre en .pdf, .svg, .png ou .csv"), suffix)};
  OutputType type = OutputType::Pdf;
  for (const OutputType t : {OutputType::Png, OutputType::Svg, OutputType::Csv})
    if (filter.contains(QStringLiteral("(*.%1)").arg(ExtensionOf(t)))) type = t;
  return {chosen + u'.' + ExtensionOf(type), type, {}};
}

ChosenFile ValuesFileFor(const QString& typed) {
  const QString chosen = WithoutTrailingDotsAndBlanks(typed);
  if (const QString problem = WildcardProblem(chosen); !problem.isEmpty())
    return {chosen, OutputType::Csv, problem};
  const std::optional<OutputType> named = OutputTypeOf(chosen);
  if (named == OutputType::Csv) return {chosen, OutputType::Csv, {}};
  const QString suffix = QFileInfo(chosen).suffix();
  if (named || ForeignType(suffix))
    return {chosen, OutputType::Csv, WrongType(QStringLiteral("les valeurs s'enregistrent en .csv"), suffix)};
  return {chosen + QStringLiteral(".csv"), OutputType::Csv, {}};
}

QString Wrappable(const QString& text) {
  // A zero-width space after each character of a long unbroken run.
  constexpr qsizetype kLongRun = 24;
  QString out;
  qsizetype run = 0;
  auto flush = [&](qsizetype end) {
    const QString word = text.mid(end - run, run);
    if (run <= kLongRun) {
      out += word;
    } else {
      for (const QChar c : word) {
        out += c;
        if (!c.isHighSurrogate()) out += QChar(0x200B);
      }
      out.chop(1);
    }
    run = 0;
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].isSpace()) {
      flush(i);
      out += text[i];
    } else {
      ++run;
    }
  }
  flush(text.size());
  return out;
}

void ShowSaveWarning(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), Wrappable(text), QMessageBox::Ok,
                  parent);
  box.setTextFormat(Qt::PlainText);  // a name is never mark-up
  box.exec();
}

bool SaveWithReport(TfmMain& window, const QString& path, OutputType type) {
  const QString reason = SaveWindowFile(window, path, type);
  if (reason.isEmpty()) return true;
  ShowSaveWarning(&window, SaveFailureMessage(path, reason));
  return false;
}

void SaveChartAs(TfmMain& window) {
  QStringList filters;
  for (const Filter& f : kChartFilters) filters << QString::fromUtf8(f.text);
  SaveChosen(window, AskForFile(window, QStringLiteral("Enregistrer le graphique sous"),
                                QStringLiteral("graphique.png"), filters, ChartFileFor));
}

void ExportValuesAs(TfmMain& window) {
  SaveChosen(window, AskForFile(window, QStringLiteral("Exporter les valeurs"), QStringLiteral("valeurs.csv"),
                                {QString::fromUtf8(kValuesFilter)},
                                [](const QString& path, const QString&) { return ValuesFileFor(path); }));
}

}  // namespace dorvane::forms
