#pragma once
// The chart control, one class per layer of responsibility:
//   TCustomChartPanel          size, margins, the off-screen image, the
//                              drawing pipeline, drawing into any canvas
//   TCustomChartPanelExtended  gradient and zoom / scroll switches
//   TCustomAxisPanel           series list, axes, axis space and drawing
//   TCustomChart               titles, walls, legend
//   TChart                     the published properties
#include <array>
#include <functional>

#include <QChar>
#include <QFont>
#include <QImage>
#include <QList>
#include <QStringList>
#include <QWidget>

#include "chart/chart_axis.h"
#include "chart/chart_pens.h"
#include "chart/chart_series.h"
#include "chart/chart_types.h"
#include "gfx/canvas.h"
#include "gfx/colour.h"

namespace dorvane::chart {

class TCustomChartPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TCustomChartPanel(QWidget* parent = nullptr);

  gfx::Colour Color() const { return color_; }
  void setColor(gfx::Colour c);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void setBevelOuter(TPanelBevel b);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void setBevelInner(TPanelBevel b);
  int BevelWidth() const { return bevelWidth_; }
  void setBevelWidth(int w);
  int BorderWidth() const { return borderWidth_; }
  void setBorderWidth(int w);
  int MarginLeft() const { return marginLeft_; }
  void setMarginLeft(int m);
  int MarginTop() const { return marginTop_; }
  void setMarginTop(int m);
  int MarginRight() const { return marginRight_; }
  void setMarginRight(int m);
  int MarginBottom() const { return marginBottom_; }
  void setMarginBottom(int m);

  // Marks the off-screen image stale and asks for a paint; the paints that
  // follow merge into one drawing pass.
  virtual void RequestRepaint();
  // Draws the whole chart into any canvas with ChartArea = rect. Does not
  // touch the off-screen image.
  virtual void DrawToCanvas(gfx::Canvas& canvas, const gfx::Rect& rect);
  // The chart drawn afresh into a new image of the given size (layout
  // pixels) at the given density.
  QImage DrawToImage(QSize size, qreal devicePixelRatio = 1);

  // --- export (chart_export.cpp) ------------------------------------------
  // The chart drawn afresh, as the window shows it, and put on the
  // clipboard: as an image of the client size, or as SVG one pixel
  // narrower and lower (the vector image has no "enhanced" variant, so the
  // flag changes nothing). Neither changes a property or asks for a paint;
  // the off-screen image is dropped, so the next paint draws afresh. Throw
  // EClipboardError when the clipboard cannot be had.
  void CopyAsBitmap();
  void CopyAsMetafile(bool enhanced);
  // What the copies put on the clipboard.
  QImage ExportBitmap();
  QByteArray ExportSvg();

  // With the off-screen image off, every paint draws straight to the
  // window (for callers that need a live drawing); on by default.
  bool BufferedDisplay() const { return buffered_; }
  void setBufferedDisplay(bool on);
  // The image the last paint copied, at device size.
  const QImage& OffscreenImage() const { return image_; }
  bool ImageStale() const { return stale_; }
  // Drawing passes run so far, for tests and benchmarks.
  qint64 DrawingPassCount() const { return passes_; }

  // Geometry of the last drawing pass.
  gfx::Rect ChartArea() const { return chartArea_; }
  gfx::Rect PlotRect() const { return plotRect_; }
  int ChartWidth() const { return plotRect_.width(); }
  int ChartHeight() const { return plotRect_.height(); }
  QPoint ChartCenter() const {
    return {(plotRect_.left + plotRect_.right) / 2, (plotRect_.top + plotRect_.bottom) / 2};
  }

  // While loading (from a layout or a set-up function) range checks are
  // off; see TChartAxis.
  bool Loading() const { return loading_; }
  void setLoading(bool on) { loading_ = on; }
  bool Destroying() const { return destroying_; }

 protected:
  // The drawing pipeline, step by step.
  virtual void DrawChart(gfx::Canvas& canvas);
  virtual void DrawBevels(gfx::Canvas& canvas, const gfx::Rect& rect);
  virtual void SetCanvasFont(gfx::Canvas& canvas, const QFont& font);
  virtual gfx::Rect GetDrawRectangle() const;
  virtual void DrawBackImage(gfx::Canvas& canvas, const gfx::Rect& rect);
  virtual void FillBackground(gfx::Canvas& canvas, const gfx::Rect& rect);
  virtual void PaintBackground(gfx::Canvas& canvas, const gfx::Rect& rect);
  virtual void DrawTitles(gfx::Canvas& canvas);
  virtual void ReserveAxisSpace(gfx::Canvas& canvas);
  virtual void ApplySeriesMargins() {}
  virtual void DrawWalls(gfx::Canvas& canvas);
  virtual void DrawAxes(gfx::Canvas& canvas);
  virtual void DrawSeries(gfx::Canvas& canvas);
  virtual void ResetCanvas(gfx::Canvas& canvas);

  void paintEvent(QPaintEvent* event) override;
  void setDestroying() { destroying_ = true; }
  // Draws into the canvas with the off-screen image switched off.
  void DrawAfresh(gfx::Canvas& canvas, const gfx::Rect& rect);

