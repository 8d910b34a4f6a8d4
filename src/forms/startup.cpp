#include "forms/startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cstring>

#include "forms/toolkit_workarounds.h"
#include "platform/desktop.h"
#include "platform/display.h"

namespace dorvane::forms {

QString TitleFromProgramFile(const QString& path) {
  QString name = QFileInfo(path).fileName();
  const qsizetype dot = name.indexOf(u'.');
  if (dot >= 0) name.truncate(dot);
  if (name.size() > 1) name = name.left(1) + name.mid(1).toLower();
  return name;
}

char NumericDecimalSeparator() {
  QString name;
  for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    name = qEnvironmentVariable(var);
    if (!name.isEmpty()) break;
  }
  const QLocale locale = platform::NumericLocale(name.section(u'.', 0, 0).section(u'@', 0, 0));
  if (locale.language() == QLocale::C) return '.';
  const QString point = locale.decimalPoint();
  return point.size() == 1 && point[0].unicode() < 128 ? char(point[0].unicode()) : '.';
}

namespace {

// The value of one of the toolkit's value options ("-platform xcb",
// "--platform=xcb"); the last one given counts, as with the toolkit.
QString ToolkitOption(const QStringList& arguments, QStringView name) {
  QString value;
  for (qsizetype i = 1; i < arguments.size();) {
    if (arguments[i] == u"--") break;
    const qsizetype n = ToolkitArgumentCount(arguments, i);
    if (n > 0 && ToolkitOptionName(arguments[i]) == name)
      value = n == 2 ? arguments[i + 1] : arguments[i].section(u'=', 1);
    i += std::max<qsizetype>(n, 1);
  }
  return value;
}

}  // namespace

std::optional<WindowPlacement> RequestedPlacement(const QStringList& arguments) {
  QString spec = ToolkitOption(arguments, u"qwindowgeometry");
  if (spec.isEmpty()) spec = ToolkitOption(arguments, u"geometry");
  static const QRegularExpression position(QStringLiteral(R"(([+-])(-?\d+)([+-])(-?\d+)$)"));
  const QRegularExpressionMatch m = position.match(spec);
  if (!m.hasMatch()) return std::nullopt;
  return WindowPlacement{
      {m.captured(2).toInt(), m.captured(4).toInt()}, m.captured(1) == u"-", m.captured(3) == u"-"};
}

void TakeOutPlacementOptions(int& argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  int kept = 1;
  for (int i = 1; i < argc;) {
    const qsizetype n = arguments[i] == u"--" ? 0 : ToolkitArgumentCount(arguments, i);
    const QString name = ToolkitOptionName(arguments[i]);
    if (n > 0 && (name == u"geometry" || name == u"qwindowgeometry")) {
      i += int(n);
      continue;
    }
    if (arguments[i] == u"--") {
      while (i < argc) argv[kept++] = argv[i++];
      break;
    }
    for (qsizetype j = 0; j < std::max<qsizetype>(n, 1); ++j) argv[kept++] = argv[i++];
  }
  for (int i = kept; i < argc; ++i) argv[i] = nullptr;
  argc = kept;
}

QString DisplayProblem(const QStringList& arguments) {
  return platform::DisplayProblem(ToolkitOption(arguments, u"platform"),
                                  ToolkitOption(arguments, u"display"));
}

}  // namespace dorvane::forms
