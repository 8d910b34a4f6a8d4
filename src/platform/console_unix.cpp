#include "platform/console.h"

namespace dorvane::platform {

void AttachParentConsole() {}

// Terminals here read UTF-8.
void WriteText(std::FILE* stream, std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
  std::fflush(stream);
}

// "/?" names a file here.
bool IsHelpSwitch(std::string_view) {
  return false;
}

}  // namespace dorvane::platform
