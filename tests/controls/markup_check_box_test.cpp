#include "controls/markup_check_box.h"
#include "support/layout_metrics.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <array>
#include <map>
#include <memory>

#include "gfx/fonts.h"
#include "pixels.h"
#include "support/look_guard.h"

namespace dorvane::controls {
namespace {

using pixels::Bounds;
using pixels::Diff;
using pixels::PointSet;
using pixels::Render;
using Box = TMarkupCheckBox;

constexpr QPoint kAt(16, 64);

// A white form with one check box configured like the main window's.
struct Form {
  QWidget parent;
  Box* box;
  explicit Form(const QString& caption = QStringLiteral("Ajouter résistance R1"), int width = 129) {
    parent.resize(300, 120);
    parent.setFont(gfx::WindowFont());
    parent.setAutoFillBackground(true);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, Qt::white);
    parent.setPalette(pal);
    box = new Box(&parent);
    box->setGeometry(kAt.x(), kAt.y(), width, 20);
    box->setButtonType(Box::btWinXP);
    box->setAlignment(Box::taLeftJustify);
    box->setTransparent(true);
    box->setCaption(caption);
  }
};

using testsupport::LookGuard;

int Width(const QString& s) {
  return QFontMetrics(gfx::WindowFont()).horizontalAdvance(s);
}
int LineHeight() {
  return testsupport::LayoutMetrics(gfx::WindowFont()).height();
}

struct TextRun {
  QString text;
  QColor colour;
};

void DrawRuns(QPainter& p, QPoint at, const std::vector<TextRun>& runs) {
  p.setFont(gfx::WindowFont());
  const testsupport::LayoutMetrics fm(gfx::WindowFont());
  int x = at.x();
  for (const TextRun& r : runs) {
    p.setPen(r.colour);
    p.drawText(QPoint(x, at.y() + fm.ascent()), r.text);
    x += fm.horizontalAdvance(r.text);
  }
}

// The style's own check-box indicator at the box's place, for comparison.
void DrawIndicator(QPainter& p, const QWidget& box, QRect r, QStyle::State state) {
  QStyleOptionButton opt;
  opt.initFrom(&box);
  opt.rect = r;
  opt.state = state;
  box.style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &opt, &p, &box);
}

QImage WhiteImage() {
  QImage img(300, 120, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

const QColor kWindowText = gfx::ToQColor(gfx::clWindowText);
const std::vector<TextRun> kR1Caption{
    {"Ajouter ", kWindowText}, {"résistance ", kWindowText}, {"R1", kWindowText}};

TEST(MarkupCheckBox, ThemedBoxAndCaptionPlaces) {
  for (bool checked : {false, true}) {
    Form f;
    f.box->setChecked(checked);
    QImage expected = WhiteImage();
    {
      QPainter p(&expected);
      DrawIndicator(p, *f.box, QRect(kAt + QPoint(0, 4), QSize(14, 14)),
                    QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off));
      DrawRuns(p, kAt + QPoint(18, 4), kR1Caption);  // first glyph at x = 18, cell from y = 4
    }
    EXPECT_TRUE(Diff(Render(f.parent), expected).empty()) << checked;
  }
}

// The unthemed pictures as the design gives them: the two enabled ones row
// by row with their legend; a disabled one is the enabled one with every
// frame and tick pixel in the colour 'g'.
constexpr std::array<const char*, 16> kCheckedRows{
    "................", ".#############..", ".#ogooooooooo#..", ".#ogogooooooo#..",
    ".#gooooooovoo#..", ".#ooooooovvoo#..", ".#oovooovvvoo#..", ".#oovvovvvoow#..",
    ".#oovvvvvoowo#..", ".#ooovvvoowow#..", ".#oooovoowoww#..", ".#oooooowwwww#..",
    ".#ooooowowwww#..", ".#############..", "................", "................",
};
constexpr std::array<const char*, 16> kUncheckedRows{
    "................", ".#############..", ".#gggggoooooo#..", ".#gggggoooooo#..",
    ".#gggoooooooo#..", ".#gggoooooooo#..", ".#goooooooooo#..", ".#ogooooooooo#..",
    ".#oooooooooow#..", ".#oooooooooww#..", ".#oooooooowww#..", ".#ooooooowwww#..",
    ".#ooooowowwww#..", ".#############..", "................", "................",
};
constexpr QRgb kMagenta = qRgb(0xFF, 0x00, 0xFF), kFrame = qRgb(0x20, 0x60, 0x80),
               kFace = qRgb(0xFF, 0xFB, 0xF0), kTint = qRgb(0xC0, 0xDC, 0xC0), kTick = qRgb(0x20, 0xA0, 0x40);

QImage Picture(bool checked, bool disabled) {
  const std::map<char, QRgb> legend{
      {'.', kMagenta}, {'#', kFrame}, {'o', kFace}, {'g', kTint}, {'w', qRgb(0xFF, 0xFF, 0xFF)},
      {'v', kTick}};
  const auto& rows = checked ? kCheckedRows : kUncheckedRows;
  QImage img(16, 16, QImage::Format_RGB32);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) img.setPixel(x, y, legend.at(rows[size_t(y)][x]));
  if (disabled)
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        if (img.pixel(x, y) == kFrame || img.pixel(x, y) == kTick) img.setPixel(x, y, kTint);
  return img;
}

