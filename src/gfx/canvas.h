#pragma once
// A drawing surface with the classic raster rules, on top of QPainter.
//
// Every custom-drawn control and the chart draw through Canvas so that the
// pixel rules hold in one place:
//  - a rectangle (left, top, right, bottom) excludes its right column and
//    bottom row, for outline and fill alike;
//  - a line from A to B paints A and not B, at any slope; a polyline paints
//    each joint once;
//  - an ellipse lies inside its box without the box's right column and bottom
//    row;
//  - a filled polygon is outlined through every corner.
// Antialiasing is off. Coordinates are logical pixels. On a raster device
// at a scale s other than 1 (a high-density screen or image) lines, dots and
// fills are placed on the device's own pixels: every logical coordinate c
// maps to floor(c * s + offset + 0.5), so shapes that meet in logical pixels
// meet there too; fills cover the mapped rectangle; a one-pixel line is
// round(s) device pixels wide (at least 1) and starts at its mapped
// coordinate; slanted lines step from device pixel to device pixel between
// the mapped end points; a dotted pen keeps one dot, as wide as a line, per
// logical step of its pattern. Text is drawn as QPainter draws it; turned
// text on pixels is the upright text turned.
//
// The files of Canvas, one job each:
//  - canvas.cpp: the state (pens, brushes, font, saved states, clipping),
//    what the canvas puts back on its painter, and the mapping of logical
//    coordinates to the device-pixel grid;
//  - canvas_rules.cpp: the raster rules, which turn lines, frames and dots
//    into pending runs of pixels and paint nothing themselves;
//  - canvas_image.cpp: the target that writes copied runs straight into a
//    32-bit image;
//  - canvas_painter.cpp: the target that paints runs through QPainter, and
//    the shapes QPainter draws (fills, ellipses, polygons, vector lines);
//  - canvas_text.cpp: text, shaped once and kept.
//
// On the system's metafile (a paint engine of the Windows type, which draws
// with the system's own calls) slanted one-pixel solid lines go out as the
// system's lines, which follow the same rule, so the picture keeps them as
// lines; everything else is as on a raster device.
//
// On a vector device (an SVG generator) lines stay lines: one-pixel lines are
// drawn as geometric lines over the pixels the raster rule would paint, and
// lines and fills are cut to the clip rectangle by the canvas itself, since
// the SVG writer keeps no clip. Text is never cut there.
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>
#include <span>
#include <vector>

#include "gfx/colour.h"

class QPaintDevice;

