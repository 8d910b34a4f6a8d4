#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "controls/flat_combo_box.h"
#include "controls/flat_edit.h"
#include "controls/markup_check_box.h"
#include "core/resistance.h"
#include "forms/chart_files.h"
#include "forms/frm_main.h"
#include "forms/startup.h"
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
    "Les valeurs s'écrivent comme dans la fenêtre : %2\n"
    "(séparateur décimal de la langue de l'utilisateur : %3).\n"
    "Une valeur illisible ou nulle, un indice de loi autre que 0, 1 ou 2 sont refusés.\n"
    "\n"
    "États de sortie : 0 réussite, 1 fichier impossible à écrire, 2 option ou valeur\n"
    "incorrecte.\n";

void Print(std::FILE* to, const QString& text) {
  std::fputs(text.toUtf8().constData(), to);
  std::fflush(to);
}

using forms::Quoted;

int BadUsage(const QString& message) {
  Print(stderr, QStringLiteral("%1 : %2.\nEssayez « %1 --help ».\n")
                    .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(), message));
  return kBadUsage;
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

// The toolkit's options, which it takes out of the arguments when it starts
// (with one or two dashes); some are only taken by the X11 platform, so the
// command line drops those the off-screen platform leaves.
struct ToolkitOption {
  const char* name;
  enum { Flag, Value, ValueOrEquals, Equals } kind;
};
constexpr ToolkitOption kToolkitOptions[] = {
    {"platform", ToolkitOption::Value},
    {"platformpluginpath", ToolkitOption::Value},
    {"platformtheme", ToolkitOption::Value},
    {"plugin", ToolkitOption::Value},
    {"qwindowgeometry", ToolkitOption::Value},
    {"qwindowicon", ToolkitOption::Value},
    {"qwindowtitle", ToolkitOption::Value},
    {"geometry", ToolkitOption::Value},
    {"title", ToolkitOption::Value},
    {"icon", ToolkitOption::Value},
    {"session", ToolkitOption::Value},
    {"display", ToolkitOption::Value},
    {"name", ToolkitOption::Value},
    {"visual", ToolkitOption::Value},
    {"style", ToolkitOption::ValueOrEquals},
    {"stylesheet", ToolkitOption::ValueOrEquals},
    {"qmljsdebugger", ToolkitOption::Equals},
    {"reverse", ToolkitOption::Flag},
    {"widgetcount", ToolkitOption::Flag},
    {"testability", ToolkitOption::Flag},
    {"nograb", ToolkitOption::Flag},
    {"dograb", ToolkitOption::Flag},
    {"sync", ToolkitOption::Flag},
};

// How many arguments from `i` on form one toolkit option; 0 when args[i] is
// not one.
qsizetype ToolkitArgumentCount(const QStringList& args, qsizetype i) {
  const QString& arg = args[i];
  if (!arg.startsWith(u'-') || arg == u"-" || arg == u"--") return 0;
  const QString option = arg.mid(arg.startsWith(QStringLiteral("--")) ? 2 : 1);
  const qsizetype equals = option.indexOf(u'=');
  const QString name = option.left(equals);
  for (const ToolkitOption& o : kToolkitOptions) {
    if (name != QLatin1String(o.name)) continue;
    if (equals >= 0) return o.kind == ToolkitOption::ValueOrEquals || o.kind == ToolkitOption::Equals ? 1 : 0;
    if (o.kind == ToolkitOption::Flag) return 1;
    if (o.kind == ToolkitOption::Equals) return 0;
    return i + 1 < args.size() ? 2 : 0;
  }
  return 0;
}

bool withoutWindow = false;  // the command line chose the off-screen platform
QtMessageHandler previousHandler = nullptr;

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
    return;
  if (previousHandler) {
    previousHandler(type, context, message);
  } else {
    Print(stderr, qFormatLogMessage(type, context, message) + u'\n');
  }
}

QString WithSeparator(const char* number, char separator) {
  return QString::fromLatin1(number).replace(u'.', QChar::fromLatin1(separator));
}