// The picture drawn over a background: magenta, its bottom-left colour,
// lets the background through.
QImage Over(const QImage& picture, QRgb background) {
  QImage img = picture.copy();
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (img.pixel(x, y) == kMagenta) img.setPixel(x, y, background);
  return img;
}

TEST(MarkupCheckBox, BitmapsPixelForPixel) {
  struct Case {
    int number;
    bool checked, disabled;
  };
  for (const Case c :
       {Case{5, true, false}, Case{6, false, false}, Case{7, true, true}, Case{8, false, true}}) {
    const QImage img = TCustomMarkupCheckBox::CheckBoxBitmap(c.number);
    ASSERT_EQ(img.size(), QSize(16, 16));
    EXPECT_TRUE(Diff(img.convertToFormat(QImage::Format_RGB32), Picture(c.checked, c.disabled)).empty())
        << "CHKBOX0" << c.number;
  }
}

TEST(MarkupCheckBox, BitmapBoxAndCaptionPlaces) {
  LookGuard look(false);
  for (bool enabled : {true, false})
    for (bool checked : {false, true}) {
      Form f(QStringLiteral("R1"));
      f.box->setChecked(checked);
      f.box->setEnabled(enabled);
      const QImage img = Render(f.parent);
      // The picture at (0, 2), magenta showing the background.
      EXPECT_TRUE(Diff(img.copy(QRect(kAt + QPoint(0, 2), QSize(16, 16))),
                       Over(Picture(checked, !enabled), qRgb(255, 255, 255)))
                      .empty())
          << enabled << checked;
      if (!enabled) continue;
      QImage expected = WhiteImage();
      {
        QPainter p(&expected);
        DrawRuns(p, kAt + QPoint(23, 4), {{"R1", kWindowText}});
      }
      const QRect caption(kAt + QPoint(16, 0), QSize(129 - 16, 20));
      EXPECT_TRUE(Diff(img, expected, caption).empty()) << checked;
    }
}

TEST(MarkupCheckBox, BoxPlaceFollowsAlignments) {
  struct Case {
    bool themed;
    Box::TLeftRight align;
    Box::TTextLayout layout;
    QRect box;
  };
  const Case cases[] = {
      {true, Box::taLeftJustify, Box::tlTop, {0, 4, 14, 14}},
      {true, Box::taLeftJustify, Box::tlCenter, {0, 4, 14, 14}},
      {true, Box::taLeftJustify, Box::tlBottom, {0, 6, 14, 14}},
      {true, Box::taRightJustify, Box::tlTop, {114, 4, 14, 14}},
      {false, Box::taLeftJustify, Box::tlTop, {0, 2, 16, 16}},
      {false, Box::taLeftJustify, Box::tlCenter, {0, 2, 16, 16}},
      {false, Box::taLeftJustify, Box::tlBottom, {0, 4, 16, 16}},
      {false, Box::taRightJustify, Box::tlTop, {112, 2, 16, 16}},
  };
  for (const Case& c : cases) {
    LookGuard look(c.themed);
    Form f;
    f.box->setAlignment(c.align);
    f.box->setButtonVertAlign(c.layout);
    EXPECT_EQ(f.box->BoxRect(), c.box) << c.themed << c.align << c.layout;
  }
  // Right-justified: the caption runs from the left edge to 17 (or 22) short
  // of the right edge.
  Form f;
  f.box->setAlignment(Box::taRightJustify);
  EXPECT_EQ(f.box->CaptionRect(), (gfx::Rect{0, 4, 129 - 17, 20}));
  LookGuard look(false);
  EXPECT_EQ(f.box->CaptionRect(), (gfx::Rect{0, 4, 129 - 22, 20}));
}

