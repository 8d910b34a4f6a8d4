#pragma once
// A private X server with a window manager for end-to-end tests, and the
// command-line tools that drive it. Every process started here is ended by
// its PID when the session goes.
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace dorvane::e2e {

class XSession {
 public:
  // `serverArgs` replace the default "-nolisten tcp" (how the server listens);
  // `screen` is Xvfb's WIDTHxHEIGHTxDEPTH.
  explicit XSession(const QStringList& serverArgs = {"-nolisten", "tcp"},
                    const QString& screen = QStringLiteral("1280x1024x24"));
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool ok() const { return !display_.isEmpty(); }
  const QString& display() const { return display_; }
  const QString& error() const { return error_; }

  // Starts a program on this display; the session keeps it and ends it last.
  QProcess& start(const QString& program, const QStringList& args = {}, const QStringList& extraEnv = {},
                  QProcess::ProcessChannelMode channels = QProcess::ForwardedChannels);

  // Runs a tool to completion on this display; returns its standard output.
  QByteArray run(const QString& tool, const QStringList& args, int* exitCode = nullptr,
                 int timeoutMs = 20000);

  // The id of the visible window whose title is exactly `title`, waiting up
  // to timeoutMs; 0 when it never shows.
  qulonglong waitForWindow(const QString& title, int timeoutMs = 15000);
  QImage screenshot(qulonglong window);
  // Screenshot until `pred` holds or the time is up; returns the last one.
  template <class Pred>
  QImage screenshotUntil(qulonglong window, Pred pred, int timeoutMs = 5000);

  void key(const QString& keys);  // xdotool key names, e.g. "alt+f"
  void type(const QString& text);
  void click(qulonglong window, int x, int y, int button = 1);
  void focus(qulonglong window);
  // Where the window manager shows the window with its frame, in screen
  // coordinates; null when it cannot be read.
  QRect frame(qulonglong window);

 private:
  bool Begin(const QStringList& serverArgs, const QString& screen);
  void Stop();
  QProcessEnvironment env() const;
  QString display_, error_;
  // The programs' settings (the save dialogs' last folder), never the user's.
  QTemporaryDir config_;
  std::vector<std::unique_ptr<QProcess>> processes_;  // server first
};

void Sleep(int ms);

// The main window's title, as the window manager shows it.
inline const QString kMainTitle = QString::fromUtf8("Potentiomètre - Modification courbe variation");

// A screenshot's pixel without its alpha.
inline QRgb At(const QImage& img, int x, int y) {
  const QRgb p = img.pixel(x, y);
  return qRgb(qRed(p), qGreen(p), qBlue(p));
}

// How many pixels of the area have exactly this colour.
inline int CountColour(const QImage& img, const QRect& area, QRgb colour) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += At(img, x, y) == colour;
  return n;
}

// The smallest rectangle holding every pixel of this colour.
inline QRect Bounds(const QImage& img, QRgb colour) {
  QRect r;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (At(img, x, y) == colour) r |= QRect(x, y, 1, 1);
  return r;
}

// The first row of the main window's gradient panel, under the menu bar:
// the first row at x = 3 in the panel's first band colour; -1 if none.
inline int PanelTop(const QImage& shot) {
  for (int y = 0; y < shot.height(); ++y)
    if (At(shot, 3, y) == qRgb(115, 220, 225)) return y;
  return -1;
}

template <class Pred>
QImage XSession::screenshotUntil(qulonglong window, Pred pred, int timeoutMs) {
  QImage shot;
  for (int waited = 0;; waited += 100) {
    shot = screenshot(window);
    if (pred(shot) || waited >= timeoutMs) return shot;
    Sleep(100);
  }
}

}  // namespace dorvane::e2e
