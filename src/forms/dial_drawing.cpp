#include "forms/dial_drawing.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "gfx/canvas.h"
#include "gfx/fonts.h"

namespace dorvane::forms {
namespace {

constexpr double kMargin = 3;  // mm around the drawing
constexpr double kPointsPerMm = 72 / 25.4;
constexpr double kStopWidth = 0.6;  // mm
constexpr double kFineWidth = 0.2;  // mm: the cross, the inner scale
constexpr double kLeaderWidth = 0.12;
constexpr double kLedFarther = 0.3;  // degrees a label moved before it has a leader
const QString kFace = QStringLiteral("Arial");

double Radians(double degrees) {
  return degrees * std::numbers::pi / 180;
}

// Outward from the centre at an angle from twelve o'clock, clockwise.
QPointF Outward(double degrees) {
  return {std::sin(Radians(degrees)), -std::cos(Radians(degrees))};
}

// A text's size in millimetres for a font `em` millimetres high, measured
// on a large face so that every device gets the same layout.
QSizeF TextSize(const QString& text, double em) {
  constexpr int kReference = 1000;
  const QFont font = gfx::PixelFont(kFace, kReference);
  return {QFontMetricsF(font).horizontalAdvance(text) * em / kReference,
          gfx::LineHeight(font) * em / kReference};
}

// The distance from a box's centre to its edge along a direction.
double ToEdge(QSizeF size, QPointF direction) {
  const double x = std::abs(direction.x()) < 1e-9 ? 1e9 : size.width() / 2 / std::abs(direction.x());
  const double y = std::abs(direction.y()) < 1e-9 ? 1e9 : size.height() / 2 / std::abs(direction.y());
  return std::min(x, y);
}

// A label whose nearest edge lies `nearest` from the centre, towards `angle`.
QPointF LabelCentre(QSizeF size, double angle, double nearest) {
  const QPointF u = Outward(angle);
  return u * (nearest + ToEdge(size, u));
}

// The angle a label takes along its ring: its extent across the radius.
double AngularWidth(QSizeF size, double angle, double nearest, double pad) {
  const QPointF u = Outward(angle);
  const double across = size.width() * std::abs(u.y()) + size.height() * std::abs(u.x()) + pad;
  return across / (nearest + ToEdge(size, u)) * 180 / std::numbers::pi;
}

// Labels that would overlap are spread along the ring as little as they
// need: neighbours that touch form a group, centred on where its labels
// want to be (the one-dimensional least-squares placement). The ring is cut
// at the widest gap between the labels; a group that comes round to the
// other end of the cut takes the labels there in, until none overlap or all
// have been tried (labels wider than the ring all round stay overlapping).
std::vector<double> SpreadAngles(const std::vector<double>& wanted, const std::vector<double>& widths) {
  const std::size_t n = wanted.size();
  if (n == 0) return {};
  std::vector<std::size_t> order(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](auto a, auto b) { return wanted[a] < wanted[b]; });
  std::vector<double> at(n);  // wanted angle along the cut ring, in `order`
  for (std::size_t k = 0; k < n; ++k) at[k] = wanted[order[k]];
  // Start after the widest gap.
  std::size_t first = 0;
  double widest = -1;
  for (std::size_t k = 0; k < n; ++k) {
    const double gap = k == 0 ? at[0] + 360 - at[n - 1] : at[k] - at[k - 1];
    if (gap > widest) widest = gap, first = k;
  }
  std::rotate(order.begin(), order.begin() + std::ptrdiff_t(first), order.end());
  std::rotate(at.begin(), at.begin() + std::ptrdiff_t(first), at.end());
  for (std::size_t k = n - first; k < n && first > 0; ++k) at[k] += 360;

  struct Group {
    std::size_t first, last;  // in `order`
    double start, width;
  };
  std::vector<Group> groups;
  const auto place = [&](Group& g) {
    double sum = 0, offset = 0;
    for (std::size_t k = g.first; k <= g.last; ++k) {
      sum += at[k] - (offset + widths[order[k]] / 2);
      offset += widths[order[k]];
    }
    g.width = offset;
    g.start = sum / double(g.last - g.first + 1);
  };
  for (std::size_t turn = 0; turn <= n; ++turn) {
    groups.clear();
    for (std::size_t k = 0; k < n; ++k) {
      groups.push_back({k, k, 0, 0});
      place(groups.back());
      while (groups.size() > 1) {
        Group& b = groups.back();
        Group& a = groups[groups.size() - 2];
        if (a.start + a.width <= b.start) break;
        a.last = b.last;
        groups.pop_back();
        place(groups.back());
      }
    }
    const Group& head = groups.front();
    const Group& tail = groups.back();
    if (groups.size() < 2 || tail.start + tail.width <= head.start + 360) break;
    // Round the ring: the first group's labels go after the last.
    const std::size_t moved = head.last + 1;
    std::rotate(order.begin(), order.begin() + std::ptrdiff_t(moved), order.end());
    std::rotate(at.begin(), at.begin() + std::ptrdiff_t(moved), at.end());
    for (std::size_t k = n - moved; k < n; ++k) at[k] += 360;
  }
  std::vector<double> placed(n);
  for (const Group& g : groups) {
    double angle = g.start;
    for (std::size_t k = g.first; k <= g.last; ++k) {
      // Back to the marks' own turn, so that a leader takes the short way.
      const double a = angle + widths[order[k]] / 2;
      placed[order[k]] = a - 360 * std::round((a - wanted[order[k]]) / 360);
      angle += widths[order[k]];
    }
  }
  return placed;
}

DialText Placed(const QString& text, QPointF centre, QSizeF size, double em) {
  DialText t;
  t.text = text;
  t.centre = centre;
  t.size = size;
  t.em = em;
  return t;
}

}  // namespace

