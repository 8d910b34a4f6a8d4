#pragma once
// The system's own save dialog, where the toolkit's platform is the
// system's (Windows); elsewhere the program uses the toolkit's dialog.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace dorvane::platform {

// What the program says of the name typed when the user presses Save.
struct SaveNameVerdict {
  enum Kind {
    Accept,        // the dialog closes with this name
    Refuse,        // `text` is shown as a warning; the dialog stays open
    AskToReplace,  // `text` is asked; "yes" accepts, "no" keeps it open
    OpenFolder,    // the name is the folder `text`: the dialog goes there
    Ignore,        // nothing to do (an empty name)
  };
  Kind kind = Ignore;
  QString text;
};

struct SaveDialogRequest {
  QWidget* parent = nullptr;
  QString caption;
  QString folder;        // where it opens
  QString name;          // proposed
  QStringList filters;   // "Image PNG (*.png)", the first one chosen
  QString messageTitle;  // of the warnings
  // The name as typed, the folder shown and the filter chosen (its text).
  std::function<SaveNameVerdict(const QString& typed, const QString& folder, const QString& filter)> judge;
};

// Runs the system's save dialog modal over the request's parent window:
// true once a name was accepted, false when cancelled; nothing when the
// system has no such dialog for this platform (the caller shows the
// toolkit's own).
std::optional<bool> RunSystemSaveDialog(const SaveDialogRequest& request);

}  // namespace dorvane::platform
