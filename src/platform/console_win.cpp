#include "platform/console.h"

#include <windows.h>

#include <cstdio>

namespace dorvane::platform {

void AttachParentConsole() {
  // A handle the program was given (a file, a pipe) is kept as it is.
  const auto given = [](DWORD which) {
    const HANDLE h = GetStdHandle(which);
    return h != nullptr && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
  };
  const bool out = given(STD_OUTPUT_HANDLE), err = given(STD_ERROR_HANDLE);
  if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  SetConsoleOutputCP(CP_UTF8);  // the messages are UTF-8
  if (!out && std::freopen("CONOUT$", "w", stdout)) std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (!err && std::freopen("CONOUT$", "w", stderr)) std::setvbuf(stderr, nullptr, _IONBF, 0);
}

}  // namespace dorvane::platform