DialLayout LayoutDial(const DialPicture& picture) {
  const DialSettings& s = picture.settings;
  DialLayout l;
  l.radius = s.diameterMm / 2;
  l.ringWidth = 0.3;
  l.tickWidth = 0.3;
  l.tickLength = std::clamp(0.1 * l.radius, 1.5, 4.0);
  const double em = std::clamp(0.06 * s.diameterMm, 2.0, 4.0);
  const double gap = 0.4 * em;
  const double nearest = l.radius + l.tickLength + gap;

  // The marks' labels, spread where they crowd (near the start of a
  // logarithmic law, say), twice so that each takes the width it has where
  // it ends up.
  std::vector<double> wanted, placed;
  std::vector<QSizeF> sizes;
  for (const DialMark& m : picture.marks) {
    const QString text = QString::fromStdString(DialMarkLabel(m.level, picture.unit, picture.separator));
    wanted.push_back(m.angleDegrees);
    sizes.push_back(TextSize(text, em));
    l.labels.push_back(Placed(text, {}, sizes.back(), em));
  }
  placed = wanted;
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<double> widths;
    for (std::size_t i = 0; i < placed.size(); ++i)
      widths.push_back(AngularWidth(sizes[i], placed[i], nearest, 0.3 * em));
    placed = SpreadAngles(wanted, widths);
  }
  for (std::size_t i = 0; i < l.labels.size(); ++i) {
    DialText& t = l.labels[i];
    t.centre = LabelCentre(t.size, placed[i], nearest);
    if (std::abs(placed[i] - wanted[i]) > kLedFarther) {
      t.leader = true;
      t.leaderFrom = Outward(wanted[i]) * (l.radius + l.tickLength);
      t.leaderTo = Outward(placed[i]) * (nearest - 0.3 * gap);
    }
  }

  if (s.mechanicalScale) {
    l.innerRadius = 0.72 * l.radius;
    const double small = 0.75 * em;
    for (int k = 0; k <= 10; ++k) {
      const QString text = QString::number(k);
      const QSizeF size = TextSize(text, small);
      const double angle = s.rotationDegrees * (k / 10.0 - 0.5);
      const double inner = l.innerRadius - 0.6 * l.tickLength - 0.4 * small;
      // Inwards: the nearest edge to the ring is the far one from the centre.
      const QPointF u = Outward(angle);
      l.scaleLabels.push_back(Placed(text, u * (inner - ToEdge(size, u)), size, small));
    }
  }

  // Everything drawn so far, then the circuit under it.
  double left = -l.radius - l.tickLength, right = l.radius + l.tickLength;
  double top = -l.radius - l.tickLength, bottom = l.radius + l.ringWidth / 2;
  for (const DialText& t : l.labels) {
    left = std::min(left, t.centre.x() - t.size.width() / 2);
    right = std::max(right, t.centre.x() + t.size.width() / 2);
    top = std::min(top, t.centre.y() - t.size.height() / 2);
    bottom = std::max(bottom, t.centre.y() + t.size.height() / 2);
  }
  for (const double side : {-0.5, 0.5}) {
    const QPointF end = Outward(side * s.rotationDegrees) * (l.radius + 1.25 * l.tickLength);
    bottom = std::max(bottom, end.y() + kStopWidth);
  }
  const double small = std::max(1.6, 0.7 * em);
  l.circuit = Placed(picture.circuit, {}, TextSize(picture.circuit, small), small);
  l.circuit.centre = {0, bottom + 1.5 + l.circuit.size.height() / 2};
  bottom = l.circuit.centre.y() + l.circuit.size.height() / 2;
  left = std::min(left, -l.circuit.size.width() / 2);
  right = std::max(right, l.circuit.size.width() / 2);

  // A page of whole points (as the document's page box holds it), the
  // drawing centred in it.
  const auto whole = [](double mm) { return std::ceil(mm * kPointsPerMm - 1e-9) / kPointsPerMm; };
  l.page = {whole(right - left + 2 * kMargin), whole(bottom - top + 2 * kMargin)};
  l.centre = {(l.page.width() - (right - left)) / 2 - left, (l.page.height() - (bottom - top)) / 2 - top};
  return l;
}