TEST(MarkupCheckBox, FocusRectangleAroundTheCaption) {
  Form f;
  const QImage before = Render(f.parent);
  // The first click focuses and toggles; untick again to compare the caption.
  QTest::mouseClick(f.box, Qt::LeftButton, {}, QPoint(5, 10));
  ASSERT_TRUE(f.box->Checked());
  f.box->setChecked(false);
  const QImage after = Render(f.parent);
  // Dotted, from (17, 4) to (17 + W + 3, 4 + H + 1), every other pixel.
  const int w = Width("Ajouter ") + Width("résistance ") + Width("R1");
  ASSERT_LT(w, 129 - 17 - 1);
  const QRect r(kAt + QPoint(17, 4), QSize(w + 3, LineHeight() + 1));
  PointSet dots;
  auto dot = [&](int x, int y) {
    if ((x - r.left() + y - r.top()) % 2 == 0) dots.insert({x, y});
  };
  for (int x = r.left(); x <= r.right(); ++x) {
    dot(x, r.top());
    dot(x, r.bottom());
  }
  for (int y = r.top(); y <= r.bottom(); ++y) {
    dot(r.left(), y);
    dot(r.right(), y);
  }
  EXPECT_EQ(Diff(before, after), dots);
  QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
  QApplication::sendEvent(f.box, &out);
  EXPECT_TRUE(Diff(before, Render(f.parent)).empty());
}

TEST(MarkupCheckBox, DisabledCaptionIsEngravedButTagsKeepTheirColour) {
  Form f(QStringLiteral("Afficher <FONT color=\"#80FF00\">courbe originale</FONT>"), 161);
  f.box->setEnabled(false);
  const QColor green(0x80, 0xFF, 0x00);
  QImage expected = WhiteImage();
  {
    QPainter p(&expected);
    DrawIndicator(p, *f.box, QRect(kAt + QPoint(0, 4), QSize(14, 14)), QStyle::State_Off);
    DrawRuns(p, kAt + QPoint(19, 5), {{"Afficher ", Qt::white}, {"courbe ", green}, {"originale", green}});
    DrawRuns(p, kAt + QPoint(18, 4),
             {{"Afficher ", QColor(0x80, 0x80, 0x80)}, {"courbe ", green}, {"originale", green}});
  }
  EXPECT_TRUE(Diff(Render(f.parent), expected).empty());
}

TEST(MarkupCheckBox, ThemedStateFollowsTheTable) {
  Form f;
  const QRect box(kAt + QPoint(0, 4), QSize(14, 14));
  auto indicator = [&](QStyle::State s) {
    QImage img = WhiteImage();
    QPainter p(&img);
    DrawIndicator(p, *f.box, box, s);
    return img;
  };
  // Pressed (mouse held).
  QTest::mousePress(f.box, Qt::LeftButton, {}, QPoint(5, 10));
  EXPECT_TRUE(f.box->Down());
  EXPECT_TRUE(
      Diff(Render(f.parent), indicator(QStyle::State_Enabled | QStyle::State_Sunken | QStyle::State_Off), box)
          .empty());
  // Disabled wins over pressed.
  f.box->setEnabled(false);
  EXPECT_TRUE(Diff(Render(f.parent), indicator(QStyle::State_Off), box).empty());
  f.box->setEnabled(true);
  QTest::mouseRelease(f.box, Qt::LeftButton, {}, QPoint(5, 10));
  EXPECT_FALSE(f.box->Down());
  // Hot, checked.
  QEnterEvent enter(QPointF(5, 10), QPointF(5, 10), QPointF(5, 10));
  QApplication::sendEvent(f.box, &enter);
  EXPECT_TRUE(Diff(Render(f.parent),
                   indicator(QStyle::State_Enabled | QStyle::State_MouseOver | QStyle::State_On), box)
                  .empty());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(f.box, &leave);
  EXPECT_TRUE(Diff(Render(f.parent), indicator(QStyle::State_Enabled | QStyle::State_On), box).empty());
}

TEST(MarkupCheckBox, TransparentBoxShowsWhatLiesBehind) {
  Form f{QString()};
  f.box->setCaption(QString());
  QImage expected = WhiteImage();
  {
    QPainter p(&expected);
    DrawIndicator(p, *f.box, QRect(kAt + QPoint(0, 4), QSize(14, 14)),
                  QStyle::State_Enabled | QStyle::State_Off);
  }
  EXPECT_TRUE(Diff(Render(f.parent), expected).empty());
  f.box->setTransparent(false);
  f.box->setColor(gfx::clAqua);
  EXPECT_EQ(Render(f.parent).pixel(kAt + QPoint(100, 1)), qRgb(0, 255, 255));
}

// --- user input ---------------------------------------------------------

struct ClickLog {
  std::vector<bool> checkedAtClick;
  void attach(Box* box) {
    QObject::connect(box, &Box::OnClick, [this, box] { checkedAtClick.push_back(box->Checked()); });
  }
};

