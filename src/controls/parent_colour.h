#pragma once
// Controls that take their parent's colour show the parent's background
// colour, whatever the parent is (a window, a gradient panel).
#include "gfx/colour.h"

class QWidget;

namespace dorvane::controls {

// The window colour of the widget's parent; own when it has no parent.
gfx::Colour ParentColour(const QWidget& widget, gfx::Colour own);

}  // namespace dorvane::controls
