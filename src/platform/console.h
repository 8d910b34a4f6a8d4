#pragma once
// Where the command line's messages go.

namespace dorvane::platform {

// On Windows a windowed program starts without a console: its messages
// (--help, --version, refusals) then go to the console of the command
// prompt it was started from, unless they were redirected. Elsewhere the
// program already writes where it was started from.
void AttachParentConsole();

}  // namespace dorvane::platform
