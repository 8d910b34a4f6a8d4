#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>
#include <cstring>

#include "controls/flat_combo_box.h"
#include "controls/flat_edit.h"
#include "controls/markup_check_box.h"
#include "forms/chart_files.h"
#include "forms/frm_main.h"
#include "ui_frm_main.h"
#include "version/version_record.h"

namespace dorvane::app {
namespace {

constexpr int kOk = 0, kCannotWrite = 1, kBadUsage = 2;

constexpr char kHelp[] =
    "Usage : %1 [options]\n"
    "Montre comment la courbe d'un potentiomètre linéaire change quand une résistance R1 ou R2\n"
    "est ajoutée. Sans option, ouvre la fenêtre.\n"
    "\n"
    "Options :\n"
    "  -h, --help          Affiche cette aide.\n"
    "  -v, --version       Affiche la version.\n"
    "  --export FICHIER    Enregistre, sans fenêtre, le graphique (.png, .svg, .pdf) ou les\n"
    "                      valeurs des courbes (.csv) dans FICHIER, comme le menu Fichier.\n"
    "  --p1 VALEUR         Valeur de P1 (100K par défaut).\n"
    "  --r1 VALEUR         Ajoute R1 de cette valeur et retire R2.\n"
    "  --r2 VALEUR         Ajoute R2 de cette valeur (R2 = 10K par défaut).\n"
    "  --law INDICE        Loi de P1 : 0 Linéaire (par défaut), 1 Logarithmique,\n"
    "                      2 Anti-Logarithmique.\n"
    "  --db                Graphique en décibels (de 0 à -60 dB), comme « Échelle en décibels ».\n"
    "\n"
    "Les valeurs s'écrivent comme dans la fenêtre : 12; 11,3; 11U3; 68U; 120R; 470E; 12K8;\n"
    "12,8K; 1M3 (avec le séparateur décimal de la langue de l'utilisateur).\n"
    "\n"
    "États de sortie : 0 réussite, 1 fichier impossible à écrire, 2 option incorrecte.\n";

void Print(std::FILE* to, const QString& text) {
  std::fputs(text.toUtf8().constData(), to);
  std::fflush(to);
}

int BadUsage(const QString& message) {
  Print(stderr, QStringLiteral("%1 : %2.\nEssayez « %1 --help ».\n")
                    .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(), message));
  return kBadUsage;
}

QString Quoted(const QString& text) {
  return QStringLiteral("« %1 »").arg(text);
}

// The parser's own messages are English; say the same in French.
QString ParseError(const QCommandLineParser& parser) {
  if (!parser.unknownOptionNames().isEmpty()) {
    const QString name = parser.unknownOptionNames().first();
    return QStringLiteral("option inconnue %1")
        .arg(Quoted(QLatin1String(name.size() == 1 ? "-" : "--") + name));
  }
  // The option is quoted in the parser's text, English or translated.
  static const QRegularExpression quoted(QStringLiteral("(?:'|\"|«\\s*|“)(-[^'\"»”\\s]*)"));
  const QRegularExpressionMatch m = quoted.match(parser.errorText());
  if (m.hasMatch()) return QStringLiteral("il manque une valeur après %1").arg(Quoted(m.captured(1)));
  return QStringLiteral("ligne de commande incorrecte");
}

}  // namespace

void PrepareCommandLine(int argc, char** argv) {
  // The toolkit's own options ("-style fusion") still open the window; their
  // values are not arguments of ours.
  static constexpr const char* kToolkitWithValue[] = {
      "-platform",    "-platformpluginpath", "-platformtheme", "-plugin",     "-qwindowgeometry",
      "-qwindowicon", "-qwindowtitle",       "-style",         "-stylesheet", "-session",
      "-display",     "-geometry",           "-title",         "-name"};
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    const bool ours = !std::strcmp(a, "-h") || !std::strcmp(a, "-v") || !std::strcmp(a, "-?");
    if (a[0] == '-' && a[1] != '-' && a[1] != '\0' && !ours) {
      for (const char* option : kToolkitWithValue)
        if (!std::strcmp(a, option)) ++i;
      continue;
    }
    // A long option, or an argument that only the command line can answer.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return;
  }
}

int RunCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")}, {});
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
  const QCommandLineOption exportTo(QStringLiteral("export"), {}, QStringLiteral("FICHIER"));
  const QCommandLineOption p1(QStringLiteral("p1"), {}, QStringLiteral("VALEUR"));
  const QCommandLineOption r1(QStringLiteral("r1"), {}, QStringLiteral("VALEUR"));
  const QCommandLineOption r2(QStringLiteral("r2"), {}, QStringLiteral("VALEUR"));
  const QCommandLineOption law(QStringLiteral("law"), {}, QStringLiteral("INDICE"));
  const QCommandLineOption db(QStringLiteral("db"));
  parser.addOptions({help, version, exportTo, p1, r1, r2, law, db});

  if (!parser.parse(arguments)) return BadUsage(ParseError(parser));
  if (!parser.positionalArguments().isEmpty())
    return BadUsage(
        QStringLiteral("argument inattendu %1").arg(Quoted(parser.positionalArguments().first())));
  if (parser.isSet(help)) {
    Print(stdout,
          QString::fromUtf8(kHelp).arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
    return kOk;
  }
  if (parser.isSet(version)) {
    const QString number = QString::fromStdU16String(version::LookupVersionString(u"ProductVersion"));
    Print(stdout, QStringLiteral("Dorvane %1\n").arg(number));
    return kOk;
  }
  if (!parser.isSet(exportTo)) {
    for (const auto* o : {&p1, &r1, &r2, &law, &db})
      if (parser.isSet(*o))
        return BadUsage(
            QStringLiteral("l'option %1 ne va qu'avec --export").arg(Quoted("--" + o->names().first())));
    return -1;
  }

  const QString file = parser.value(exportTo);
  const std::optional<forms::OutputType> type = forms::OutputTypeOf(file);
  if (!type)
    return BadUsage(
        QStringLiteral("type de fichier inconnu pour %1 (.png, .svg, .pdf ou .csv)").arg(Quoted(file)));
  if (parser.isSet(r1) && parser.isSet(r2)) return BadUsage(QStringLiteral("--r1 et --r2 s'excluent"));
  for (const auto* o : {&exportTo, &p1, &r1, &r2, &law})
    if (parser.values(*o).size() > 1)
      return BadUsage(
          QStringLiteral("l'option %1 est donnée plusieurs fois").arg(Quoted("--" + o->names().first())));
  int lawIndex = 0;
  if (parser.isSet(law)) {
    bool ok = false;
    lawIndex = parser.value(law).toInt(&ok);
    if (!ok || lawIndex < -1 || lawIndex > 2)
      return BadUsage(
          QStringLiteral("indice de loi incorrect %1 (0, 1, 2 ou -1)").arg(Quoted(parser.value(law))));
  }

  // The window as it starts, never shown, then the values asked for.
  forms::TfmMain window;
  const Ui::TfmMain& ui = window.controls();
  if (!parser.isSet(law)) lawIndex = ui.lstPotType->ItemIndex();
  bool r1Fitted = ui.cbR1->Checked(), r2Fitted = ui.cbR2->Checked();
  if (parser.isSet(r1)) r1Fitted = true, r2Fitted = false;
  if (parser.isSet(r2)) r2Fitted = true, r1Fitted = false;
  window.SetCircuit(lawIndex, parser.isSet(p1) ? parser.value(p1) : ui.edP1->text(),
                    parser.isSet(r1) ? parser.value(r1) : ui.edR1->text(), r1Fitted,
                    parser.isSet(r2) ? parser.value(r2) : ui.edR2->text(), r2Fitted);
  window.setDecibels(parser.isSet(db));

  const QString reason = forms::WriteFileAtomically(file, forms::WindowFileContents(window, *type));
  if (!reason.isEmpty()) {
    Print(stderr, QStringLiteral("%1 : %2\n")
                      .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                           forms::SaveFailureMessage(file, reason)));
    return kCannotWrite;
  }
  return kOk;
}

}  // namespace dorvane::app
