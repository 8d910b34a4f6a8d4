#pragma once
// The engraved look of disabled text and marks: a light copy one pixel down
// and right, the shadow colour in place on top of it.
#include "gfx/colour.h"

namespace dorvane::gfx {

// draw(dx, dy, colour) paints the text or mark moved by (dx, dy) in colour;
// it is called for the light copy first, then for the shadow in place.
template <class Draw>
void DrawEngraved(Draw&& draw, Colour light = clBtnHighlight, Colour shadow = clBtnShadow) {
  draw(1, 1, light);
  draw(0, 0, shadow);
}

}  // namespace dorvane::gfx
