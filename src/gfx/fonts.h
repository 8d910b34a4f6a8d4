#pragma once
// The program's fonts: the classic faces are mapped onto Liberation Sans, and
// sizes are given in pixels as the layouts were drawn at 96 dpi.
#include <QFont>
#include <QString>

namespace dorvane::gfx {

// "Arial" and "MS Sans Serif" both answer with Liberation Sans (not on
// Windows, where they are the system's). Call once after the application
// object exists.
void InstallFontSubstitutions();

// 8 points at 96 dpi are 11 pixels (rounded like the classic MulDiv).
int PointsToPixels(int points);

// A font of the given face whose em is pixelSize pixels high.
QFont PixelFont(const QString& family, int pixelSize, bool bold = false);

// The window font of the main window: "MS Sans Serif", 11 pixels.
QFont WindowFont();

// The height of a line of text (the height of "W") as the layouts measure
// it: ascent and descent each rounded up to whole pixels. Qt rounds both to
// the nearest, which makes Liberation Sans at 11 px a pixel shorter than the
// 13 pixels the layouts were drawn with.
int LineHeight(const QFont& font, const QPaintDevice* device = nullptr);

// QFontMetrics(font).horizontalAdvance(text), shaped once for each font and
// text and kept: captions that change back and forth as the user types are
// measured again from the store (at most 1024 texts; emptied when full and
// when the application object goes).
int TextAdvance(const QFont& font, const QString& text);

}  // namespace dorvane::gfx
