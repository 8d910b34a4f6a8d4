#include "platform/save_dialog.h"

namespace dorvane::platform {

// The desktops' own dialogs cannot keep a refused name open: the toolkit's
// dialog serves every desktop here.
std::optional<bool> RunSystemSaveDialog(const SaveDialogRequest&) {
  return std::nullopt;
}

}  // namespace dorvane::platform
