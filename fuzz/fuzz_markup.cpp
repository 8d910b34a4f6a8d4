// Random mark-up through DrawMarkup: it must not crash or hang, and the
// canvas must come back as it was.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "controls/markup.h"
#include "gfx/fonts.h"

namespace {
int g_argc = 1;
char g_arg0[] = "fuzz_markup";
char* g_argv[] = {g_arg0, nullptr};
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(g_argc, g_argv);
  dorvane::gfx::InstallFontSubstitutions();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dorvane;
  if (size < 6) return 0;
  // The first bytes choose the rectangle and the options, the rest is text.
  const int left = data[0] % 40 - 10, top = data[1] % 40 - 10;
  const int width = data[2] % 120, height = data[3] % 60;
  controls::MarkupOptions options;
  options.wordWrap = data[4] & 1;
  options.lineSpacing = (data[4] >> 1) % 5;
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 5), qsizetype(size - 5));

  static QImage image(64, 32, QImage::Format_RGB32);
  QPainter painter(&image);
  gfx::Canvas canvas(painter);
  const QFont font = gfx::WindowFont();
  canvas.setFont(font);
  canvas.setFontColour(gfx::clGreen);
  canvas.setBrush({gfx::clAqua, gfx::BrushStyle::Solid});
  canvas.setBackgroundMode(gfx::BackgroundMode::Opaque);
  const auto extent = controls::DrawMarkup(canvas, text, {left, top, left + width, top + height}, options);
  if (extent.width < 0 || extent.height <= 0) std::abort();
  if (canvas.font() != font || canvas.fontColour() != gfx::clGreen ||
      canvas.brush() != gfx::Brush{gfx::clAqua, gfx::BrushStyle::Solid} ||
      canvas.backgroundMode() != gfx::BackgroundMode::Opaque)
    std::abort();
  return 0;
}
