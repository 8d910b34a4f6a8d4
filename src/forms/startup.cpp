#include "forms/startup.h"

#include <xcb/xcb.h>
#include <QFileInfo>
#include <QLocale>

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

// Connects the way the toolkit's X11 platform does (file socket, Linux's
// abstract socket, TCP, authorisation included) and hangs up again.
bool XServerAnswers(const QString& display) {
  xcb_connection_t* connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
  const bool ok = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return ok;
}

}  // namespace

QString DisplayProblem() {
  const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
  if (!platform.isEmpty() && !platform.startsWith(u"xcb") && !platform.startsWith(u"wayland")) return {};
  const QString display = qEnvironmentVariable("DISPLAY");
  const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty() && wayland.isEmpty())
    return QStringLiteral("aucun affichage graphique : la variable DISPLAY n'est pas définie");
  if (!display.isEmpty() && wayland.isEmpty() && !XServerAnswers(display))
    return QStringLiteral("le serveur X de l'affichage %1 ne répond pas").arg(display);
  return {};
}

}  // namespace dorvane::forms
