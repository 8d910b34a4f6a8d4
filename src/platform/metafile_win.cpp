// The enhanced metafile: the toolkit's painter drives a paint engine that
// draws with GDI calls into a metafile device context, so the picture is
// the system's own records (rectangles, pixels, lines, text), played back
// by any Windows program. The clipboard gets it as CF_ENHMETAFILE through a
// converter registered with the toolkit's Windows platform.
#include "platform/metafile.h"

#include <windows.h>

#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/private/qwindowsmime_p.h>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>
#include <QRegion>
#include <QTextItem>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace dorvane::platform {
namespace {

COLORREF Gdi(const QColor& c) {
  return RGB(c.red(), c.green(), c.blue());
}

// GDI objects made for one picture, deleted once deselected.
template <class Handle>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle h) : h_(h) {}
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  void reset(Handle h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  Handle get() const { return h_; }

 private:
  Handle h_ = nullptr;
};

class GdiEngine final : public QPaintEngine {
 public:
  explicit GdiEngine(HDC dc)
      : QPaintEngine(PrimitiveTransform | PixmapTransform | PainterPaths | RasterOpModes), dc_(dc) {}
  ~GdiEngine() override { Deselect(); }

  bool begin(QPaintDevice*) override {
    SetMapMode(dc_, MM_TEXT);
    SetBkMode(dc_, TRANSPARENT);
    SetTextAlign(dc_, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    SetPolyFillMode(dc_, WINDING);
    setActive(true);
    return true;
  }
  bool end() override {
    Deselect();
    setActive(false);
    return true;
  }
  Type type() const override { return QPaintEngine::Windows; }

  void updateState(const QPaintEngineState& state) override {
    const DirtyFlags dirty = state.state();
    if (dirty & DirtyTransform) matrix_ = state.transform();
    if (dirty & DirtyPen) pen_ = state.pen(), penStale_ = true;
    if (dirty & DirtyBrush) brush_ = state.brush(), brushStale_ = true;
    if (dirty & DirtyCompositionMode) mode_ = state.compositionMode();
    if (dirty & DirtyClipRegion) Clip(matrix_.map(state.clipRegion()), state.clipOperation());
    if (dirty & DirtyClipPath) {
      QRegion region;
      for (const QPolygonF& p : state.clipPath().toFillPolygons(matrix_))
        region += QRegion(p.toPolygon(), state.clipPath().fillRule());
      Clip(region, state.clipOperation());
    }
    if (dirty & DirtyClipEnabled) {
      clipOn_ = state.isClipEnabled();
      ApplyClip();
    }
  }

  void drawRects(const QRect* rects, int count) override {
    for (int i = 0; i < count; ++i) Rectangle(QRectF(rects[i]), true);
  }
  void drawRects(const QRectF* rects, int count) override {
    for (int i = 0; i < count; ++i) Rectangle(rects[i], false);
  }

  void drawPoints(const QPoint* points, int count) override {
    if (pen_.style() == Qt::NoPen) return;
    const COLORREF c = Gdi(pen_.color());
    for (int i = 0; i < count; ++i) {
      const QPoint p = matrix_.map(points[i]);
      if (Rop3() == PATCOPY) {
        SetPixelV(dc_, p.x(), p.y(), c);
      } else {
        SelectSolidBrush(pen_.color());
        PatBlt(dc_, p.x(), p.y(), 1, 1, Rop3());
      }
    }
  }
  void drawPoints(const QPointF* points, int count) override {
    for (int i = 0; i < count; ++i) {
      const QPoint p(int(std::floor(points[i].x())), int(std::floor(points[i].y())));
      drawPoints(&p, 1);
    }
  }

  // A line paints its first point and not its last, as GDI draws them and
  // as the toolkit draws a cosmetic line with flat caps.
  void drawLines(const QLine* lines, int count) override {
    if (pen_.style() == Qt::NoPen) return;
    SelectPen();
    SetROP2(dc_, Rop2());
    for (int i = 0; i < count; ++i) {
      const QPoint a = matrix_.map(lines[i].p1()), b = matrix_.map(lines[i].p2());
      MoveToEx(dc_, a.x(), a.y(), nullptr);
      LineTo(dc_, b.x(), b.y());
    }
    SetROP2(dc_, R2_COPYPEN);
  }
  void drawLines(const QLineF* lines, int count) override {
    for (int i = 0; i < count; ++i) {
      const QLine l = lines[i].toLine();
      drawLines(&l, 1);
    }
  }

  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    std::vector<POINT> mapped;
    for (int i = 0; i < count; ++i) {
      const QPointF p = matrix_.map(points[i]);
      mapped.push_back({LONG(std::lround(p.x())), LONG(std::lround(p.y()))});
    }
    Polygon(mapped, mode);
  }
  void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override {
    std::vector<POINT> mapped;
    for (int i = 0; i < count; ++i) {
      const QPoint p = matrix_.map(points[i]);
      mapped.push_back({p.x(), p.y()});
    }
    Polygon(mapped, mode);
  }

