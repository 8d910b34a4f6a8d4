// The copy menu of the real program on a real X server: the PNG that the
// clipboard hands out is the chart as the screen shows it, pixel for pixel,
// and the SVG has the chart's size less one pixel.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

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

TEST_F(ExportEndToEnd, SaveChartThroughTheMenuAndItsDialogByKeyboard) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("clavier.png");
  // Alt+F opens "Fichier"; E is "Enregistrer le graphique sous...".
  x_.key("alt+f");
  Sleep(300);
  x_.key("e");
  const qulonglong dialog = x_.waitForWindow(QString::fromUtf8("Enregistrer le graphique sous"));
  ASSERT_NE(dialog, 0u) << "no save dialog";
  // The name field has the focus: replace the proposed name and confirm.
  x_.key("ctrl+a");
  x_.type(path);
  x_.key("Return");
  for (int waited = 0; waited < 5000 && !QFile::exists(path); waited += 100) Sleep(100);
  const QImage saved(path, "PNG");
  ASSERT_FALSE(saved.isNull()) << "nothing saved at " << path.toStdString();
  const QImage onScreen = x_.screenshot(wid_).copy(Chart());
  EXPECT_EQ(Differences(saved.convertToFormat(QImage::Format_RGB32), onScreen), 0);

  // Saved again under the same name, "Oui" by the keyboard: the main window
  // has the keyboard again, every time.
  for (int round = 0; round < 4; ++round) {
    QFile::remove(path);
    QFile(path).open(QIODevice::WriteOnly);
    x_.key("alt+f");
    Sleep(300);
    x_.key("e");
    ASSERT_NE(x_.waitForWindow(QString::fromUtf8("Enregistrer le graphique sous")), 0u) << round;
    x_.key("ctrl+a");
    x_.type(path);
    x_.key("Return");
    Sleep(700);  // the question, "Non" by default
    x_.key("shift+Tab");
    x_.key("Return");
    for (int waited = 0; waited < 5000 && QFileInfo(path).size() == 0; waited += 100) Sleep(100);
    ASSERT_GT(QFileInfo(path).size(), 0) << round;
    Sleep(300);
    EXPECT_EQ(x_.run("xdotool", {"getactivewindow"}).trimmed().toULongLong(), wid_) << round;
  }
}

// The dial from the menu by the keyboard: Alt+F, N ("Enregistrer le cadran
// sous..."), Enter on the dial's dialog, the name in the file dialog; the
// PDF a reader opens, with the marks as text.
TEST_F(ExportEndToEnd, SaveTheDialThroughTheMenuByKeyboard) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("cadran.pdf");
  x_.key("alt+f");
  Sleep(300);
  x_.key("n");
  ASSERT_NE(x_.waitForWindow(QString::fromUtf8("Enregistrer le cadran")), 0u) << "no dial dialog";
  Sleep(300);
  x_.key("Return");
  ASSERT_NE(x_.waitForWindow(QString::fromUtf8("Enregistrer le cadran sous")), 0u) << "no save dialog";
  x_.key("ctrl+a");
  x_.type(path);
  x_.key("Return");
  for (int waited = 0; waited < 5000 && !QFile::exists(path); waited += 100) Sleep(100);
  ASSERT_TRUE(QFile::exists(path));
  const QString text = QString::fromUtf8(x_.run("pdftotext", {path, "-"}));
  for (const char* label : {"0 %", "50 %", "100 %", "P1 100K, R2 10K"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(label))) << label << text.toStdString();
  Sleep(300);
  EXPECT_EQ(x_.run("xdotool", {"getactivewindow"}).trimmed().toULongLong(), wid_);
}

TEST_F(ExportEndToEnd, PointerRestingOverThePlotShowsATipOutsideTheChartsImage) {
  const QImage before = x_.screenshot(wid_).copy(Chart());
  // Over the plot, right of its middle; a tool tip opens after a rest.
  x_.run("xdotool", {"mousemove", "--window", QString::number(wid_), "420", QString::number(top_ + 150)});
  Sleep(100);
  x_.run("xdotool", {"mousemove", "--window", QString::number(wid_), "421", QString::number(top_ + 151)});
  qulonglong tip = 0;
  for (int waited = 0; waited < 5000 && !tip; waited += 200) {
    const QList<QByteArray> ids =
        x_.run("xdotool", {"search", "--onlyvisible", "--class", "dorvane"}).trimmed().split('\n');
    for (const QByteArray& id : ids)
      if (!id.isEmpty() && id.toULongLong() != wid_) tip = id.toULongLong();
    if (!tip) Sleep(200);
  }
  ASSERT_NE(tip, 0u) << "no tool tip window";
  const QImage tipShot = x_.screenshot(tip);
  EXPECT_FALSE(tipShot.isNull());
  // The copy is drawn afresh from the chart's state: the tip is not in it.
  x_.key("alt+e");
  Sleep(300);
  x_.key("c");
  const QImage copied = ClipboardImage();
  ASSERT_FALSE(copied.isNull());
  EXPECT_EQ(Differences(copied.convertToFormat(QImage::Format_RGB32), before), 0);
}

}  // namespace
}  // namespace dorvane::e2e
