#pragma once
// The chart control, one class per layer of responsibility:
//   TCustomChartPanel          size, margins, the off-screen image, the
//                              layout and drawing pipelines, drawing into
//                              any canvas, the copies for the clipboard
//   TCustomChartPanelExtended  gradient and zoom / scroll switches
//   TCustomAxisPanel           series list, axes, axis space and drawing
//   TCustomChart               titles, walls, legend, mouse handling
//   TChart                     the published properties
#include "chart/chart_custom.h"

namespace dorvane::chart {

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
