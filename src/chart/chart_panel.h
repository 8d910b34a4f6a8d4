#pragma once
// The base of the chart control: size, margins, the off-screen image, the
// layout and drawing pipelines, drawing into any canvas, and the copies for
// the clipboard.
//
// A pass first lays the chart out (margins, titles, axis bands and spans,
// tick lists: geometry only, from the properties and the size) and then
// draws, each drawing step reading that geometry. The layout is also made on
// demand, so the geometry is there before anything is drawn.
//
// The window's image is drawn in two layers: everything but the series
// (background, titles, wall, axes) is kept in a second image, made again
// only when a setting changes or the layout moves; a replot of the series
// copies it and draws the series over it. The picture is the one a whole
// pass draws.
#include <QImage>
#include <QSize>
#include <QStringList>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

#include "chart/chart_axis.h"
#include "chart/chart_types.h"
#include "gfx/canvas.h"
#include "gfx/colour.h"

namespace dorvane::chart {

// What the background image shows beyond the settings: the layout's
// rectangles and ranges, and texts that change on every replot.
struct BackgroundKey {
  std::vector<double> numbers;
  QStringList texts;
  friend bool operator==(const BackgroundKey&, const BackgroundKey&) = default;
};

// Where a title's lines go: between left and right, the first line's top
// at top.
struct TitlePlace {
  bool shown = false;
  int left = 0, right = 0, top = 0;
};

// Everything a layout works out for one drawing target: the window has its
// own, and drawing into an image or a file of another size lays out a
// second one without touching it.
struct ChartLayout {
  gfx::Rect chartArea;
  gfx::Rect plotRect;
  TitlePlace title, foot;
  std::array<AxisGeometry, 5> axes;  // by AxisKind
};

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

  // Marks the off-screen image, its background and the layout stale and
  // asks for a paint; the paints that follow merge into one drawing pass.
  virtual void RequestRepaint();
  // The same for a change the background image does not show, or shows
  // only through what BackgroundKey holds (the series, the title's text):
  // the background stays unless the new layout differs.
  void RequestSeriesRepaint();
  // Draws the whole chart into any canvas with ChartArea = rect. Does not
  // touch the off-screen image.
  virtual void DrawToCanvas(gfx::Canvas& canvas, const gfx::Rect& rect);
  // The chart drawn afresh into a new image of the given size (layout
  // pixels) at the given density.
  QImage DrawToImage(QSize size, qreal devicePixelRatio = 1);

  // --- copies for the clipboard ---------------------------------------------
  // The chart drawn afresh, as the window shows it, and put on the
  // clipboard: as an image of the client size, or as a vector picture one
  // pixel narrower and lower: SVG, and beside it, where the system has one,
  // its enhanced metafile (there is no other variant, so the flag changes
  // nothing). Neither changes a property or asks for a paint;
  // the off-screen image is dropped, so the next paint draws afresh. Throw
  // EClipboardError when the clipboard cannot be had.
  void CopyAsBitmap();
  void CopyAsMetafile(bool enhanced);
  // What the copies put on the clipboard.
  QImage ExportBitmap();
  QByteArray ExportSvg();
  // The system's metafile, or nothing where it has none
  // (platform/metafile.h).
  QByteArray ExportMetafile();

  // With the off-screen image off, every paint draws straight to the
  // window (for callers that need a live drawing); on by default.
  bool BufferedDisplay() const { return buffered_; }
  void setBufferedDisplay(bool on);
  // The image the last paint copied, at device size.
  const QImage& OffscreenImage() const { return image_; }
  bool ImageStale() const { return stale_; }
  // Drawing passes run so far, and how many of them drew the background
  // image, for tests and benchmarks.
  qint64 DrawingPassCount() const { return passes_; }
  qint64 BackgroundPassCount() const { return backgroundPasses_; }

