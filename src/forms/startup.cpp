#include "forms/startup.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

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
  if (name.isEmpty() || name == u"C" || name == u"POSIX") return '.';
  const QLocale locale(name);
  if (locale.language() == QLocale::C) return '.';
  const QString point = locale.decimalPoint();
  return point.size() == 1 && point[0].unicode() < 128 ? char(point[0].unicode()) : '.';
}

namespace {

// A local X display (":N" or "unix:N") answers on its socket.
bool LocalXServerAnswers(const QString& display) {
  static const QRegularExpression local(QStringLiteral("^(unix)?:(\\d+)(\\.\\d+)?$"));
  const QRegularExpressionMatch m = local.match(display);
  if (!m.hasMatch()) return true;  // remote or unusual: let the toolkit try
  const QByteArray path = "/tmp/.X11-unix/X" + m.captured(2).toLatin1();
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, path.constData(), std::min<size_t>(path.size(), sizeof addr.sun_path - 1));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return true;
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  ::close(fd);
  if (ok) return true;
  // Abstract sockets (Linux) are tried by the toolkit too.
  return false;
}

}  // namespace

QString DisplayProblem() {
  const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
  if (!platform.isEmpty() && !platform.startsWith(u"xcb") && !platform.startsWith(u"wayland")) return {};
  const QString display = qEnvironmentVariable("DISPLAY");
  const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty() && wayland.isEmpty())
    return QStringLiteral("aucun affichage graphique : la variable DISPLAY n'est pas définie");
  if (!display.isEmpty() && wayland.isEmpty() && !LocalXServerAnswers(display))
    return QStringLiteral("le serveur X de l'affichage %1 ne répond pas").arg(display);
  return {};
}

}  // namespace dorvane::forms
