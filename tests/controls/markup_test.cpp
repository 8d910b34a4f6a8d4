#include "controls/markup.h"
#include "support/layout_metrics.h"

#include <gtest/gtest.h>
#include <QFontMetrics>
#include <QPainter>

#include <vector>

#include "gfx/fonts.h"
#include "pixels.h"

namespace dorvane::controls {
namespace {

using pixels::Bounds;
using pixels::Diff;

constexpr QSize kImage(260, 60);

QImage Blank() {
  QImage img(kImage, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

struct Drawn {
  QImage image;
  MarkupExtent extent;
};

Drawn Draw(const QString& text, gfx::Rect r = {10, 4, 250, 60}, MarkupOptions options = {},
           gfx::Colour startColour = gfx::clBlack) {
  Drawn d{Blank(), {}};
  QPainter painter(&d.image);
  gfx::Canvas canvas(painter);
  canvas.setFont(gfx::WindowFont());
  canvas.setFontColour(startColour);
  d.extent = DrawMarkup(canvas, text, r, options);
  return d;
}

// What the runs should look like, drawn straight with QPainter: each run in
// its colour, one after the other from x, on lines of the font's height.
struct TextRun {
  QString text;
  QColor colour;
  int line = 0;
};

QImage Reference(const std::vector<TextRun>& runs, int x0 = 11, int top = 4, int clipRight = kImage.width()) {
  QImage img = Blank();
  QPainter painter(&img);
  painter.setClipRect(QRect(0, 0, clipRight, kImage.height()));
  const QFont font = gfx::WindowFont();
  painter.setFont(font);
  const testsupport::LayoutMetrics fm(font, &img);
  int x = x0, line = 0;
  for (const TextRun& run : runs) {
    if (run.line != line) {
      line = run.line;
      x = x0;
    }
    painter.setPen(run.colour);
    painter.drawText(QPoint(x, top + line * fm.height() + fm.ascent()), run.text);
    x += fm.horizontalAdvance(run.text);
  }
  return img;
}

int Width(const QString& s) {
  return QFontMetrics(gfx::WindowFont()).horizontalAdvance(s);
}
int LineHeight() {
  return testsupport::LayoutMetrics(gfx::WindowFont()).height();
}

TEST(Markup, ProgramCaptionWithColourTag) {
  const Drawn d = Draw(QStringLiteral("Afficher <FONT color=\"#80FF00\">courbe originale</FONT>"));
  const QImage expected = Reference({{"Afficher ", Qt::black},
                                     {"courbe ", QColor(0x80, 0xFF, 0x00)},
                                     {"originale", QColor(0x80, 0xFF, 0x00)}});
  EXPECT_TRUE(Diff(d.image, expected).empty());
  EXPECT_EQ(d.extent.width, Width("Afficher ") + Width("courbe ") + Width("originale"));
  EXPECT_EQ(d.extent.height, LineHeight());
}

TEST(Markup, TagSpellingsThatActAlike) {
  // Two spaces before ">", lower-case hex, and any case of the tag name.
  const QImage expected = Reference(
      {{"Afficher ", Qt::black}, {"courbe ", QColor(0xC0, 0xC0, 0xC0)}, {"log", QColor(0xC0, 0xC0, 0xC0)}});
  for (const char* text : {"Afficher <FONT color=\"#C0C0C0\"  >courbe log</FONT>",
                           "Afficher <font COLOR=\"#c0c0c0\">courbe log</font>",
                           "Afficher <FoNt face=\"x\" color=\"clSilver\">courbe log"}) {
    EXPECT_TRUE(Diff(Draw(QString::fromUtf8(text)).image, expected).empty()) << text;
  }
}

TEST(Markup, ColourValues) {
  struct Case {
    const char* value;
    gfx::Colour colour;
  };
  const Case cases[] = {
      {"#80FF00", 0x00FF80},
      {"#80ff00", 0x00FF80},
      {"#0000FF", gfx::clBlue},
      {"#FF0000", gfx::clRed},
      {"clRed", gfx::clRed},
      {"CLSILVER", gfx::clSilver},
      {"clBtnFace", gfx::clBtnFace},
      {"clInfoBk", gfx::clInfoBk},
      {"red", gfx::clBlack},
      {"clNoSuchColour", gfx::clBlack},
      {"#12", gfx::clBlack},
      {"#GG0000", gfx::clBlack},
      {"", gfx::clBlack},
  };
  for (const Case& c : cases) EXPECT_EQ(MarkupColour(QString::fromLatin1(c.value)), c.colour) << c.value;
}

TEST(Markup, EndTagsGoBackToTheStartingColour) {
  const QColor blue(0, 0, 255), red(255, 0, 0);
  // An end tag without a start tag still resets; a second start tag replaces
  // the first without nesting.
  const Drawn d = Draw(QStringLiteral("a<FONT color=\"#FF0000\">b<FONT color=\"clBlack\">c</FONT>d</FONT>e"),
                       {10, 4, 250, 60}, {}, gfx::clBlue);
  EXPECT_TRUE(Diff(d.image, Reference({{"a", blue}, {"b", red}, {"c", Qt::black}, {"d", blue}, {"e", blue}}))
                  .empty());
}

TEST(Markup, UnknownAndUnbuiltTagsVanish) {
  const std::vector<TextRun> abcd{{"ab", Qt::black}, {"cd", Qt::black}};
  for (const char* text :
       {"ab<X>cd", "ab<XYZ q=\"1\">cd", "ab<B>cd", "ab</I>cd", "ab<SUB>cd", "ab<IMG src=\"IDX:1\">cd",
        "ab<A href=\"x\">cd</A>", "ab<>cd", "ab</>cd", "ab<FONT size=\"5\" bgcolor=\"#FF0000\">cd"}) {
    const Drawn d = Draw(QString::fromUtf8(text));
    EXPECT_TRUE(Diff(d.image, Reference(abcd)).empty()) << text;
    EXPECT_EQ(d.extent.width, Width("ab") + Width("cd")) << text;
  }
}

TEST(Markup, TagWithoutClosingBracketDropsTheRest) {
  const Drawn d = Draw(QStringLiteral("abc <FONT color=\"#FF0000\" more text"));
  EXPECT_TRUE(Diff(d.image, Reference({{"abc ", Qt::black}})).empty());
  EXPECT_EQ(d.extent.width, Width("abc"));  // the trailing space is not counted
}

TEST(Markup, EmptyTextDrawsNothing) {
  const Drawn d = Draw(QString());
  EXPECT_TRUE(Diff(d.image, Blank()).empty());
  EXPECT_EQ(d.extent, (MarkupExtent{0, LineHeight()}));
}

TEST(Markup, CarriageReturnBreaksTheLine) {
  for (const char* text : {"ab\rcd", "ab\r\ncd", "ab<BR>cd", "ab<br>\ncd"}) {
    const Drawn d = Draw(QString::fromLatin1(text));
    EXPECT_TRUE(Diff(d.image, Reference({{"ab", Qt::black, 0}, {"cd", Qt::black, 1}})).empty()) << text;
    EXPECT_EQ(d.extent, (MarkupExtent{std::max(Width("ab"), Width("cd")), 2 * LineHeight()})) << text;
  }
}

TEST(Markup, SecondLineDroppedInATwentyPixelBox) {
  // The check box's caption rectangle: top 4, bottom 20. The second line
  // would start at 4 + line height and needs a whole line below it.
  const QString text = QStringLiteral("Afficher courbe originale");
  const int width = Width("Afficher courbe ") + 3;  // "originale" does not fit
  const Drawn d = Draw(text, {10, 4, 10 + width, 20});
  EXPECT_TRUE(Diff(d.image, Reference({{"Afficher ", Qt::black}, {"courbe ", Qt::black}})).empty());
  EXPECT_EQ(d.extent, (MarkupExtent{Width("Afficher courbe"), LineHeight()}));
  // With room for it, the last word goes to a second line.
  const Drawn tall = Draw(text, {10, 4, 10 + width, 4 + 2 * LineHeight()});
  EXPECT_TRUE(Diff(tall.image,
                   Reference({{"Afficher ", Qt::black}, {"courbe ", Qt::black}, {"originale", Qt::black, 1}}))
                  .empty());
  EXPECT_EQ(tall.extent.height, 2 * LineHeight());
}

TEST(Markup, WordsWrapWhereTheLineIsFull) {
  // The line must stay narrower than the rectangle's width less one.
  const int w = Width("aa bb");
  const Drawn exact = Draw(QStringLiteral("aa bb"), {10, 4, 10 + w + 1, 60});
  EXPECT_TRUE(Diff(exact.image, Reference({{"aa ", Qt::black}, {"bb", Qt::black, 1}})).empty());
  EXPECT_EQ(exact.extent, (MarkupExtent{std::max(Width("aa"), Width("bb")), 2 * LineHeight()}));
  const Drawn roomy = Draw(QStringLiteral("aa bb"), {10, 4, 10 + w + 2, 60});
  EXPECT_TRUE(Diff(roomy.image, Reference({{"aa ", Qt::black}, {"bb", Qt::black}})).empty());
  EXPECT_EQ(roomy.extent, (MarkupExtent{w, LineHeight()}));
}

TEST(Markup, AWordWiderThanTheBoxIsStillDrawn) {
  // It goes on its line anyway, cut at the box's right edge.
  const Drawn d = Draw(QStringLiteral("Anticonstitutionnellement x"), {10, 4, 40, 60});
  EXPECT_TRUE(
      Diff(d.image, Reference({{"Anticonstitutionnellement ", Qt::black}, {"x", Qt::black, 1}}, 11, 4, 40))
          .empty());
  EXPECT_EQ(d.extent, (MarkupExtent{Width("Anticonstitutionnellement"), 2 * LineHeight()}));
}

TEST(Markup, TouchingWordsStayTogether) {
  // "cd" touches "ab" across a tag, so it stays on the line (cut at the
  // edge) although it does not fit; "ef" goes to the next line.
  const int w = Width("ab");
  const Drawn d = Draw(QStringLiteral("ab<FONT color=\"#FF0000\">cd ef"), {10, 4, 10 + w + 2, 60});
  EXPECT_TRUE(
      Diff(d.image, Reference({{"ab", Qt::black}, {"cd ", QColor(255, 0, 0)}, {"ef", QColor(255, 0, 0), 1}},
                              11, 4, 10 + w + 2))
          .empty());
  EXPECT_EQ(d.extent.width, Width("abcd"));
}

TEST(Markup, AmpersandsAndEntities) {
  // "&&" and "&amp;" both show one "&"; the other entities become their
  // characters, whatever the case of their names.
  for (const char* text : {"R&&D", "R&amp;D", "R&AMP;D"}) {
    const Drawn d = Draw(QString::fromLatin1(text), {10, 4, 250, 60}, {false});
    EXPECT_TRUE(Diff(d.image, Reference({{"R&D", Qt::black}})).empty()) << text;
  }
  EXPECT_EQ(PrepareMarkup(QStringLiteral("&quot;&sect;&PERMIL;&reg;&copy;&para;&trade;&euro;")),
            QString::fromUtf16(u"\"\u00A7\u2030\u00AE\u00A9\u00B6\u2122\u20AC"));
  EXPECT_EQ(PrepareMarkup(QStringLiteral("a\r\nb\nc")), QStringLiteral("a<BR>bc"));
  // &lt; and &gt; are read inside a run, after the tags have been found.
  const Drawn lt = Draw(QStringLiteral("&lt;b&gt;"));
  EXPECT_TRUE(Diff(lt.image, Reference({{"<b>", Qt::black}})).empty());
  // A single ampersand underlines the next character.
  const Drawn mnemonic = Draw(QStringLiteral("&Quitter"));
  QImage expected = Blank();
  {
    QPainter p(&expected);
    p.setFont(gfx::WindowFont());
    p.drawText(QRect(11, 4, 239, LineHeight()), Qt::TextShowMnemonic | Qt::AlignLeft | Qt::AlignTop,
               "&Quitter");
  }
  EXPECT_TRUE(Diff(mnemonic.image, expected).empty());
  EXPECT_EQ(mnemonic.extent.width, Width("Quitter"));
}

TEST(Markup, WithoutWordWrapOneLineEndsInAnEllipsis) {
  const Drawn d = Draw(QStringLiteral("aaaa bbbb cccc dddd"), {10, 4, 10 + Width("aaaa bbbb"), 60}, {false});
  const QRect ink = Bounds(Diff(d.image, Blank()));
  EXPECT_LT(ink.bottom(), 4 + LineHeight());
  EXPECT_LT(ink.right(), 10 + Width("aaaa bbbb"));
  QImage expected = Blank();
  {
    QPainter p(&expected);
    p.setFont(gfx::WindowFont());
    const testsupport::LayoutMetrics fm(gfx::WindowFont(), &expected);
    p.drawText(QPoint(11, 4 + fm.ascent()),
               fm.elidedText("aaaa bbbb cccc dddd", Qt::ElideRight, Width("aaaa bbbb") - 1));
  }
  EXPECT_TRUE(Diff(d.image, expected).empty());
}

TEST(Markup, CanvasStateComesBack) {
  QImage img = Blank();
  QPainter painter(&img);
  gfx::Canvas canvas(painter);
  QFont font = gfx::WindowFont();
  font.setBold(true);
  canvas.setFont(font);
  canvas.setFontColour(gfx::clGreen);
  canvas.setBrush({gfx::clAqua, gfx::BrushStyle::Solid});
  canvas.setBackgroundMode(gfx::BackgroundMode::Opaque);
  DrawMarkup(canvas, QStringLiteral("x<FONT color=\"#FF0000\">y\rz<BR>"), {0, 0, 100, 100});
  EXPECT_EQ(canvas.font(), font);
  EXPECT_EQ(canvas.fontColour(), gfx::clGreen);
  EXPECT_EQ(canvas.brush(), (gfx::Brush{gfx::clAqua, gfx::BrushStyle::Solid}));
  EXPECT_EQ(canvas.backgroundMode(), gfx::BackgroundMode::Opaque);
}

TEST(Markup, LineSpacingAddsToEveryLine) {
  MarkupOptions options;
  options.lineSpacing = 3;
  const Drawn d = Draw(QStringLiteral("ab\rcd"), {10, 4, 250, 60}, options);
  EXPECT_EQ(d.extent.height, 2 * (LineHeight() + 3));
  const QRect ink = Bounds(Diff(d.image, Blank(), QRect(0, 4 + LineHeight() + 1, 260, 40)));
  EXPECT_GE(ink.top(), 4 + LineHeight() + 3);
}

// What a screen reader reads must be what the drawing shows.
TEST(Markup, PlainTextIsWhatTheDrawingShows) {
  const struct {
    const char* markup;
    const char* plain;
  } cases[] = {
      {"Afficher <FONT color=\"#80FF00\">courbe originale</FONT>", "Afficher courbe originale"},
      {"a &amp; b, &lt;i&gt; &euro;", "a & b, <i> \u20AC"},
      {"&Ajouter &&R1", "Ajouter &R1"},
      {"ab\r\ncd<br>ef<BLINK>", "ab\ncd\nef"},
      {"abc <FONT color=\"#FF0000\" more text", "abc "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MarkupPlainText(QString::fromUtf8(c.markup)), QString::fromUtf8(c.plain)) << c.markup;
}

}  // namespace
}  // namespace dorvane::controls
