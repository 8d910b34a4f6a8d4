#pragma once
// Captions with a small HTML-like mark-up: plain text, a colour tag
// (<FONT color="#RRGGBB"> ... </FONT>), entities and line breaks.
#include <QString>

#include "gfx/canvas.h"
#include "gfx/colour.h"

namespace dorvane::controls {

struct MarkupOptions {
  bool wordWrap = true;
  gfx::Colour urlColour = gfx::clBlue;     // hyperlink text
  gfx::Colour shadowColour = gfx::clGray;  // text of the shadow tag
  int shadowOffset = 1;
  int lineSpacing = 0;  // extra pixels between lines
};

struct MarkupExtent {
  int width = 0;   // widest laid-out line
  int height = 0;  // all laid-out lines, or one "gh" when nothing was
  friend bool operator==(const MarkupExtent&, const MarkupExtent&) = default;
};

// Draws the mark-up into r. The canvas font on entry is the starting font
// (</FONT> goes back to it); the canvas font, colours and brush are as before
// when the call returns. Text that does not fit below r's bottom is dropped;
// with word wrap, words that do not fit on a line go to the next one.
MarkupExtent DrawMarkup(gfx::Canvas& canvas, const QString& text, const gfx::Rect& r,
                        const MarkupOptions& options = {});

// The text as it is laid out: entities replaced, carriage returns turned into
// <BR>, line feeds dropped. Exposed for tests.
QString PrepareMarkup(const QString& text);

// The text the mark-up shows, without its tags: entities replaced,
// mnemonic "&" resolved, line breaks as "\n". What a screen reader reads.
QString MarkupPlainText(const QString& text);

// The colour of a tag value: "#RRGGBB" (red first, either case) or a "cl"
// colour name; anything else is black.
gfx::Colour MarkupColour(const QString& value);

}  // namespace dorvane::controls