// The status bar's examples, with the running locale's separator and French
// punctuation.
QString Examples(char separator) {
  QStringList out;
  for (const char* e : {"12", "11.3", "11U3", "68U", "120R", "470E", "12K8", "12.8K", "1M3"})
    out << WithSeparator(e, separator);
  return out.join(QStringLiteral(" ; "));
}

// A resistance given on the command line, read as the window reads it, but
// refused when unreadable or not above 0: a script wants an error, not a
// curve of zeros.
std::optional<QString> ResistanceProblem(const QString& option, const QString& text, char separator) {
  const double ohms = ParseResistance(text.toLatin1().toStdString(), separator);
  if (ohms > 0 && std::isfinite(ohms)) return std::nullopt;
  return QStringLiteral(
             "valeur incorrecte pour %1 : %2 (une résistance de plus de 0 ohm, par exemple "
             "4K7 ou %3 ; le séparateur décimal est %4)")
      .arg(Quoted(option), Quoted(text), WithSeparator("4.7K", separator),
           Quoted(QChar::fromLatin1(separator)));
}

}  // namespace

void PrepareCommandLine(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  // The toolkit's own options ("-style fusion", "--reverse") and a bare "--"
  // still open the window; anything else is for the command line, which
  // either does it without a window or refuses it.
  bool ours = false;
  for (qsizetype i = 0; i < args.size() && !ours;) {
    if (args[i] == u"--") {
      ours = i + 1 < args.size();
      break;
    }
    const qsizetype n = ToolkitArgumentCount(args, i);
    ours = n == 0;
    i += n;
  }
  if (!ours) return;
  withoutWindow = true;
#ifdef Q_OS_WIN
  // Windows' offscreen platform finds no fonts; the minimal one asks the
  // system for them.
  qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
#else
  qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
  // No window, so the runtime folder is never used: the toolkit's notice
  // that it is unset would only clutter a script's output.
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) previousHandler = qInstallMessageHandler(QuietHandler);
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
  const char separator = forms::NumericDecimalSeparator();

  // What the toolkit left of its own options (the off-screen platform takes
  // fewer than the X11 one) is not ours to refuse.
  QStringList args = arguments.mid(0, 1);
  for (qsizetype i = 1; i < arguments.size();) {
    if (arguments[i] == u"--") {
      args += arguments.mid(i);
      break;
    }
    const qsizetype n = ToolkitArgumentCount(arguments, i);
    if (n == 0) args << arguments[i];
    i += std::max<qsizetype>(n, 1);
  }
  if (!parser.parse(args)) return BadUsage(ParseError(parser));
  if (!parser.positionalArguments().isEmpty())
    return BadUsage(
        QStringLiteral("argument inattendu %1").arg(Quoted(parser.positionalArguments().first())));
  if (parser.isSet(help)) {
    Print(stdout, QString::fromUtf8(kHelp).arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                                               Examples(separator), Quoted(QChar::fromLatin1(separator))));
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
    // Never a window nobody can see, running for ever.
    if (withoutWindow) return BadUsage(QStringLiteral("rien à faire sans fenêtre"));
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
    if (!ok || lawIndex < 0 || lawIndex > 2)
      return BadUsage(
          QStringLiteral("indice de loi incorrect %1 (0, 1 ou 2)").arg(Quoted(parser.value(law))));
  }
  for (const auto* o : {&p1, &r1, &r2})
    if (parser.isSet(*o))
      if (const auto problem = ResistanceProblem("--" + o->names().first(), parser.value(*o), separator))
        return BadUsage(*problem);

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

  const QString reason = forms::SaveWindowFile(window, file, *type);
  if (!reason.isEmpty()) {
    Print(stderr, QStringLiteral("%1 : %2\n")
                      .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                           forms::SaveFailureMessage(file, reason)));
    return kCannotWrite;
  }
  return kOk;
}

}  // namespace dorvane::app