TEST(MarkupCheckBox, AnyButtonClickTogglesThenRaisesOnClick) {
  for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
    Form f;
    ClickLog log;
    log.attach(f.box);
    QTest::mouseClick(f.box, button, {}, QPoint(5, 10));
    QTest::mouseClick(f.box, button, {}, QPoint(60, 10));
    EXPECT_EQ(log.checkedAtClick, (std::vector<bool>{true, false})) << button;
  }
}

TEST(MarkupCheckBox, ReleaseOutsideDoesNothing) {
  Form f;
  ClickLog log;
  log.attach(f.box);
  QTest::mousePress(f.box, Qt::LeftButton, {}, QPoint(5, 10));
  QTest::mouseMove(f.box, QPoint(200, 10));
  EXPECT_FALSE(f.box->Down());
  QTest::mouseMove(f.box, QPoint(129, 20));  // the far edges still count as inside
  EXPECT_TRUE(f.box->Down());
  QTest::mouseMove(f.box, QPoint(130, 10));
  QTest::mouseRelease(f.box, Qt::LeftButton, {}, QPoint(130, 10));
  EXPECT_FALSE(f.box->Checked());
  EXPECT_TRUE(log.checkedAtClick.empty());
  QTest::mousePress(f.box, Qt::LeftButton, {}, QPoint(5, 10));
  QTest::mouseRelease(f.box, Qt::LeftButton, {}, QPoint(129, 20));
  EXPECT_EQ(log.checkedAtClick, (std::vector<bool>{true}));
}

TEST(MarkupCheckBox, SpaceBarTogglesOnRelease) {
  Form f;
  ClickLog log;
  log.attach(f.box);
  QTest::keyPress(f.box, Qt::Key_Space);
  EXPECT_TRUE(f.box->Down());
  EXPECT_TRUE(log.checkedAtClick.empty());
  QTest::keyRelease(f.box, Qt::Key_Space);
  EXPECT_FALSE(f.box->Down());
  EXPECT_EQ(log.checkedAtClick, (std::vector<bool>{true}));
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_A, Qt::Key_Tab}) QTest::keyClick(f.box, key);
  EXPECT_EQ(log.checkedAtClick, (std::vector<bool>{true}));
  EXPECT_TRUE(f.box->Checked());
}

// A handler may delete the box it was raised by, as with the toolkit's buttons.
TEST(MarkupCheckBox, HandlerMayDeleteTheBox) {
  for (bool byKey : {false, true}) {
    Form f;
    QPointer<Box> box = f.box;
    QObject::connect(f.box, &Box::OnClick, f.box, [box] { delete box.data(); });
    if (byKey)
      QTest::keyClick(f.box, Qt::Key_Space);
    else
      QTest::mouseClick(f.box, Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_TRUE(box.isNull()) << byKey;
  }
}

TEST(MarkupCheckBox, StateSetFromCodeRaisesNothing) {
  Form f;
  QSignalSpy spy(f.box, &Box::OnClick);
  const QImage unchecked = Render(f.parent);
  f.box->setChecked(true);
  f.box->setState(Box::cbGrayed);
  f.box->setState(Box::cbChecked);
  EXPECT_TRUE(f.box->Checked());
  const QImage checked = Render(f.parent);
  EXPECT_FALSE(Diff(unchecked, checked, QRect(kAt + QPoint(0, 4), QSize(14, 14))).empty());
  f.box->setChecked(false);
  EXPECT_TRUE(Diff(unchecked, Render(f.parent)).empty());
  EXPECT_EQ(spy.count(), 0);
}

TEST(MarkupCheckBox, ReadOnlyStillRaisesOnClick) {
  Form f;
  f.box->setReadOnly(true);
  ClickLog log;
  log.attach(f.box);
  QTest::mouseClick(f.box, Qt::LeftButton, {}, QPoint(5, 10));
  QTest::keyClick(f.box, Qt::Key_Space);
  EXPECT_EQ(log.checkedAtClick, (std::vector<bool>{false, false}));
}

TEST(MarkupCheckBox, ClickTakesTheFocusAndReturnCanActAsTab) {
  QWidget window;
  window.resize(200, 100);
  auto* box = new Box(&window);
  box->setGeometry(0, 0, 100, 20);
  box->setReturnIsTab(true);
  auto* next = new Box(&window);
  next->setGeometry(0, 40, 100, 20);
  next->setTabStop(true);
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_FALSE(box->TabStop());
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 10));
  EXPECT_TRUE(box->hasFocus());
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_TRUE(next->hasFocus());
  EXPECT_TRUE(box->Checked());
  EXPECT_FALSE(next->Checked());
}

}  // namespace
}  // namespace dorvane::controls
