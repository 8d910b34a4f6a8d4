#pragma once
// The application object: reports an error that escapes an event handler the
// way the classic toolkit does, with a message box, and goes on running;
// keeps every fixed-size window at its size when something asks to maximise
// it; and gives the keyboard back to the window that opened a dialog once the
// dialog closes.
#include <QApplication>
#include <exception>

#include "forms/toolkit_workarounds.h"

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

}  // namespace dorvane::forms
