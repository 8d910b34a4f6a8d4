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

#ifdef Q_OS_WIN

// Windows always has its desktop: nothing to probe.
QString DisplayProblem() {
  return {};
}

#else

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

QString DisplayProblem() {
  const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
  const QString display = qEnvironmentVariable("DISPLAY");
  const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
  // A platform the user chose is respected; only the two desktop ones can be
  // checked before the toolkit starts.
  if (platform.startsWith(u"wayland")) {
    if (!WaylandAnswers(wayland))
      return QStringLiteral("le serveur Wayland %1 ne répond pas")
          .arg(wayland.isEmpty() ? QStringLiteral("wayland-0") : wayland);
    return {};
  }
  if (platform.startsWith(u"xcb")) {
    if (display.isEmpty())
      return QStringLiteral("aucun affichage graphique : la variable DISPLAY n'est pas définie");
    if (!XServerAnswers(display))
      return QStringLiteral("le serveur X de l'affichage %1 ne répond pas").arg(display);
    return {};
  }
  if (!platform.isEmpty()) return {};

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
  if (!wayland.isEmpty()) return QStringLiteral("le serveur Wayland %1 ne répond pas").arg(wayland);
  if (display.isEmpty())
    return QStringLiteral("aucun affichage graphique : ni DISPLAY ni WAYLAND_DISPLAY n'est défini");
  return QStringLiteral("le serveur X de l'affichage %1 ne répond pas").arg(display);
}

#endif

}  // namespace dorvane::forms
