#include "platform/display.h"

namespace dorvane::platform {

// Windows always has its desktop: nothing to probe.
QString DisplayProblem(const QString&, const QString&) {
  return {};
}

}  // namespace dorvane::platform