  gfx::Rect chartArea_;
  gfx::Rect plotRect_;

 private:
  void MarginsToPlotRect();

  gfx::Colour color_ = gfx::clBtnFace;
  TPanelBevel bevelOuter_ = bvRaised, bevelInner_ = bvNone;
  int bevelWidth_ = 1, borderWidth_ = 0;
  int marginLeft_ = 3, marginTop_ = 4, marginRight_ = 3, marginBottom_ = 4;

  bool buffered_ = true;
  bool stale_ = true;
  bool paintPending_ = false;  // an update() is on its way
  bool loading_ = false;
  bool destroying_ = false;
  QImage image_;
  qint64 passes_ = 0;
};

class TChartGradient : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
  Q_PROPERTY(unsigned StartColor READ StartColor WRITE setStartColor)
  Q_PROPERTY(unsigned EndColor READ EndColor WRITE setEndColor)

 public:
  explicit TChartGradient(QObject* parent) : QObject(parent) {}
  bool Visible() const { return visible_; }
  void setVisible(bool v);
  gfx::Colour StartColor() const { return start_; }
  void setStartColor(gfx::Colour c);
  gfx::Colour EndColor() const { return end_; }
  void setEndColor(gfx::Colour c);

 signals:
  void Changed();

 private:
  bool visible_ = false;
  gfx::Colour start_ = gfx::clWhite, end_ = gfx::clYellow;
};

class TCustomChartPanelExtended : public TCustomChartPanel {
  Q_OBJECT

 public:
  explicit TCustomChartPanelExtended(QWidget* parent = nullptr);

  TChartGradient* Gradient() const { return gradient_; }
  bool AllowZoom() const { return allowZoom_; }
  void setAllowZoom(bool on);
  TPanningMode AllowPanning() const { return allowPanning_; }
  void setAllowPanning(TPanningMode m);

 protected:
  void FillBackground(gfx::Canvas& canvas, const gfx::Rect& rect) override;

 private:
  TChartGradient* gradient_;
  bool allowZoom_ = true;
  TPanningMode allowPanning_ = pmBoth;
};

class TCustomAxisPanel : public TCustomChartPanelExtended {
  Q_OBJECT

 public:
  explicit TCustomAxisPanel(QWidget* parent = nullptr);
  ~TCustomAxisPanel() override;

  // --- series list ---------------------------------------------------------
  int SeriesCount() const { return int(series_.size()); }
  TChartSeries* Series(int index) const {
    return index >= 0 && index < SeriesCount() ? series_[index] : nullptr;
  }
  const QList<TChartSeries*>& SeriesList() const { return series_; }
  // Appends a series; the chart becomes its owner.
  void AddSeries(TChartSeries* series);
  // Takes a series out of the list; it stays alive, without a chart.
  void RemoveSeries(TChartSeries* series);

  // --- axes ----------------------------------------------------------------
  TChartAxis* BottomAxis() const { return axes_[0]; }
  TChartAxis* TopAxis() const { return axes_[1]; }
  TChartAxis* LeftAxis() const { return axes_[2]; }
  TChartAxis* RightAxis() const { return axes_[3]; }
  TChartAxis* DepthAxis() const { return axes_[4]; }
  // In drawing order: bottom, top, left, right, depth.
  const std::array<TChartAxis*, 5>& Axes() const { return axes_; }
  // Visible, and bound to an active series unless none is active.
  bool IsAxisShown(const TChartAxis* axis) const;

  bool AxisVisible() const { return axisVisible_; }
  void setAxisVisible(bool on);
  bool ClipPoints() const { return clipPoints_; }
  void setClipPoints(bool on);
  // Stored: the chart is always drawn flat.
  bool View3D() const { return view3D_; }
  void setView3D(bool on);
  int Chart3DPercent() const { return chart3DPercent_; }
  void setChart3DPercent(int p);

  // Separators of the axis labels; by default the user's numeric locale's.
  QChar DecimalSeparator() const { return decimalSeparator_; }
  void setDecimalSeparator(QChar c);
  QChar ThousandSeparator() const { return thousandSeparator_; }
  void setThousandSeparator(QChar c);

 protected:
  void ReserveAxisSpace(gfx::Canvas& canvas) override;
  void DrawAxes(gfx::Canvas& canvas) override;
  void DrawSeries(gfx::Canvas& canvas) override;

 private:
  QList<TChartSeries*> series_;
  std::array<TChartAxis*, 5> axes_;
  bool axisVisible_ = true;
  bool clipPoints_ = true;
  bool view3D_ = true;
  int chart3DPercent_ = 15;
  QChar decimalSeparator_, thousandSeparator_;
};

// The lines of a title: every change asks the chart to repaint.
class TChartTitleText {
 public:
  explicit TChartTitleText(std::function<void()> changed) : changed_(std::move(changed)) {}
  void clear() {
    lines_.clear();
    changed_();
  }
  void add(const QString& line) {
    lines_.append(line);
    changed_();
  }
  void Clear() { clear(); }
  void Add(const QString& line) { add(line); }
  int count() const { return int(lines_.size()); }
  int Count() const { return count(); }
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
    if (v == visible_) return;
    visible_ = v;
    emit Changed();
  }
 signals:
  void Changed();

 private:
  bool visible_ = true;
};

