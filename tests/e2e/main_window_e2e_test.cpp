// The real program on a real X server: it shows its window, draws the
// gradient, the chart and the curves, follows typing and clicks, and quits
// from its menu with status 0.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <string>

#include "e2e/x_session.h"
#include "support/c_locale.h"

namespace dorvane::e2e {
namespace {

TEST(EndToEnd, MainJobOnARealDisplay) {
  ASSERT_TRUE(test::ScopedCLocale("fr_FR.UTF-8").InForce()) << "fr_FR.UTF-8 is not generated";
  XSession x;
  if (!x.ok()) GTEST_SKIP() << x.error().toStdString();
  QProcess& program = x.start(DORVANE_BINARY, {}, {"LC_ALL=fr_FR.UTF-8"});
  const qulonglong wid = x.waitForWindow(kMainTitle);
  ASSERT_NE(wid, 0u) << "the window never showed";
  x.focus(wid);

  const auto ready = [](const QImage& s) { return PanelTop(s) >= 0; };
  QImage shot = x.screenshotUntil(wid, ready);
  const int top = PanelTop(shot);
  ASSERT_GE(top, 0);
  EXPECT_EQ(shot.width(), 606);
  EXPECT_EQ(shot.height(), top + 374);

  // Gradient bands at known rows of the panel (red, green, blue).
  EXPECT_EQ(At(shot, 3, top + 0), qRgb(115, 220, 225));
  EXPECT_EQ(At(shot, 3, top + 100), qRgb(86, 165, 233));  // band 5 starts at 93
  EXPECT_EQ(At(shot, 3, top + 285), qRgb(29, 55, 247));   // band 15 starts at 280
  EXPECT_EQ(At(shot, 3, top + 350), qRgb(11, 22, 252));   // band 18

  // The chart: aqua panel, black plot, green and red curves.
  const QRect chart(248, top + 16, 345, 321);
  EXPECT_EQ(At(shot, chart.left() + 1, chart.top() + 1), qRgb(0, 255, 255));
  EXPECT_EQ(At(shot, chart.right() - 1, chart.bottom() - 1), qRgb(0, 255, 255));
  const QRect plotCorner(chart.left() + 60, chart.top() + 40, 20, 20);  // above both curves
  EXPECT_GT(CountColour(shot, plotCorner, qRgb(0, 0, 0)), 300);
  EXPECT_GT(CountColour(shot, chart, qRgb(128, 255, 0)), 200);
  EXPECT_GT(CountColour(shot, chart, qRgb(255, 0, 0)), 200);
  EXPECT_EQ(CountColour(shot, chart, qRgb(192, 192, 192)), 0);  // log curve off

  if (qEnvironmentVariableIsSet("DORVANE_SCREENSHOT")) shot.save(qEnvironmentVariable("DORVANE_SCREENSHOT"));

  // Typing into R2 changes the loaded curve.
  const QImage before = shot.copy(chart);
  x.click(wid, 160 + 40, top + 88 + 10);
  x.key("End");
  x.type("2");
  shot = x.screenshotUntil(wid, [&](const QImage& s) { return s.copy(chart) != before; });
  EXPECT_NE(shot.copy(chart), before) << "typing did not redraw the chart";

  // Ticking R1 replots the curves and writes another title.
  const QImage beforeTick = shot.copy(chart);
  x.click(wid, 16 + 6, top + 64 + 10);
  shot = x.screenshotUntil(wid, [&](const QImage& s) { return s.copy(chart) != beforeTick; });
  EXPECT_NE(shot.copy(chart), beforeTick);
  const QRect titleBand(chart.left(), chart.top() + 8, chart.width(), 16);
  EXPECT_NE(shot.copy(titleBand), beforeTick.copy(titleBand.translated(-chart.topLeft())));

  // Quit with Alt+F then Q: status 0.
  x.focus(wid);
  x.key("alt+f");
  Sleep(300);
  x.key("q");
  ASSERT_TRUE(program.waitForFinished(10000)) << "the program did not end";
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
}

// A server is accepted however the toolkit reaches it: only through Linux's
// abstract socket (the socket file hidden, as in containers), over TCP, named
// by the toolkit's own options, or as the X11 entry of a fallback list whose
// Wayland compositor is gone.
TEST(EndToEnd, StartsOnEveryWayTheServerListens) {
  const QStringList tcp = {"-listen", "tcp", "-nolisten", "unix", "-ac"};
  const struct {
    QStringList serverArgs;
    QString host;  // put before ":N"
    QStringList env;
    QStringList args;  // "DISPLAY" stands for the server's display
  } cases[] = {
      {{"-nolisten", "tcp", "-nolisten", "unix"}, "", {}, {}},
      {tcp, "127.0.0.1", {}, {}},
      {{"-nolisten", "tcp"},
       "",
       {"QT_QPA_PLATFORM=wayland;xcb", "WAYLAND_DISPLAY=/nonexistent/wayland-9"},
       {}},
      {{"-nolisten", "tcp"}, "", {"DISPLAY="}, {"-display", "DISPLAY"}},
      {{"-nolisten", "tcp"},
       "",
       {"QT_QPA_PLATFORM=wayland", "WAYLAND_DISPLAY=/nonexistent/wayland-9"},
       {"-platform", "xcb"}},
  };
  for (const auto& c : cases) {
    XSession x(c.serverArgs);
    if (!x.ok()) GTEST_SKIP() << x.error().toStdString();
    QStringList args = c.args;
    args.replaceInStrings(QStringLiteral("DISPLAY"), x.display());
    QTemporaryDir runtime;  // as a desktop session has it
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QStringList env = {"DISPLAY=" + c.host + x.display(), "XDG_RUNTIME_DIR=" + runtime.path()};
    env << c.env;
    QProcess& program = x.start(DORVANE_BINARY, args, env, QProcess::ForwardedOutputChannel);
    const std::string row = (c.serverArgs + c.env + c.args).join(' ').toStdString();
    EXPECT_NE(x.waitForWindow(kMainTitle, 10000), 0u) << row;
    // A fallback is no error: nothing on stderr.
    program.terminate();
    program.waitForFinished(5000);
    EXPECT_EQ(program.readAllStandardError().toStdString(), "") << row;
  }
}

// Docks tie the running window to its launcher by the window's class.
TEST(EndToEnd, WindowClassIsTheDesktopEntrysStartupWMClass) {
  QFile entry(DORVANE_SOURCE_DIR "/resources/org.dorvane.Dorvane.desktop");
  ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
  QString wanted;
  for (const QByteArray& line : entry.readAll().split('\n'))
    if (line.startsWith("StartupWMClass=")) wanted = QString::fromUtf8(line.mid(15)).trimmed();
  EXPECT_FALSE(wanted.isEmpty()) << "no StartupWMClass";
  XSession x;
  if (!x.ok()) GTEST_SKIP() << x.error().toStdString();
  x.start(DORVANE_BINARY);
  const qulonglong wid = x.waitForWindow(kMainTitle);
  ASSERT_NE(wid, 0u);
  // WM_CLASS(STRING) = "instance", "class"
  const QString wmClass = QString::fromUtf8(x.run("xprop", {"-id", QString::number(wid), "WM_CLASS"}));
  EXPECT_EQ(wmClass.section(u'"', 3, 3).toStdString(), wanted.toStdString()) << wmClass.toStdString();
}

// The designed place when the whole frame fits on the screen, otherwise the
// least move that makes it fit; the finder fits on the smallest screen too.
TEST(EndToEnd, WholeWindowOnEveryScreenSize) {
  const struct {
    QSize screen;
    QStringList args;
    QPoint designed = {292, 204};
    bool fromBottomRight = false;  // `designed` counts from the far edges
  } cases[] = {
      {{1280, 1024}, {}},
      {{1024, 600}, {}},
      {{800, 600}, {}},
      {{640, 480}, {}},
      // The toolkit's own placement is kept; negative offsets count from the
      // right and bottom edges to the frame's far side.
      {{800, 600}, {"-geometry", "+10+10"}, {10, 10}},
      {{800, 600}, {"-geometry", "-0-0"}, {-0, -0}, true},
      {{1280, 1024}, {"-geometry", "-10-10"}, {-10, -10}, true},
  };
  for (const auto& c : cases) {
    const QSize& screen = c.screen;
    const QPoint designed = c.designed;
    const std::string row = std::to_string(screen.width()) + "x" + std::to_string(screen.height()) + " " +
                            c.args.join(' ').toStdString();
    XSession x({"-nolisten", "tcp"}, QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height()));
    if (!x.ok()) GTEST_SKIP() << x.error().toStdString();
    x.start(DORVANE_BINARY, c.args, {"LC_ALL=fr_FR.UTF-8"});
    const qulonglong wid = x.waitForWindow(kMainTitle);
    ASSERT_NE(wid, 0u) << row;
    for (int i = 0; i < 50 && x.frame(wid).isNull(); ++i) Sleep(100);
    Sleep(500);  // the window is placed again once its frame is known
    const QRect frame = x.frame(wid);
    ASSERT_FALSE(frame.isNull()) << row;
    const QPoint corner = c.fromBottomRight
                              ? QPoint(screen.width() - frame.width(), screen.height() - frame.height())
                              : QPoint();
    const QPoint wanted(std::max(0, std::min(corner.x() + designed.x(), screen.width() - frame.width())),
                        std::max(0, std::min(corner.y() + designed.y(), screen.height() - frame.height())));
    EXPECT_EQ(frame.topLeft(), wanted) << row << ": frame " << frame.width() << "x" << frame.height();
    EXPECT_TRUE(QRect(QPoint(), screen).contains(frame)) << row;

    if (screen.width() > 640 || !c.args.isEmpty()) continue;
    x.focus(wid);
    x.key("alt+o");
    Sleep(300);
    x.key("t");
    const qulonglong finder = x.waitForWindow(QString::fromUtf8("Trouver la résistance"));
    ASSERT_NE(finder, 0u) << row;
    Sleep(500);
    const QRect dialog = x.frame(finder);
    EXPECT_TRUE(QRect(QPoint(), screen).contains(dialog))
        << row << ": finder at " << dialog.x() << "," << dialog.y() << " " << dialog.width() << "x"
        << dialog.height();
  }
}

// weston's X11 backend nested in the session's Xvfb, so that keys reach it,
// without its on-screen keyboard over the windows; returns its X window, 0
// when it did not show.
qulonglong StartWeston(XSession& x, const QString& runtime, const QString& socket) {
  QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QFile config(runtime + "/weston.ini");
  if (!config.open(QIODevice::WriteOnly) || config.write("[input-method]\npath=/bin/true\n") < 0) return 0;
  config.close();
  x.start("weston",
          {"--backend=x11-backend.so", "--use-pixman", "--socket=" + socket, "--width=800", "--height=600",
           "--idle-time=0", "--config=" + config.fileName()},
          {"XDG_RUNTIME_DIR=" + runtime});
  qulonglong compositor = 0;
  for (int i = 0; i < 300 && !compositor; ++i) {
    Sleep(100);
    const QByteArray ids = x.run("xdotool", {"search", "--onlyvisible", "--class", "weston"});
    compositor = ids.trimmed().split('\n').first().toULongLong();
  }
  return QFile::exists(runtime + u'/' + socket) ? compositor : 0;
}

// A Wayland desktop with no X server for its programs: weston on the
// session's Xvfb.
class OnWayland : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable("weston").isEmpty()) GTEST_SKIP() << "weston is not installed";
    if (!x.ok()) GTEST_SKIP() << x.error().toStdString();
    ASSERT_TRUE(runtime.isValid());
    compositor = StartWeston(x, runtime.path(), socket);
    ASSERT_NE(compositor, 0u) << "weston showed no window";
  }
  XSession x;
  QTemporaryDir runtime;
  const QString socket = QStringLiteral("dorvane-e2e");
  qulonglong compositor = 0;
};