  // Geometry of the last layout: of the last drawing pass, or of the
  // client rectangle when a change since made it stale.
  gfx::Rect ChartArea() const {
    EnsureLayout();
    return chartArea_;
  }
  gfx::Rect PlotRect() const {
    EnsureLayout();
    return plotRect_;
  }
  // Lays the chart out for the client rectangle when a change or a resize
  // made the layout stale; the geometry getters call it.
  void EnsureLayout() const;
  // The geometry of one axis in the layout in use.
  AxisGeometry& AxisLayout(AxisKind kind) { return layout_.axes[size_t(kind)]; }

  // While loading (from a layout or a set-up function) range checks are
  // off; see TChartAxis.
  bool Loading() const { return loading_; }
  void setLoading(bool on) { loading_ = on; }
  bool Destroying() const { return destroying_; }

 protected:
  // --- layout: geometry only; the canvas measures text -----------------------
  // Margins, then the titles, then the axes take their bands.
  void LayOut(gfx::Canvas& measure, const gfx::Rect& area);
  virtual void LayOutTitles(gfx::Canvas& measure);
  virtual void ReserveAxisSpace(gfx::Canvas& measure);

  // What the background image depends on beyond the settings.
  virtual void AddToBackgroundKey(BackgroundKey& key) const;

  // --- drawing: reads the layout ---------------------------------------------
  // Lays out, then draws every step.
  virtual void DrawChart(gfx::Canvas& canvas);
  virtual void DrawBevels(gfx::Canvas& canvas, const gfx::Rect& rect);
  virtual gfx::Rect GetDrawRectangle() const;
  virtual void FillBackground(gfx::Canvas& canvas, const gfx::Rect& rect);
  virtual void PaintBackground(gfx::Canvas& canvas, const gfx::Rect& rect);
  virtual void DrawTitles(gfx::Canvas& canvas);
  virtual void DrawWalls(gfx::Canvas& canvas);
  virtual void DrawAxes(gfx::Canvas& canvas);
  virtual void DrawSeries(gfx::Canvas& canvas);
  // The rectangle the series are clipped to, when they are: a replot
  // restores only this part of the background.
  virtual std::optional<gfx::Rect> SeriesClip() const { return std::nullopt; }
  virtual void ResetCanvas(gfx::Canvas& canvas);

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // System colours, the style, fonts and the screen's density reach the
  // picture without a property changing: all of it is drawn again.
  void changeEvent(QEvent* event) override;
  void setDestroying() { destroying_ = true; }
  // The layout went back to the window's after drawing elsewhere.
  virtual void LayoutRestored() {}

  ChartLayout layout_;
  gfx::Rect& chartArea_ = layout_.chartArea;
  gfx::Rect& plotRect_ = layout_.plotRect;

 private:
  // Drawing steps and the series read the geometry while a pass runs: no
  // layout on demand may replace it then.
  class PassGuard;
  // Draws into the canvas with the off-screen image switched off.
  void DrawAfresh(gfx::Canvas& canvas, const gfx::Rect& rect);
  // Every step but the series.
  void DrawBackground(gfx::Canvas& canvas);
  // The window's image: the background image, made again when stale, and
  // the series over a copy of it.
  void DrawOverBackground();
  void MarginsToPlotRect();

  gfx::Colour color_ = gfx::clBtnFace;
  TPanelBevel bevelOuter_ = bvRaised, bevelInner_ = bvNone;
  int bevelWidth_ = 1, borderWidth_ = 0;
  int marginLeft_ = 3, marginTop_ = 4, marginRight_ = 3, marginBottom_ = 4;

  bool buffered_ = true;
  bool stale_ = true;
  bool layoutStale_ = true;
  bool backgroundStale_ = true;
  bool keepBackground_ = false;  // the repaint asked for leaves it valid
  bool inPass_ = false;
  bool paintPending_ = false;  // an update() is on its way
  bool loading_ = false;
  bool destroying_ = false;
  QImage image_;
  QImage background_;
  // The part of image_ the last series drawing may have touched; the whole
  // image when image_ does not hold the background elsewhere. The pixels
  // the canvas wrote, when it knows them all, narrow it further.
  QRect seriesDirty_;
  gfx::Canvas::Damage seriesDamage_;
  BackgroundKey backgroundKey_;
  qint64 passes_ = 0;
  qint64 backgroundPasses_ = 0;
};

}  // namespace dorvane::chart
