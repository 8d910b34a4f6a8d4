#pragma once
// The application object: reports an error that escapes an event handler the
// way the classic toolkit does, with a message box, and goes on running;
// keeps every fixed-size window at its size when something asks to maximise
// it; and gives the keyboard back to the window that opened a dialog once the
// dialog closes.
#include <QApplication>
#include <exception>

namespace dorvane::forms {

class TApplication : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // The standard error report: a message box with the error's message over
  // the active window.
  static void ShowException(const std::exception& error);
};

// Ends the process with `status` on Wayland, where the toolkit's teardown can
// hang (Qt 6.4: one of its event threads waits for a read that never comes);
// elsewhere returns. For the end of main(), once the windows are gone.
void EndOnWaylandWithoutTeardown(int status);

// Every top-level window shown from now on whose size is fixed (the main
// window, the dialogs, the message boxes) ignores a request to maximise it,
// from its title bar, the window manager or the program, on every platform.
void KeepFixedWindowsAtTheirSize(QApplication& app);

}  // namespace dorvane::forms
