// The copy menu of the real program on a real X server: the PNG that the
// clipboard hands out is the chart as the screen shows it, pixel for pixel,
// and the SVG has the chart's size less one pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>

#include "e2e/x_session.h"

namespace dorvane::e2e {
namespace {

int Differences(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return -1;
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += At(a, x, y) != At(b, x, y);
  return n;
}

class ExportEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!x_.ok()) GTEST_SKIP() << x_.error().toStdString();
    x_.start(DORVANE_BINARY, {}, {"LC_ALL=fr_FR.UTF-8"});
    wid_ = x_.waitForWindow(kMainTitle);
    ASSERT_NE(wid_, 0u) << "the window never showed";
    x_.focus(wid_);
    shot_ = x_.screenshotUntil(wid_, [](const QImage& s) { return PanelTop(s) >= 0; });
    top_ = PanelTop(shot_);
    ASSERT_GE(top_, 0);
  }
  QRect Chart() const { return {248, top_ + 16, 345, 321}; }
  QByteArray Clipboard(const QString& type) {
    return x_.run("xclip", {"-selection", "clipboard", "-t", type, "-o"});
  }
  // The clipboard's PNG once the program has put one there.
  QImage ClipboardImage() {
    QImage img;
    for (int waited = 0; waited < 5000 && img.isNull(); waited += 100) {
      if (Clipboard("TARGETS").contains("image/png")) img = QImage::fromData(Clipboard("image/png"), "PNG");
      if (img.isNull()) Sleep(100);
    }
    return img;
  }
  void ExpectTheChartOnTheClipboard(const char* how) {
    const QImage copied = ClipboardImage();
    ASSERT_FALSE(copied.isNull()) << how << ": no PNG on the clipboard";
    EXPECT_EQ(copied.size(), QSize(345, 321)) << how;
    const QImage onScreen = x_.screenshot(wid_).copy(Chart());
    EXPECT_EQ(Differences(copied, onScreen), 0) << how;
  }

  XSession x_;
  qulonglong wid_ = 0;
  QImage shot_;
  int top_ = -1;
};

TEST_F(ExportEndToEnd, CopyAsBitmapByKeyboardAndByMouse) {
  // Alt+E opens "Edition"; C is the access key of "Copier en Bitmap ".
  x_.key("alt+e");
  Sleep(300);
  x_.key("c");
  ExpectTheChartOnTheClipboard("keyboard");

  // Something else on the clipboard first, so the second copy must replace it.
  // (xclip serves it until it loses the clipboard or the server goes.)
  x_.run("sh", {"-c", "printf autre | xclip -selection clipboard -i"});
  ASSERT_FALSE(Clipboard("TARGETS").contains("image/png"));
  // The menu bar's "Edition" and its first item, as laid out on the screen.
  x_.focus(wid_);
  x_.click(wid_, 72, 9);
  Sleep(300);
  x_.click(wid_, 110, 27);
  ExpectTheChartOnTheClipboard("mouse");
}

TEST_F(ExportEndToEnd, CopyAsMetafileGivesSvgOfTheChartLessOnePixel) {
  x_.key("alt+e");
  Sleep(300);
  x_.key("o");
  QByteArray targets;
  for (int waited = 0; waited < 5000 && !targets.contains("image/svg+xml"); waited += 100) {
    targets = Clipboard("TARGETS");
    if (!targets.contains("image/svg+xml")) Sleep(100);
  }
  ASSERT_TRUE(targets.contains("image/svg+xml")) << targets.constData();
  const QString svg = QString::fromUtf8(Clipboard("image/svg+xml"));
  const QRegularExpressionMatch m = QRegularExpression(R"re(<svg width="(\d+)" height="(\d+)")re").match(svg);
  ASSERT_TRUE(m.hasMatch()) << svg.left(300).toStdString();
  EXPECT_EQ(m.captured(1).toInt(), 344);
  EXPECT_EQ(m.captured(2).toInt(), 320);
  EXPECT_TRUE(svg.contains(R"(viewBox="0 0 344 320")"));
  EXPECT_TRUE(svg.contains(">Montage en Pseudo Log (Log Pos)</text>"));
}

}  // namespace
}  // namespace dorvane::e2e