// On Wayland the program starts there and quits from its menu with status 0.
TEST_F(OnWayland, QuitsFromItsMenu) {
  QProcess& program = x.start(
      DORVANE_BINARY, {},
      {"LC_ALL=fr_FR.UTF-8", "DISPLAY=", "XDG_RUNTIME_DIR=" + runtime.path(), "WAYLAND_DISPLAY=" + socket});
  ASSERT_FALSE(program.waitForFinished(3000)) << "ended with status " << program.exitCode();
  // Keys only once the window is drawn (its cyan chart panel); a menu left
  // open is closed before a retry.
  const QImage shown = x.screenshotUntil(
      compositor, [](const QImage& img) { return CountColour(img, img.rect(), qRgb(0, 255, 255)) > 1000; },
      30000);
  ASSERT_GT(CountColour(shown, shown.rect(), qRgb(0, 255, 255)), 1000) << "no window on the compositor";

  // The compositor's own maximise and full-screen keys: the program runs on,
  // with the value typed into R2 (its chart).
  const auto chart = [](const QImage& s) { return s.copy(Bounds(s, qRgb(0, 255, 255))); };
  x.focus(compositor);
  x.type("2");  // over the selected R2
  const QImage typed =
      chart(x.screenshotUntil(compositor, [&](const QImage& s) { return chart(s) != chart(shown); }));
  ASSERT_NE(typed, chart(shown)) << "typing did not reach R2";
  for (const char* keys : {"super+shift+m", "super+shift+f"}) {
    x.key(keys);
    ASSERT_FALSE(program.waitForFinished(1500)) << keys << " ended the program";
  }
  EXPECT_EQ(chart(x.screenshot(compositor)), typed);

  // The main window has the keyboard as soon as a dialog goes: Alt+I as the
  // closed about box leaves the screen opens its menu.
  const auto menuOpen = [](const QImage& s) { return CountColour(s, s.rect(), qRgb(48, 140, 198)) > 500; };
  const QImage before = x.screenshot(compositor);
  x.key("alt+a");
  x.screenshotUntil(compositor, menuOpen);
  x.key("a");
  QImage about;  // the box, once drawn
  x.screenshotUntil(compositor, [&](const QImage& s) {
    const bool settled = s == about && s != before && !menuOpen(s);
    about = s;
    return settled;
  });
  x.key("Return");
  x.screenshotUntil(compositor, [&](const QImage& s) { return s != about; });
  x.key("alt+i");
  EXPECT_TRUE(menuOpen(x.screenshotUntil(compositor, menuOpen, 3000))) << "Alt+I was lost";

  for (int attempt = 0; attempt < 5 && program.state() != QProcess::NotRunning; ++attempt) {
    x.focus(compositor);
    x.key("Escape");
    x.key("alt+f");
    Sleep(500);
    x.key("q");
    program.waitForFinished(3000);
  }
  ASSERT_EQ(program.state(), QProcess::NotRunning) << "the program did not end";
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
}

