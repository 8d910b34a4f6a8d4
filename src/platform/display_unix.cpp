#include "platform/display.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <cstring>

namespace dorvane::platform {

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

namespace {

QString NoWayland(const QString& wayland) {
  return QStringLiteral("le serveur Wayland %1 ne répond pas")
      .arg(wayland.isEmpty() ? QStringLiteral("wayland-0") : wayland);
}

QString NoX(const QString& display) {
  if (display.isEmpty())
    return QStringLiteral("aucun affichage graphique : la variable DISPLAY n'est pas définie");
  return QStringLiteral("le serveur X de l'affichage %1 ne répond pas").arg(display);
}

}  // namespace

QString DisplayProblem(const QString& platformOption, const QString& displayOption) {
  QString platform = platformOption;
  if (platform.isEmpty()) platform = qEnvironmentVariable("QT_QPA_PLATFORM");
  QString display = displayOption;
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
      if (i > 0 && platformOption.isEmpty())
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

}  // namespace dorvane::platform