  void drawPath(const QPainterPath& path) override {
    const bool winding = path.fillRule() == Qt::WindingFill;
    if (brush_.style() != Qt::NoBrush) {
      const QPen pen = pen_;
      pen_ = Qt::NoPen, penStale_ = true;
      for (const QPolygonF& p : path.toFillPolygons())
        drawPolygon(p.constData(), int(p.size()), winding ? WindingMode : OddEvenMode);
      pen_ = pen, penStale_ = true;
    }
    if (pen_.style() != Qt::NoPen)
      for (const QPolygonF& p : path.toSubpathPolygons())
        drawPolygon(p.constData(), int(p.size()), PolylineMode);
  }

  void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF& source) override {
    drawImage(r, pixmap.toImage(), source, Qt::AutoColor);
  }

  void drawImage(const QRectF& r, const QImage& image, const QRectF& source,
                 Qt::ImageConversionFlags) override {
    const QRect target = matrix_.mapRect(r).toAlignedRect();
    const QRect from = source.toAlignedRect();
    if (target.isEmpty() || from.isEmpty()) return;
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = pixels.width();
    info.bmiHeader.biHeight = -pixels.height();  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (!pixels.hasAlphaChannel()) {
      // Bottom-up source rows for StretchDIBits' origin: flip the source box.
      StretchDIBits(dc_, target.x(), target.y(), target.width(), target.height(), from.x(),
                    pixels.height() - from.y() - from.height(), from.width(), from.height(),
                    pixels.constBits(), &info, DIB_RGB_COLORS, SRCCOPY);
      return;
    }
    // Translucent pixels are blended with what lies below when played back.
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && bitmap && bits) {
      std::memcpy(bits, pixels.constBits(), size_t(pixels.sizeInBytes()));
      const HGDIOBJ old = SelectObject(memory, bitmap);
      const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      GdiAlphaBlend(dc_, target.x(), target.y(), target.width(), target.height(), memory, from.x(), from.y(),
                    from.width(), from.height(), blend);
      SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
  }

  // Text as text: the face, size and turn of the toolkit's font, placed on
  // the toolkit's baseline; GDI spaces the glyphs.
  void drawTextItem(const QPointF& p, const QTextItem& item) override {
    if (pen_.style() == Qt::NoPen || item.text().isEmpty()) return;
    const QFont& font = item.font();
    LOGFONTW lf{};
    const int pixels =
        font.pixelSize() > 0 ? font.pixelSize() : int(std::lround(font.pointSizeF() * 96 / 72));
    lf.lfHeight = -std::max(1, pixels);
    // The turn of the baseline: the toolkit's y axis points down, GDI's
    // angles turn anticlockwise.
    const double degrees = std::atan2(matrix_.m12(), matrix_.m11()) * 180 / std::numbers::pi;
    lf.lfEscapement = lf.lfOrientation = LONG(std::lround(-degrees * 10));
    lf.lfWeight = std::clamp(int(font.weight()), 1, 1000);
    lf.lfItalic = font.italic();
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = (font.styleStrategy() & QFont::NoAntialias) ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY;
    const std::wstring face = font.family().left(LF_FACESIZE - 1).toStdWString();
    std::copy(face.begin(), face.end(), lf.lfFaceName);
    if (!gdiFont_.handle || std::memcmp(&lf, &gdiFont_.logFont, sizeof lf) != 0) {
      HFONT made = CreateFontIndirectW(&lf);
      if (!made) return;
      SelectObject(dc_, made);
      if (gdiFont_.handle) DeleteObject(gdiFont_.handle);
      gdiFont_.handle = made;
      gdiFont_.logFont = lf;
    }
    SetTextColor(dc_, Gdi(pen_.color()));
    const QPointF at = matrix_.map(p);
    const std::wstring text = item.text().toStdWString();
    ExtTextOutW(dc_, int(std::lround(at.x())), int(std::lround(at.y())), 0, nullptr, text.c_str(),
                UINT(text.size()), nullptr);
  }

 private:
  struct SelectedFont {
    HFONT handle = nullptr;
    LOGFONTW logFont{};
  };

  DWORD Rop3() const {
    switch (mode_) {
      case QPainter::RasterOp_NotSourceXorDestination:
        return 0x00A50065;  // PDxn
      case QPainter::RasterOp_SourceXorDestination:
        return PATINVERT;
      default:
        return PATCOPY;
    }
  }
  int Rop2() const {
    switch (mode_) {
      case QPainter::RasterOp_NotSourceXorDestination:
        return R2_NOTXORPEN;
      case QPainter::RasterOp_SourceXorDestination:
        return R2_XORPEN;
      default:
        return R2_COPYPEN;
    }
  }

  void SelectSolidBrush(const QColor& colour) {
    if (!brushHandle_.get() || brushColour_ != colour) {
      HBRUSH made = CreateSolidBrush(Gdi(colour));
      SelectObject(dc_, made);
      brushHandle_.reset(made);
      brushColour_ = colour;
    } else if (!brushSelected_) {
      SelectObject(dc_, brushHandle_.get());
    }
    brushSelected_ = true;
    brushStale_ = true;  // maybe not the painter's brush
  }

  void SelectNullBrush() {
    SelectObject(dc_, GetStockObject(NULL_BRUSH));
    brushSelected_ = false;
    brushStale_ = true;
  }

  void SelectPen() {
    if (!penStale_ && penHandle_.get()) return;
    HPEN made = nullptr;
    if (pen_.style() == Qt::NoPen) {
      made = CreatePen(PS_NULL, 0, 0);
    } else if (pen_.isCosmetic() || pen_.width() <= 1) {
      made = CreatePen(pen_.style() == Qt::SolidLine ? PS_SOLID : PS_DOT, 1, Gdi(pen_.color()));
    } else {
      LOGBRUSH lb{BS_SOLID, Gdi(pen_.color()), 0};
      const DWORD cap = pen_.capStyle() == Qt::RoundCap    ? PS_ENDCAP_ROUND
                        : pen_.capStyle() == Qt::SquareCap ? PS_ENDCAP_SQUARE
                                                           : PS_ENDCAP_FLAT;
      made =
          ExtCreatePen(PS_GEOMETRIC | PS_SOLID | cap | PS_JOIN_MITER, DWORD(pen_.width()), &lb, 0, nullptr);
    }
    SelectObject(dc_, made);
    penHandle_.reset(made);
    penStale_ = false;
  }

  void SelectBrush() {
    if (!brushStale_) return;
    if (brush_.style() == Qt::NoBrush)
      SelectNullBrush();
    else
      SelectSolidBrush(brush_.color());
    brushStale_ = false;
  }

  // Fills keep the toolkit's rule for an integer rectangle (its x .. x + w
  // - 1 columns); an outline pen adds the edge at x + w, as the toolkit's
  // aliased outline does.
  void Rectangle(const QRectF& r, bool integer) {
    if (!matrix_.isAffine() || matrix_.type() > QTransform::TxScale) {
      drawPolygon(QPolygonF(r).constData(), 4, brush_.style() == Qt::NoBrush ? PolylineMode : WindingMode);
      return;
    }
    const QRect d = integer ? matrix_.mapRect(r).toRect() : matrix_.mapRect(r).toAlignedRect();
    if (brush_.style() != Qt::NoBrush && !d.isEmpty()) {
      SelectSolidBrush(brush_.color());
      PatBlt(dc_, d.x(), d.y(), d.width(), d.height(), Rop3());
    }
    if (pen_.style() != Qt::NoPen) {
      SelectPen();
      SelectNullBrush();
      SetROP2(dc_, Rop2());
      ::Rectangle(dc_, d.left(), d.top(), d.left() + d.width() + 1, d.top() + d.height() + 1);
      SetROP2(dc_, R2_COPYPEN);
    }
  }

  void Polygon(const std::vector<POINT>& points, PolygonDrawMode mode) {
    if (points.size() < 2) return;
    SelectPen();
    SetROP2(dc_, Rop2());
    if (mode == PolylineMode) {
      Polyline(dc_, points.data(), int(points.size()));
    } else {
      SelectBrush();
      SetPolyFillMode(dc_, mode == OddEvenMode ? ALTERNATE : WINDING);
      ::Polygon(dc_, points.data(), int(points.size()));
    }
    SetROP2(dc_, R2_COPYPEN);
  }

  void Clip(const QRegion& region, Qt::ClipOperation op) {
    if (op == Qt::NoClip) {
      clipOn_ = false;
    } else {
      clip_ = op == Qt::IntersectClip && clipOn_ ? clip_ & region : region;
      clipOn_ = true;
    }
    ApplyClip();
  }

  void ApplyClip() {
    if (!clipOn_) {
      SelectClipRgn(dc_, nullptr);
      return;
    }
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (const QRect& r : clip_) {
      HRGN part = CreateRectRgn(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
      CombineRgn(region, region, part, RGN_OR);
      DeleteObject(part);
    }
    SelectClipRgn(dc_, region);
    DeleteObject(region);
  }

  void Deselect() {
    SelectObject(dc_, GetStockObject(BLACK_PEN));
    SelectObject(dc_, GetStockObject(WHITE_BRUSH));
    brushSelected_ = false;
    SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    penHandle_.reset();
    brushHandle_.reset();
    if (gdiFont_.handle) DeleteObject(gdiFont_.handle);
    gdiFont_ = {};
    penStale_ = brushStale_ = true;
  }

  HDC dc_;
  QTransform matrix_;
  QPen pen_;
  QBrush brush_;
  QPainter::CompositionMode mode_ = QPainter::CompositionMode_SourceOver;
  QRegion clip_;
  bool clipOn_ = false;
  Owned<HPEN> penHandle_;
  Owned<HBRUSH> brushHandle_;
  QColor brushColour_;
  bool brushSelected_ = false;
  bool penStale_ = true, brushStale_ = true;
  SelectedFont gdiFont_;
};

