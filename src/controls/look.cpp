#include "controls/look.h"

namespace dorvane::controls {

namespace {
bool g_themed = true;
}

bool ThemedLook() {
  return g_themed;
}
void SetThemedLook(bool themed) {
  g_themed = themed;
}

}  // namespace dorvane::controls
