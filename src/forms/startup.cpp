#include "forms/startup.h"

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>
#endif
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cstring>

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
  name = name.section(u'.', 0, 0).section(u'@', 0, 0);
#ifdef Q_OS_WIN
  // Windows keeps the user's number format in the regional settings, not in
  // the environment.
  const QLocale locale = name.isEmpty() ? QLocale::system() : QLocale(name);
  if (name == u"C" || name == u"POSIX") return '.';
#else
  if (name.isEmpty() || name == u"C" || name == u"POSIX") return '.';
  const QLocale locale(name);
#endif
  if (locale.language() == QLocale::C) return '.';
  const QString point = locale.decimalPoint();
  return point.size() == 1 && point[0].unicode() < 128 ? char(point[0].unicode()) : '.';
}

#ifndef Q_OS_WIN

namespace {

// Connects the way the toolkit's X11 platform does (file socket, Linux's
// abstract socket, TCP, authorisation included) and hangs up again.
bool XServerAnswers(const QString& display) {
  xcb_connection_t* connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
  const bool ok = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return ok;
}

// A compositor listens on $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY (or on the path
// itself when it is absolute); a left-over name with nobody behind it is not
// a desktop.
bool WaylandAnswers(const QString& name) {
  QString path = name.isEmpty() ? QStringLiteral("wayland-0") : name;
  if (!path.startsWith(u'/')) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty()) return false;
    path = runtime + u'/' + path;
  }
  const QByteArray file = QFile::encodeName(path);
  sockaddr_un address{};
  if (file.size() >= qsizetype(sizeof address.sun_path)) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, file.constData(), size_t(file.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return ok;
}

// Debian ships the toolkit's Wayland plugin in its own package.
bool WaylandPluginInstalled() {
  const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
  return !platforms.entryList({QStringLiteral("libqwayland*.so")}, QDir::Files).isEmpty();
}

}  // namespace

#endif

namespace {

// Kept by hand from the toolkit's own start-up: it takes these out of the
// arguments only once the application object exists, and the platform must be
// chosen before. Check the list again when the toolkit's version changes (the
// command-line tests try each kind of option).
struct ToolkitOptionKind {
  const char* name;
  enum { Flag, Value, ValueOrEquals, Equals } kind;
};
constexpr ToolkitOptionKind kToolkitOptions[] = {
    {"platform", ToolkitOptionKind::Value},
    {"platformpluginpath", ToolkitOptionKind::Value},
    {"platformtheme", ToolkitOptionKind::Value},
    {"plugin", ToolkitOptionKind::Value},
    {"qwindowgeometry", ToolkitOptionKind::Value},
    {"qwindowicon", ToolkitOptionKind::Value},
    {"qwindowtitle", ToolkitOptionKind::Value},
    {"geometry", ToolkitOptionKind::Value},
    {"title", ToolkitOptionKind::Value},
    {"icon", ToolkitOptionKind::Value},
    {"session", ToolkitOptionKind::Value},
    {"display", ToolkitOptionKind::Value},
    {"name", ToolkitOptionKind::Value},
    {"visual", ToolkitOptionKind::Value},
    {"style", ToolkitOptionKind::ValueOrEquals},
    {"stylesheet", ToolkitOptionKind::ValueOrEquals},
    {"qmljsdebugger", ToolkitOptionKind::Equals},
    {"reverse", ToolkitOptionKind::Flag},
    {"widgetcount", ToolkitOptionKind::Flag},
    {"testability", ToolkitOptionKind::Flag},
    {"nograb", ToolkitOptionKind::Flag},
    {"dograb", ToolkitOptionKind::Flag},
    {"sync", ToolkitOptionKind::Flag},
};

QString OptionName(const QString& arg) {
  return arg.mid(arg.startsWith(QStringLiteral("--")) ? 2 : 1).section(u'=', 0, 0);
}

// The value of one of the toolkit's value options ("-platform xcb",
// "--platform=xcb"); the last one given counts, as with the toolkit.
QString ToolkitOption(const QStringList& arguments, QStringView name) {
  QString value;
  for (qsizetype i = 1; i < arguments.size();) {
    if (arguments[i] == u"--") break;
    const qsizetype n = ToolkitArgumentCount(arguments, i);
    if (n > 0 && OptionName(arguments[i]) == name)
      value = n == 2 ? arguments[i + 1] : arguments[i].section(u'=', 1);
    i += std::max<qsizetype>(n, 1);
  }
  return value;
}

#ifndef Q_OS_WIN
QString NoWayland(const QString& wayland) {
  return QStringLiteral("le serveur Wayland %1 ne répond pas")
      .arg(wayland.isEmpty() ? QStringLiteral("wayland-0") : wayland);
}

QString NoX(const QString& display) {
  if (display.isEmpty())
    return QStringLiteral("aucun affichage graphique : la variable DISPLAY n'est pas définie");
  return QStringLiteral("le serveur X de l'affichage %1 ne répond pas").arg(display);
}

#endif

}  // namespace

