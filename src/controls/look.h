#pragma once
// One switch for the whole process: draw check boxes and the drop-down
// button with the application's QStyle (the themed look, the default) or
// from the program's own pictures and flat shapes.
namespace dorvane::controls {

bool ThemedLook();
void SetThemedLook(bool themed);

}  // namespace dorvane::controls
