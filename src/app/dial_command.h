#pragma once
// "--dial FICHIER": the dial of the circuit given on the command line, made
// without a window from the values alone.
#include <QString>
#include <optional>
#include <string>

#include "core/main_window_state.h"

namespace dorvane::app {

// The circuit as the window would hold it with the options given, and the
// dial's own options as typed.
struct DialRequest {
  QString file;
  MainWindowInputs circuit;  // the value boxes, ticks, law and load
  std::string loadText;      // as typed, 8-bit; blank: none
  bool decibels = false;
  std::optional<QString> rotation, diameter, marks;
  bool mechanicalScale = false;
};

// What became of it: the exit status; for status 2 the refusal (naming the
// option and the value); marks the curve never reaches (said, the others
// drawn); for status 1 why the file could not be written.
struct DialOutcome {
  int status = 0;
  QString refusal, notice, failure;
};

// Reads every value first: nothing is written when one is refused or no
// mark is reached.
DialOutcome SaveDialFromCommandLine(const DialRequest& request);

}  // namespace dorvane::app