qsizetype ToolkitArgumentCount(const QStringList& args, qsizetype i) {
  const QString& arg = args[i];
  if (!arg.startsWith(u'-') || arg == u"-" || arg == u"--") return 0;
  const bool equals = arg.contains(u'=');
  const QString name = OptionName(arg);
  for (const ToolkitOptionKind& o : kToolkitOptions) {
    if (name != QLatin1String(o.name)) continue;
    if (equals)
      return o.kind == ToolkitOptionKind::ValueOrEquals || o.kind == ToolkitOptionKind::Equals ? 1 : 0;
    if (o.kind == ToolkitOptionKind::Flag) return 1;
    if (o.kind == ToolkitOptionKind::Equals) return 0;
    return i + 1 < args.size() ? 2 : 0;
  }
  return 0;
}

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
    const QString name = OptionName(arguments[i]);
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

#ifdef Q_OS_WIN

// Windows always has its desktop: nothing to probe.
QString DisplayProblem(const QStringList&) {
  return {};
}

#else

QString DisplayProblem(const QStringList& arguments) {
  QString platform = ToolkitOption(arguments, u"platform");
  if (platform.isEmpty()) platform = qEnvironmentVariable("QT_QPA_PLATFORM");
  QString display = ToolkitOption(arguments, u"display");
  if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
  const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");

  // A platform the user chose is respected: the toolkit tries each name of
  // the list in turn, and only the two desktop ones can be checked here. The
  // toolkit is told to start at the first one that can work: it would print
  // why each one before failed, and a fallback is no error.
  if (!platform.isEmpty()) {
    QStringList problems;
    const QStringList entries = platform.split(u';', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < entries.size(); ++i) {
      const QString name = entries[i].section(u':', 0, 0);
      bool usable = true;
      if (name.startsWith(u"wayland")) {
        usable = WaylandAnswers(wayland) && WaylandPluginInstalled();
        if (!usable)
          problems << (WaylandAnswers(wayland)
                           ? QStringLiteral("le module Wayland de Qt (paquet qt6-wayland) n'est pas installé")
                           : NoWayland(wayland));
      } else if (name == u"xcb") {
        usable = !display.isEmpty() && XServerAnswers(display);
        if (!usable) problems << NoX(display);
      }
      if (!usable) continue;
      if (i > 0 && ToolkitOption(arguments, u"platform").isEmpty())
        qputenv("QT_QPA_PLATFORM", entries.mid(i).join(u';').toLocal8Bit());
      return {};
    }
    return problems.join(QStringLiteral(", et "));
  }

  // Otherwise the toolkit would try X11 alone and abort without one.
  const bool waylandLive = !wayland.isEmpty() && WaylandAnswers(wayland);
  if (waylandLive && WaylandPluginInstalled()) {
    qputenv("QT_QPA_PLATFORM", "wayland");
    return {};
  }
  if (!display.isEmpty() && XServerAnswers(display)) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    return {};
  }
  if (waylandLive)
    return QStringLiteral(
        "le module Wayland de Qt (paquet qt6-wayland) n'est pas installé et aucun serveur X ne répond");
  if (!wayland.isEmpty()) return NoWayland(wayland);
  if (display.isEmpty())
    return QStringLiteral("aucun affichage graphique : ni DISPLAY ni WAYLAND_DISPLAY n'est défini");
  return NoX(display);
}

#endif

}  // namespace dorvane::forms