namespace dorvane::gfx {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;

  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  constexpr bool isEmpty() const { return right <= left || bottom <= top; }
  constexpr Rect translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  constexpr Rect inflated(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
  constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
  static Rect fromQRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

enum class PenStyle {
  Solid,
  Dot,           // one pixel on, two off; restarts at every line
  AlternateDot,  // every other pixel
  Clear,         // draws nothing
};
enum class PenMode {
  Copy,
  NotXor,  // destination = NOT (pen XOR destination); drawing twice restores
};
struct Pen {
  Colour colour = clBlack;
  int width = 1;
  PenStyle style = PenStyle::Solid;
  PenMode mode = PenMode::Copy;
  friend bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle { Solid, Clear };
struct Brush {
  Colour colour = clWhite;
  BrushStyle style = BrushStyle::Solid;
  friend bool operator==(const Brush&, const Brush&) = default;
};

enum class BackgroundMode { Opaque, Transparent };

// Horizontal place of the reference point of TextOut.
enum class TextAlign { Left, Center, Right };

// Flags of DrawText.
enum TextFlag : unsigned {
  kAlignLeft = 0,
  kAlignCenter = 1u << 0,
  kAlignRight = 1u << 1,
  kAlignTop = 0,
  kAlignVCenter = 1u << 2,  // single line only
  kAlignBottom = 1u << 3,   // single line only
  kSingleLine = 1u << 4,
  kWordBreak = 1u << 5,
  kExpandTabs = 1u << 6,
  kMnemonics = 1u << 7,    // "&x" underlines x, "&&" shows "&"
  kEndEllipsis = 1u << 8,  // cut with "..." at the end when too wide
  kNoClip = 1u << 9,
  kCalcRect = 1u << 10,  // measure only: the rectangle receives the extent
};

// The characters text drawn with mnemonics shows: "&&" is one "&", a single
// "&" only marks the next character, a trailing one vanishes.
QString WithoutMnemonics(const QString& text);

class Canvas {
 public:
  // Draws with an existing painter (a widget's paint event, an image, an SVG
  // generator). The painter's own state is restored when the canvas goes,
  // unless its owner ended it first.
  explicit Canvas(QPainter& painter);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // The painter, for what the canvas does not draw itself; lines still
  // waiting to be painted go out first, so they stay below.
  QPainter& painter() {
    flush();
    damageWhole();
    gridStale_ = true;         // the caller may move the painter
    deviceClipKnown_ = false;  // or clip it
    return painter_;
  }

  // Where the canvas drew, in device pixels, while a Damage is attached:
  // the pixels it wrote straight into an image, and `whole` once anything
  // went through the painter. A caller that keeps a clean copy of the image
  // can then put back only these. Read it after the canvas is gone (or
  // detached), since lines are painted late.
  struct Damage {
    std::vector<QRect> rects;
    bool whole = false;
  };
  void setDamage(Damage* damage) {
    flush();
    damage_ = damage;
  }
  // Where the canvas draws, for measuring text as it will be drawn.
  const QPaintDevice* device() const;
  // Drawing into a vector device (see above).
  bool vector() const { return vector_; }

  // --- drawing state ---------------------------------------------------
  const Pen& pen() const { return pen_; }
  void setPen(const Pen& pen);
  const Brush& brush() const { return brush_; }
  void setBrush(const Brush& brush);
  const QFont& font() const { return font_; }
  void setFont(const QFont& font);
  Colour fontColour() const { return fontColour_; }
  void setFontColour(Colour colour) { fontColour_ = colour; }
  BackgroundMode backgroundMode() const { return bkMode_; }
  void setBackgroundMode(BackgroundMode mode) { bkMode_ = mode; }
  Colour textBackground() const { return textBackground_; }
  void setTextBackground(Colour colour) { textBackground_ = colour; }

  // Saves pen, brush, font, text settings, clip and current position;
  // restore() brings back the last saved state. Nested pairs are fine.
  void save();
  void restore();

  // --- clipping (right and bottom excluded, like every rectangle) --------
  void setClipRect(const Rect& r);        // replaces the clip
  void intersectClipRect(const Rect& r);  // narrows the clip
  void clearClip();

  // --- shapes ------------------------------------------------------------
  void moveTo(int x, int y) { pos_ = {x, y}; }
  QPoint penPos() const { return pos_; }
  // Line from the current position to (x, y), end pixel excluded; (x, y)
  // becomes the current position.
  void lineTo(int x, int y);
  void line(int x1, int y1, int x2, int y2) {
    moveTo(x1, y1);
    lineTo(x2, y2);
  }
  // Joined lines: each joint painted once, the last point not painted.
  void polyline(std::span<const QPoint> points);
  // Outline with the pen and fill with the brush, inside (l..r-1, t..b-1).
  void rectangle(const Rect& r);
  // Fill with the brush (or a colour), no outline.
  void fillRect(const Rect& r);
  void fillRect(const Rect& r, Colour colour);
  // Outline only, one pixel wide, in the given colour.
  void frameRect(const Rect& r, Colour colour);
  // Alternate-dot rectangle inverting what lies below (drawing it twice
  // removes it), as keyboard focus is shown.
  void focusRect(const Rect& r);
  void ellipse(const Rect& box);
  // Closed polygon: filled with the brush, outlined through every corner.
  void polygon(std::span<const QPoint> points);
  void setPixel(int x, int y, Colour colour);

  // --- text --------------------------------------------------------------
  // Text whose cell has its top at y; x is the left edge, the centre or the
  // right edge of the text as align says. Background per backgroundMode().
  void textOut(int x, int y, const QString& text, TextAlign align = TextAlign::Left);
  // Text turned 90 degrees anticlockwise, reading upwards. (x, y) is the
  // top-left corner of the text cell before turning: the text covers
  // x .. x + height - 1 across and runs up from y.
  void textOutRotated90(int x, int y, const QString& text);
  // Classic box text. Returns the height of the text; with kCalcRect nothing
  // is drawn and r receives the text's extent (left and top kept).
  int drawText(Rect& r, const QString& text, unsigned flags);
  int drawText(const Rect& r, const QString& text, unsigned flags) {
    Rect copy = r;
    return drawText(copy, text, flags);
  }

  int textWidth(const QString& text) const;
  // The height of a line of text in the current font (see LineHeight); the
  // same for every text.
  int textHeight() const { return lineHeight(); }
  QSize textExtent(const QString& text) const { return {textWidth(text), textHeight()}; }

 private:
  struct State;
  struct DirectTarget;
  // Where logical coordinates land in device pixels (see the top); off at
  // scale 1 and on vector devices, where the painter maps as it always has.
  struct Grid {
    bool on = false;
    double scale = 1, dx = 0, dy = 0;
    int line = 1;  // device width of a one-pixel line
    int DeviceX(long long x) const { return on ? Map(x, dx) : int(x); }
    int DeviceY(long long y) const { return on ? Map(y, dy) : int(y); }
    int Width(int logical) const;
    int Map(long long c, double offset) const;
  };
  const Grid& grid() const;
  QRect deviceRect(const Rect& r) const;
  // Paints through the painter in device pixels, inside the device clip.
  template <class Paint>
  void inDevicePixels(Paint paint);
  void deviceFill(const QRect& r, Colour colour, int raster);
  void stepLine(QPoint a, QPoint b, bool paintEnd, int thickness);
  void frameBands(int l, int t, int r, int b, int w);
  void flush();
  void paintPending(bool devicePixels);
  bool directTarget(DirectTarget& t) const;
  void flushDirect(const DirectTarget& t, quint32 pixel);
  void addSpan(int x, int y, int w, int h);
  void strokeLine(QPoint a, QPoint b, bool paintEnd);
  void axisLine(QPoint a, QPoint b, bool paintEnd);
  // Lines are stepped only this far from the origin, in logical pixels.
  static constexpr long long kLineReach = 1 << 20;
  void wideLine(QPoint a, QPoint b);
  void applyComposition(PenMode mode);
  const QFontMetrics& metrics() const;
  int lineHeight() const;
  // Width and shaped glyphs of a text in the current font, kept across
  // canvases: chart labels and captions repeat on every repaint. The store is
  // shared by every canvas of the process, holds at most 2048 texts (it is
  // emptied when full) and is emptied when the application object goes, so
  // no glyphs outlive the fonts they were shaped in.
  struct ShapedText;
  const ShapedText& shaped(const QString& text) const;
  void drawShaped(int left, int top, const ShapedText& t);
  void vectorLine(QPoint a, QPoint b, bool paintEnd);
  void painterLine(QPoint a, QPoint b, int width, bool dotted);
  bool clipFor(QRectF& clip) const;
  QRect fillArea(const Rect& r) const;

  void addDamage(const QRect& r);
  void damageWhole() {
    if (damage_) damage_->whole = true;
  }

  QPainter& painter_;
  // What the canvas may change on the painter, put back when it goes. Kept
  // without a save left open on the painter, so that the painter's owner may
  // end it before the canvas goes.
  struct Entry {
    QPen pen;
    QBrush brush;
    QFont font;
    QBrush background;
    QPainter::RenderHints hints;
    QPainter::CompositionMode mode;
    QTransform world;
    bool clipping;
    QRegion clip;
  } entry_;
  bool vector_ = false;
  bool systemLines_ = false;  // see the top: the system's metafile
  Damage* damage_ = nullptr;
  Pen pen_;
  Brush brush_;
  QFont font_;
  Colour fontColour_ = clBlack;
  BackgroundMode bkMode_ = BackgroundMode::Opaque;
  Colour textBackground_ = clWhite;
  QPoint pos_;
  std::vector<State> saved_;
  mutable Grid grid_;
  mutable bool gridStale_ = true;
  // The clip in device pixels, kept by the canvas for device-pixel drawing;
  // not known once the painter was handed out, until the canvas sets one.
  std::optional<QRect> deviceClip_;
  bool deviceClipKnown_ = true;
  mutable std::optional<QFontMetrics> metrics_;
  mutable int lineHeight_ = -1;  // of font_, see LineHeight()

  // Pixels of lines waiting to be painted in one call, all in pendColour_
  // with the raster operation pendRaster_ (copy, not-xor or invert). Single
  // pixels are kept apart: on an unscaled device they go out as points,
  // which Qt paints far faster than one-pixel rectangles. Copied pixels bound
  // for a plain 32-bit image are written straight into its scan lines.
  std::vector<QRect> pending_;
  std::vector<QPoint> pendingPixels_;
  Colour pendColour_ = clBlack;
  int pendRaster_ = 0;
};

}  // namespace dorvane::gfx