// The metafile as the toolkit's painter sees it: `size` pixels at 96 per
// inch, as the bitmap copy measures its text.
class MetafileDevice final : public QPaintDevice {
 public:
  MetafileDevice(HDC dc, QSize size) : engine_(dc), size_(size) {}
  QPaintEngine* paintEngine() const override { return &engine_; }

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth:
        return size_.width();
      case PdmHeight:
        return size_.height();
      case PdmWidthMM:
        return int(std::lround(size_.width() * 25.4 / 96));
      case PdmHeightMM:
        return int(std::lround(size_.height() * 25.4 / 96));
      case PdmNumColors:
        return INT_MAX;
      case PdmDepth:
        return 32;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return 96;
      case PdmDevicePixelRatio:
        return 1;
      case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    }
    return 0;
  }

 private:
  mutable GdiEngine engine_;
  QSize size_;
};

}  // namespace

QByteArray RecordMetafile(QSize size, const std::function<void(QPainter&)>& draw) {
  if (size.isEmpty()) return {};
  // The frame, in hundredths of a millimetre, is the picture's size in the
  // reference device's (the screen's) pixels.
  HDC screen = GetDC(nullptr);
  if (!screen) return {};
  const RECT frame{
      0, 0, MulDiv(size.width() * 100, GetDeviceCaps(screen, HORZSIZE), GetDeviceCaps(screen, HORZRES)),
      MulDiv(size.height() * 100, GetDeviceCaps(screen, VERTSIZE), GetDeviceCaps(screen, VERTRES))};
  HDC dc = CreateEnhMetaFileW(screen, nullptr, &frame, L"Dorvane\0Graphique\0");
  ReleaseDC(nullptr, screen);
  if (!dc) return {};
  bool drawn = false;
  {
    MetafileDevice device(dc, size);
    QPainter painter(&device);
    if (painter.isActive()) {
      draw(painter);
      drawn = painter.end();
    }
  }
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  if (!metafile) return {};
  QByteArray bytes;
  const UINT length = drawn ? GetEnhMetaFileBits(metafile, 0, nullptr) : 0;
  if (length > 0) {
    bytes.resize(qsizetype(length));
    if (GetEnhMetaFileBits(metafile, length, reinterpret_cast<BYTE*>(bytes.data())) != length) bytes.clear();
  }
  DeleteEnhMetaFile(metafile);
  return bytes;
}

