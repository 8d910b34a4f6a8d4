#include "platform/console.h"

#include <io.h>
#include <windows.h>

#include <string>

namespace dorvane::platform {
namespace {

// The parent's console, for the streams the program was not given.
HANDLE consoleOut = INVALID_HANDLE_VALUE;
bool outAttached = false, errAttached = false;

bool Given(DWORD which) {
  const HANDLE h = GetStdHandle(which);
  return h != nullptr && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void AttachParentConsole() {
  // A handle the program was given (a file, a pipe) is kept as it is.
  const bool out = Given(STD_OUTPUT_HANDLE), err = Given(STD_ERROR_HANDLE);
  if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  // The console's code page is the user's: the text goes in as wide
  // characters instead (WriteText).
  consoleOut = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
  outAttached = !out && consoleOut != INVALID_HANDLE_VALUE;
  errAttached = !err && consoleOut != INVALID_HANDLE_VALUE;
}

void WriteText(std::FILE* stream, std::string_view utf8) {
  const bool attached = (stream == stdout && outAttached) || (stream == stderr && errAttached);
  HANDLE handle = attached ? consoleOut : reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    std::fflush(stream);  // anything written before comes first
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), n);
    // Line ends as a console shows them.
    std::wstring lines;
    for (const wchar_t c : wide) {
      if (c == L'\n') lines += L'\r';
      lines += c;
    }
    for (size_t done = 0; done < lines.size();) {
      DWORD written = 0;
      if (!WriteConsoleW(handle, lines.data() + done, DWORD(lines.size() - done), &written, nullptr) ||
          written == 0)
        break;
      done += written;
    }
    return;
  }
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
  std::fflush(stream);
}

bool IsHelpSwitch(std::string_view argument) {
  return argument == "/?";
}

}  // namespace dorvane::platform