// A compositor ends a client whose surface does not follow a maximised state
// it acknowledged: every kind of window keeps its size and the program runs
// on, whether the program, its title bar or the compositor's own keys ask.
TEST_F(OnWayland, NoWindowMaximises) {
  QProcess& probe = x.start(DORVANE_MAXIMISE_PROBE, {},
                            {"QT_QPA_PLATFORM=wayland", "DISPLAY=", "XDG_RUNTIME_DIR=" + runtime.path(),
                             "WAYLAND_DISPLAY=" + socket},
                            QProcess::ForwardedErrorChannel);
  QByteArray report;
  QElapsedTimer time;
  time.start();
  while (probe.state() != QProcess::NotRunning && time.elapsed() < 120000) {
    probe.waitForReadyRead(200);
    while (probe.canReadLine()) {
      const QByteArray line = probe.readLine();
      if (!line.startsWith("press ")) {
        report += line;
        continue;
      }
      x.focus(compositor);
      x.key(QString::fromLatin1(line.mid(6).trimmed()));
    }
  }
  if (probe.state() != QProcess::NotRunning) probe.waitForFinished(5000);
  report += probe.readAll();
  ASSERT_EQ(probe.state(), QProcess::NotRunning) << report.toStdString();
  EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit) << report.toStdString();
  EXPECT_EQ(probe.exitCode(), 0) << report.toStdString();  // each kind of window kept its size
}

TEST(EndToEnd, WithoutADisplayItSaysSo) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");
  env.remove("QT_QPA_PLATFORM");
  p.setProcessEnvironment(env);
  p.start(DORVANE_BINARY, {});
  ASSERT_TRUE(p.waitForFinished(10000));
  EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);  // no abort
  EXPECT_EQ(p.exitCode(), 1);
  const QString err = QString::fromUtf8(p.readAllStandardError());
  EXPECT_TRUE(err.contains("DISPLAY")) << err.toStdString();
  EXPECT_FALSE(err.contains("qt.qpa")) << err.toStdString();
}

}  // namespace
}  // namespace dorvane::e2e
