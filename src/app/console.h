#pragma once
// Where the command line's messages go.

namespace dorvane::app {

// On Windows a windowed program starts without a console: its messages
// (--help, --version, refusals) then go to the console of the command
// prompt it was started from, unless they were redirected. Elsewhere this
// does nothing.
void AttachParentConsole();

}  // namespace dorvane::app
