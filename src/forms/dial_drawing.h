#pragma once
// The dial as it prints: the marks' ring at the diameter asked, a tick and a
// label per mark, the end stops, a cross for the shaft and the circuit
// under it; optionally the mechanical scale 0 to 10 on an inner ring. Laid
// out in millimetres, then drawn through the program's canvas at any
// number of device units per millimetre (the page, the picture, the
// preview).
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <vector>

#include "core/dial.h"

namespace dorvane::gfx {
class Canvas;
}

namespace dorvane::forms {

struct DialSettings {
  double rotationDegrees = kDialRotationDefault;
  double diameterMm = kDialDiameterDefault;
  bool mechanicalScale = false;  // 0 to 10 on an inner ring
  bool operator==(const DialSettings&) const = default;
};

// What a dial shows.
struct DialPicture {
  std::vector<DialMark> marks;  // the marks placed on the curve
  DialUnit unit = DialUnit::Decibels;
  DialSettings settings;
  QString circuit;  // "P1 100K, R2 10K, charge 47K"
  char separator = ',';
};

// A text on the dial: its centre from the dial's centre (x right, y down)
// and its size, in millimetres; where a crowded label was moved along the
// ring, a leader joins it to its tick.
struct DialText {
  QString text;
  QPointF centre;
  QSizeF size;
  double em = 0;  // the font's size
  bool leader = false;
  QPointF leaderFrom, leaderTo;
};

struct DialLayout {
  QSizeF page;     // millimetres, whole points each way
  QPointF centre;  // of the dial on the page
  double radius = 0, ringWidth = 0, tickLength = 0, tickWidth = 0;
  double innerRadius = 0;  // of the mechanical scale, 0 without it
  std::vector<DialText> labels, scaleLabels;
  DialText circuit;
};

DialLayout LayoutDial(const DialPicture& picture);

// Draws the page (white, then the dial in black) with its top-left corner at
// `origin`, in device units, `unitsPerMm` to the millimetre.
void DrawDial(gfx::Canvas& canvas, const DialPicture& picture, const DialLayout& layout, double unitsPerMm,
              QPointF origin = {});

}  // namespace dorvane::forms
