#include "platform/console.h"

namespace dorvane::platform {

void AttachParentConsole() {}

}  // namespace dorvane::platform
