#include "e2e/x_session.h"

#include <cstdio>

#include <sys/types.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <cstring>

namespace dorvane::e2e {

void Sleep(int ms) {
  QThread::msleep(ms);
}

namespace {
// xdotool takes a POSIX extended regex, and window names reach it through
// the C locale: escape the metacharacters, and let anything stand for a
// character beyond ASCII.
QString EscapeRegex(const QString& text) {
  QString out;
  for (QChar c : text) {
    if (c.unicode() > 127) {
      out += QStringLiteral(".+");
      continue;
    }
    if (QStringLiteral(".[](){}*+?|^$\\").contains(c)) out += u'\\';
    out += c;
  }
  return out;
}
}  // namespace

XSession::XSession(const QStringList& serverArgs, const QString& screen) {
  // On a loaded machine a new Xvfb now and then refuses its first clients
  // (the window manager among them): such a session is begun again, and says
  // so on stderr. The third is kept as it is, for the test to fail on what it
  // sees. This can go once runs on a loaded machine no longer print that line.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (Begin(serverArgs, screen) || !error_.isEmpty()) return;
    std::fprintf(stderr, "x_session: the X server refused its first clients; begun again\n");
    Stop();
    display_.clear();
  }
  Begin(serverArgs, screen);
}

bool XSession::Begin(const QStringList& serverArgs, const QString& screen) {
  if (QStandardPaths::findExecutable("Xvfb").isEmpty()) {
    error_ = "Xvfb is not installed";
    return false;
  }
  // -displayfd: the server picks a free display and writes it when ready.
  int fds[2];
  if (::pipe(fds) != 0) {
    error_ = "pipe failed";
    return false;
  }
  auto server = std::make_unique<QProcess>();
  server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  server->setChildProcessModifier([fds] { ::close(fds[0]); });
  server->start("Xvfb",
                QStringList{"-displayfd", QString::number(fds[1]), "-screen", "0", screen} + serverArgs);
  ::close(fds[1]);
  if (!server->waitForStarted(5000)) {
    ::close(fds[0]);
    error_ = "Xvfb did not start";
    return false;
  }
  QByteArray number;
  char c;
  while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  ::close(fds[0]);
  processes_.push_back(std::move(server));
  if (number.isEmpty()) {
    error_ = "Xvfb gave no display";
    return false;
  }
  display_ = ":" + QString::fromLatin1(number);
  // A client can be refused just after the server names its display.
  for (int i = 0; i < 50; ++i) {
    int rc = -1;
    run("xprop", {"-root", "-len", "0", "_NET_SUPPORTING_WM_CHECK"}, &rc);
    if (rc == 0) break;
    Sleep(100);
  }
  if (QStandardPaths::findExecutable("openbox").isEmpty()) return true;
  start("openbox", {"--sm-disable"});
  // The window manager owns the screen once it answers on the root window.
  for (int i = 0; i < 50; ++i) {
    int rc = -1;
    const QByteArray out = run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}, &rc);
    if (rc == 0 && out.contains("window id")) return true;
    Sleep(100);
  }
  return false;
}

XSession::~XSession() {
  Stop();
}

void XSession::Stop() {
  // Programs first, the server last; each by its PID.
  for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
    QProcess& p = **it;
    if (p.state() == QProcess::NotRunning) continue;
    ::kill(pid_t(p.processId()), SIGTERM);
    if (!p.waitForFinished(3000)) {
      ::kill(pid_t(p.processId()), SIGKILL);
      p.waitForFinished(3000);
    }
  }
  processes_.clear();
}

QProcessEnvironment XSession::env() const {
  QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
  e.insert("DISPLAY", display_);
  e.insert("XDG_CONFIG_HOME", config_.path());
  e.remove("QT_QPA_PLATFORM");
  e.remove("WAYLAND_DISPLAY");
  return e;
}

QProcess& XSession::start(const QString& program, const QStringList& args, const QStringList& extraEnv,
                          QProcess::ProcessChannelMode channels) {
  auto p = std::make_unique<QProcess>();
  QProcessEnvironment e = env();
  for (const QString& kv : extraEnv) e.insert(kv.section('=', 0, 0), kv.section('=', 1));
  p->setProcessEnvironment(e);
  p->setProcessChannelMode(channels);
  p->start(program, args);
  p->waitForStarted(5000);
  processes_.push_back(std::move(p));
  return *processes_.back();
}

QByteArray XSession::run(const QString& tool, const QStringList& args, int* exitCode, int timeoutMs) {
  QProcess p;
  p.setProcessEnvironment(env());
  p.start(tool, args);
  if (!p.waitForFinished(timeoutMs)) {
    p.kill();
    p.waitForFinished(1000);
    if (exitCode) *exitCode = -1;
    return {};
  }
  if (exitCode) *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  return p.readAllStandardOutput();
}

qulonglong XSession::waitForWindow(const QString& title, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < timeoutMs) {
    const QByteArray out =
        run("xdotool", {"search", "--onlyvisible", "--name", "^" + EscapeRegex(title) + "$"});
    const QList<QByteArray> ids = out.trimmed().split('\n');
    if (!ids.isEmpty() && !ids.first().isEmpty()) return ids.first().toULongLong();
    Sleep(50);
  }
  return 0;
}

QImage XSession::screenshot(qulonglong window) {
  const QByteArray png = run("import", {"-window", QString::number(window), "png:-"});
  QImage image;
  image.loadFromData(png, "PNG");
  return image.convertToFormat(QImage::Format_RGB32);
}

void XSession::key(const QString& keys) {
  run("xdotool", {"key", "--clearmodifiers", keys});
}

void XSession::type(const QString& text) {
  run("xdotool", {"type", "--delay", "20", text});
}

void XSession::click(qulonglong window, int x, int y, int button) {
  run("xdotool", {"mousemove", "--window", QString::number(window), QString::number(x), QString::number(y)});
  run("xdotool", {"click", QString::number(button)});
}

void XSession::focus(qulonglong window) {
  run("xdotool", {"windowfocus", "--sync", QString::number(window)});
}

QRect XSession::frame(qulonglong window) {
  const QString id = QString::number(window);
  const QString info = QString::fromUtf8(run("xwininfo", {"-id", id}));
  const auto field = [&](const char* name) {
    const qsizetype at = info.indexOf(QLatin1String(name));
    return at < 0 ? -1 : info.mid(at + qsizetype(std::strlen(name))).section(u'\n', 0, 0).trimmed().toInt();
  };
  const QRect client(field("Absolute upper-left X:"), field("Absolute upper-left Y:"), field("Width:"),
                     field("Height:"));
  // _NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom
  const QString extents = QString::fromUtf8(run("xprop", {"-id", id, "_NET_FRAME_EXTENTS"})).section(u'=', 1);
  const QStringList e = extents.split(u',');
  if (client.width() <= 0 || e.size() != 4) return {};
  return client.adjusted(-e[0].trimmed().toInt(), -e[2].trimmed().toInt(), e[1].trimmed().toInt(),
                         e[3].trimmed().toInt());
}

}  // namespace dorvane::e2e
