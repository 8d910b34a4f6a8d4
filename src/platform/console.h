#pragma once
// Where the command line's messages go, and how they are written there.
#include <cstdio>
#include <string_view>

namespace dorvane::platform {

// On Windows a windowed program starts without a console: its messages
// (--help, --version, refusals) then go to the console of the command
// prompt it was started from, unless they were redirected. Elsewhere the
// program already writes where it was started from.
void AttachParentConsole();

// Writes UTF-8 text to standard output or error (`stream`) at once. A
// Windows console gets it as wide characters, whatever its code page, which
// stays as the user set it; a pipe or a file gets the UTF-8 bytes.
void WriteText(std::FILE* stream, std::string_view utf8);

// Whether an argument is the platform's own way to ask for help, beside
// --help: "/?" on Windows.
bool IsHelpSwitch(std::string_view argument);

}  // namespace dorvane::platform
