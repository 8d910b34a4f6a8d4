#include "gfx/fonts.h"

namespace dorvane::gfx {

// Both faces are the system's own.
void InstallFontSubstitutions() {}

}  // namespace dorvane::gfx
