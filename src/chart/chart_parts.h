#pragma once
// The parts of the chart around the plot: the titles, the walls and the
// legend. Each reports its changes through Changed(), which the chart turns
// into a repaint request.
#include <QFont>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

#include "chart/chart_pens.h"
#include "chart/chart_types.h"
#include "gfx/colour.h"

namespace dorvane::chart {

// The lines of a title: every change asks the chart to repaint.
class TChartTitleText {
 public:
  explicit TChartTitleText(std::function<void()> changed) : changed_(std::move(changed)) {}
  void Clear() {
    lines_.clear();
    changed_();
  }
  void Add(const QString& line) {
    lines_.append(line);
    changed_();
  }
  int Count() const { return int(lines_.size()); }
  QString at(int i) const { return lines_.value(i); }
  const QStringList& lines() const { return lines_; }
  void setLines(const QStringList& lines) {
    lines_ = lines;
    changed_();
  }

 private:
  QStringList lines_;
  std::function<void()> changed_;
};

class TChartTitle : public QObject {
  Q_OBJECT
  Q_PROPERTY(QStringList Text READ TextLines WRITE setText)
  Q_PROPERTY(QFont Font READ Font WRITE setFont)
  Q_PROPERTY(unsigned FontColor READ FontColor WRITE setFontColor)
  Q_PROPERTY(dorvane::chart::TAlignment Alignment READ Alignment WRITE setAlignment)
  Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
  Q_PROPERTY(bool AdjustFrame READ AdjustFrame WRITE setAdjustFrame)
  Q_PROPERTY(unsigned Color READ Color WRITE setColor)

 public:
  explicit TChartTitle(QObject* parent);

  TChartTitleText& Text() { return text_; }
  QStringList TextLines() const { return text_.lines(); }
  void setText(const QStringList& lines) { text_.setLines(lines); }
  QFont Font() const { return font_; }
  void setFont(const QFont& f);
  gfx::Colour FontColor() const { return fontColor_; }
  void setFontColor(gfx::Colour c);
  TAlignment Alignment() const { return alignment_; }
  void setAlignment(TAlignment a);
  bool Visible() const { return visible_; }
  void setVisible(bool v);
  bool AdjustFrame() const { return adjustFrame_; }
  void setAdjustFrame(bool on);
  gfx::Colour Color() const { return color_; }
  void setColor(gfx::Colour c);
  TChartHiddenPen* Frame() const { return frame_; }
  TChartBrush* Brush() const { return brush_; }

 signals:
  void Changed();
  // The text only.
  void TextChanged();

 private:
  TChartTitleText text_;
  QFont font_;
  gfx::Colour fontColor_ = gfx::clBlue;
  TAlignment alignment_ = taCenter;
  bool visible_ = true;
  bool adjustFrame_ = true;
  gfx::Colour color_ = gfx::clAutomatic;
  TChartHiddenPen* frame_;
  TChartBrush* brush_;
};

class TChartWall : public QObject {
  Q_OBJECT
  Q_PROPERTY(unsigned Color READ Color WRITE setColor)
  Q_PROPERTY(bool Dark3D READ Dark3D WRITE setDark3D)
  Q_PROPERTY(int Size READ Size WRITE setSize)

 public:
  TChartWall(gfx::Colour colour, QObject* parent);
  gfx::Colour Color() const { return color_; }
  void setColor(gfx::Colour c);
  bool Dark3D() const { return dark3D_; }
  void setDark3D(bool on);
  int Size() const { return size_; }
  void setSize(int s);
  TChartBrush* Brush() const { return brush_; }
  TChartPen* Pen() const { return pen_; }

 signals:
  void Changed();

 private:
  gfx::Colour color_;
  bool dark3D_ = true;
  int size_ = 0;
  TChartBrush* brush_;
  TChartPen* pen_;
};

class TChartLegend : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
 public:
  explicit TChartLegend(QObject* parent) : QObject(parent) {}
  // Stored: the chart draws no legend.
  bool Visible() const { return visible_; }
  void setVisible(bool v) {
    if (SetField(visible_, v)) emit Changed();
  }
 signals:
  void Changed();

 private:
  bool visible_ = true;
};

}  // namespace dorvane::chart