namespace {

// kMetafileMimeType <-> CF_ENHMETAFILE for the toolkit's OLE clipboard.
class MetafileMime final : public QNativeInterface::Private::QWindowsMime {
 public:
  bool canConvertFromMime(const FORMATETC& format, const QMimeData* data) const override {
    return format.cfFormat == CF_ENHMETAFILE && (format.tymed & TYMED_ENHMF) &&
           data->hasFormat(QLatin1String(kMetafileMimeType));
  }
  bool convertFromMime(const FORMATETC& format, const QMimeData* data, STGMEDIUM* medium) const override {
    if (!canConvertFromMime(format, data)) return false;
    const QByteArray bytes = data->data(QLatin1String(kMetafileMimeType));
    HENHMETAFILE metafile =
        SetEnhMetaFileBits(UINT(bytes.size()), reinterpret_cast<const BYTE*>(bytes.constData()));
    if (!metafile) return false;
    medium->tymed = TYMED_ENHMF;
    medium->hEnhMetaFile = metafile;  // the receiver deletes it
    medium->pUnkForRelease = nullptr;
    return true;
  }
  QList<FORMATETC> formatsForMime(const QString& mimeType, const QMimeData*) const override {
    if (mimeType != QLatin1String(kMetafileMimeType)) return {};
    return {FORMATETC{CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF}};
  }
  bool canConvertToMime(const QString& mimeType, IDataObject* object) const override {
    FORMATETC format{CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
    return mimeType == QLatin1String(kMetafileMimeType) && object->QueryGetData(&format) == S_OK;
  }
  QVariant convertToMime(const QString& mimeType, IDataObject* object, QMetaType) const override {
    if (!canConvertToMime(mimeType, object)) return {};
    FORMATETC format{CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
    STGMEDIUM medium{};
    if (object->GetData(&format, &medium) != S_OK) return {};
    QByteArray bytes;
    if (medium.tymed == TYMED_ENHMF) {
      const UINT length = GetEnhMetaFileBits(medium.hEnhMetaFile, 0, nullptr);
      bytes.resize(qsizetype(length));
      if (length == 0 ||
          GetEnhMetaFileBits(medium.hEnhMetaFile, length, reinterpret_cast<BYTE*>(bytes.data())) != length)
        bytes.clear();
    }
    ReleaseStgMedium(&medium);
    return bytes.isEmpty() ? QVariant() : QVariant(bytes);
  }
  QString mimeForFormat(const FORMATETC& format) const override {
    return format.cfFormat == CF_ENHMETAFILE ? QString::fromLatin1(kMetafileMimeType) : QString();
  }
};

}  // namespace

void OfferMetafileToClipboard() {
  static bool offered = false;
  if (offered) return;
  using QNativeInterface::Private::QWindowsApplication;
  auto* windows = qGuiApp ? qGuiApp->nativeInterface<QWindowsApplication>() : nullptr;
  if (!windows) return;  // another platform: its own clipboard
  static MetafileMime mime;
  windows->registerMime(&mime);
  offered = true;
}

}  // namespace dorvane::platform