class TChartMouse;

class TCustomChart : public TCustomAxisPanel {
  Q_OBJECT

 public:
  explicit TCustomChart(QWidget* parent = nullptr);

  // --- zoom and scroll by mouse (chart_zoom.cpp) ----------------------------
  // Zooms every axis to the pixel rectangle (corners in any order), saving
  // the ranges for UndoZoom first; raises OnZoom.
  void ZoomRect(const QRect& rect);
  // Brings back the ranges from before the first zoom or scroll (or just
  // repaints when none were saved); raises OnUndoZoom.
  void UndoZoom();
  bool Zoomed() const;
  bool AnimatedZoom() const { return animatedZoom_; }
  void setAnimatedZoom(bool on) { animatedZoom_ = on; }
  int AnimatedZoomSteps() const { return animatedZoomSteps_; }
  void setAnimatedZoomSteps(int steps) { animatedZoomSteps_ = steps; }
  // The drag records and the saved ranges.
  TChartMouse& Mouse();

  TChartTitle* Title() const { return title_; }
  TChartTitle* Foot() const { return foot_; }
  TChartWall* BackWall() const { return backWall_; }
  TChartWall* LeftWall() const { return leftWall_; }
  TChartWall* BottomWall() const { return bottomWall_; }
  TChartLegend* Legend() const { return legend_; }
  gfx::Colour BackColor() const { return backWall_->Color(); }
  // Also makes the back wall's brush solid.
  void setBackColor(gfx::Colour c);

 signals:
  void OnZoom();
  void OnUndoZoom();
  void OnScroll();
  // Before an axis scrolls to [min, max]; a handler may change the bounds
  // or clear allow (direct connections only).
  void OnAllowScroll(dorvane::chart::TChartAxis* axis, double& min, double& max, bool& allow);
  void OnClickSeries(dorvane::chart::TChartSeries* series, int index, Qt::MouseButton button, QPoint pos);
  void OnClickAxis(dorvane::chart::TChartAxis* axis, Qt::MouseButton button, QPoint pos);
  void OnClickBackground(Qt::MouseButton button, QPoint pos);

 protected:
  void DrawTitles(gfx::Canvas& canvas) override;
  void DrawWalls(gfx::Canvas& canvas) override;
  // The window copy of the off-screen image, with the rubber rectangle of a
  // zoom drag over it.
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void DrawTitle(gfx::Canvas& canvas, const TChartTitle& title, bool top);

  TChartTitle* title_;
  TChartTitle* foot_;
  TChartWall* backWall_;
  TChartWall* leftWall_;
  TChartWall* bottomWall_;
  TChartLegend* legend_;
  TChartMouse* mouse_ = nullptr;  // made on first use, a child of the chart
  bool animatedZoom_ = false;
  int animatedZoomSteps_ = 8;
};

class TChart : public TCustomChart {
  Q_OBJECT
  Q_PROPERTY(unsigned Color READ Color WRITE setColor)
  Q_PROPERTY(dorvane::chart::TPanelBevel BevelOuter READ BevelOuter WRITE setBevelOuter)
  Q_PROPERTY(dorvane::chart::TPanelBevel BevelInner READ BevelInner WRITE setBevelInner)
  Q_PROPERTY(int BevelWidth READ BevelWidth WRITE setBevelWidth)
  Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)
  Q_PROPERTY(int MarginLeft READ MarginLeft WRITE setMarginLeft)
  Q_PROPERTY(int MarginTop READ MarginTop WRITE setMarginTop)
  Q_PROPERTY(int MarginRight READ MarginRight WRITE setMarginRight)
  Q_PROPERTY(int MarginBottom READ MarginBottom WRITE setMarginBottom)
  Q_PROPERTY(bool View3D READ View3D WRITE setView3D)
  Q_PROPERTY(int Chart3DPercent READ Chart3DPercent WRITE setChart3DPercent)
  Q_PROPERTY(bool AxisVisible READ AxisVisible WRITE setAxisVisible)
  Q_PROPERTY(bool ClipPoints READ ClipPoints WRITE setClipPoints)
  Q_PROPERTY(unsigned BackColor READ BackColor WRITE setBackColor)
  Q_PROPERTY(bool AllowZoom READ AllowZoom WRITE setAllowZoom)
  Q_PROPERTY(dorvane::chart::TPanningMode AllowPanning READ AllowPanning WRITE setAllowPanning)
  Q_PROPERTY(bool BufferedDisplay READ BufferedDisplay WRITE setBufferedDisplay)
  Q_PROPERTY(bool AnimatedZoom READ AnimatedZoom WRITE setAnimatedZoom)
  Q_PROPERTY(int AnimatedZoomSteps READ AnimatedZoomSteps WRITE setAnimatedZoomSteps)

 public:
  explicit TChart(QWidget* parent = nullptr) : TCustomChart(parent) {}
};

}  // namespace dorvane::chart