namespace {

class DialPainter {
 public:
  DialPainter(gfx::Canvas& canvas, double unitsPerMm, QPointF origin)
      : canvas_(canvas), k_(unitsPerMm), origin_(origin) {}

  int X(double mm) const { return int(std::llround(origin_.x() + mm * k_)); }
  int Y(double mm) const { return int(std::llround(origin_.y() + mm * k_)); }
  int Units(double mm) const { return std::max(1, int(std::llround(mm * k_))); }

  // A ring whose line is centred on the radius: a black disc under a white
  // one, both about the same centre in whole units, so that the line keeps
  // its width all round at any scale.
  void Ring(QPointF c, double radius, double width) {
    const long long line = std::max(1LL, std::llround(width * k_));
    const long long outer = std::max(2 * line + 1, std::llround(2 * radius * k_) + line);
    const int left = int(std::llround(origin_.x() + c.x() * k_ - outer / 2.0));
    const int top = int(std::llround(origin_.y() + c.y() * k_ - outer / 2.0));
    Disc(left, top, outer, gfx::clBlack);
    Disc(left + int(line), top + int(line), outer - 2 * line, gfx::clWhite);
  }

  void Line(QPointF a, QPointF b, double width) {
    canvas_.setPen({gfx::clBlack, Units(width), gfx::PenStyle::Solid});
    canvas_.line(X(a.x()), Y(a.y()), X(b.x()), Y(b.y()));
  }

  void Text(QPointF at, const DialText& t) {
    if (t.text.isEmpty()) return;
    canvas_.setFont(gfx::PixelFont(kFace, Units(t.em)));
    canvas_.setFontColour(gfx::clBlack);
    canvas_.setBackgroundMode(gfx::BackgroundMode::Transparent);
    const QPointF c = at + t.centre;
    canvas_.textOut(X(c.x()), Y(c.y()) - canvas_.textHeight() / 2, t.text, gfx::TextAlign::Center);
  }

 private:
  // The canvas leaves out its box's right column and bottom row.
  void Disc(int left, int top, long long diameter, gfx::Colour colour) {
    canvas_.setPen({colour, 1, gfx::PenStyle::Clear});
    canvas_.setBrush({colour, gfx::BrushStyle::Solid});
    canvas_.ellipse({left, top, left + int(diameter) + 1, top + int(diameter) + 1});
  }

  gfx::Canvas& canvas_;
  double k_;
  QPointF origin_;
};

}  // namespace

void DrawDial(gfx::Canvas& canvas, const DialPicture& picture, const DialLayout& l, double unitsPerMm,
              QPointF origin) {
  DialPainter p(canvas, unitsPerMm, origin);
  const QPointF c = l.centre;
  const double rotation = picture.settings.rotationDegrees;
  canvas.fillRect({p.X(0), p.Y(0), p.X(l.page.width()), p.Y(l.page.height())}, gfx::clWhite);

  // Rings first: each is a black disc under a white one.
  p.Ring(c, l.radius, l.ringWidth);
  if (l.innerRadius > 0) p.Ring(c, l.innerRadius, kFineWidth);

  for (const DialMark& m : picture.marks) {
    const QPointF u = Outward(m.angleDegrees);
    p.Line(c + u * l.radius, c + u * (l.radius + l.tickLength), l.tickWidth);
  }
  for (const double side : {-0.5, 0.5}) {
    const QPointF u = Outward(side * rotation);
    p.Line(c + u * (l.radius - 0.6 * l.tickLength), c + u * (l.radius + 1.25 * l.tickLength), kStopWidth);
  }
  if (l.innerRadius > 0) {
    for (int k = 0; k <= 10; ++k) {
      const QPointF u = Outward(rotation * (k / 10.0 - 0.5));
      p.Line(c + u * l.innerRadius, c + u * (l.innerRadius - 0.6 * l.tickLength), kFineWidth);
    }
  }
  const double arm = std::min(2.5, 0.15 * l.radius);
  p.Line(c + QPointF(-arm, 0), c + QPointF(arm, 0), kFineWidth);
  p.Line(c + QPointF(0, -arm), c + QPointF(0, arm), kFineWidth);

  for (const DialText& t : l.labels) {
    if (t.leader) p.Line(c + t.leaderFrom, c + t.leaderTo, kLeaderWidth);
    p.Text(c, t);
  }
  for (const DialText& t : l.scaleLabels) p.Text(c, t);
  p.Text(c, l.circuit);
}

}  // namespace dorvane::forms
